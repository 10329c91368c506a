#include "app/GameRecorder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <type_traits>

#include "app/Session.h"
#include "shell/Form1.h"
#include "shell/StateChecksum.h"
#include "stages/Practice.h"

namespace kv::app {

namespace {

std::string FormatDouble(double V) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", V);
    return buf;
}

// One entry of the start state: its name, how it is written, and how it is read back. Set
// checks the value against what a game start can find and raises std::invalid_argument saying
// why not; given no window it only checks.
struct TEntry {
    const char* Name;
    std::function<std::string(const TForm1&)> Get;
    std::function<void(TForm1*, const std::string&)> Set;
};

int64_t ParseWhole(const std::string& Text) {
    int64_t v = 0;
    const char* end = Text.data() + Text.size();
    auto [p, ec] = std::from_chars(Text.data(), end, v);
    if (ec != std::errc() || p != end) throw std::invalid_argument("not a whole number");
    return v;
}

int64_t ParseIn(const std::string& Text, int64_t Min, int64_t Max) {
    const int64_t v = ParseWhole(Text);
    if (v < Min || v > Max)
        throw std::invalid_argument(Min == Max ? "a game always starts with " + std::to_string(Min)
                                               : "a game starts with " + std::to_string(Min) + " to " + std::to_string(Max));
    return v;
}

constexpr int64_t kInt32Min = INT32_MIN, kInt32Max = INT32_MAX;

template <class T>
TEntry Int(const char* Name, T TGameState::*Member, int64_t Min, int64_t Max) {
    return {Name, [Member](const TForm1& F) { return std::to_string(F.*Member); },
            [Member, Min, Max](TForm1* F, const std::string& V) {
                const int64_t v = ParseIn(V, Min, Max);
                if (F) F->*Member = static_cast<T>(v);
            }};
}

TEntry Real(const char* Name, double TGameState::*Member, double Min, double Max) {
    return {Name, [Member](const TForm1& F) { return FormatDouble(F.*Member); },
            [Member, Min, Max](TForm1* F, const std::string& V) {
                size_t used = 0;
                double v = 0;
                try {
                    v = std::stod(V, &used);
                } catch (const std::exception&) {
                    used = std::string::npos;
                }
                if (used != V.size() || !std::isfinite(v)) throw std::invalid_argument("not a number");
                if (v < Min || v > Max)
                    throw std::invalid_argument("the playfield's positions run from " + FormatDouble(Min) + " to " + FormatDouble(Max));
                if (F) F->*Member = v;
            }};
}

// The boss and attack names are cleared when a game ends: a game starts without them.
TEntry NoText(const char* Name, std::string TGameState::*Member) {
    return {Name, [Member](const TForm1& F) { return F.*Member; },
            [Member](TForm1* F, const std::string& V) {
                if (!V.empty()) throw std::invalid_argument("a game always starts without one");
                if (F) (F->*Member).clear();
            }};
}

template <size_t N>
TEntry Ints(const char* Name, std::array<int32_t, N> TGameState::*Member, int64_t Min, int64_t Max) {
    return {Name,
            [Member](const TForm1& F) {
                std::string s;
                for (int32_t v : F.*Member) s += (s.empty() ? "" : " ") + std::to_string(v);
                return s;
            },
            [Member, Min, Max](TForm1* F, const std::string& V) {
                std::istringstream in(V);
                std::string word;
                std::array<int32_t, N> values{};
                size_t i = 0;
                while (in >> word) {
                    if (i == N) throw std::invalid_argument("more than " + std::to_string(N) + " numbers");
                    values[i++] = static_cast<int32_t>(ParseIn(word, Min, Max));
                }
                if (i != N) throw std::invalid_argument(std::to_string(N) + " numbers needed");
                if (F) F->*Member = values;
            }};
}

// What a game start can find, and why. The menu's reset zeroes the counters of a game (score,
// boss and Zako counters, invulnerability, the stage count) and clears the boss's names, and a
// fresh window has them at zero too: a game starts with exactly that. The rest is left by the
// last game, and stays within what a game can leave. The record comes from Score.dtf, which may
// hold any 32-bit number; it is replaced, never counted up.
const std::vector<TEntry>& Entries() {
    static const std::vector<TEntry> entries = {
        {"random", [](const TForm1& F) { return std::to_string(F.RandomGen.SeedValue()); },
         [](TForm1* F, const std::string& V) {
             const int64_t v = ParseIn(V, 0, UINT32_MAX);
             if (F) F->RandomGen.Seed(static_cast<uint32_t>(v));
         }},
        Int("stage_no", &TForm1::StageNo, 0, 5),  // none yet, the four stages, the Extra Stage
        Int("stage_count", &TForm1::StageCount, 0, 0),
        Int("score", &TForm1::Score, 0, 0),
        Int("high_score", &TForm1::HighScore, kInt32Min, kInt32Max),
        Int("extra_open", &TForm1::ExtraOpen, kInt32Min, kInt32Max),
        Int("taikyuu_mode", &TForm1::TaikyuuMode, 0, 1),
        Int("taikyuu_count", &TForm1::TaikyuuCount, 0, 99),  // the longest countdown
        Int("muteki_mode", &TForm1::MutekiMode, 0, 0),
        Int("muteki_count", &TForm1::MutekiCount, 0, 0),
        Int("bomb_active", &TForm1::BombActive, 0, 1),
        Int("kekkai_count", &TForm1::KekkaiCount, 0, 149),  // a barrier ends on its 150th step
        Int("rone_down", &TForm1::ROneDown, 0, 0),
        Int("name_entry", &TForm1::NameEntry, 0, 0),
        Int("reset_done", &TForm1::ResetDone, 0, 1),
        Ints("boss_counters", &TForm1::BossCounters, 0, 0),
        Int("zako_aa_count", &TForm1::ZakoAACount, 0, 0),
        Int("zako_ab_count", &TForm1::ZakoABCount, 0, 0),
        Int("zako_ac_count", &TForm1::ZakoACCount, 0, 0),
        Ints("zako_bc_counts", &TForm1::ZakoBCCounts, 0, 0),
        Int("shot_count", &TForm1::ShotCount, 0, 9),              // the fire cadence goes round 0 to 9
        Int("game_over_count", &TForm1::GameOverCount, 0, 149),   // the screens act and reset at 150
        Int("game_clear_count", &TForm1::GameClearCount, 0, 149),
        NoText("boss_name", &TForm1::BossName),
        NoText("attack_name", &TForm1::AttackName),
        // The ship stays on the playfield; the hit box sits 21 to its right.
        Real("last_ziki_x", &TForm1::LastZikiX, 0, TForm1::ClientWidth),
        Real("last_ziki_y", &TForm1::LastZikiY, 0, TForm1::ClientHeight),
        Real("last_hantei_x", &TForm1::LastHanteiX, 0, TForm1::ClientWidth + 21),
        Real("last_hantei_y", &TForm1::LastHanteiY, 0, TForm1::ClientHeight),
    };
    return entries;
}

const TEntry* FindEntry(const std::string& Name) {
    for (const TEntry& e : Entries())
        if (Name == e.Name) return &e;
    return nullptr;
}

}  // namespace

