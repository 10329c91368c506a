// Background music: one track per stage and one per boss, looping until the next is named.
#include <string>

#include "engine/Errors.h"
#include "shell/Form1.h"

namespace kv {

namespace {

// The tracks are named like "\2-0.mp3"; they live in the musics folder beside the program,
// unless the platform found them elsewhere.
std::string TrackPath(const TForm1& F, const std::string& Track) {
    std::string dir = F.MusicDir.empty() ? F.ExeDir : F.MusicDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (F.MusicDir.empty()) dir += "musics/";
    std::string name = Track;
    for (char& c : name)
        if (c == '\\') c = '/';
    size_t start = name.find_first_not_of('/');
    name = start == std::string::npos ? std::string() : name.substr(start);
    return dir + name;
}

}  // namespace

// Opens the current file and plays it from the start. A track that cannot be played is
// reported and the game goes on in silence.
static void PlayCurrentTrack(TForm1& F) {
    if (!F.MediaPlayer1) return;
    try {
        F.MusicStartFrame = F.Log.Frame;
        F.MediaPlayer1->Open(F.MediaFileName);
        F.MediaPlayer1->Rewind();
        F.MediaPlayer1->Play();
    } catch (const std::exception& e) {
        std::string message = e.what();
        if (message.find(F.MediaFileName) == std::string::npos)
            message += " (" + F.MediaFileName + ")";
        F.ReportError(message);
    }
}

void TForm1::BGMStart(int32_t Track) {
    if (Track == 1) MediaFileName = TrackPath(*this, "\\1-0.mp3");
    if (Track == 2) MediaFileName = TrackPath(*this, "\\1-0-1.mp3");
    PlayCurrentTrack(*this);
}

void TForm1::BGMStop(const std::string& FileName) {
    if (MediaPlayer1 && MediaPlayer1->IsOpen()) {
        try {
            MediaPlayer1->Stop();
        } catch (const std::exception& e) {
            ReportError(e.what());
        }
        MediaFileName = TrackPath(*this, FileName);
        return;  // the cut-off play's notification starts the new track
    }
    MediaFileName = TrackPath(*this, FileName);
    // Nothing is open (the last track could not be played), so no notification will come:
    // start the new track here, as the notification would have.
    if (HudOn) PlayCurrentTrack(*this);
}

void TForm1::MediaPlayer1Notify() {
    if (HudOn) PlayCurrentTrack(*this);
}

}  // namespace kv
