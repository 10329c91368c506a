// Damaged and unusual .dxg input: every fault is an EStreamError naming the file and the
// problem, never a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include "engine/Errors.h"
#include "engine/dxg/DxgFile.h"
#include "engine/dxg_TestData.h"

using namespace kv;
using namespace dxgtest;
using kv::dxg::EValueType;

namespace {

const std::string kInvalid = "P.dxg: 不正なストリーム フォーマット";

// The message of the EStreamError that F raises; a test failure when it raises none.
template <class F>
std::string StreamError(F&& Fn) {
    try {
        Fn();
    } catch (const EStreamError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no EStreamError";
    return "";
}

std::string PictureError(const Bytes& B) {
    return StreamError([&] { dxg::ReadPictures(B, "P.dxg"); });
}

Bytes Dib1x1() {
    Bytes b = InfoHeader(1, 1, 24);
    Append(b, {9, 8, 7, 0});
    return b;
}

Bytes ValidPictures() {
    return PictureFile({
        [](TPropertyWriter& w) {
            PictureItem("Ziki", FileImage(Dib1x1(), 40))(w);
            w.Property("PatternWidth"), w.Integer(1);
            w.Property("Transparent"), w.Boolean(true);
            w.Property("TransparentColor"), w.Ident("clFuchsia");
        },
        PictureItem("アールワン", Dib1x1()),
    });
}

Bytes ValidWaves() {
    return WaveFile({
        [](TPropertyWriter& w) {
            w.Property("Name"), w.String("Dead");
            w.Property("Wave.Data"), w.Binary(Riff(3));
            w.Property("Looped"), w.Boolean(false);
            w.Property("MaxPlayingCount"), w.Integer(4);
        },
    });
}

// Offset of the 32-bit resource size in a file made by Resource() (name "X").
constexpr size_t kSizeAt = 1 + 2 + 2 + 2;
constexpr size_t kStreamAt = kSizeAt + 4;

void SetResourceSize(Bytes& B, uint32_t Size) {
    for (int i = 0; i < 4; ++i) B[kSizeAt + i] = static_cast<uint8_t>(Size >> (8 * i));
}

#define EXPECT_HAS(Message, Part) EXPECT_NE((Message).find(Part), std::string::npos) << (Message)

}  // namespace

TEST(DxgDamage, BadFirstByteOrTypeIsAnInvalidStream) {
    Bytes good = ValidPictures();
    ASSERT_EQ(dxg::ReadPictures(good, "P.dxg").size(), 2u);

    Bytes badFirst = good;
    badFirst[0] = 0xFE;
    Bytes badType = good;
    badType[1] = 11;
    Bytes highType = good;
    highType[2] = 1;  // 0x010A
    for (const Bytes& b : {badFirst, badType, highType, Bytes{}, Bytes{0xFF}, Bytes{0xFF, 10}, Bytes{'T', 'P', 'F', '0'}})
        EXPECT_EQ(PictureError(b), kInvalid);
    EXPECT_EQ(StreamError([&] { dxg::ReadWaves(badType, "P.dxg"); }), kInvalid);
    EXPECT_EQ(StreamError([&] { dxg::ProbeKind(badFirst, "P.dxg"); }), kInvalid);
}

TEST(DxgDamage, EveryTruncationIsAnError) {
    for (const bool pictures : {true, false}) {
        const Bytes full = pictures ? ValidPictures() : ValidWaves();
        auto read = [&](const Bytes& b) {
            if (pictures)
                dxg::ReadPictures(b, "P.dxg");
            else
                dxg::ReadWaves(b, "P.dxg");
        };
        for (size_t n = 0; n < full.size(); ++n) {
            Bytes cut(full.begin(), full.begin() + n);
            const std::string e = StreamError([&] { read(cut); });
            EXPECT_EQ(e.rfind("P.dxg: ", 0), 0u) << n << ": " << e;
            // The same cut with a resource size that agrees, so that the stream itself is short.
            if (n >= kStreamAt) {
                SetResourceSize(cut, static_cast<uint32_t>(n - kStreamAt));
                const std::string e2 = StreamError([&] { read(cut); });
                EXPECT_EQ(e2.rfind("P.dxg: ", 0), 0u) << n << ": " << e2;
            }
        }
    }
}

TEST(DxgDamage, TheResourceSizeIsNotTrusted) {
    // Writers leave it 0 or get it wrong; the stream runs to the end of the file either way.
    const Bytes good = ValidPictures();
    for (const uint32_t size : {0u, 0xFFFFFFF0u, 5u, static_cast<uint32_t>(good.size() - kStreamAt - 1)}) {
        Bytes b = good;
        SetResourceSize(b, size);
        const auto items = dxg::ReadPictures(b, "P.dxg");
        ASSERT_EQ(items.size(), 2u) << size;
        EXPECT_EQ(items[1]->Name, "アールワン");
    }
}

TEST(DxgDamage, LengthsPastTheEndAreRefused) {
    auto withRaw = [](const std::string& Prop, EValueType Type, uint32_t Length) {
        return PictureFile({[=](TPropertyWriter& w) {
            PictureItem("p", Dib1x1())(w);
            w.Property(Prop), w.Byte(Type), w.U32(Length), w.Raw(reinterpret_cast<const uint8_t*>("abcd"), 4);
        }});
    };
    EXPECT_HAS(PictureError(withRaw("Extra", dxg::vaBinary, 0xFFFFFFFF)), "data ends too early while reading a binary value");
    EXPECT_HAS(PictureError(withRaw("Extra", dxg::vaLString, 0x7FFFFFFF)), "a long string");
    EXPECT_HAS(PictureError(withRaw("Extra", dxg::vaWString, 0xFFFFFFFF)), "a UTF-16 string");

    // Bitmap headers that promise more than the data holds.
    Bytes huge = InfoHeader(5000, 5000, 8);
    Append(huge, Bytes(1024 + 16, 0));
    EXPECT_HAS(PictureError(PictureFile({PictureItem("h", huge)})), "the bitmap pixels");
    Bytes giant = InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 32);
    EXPECT_HAS(PictureError(PictureFile({PictureItem("g", giant)})), "not usable");
    Bytes palette = InfoHeader(1, 1, 8, 0, 0x7FFFFFFF);
    EXPECT_HAS(PictureError(PictureFile({PictureItem("p", palette)})), "palette");
    Bytes offset = FileImage(Dib1x1(), 40);
    offset[10] = 0xF0, offset[11] = 0xFF;  // pixel offset 0xFFF0
    EXPECT_HAS(PictureError(PictureFile({PictureItem("o", offset)})), "pixel offset");
    Bytes shortRiff = Riff(50);
    shortRiff.resize(40);
    const Bytes waves = WaveFile({[&](TPropertyWriter& w) {
        w.Property("Name"), w.String("w");
        w.Property("Wave.Data"), w.Binary(shortRiff);
    }});
    EXPECT_HAS(StreamError([&] { dxg::ReadWaves(waves, "P.dxg"); }), "item 1 ('w'): the RIFF WAVE image is longer");
}

