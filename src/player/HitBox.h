#pragma once
// The player's real hit box: it rides on the ship, collects items, takes damage and ends the
// game when the hit points run out or a boss is touched.
#include <cstdint>
#include <vector>

#include "engine/ImageSprite.h"

namespace kv {

class TZikiHanteiSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TZikiHanteiSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
    void OnHit(TSprite* Other, bool& Done) override;

    // One HP lost: invincibility follows, and the game ends below 1 HP.
    void LoseHP();
    // Runs only while a game is being played, so at most once per game.
    void GameOver();

    bool PixelExact = false;  // set, but the hit test compares rectangles only

private:
    void BossContact(TSprite* Boss);
};

// Damage rules for sprites that are neither enemies nor enemy bullets (lasers). They are tested
// in registration order right before the enemy-or-bullet rule; the first that returns true has
// dealt with Other and that rule is skipped. They are not consulted while Form.Invincible is set.
//   static const THitBoxRuleRegistrar laser{[](TZikiHanteiSprite& Box, TSprite* Other) {
//       if (!IsA<TlazerSprite>(Other)) return false;
//       FormOf(&Box).PlaySound("ZikiHit");
//       Box.LoseHP();
//       return true;
//   }};
using THitBoxRule = bool (*)(TZikiHanteiSprite& Box, TSprite* Other);
std::vector<THitBoxRule>& HitBoxRules();
struct THitBoxRuleRegistrar {
    explicit THitBoxRuleRegistrar(THitBoxRule Rule) { HitBoxRules().push_back(Rule); }
};

// What an enemy of its own does when it touches the hit box, before the boss test, the rules
// above and the enemy-or-bullet rule (which still apply to it). Every touch runs, in
// registration order; none while Form.Invincible is set.
//   static const THitBoxTouchRegistrar hover{[](TZikiHanteiSprite& Box, TSprite* Other) {...}};
using THitBoxTouch = void (*)(TZikiHanteiSprite& Box, TSprite* Other);
std::vector<THitBoxTouch>& HitBoxTouches();
struct THitBoxTouchRegistrar {
    explicit THitBoxTouchRegistrar(THitBoxTouch Touch) { HitBoxTouches().push_back(Touch); }
};

}  // namespace kv
