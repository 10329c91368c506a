#include "stages/ThirdStage.h"

#include "bosses/Marco.h"
#include "bosses/Velus.h"
#include "shell/Form1.h"
#include "shell/Rows.h"

namespace kv {

namespace {

constexpr auto S0 = SpawnSign<0>;
constexpr auto S1 = SpawnSign<1>;
constexpr auto S2 = SpawnSign<2>;
constexpr auto S3 = SpawnSign<3>;

// Step, Sign mode, X, Y.
const TSpawn kTimeline[] = {
    // corners, then edge middles, then both together
    {200, S0, 0, 0},     {200, S0, 0, 430},   {200, S0, 270, 0},   {200, S0, 270, 430},
    {285, S0, 135, 0},   {285, S0, 135, 430}, {285, S0, 0, 215},   {285, S0, 270, 215},
    {370, S0, 0, 0},     {370, S0, 0, 430},   {370, S0, 270, 0},   {370, S0, 270, 430},
    {370, S0, 0, 215},   {370, S0, 270, 215},
    {455, S0, 0, 0},     {455, S0, 0, 430},   {455, S0, 270, 0},   {455, S0, 270, 430},
    {455, S0, 135, 0},   {455, S0, 135, 430},
    // a ring walks along the top edge and back along the bottom
    {540, S1, 0, 0},     {557, S1, 54, 0},    {574, S1, 108, 0},
    {591, S1, 162, 0},   {608, S1, 216, 0},   {625, S1, 270, 0},
    {710, S1, 270, 430}, {727, S1, 216, 430}, {744, S1, 162, 430},
    {761, S1, 108, 430}, {778, S1, 54, 430},  {795, S1, 0, 430},
    // diagonal staircases of four
    {880, S0, 0, 430},   {880, S0, 50, 430},  {880, S0, 100, 430}, {880, S0, 150, 430},
    {897, S0, 60, 215},  {897, S0, 110, 215}, {897, S0, 160, 215}, {897, S0, 210, 215},
    {914, S0, 120, 0},   {914, S0, 170, 0},   {914, S0, 220, 0},   {914, S0, 270, 0},
    {999, S0, 0, 0},     {999, S0, 50, 0},    {999, S0, 100, 0},   {999, S0, 150, 0},
    {1033, S0, 60, 215}, {1033, S0, 110, 215}, {1033, S0, 160, 215}, {1033, S0, 210, 215},
    {1067, S0, 120, 430}, {1067, S0, 170, 430}, {1067, S0, 220, 430}, {1067, S0, 270, 430},
    // rings of three speeds, then the two five-ring bursts
    {1152, S2, 0, 0},    {1152, S2, 135, 0},  {1152, S2, 270, 0},
    {1322, S3, 135, 0},
    {1577, S3, 135, 430},
};

void CreateThirdStage(TForm1& F) { new TThirdStageSprite(F.SpriteEngine()); }

// Outlasting Marco leads into Stage 3.
const TEnduranceRowRegistrar kMarcoEnduranceRow{{MarcoCAttackName,
                                                 &TForm1::MarcoCSprite,
                                                 {{TItemKind::HP, 10, 15}, {TItemKind::HP, 10, 15}},
                                                 3000,
                                                 200,
                                                 CreateThirdStage}};

const TBossEntry kBoss{TThirdStageSprite::BossCount, "\\3-1.mp3", &TForm1::VelusASprite, SpawnBoss<TVelusASprite>};

}  // namespace

TThirdStageSprite::TThirdStageSprite(TSprite* Parent) : TStageSprite(Parent) {
    TForm1& f = FormOf(this);
    f.StageNo = 3;
    f.StageCount = 0;
    f.BGMStop("\\3-0.mp3");
    f.BSReset();
    f.Log.Write("stage", {{"stage", int64_t{3}}});
}

void TThirdStageSprite::Step(int32_t MoveCount) { Play(MoveCount, kTimeline, kBoss); }

}  // namespace kv
