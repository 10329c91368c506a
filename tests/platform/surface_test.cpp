// The SDL back buffer, read back from the software renderer.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/Errors.h"
#include "engine/Pictures.h"
#include "platform/sdl/SdlFont.h"
#include "platform/sdl/SdlSurface.h"

namespace kv {
namespace {

constexpr uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF, Black = 0xFF000000;

uint8_t R(uint32_t p) { return (p >> 16) & 0xFF; }
uint8_t G(uint32_t p) { return (p >> 8) & 0xFF; }
uint8_t B(uint32_t p) { return p & 0xFF; }

std::unique_ptr<TPictureCollectionItem> Picture(int32_t W, int32_t H, uint32_t Colour) {
    auto it = std::make_unique<TPictureCollectionItem>();
    it->Name = "Test";
    it->Picture.Width = W;
    it->Picture.Height = H;
    it->Picture.Pixels.assign(static_cast<size_t>(W) * H, Colour);
    it->Transparent = false;
    return it;
}

void Set(TPictureCollectionItem& I, int32_t X, int32_t Y, uint32_t Colour) {
    I.Picture.Pixels[static_cast<size_t>(Y) * I.Picture.Width + X] = Colour;
}

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        S = TSdlSurface::CreateSoftware();
        S->Fill(0);
    }
    uint32_t At(int32_t X, int32_t Y) {
        if (Frame.Pixels.empty()) Frame = S->ReadPixels();
        return Frame.At(X, Y);
    }
    void Reread() { Frame = S->ReadPixels(); }
    std::unique_ptr<TSdlSurface> S;
    TBitmap Frame;
};

TEST_F(SurfaceTest, FillTakesBlueGreenRedOrder) {
    EXPECT_EQ(S->SurfaceWidth(), 321);
    EXPECT_EQ(S->SurfaceHeight(), 481);
    S->Fill(0x00FF0000);  // blue in 0x00BBGGRR
    EXPECT_EQ(At(0, 0), Blue);
    EXPECT_EQ(At(320, 480), Blue);
    S->Fill(0x00000080);
    Reread();
    EXPECT_EQ(At(160, 240), 0xFF800000u);
}

TEST_F(SurfaceTest, PlainDrawPutsThePatternAtItsTopLeft) {
    auto p = Picture(4, 3, Red);
    Set(*p, 0, 0, Green);
    p->Prepare(S.get());
    p->Draw(S.get(), 10, 20, 0);
    EXPECT_EQ(At(10, 20), Green);
    EXPECT_EQ(At(13, 22), Red);
    EXPECT_EQ(At(14, 22), Black);
    EXPECT_EQ(At(13, 23), Black);
    EXPECT_EQ(At(9, 20), Black);
}

TEST_F(SurfaceTest, ScaleDrawStretchesEachPixel) {
    auto p = Picture(2, 2, Red);
    Set(*p, 1, 0, Green);
    Set(*p, 0, 1, Blue);
    Set(*p, 1, 1, White);
    p->Prepare(S.get());
    p->ScaleDraw(S.get(), Bounds(100, 100, 20, 20), 0);
    EXPECT_EQ(At(105, 105), Red);
    EXPECT_EQ(At(115, 105), Green);
    EXPECT_EQ(At(105, 115), Blue);
    EXPECT_EQ(At(115, 115), White);
    EXPECT_EQ(At(119, 119), White);
    EXPECT_EQ(At(120, 119), Black);
}

TEST_F(SurfaceTest, PatternsDrawTheirOwnCell) {
    auto p = Picture(20, 10, Red);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x) Set(*p, x, y, Blue);
    p->PatternWidth = 10;
    p->PatternHeight = 10;
    p->Prepare(S.get());
    ASSERT_EQ(p->PatternCount(), 2);
    p->Draw(S.get(), 0, 0, 1);
    EXPECT_EQ(At(5, 5), Blue);
    EXPECT_EQ(At(15, 5), Black);
}

TEST_F(SurfaceTest, BlendDrawMixesByAlpha) {
    auto p = Picture(10, 10, White);
    p->Prepare(S.get());
    p->BlendDraw(S.get(), Bounds(0, 0, 10, 10), 0, 128);
    p->BlendDraw(S.get(), Bounds(20, 0, 10, 10), 0, 255);
    p->BlendDraw(S.get(), Bounds(40, 0, 10, 10), 0, 300);
    const uint32_t half = At(5, 5);
    EXPECT_NEAR(R(half), 128, 2);
    EXPECT_NEAR(G(half), 128, 2);
    EXPECT_NEAR(B(half), 128, 2);
    EXPECT_EQ(At(25, 5), White);
    EXPECT_EQ(At(45, 5), White);
}

