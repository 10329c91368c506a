// The contact sheet: every picture on a dark grey background with its name underneath, so
// that a person can review a whole picture list at a glance.
#include "Sheet.h"

#include <stb_image_write.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>

#include "Media.h"
#include "engine/dxg/DxgFile.h"

namespace dxgtool {

namespace {

constexpr int kMaxWidth = 1280;
constexpr int kPad = 10;
constexpr int kNamePx = 15, kInfoPx = 12;
constexpr uint32_t kBackground = 0x2B2B2B, kCell = 0x363636, kFrame = 0x5A5A5A, kPattern = 0xC8A040;

struct TCanvas {
    int W, H;
    std::vector<uint32_t> Px;  // 0xRRGGBB
    TCanvas(int w, int h) : W(w), H(h), Px(static_cast<size_t>(w) * h, kBackground) {}
    void Blend(int x, int y, uint32_t Rgb, uint32_t A) {
        if (x < 0 || y < 0 || x >= W || y >= H || A == 0) return;
        uint32_t& d = Px[static_cast<size_t>(y) * W + x];
        uint32_t out = 0;
        for (int s = 0; s <= 16; s += 8) {
            const uint32_t a = Rgb >> s & 0xFF, b = d >> s & 0xFF;
            out |= ((a * A + b * (255 - A) + 127) / 255) << s;
        }
        d = out;
    }
    void Fill(int x, int y, int w, int h, uint32_t Rgb) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Blend(i, j, Rgb, 255);
    }
    void Frame(int x, int y, int w, int h, uint32_t Rgb) {
        Fill(x, y, w, 1, Rgb), Fill(x, y + h - 1, w, 1, Rgb), Fill(x, y, 1, h, Rgb), Fill(x + w - 1, y, 1, h, Rgb);
    }
};

uint32_t NextCodepoint(const std::string& S, size_t& I) {
    const unsigned char c = static_cast<unsigned char>(S[I++]);
    const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 0; k < extra && I < S.size(); ++k) cp = cp << 6 | (static_cast<unsigned char>(S[I++]) & 0x3F);
    return cp;
}

class TFont {
public:
    explicit TFont(const std::string& Path) : Data_(kv::dxg::ReadFileBytes(Path)) {
        if (!stbtt_InitFont(&Info_, Data_.data(), stbtt_GetFontOffsetForIndex(Data_.data(), 0)))
            throw ToolError("cannot use the font " + Path);
    }

    int Width(const std::string& S, int Px) { return Run(nullptr, 0, 0, S, Px, 0); }
    void Draw(TCanvas& C, int X, int Y, const std::string& S, int Px, uint32_t Rgb) { Run(&C, X, Y, S, Px, Rgb); }

private:
    // Lays the text out from its top-left corner; draws when C is given. Returns the width.
    int Run(TCanvas* C, int X, int Y, const std::string& S, int Px, uint32_t Rgb) {
        const float scale = stbtt_ScaleForPixelHeight(&Info_, static_cast<float>(Px));
        int ascent, descent, gap;
        stbtt_GetFontVMetrics(&Info_, &ascent, &descent, &gap);
        const int baseline = Y + static_cast<int>(std::lround(ascent * scale));
        float pen = 0;
        uint32_t prev = 0;
        for (size_t i = 0; i < S.size();) {
            const uint32_t cp = NextCodepoint(S, i);
            if (prev) pen += scale * stbtt_GetCodepointKernAdvance(&Info_, static_cast<int>(prev), static_cast<int>(cp));
            int advance, lsb;
            stbtt_GetCodepointHMetrics(&Info_, static_cast<int>(cp), &advance, &lsb);
            if (C) {
                int w, h, xo, yo;
                unsigned char* g = stbtt_GetCodepointBitmap(&Info_, scale, scale, static_cast<int>(cp), &w, &h, &xo, &yo);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        C->Blend(X + static_cast<int>(pen) + xo + x, baseline + yo + y, Rgb, g[y * w + x]);
                stbtt_FreeBitmap(g, nullptr);
            }
            pen += advance * scale;
            prev = cp;
        }
        return static_cast<int>(std::ceil(pen));
    }

    std::vector<uint8_t> Data_;
    stbtt_fontinfo Info_{};
};

// The item's patterns, sliced from its sizes alone (no pixels copied).
std::vector<kv::TRect> PatternsOf(const kv::TPictureCollectionItem& It) {
    kv::TPictureCollectionItem probe;
    probe.Picture.Width = It.Picture.Width, probe.Picture.Height = It.Picture.Height;
    probe.PatternWidth = It.PatternWidth, probe.PatternHeight = It.PatternHeight;
    probe.SkipWidth = It.SkipWidth, probe.SkipHeight = It.SkipHeight;
    probe.Prepare(nullptr);
    return probe.PatternRects();
}

