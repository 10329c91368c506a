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
