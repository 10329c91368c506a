// Image sprites: the animation advance, rectangles, hit tests and the four ways of drawing.
#include <gtest/gtest.h>

#include "engine/ImageSprite.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

class ImageSprites : public ::testing::Test {
protected:
    void SetUp() override {
        E.SetSurface(&S);
        Pic.Name = "Pic";
        Pic.Picture.Width = 20;
        Pic.Picture.Height = 10;
        Pic.Picture.Pixels.assign(200, 0xFFFFFFFF);
        Pic.Prepare(&S);
        Small = Pic;
        Small.Name = "Small";
        Small.Picture.Width = 4;
        Small.Picture.Height = 4;
        Small.Picture.Pixels.assign(16, 0xFFFFFFFF);
        Small.Prepare(&S);
    }
    TImageSpriteEx* Make(double x, double y) {
        auto* s = new TImageSpriteEx(&E);
        SetImage(s, &Pic);
        s->X = x;
        s->Y = y;
        return s;
    }
    headless::TRecordingSurface S;
    TSpriteEngine E;
    TPictureCollectionItem Pic, Small;
};

TEST_F(ImageSprites, AnimationAdvanceStopsOrWraps) {
    TImageSprite s(&E);
    s.Step(5);  // no animation: stays on pattern 0
    EXPECT_EQ(s.PatternPos, 0);
    EXPECT_EQ(s.PatternIndex(), 0);
    s.PatternCount = 4;
    s.PatternSpeed = 1.5;
    s.Step(2);
    EXPECT_DOUBLE_EQ(s.PatternPos, 3);
    s.Step(1);  // past the end: clamps and stops
    EXPECT_DOUBLE_EQ(s.PatternPos, 3);
    EXPECT_EQ(s.PatternSpeed, 0);
    s.PatternLoop = true;
    s.PatternSpeed = 2.5;
    s.Step(1);
    EXPECT_DOUBLE_EQ(s.PatternPos, 1.5);
    s.PatternSpeed = -4;
    s.Step(1);
    EXPECT_DOUBLE_EQ(s.PatternPos, 1.5);  // −2.5 wraps to 1.5
    s.PatternBase = 10;
    EXPECT_EQ(s.PatternIndex(), 11);
}

TEST_F(ImageSprites, ExRectangleIsTheViewAndHitTestUsesOwnRectangles) {
    auto* a = Make(-0.5, 0);
    EXPECT_EQ(a->BoundsRect(), E.ViewRect);
    EXPECT_EQ(a->OwnRect(), (TRect{0, 0, 20, 10}));  // Trunc(−0.5) = 0
    auto* b = Make(20, 0);                            // shares an edge
    EXPECT_FALSE(a->HitTest(b));
    EXPECT_FALSE(b->HitTest(a));
    b->X = 19.9;
    EXPECT_TRUE(a->HitTest(b));
    EXPECT_TRUE(b->HitTest(a));
    // Against a plain sprite the other side's BoundsRect counts.
    TSprite plain(&E);
    plain.X = 5;
    plain.Y = 5;
    plain.Width = plain.Height = 2;
    EXPECT_TRUE(a->HitTest(&plain));
    plain.X = 200;
    EXPECT_FALSE(a->HitTest(&plain));
}

TEST_F(ImageSprites, FarOutsideTheSurfaceIsStillRendered) {
    Make(5000, 5000);
    E.Draw();
    EXPECT_EQ(E.DrawnCount, 1);
    ASSERT_EQ(S.Draws.size(), 1u);
    EXPECT_DOUBLE_EQ(S.Draws[0].Params.DstX, 5000);
}

