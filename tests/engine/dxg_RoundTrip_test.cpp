// Writing picture and sound lists and reading them back; loading lists from files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "engine/Errors.h"
#include "engine/Pictures.h"
#include "engine/Sounds.h"
#include "engine/dxg/DxgFile.h"
#include "engine/dxg_TestData.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

TBitmap Gradient(int32_t W, int32_t H, bool Alpha) {
    TBitmap b;
    b.Width = W, b.Height = H, b.HasAlpha = Alpha;
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
            const uint32_t a = Alpha ? static_cast<uint32_t>((x * 37 + y * 11) % 256) : 255;
            b.Pixels.push_back(a << 24 | (x * 20 % 256) << 16 | (y * 30 % 256) << 8 | ((x + y) * 7 % 256));
        }
    return b;
}

std::unique_ptr<TPictureCollectionItem> Picture(const std::string& Name, TBitmap B) {
    auto p = std::make_unique<TPictureCollectionItem>();
    p->Name = Name;
    p->Picture = std::move(B);
    return p;
}

template <class T>
std::vector<const T*> Ptrs(const std::vector<std::unique_ptr<T>>& V) {
    std::vector<const T*> out;
    for (auto& p : V) out.push_back(p.get());
    return out;
}

void ExpectSamePicture(const TPictureCollectionItem& A, const TPictureCollectionItem& B) {
    EXPECT_EQ(A.Name, B.Name);
    EXPECT_EQ(A.PatternWidth, B.PatternWidth);
    EXPECT_EQ(A.PatternHeight, B.PatternHeight);
    EXPECT_EQ(A.SkipWidth, B.SkipWidth);
    EXPECT_EQ(A.SkipHeight, B.SkipHeight);
    EXPECT_EQ(A.Transparent, B.Transparent);
    EXPECT_EQ(A.TransparentColor, B.TransparentColor);
    EXPECT_EQ(A.SystemMemory, B.SystemMemory);
    EXPECT_EQ(A.Picture.Width, B.Picture.Width);
    EXPECT_EQ(A.Picture.Height, B.Picture.Height);
    EXPECT_EQ(A.Picture.HasAlpha, B.Picture.HasAlpha);
    EXPECT_TRUE(A.Picture.Pixels == B.Picture.Pixels) << A.Name;
}

class DxgFiles : public ::testing::Test {
protected:
    fs::path Dir = fs::temp_directory_path() / ("dxg_test_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(Dir); }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }
};

}  // namespace

TEST(DxgRoundTrip, PicturesKeepEveryProperty) {
    std::vector<std::unique_ptr<TPictureCollectionItem>> items;
    items.push_back(Picture("Ziki", Gradient(5, 3, false)));  // odd width: padded rows
    items.push_back(Picture("アールワン", Gradient(7, 4, true)));
    auto& r = *items.back();
    r.PatternWidth = 3, r.PatternHeight = 2, r.SkipWidth = 1, r.SkipHeight = -1;
    r.Transparent = false, r.TransparentColor = 0x00123456, r.SystemMemory = true;
    items.push_back(Picture(std::string(300, 'L'), Gradient(1, 1, false)));  // a name too long for a short string
    items.back()->TransparentColor = 0xFF00FF;
    items.push_back(Picture("高彩小弾1", Gradient(2, 2, true)));
    items.back()->TransparentColor = 0xFFFFFFFF;  // not a TColor a designer would pick, but representable

    const auto data = dxg::WritePictures(Ptrs(items));
    const auto back = dxg::ReadPictures(data, "mem.dxg");
    ASSERT_EQ(back.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) ExpectSamePicture(*items[i], *back[i]);
    EXPECT_EQ(back[1]->Picture.At(0, 0) >> 24, 0u);  // fully transparent pixel kept as such
}

