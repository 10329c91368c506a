#include "app/GameRecorder.h"

#include <algorithm>
#include <array>
#include <charconv>
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

// One entry of the start state: its name, how it is written and how it is read back.
struct TEntry {
    const char* Name;
    std::function<std::string(const TForm1&)> Get;
    std::function<void(TForm1&, const std::string&)> Set;
};

int64_t ParseWhole(const std::string& Text) {
    int64_t v = 0;
    const char* end = Text.data() + Text.size();
    auto [p, ec] = std::from_chars(Text.data(), end, v);
    if (ec != std::errc() || p != end) throw std::invalid_argument("not a whole number");
    return v;
}

template <class T>
TEntry Int(const char* Name, T TForm1::*Member) {
    return {Name, [Member](const TForm1& F) { return std::to_string(F.*Member); },
            [Member](TForm1& F, const std::string& V) {
                const int64_t v = ParseWhole(V);
                if constexpr (std::is_same_v<T, bool>) {
                    if (v != 0 && v != 1) throw std::invalid_argument("not 0 or 1");
                }
                F.*Member = static_cast<T>(v);
            }};
}

TEntry Real(const char* Name, double TForm1::*Member) {
    return {Name, [Member](const TForm1& F) { return FormatDouble(F.*Member); },
            [Member](TForm1& F, const std::string& V) {
                size_t used = 0;
                F.*Member = std::stod(V, &used);
                if (used != V.size()) throw std::invalid_argument("not a number");
            }};
}

TEntry Text(const char* Name, std::string TForm1::*Member) {
    return {Name, [Member](const TForm1& F) { return F.*Member; },
            [Member](TForm1& F, const std::string& V) { F.*Member = V; }};
}

template <size_t N>
TEntry Ints(const char* Name, std::array<int32_t, N> TForm1::*Member) {
    return {Name,
            [Member](const TForm1& F) {
                std::string s;
                for (int32_t v : F.*Member) s += (s.empty() ? "" : " ") + std::to_string(v);
                return s;
            },
            [Member](TForm1& F, const std::string& V) {
                std::istringstream in(V);
                std::string word;
                size_t i = 0;
                while (in >> word) {
                    if (i == N) throw std::invalid_argument("more than " + std::to_string(N) + " numbers");
                    (F.*Member)[i++] = static_cast<int32_t>(ParseWhole(word));
                }
                if (i != N) throw std::invalid_argument(std::to_string(N) + " numbers needed");
            }};
}

const std::vector<TEntry>& Entries() {
    static const std::vector<TEntry> entries = {
        {"random", [](const TForm1& F) { return std::to_string(F.RandomGen.SeedValue()); },
         [](TForm1& F, const std::string& V) {
             const int64_t v = ParseWhole(V);
             if (v < 0 || v > UINT32_MAX) throw std::invalid_argument("out of range");
             F.RandomGen.Seed(static_cast<uint32_t>(v));
         }},
        Int("stage_no", &TForm1::StageNo),
        Int("stage_count", &TForm1::StageCount),
        Int("score", &TForm1::Score),
        Int("high_score", &TForm1::HighScore),
        Int("extra_open", &TForm1::ExtraOpen),
        Int("taikyuu_mode", &TForm1::TaikyuuMode),
        Int("taikyuu_count", &TForm1::TaikyuuCount),
        Int("muteki_mode", &TForm1::MutekiMode),
        Int("muteki_count", &TForm1::MutekiCount),
        Int("bomb_active", &TForm1::BombActive),
        Int("kekkai_count", &TForm1::KekkaiCount),
        Int("rone_down", &TForm1::ROneDown),
        Int("name_entry", &TForm1::NameEntry),
        Int("reset_done", &TForm1::ResetDone),
        Ints("boss_counters", &TForm1::BossCounters),
        Int("zako_aa_count", &TForm1::ZakoAACount),
        Int("zako_ab_count", &TForm1::ZakoABCount),
        Int("zako_ac_count", &TForm1::ZakoACCount),
        Ints("zako_bc_counts", &TForm1::ZakoBCCounts),
        Int("shot_count", &TForm1::ShotCount),
        Int("game_over_count", &TForm1::GameOverCount),
        Int("game_clear_count", &TForm1::GameClearCount),
        Text("boss_name", &TForm1::BossName),
        Text("attack_name", &TForm1::AttackName),
        Real("last_ziki_x", &TForm1::LastZikiX),
        Real("last_ziki_y", &TForm1::LastZikiY),
        Real("last_hantei_x", &TForm1::LastHanteiX),
        Real("last_hantei_y", &TForm1::LastHanteiY),
    };
    return entries;
}

}  // namespace

TStartState GameStartState(const TForm1& F) {
    TStartState s;
    for (const TEntry& e : Entries()) s.emplace_back(e.Name, e.Get(F));
    return s;
}

void ApplyGameStartState(TForm1& F, const TStartState& State) {
    for (const auto& [name, value] : State) {
        const TEntry* entry = nullptr;
        for (const TEntry& e : Entries())
            if (name == e.Name) entry = &e;
        if (!entry) throw std::runtime_error("the replay's start state has an unknown entry '" + name + "'");
        try {
            entry->Set(F, value);
        } catch (const std::exception&) {
            throw std::runtime_error("the replay's start state has a bad " + name + ": '" + value + "'");
        }
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
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::Check;
    a.Checksum = StateChecksum(F);
    Action(a);
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
