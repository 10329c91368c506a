#pragma once
// The bases of every enemy and every enemy bullet, and the family types the collision code
// tests against.
#include "engine/ImageSprite.h"
#include "shell/Form1.h"

namespace kv {

// Every small enemy and boss phase. Life counts the player's hits as negative numbers.
class TEnemySprite : public TImageSpriteEx {
public:
    explicit TEnemySprite(TSprite* Parent) : TImageSpriteEx(Parent) {}
    void Step(int32_t MoveCount) override;  // removes itself once no game is running
    int32_t Life = 0;
};

// Every enemy bullet.
class TTamaSprite : public TImageSpriteEx {
public:
    explicit TTamaSprite(TSprite* Parent) : TImageSpriteEx(Parent) {}
    void Step(int32_t MoveCount) override;
};

// A bullet flying straight at Speed along Direction (radians), removed once it is more than
// 20 pixels off the field. The Signs and Velus fire these.
class TStraightTamaSprite : public TTamaSprite {
public:
    TStraightTamaSprite(TSprite* Parent, const char* Picture, double Speed, double AX, double AY, double ADirection);
    void Step(int32_t MoveCount) override;

    double VX = 0, VY = 0;
    double Direction = 0;
};

// Family types: no behaviour of their own.
class TBossSprite : public TEnemySprite {
public:
    using TEnemySprite::TEnemySprite;
};
class TZakoASprite : public TEnemySprite {
public:
    using TEnemySprite::TEnemySprite;
};
class TZakoBSprite : public TEnemySprite {
public:
    using TEnemySprite::TEnemySprite;
};
class TZakoEsSprite : public TEnemySprite {
public:
    using TEnemySprite::TEnemySprite;
};
class TZakoGSprite : public TEnemySprite {
public:
    using TEnemySprite::TEnemySprite;
};

}  // namespace kv
