#include "app/RecordingCheck.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "app/GameRecorder.h"
#include "app/Session.h"

namespace kv::app {

headless::TRecording LoadRecording(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the input script " + Path);
    std::ostringstream ss;
    ss << in.rdbuf();
    headless::TRecording rec = headless::ParseRecording(ss.str(), Path);
    CheckRecording(rec, Path);
    return rec;
}

void CheckRecording(const headless::TRecording& R, const std::string& Source) {
    auto fail = [&](int32_t Line, const std::string& Why) {
        throw std::runtime_error(Source + ":" + std::to_string(Line) + ": " + Why);
    };
    for (size_t i = 0; i < R.State.size(); ++i)
        if (const std::string problem = StartValueProblem(R.State[i].first, R.State[i].second); !problem.empty())
            fail(R.StateLines[i], "state " + problem);
    const bool oneGame = !R.Start.empty();
    // Only a practice game goes back, and only once it has run a frame: a replay of a practice
    // game from its second frame, a run's recording after the practice it starts (or a replay
    // taken over, which plays on as practice). A hand-written script may have its practice
    // from the command line.
    const bool written = !oneGame && R.Version < 4;
    int64_t practiceFrom = R.Start.rfind("practice ", 0) == 0 ? 1 : -1;
    for (const headless::TScriptAction& a : R.Actions) {
        if (practiceFrom < 0 && (a.Kind == headless::TScriptAction::Practice || a.Kind == headless::TScriptAction::TakeOver))
            practiceFrom = a.Frame;
        if (a.Kind != headless::TScriptAction::Rewind || written) continue;
        if (practiceFrom < 0)
            fail(a.Line, "frame " + std::to_string(a.Frame) + " rewinds, but only a practice game can be rewound" +
                             (oneGame ? " and this is the replay of a " + R.Start + " game" : " and none was started before it"));
        if (a.Frame <= practiceFrom)
            fail(a.Line, "frame " + std::to_string(a.Frame) + " rewinds before the practice game has run a frame");
    }
    if (oneGame && (!R.HasEnd || R.End < 1)) fail(R.EndLine, "the replay of a game needs its last frame ('end N', N from 1)");
    if (!R.HasEnd) return;
    std::set<int64_t> checked;
    for (const headless::TScriptAction& a : R.Actions) {
        // What ran between the last frame and the end of the run is due before the next one.
        if (a.Frame > R.End + 1)
            fail(a.Line, "frame " + std::to_string(a.Frame) + " comes after the end, frame " + std::to_string(R.End));
        if (a.Kind == headless::TScriptAction::Check) checked.insert(a.Frame);
    }
    // The checkpoints the recorders write: a game's replay after its first frame and every
    // CheckInterval frames before its last; a run's recording every CheckInterval frames.
    // Without them, nothing would tell a changed recording from the game it claims to be.
    if (R.Version < 3) return;
    std::vector<int64_t> due;
    if (oneGame && R.End > 1) due.push_back(1);
    for (int64_t f = TSession::CheckInterval; oneGame ? f < R.End : f <= R.End; f += TSession::CheckInterval) due.push_back(f);
    for (int64_t f : due)
        if (!checked.count(f)) fail(R.EndLine, "the checkpoint of frame " + std::to_string(f) + " is missing");
}

}  // namespace kv::app