TEST(DxgDamage, UnknownValueTypesAndDeepNestingAreErrors) {
    const Bytes unknown = PictureFile({[](TPropertyWriter& w) {
        PictureItem("p", Dib1x1())(w);
        w.Property("Future"), w.Byte(0x42);
    }});
    EXPECT_HAS(PictureError(unknown), "unknown value type 66");

    const Bytes deep = PictureFile({[](TPropertyWriter& w) {
        w.Property("Deep");
        for (int i = 0; i < 100000; ++i) w.BeginList();
    }});
    EXPECT_HAS(PictureError(deep), "nested more than");

    const Bytes noMarker = PictureFile({});
    Bytes b = noMarker;
    // Replace the collection's end marker by an item that does not start with a list marker.
    const auto at = b.size() - 3;
    b.insert(b.begin() + at, {dxg::vaInt8, 1, dxg::vaString});
    SetResourceSize(b, static_cast<uint32_t>(b.size() - kStreamAt));
    EXPECT_HAS(PictureError(b), "instead of a list marker");

    Bytes noSignature = Resource({'T', 'P', 'F', '1', 0, 0, 0, 0});
    EXPECT_HAS(PictureError(noSignature), "TPF0");
}

TEST(DxgDamage, UnknownPropertiesOfEveryKindAreSkipped) {
    const Bytes file = PictureFile({[](TPropertyWriter& w) {
        w.Property("Tag"), w.Integer(1 << 20);
        w.Property("Big"), w.Integer(int64_t{1} << 40);
        w.Property("Q"), w.Byte(dxg::vaQWord), w.U32(1), w.U32(2);
        w.Property("Ext"), w.Byte(dxg::vaExtended), w.Raw(Bytes(10, 7).data(), 10);
        w.Property("Sng"), w.Byte(dxg::vaSingle), w.U32(0x3F800000);
        w.Property("Cur"), w.Byte(dxg::vaCurrency), w.U32(1), w.U32(0);
        w.Property("Dat"), w.Byte(dxg::vaDate), w.U32(0), w.U32(0x40E00000);
        w.Property("Nil"), w.Byte(dxg::vaNil);
        w.Property("Null"), w.Byte(dxg::vaNull);
        w.Property("Font.Style"), w.Byte(dxg::vaSet), w.ShortStr("fsBold"), w.ShortStr("fsItalic"), w.ShortStr("");
        w.Property("Strings"), w.BeginList(), w.String("a"), w.BeginList(), w.Integer(3), w.EndList(), w.EndList();
        w.Property("Items"), w.BeginCollection(), w.Integer(0), w.BeginList(), w.Property("X"), w.Integer(1),
            w.EndList(), w.BeginList(), w.EndList(), w.EndList();
        w.Property("W"), w.Byte(dxg::vaWString), w.U32(1), w.U16(0x3042);
        w.Property("Hint"), w.String(std::string(400, 'h'));
        w.Property("OnClick"), w.Ident("Button1Click");
        w.Property("Bin"), w.Binary({1, 2, 3});
        PictureItem("p", Dib1x1())(w);
        w.Property("Picture.Other"), w.Binary({0});  // only the first picture data counts
    }});
    const auto items = dxg::ReadPictures(file, "P.dxg");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->Name, "p");
    EXPECT_EQ(items[0]->Picture.Width, 1);
}

