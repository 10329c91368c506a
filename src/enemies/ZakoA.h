#pragma once
// The Zako A family: a craft that drops in, hovers for four three-way volleys and flies off.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TZakoAASprite : public TZakoASprite {
public:
    KV_SPRITE_COPY
    TZakoAASprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};
class TZakoABSprite : public TZakoASprite {
public:
    KV_SPRITE_COPY
    TZakoABSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};
class TZakoACSprite : public TZakoASprite {
public:
    KV_SPRITE_COPY
    TZakoACSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

// The departing craft: still hurts on contact, but shots pass through it.
class TZakoAShadowSprite : public TZakoASprite {
public:
    KV_SPRITE_COPY
    TZakoAShadowSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

// Direction 224, 0 or 32 picks the movement; any other value leaves the bullet standing.
class TZakoAShotASprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TZakoAShotASprite(TSprite* Parent, double X, double Y, int32_t Direction);
    void Step(int32_t MoveCount) override;
};

// The shared hover counter of a hovering craft's class, or nullptr for any other sprite.
int32_t* ZakoACounterOf(TForm1& Form, const TSprite* S);

}  // namespace kv
