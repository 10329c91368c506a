#include "app/AttackCounter.h"

#include <algorithm>
#include <variant>

#include "shell/Form1.h"

namespace kv::app {

namespace {

std::string Field(const TLogFields& Fields, const std::string& Name) {
    for (const auto& [k, v] : Fields)
        if (k == Name)
            if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

}  // namespace

void TAttackCounter::WatchHP(const TForm1& F) {
    if (F.HP < LastHP_)
        for (TOpen& o : Open_) o.Hurt = true;
    LastHP_ = F.HP;
}

void TAttackCounter::AfterFrame(const TForm1& F) { WatchHP(F); }

void TAttackCounter::Close(std::vector<TOpen>::iterator It) {
    if (!It->Hurt) {
        userfiles::TAttackRecord& r = Counted_.Of(It->Phase, It->Attack);
        (It->Practice ? r.Practice : r.Normal).Unhurt++;
    }
    Open_.erase(It);
}

void TAttackCounter::Event(const TForm1& F, const std::string& Event, const TLogFields& Fields) {
    // A hit earlier in this frame belongs to the attacks that were under way.
    WatchHP(F);
    if (Event == "phase") {
        TOpen o{Field(Fields, "class"), Field(Fields, "attack"), F.Practice, false};
        userfiles::TAttackRecord& r = Counted_.Of(o.Phase, o.Attack);
        (o.Practice ? r.Practice : r.Normal).Reached++;
        Open_.push_back(std::move(o));
    } else if (Event == "phase_end") {
        const std::string phase = Field(Fields, "class");
        auto it = std::find_if(Open_.begin(), Open_.end(), [&](const TOpen& o) { return o.Phase == phase; });
        if (it != Open_.end()) Close(it);
    } else if (Event == "endurance_end") {
        const std::string attack = Field(Fields, "attack");
        auto it = std::find_if(Open_.begin(), Open_.end(), [&](const TOpen& o) { return o.Attack == attack; });
        if (it != Open_.end()) Close(it);
    } else if (Event == "start") {
        Open_.clear();
        LastHP_ = F.HP;
    } else if (Event == "game_over" || Event == "menu") {
        Open_.clear();  // reached, never ended
    }
}

userfiles::TAttackHistory TAttackCounter::Take() {
    userfiles::TAttackHistory h = std::move(Counted_);
    Counted_ = {};
    return h;
}

}  // namespace kv::app