TEST(DxgDamage, ComponentFlagsAndChildComponentsAreSkipped) {
    TPropertyWriter w;
    w.Signature();
    w.Byte(0xF2), w.Integer(3);  // flags with a child position
    w.BeginComponent("TPictureCollectionComponent", "Pictures");
    w.Property("Tag"), w.Integer(5);
    w.Property("List"), w.BeginCollection(), w.BeginList();
    PictureItem("kid", Dib1x1())(w);
    w.EndList(), w.EndList();
    w.EndList();                                  // end of properties
    w.BeginComponent("TTimer", "Timer1");         // a child, with a grandchild
    w.Property("Interval"), w.Integer(100), w.EndList();
    w.BeginComponent("TLabel", "L"), w.EndList(), w.EndList();
    w.EndList();                                  // the child's children
    w.EndList();                                  // the root's children
    const auto items = dxg::ReadPictures(Resource(w.Out), "P.dxg");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->Name, "kid");

    Bytes badPosition = Resource({'T', 'P', 'F', '0', 0xF2, dxg::vaString, 0});
    EXPECT_HAS(PictureError(badPosition), "child position");
    const Bytes empty = PictureFile({});
    EXPECT_TRUE(dxg::ReadPictures(empty, "P.dxg").empty());
}

TEST(DxgDamage, WrongPropertyValuesNameTheItem) {
    auto item = [](std::function<void(TPropertyWriter&)> Extra) {
        return PictureFile({[=](TPropertyWriter& w) {
            PictureItem("Ziki", Dib1x1())(w);
            Extra(w);
        }});
    };
    EXPECT_HAS(PictureError(item([](auto& w) { w.Property("PatternWidth"), w.String("10"); })),
               "P.dxg: item 1 ('Ziki'): PatternWidth is a string, not an integer");
    EXPECT_HAS(PictureError(item([](auto& w) { w.Property("SkipHeight"), w.Integer(int64_t{1} << 33); })),
               "SkipHeight is out of range");
    EXPECT_HAS(PictureError(item([](auto& w) { w.Property("TransparentColor"), w.Ident("clPink"); })),
               "unknown colour identifier 'clPink'");
    EXPECT_HAS(PictureError(item([](auto& w) { w.Property("Transparent"), w.Binary({1}); })),
               "Transparent is a binary value, not a boolean");
    EXPECT_HAS(PictureError(PictureFile({PictureItem("j", {4, 'T', 'J', 'P', 'G', 1, 2, 3})})),
               "the picture is a TJPG, which holds no bitmap");
    EXPECT_HAS(PictureError(PictureFile({PictureItem("r", InfoHeader(1, 1, 4, 1))})), "compression 1 with 4 bits");
    EXPECT_HAS(PictureError(PictureFile({PictureItem("x", {1, 2, 3, 4, 5})})), "not a device-independent bitmap");

    // Typed but tolerated: booleans as numbers or identifiers.
    const auto ok = dxg::ReadPictures(item([](auto& w) {
        w.Property("Transparent"), w.Integer(0);
        w.Property("SystemMemory"), w.Ident("True");
    }), "P.dxg");
    EXPECT_FALSE(ok[0]->Transparent);
    EXPECT_TRUE(ok[0]->SystemMemory);
}

TEST(DxgDamage, NamesInShiftJisAndUtf16AreRead) {
    const Bytes sjis = {0x83, 0x41, 0x81, 0x5B, 0x83, 0x8B, 0x83, 0x8F, 0x83, 0x93};
    const uint16_t utf16[] = {0x30A2, 0x30FC, 0x30EB, 0x30EF, 0x30F3};
    auto named = [&](EValueType Type) {
        return [=](TPropertyWriter& w) {
            w.Property("Name");
            w.Byte(Type);
            if (Type == dxg::vaString) {
                w.Byte(static_cast<uint8_t>(sjis.size())), w.Raw(sjis.data(), sjis.size());
            } else {
                w.U32(5);
                for (uint16_t u : utf16) w.U16(u);
            }
            w.Property("Picture.Data"), w.Binary(Dib1x1());
        };
    };
    const auto items =
        dxg::ReadPictures(PictureFile({named(dxg::vaString), named(dxg::vaWString), named(dxg::vaUString)}), "P.dxg");
    ASSERT_EQ(items.size(), 3u);
    for (auto& it : items) EXPECT_EQ(it->Name, "アールワン");

    const Bytes garbage = PictureFile({[](TPropertyWriter& w) {
        w.Property("Name"), w.Byte(dxg::vaString), w.Byte(2), w.Byte(0x81), w.Byte(0x20);
    }});
    EXPECT_HAS(PictureError(garbage), "neither UTF-8 nor Shift-JIS");
}
