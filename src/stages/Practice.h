#pragma once
// Practice starts: a game that begins at a stage or at one boss phase, with the ship as a new
// game has it. Nothing of a practice game is written to the record.
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class TForm1;

// "stage1" … "stage4", "extra", then the boss phase classes ("TROneASprite" …), in game order.
const std::vector<std::string>& PracticeTargets();
bool IsPracticeTarget(const std::string& What);

// A start as a list shows it: a stage, or a boss phase with the names the HUD shows for it.
struct TPracticeInfo {
    std::string Name;  // as PracticeTargets has it
    int32_t Stage = 0;  // 1 … 4, 5 for the Extra Stage
    bool IsStage = false;
    std::string BossName, AttackName;
};
std::vector<TPracticeInfo> PracticeInfos();
// Starts the practice game (the window shows the menu); raises std::invalid_argument for an
// unknown target.
void StartPractice(TForm1& Form, const std::string& What);

}  // namespace kv