TEST_F(SurfaceTest, AlphaIsSetForEachDraw) {
    // A blended draw must not leave its alpha on the texture for the next, opaque one.
    auto p = Picture(10, 10, White);
    p->Prepare(S.get());
    p->BlendDraw(S.get(), Bounds(0, 0, 10, 10), 0, 64);
    p->Draw(S.get(), 20, 0, 0);
    EXPECT_LT(R(At(5, 5)), 100);
    EXPECT_EQ(At(25, 5), White);
}

TEST_F(SurfaceTest, TurnBy64MovesTheRightSideBelowTheCentre) {
    auto p = Picture(21, 21, Blue);
    for (int y = 9; y <= 11; ++y)
        for (int x = 15; x <= 17; ++x) Set(*p, x, y, Red);  // right of the centre (10, 10)
    p->Prepare(S.get());
    p->TurnDraw(S.get(), 100, 100, 21, 21, 0, 0.5, 0.5, 64);
    // (x + 6, y) turns a quarter clockwise to (x, y + 6).
    EXPECT_EQ(At(100, 106), Red);
    EXPECT_EQ(At(106, 100), Blue);
    EXPECT_EQ(At(94, 100), Blue);
    EXPECT_EQ(At(100, 94), Blue);
}

TEST_F(SurfaceTest, TurnBy128IsUpsideDownAndTurnBy256IsUnturned) {
    auto p = Picture(21, 21, Blue);
    for (int y = 2; y <= 4; ++y)
        for (int x = 9; x <= 11; ++x) Set(*p, x, y, Red);  // above the centre
    p->Prepare(S.get());
    p->TurnDraw(S.get(), 50, 50, 21, 21, 0, 0.5, 0.5, 128);
    p->TurnDraw(S.get(), 150, 50, 21, 21, 0, 0.5, 0.5, 256);
    EXPECT_EQ(At(50, 57), Red);
    EXPECT_EQ(At(50, 43), Blue);
    EXPECT_EQ(At(150, 43), Red);
    EXPECT_EQ(At(150, 57), Blue);
}

TEST_F(SurfaceTest, TurnBlendDrawTurnsAndBlends) {
    auto p = Picture(21, 21, White);
    p->Prepare(S.get());
    p->TurnBlendDraw(S.get(), 100, 100, 21, 21, 0, 0.5, 0.5, 32, 128);
    EXPECT_NEAR(R(At(100, 100)), 128, 2);
    EXPECT_EQ(At(100, 120), Black);
}

TEST(TurnCache, TurnedDrawsMatchTheDirectOnesPixelForPixel) {
    auto cached = TSdlSurface::CreateSoftware();
    auto direct = TSdlSurface::CreateSoftware();
    direct->TurnCache = false;
    // Two patterns of an uneven picture with key-coloured holes, for each surface.
    auto make = [] {
        auto p = Picture(22, 11, Red);
        p->Transparent = true;
        p->TransparentColor = 0x00FF0000;  // blue, 0x00BBGGRR
        p->PatternWidth = 11;
        p->PatternHeight = 11;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 22; ++x) {
                if ((x * 7 + y * 3) % 5 == 0) Set(*p, x, y, Blue);
                else if (x > y) Set(*p, x, y, 0xFF00FF00u + static_cast<uint32_t>(x * 11 + y));
            }
        return p;
    };
    auto a = make(), b = make();
    a->Prepare(cached.get());
    b->Prepare(direct.get());
    for (TSdlSurface* s : {cached.get(), direct.get()}) s->Fill(0x00402010);
    auto draw = [](TPictureCollectionItem& P, TSdlSurface* S, int K) {
        // Corners off the field, two sizes, off-centre turns (fractional corners), every angle, fades.
        const int x = static_cast<int>(-9.7 + std::fmod(K * 37.31, 330.0)), y = static_cast<int>(-8.2 + std::fmod(K * 19.77, 490.0));
        const int w = K % 3 == 0 ? 17 : 11, h = K % 3 == 0 ? 23 : 11;
        const double cx = K % 4 == 0 ? 0.25 : 0.5, cy = K % 5 == 0 ? 0.8 : 0.5;
        const int angle = K % 256;
        if (K % 2 == 0)
            P.TurnDraw(S, x, y, w, h, K % 7 == 0 ? 1 : 0, cx, cy, angle);
        else
            P.TurnBlendDraw(S, x, y, w, h, 1, cx, cy, angle, 1 + (K * 53) % 255);
    };
    // Each turn is drawn twice, the second time from the cache.
    for (int round = 0; round < 2; ++round)
        for (int k = 0; k < 600; ++k) {
            draw(*a, cached.get(), k);
            draw(*b, direct.get(), k);
        }
    const TBitmap fromCache = cached->ReadPixels(), drawn = direct->ReadPixels();
    ASSERT_EQ(fromCache.Pixels.size(), drawn.Pixels.size());
    int differ = 0;
    for (size_t i = 0; i < drawn.Pixels.size(); ++i) differ += fromCache.Pixels[i] != drawn.Pixels[i];
    EXPECT_EQ(differ, 0);
}

