// The manifest of dxgtool pack/extract. The parser has no dependencies beyond the engine, so
// it is compiled into this test directly.
#include <gtest/gtest.h>

#include "../../tools/dxgtool/Manifest.cpp"

using dxgtool::ParseManifest;
using dxgtool::ToolError;

namespace {

std::string ErrorOf(const std::string& Text) {
    try {
        ParseManifest(Text, "m.txt");
    } catch (const ToolError& e) {
        return e.what();
    }
    ADD_FAILURE() << "accepted: " << Text;
    return "";
}

}  // namespace

TEST(DxgManifest, PicturesWithDefaultsCommentsAndEveryColourForm) {
    const auto m = ParseManifest(
        "\xEF\xBB\xBF# art\r\n\r\nkind pictures\r\n[Ziki]\r\nfile = ziki.png\r\n"
        "[アールワン]\n  file=r one.png \nPatternWidth = 50\nPatternHeight = 40\nSkipWidth = -2\nSkipHeight = 3\n"
        "Transparent = 0\nTransparentColor = clFuchsia\nSystemMemory = 1\n"
        "# between items\n[Hex]\nfile = h.png\nTransparentColor = 0x00FF00\n"
        "[Dec]\nfile = d.png\ntransparentcolor = 255\n",
        "m.txt");
    EXPECT_EQ(m.Kind, kv::dxg::EKind::Pictures);
    ASSERT_EQ(m.Entries.size(), 4u);
    const auto& z = m.Entries[0];
    EXPECT_EQ(z.Name, "Ziki");
    EXPECT_EQ(z.File, "ziki.png");
    EXPECT_EQ(z.Line, 4);
    EXPECT_EQ(z.PatternWidth, 0);
    EXPECT_TRUE(z.Transparent);
    EXPECT_EQ(z.TransparentColor, 0u);
    EXPECT_FALSE(z.SystemMemory);
    const auto& r = m.Entries[1];
    EXPECT_EQ(r.Name, "アールワン");
    EXPECT_EQ(r.File, "r one.png");
    EXPECT_EQ(r.PatternWidth, 50);
    EXPECT_EQ(r.PatternHeight, 40);
    EXPECT_EQ(r.SkipWidth, -2);
    EXPECT_EQ(r.SkipHeight, 3);
    EXPECT_FALSE(r.Transparent);
    EXPECT_EQ(r.TransparentColor, 0xFF00FFu);
    EXPECT_TRUE(r.SystemMemory);
    EXPECT_EQ(m.Entries[2].TransparentColor, 0x00FF00u);
    EXPECT_EQ(m.Entries[3].TransparentColor, 255u);
}

TEST(DxgManifest, FormattedManifestsParseBackToTheSameEntries) {
    dxgtool::TManifest m;
    m.Kind = kv::dxg::EKind::Sounds;
    m.Entries.resize(2);
    m.Entries[0].Name = "Dead", m.Entries[0].File = "dead.wav", m.Entries[0].MaxPlayingCount = 3;
    m.Entries[1].Name = "ピンポン #1", m.Entries[1].File = "p.wav", m.Entries[1].Looped = true;
    const auto back = ParseManifest(dxgtool::FormatManifest(m, "made by a test"), "m.txt");
    ASSERT_EQ(back.Entries.size(), 2u);
    EXPECT_EQ(back.Kind, kv::dxg::EKind::Sounds);
    EXPECT_EQ(back.Entries[0].MaxPlayingCount, 3);
    EXPECT_EQ(back.Entries[1].Name, "ピンポン #1");
    EXPECT_TRUE(back.Entries[1].Looped);

    dxgtool::TManifest p;
    p.Entries.resize(1);
    p.Entries[0].Name = "x", p.Entries[0].File = "x.png", p.Entries[0].TransparentColor = 0x123456;
    p.Entries[0].SkipWidth = -1, p.Entries[0].Transparent = false;
    const auto pb = ParseManifest(dxgtool::FormatManifest(p, ""), "m.txt");
    EXPECT_EQ(pb.Entries[0].TransparentColor, 0x123456u);
    EXPECT_EQ(pb.Entries[0].SkipWidth, -1);
    EXPECT_FALSE(pb.Entries[0].Transparent);
}

TEST(DxgManifest, MistakesNameTheLine) {
    EXPECT_EQ(ErrorOf(""), "m.txt:0: the manifest is empty: the first line must be 'kind pictures' or 'kind sounds'");
    EXPECT_EQ(ErrorOf("# only\nkind pics\n"),
              "m.txt:2: the first line that is not a comment must be 'kind pictures' or 'kind sounds'");
    EXPECT_EQ(ErrorOf("kind pictures\nfile = a.png\n"), "m.txt:2: a key before the first [Name]");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\nLooped = 1\n"),
              "m.txt:4: unknown key 'Looped' (a picture has file, PatternWidth, PatternHeight, SkipWidth, SkipHeight, "
              "Transparent, TransparentColor, SystemMemory)");
    EXPECT_EQ(ErrorOf("kind sounds\n[A]\nfile = a.wav\nPatternWidth = 1\n"),
              "m.txt:4: unknown key 'PatternWidth' (a sound has file, Looped, MaxPlayingCount)");
    EXPECT_EQ(ErrorOf("kind sounds\n[A]\nfile = a.wav\nLooped = true\n"), "m.txt:4: Looped must be 0 or 1, not 'true'");
    EXPECT_EQ(ErrorOf("kind sounds\n[A]\nfile = a.wav\nMaxPlayingCount = 99999999999\n"),
              "m.txt:4: MaxPlayingCount = 99999999999 is out of range");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\nSkipWidth = 0x\n"), "m.txt:4: SkipWidth must be a number, not '0x'");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\nTransparentColor = clPink\n"),
              "m.txt:4: TransparentColor: unknown colour 'clPink'");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\nfile = b.png\n"), "m.txt:4: the key file is given twice");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\n[a]\nfile = b.png\n"), "m.txt:4: the name 'a' is used twice");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nPatternWidth = 2\n\n[B]\nfile = b.png\n"), "m.txt:2: [A] has no file");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\n[B\n"), "m.txt:4: an item line is [Name]");
    EXPECT_EQ(ErrorOf("kind pictures\n[A]\nfile = a.png\njunk\n"), "m.txt:4: expected [Name] or key = value, found 'junk'");
    EXPECT_EQ(ErrorOf("kind pictures\n[A\xFF]\n"), "m.txt:2: the line is not UTF-8 text");
}
