#pragma once
// The Stage 1 formation: carriers fall in columns and, at their column's turning point, turn
// into a craft that winds outward on a growing spiral and leaves by a side edge. B craft
// (right half) leave to the right, C craft (left half) are their mirror images.
#include "bullets/Bases.h"

namespace kv {

// Class-wide spiral state. The frame counters are the window's ZakoBCCounts, one per class in
// this order (Shokika zeroes them together); the centres live in TZakoBCVars.
enum TZakoSpiralClass : int32_t { zsBA, zsBB, zsBC, zsBD, zsCA, zsCB, zsCC, zsCD, ZakoSpiralClassCount };
struct TZakoBCVars {
    double OriginX[ZakoSpiralClassCount]{};
    double OriginY[ZakoSpiralClassCount]{};
};

class TZakoDSprite : public TZakoBSprite {
public:
    KV_SPRITE_COPY
    TZakoDSprite(TSprite* Parent, double X);
    void Step(int32_t MoveCount) override;
};

#define KV_ZAKO_SPIRAL_CLASS(Name)                     \
    class Name : public TZakoBSprite {                 \
    public:                                            \
        KV_SPRITE_COPY                                 \
        Name(TSprite* Parent, double X, double Y);     \
        void Step(int32_t MoveCount) override;         \
    };
KV_ZAKO_SPIRAL_CLASS(TZakoBASprite)
KV_ZAKO_SPIRAL_CLASS(TZakoBBSprite)
KV_ZAKO_SPIRAL_CLASS(TZakoBCSprite)
KV_ZAKO_SPIRAL_CLASS(TZakoBDSprite)
KV_ZAKO_SPIRAL_CLASS(TZakoCASprite)
KV_ZAKO_SPIRAL_CLASS(TZakoCBSprite)
KV_ZAKO_SPIRAL_CLASS(TZakoCCSprite)
KV_ZAKO_SPIRAL_CLASS(TZakoCDSprite)
#undef KV_ZAKO_SPIRAL_CLASS

}  // namespace kv
