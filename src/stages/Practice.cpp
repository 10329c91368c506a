#include "stages/Practice.h"

#include <stdexcept>

#include "bosses/Dagar.h"
#include "bosses/Gadnic.h"
#include "bosses/Marco.h"
#include "bosses/ROne.h"
#include "bosses/Velus.h"
#include "shell/Form1.h"
#include "shell/Rows.h"
#include "stages/ExtraStage.h"
#include "stages/FirstStage.h"
#include "stages/ForthStage.h"
#include "stages/SecondStage.h"
#include "stages/ThirdStage.h"

namespace kv {

namespace {

struct TStart {
    const char* Name;
    int32_t Stage;  // 1 … 4, 5 for the Extra Stage
    // A stage start: the stage script to make. A phase start: the phase and where the window
    // keeps it, the boss's name as the earlier phases left it, the music then playing and the
    // stage count then reached.
    void (*Script)(TForm1& F) = nullptr;
    TSprite* (*Phase)(TForm1& F) = nullptr;
    TPhaseRef Ref = nullptr;
    const char* BossName = nullptr;
    const char* Track = nullptr;
    int32_t StageCount = 0;
};

template <class T>
void Script(TForm1& F) {
    new T(F.SpriteEngine());
}
template <class T>
TSprite* Phase(TForm1& F) {
    return new T(F.SpriteEngine());
}

const TStart kStarts[] = {
    {"stage1", 1, Script<TFirstStageSprite>},
    {"stage2", 2, Script<TSecondStageSprite>},
    {"stage3", 3, Script<TThirdStageSprite>},
    {"stage4", 4, Script<TForthStageSprite>},
    {"extra", 5, Script<TExtraStageSprite>},
    {"TROneASprite", 1, nullptr, Phase<TROneASprite>, &TForm1::ROneASprite, ROneBossName, "\\1-1.mp3",
     TFirstStageSprite::BossCount},
    {"TROneBSprite", 1, nullptr, Phase<TROneBSprite>, &TForm1::ROneBSprite, ROneBossName, "\\1-1.mp3",
     TFirstStageSprite::BossCount},
    {"TMarcoASprite", 2, nullptr, Phase<TMarcoASprite>, &TForm1::MarcoASprite, MarcoBossName, "\\2-1.mp3",
     TSecondStageSprite::BossCount},
    {"TMarcoBSprite", 2, nullptr, Phase<TMarcoBSprite>, &TForm1::MarcoBSprite, MarcoBossName, "\\2-1.mp3",
     TSecondStageSprite::BossCount},
    {"TMarcoCSprite", 2, nullptr, Phase<TMarcoCSprite>, &TForm1::MarcoCSprite, MarcoBossName, "\\2-1.mp3",
     TSecondStageSprite::BossCount},
    {"TVelusASprite", 3, nullptr, Phase<TVelusASprite>, &TForm1::VelusASprite, VelusBossName, "\\3-1.mp3",
     TThirdStageSprite::BossCount},
    {"TVelusBSprite", 3, nullptr, Phase<TVelusBSprite>, &TForm1::VelusBSprite, VelusBossName, "\\3-1.mp3",
     TThirdStageSprite::BossCount},
    {"TVelusCSprite", 3, nullptr, Phase<TVelusCSprite>, &TForm1::VelusCSprite, VelusBossName, "\\3-1.mp3",
     TThirdStageSprite::BossCount},
    {"TVelusDSprite", 3, nullptr, Phase<TVelusDSprite>, &TForm1::VelusDSprite, VelusBossName, "\\3-1.mp3",
     TThirdStageSprite::BossCount},
    // The guard fights to the stage's own music; the king brings his. Stage 4 zeroes its count
    // when the guard appears.
    {"TGadnicASprite", 4, nullptr, Phase<TGadnicASprite>, &TForm1::GadnicASprite, GadnicGuardName, "\\4-0.mp3", 0},
    {"TGadnicBSprite", 4, nullptr, Phase<TGadnicBSprite>, &TForm1::GadnicBSprite, GadnicKingName, "\\4-1.mp3", 0},
    {"TGadnicCSprite", 4, nullptr, Phase<TGadnicCSprite>, &TForm1::GadnicCSprite, GadnicKingName, "\\4-1.mp3", 0},
    {"TGadnicDSprite", 4, nullptr, Phase<TGadnicDSprite>, &TForm1::GadnicDSprite, GadnicKingName, "\\4-1.mp3", 0},
    {"TGadnicESprite", 4, nullptr, Phase<TGadnicESprite>, &TForm1::GadnicESprite, GadnicKingName, "\\4-1.mp3", 0},
    // Dagar's phases name their boss themselves; the Extra Stage's script stays, counting on.
    {"TDagarASprite", 5, nullptr, Phase<TDagarASprite>, &TForm1::DagarASprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
    {"TDagarCSprite", 5, nullptr, Phase<TDagarCSprite>, &TForm1::DagarCSprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
    {"TDagarBSprite", 5, nullptr, Phase<TDagarBSprite>, &TForm1::DagarBSprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
    {"TDagarDSprite", 5, nullptr, Phase<TDagarDSprite>, &TForm1::DagarDSprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
    {"TDagarESprite", 5, nullptr, Phase<TDagarESprite>, &TForm1::DagarESprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
    {"TDagarFSprite", 5, nullptr, Phase<TDagarFSprite>, &TForm1::DagarFSprite, nullptr, "\\5-1.mp3",
     TExtraStageSprite::BossCount},
};

const TStart* Find(const std::string& What) {
    for (const TStart& s : kStarts)
        if (What == s.Name) return &s;
    return nullptr;
}

}  // namespace

const std::vector<std::string>& PracticeTargets() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const TStart& s : kStarts) v.push_back(s.Name);
        return v;
    }();
    return names;
}

bool IsPracticeTarget(const std::string& What) { return Find(What) != nullptr; }

std::vector<TPracticeInfo> PracticeInfos() {
    std::vector<TPracticeInfo> out;
    for (const TStart& s : kStarts) {
        TPracticeInfo& i = out.emplace_back();
        i.Name = s.Name;
        i.Stage = s.Stage;
        i.IsStage = s.Script != nullptr;
        if (i.IsStage) continue;
        // The attack each phase shows is the one its removal row names.
        for (const TRemovalRow& r : RemovalRows())
            if (r.Phase == s.Ref) i.AttackName = r.Attack;
        i.BossName = s.BossName ? s.BossName : s.Ref == &TForm1::DagarFSprite ? DagarGhostName : DagarBossName;
    }
    return out;
}

void StartPractice(TForm1& F, const std::string& What) {
    const TStart* s = Find(What);
    if (!s) throw std::invalid_argument("'" + What + "' is no stage or boss phase to practise");
    const bool extra = s->Stage == 5;
    // As the menu buttons begin a game, less the click sound.
    F.SpriteEngine()->Purge();
    F.ResetDone = false;
    F.Practice = true;
    F.Log.Write("start", {{"mode", std::string(extra ? "extra" : "normal")}, {"practice", What}});
    F.BGMStart(extra ? 2 : 1);
    if (extra) F.StageNo = 5;
    F.EnterPlay();
    // R-One's first phase falls in every normal game that gets past it.
    F.ROneDown = !extra && (s->Stage > 1 || s->Ref == &TForm1::ROneBSprite);
    if (s->Script) {
        s->Script(F);
        return;
    }
    if (extra) {
        new TExtraStageSprite(F.SpriteEngine());
    } else {
        F.StageNo = s->Stage;
        F.BSReset();
        F.Log.Write("stage", {{"stage", int64_t{s->Stage}}});
    }
    F.StageCount = s->StageCount;
    F.BGMStop(s->Track);
    if (s->BossName) F.BossName = s->BossName;
    F.*(s->Ref) = s->Phase(F);
}

}  // namespace kv
