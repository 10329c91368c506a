#include "app/MusicFollow.h"

#include "engine/Errors.h"

namespace kv::app {

void MusicFollowsGame(TForm1& Form, TSdlMusic& Music) {
    if (!Form.HudOn || Form.MediaFileName.empty()) {
        if (Music.IsOpen()) Music.Stop();
        Music.DeliverNotifications();  // with no game on, the game starts nothing
        return;
    }
    try {
        Music.PlayAt(Form.MediaFileName, static_cast<double>(Form.Log.Frame - Form.MusicStartFrame) / 60.0);
    } catch (const EMCIDeviceError&) {
        // A track that cannot be played was reported when the game started it; a jump goes on
        // in silence rather than report it again.
    }
}

}  // namespace kv::app
