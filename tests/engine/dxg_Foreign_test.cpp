// Picture and sound lists written by other writers of the component-streaming format: each
// variant loads, and what a file cannot give (an item's data) leaves just that item empty.
#include <gtest/gtest.h>

#include "engine/Errors.h"
#include "engine/Pictures.h"
#include "engine/Sounds.h"
#include "engine/dxg/DxgFile.h"
#include "engine/dxg_TestData.h"
#include "platform/headless/Headless.h"

using namespace kv;
using namespace dxgtest;

namespace {

Bytes Dib1x1(uint32_t Rgb) {
    Bytes b = InfoHeader(1, 1, 24);
    Append(b, {static_cast<uint8_t>(Rgb), static_cast<uint8_t>(Rgb >> 8), static_cast<uint8_t>(Rgb >> 16), 0});
    return b;
}

std::string StreamError(const Bytes& File) {
    try {
        dxg::ReadPictures(File, "F.dxg");
    } catch (const EStreamError& e) {
        return e.what();
    }
    return "(read)";
}

}  // namespace

TEST(DxgForeign, OtherGraphicClassesHoldingBitmapsAreRead) {
    const Bytes dib = Dib1x1(0x123456);
    Bytes counted = {4, 'T', 'D', 'I', 'B'};
    Put32(counted, static_cast<uint32_t>(dib.size() + 14));
    Append(counted, FileImage(dib, 40));
    Bytes bare = {10, 'T', 'D', 'I', 'B', 'I', 'm', 'a', 'g', 'e', '2'};
    Append(bare, dib);
    const auto items = dxg::ReadPictures(PictureFile({PictureItem("a", counted), PictureItem("b", bare)}), "F.dxg");
    ASSERT_EQ(items.size(), 2u);
    for (const auto& it : items) EXPECT_EQ(it->Picture.At(0, 0), 0xFF123456u) << it->Name;

    // A class whose data is no bitmap is still refused by name.
    Bytes jpeg = {10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 0xFF, 0xD8, 0xFF, 0xE0, 0, 16};
    EXPECT_NE(StreamError(PictureFile({PictureItem("j", jpeg)})).find("item 1 ('j'): the picture is a TJPEGImage"),
              std::string::npos);
}

TEST(DxgForeign, SystemAndWebColourNamesAreFixedColours) {
    auto keyed = [](const std::string& Name, ItemFn Color) {
        return [=](TPropertyWriter& w) {
            PictureItem(Name, Dib1x1(0))(w);
            w.Property("TransparentColor"), Color(w);
        };
    };
    const auto items = dxg::ReadPictures(PictureFile({
        keyed("face", [](auto& w) { w.Ident("clBtnFace"); }),
        keyed("window", [](auto& w) { w.Ident("CLWINDOW"); }),
        keyed("info", [](auto& w) { w.Ident("clInfoBk"); }),
        keyed("orange", [](auto& w) { w.Ident("clWebOrange"); }),
        keyed("faceNumber", [](auto& w) { w.Integer(static_cast<int32_t>(0xFF00000F)); }),
    }), "F.dxg");
    ASSERT_EQ(items.size(), 5u);
    // 0x00BBGGRR: button face 212,208,200; window white; tooltip 255,255,225; orange 255,165,0.
    EXPECT_EQ(items[0]->TransparentColor, 0xC8D0D4u);
    EXPECT_EQ(items[1]->TransparentColor, 0xFFFFFFu);
    EXPECT_EQ(items[2]->TransparentColor, 0xE1FFFFu);
    EXPECT_EQ(items[3]->TransparentColor, 0x00A5FFu);
    EXPECT_EQ(items[4]->TransparentColor, items[0]->TransparentColor);
    // The writer names only the classic fixed colours, never a system one.
    EXPECT_EQ(dxg::ColorIdent(0xC8D0D4), "");
}