TEST_F(ImageSprites, RenderStretchesBlendsAndRotates) {
    auto* s = Make(10.7, 20.2);
    s->Width = 40;  // a picture change keeps the old size: the pattern is stretched
    s->Height = 30;
    struct TCase {
        int32_t Angle, Alpha;
        bool Drawn;
        double Degrees;
        int32_t WantAlpha;
    };
    const TCase cases[] = {
        {0, 255, true, 0, 255},     {256, 300, true, 0, 255},  {0, 128, true, 0, 128},
        {0, 0, false, 0, 0},        {0, -5, false, 0, 0},      {64, 255, true, 90, 255},
        {-128, 255, true, 180, 255}, {192, 100, true, 270, 100},
    };
    for (const TCase& c : cases) {
        s->Angle = c.Angle;
        s->Alpha = c.Alpha;
        S.Fill(0);
        E.Draw();
        ASSERT_EQ(S.Draws.size(), c.Drawn ? 1u : 0u) << c.Angle << "/" << c.Alpha;
        if (!c.Drawn) continue;
        const TDrawParams& p = S.Draws[0].Params;
        EXPECT_EQ(p.Src, (TRect{0, 0, 20, 10}));
        EXPECT_DOUBLE_EQ(p.DstW, 40);
        EXPECT_DOUBLE_EQ(p.DstH, 30);
        EXPECT_DOUBLE_EQ(p.AngleDegrees, c.Degrees);
        EXPECT_EQ(p.Alpha, c.WantAlpha);
        if (c.Degrees == 0) {
            EXPECT_DOUBLE_EQ(p.DstX, 10);
            EXPECT_DOUBLE_EQ(p.DstY, 20);
        } else {
            // Turned about the middle of the box: (10 + 50) / 2, (20 + 50) / 2.
            EXPECT_DOUBLE_EQ(p.CenterX, 30);
            EXPECT_DOUBLE_EQ(p.CenterY, 35);
            EXPECT_DOUBLE_EQ(p.DstX, 10);
            EXPECT_DOUBLE_EQ(p.DstY, 20);
        }
    }
}

TEST_F(ImageSprites, PlainImageSpriteCentresItsPatternUnscaled) {
    auto* s = new TImageSprite(&E);
    s->Image = &Small;
    s->Width = 10;
    s->Height = 9;
    s->X = 3;
    s->Y = 4;
    E.Draw();
    ASSERT_EQ(S.Draws.size(), 1u);
    EXPECT_DOUBLE_EQ(S.Draws[0].Params.DstX, 3 + 3);
    EXPECT_DOUBLE_EQ(S.Draws[0].Params.DstY, 4 + 2);
    EXPECT_DOUBLE_EQ(S.Draws[0].Params.DstW, 4);
    // A stage script: no picture, no size, never rendered.
    S.Fill(0);
    TImageSprite script(&E);
    E.Draw();
    EXPECT_EQ(E.DrawnCount, 1);
}

TEST_F(ImageSprites, PatternsAreSlicedWithSkipsAndBadIndicesDrawNothing) {
    TPictureCollectionItem sheet;
    sheet.Picture.Width = 34;
    sheet.Picture.Height = 22;
    sheet.Picture.Pixels.assign(34 * 22, 0);
    sheet.PatternWidth = 10;
    sheet.PatternHeight = 10;
    sheet.SkipWidth = 2;
    sheet.SkipHeight = 2;
    sheet.Prepare(&S);
    // (34 + 2) / 12 = 3 columns, (22 + 2) / 12 = 2 rows.
    ASSERT_EQ(sheet.PatternCount(), 6);
    EXPECT_EQ(sheet.PatternRects()[4], (TRect{12, 12, 22, 22}));
    sheet.Draw(&S, 0, 0, 6);
    sheet.Draw(&S, 0, 0, -1);
    EXPECT_TRUE(S.Draws.empty());
    TPictureCollectionItem unprepared = sheet;
    TPictureCollectionItem fresh;
    fresh.Picture = sheet.Picture;
    fresh.Draw(&S, 0, 0, 0);  // never prepared
    EXPECT_TRUE(S.Draws.empty());
    sheet.TurnDraw(&S, 0, 0, 0, 10, 0, 0.5, 0.5, 3);  // zero width
    EXPECT_TRUE(S.Draws.empty());
}

TEST_F(ImageSprites, LookupIgnoresCaseAndNamesTheMissingPicture) {
    TDXImageList list;
    std::vector<std::unique_ptr<TPictureCollectionItem>> items;
    auto z = std::make_unique<TPictureCollectionItem>();
    z->Name = "Ziki";
    items.push_back(std::move(z));
    list.SetItems(std::move(items));
    EXPECT_EQ(list.Lookup("ziki")->Name, "Ziki");
    EXPECT_EQ(list.Lookup("ZIKI")->Name, "Ziki");
    try {
        list.Lookup("Zako");
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "画像 'Zako' が見つかりません");
    }
}

}  // namespace
