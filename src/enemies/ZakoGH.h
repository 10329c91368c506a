#pragma once
// The star craft of Stage 2: TZakoHSprite falls in one of ten columns and, at y = 80, hands
// over to its column's diver, which aims at the player once and dives along that line.
// Shots pass through both; touching one hurts like any enemy.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TZakoHSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    TZakoHSprite(TSprite* Parent, double AX);
    void Step(int32_t MoveCount) override;
};

// The dive velocity one diver class shares: every new diver of the class re-aims them all.
struct TZakoGDive {
    double DiveVX = 0, DiveVY = 0;
};
// One such pair per diver class, kept in the window's class-wide store.
template <class Diver>
struct TZakoGDiveOf : TZakoGDive {};

class TZakoGDiverSprite : public TZakoGSprite {
public:
    KV_SPRITE_COPY
    void Step(int32_t MoveCount) override;
    TZakoGDive& Dive() const { return ClassDive_(FormOf(this)); }

protected:
    // ClassDive finds the class's pair in the window the sprite lives in (a copy may live in another).
    using TClassDive = TZakoGDive& (*)(TForm1& Form);
    TZakoGDiverSprite(TSprite* Parent, int32_t Column, TClassDive ClassDive);

private:
    TClassDive ClassDive_;
};

// A diver class of one column, with its own class-wide dive pair.
template <class Self, int32_t Column>
class TZakoGColumnSprite : public TZakoGDiverSprite {
public:
    KV_SPRITE_COPY
    static constexpr int32_t ColumnX = Column;
    explicit TZakoGColumnSprite(TSprite* Parent)
        : TZakoGDiverSprite(Parent, Column, [](TForm1& F) -> TZakoGDive& { return F.Vars<TZakoGDiveOf<Self>>(); }) {}
};
class TZakoGASprite : public TZakoGColumnSprite<TZakoGASprite, 0> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGBSprite : public TZakoGColumnSprite<TZakoGBSprite, 32> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGCSprite : public TZakoGColumnSprite<TZakoGCSprite, 64> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGDSprite : public TZakoGColumnSprite<TZakoGDSprite, 96> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGESprite : public TZakoGColumnSprite<TZakoGESprite, 128> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGFSprite : public TZakoGColumnSprite<TZakoGFSprite, 160> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGGSprite : public TZakoGColumnSprite<TZakoGGSprite, 192> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGHSprite : public TZakoGColumnSprite<TZakoGHSprite, 224> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGISprite : public TZakoGColumnSprite<TZakoGISprite, 256> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGJSprite : public TZakoGColumnSprite<TZakoGJSprite, 288> {
public:
    KV_SPRITE_COPY
    using TZakoGColumnSprite::TZakoGColumnSprite;
};

}  // namespace kv