TStartState GameStartState(const TForm1& F) {
    TStartState s;
    for (const TEntry& e : Entries()) s.emplace_back(e.Name, e.Get(F));
    return s;
}

std::string StartValueProblem(const std::string& Name, const std::string& Value) {
    const TEntry* entry = FindEntry(Name);
    if (!entry) return "'" + Name + "' is nothing a game starts with";
    try {
        entry->Set(nullptr, Value);
    } catch (const std::exception& e) {
        return Name + " '" + Value + "' cannot be: " + e.what();
    }
    return {};
}

void ApplyGameStartState(TForm1& F, const TStartState& State) {
    for (const auto& [name, value] : State) {
        if (const std::string problem = StartValueProblem(name, value); !problem.empty())
            throw std::runtime_error("the replay's start state is wrong: " + problem);
        FindEntry(name)->Set(&F, value);
    }
    // The menu as that state shows it.
    F.Button6.Visible = F.ExtraOpen == 1;
}

void StartReplayedGame(TForm1& F, const std::string& Start) {
    if (Start == "normal") {
        F.Button1Click();
    } else if (Start == "extra") {
        F.Button6Click();
    } else if (Start.rfind("practice ", 0) == 0) {
        StartPractice(F, Start.substr(9));
    } else {
        throw std::runtime_error("the replay starts with '" + Start + "', which is no game start");
    }
}

void TGameRecorder::Begin(const TForm1& F, int64_t LastFrame, const std::string& Mode, const std::string& Practice) {
    Active_ = true;
    Offset_ = LastFrame;
    Mode_ = Mode;
    Practice_ = Practice;
    Last_.reset();
    Body_.clear();
    Head_ = "version " + std::to_string(headless::RecordingVersion) + "\n";
    Head_ += "seed " + std::to_string(F.RandomGen.SeedValue()) + "\n";
    Head_ += "start " + (Practice.empty() ? Mode : "practice " + Practice) + "\n";
    if (F.Invincible) Head_ += "invincible\n";
    for (const auto& [name, value] : GameStartState(F)) Head_ += "state " + name + (value.empty() ? "" : " " + value) + "\n";
}

void TGameRecorder::Action(const headless::TScriptAction& A) {
    if (!Active_ || A.Frame <= Offset_) return;
    headless::TScriptAction a = A;
    a.Frame -= Offset_;
    Body_ += headless::FormatScriptAction(a) + "\n";
}

std::vector<headless::TScriptAction> StateChanges(int64_t Frame, const TDXInputStates& Before, const TDXInputStates& Now) {
    std::vector<headless::TScriptAction> out;
    for (int32_t s = 0; s < InputStateCount; ++s) {
        if (Now.test(s) == Before.test(s)) continue;
        headless::TScriptAction a;
        a.Frame = Frame;
        a.Kind = Now.test(s) ? headless::TScriptAction::Press : headless::TScriptAction::Release;
        a.State = s;
        out.push_back(a);
    }
    return out;
}

void TGameRecorder::States(int64_t Frame, const TDXInputStates& Current) {
    if (!Active_ || Frame <= Offset_) return;
    for (const headless::TScriptAction& a : StateChanges(Frame, Last_, Current)) Action(a);
    Last_ = Current;
}

void TGameRecorder::AfterFrame(const TForm1& F, int64_t Frame) {
    if (!Active_) return;
    const int64_t own = Frame - Offset_;
    if (own != 1 && own % TSession::CheckInterval != 0) return;
    Action(headless::CheckAction(Frame, StateChecksum(F)));
}

std::string TGameRecorder::Finish(int64_t Frame, int32_t Score, const std::string& Result, userfiles::TReplayInfo& Info) {
    Active_ = false;
    Info.Mode = Practice_.empty() ? Mode_ : "practice";
    Info.Start = Practice_;
    Info.Score = Score;
    Info.Frames = Frame - Offset_;
    Info.Result = Result;
    std::string text = Head_ + "end " + std::to_string(std::max<int64_t>(Info.Frames, 1)) + "\n" + Body_;
    Head_.clear();
    Body_.clear();
    return text;
}

}  // namespace kv::app