TEST(DxgRoundTrip, WritesNamedColoursAsIdentifiersAndTheDocumentedHeader) {
    auto p = Picture("a", Gradient(1, 1, false));
    p->TransparentColor = 0xFF00FF;
    const auto data = dxg::WritePictures({p.get()});
    const std::string s(data.begin(), data.end());
    EXPECT_NE(s.find(std::string("TransparentColor\x07\x09" "clFuchsia")), std::string::npos);
    EXPECT_EQ(s.substr(0, 3), std::string("\xFF\x0A\x00", 3));
    const std::string name = "TPICTURECOLLECTIONCOMPONENT";
    EXPECT_EQ(s.substr(3, name.size() + 1), name + '\0');
    const size_t at = 3 + name.size() + 1 + 2;
    const uint32_t size = data[at] | data[at + 1] << 8 | data[at + 2] << 16 | data[at + 3] << 24;
    EXPECT_EQ(size, data.size() - at - 4);
    EXPECT_EQ(s.substr(at + 4, 4), "TPF0");
    EXPECT_EQ(dxg::ProbeKind(data, "m"), dxg::EKind::Pictures);
}

TEST(DxgRoundTrip, ColourIdentifiersAndNumbersAreRead) {
    using dxgtest::PictureItem;
    const dxgtest::Bytes dib = [] {
        auto b = dxgtest::InfoHeader(1, 1, 24);
        dxgtest::Append(b, {1, 2, 3, 0});
        return b;
    }();
    auto withColor = [&](std::function<void(dxgtest::TPropertyWriter&)> Value) {
        return [=](dxgtest::TPropertyWriter& w) {
            PictureItem("p", dib)(w);
            w.Property("TransparentColor");
            Value(w);
        };
    };
    const auto file = dxgtest::PictureFile({
        withColor([](auto& w) { w.Ident("clBlack"); }),
        withColor([](auto& w) { w.Ident("CLFUCHSIA"); }),
        withColor([](auto& w) { w.Ident("clWhite"); }),
        withColor([](auto& w) { w.Ident("clLime"); }),
        withColor([](auto& w) { w.Ident("clNone"); }),
        withColor([](auto& w) { w.Integer(0x123456); }),
        withColor([](auto& w) { w.Integer(-1); }),
    });
    const auto items = dxg::ReadPictures(file, "c.dxg");
    ASSERT_EQ(items.size(), 7u);
    const uint32_t want[] = {0, 0xFF00FF, 0xFFFFFF, 0x00FF00, 0x1FFFFFFF, 0x123456, 0xFFFFFFFF};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(items[i]->TransparentColor, want[i]) << i;
    EXPECT_EQ(items[0]->Picture.At(0, 0), 0xFF030201u);

    uint32_t c = 0;
    EXPECT_TRUE(dxg::ColorFromIdent("clgray", c));
    EXPECT_EQ(c, 0x808080u);
    EXPECT_EQ(dxg::ColorIdent(0x808080), "clGray");  // the first of its names
    EXPECT_EQ(dxg::ColorIdent(0x123456), "");
}

TEST(DxgRoundTrip, SoundsKeepEveryProperty) {
    std::vector<std::unique_ptr<TWaveCollectionItem>> items;
    for (int i = 0; i < 3; ++i) {
        auto w = std::make_unique<TWaveCollectionItem>();
        w->Name = i == 1 ? "ピンポン" : "Sound" + std::to_string(i);
        w->Wave = dxgtest::Riff(10 + i * 1000);
        w->Looped = i == 2;
        w->MaxPlayingCount = i * 200;
        items.push_back(std::move(w));
    }
    const auto data = dxg::WriteWaves(Ptrs(items));
    EXPECT_EQ(dxg::ProbeKind(data, "m"), dxg::EKind::Sounds);
    const auto back = dxg::ReadWaves(data, "s.dxg");
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back[i]->Name, items[i]->Name);
        EXPECT_TRUE(back[i]->Wave == items[i]->Wave);
        EXPECT_EQ(back[i]->Looped, items[i]->Looped);
        EXPECT_EQ(back[i]->MaxPlayingCount, items[i]->MaxPlayingCount);
    }
}

TEST(DxgRoundTrip, EmptyItemsStayEmpty) {
    auto empty = Picture("empty", TBitmap{});
    const auto pictures = dxg::ReadPictures(dxg::WritePictures({empty.get()}), "e.dxg");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(pictures[0]->Picture.Pixels.empty());
    TWaveCollectionItem silent;
    silent.Name = "silent";
    const auto sounds = dxg::ReadWaves(dxg::WriteWaves({&silent}), "e.dxg");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(sounds[0]->Wave.empty());
}