// Drawing straight into the software surface's pixels, turned pictures from the turn cache, must
// give what the renderer gives, to the bit: random pictures (uneven sizes, patterns, key colours, own alpha from 0 to 255) drawn
// plainly, stretched, faded, turned and turned while faded, over every edge of the field and over
// one another.
TEST(DirectBlit, MatchesTheRendererPixelForPixel) {
    auto direct = TSdlSurface::CreateSoftware();
    auto rendered = TSdlSurface::CreateSoftware();
    rendered->DirectBlit = false;
    rendered->TurnCache = false;
    uint32_t seed = 2024;
    auto next = [&seed](uint32_t Range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % Range;
    };
    std::vector<std::unique_ptr<TPictureCollectionItem>> pictures[2];
    for (int i = 0; i < 24; ++i) {
        const int w = 1 + static_cast<int>(next(45)), h = 1 + static_cast<int>(next(45));
        const bool ownAlpha = i % 3 == 0;
        const uint32_t key = 0xFF000000u | next(3) * 0x7F7F7F;
        auto p = Picture(w, h, key);
        for (uint32_t& px : p->Picture.Pixels) {
            const uint32_t pick = next(8);
            if (ownAlpha) px = (pick < 2 ? 0u : pick < 4 ? 255u : next(256)) << 24 | next(0x1000000);
            else if (pick > 2) px = 0xFF000000u | next(0x1000000);
        }
        p->Picture.HasAlpha = ownAlpha;
        p->Transparent = i % 5 != 4;
        p->TransparentColor = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
        if (i % 4 == 1 && w > 2 && h > 2) p->PatternWidth = w / 2, p->PatternHeight = h / 2;
        for (int k = 0; k < 2; ++k) {
            auto copy = std::make_unique<TPictureCollectionItem>(*p);
            copy->Prepare(k == 0 ? direct.get() : rendered.get());
            pictures[k].push_back(std::move(copy));
        }
    }
    direct->Fill(0x00204060);
    rendered->Fill(0x00204060);
    for (int k = 0; k < 3000; ++k) {
        const size_t i = next(24);
        const int x = static_cast<int>(next(380)) - 50, y = static_cast<int>(next(540)) - 50;
        const int pattern = static_cast<int>(next(3)), alpha = next(4) == 0 ? 255 : 1 + static_cast<int>(next(300));
        const int kind = static_cast<int>(next(5)), angle = static_cast<int>(next(256));
        for (int s = 0; s < 2; ++s) {
            TPictureCollectionItem& p = *pictures[s][i];
            TSdlSurface* surface = s == 0 ? direct.get() : rendered.get();
            const int w = p.Width(), h = p.Height();
            const TRect r = Bounds(x, y, kind == 1 ? w + 3 : w, kind == 1 ? h - 1 : h);
            if (kind == 0) p.Draw(surface, x, y, pattern);
            else if (kind <= 2) p.BlendDraw(surface, r, pattern, alpha);
            else p.TurnBlendDraw(surface, x, y, kind == 4 ? w + 3 : w, kind == 4 ? h + 2 : h, pattern, 0.5, 0.5, angle, alpha);
        }
    }
    const TBitmap a = direct->ReadPixels(), b = rendered->ReadPixels();
    ASSERT_EQ(a.Pixels.size(), b.Pixels.size());
    int differ = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) differ += a.Pixels[i] != b.Pixels[i];
    EXPECT_EQ(differ, 0);
}

TEST_F(SurfaceTest, ColourKeyUsesBlueGreenRedOrder) {
    // Key RGB (0x10, 0x20, 0x30); its mirror (0x30, 0x20, 0x10) must stay visible.
    auto p = Picture(2, 1, 0xFF102030);
    Set(*p, 1, 0, 0xFF302010);
    p->Transparent = true;
    p->TransparentColor = 0x00302010;
    p->Prepare(S.get());
    S->Fill(0x0000FF00);
    p->ScaleDraw(S.get(), Bounds(0, 0, 20, 10), 0);
    EXPECT_EQ(At(5, 5), Green);
    EXPECT_EQ(At(15, 5), 0xFF302010u);
}

