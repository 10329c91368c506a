#pragma once
// The star craft of Stage 2: TZakoHSprite falls in one of ten columns and, at y = 80, hands
// over to its column's diver, which aims at the player once and dives along that line.
// Shots pass through both; touching one hurts like any enemy.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TZakoHSprite : public TEnemySprite {
public:
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
    void Step(int32_t MoveCount) override;
    TZakoGDive& Dive() const { return *Dive_; }

protected:
    TZakoGDiverSprite(TSprite* Parent, int32_t Column, TZakoGDive& ClassDive);

private:
    TZakoGDive* Dive_;
};

// A diver class of one column, with its own class-wide dive pair.
template <class Self, int32_t Column>
class TZakoGColumnSprite : public TZakoGDiverSprite {
public:
    static constexpr int32_t ColumnX = Column;
    explicit TZakoGColumnSprite(TSprite* Parent)
        : TZakoGDiverSprite(Parent, Column, FormOf(Parent).Vars<TZakoGDiveOf<Self>>()) {}
};
class TZakoGASprite : public TZakoGColumnSprite<TZakoGASprite, 0> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGBSprite : public TZakoGColumnSprite<TZakoGBSprite, 32> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGCSprite : public TZakoGColumnSprite<TZakoGCSprite, 64> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGDSprite : public TZakoGColumnSprite<TZakoGDSprite, 96> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGESprite : public TZakoGColumnSprite<TZakoGESprite, 128> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGFSprite : public TZakoGColumnSprite<TZakoGFSprite, 160> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGGSprite : public TZakoGColumnSprite<TZakoGGSprite, 192> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGHSprite : public TZakoGColumnSprite<TZakoGHSprite, 224> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGISprite : public TZakoGColumnSprite<TZakoGISprite, 256> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};
class TZakoGJSprite : public TZakoGColumnSprite<TZakoGJSprite, 288> {
public:
    using TZakoGColumnSprite::TZakoGColumnSprite;
};

}  // namespace kv
