// The "Extra Stage" button and the Extra Stage timeline.
#include "stages/ExtraStage.h"

#include <string>

#include "bosses/Dagar.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoIJ.h"
#include "shell/Form1.h"
#include "shell/FormHooks.h"

namespace kv {

namespace {

const TFormHookRegistrar kExtraButton{[](TForm1& F) {
    F.Button6.OnClick = [&F] { F.Handle([&F] { F.Button6Click(); }); };
}};

constexpr auto AA = SpawnXY<TZakoAASprite>;
constexpr auto AB = SpawnXY<TZakoABSprite>;
constexpr auto AC = SpawnXY<TZakoACSprite>;
constexpr auto I = SpawnXY<TZakoISprite>;
constexpr auto J = SpawnXY<TZakoJSprite>;
constexpr auto Sign0 = SpawnSign<0>;
constexpr auto Sign2 = SpawnSign<2>;

const TSpawn kTimeline[] = {
    // a wall of twelve emitters
    {41, Sign0, 0, 0},    {41, Sign0, 54, 0},    {41, Sign0, 108, 0},   {41, Sign0, 162, 0},
    {41, Sign0, 216, 0},  {41, Sign0, 270, 0},   {41, Sign0, 0, 50},    {41, Sign0, 54, 50},
    {41, Sign0, 108, 50}, {41, Sign0, 162, 50},  {41, Sign0, 216, 50},  {41, Sign0, 270, 50},
    // two rows of sprayers
    {51, I, 35, -25},  {71, I, 85, -25},  {91, I, 135, -25},  {111, I, 185, -25}, {131, I, 235, -25},
    {251, I, 35, -25}, {271, I, 85, -25}, {291, I, 135, -25}, {311, I, 185, -25}, {331, I, 235, -25},
    // emitters walking down the side edges
    {451, Sign0, 0, 0},      {451, Sign0, 270, 0},      {481, Sign0, 0, 53.75},  {481, Sign0, 270, 53.75},
    {511, Sign0, 0, 107.5},  {511, Sign0, 270, 107.5},  {541, Sign0, 0, 161.25}, {541, Sign0, 270, 161.25},
    {571, Sign0, 0, 215},    {571, Sign0, 270, 215},    {601, Sign0, 0, 268.75}, {601, Sign0, 270, 268.75},
    {631, Sign0, 0, 322.5},  {631, Sign0, 270, 322.5},  {661, Sign0, 0, 376.25}, {661, Sign0, 270, 376.25},
    {691, Sign0, 0, 430},    {691, Sign0, 270, 430},
    // a sweep to the right and back
    {870, AB, 27, -25},   {885, AC, 54, -25},   {900, AA, 81, -25},   {915, AB, 108, -25},
    {930, AC, 135, -25},  {945, AA, 162, -25},  {960, AB, 189, -25},  {975, AC, 216, -25},
    {990, AA, 243, -25},  {1005, AB, 216, -25}, {1020, AC, 189, -25}, {1035, AA, 162, -25},
    {1050, AB, 135, -25}, {1065, AC, 108, -25}, {1080, AA, 81, -25},  {1095, AB, 54, -25},
    {1110, AC, 27, -25},
    // mode 2 emitters in the corners
    {1200, Sign2, 0, 430}, {1200, Sign2, 270, 430}, {1285, Sign2, 0, 0}, {1285, Sign2, 270, 0},
    // spirals and sprayers
    {1500, J, 135, -25},
    {1580, J, 0, -25},    {1580, J, 270, -25},
    {1660, J, 135, -200}, {1660, I, 0, -50}, {1660, I, 270, -350},
    // a ring of emitters along the border: across the top, down the right, back along the
    // bottom and up the left
    {1800, Sign0, 0, 0},    {1805, Sign0, 30, 0},    {1810, Sign0, 60, 0},    {1815, Sign0, 90, 0},
    {1820, Sign0, 120, 0},  {1825, Sign0, 150, 0},   {1830, Sign0, 180, 0},   {1835, Sign0, 210, 0},
    {1840, Sign0, 240, 0},  {1845, Sign0, 270, 0},
    {1850, Sign0, 270, 43}, {1855, Sign0, 270, 86},  {1860, Sign0, 270, 129}, {1865, Sign0, 270, 172},
    {1870, Sign0, 270, 215}, {1875, Sign0, 270, 258}, {1880, Sign0, 270, 301}, {1885, Sign0, 270, 344},
    {1890, Sign0, 270, 387}, {1895, Sign0, 270, 430},
    {1900, Sign0, 240, 430}, {1905, Sign0, 210, 430}, {1910, Sign0, 180, 430}, {1915, Sign0, 150, 430},
    {1920, Sign0, 120, 430}, {1925, Sign0, 90, 430},  {1930, Sign0, 60, 430},  {1935, Sign0, 30, 430},
    {1940, Sign0, 0, 430},
    {1945, Sign0, 0, 387},  {1950, Sign0, 0, 344},   {1955, Sign0, 0, 301},   {1960, Sign0, 0, 258},
    {1965, Sign0, 0, 215},  {1970, Sign0, 0, 172},   {1975, Sign0, 0, 129},   {1980, Sign0, 0, 86},
    {1985, Sign0, 0, 43},   {1990, Sign0, 0, 0},
};

// Unlike the other scripts this one stays after bringing in the boss, counting on.
const TBossEntry kBoss{TExtraStageSprite::BossCount, "\\5-1.mp3", &TForm1::DagarASprite, SpawnBoss<TDagarASprite>,
                       TBossEntry::CountOn};

}  // namespace

// The normal game start with the Extra Stage's music and script.
void TForm1::Button6Click() {
    PlaySound("Pingpong");
    SpriteEngine()->Purge();
    ResetDone = false;
    Practice = false;
    Log.Write("start", {{"mode", std::string("extra")}});
    BGMStart(2);
    StageNo = 5;
    EnterPlay();
    new TExtraStageSprite(SpriteEngine());
}

TExtraStageSprite::TExtraStageSprite(TSprite* Parent) : TStageSprite(Parent) {
    TForm1& f = FormOf(this);
    f.StageNo = 5;
    f.StageCount = 0;
    f.BSReset();  // the music was started by the button
    f.Log.Write("stage", {{"stage", int64_t{5}}});
}

void TExtraStageSprite::Step(int32_t MoveCount) { Play(MoveCount, kTimeline, kBoss); }

}  // namespace kv
