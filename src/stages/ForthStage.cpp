#include "stages/ForthStage.h"

#include "bosses/Gadnic.h"
#include "bosses/Velus.h"
#include "enemies/ZakoIJ.h"
#include "shell/Form1.h"
#include "shell/Rows.h"

namespace kv {

namespace {

constexpr auto I = SpawnXY<TZakoISprite>;
constexpr auto S0 = SpawnSign<0>;
constexpr auto S1 = SpawnSign<1>;

// Step, enemy, X, Y.
const TSpawn kTimeline[] = {
    {21, I, 35, -25},   {41, I, 85, -25},   {61, I, 135, -25},  {81, I, 185, -25},  {101, I, 235, -25},
    {221, I, 35, -25},  {241, I, 85, -25},  {261, I, 135, -25}, {281, I, 185, -25}, {301, I, 235, -25},
    // corners and side middles, with one more sprayer in the middle
    {451, S0, 0, 0},    {451, S0, 0, 430},  {451, S0, 270, 0},  {451, S0, 270, 430},
    {451, S0, 0, 215},  {451, S0, 270, 215}, {451, I, 135, -25},
    // the same six, with four rings along the top
    {651, S0, 0, 0},    {651, S0, 0, 430},  {651, S0, 270, 0},  {651, S0, 270, 430},
    {651, S0, 0, 215},  {651, S0, 270, 215},
    {651, S1, 0, 0},    {651, S1, 54, 0},   {651, S1, 216, 0},  {651, S1, 270, 0},
    // and along the bottom
    {851, S0, 0, 0},    {851, S0, 0, 430},  {851, S0, 270, 0},  {851, S0, 270, 430},
    {851, S0, 0, 215},  {851, S0, 270, 215},
    {851, S1, 0, 430},  {851, S1, 54, 430}, {851, S1, 216, 430}, {851, S1, 270, 430},
};

void CreateForthStage(TForm1& F) { new TForthStageSprite(F.SpriteEngine()); }

// Outlasting Velus leads into Stage 4.
const TEnduranceRowRegistrar kVelusEnduranceRow{{VelusDAttackName,
                                                 &TForm1::VelusDSprite,
                                                 {{TItemKind::HP, 10, 15}, {TItemKind::Bomb, 10, 15}},
                                                 4000,
                                                 350,
                                                 CreateForthStage}};

TSprite* GuardFadingIn(TSprite* Parent) { return new TGadnicFadeSprite(Parent, 1); }
// The boss music starts when the king has faded in, not here; the count starts again from 0.
const TBossEntry kBoss{TForthStageSprite::BossCount, nullptr, &TForm1::GadnicFadeSprite, GuardFadingIn,
                       TBossEntry::EndScriptAndCount};

}  // namespace

TForthStageSprite::TForthStageSprite(TSprite* Parent) : TStageSprite(Parent) {
    TForm1& f = FormOf(this);
    f.StageNo = 4;
    f.StageCount = 0;
    f.BGMStop("\\4-0.mp3");
    f.BSReset();
    f.Log.Write("stage", {{"stage", int64_t{4}}});
}

void TForthStageSprite::Step(int32_t MoveCount) { Play(MoveCount, kTimeline, kBoss); }

}  // namespace kv