TEST(DxgForeign, ValueType21IsAStringOrADoubleByWhatFollows) {
    const auto items = dxg::ReadPictures(PictureFile({
        [](TPropertyWriter& w) {
            w.Property("Scale"), Double21(w, 1.0);  // low half zero: reads like an empty string
            PictureItem("first", Dib1x1(1))(w);
            w.Property("Zoom"), Double21(w, 3.25);
            w.Property("PatternWidth"), w.Integer(1);
            w.Property("Ratio"), Double21(w, -0.1);  // the last property of the item
        },
        [](TPropertyWriter& w) {
            w.Property("Hint"), w.Byte(dxg::vaUString), w.U32(2), w.U16('h'), w.U16('i');
            w.Property("Values"), w.BeginList(), Double21(w, 2.0), w.Integer(7), Double21(w, 0.3), w.EndList();
            w.Property("Name"), w.Byte(dxg::vaUString), w.U32(6);
            for (char c : std::string("second")) w.U16(static_cast<uint16_t>(c));
            w.Property("Picture.Data"), w.Binary(Dib1x1(2));
        },
    }), "F.dxg");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->Name, "first");
    EXPECT_EQ(items[0]->PatternWidth, 1);
    EXPECT_EQ(items[1]->Name, "second");
    EXPECT_EQ(items[1]->Picture.At(0, 0), 0xFF000002u);

    // Neither reading lets the stream go on: the error says so.
    const Bytes neither = PictureFile({[](TPropertyWriter& w) {
        PictureItem("p", Dib1x1(0))(w);
        w.Property("Odd"), w.Byte(dxg::vaUString), w.U32(0x7FFFFFFF);
        for (int i = 0; i < 5; ++i) w.Byte(0xEE);
    }});
    EXPECT_NE(StreamError(neither).find("value type 21 holds neither"), std::string::npos) << StreamError(neither);
}

TEST(DxgForeign, ItemsWithoutDataStayEmptyAndDrawOrPlayNothing) {
    TDXImageList pictures;
    headless::TRecordingSurface surface;
    pictures.AttachSurface(&surface);
    pictures.SetItems(dxg::ReadPictures(PictureFile({
        [](TPropertyWriter& w) { w.Property("Name"), w.String("none"), w.Property("PatternWidth"), w.Integer(8); },
        PictureItem("zero", {7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0}),
        PictureItem("nameOnly", {7, 'T', 'B', 'i', 't', 'm', 'a', 'p'}),
        PictureItem("Ziki", Dib1x1(5)),
    }), "F.dxg"));
    ASSERT_EQ(pictures.Items().size(), 4u);
    for (const char* name : {"none", "zero", "nameOnly"}) {
        const TPictureCollectionItem* it = pictures.Lookup(name);
        EXPECT_EQ(it->PatternCount(), 0) << name;
        it->Draw(&surface, 0, 0, 0);
        it->ScaleDraw(&surface, Bounds(0, 0, 10, 10), 0);
        it->TurnBlendDraw(&surface, 5, 5, 10, 10, 0, 0.5, 0.5, 64, 128);
    }
    EXPECT_TRUE(surface.Draws.empty());
    pictures.Lookup("Ziki")->Draw(&surface, 0, 0, 0);
    EXPECT_EQ(surface.Draws.size(), 1u);
    EXPECT_THROW(pictures.Lookup("absent"), EPictureCollectionError);

    TDXWaveList sounds;
    headless::TRecordingAudio audio;
    sounds.AttachDevice(&audio);
    sounds.SetItems(dxg::ReadWaves(ForeignWaves(), "F.dxg"));
    ASSERT_EQ(sounds.Items().size(), 3u);
    for (const char* name : {"none", "zero", "Dead"}) sounds.Lookup(name)->Play(false);
    EXPECT_EQ(audio.Names(), std::vector<std::string>{"Dead"});
    EXPECT_THROW(sounds.Lookup("absent"), EWaveCollectionError);
}

TEST(DxgForeign, AListFromOtherWritersLoadsWhole) {
    const auto items = dxg::ReadPictures(ForeignPictures(), "F.dxg");
    std::vector<std::string> names;
    for (const auto& it : items) names.push_back(it->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"classed", "web", "none", "zero", "rle8", "rle4", "table", "junk"}));
}