TEST_F(SurfaceTest, WithoutTransparentTheKeyColourIsDrawn) {
    auto p = Picture(2, 2, 0xFF102030);
    p->Transparent = false;
    p->TransparentColor = 0x00302010;
    p->Prepare(S.get());
    p->Draw(S.get(), 0, 0, 0);
    EXPECT_EQ(At(1, 1), 0xFF102030u);
}

TEST_F(SurfaceTest, AlphaBitmapsIgnoreTheKey) {
    auto p = Picture(3, 1, 0x00FF0000);  // transparent red
    Set(*p, 1, 0, 0xFF000000);           // opaque black, the key colour
    Set(*p, 2, 0, 0x80FFFFFF);           // half white
    p->Picture.HasAlpha = true;
    p->Transparent = true;
    p->TransparentColor = 0;
    p->Prepare(S.get());
    S->Fill(0x00FF0000);
    p->Draw(S.get(), 10, 10, 0);
    EXPECT_EQ(At(10, 10), Blue);
    EXPECT_EQ(At(11, 10), Black);
    EXPECT_NEAR(R(At(12, 10)), 128, 2);
    EXPECT_NEAR(B(At(12, 10)), 255, 3);
}

TEST_F(SurfaceTest, PictureOfAnotherRendererIsNotDrawn) {
    auto other = TSdlSurface::CreateSoftware();
    auto p = Picture(4, 4, Red);
    p->Prepare(other.get());
    EXPECT_EQ(S->TextureOf(*p), nullptr);
    EXPECT_NE(other->TextureOf(*p), nullptr);
    p->Draw(S.get(), 0, 0, 0);
    EXPECT_EQ(At(1, 1), Black);
}

TEST_F(SurfaceTest, PictureOutlivingItsSurfaceIsSafe) {
    auto p = Picture(4, 4, Red);
    {
        auto gone = TSdlSurface::CreateSoftware();
        p->Prepare(gone.get());
    }
    p->SurfaceData.reset();  // the renderer freed the texture already
    p->Prepare(S.get());
    p->Draw(S.get(), 0, 0, 0);
    EXPECT_EQ(At(1, 1), Red);
}

TEST_F(SurfaceTest, EmptyPictureGetsNoTexture) {
    TPictureCollectionItem p;
    p.Prepare(S.get());
    EXPECT_EQ(S->TextureOf(p), nullptr);
    p.Draw(S.get(), 0, 0, 0);
}

// ---- text ----

struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Count = 0;
};

TBox LitBox(const TBitmap& F, uint8_t Threshold = 128) {
    TBox b;
    for (int y = 0; y < F.Height; ++y)
        for (int x = 0; x < F.Width; ++x) {
            const uint32_t p = F.At(x, y);
            if (R(p) >= Threshold || G(p) >= Threshold || B(p) >= Threshold) {
                b.Left = std::min(b.Left, x);
                b.Top = std::min(b.Top, y);
                b.Right = std::max(b.Right, x);
                b.Bottom = std::max(b.Bottom, y);
                ++b.Count;
            }
        }
    return b;
}

TEST_F(SurfaceTest, TextOutDrawsInsideItsBox) {
    S->TextOut(10, 20, "Score:123", TColor{255, 255, 255}, 12);
    const TBox b = LitBox(S->ReadPixels());
    ASSERT_GT(b.Count, 40);
    EXPECT_GE(b.Left, 10);
    EXPECT_GE(b.Top, 20);
    EXPECT_LT(b.Left, 14);
    EXPECT_LT(b.Right, 10 + 100);
    EXPECT_LE(b.Bottom, 20 + 18);  // 12 pt is 16 pixels
    EXPECT_GT(b.Bottom - b.Top, 8);
}

TEST_F(SurfaceTest, TextOutUsesItsColour) {
    S->TextOut(0, 0, "Boss:", TColor{255, 255, 0}, 12);
    const TBitmap f = S->ReadPixels();
    int yellow = 0, blue = 0;
    for (uint32_t p : f.Pixels) {
        if (R(p) > 200 && G(p) > 200 && B(p) < 60) ++yellow;
        if (B(p) > 60) ++blue;
    }
    EXPECT_GT(yellow, 20);
    EXPECT_EQ(blue, 0);
}

TEST_F(SurfaceTest, JapaneseTextIsRendered) {
    S->TextOut(20, 232, "名前：", TColor{255, 255, 255}, 12);
    const TBox b = LitBox(S->ReadPixels());
    EXPECT_GT(b.Count, 40);
    EXPECT_GE(b.Top, 232);
}