TEST(DxgRoundTrip, WriterRefusesWhatTheReaderWouldReject) {
    TBitmap noPixels;
    noPixels.Width = 2, noPixels.Height = 2;
    auto broken = Picture("broken", noPixels);
    EXPECT_THROW(dxg::WritePictures({broken.get()}), EStreamError);
    TWaveCollectionItem w;
    w.Name = "cut";
    w.Wave = dxgtest::Riff(100);
    w.Wave.resize(60);  // the RIFF size says more
    try {
        dxg::WriteWaves({&w});
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("'cut'"), std::string::npos) << e.what();
    }
}

TEST_F(DxgFiles, LoadListReplacesTheContents) {
    std::vector<std::unique_ptr<TPictureCollectionItem>> a, b;
    a.push_back(Picture("Ziki", Gradient(2, 2, false)));
    a.push_back(Picture("Ring1", Gradient(2, 2, false)));
    b.push_back(Picture("Title", Gradient(3, 3, false)));
    dxg::SavePictures(Path("a.dxg"), Ptrs(a));
    dxg::SavePictures(Path("b.dxg"), Ptrs(b));

    TDXImageList list;
    list.LoadList(Path("a.dxg"));
    ASSERT_EQ(list.Items().size(), 2u);
    EXPECT_NE(list.Find("ziki"), nullptr);
    list.LoadList(Path("b.dxg"));
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.Find("Ziki"), nullptr);
    EXPECT_THROW(list.Lookup("Ring1"), EPictureCollectionError);
    EXPECT_EQ(list.Lookup("TITLE")->Picture.Width, 3);

    // A load that fails leaves the list as it was.
    std::ofstream(Path("bad.dxg"), std::ios::binary) << "not a dxg";
    EXPECT_THROW(list.LoadList(Path("bad.dxg")), EStreamError);
    EXPECT_NE(list.Find("Title"), nullptr);
}

TEST_F(DxgFiles, WaveListLoadsAndReplaces) {
    TWaveCollectionItem a, b;
    a.Name = "Dead", a.Wave = dxgtest::Riff(5);
    b.Name = "ZikiHit", b.Wave = dxgtest::Riff(6);
    dxg::SaveWaves(Path("a.dxg"), {&a, &b});
    dxg::SaveWaves(Path("b.dxg"), {&b});
    TDXWaveList list;
    list.LoadList(Path("a.dxg"));
    EXPECT_EQ(list.Items().size(), 2u);
    list.LoadList(Path("b.dxg"));
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.Find("dead"), nullptr);
    EXPECT_EQ(list.Lookup("zikihit")->Wave, b.Wave);
    // A picture file is not a sound file.
    auto p = Picture("x", Gradient(1, 1, false));
    dxg::SavePictures(Path("p.dxg"), {p.get()});
    try {
        list.LoadList(Path("p.dxg"));
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("TPictureCollectionComponent, not a TWaveCollectionComponent"),
                  std::string::npos)
            << e.what();
    }
}

TEST_F(DxgFiles, MissingOrUnreadableFilesRaiseFileOpenErrors) {
    TDXImageList list;
    try {
        list.LoadList(Path("Pictures.dxg"));
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("Pictures.dxg"), std::string::npos);
    }
    EXPECT_THROW(dxg::LoadWaves(Dir.string()), EFOpenError);  // a directory
    auto p = Picture("x", Gradient(1, 1, false));
    EXPECT_THROW(dxg::SavePictures(Path("no/such/dir/x.dxg"), {p.get()}), EFOpenError);
}

TEST_F(DxgFiles, SavingReplacesTheFileWholeAndKeepsItsPermissions) {
    std::vector<std::unique_ptr<TPictureCollectionItem>> a, b;
    a.push_back(Picture("A", Gradient(2, 2, false)));
    b.push_back(Picture("B", Gradient(3, 1, false)));
    dxg::SavePictures(Path("p.dxg"), Ptrs(a));
    fs::permissions(Path("p.dxg"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_directory(Path("p.dxg.tmp"));  // whatever lies beside the file is not in the way
    dxg::SavePictures(Path("p.dxg"), Ptrs(b));
    EXPECT_EQ(dxg::LoadPictures(Path("p.dxg")).at(0)->Name, "B");
    EXPECT_EQ(fs::status(Path("p.dxg")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
