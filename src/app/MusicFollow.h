#pragma once
// The music of a game put back to another moment (a jump in a replay, a rewind).
#include "platform/sdl/SdlMusic.h"
#include "shell/Form1.h"

namespace kv::app {

// The track the game played then, from where it was (the frames since the track started); at
// the menu, where no track plays, the music stops. The notifications of the plays cut off on
// the way are dropped: they belong to the moment left. Call inside the form's guard.
void MusicFollowsGame(TForm1& Form, TSdlMusic& Music);

}  // namespace kv::app
