#pragma once
// Counts the attack history of the games played, from the events of the game: an attack is
// reached when its boss phase begins, and ended unhurt when it is shot down or outlasted with
// no HP lost since it began.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/EventLog.h"
#include "userfiles/AttackHistory.h"

namespace kv {
class TForm1;
}

namespace kv::app {

class TAttackCounter {
public:
    void Event(const TForm1& F, const std::string& Event, const TLogFields& Fields);
    // After every frame: HP lost counts against every attack under way.
    void AfterFrame(const TForm1& F);
    // What was counted since the last Take.
    userfiles::TAttackHistory Take();

private:
    struct TOpen {
        std::string Phase, Attack;
        bool Practice = false;
        bool Hurt = false;
    };
    void WatchHP(const TForm1& F);
    void Close(std::vector<TOpen>::iterator It);
    std::vector<TOpen> Open_;
    int32_t LastHP_ = 0;
    userfiles::TAttackHistory Counted_;
};

}  // namespace kv::app