struct TCell {
    const kv::TPictureCollectionItem* Item;
    int Zoom;  // small pictures are shown enlarged
    std::string Info;
    int W, H;  // the whole cell
    int X = 0, Y = 0;
};

// How the game would show a pixel: alpha where the picture has it, else the colour key.
uint32_t AlphaOf(const kv::TPictureCollectionItem& It, uint32_t Px) {
    if (It.Picture.HasAlpha) return Px >> 24;
    if (!It.Transparent) return 255;
    const uint32_t key = It.TransparentColor;
    const uint32_t rgb = (key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF);
    return (Px & 0xFFFFFF) == rgb ? 0 : 255;
}

}  // namespace

void WriteSheet(const std::vector<std::unique_ptr<kv::TPictureCollectionItem>>& Items, const std::string& Out,
                const std::string& FontPath) {
    TFont font(FontPath);
    std::vector<TCell> cells;
    for (const auto& it : Items) {
        const kv::TBitmap& b = it->Picture;
        const int side = std::max(b.Width, b.Height);
        const int zoom = side >= 48 ? 1 : std::clamp(48 / std::max(side, 1), 1, 4);
        std::string info = b.Pixels.empty() ? "no picture data" : std::to_string(b.Width) + "×" + std::to_string(b.Height);
        if (zoom > 1) info += "  (×" + std::to_string(zoom) + ")";
        const size_t patterns = PatternsOf(*it).size();
        if (patterns != 1) info += "  " + std::to_string(patterns) + " patterns";
        const int textW = std::max(font.Width(it->Name, kNamePx), font.Width(info, kInfoPx));
        const int w = std::min(std::max(b.Width * zoom, textW), kMaxWidth - 2 * kPad) + 2 * kPad;
        const int h = b.Height * zoom + kNamePx + kInfoPx + 3 * kPad;
        cells.push_back({it.get(), zoom, info, w, h});
    }
    // Shelves, left to right in list order.
    int x = kPad, y = kPad, rowH = 0, width = 0;
    for (TCell& c : cells) {
        if (x > kPad && x + c.W > kMaxWidth) x = kPad, y += rowH + kPad, rowH = 0;
        c.X = x, c.Y = y;
        x += c.W + kPad;
        rowH = std::max(rowH, c.H);
        width = std::max(width, x);
    }
    TCanvas canvas(std::max(width, 200), y + rowH + kPad);
    for (const TCell& c : cells) {
        const kv::TPictureCollectionItem& it = *c.Item;
        const kv::TBitmap& b = it.Picture;
        canvas.Fill(c.X, c.Y, c.W, c.H, kCell);
        const int px = c.X + (c.W - b.Width * c.Zoom) / 2, py = c.Y + kPad;
        for (int j = 0; j < b.Height * c.Zoom; ++j)
            for (int i = 0; i < b.Width * c.Zoom; ++i) {
                const uint32_t p = b.At(i / c.Zoom, j / c.Zoom);
                canvas.Blend(px + i, py + j, p & 0xFFFFFF, AlphaOf(it, p));
            }
        canvas.Frame(px - 1, py - 1, b.Width * c.Zoom + 2, b.Height * c.Zoom + 2, kFrame);
        if (const auto patterns = PatternsOf(it); patterns.size() > 1) {  // the first one is what the game shows
            const kv::TRect& r = patterns[0];
            canvas.Frame(px + r.Left * c.Zoom, py + r.Top * c.Zoom, r.Width() * c.Zoom, r.Height() * c.Zoom, kPattern);
        }
        const int ty = py + b.Height * c.Zoom + kPad / 2;
        font.Draw(canvas, c.X + kPad, ty, it.Name, kNamePx, 0xE8E8E8);
        font.Draw(canvas, c.X + kPad, ty + kNamePx + 2, c.Info, kInfoPx, 0x9A9A9A);
    }
    std::vector<uint8_t> rgb;
    rgb.reserve(canvas.Px.size() * 3);
    for (uint32_t p : canvas.Px) rgb.push_back(p >> 16 & 0xFF), rgb.push_back(p >> 8 & 0xFF), rgb.push_back(p & 0xFF);
    if (!stbi_write_png(Out.c_str(), canvas.W, canvas.H, 3, rgb.data(), canvas.W * 3))
        throw ToolError("cannot write the contact sheet " + Out);
}

}  // namespace dxgtool
