#pragma once
// Helpers for frame-by-frame tests of bosses and stage scripts: what one frame created, and
// the event log by event name.
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/GameSprite.h"
#include "support/World.h"

namespace kvtest {

// A game in progress without a ship: aims and chases use the ship's and hit box's last places.
inline void PlayingAt(TWorld& w, double ZikiX = 135, double ZikiY = 430) {
    w.F().Playing = true;
    w.F().LastZikiX = ZikiX;
    w.F().LastZikiY = ZikiY;
    w.F().LastHanteiX = ZikiX + 21;
    w.F().LastHanteiY = ZikiY;
}

// Runs one frame and returns the sprites its move pass created, in creation order (the
// engine's children keep creation order; what was killed before is purged first).
inline std::vector<kv::TSprite*> FrameCreated(TWorld& w) {
    w.E()->Purge();
    const size_t before = w.E()->Children().size();
    w.Frame();
    const auto& c = w.E()->Children();
    return {c.begin() + static_cast<std::ptrdiff_t>(before), c.end()};
}

template <class T>
std::vector<T*> OfClass(const std::vector<kv::TSprite*>& Sprites) {
    std::vector<T*> out;
    for (kv::TSprite* s : Sprites)
        if (auto* t = dynamic_cast<T*>(s)) out.push_back(t);
    return out;
}

inline std::vector<std::string> EventsOf(TWorld& w, const std::string& Name) {
    std::vector<std::string> out;
    for (const std::string& l : w.F().Log.Lines())
        if (l.find("\"event\":\"" + Name + "\"") != std::string::npos) out.push_back(l);
    return out;
}

// The names of every event in the log, in order.
inline std::vector<std::string> EventNames(TWorld& w) {
    std::vector<std::string> out;
    for (const std::string& l : w.F().Log.Lines()) {
        const std::string key = "\"event\":\"";
        const size_t at = l.find(key);
        if (at == std::string::npos) continue;
        const size_t from = at + key.size();
        out.push_back(l.substr(from, l.find('"', from) - from));
    }
    return out;
}

// The frames a loop that runs its own may take: one that would never get where it goes (a
// counter that stopped) ends after Limit frames with an error, rather than hanging the suite.
class TFrameBudget {
public:
    explicit TFrameBudget(int Limit = 100000) : Limit_(Limit) {}
    void Spend() {
        if (Spent_++ == Limit_) throw std::runtime_error("still not there after " + std::to_string(Limit_) + " frames");
    }

private:
    int Limit_, Spent_ = 0;
};

// Runs frames until Done() holds after one, within Limit frames.
template <class P>
void RunUntil(TWorld& w, P Done, int Limit = 100000) {
    TFrameBudget budget(Limit);
    while (!Done()) {
        budget.Spend();
        w.Frame();
    }
}

// Runs frames until the boss counter C reads N after a frame.
inline void RunCounterTo(TWorld& w, kv::TBossCounter C, int32_t N) {
    RunUntil(w, [&] { return w.F().BossCounters[C] == N; });
}

}  // namespace kvtest
