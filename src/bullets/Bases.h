#pragma once
// The bases of every enemy and every enemy bullet, and the family types the collision code
// tests against. They stand below the player and the enemies, so the hit box sees them as the
// enemies do.
#include <string>

#include "engine/ImageSprite.h"
#include "shell/Form1.h"

namespace kv {

// Every small enemy and boss phase. Life counts the player's hits as negative numbers.
class TEnemySprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TEnemySprite(TSprite* Parent) : TImageSpriteEx(Parent) {}
    void Step(int32_t MoveCount) override;  // removes itself once no game is running
    int32_t Life = 0;
};

// Every enemy bullet.
class TTamaSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TTamaSprite(TSprite* Parent) : TImageSpriteEx(Parent) {}
    void Step(int32_t MoveCount) override;
};

// A bullet flying straight by (VX, VY) each step, removed once it is past Limit at the top or
// the left, or past 320 at the right or 480 at the bottom. The Signs, Marco, Velus, Gadnic and
// Dagar fire these.
class TStraightTamaSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    // Along Direction (radians) at Speed.
    TStraightTamaSprite(TSprite* Parent, const std::string& Picture, double Speed, double AX, double AY,
                        double ADirection, double Limit = -20);
    void Step(int32_t MoveCount) override;

    double VX = 0, VY = 0;
    double Direction = 0;

protected:
    // For the bullets that place and aim themselves.
    TStraightTamaSprite(TSprite* Parent, const std::string& Picture, double Limit);
    void SetCourse(double ADirection, double Speed);

private:
    double Limit_;
};

// A boss phase takes the place of the one before it, which is killed but not yet freed; a
// phase made on its own (no phase before it) stands at the fallback place.
void TakePlace(TSprite* Self, const TSpriteRef<TSprite>& Before, double FallbackX, double FallbackY);

// Family types: no behaviour of their own.
class TBossSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    using TEnemySprite::TEnemySprite;
};
class TZakoASprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    using TEnemySprite::TEnemySprite;
};
class TZakoBSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    using TEnemySprite::TEnemySprite;
};
class TZakoEsSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    using TEnemySprite::TEnemySprite;
};
class TZakoGSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    using TEnemySprite::TEnemySprite;
};

}  // namespace kv