TEST_F(SurfaceTest, LargerPointsDrawLargerText) {
    auto height = [&](int32_t Points) {
        S->Fill(0);
        S->TextOut(0, 0, "88", TColor{255, 255, 255}, Points);
        const TBox b = LitBox(S->ReadPixels());
        return b.Bottom - b.Top;
    };
    const int h12 = height(12), h24 = height(24);
    EXPECT_GT(h24, h12 * 3 / 2);
    EXPECT_LT(h24, h12 * 5 / 2 + 2);
}

TEST(PointsToPixels, At96Dpi) {
    EXPECT_EQ(PointsToPixels(12), 16);
    EXPECT_EQ(PointsToPixels(24), 32);
    EXPECT_EQ(PointsToPixels(9), 12);
    EXPECT_EQ(FontHeightToPixels(-15), 15);
    EXPECT_EQ(FontHeightToPixels(-12), 12);
}

TEST_F(SurfaceTest, TextCacheKeepsOneTexturePerStringColourAndSize) {
    TSdlTextCache& c = S->TextCache();
    const SDL_Color white{255, 255, 255, 255}, yellow{255, 255, 0, 255};
    const auto* a = c.Get("HP:10", white, 16);
    ASSERT_NE(a, nullptr);
    SDL_Texture* t = a->Texture;
    EXPECT_EQ(c.Get("HP:10", white, 16)->Texture, t);
    EXPECT_NE(c.Get("HP:10", yellow, 16)->Texture, t);
    EXPECT_NE(c.Get("HP:10", white, 32)->Texture, t);
    EXPECT_NE(c.Get("HP:9", white, 16)->Texture, t);
    EXPECT_EQ(c.Size(), 4u);
    EXPECT_EQ(c.Get("HP:10", white, 16)->Texture, t);
    EXPECT_EQ(c.Size(), 4u);
}

TEST(TextCache, EvictsTheLeastRecentlyUsed) {
    auto s = TSdlSurface::CreateSoftware();
    TSdlTextCache c(s->Renderer(), FindGothicFont(), 2);
    const SDL_Color w{255, 255, 255, 255};
    SDL_Texture* a = c.Get("a", w, 16)->Texture;
    c.Get("b", w, 16);
    EXPECT_EQ(c.Get("a", w, 16)->Texture, a);  // a is now the newest
    c.Get("c", w, 16);                         // b goes
    EXPECT_EQ(c.Size(), 2u);
    EXPECT_EQ(c.Get("a", w, 16)->Texture, a);
    EXPECT_EQ(c.Size(), 2u);
}

TEST(TextCache, UnusableFontFileIsNamed) {
    auto s = TSdlSurface::CreateSoftware();
    TSdlTextCache c(s->Renderer(), "/nonexistent/font.ttf");
    try {
        c.Get("x", SDL_Color{255, 255, 255, 255}, 16);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/font.ttf"), std::string::npos);
    }
}

TEST(FindGothicFont, OverrideNamingAMissingFileIsAnError) {
    const char* old = std::getenv("KALVENTO_FONT");
    const std::string saved = old ? old : "";
    setenv("KALVENTO_FONT", "/nonexistent/ipagp.ttf", 1);
    EXPECT_THROW(FindGothicFont(), EFOpenError);
    if (old) setenv("KALVENTO_FONT", saved.c_str(), 1);
    else unsetenv("KALVENTO_FONT");
    const std::string found = FindGothicFont();
    EXPECT_EQ(std::filesystem::path(found).filename(), "ipagp.ttf");
}

// ---- screenshots ----

TEST_F(SurfaceTest, SavePngWritesTheFrame) {
    auto p = Picture(2, 2, Red);
    p->Prepare(S.get());
    p->Draw(S.get(), 3, 4, 0);
    const std::string path = (std::filesystem::temp_directory_path() / "kv_surface_test.png").string();
    S->SavePng(path);
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &n, 4);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w, 321);
    EXPECT_EQ(h, 481);
    const unsigned char* at = px + (4 * 321 + 3) * 4;
    EXPECT_EQ(at[0], 255);
    EXPECT_EQ(at[1], 0);
    EXPECT_EQ(at[2], 0);
    EXPECT_EQ(at[3], 255);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[3], 255);
    stbi_image_free(px);
    std::remove(path.c_str());
}

TEST_F(SurfaceTest, SavePngToAnUnwritablePlaceNamesIt) {
    try {
        S->SavePng("/nonexistent/dir/shot.png");
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/dir/shot.png"), std::string::npos);
    }
}

}  // namespace
}  // namespace kv
