#include "stages/SecondStage.h"

#include "bosses/Marco.h"
#include "bosses/ROne.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoE.h"
#include "enemies/ZakoGH.h"
#include "enemies/ZakoIJ.h"
#include "shell/Form1.h"
#include "shell/Rows.h"

namespace kv {

namespace {

constexpr auto AA = SpawnXY<TZakoAASprite>;
constexpr auto AB = SpawnXY<TZakoABSprite>;
constexpr auto AC = SpawnXY<TZakoACSprite>;
constexpr auto E = SpawnX<TZakoESprite>;
constexpr auto H = SpawnX<TZakoHSprite>;
constexpr auto I = SpawnXY<TZakoISprite>;
// Every Sign of this stage bursts into the three aimed big bullets.
constexpr auto Sign0 = SpawnSign<0>;

// Step, enemy, X, Y (Y unused for the classes that start at their own height).
const TSpawn kTimeline[] = {
    {55, AA, 135, -25},  {55, E, 116, 0},     {55, E, 174, 0},     {55, E, 58, 0},  {55, E, 232, 0},
    {80, E, 0, 0},       {80, E, 290, 0},
    {130, E, 58, 0},     {130, E, 232, 0},
    {155, E, 116, 0},    {155, E, 174, 0},
    {180, AA, 85, -25},  {180, AB, 135, -25}, {180, AC, 185, -25},
    {180, E, 116, 0},    {180, E, 174, 0},    {180, E, 58, 0},     {180, E, 232, 0},
    {255, E, 116, 0},    {255, E, 174, 0},    {255, E, 58, 0},     {255, E, 232, 0},
    // the star craft, one column every 25 frames from the left
    {305, H, 0, 0},      {330, H, 32, 0},     {355, H, 64, 0},     {380, H, 96, 0},  {405, H, 128, 0},
    {430, H, 160, 0},    {455, H, 192, 0},    {480, H, 224, 0},    {505, H, 256, 0}, {530, H, 288, 0},
    // a sweep to the right
    {570, AB, 27, -25},  {585, AC, 54, -25},  {600, AA, 81, -25},
    {615, AB, 108, -25}, {630, AC, 135, -25}, {645, AA, 162, -25},
    {660, AB, 189, -25}, {675, AC, 216, -25}, {690, AA, 243, -25},
    {800, I, 35, -25},   {850, I, 135, -25},  {900, I, 235, -25},
    // and back to the left
    {1010, AB, 243, -25}, {1030, AC, 216, -25}, {1050, AA, 189, -25},
    {1070, AB, 162, -25}, {1090, AC, 135, -25}, {1110, AA, 108, -25},
    {1130, AB, 81, -25},  {1150, AC, 54, -25},  {1170, AA, 27, -25},
    // Signs in the corners
    {1300, Sign0, 0, 0},   {1300, Sign0, 0, 430},
    {1400, Sign0, 270, 0}, {1400, Sign0, 270, 430},
    {1500, Sign0, 0, 0},   {1500, Sign0, 270, 430},
    {1600, Sign0, 270, 0}, {1600, Sign0, 0, 430},
};

void CreateSecondStage(TForm1& F) { new TSecondStageSprite(F.SpriteEngine()); }

// Outlasting R-One leads into Stage 2.
const TEnduranceRowRegistrar kROneEnduranceRow{
    {ROneBAttackName, &TForm1::ROneBSprite, {{TItemKind::HP, 10, 15}}, 2000, 150, CreateSecondStage}};

const TBossEntry kBoss{TSecondStageSprite::BossCount, "\\2-1.mp3", &TForm1::MarcoASprite, SpawnBoss<TMarcoASprite>};

}  // namespace

TSecondStageSprite::TSecondStageSprite(TSprite* Parent) : TStageSprite(Parent) {
    TForm1& f = FormOf(this);
    f.StageNo = 2;
    f.StageCount = 0;
    f.BGMStop("\\2-0.mp3");
    f.BSReset();
    f.Log.Write("stage", {{"stage", int64_t{2}}});
}

void TSecondStageSprite::Step(int32_t MoveCount) { Play(MoveCount, kTimeline, kBoss); }

}  // namespace kv
