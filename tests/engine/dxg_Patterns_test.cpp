// Slicing a picture into patterns when it is prepared.
#include <gtest/gtest.h>

#include <climits>

#include "engine/Pictures.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

TPictureCollectionItem Sheet(int32_t W, int32_t H, int32_t Pw, int32_t Ph, int32_t Sw = 0, int32_t Sh = 0) {
    TPictureCollectionItem it;
    it.Name = "sheet";
    it.Picture.Width = W, it.Picture.Height = H;
    it.Picture.Pixels.assign(static_cast<size_t>(W) * H, 0xFF000000);
    it.PatternWidth = Pw, it.PatternHeight = Ph, it.SkipWidth = Sw, it.SkipHeight = Sh;
    return it;
}

}  // namespace

TEST(DxgPatterns, WholePictureWhenTheItemSizeIsThePictureSize) {
    for (auto it : {Sheet(50, 40, 0, 0), Sheet(50, 40, 50, 40), Sheet(50, 40, 50, 0), Sheet(50, 40, 0, 40, 7, 9)}) {
        it.Prepare(nullptr);
        ASSERT_EQ(it.PatternCount(), 1);
        EXPECT_EQ(it.PatternRects()[0], Bounds(0, 0, 50, 40));
        EXPECT_EQ(it.Width(), 50);
        EXPECT_EQ(it.Height(), 40);
    }
}

TEST(DxgPatterns, RowMajorCellsWithSkips) {
    auto it = Sheet(64, 32, 16, 16);
    it.Prepare(nullptr);
    ASSERT_EQ(it.PatternCount(), 8);
    EXPECT_EQ(it.PatternRects()[3], Bounds(48, 0, 16, 16));
    EXPECT_EQ(it.PatternRects()[4], Bounds(0, 16, 16, 16));

    // (34 + 2) / 12 = 3 columns, (23 + 1) / 8 = 3 rows: the skip after the last cell is optional.
    auto skip = Sheet(34, 23, 10, 7, 2, 1);
    skip.Prepare(nullptr);
    ASSERT_EQ(skip.PatternCount(), 9);
    EXPECT_EQ(skip.PatternRects()[2], Bounds(24, 0, 10, 7));
    EXPECT_EQ(skip.PatternRects()[8], Bounds(24, 16, 10, 7));

    // Only the height set: one column of full-width strips; a partial last row is left out.
    auto strips = Sheet(20, 50, 0, 16);
    strips.Prepare(nullptr);
    ASSERT_EQ(strips.PatternCount(), 3);
    EXPECT_EQ(strips.PatternRects()[2], Bounds(0, 32, 20, 16));
}

TEST(DxgPatterns, OddSizesGiveNoPatternsOrStayInsideThePicture) {
    auto larger = Sheet(30, 30, 40, 40);  // a pattern larger than the picture: nothing to draw
    larger.Prepare(nullptr);
    EXPECT_EQ(larger.PatternCount(), 0);

    auto overlap = Sheet(10, 10, 6, 10, -4);  // negative skips overlap the cells
    overlap.Prepare(nullptr);
    ASSERT_EQ(overlap.PatternCount(), 3);
    EXPECT_EQ(overlap.PatternRects()[2], Bounds(4, 0, 6, 10));

    for (auto it : {Sheet(10, 10, 5, 5, INT_MAX, INT_MAX), Sheet(10, 10, 5, 5, INT_MIN, INT_MIN),
                    Sheet(10, 10, 5, 5, -5, -5)}) {
        it.Prepare(nullptr);
        for (const TRect& r : it.PatternRects()) {
            EXPECT_GE(r.Left, 0);
            EXPECT_LE(r.Right, 10);
            EXPECT_LE(r.Bottom, 10);
        }
    }
}

TEST(DxgPatterns, DrawingUsesPreparedPatternsOnly) {
    headless::TRecordingSurface s;
    auto it = Sheet(64, 32, 16, 16);
    it.Draw(&s, 1, 2, 0);  // not prepared yet
    EXPECT_TRUE(s.Draws.empty());
    it.Prepare(&s);
    it.Draw(&s, 1, 2, 5);
    it.Draw(&s, 1, 2, 8);
    it.Draw(&s, 1, 2, -1);
    ASSERT_EQ(s.Draws.size(), 1u);
    EXPECT_EQ(s.Draws[0].Params.Src, Bounds(16, 16, 16, 16));
    EXPECT_EQ(s.Draws[0].Params.DstW, 16);
}
