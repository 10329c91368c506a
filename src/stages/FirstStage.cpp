#include "stages/FirstStage.h"

#include "bosses/ROne.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoB.h"
#include "enemies/ZakoE.h"
#include "enemies/ZakoIJ.h"
#include "shell/Form1.h"

namespace kv {

namespace {

constexpr auto AA = SpawnXY<TZakoAASprite>;
constexpr auto AB = SpawnXY<TZakoABSprite>;
constexpr auto AC = SpawnXY<TZakoACSprite>;
constexpr auto D = SpawnX<TZakoDSprite>;
constexpr auto E = SpawnX<TZakoESprite>;
constexpr auto J = SpawnXY<TZakoJSprite>;

// Step, enemy, X, Y (Y unused for the classes that start at their own height).
const TSpawn kTimeline[] = {
    {30, AA, 135, -25},
    {80, AB, 35, -25},   {80, AC, 235, -25},
    {150, AA, 40, -25},  {150, AB, 135, -25}, {150, AC, 230, -25},
    // carriers in pairs, outer columns first: they turn lowest
    {200, D, 0, 0},      {200, D, 290, 0},
    {230, D, 30, 0},     {230, D, 260, 0},
    {260, D, 60, 0},     {260, D, 230, 0},
    {290, D, 90, 0},     {290, D, 200, 0},
    {360, AA, 35, -25},
    {400, AB, 135, -25},
    {420, AC, 235, -25},
    {440, AA, 85, -25},
    {460, AB, 135, -25},
    {480, AC, 185, -25},
    {530, AA, 0, -25},   {530, AB, 50, -25},  {530, AC, 100, -25},
    {590, AA, 270, -25}, {590, AB, 220, -25}, {590, AC, 170, -25},
    {650, AA, 85, -25},  {650, AB, 135, -25}, {650, AC, 185, -25},
    // ring craft, from the middle out and back in
    {800, E, 116, 0},    {800, E, 174, 0},
    {860, E, 58, 0},     {860, E, 232, 0},
    {920, E, 0, 0},      {920, E, 290, 0},
    {980, E, 58, 0},     {980, E, 232, 0},
    {1040, E, 116, 0},   {1040, E, 174, 0},
    {1100, J, 135, -50},
    {1180, J, 35, -50},
    {1260, J, 235, -50},
};

const TBossEntry kBoss{TFirstStageSprite::BossCount, "\\1-1.mp3", &TForm1::ROneASprite, SpawnBoss<TROneASprite>};

}  // namespace

TFirstStageSprite::TFirstStageSprite(TSprite* Parent) : TStageSprite(Parent) {
    TForm1& f = FormOf(this);
    f.StageNo = 1;
    f.StageCount = 0;
    f.BSReset();
    f.Log.Write("stage", {{"stage", int64_t{1}}});
}

void TFirstStageSprite::Step(int32_t MoveCount) { Play(MoveCount, kTimeline, kBoss); }

}  // namespace kv
