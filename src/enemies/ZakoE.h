#pragma once
// The ring craft: it falls in one of six columns, fires a diagonal cross as it enters the
// field and an eight-way burst at y = 180, where a returner (inner columns) or a diver
// (outer columns) takes its place. Shots pass through the whole family.
#include "bullets/Bases.h"

namespace kv {

// Dive direction of each diver class, shared by all its instances (the latest aim wins).
struct TZakoEAVars {
    double DiveVX = 0, DiveVY = 0;
};
struct TZakoEFVars {
    double DiveVX = 0, DiveVY = 0;
};

class TZakoESprite : public TZakoEsSprite {
public:
    KV_SPRITE_COPY
    TZakoESprite(TSprite* Parent, double X);
    void Step(int32_t MoveCount) override;
};

class TZakoEReturnSprite : public TZakoEsSprite {
public:
    KV_SPRITE_COPY
    TZakoEReturnSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

// Diver of the leftmost column.
class TZakoEASprite : public TZakoEsSprite {
public:
    KV_SPRITE_COPY
    TZakoEASprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

// Diver of the rightmost column.
class TZakoEFSprite : public TZakoEsSprite {
public:
    KV_SPRITE_COPY
    TZakoEFSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

// Axis bullet: 0 up, 64 right, 128 down, 192 left; 4 pixels a frame.
class TZakoEShotASprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TZakoEShotASprite(TSprite* Parent, double X, double Y, int32_t Direction);
    void Step(int32_t MoveCount) override;
};

// Diagonal bullet: 32 up-right, 96 down-right, 160 down-left, 224 up-left; 2 pixels per axis.
class TZakoEShotBSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TZakoEShotBSprite(TSprite* Parent, double X, double Y, int32_t Direction);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
