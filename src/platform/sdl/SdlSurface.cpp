#include "platform/sdl/SdlSurface.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>
#include <stdexcept>

#include "engine/Errors.h"
#include "platform/sdl/SdlFont.h"
#include "platform/sdl/SpanPicture.h"

namespace kv {

namespace {

// A turned draw as the software renderer makes it: one pattern at one size, centre and angle.
struct TTurnKey {
    int SrcX, SrcY, SrcW, SrcH;
    float W, H, CX, CY;
    double Angle;
    bool operator==(const TTurnKey&) const = default;
};
// Looked up on every turned draw: the values' bits mixed, no hashing of bytes.
struct TTurnKeyHash {
    template <class T>
    static uint64_t Bits(T V) {
        V = V + T(0);  // -0 as 0, which compares equal
        uint64_t b = 0;
        std::memcpy(&b, &V, sizeof V);
        return b;
    }
    size_t operator()(const TTurnKey& K) const {
        uint64_t h = Bits(K.Angle);
        for (float f : {K.W, K.H, K.CX, K.CY}) h = (h ^ Bits(f)) * 0x9E3779B97F4A7C15u;
        for (int i : {K.SrcX, K.SrcY, K.SrcW, K.SrcH}) h = (h ^ static_cast<uint32_t>(i)) * 0x9E3779B97F4A7C15u;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};
// The pixels a turn covers (none: Texture is nullptr), and the corner of the unturned rectangle
// relative to them.
struct TTurned {
    SDL_Texture* Texture = nullptr;
    int OX = 0, OY = 0, W = 0, H = 0;
    TSpanPicture Spans;  // the texture's pixels, for drawing straight into a software surface
};

// What Item.SurfaceData holds.
struct TPictureTexture {
    SDL_Texture* Texture = nullptr;
    SDL_Renderer* Owner = nullptr;
    std::weak_ptr<int> OwnerAlive;
    bool TurnCacheable = false;
    std::unique_ptr<TSpanPicture> Spans;  // software surfaces only
    std::unordered_map<TTurnKey, TTurned, TTurnKeyHash> Turned;
    ~TPictureTexture() {
        if (OwnerAlive.expired()) return;
        for (auto& [key, turned] : Turned)
            if (turned.Texture) SDL_DestroyTexture(turned.Texture);
        if (Texture) SDL_DestroyTexture(Texture);
    }
};

// The software renderer turns a picture by building and freeing surfaces on every draw, which
// a storm of turned bullets cannot afford. Small pictures are turned once per pattern, size,
// centre and angle: the turned pixels are copied unblended (blend mode none) onto a cleared
// texture, which then holds exactly the picture the renderer turns and blends on each draw,
// smoothed edges and all; it is cut to the pixels the turn covers.
constexpr int TurnCacheMaxArea = 96 * 96;
constexpr size_t TurnCacheMaxEntries = 1024;  // per picture; further turns are drawn directly

// Spans: also keep the pixels for drawing straight into a software surface.
const TTurned* TurnedPicture(SDL_Renderer* R, TPictureTexture& Data, const SDL_Rect& Src, const SDL_FRect& Dst,
                             double Angle, const SDL_FPoint& Centre, bool Spans) {
    const TTurnKey key{Src.x, Src.y, Src.w, Src.h, Dst.w, Dst.h, Centre.x, Centre.y, Angle};
    if (auto it = Data.Turned.find(key); it != Data.Turned.end()) return &it->second;
    if (Data.Turned.size() >= TurnCacheMaxEntries) return nullptr;
    // A square around the centre that holds the rectangle at any angle, with a pixel to spare.
    double reach = 0;
    for (double x : {0.0, double(Dst.w)})
        for (double y : {0.0, double(Dst.h)}) reach = std::max(reach, std::hypot(x - Centre.x, y - Centre.y));
    const int r = static_cast<int>(std::ceil(reach)) + 2;
    const int size = 2 * r;
    SDL_Texture* square = SDL_CreateTexture(R, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, size, size);
    if (!square) return nullptr;
    SDL_Texture* target = SDL_GetRenderTarget(R);
    Uint8 red, green, blue, alpha;
    SDL_GetRenderDrawColor(R, &red, &green, &blue, &alpha);
    SDL_SetRenderTarget(R, square);
    SDL_SetRenderDrawColor(R, 0, 0, 0, 0);
    SDL_RenderClear(R);
    SDL_SetTextureAlphaMod(Data.Texture, 255);
    SDL_SetTextureBlendMode(Data.Texture, SDL_BLENDMODE_NONE);
    const int ox = r - static_cast<int>(Centre.x), oy = r - static_cast<int>(Centre.y);
    const SDL_FRect at{static_cast<float>(ox), static_cast<float>(oy), Dst.w, Dst.h};
    SDL_RenderCopyExF(R, Data.Texture, &Src, &at, Angle, &Centre, SDL_FLIP_NONE);
    SDL_SetTextureBlendMode(Data.Texture, SDL_BLENDMODE_BLEND);
    std::vector<uint32_t> px(static_cast<size_t>(size) * size);
    const bool read = SDL_RenderReadPixels(R, nullptr, SDL_PIXELFORMAT_ARGB8888, px.data(), size * 4) == 0;
    SDL_SetRenderTarget(R, target);
    SDL_SetRenderDrawColor(R, red, green, blue, alpha);
    SDL_DestroyTexture(square);
    if (!read) return nullptr;
    // Only the pixels the turn covers are kept: the transparent rest would change nothing.
    int left = size, top = size, right = -1, bottom = -1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (px[static_cast<size_t>(y) * size + x] >> 24) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    TTurned c;
    if (right >= 0) {
        c.W = right - left + 1;
        c.H = bottom - top + 1;
        c.OX = ox - left;
        c.OY = oy - top;
        c.Texture = SDL_CreateTexture(R, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, c.W, c.H);
        if (!c.Texture) return nullptr;
        SDL_UpdateTexture(c.Texture, nullptr, &px[static_cast<size_t>(top) * size + left], size * 4);
        if (Spans) c.Spans = TSpanPicture(&px[static_cast<size_t>(top) * size + left], c.W, c.H, size);
        SDL_SetTextureBlendMode(c.Texture, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(c.Texture, SDL_ScaleModeNearest);
    }
    return &Data.Turned.emplace(key, c).first->second;
}

}  // namespace

struct TSdlSurface::TOwnedSoftware {
    SDL_Surface* Surface = nullptr;
    SDL_Renderer* Renderer = nullptr;
    ~TOwnedSoftware() {
        if (Renderer) SDL_DestroyRenderer(Renderer);
        if (Surface) SDL_FreeSurface(Surface);
    }
};

TSdlSurface::TSdlSurface(SDL_Renderer* Renderer, int32_t Width, int32_t Height, std::string FontPath)
    : Renderer_(Renderer), Width_(Width), Height_(Height) {
    if (!Renderer_) throw std::invalid_argument("TSdlSurface needs a renderer");
    if (FontPath.empty()) FontPath = FindGothicFont();
    Text_ = std::make_unique<TSdlTextCache>(Renderer_, std::move(FontPath));
    SDL_SetRenderDrawBlendMode(Renderer_, SDL_BLENDMODE_BLEND);
    SDL_RendererInfo info{};
    SoftwareRenderer_ = SDL_GetRendererInfo(Renderer_, &info) == 0 && info.name && std::strcmp(info.name, "software") == 0;
}

std::unique_ptr<TSdlSurface> TSdlSurface::CreateSoftware(int32_t Width, int32_t Height, std::string FontPath) {
    auto sw = std::make_unique<TOwnedSoftware>();
    sw->Surface = SDL_CreateRGBSurfaceWithFormat(0, Width, Height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!sw->Surface) throw std::runtime_error(std::string("cannot create the drawing surface: ") + SDL_GetError());
    sw->Renderer = SDL_CreateSoftwareRenderer(sw->Surface);
    if (!sw->Renderer) throw std::runtime_error(std::string("cannot create the software renderer: ") + SDL_GetError());
    auto s = std::make_unique<TSdlSurface>(sw->Renderer, Width, Height, std::move(FontPath));
    s->Software_ = std::move(sw);
    return s;
}

TSdlSurface::~TSdlSurface() {
    Text_.reset();
    Alive_.reset();  // textures still held by picture items are the renderer's to free now
    Software_.reset();
}

void TSdlSurface::Fill(uint32_t Color) {
    ++Fills_;
    SDL_SetRenderDrawColor(Renderer_, Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF, 255);
    if (Software_ && DirectBlit && !SDL_GetRenderTarget(Renderer_)) {
        // The renderer's clear of the whole surface, with stores that leave the frame in the cache
        // for the draws that follow (SDL's fill streams past it).
        SDL_RenderFlush(Renderer_);
        SDL_Surface* target = Software_->Surface;
        const uint32_t argb = 0xFF000000u | ((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF);
        for (int y = 0; y < target->h; ++y)
            std::fill_n(static_cast<uint32_t*>(target->pixels) + static_cast<size_t>(y) * (target->pitch / 4), target->w, argb);
        return;
    }
    SDL_RenderClear(Renderer_);
}

std::vector<uint32_t> TexturePixels(const TPictureCollectionItem& Item) {
    const TBitmap& b = Item.Picture;
    std::vector<uint32_t> px(b.Pixels);
    if (b.HasAlpha) return px;
    // A colour with a high byte set is no plain RGB value (none, or a system colour): no key.
    const bool keyed = Item.Transparent && (Item.TransparentColor & 0xFF000000u) == 0;
    const uint32_t c = Item.TransparentColor;
    const uint32_t key = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);  // as 0x00RRGGBB
    for (uint32_t& p : px) {
        const uint32_t rgb = p & 0x00FFFFFFu;
        // Keyed pixels become transparent black, so no key colour bleeds into a scaled edge.
        p = keyed && rgb == key ? 0u : (rgb | 0xFF000000u);
    }
    return px;
}

void TSdlSurface::Prepare(TPictureCollectionItem& Item) {
    Item.SurfaceData.reset();
    const TBitmap& b = Item.Picture;
    if (b.Width <= 0 || b.Height <= 0 || b.Pixels.size() < static_cast<size_t>(b.Width) * b.Height) return;
    SDL_Texture* t = SDL_CreateTexture(Renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, b.Width, b.Height);
    if (!t) throw EPictureCollectionError("The picture '" + Item.Name + "' cannot be uploaded: " + SDL_GetError());
    const std::vector<uint32_t> px = TexturePixels(Item);
    SDL_UpdateTexture(t, nullptr, px.data(), b.Width * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    // Key-coloured pictures keep hard edges; pictures with their own alpha are smoothed.
    SDL_SetTextureScaleMode(t, b.HasAlpha ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    auto data = std::make_shared<TPictureTexture>();
    data->Texture = t;
    data->Owner = Renderer_;
    data->OwnerAlive = Alive_;
    data->TurnCacheable = SoftwareRenderer_ && b.Width * b.Height <= TurnCacheMaxArea;
    if (Software_) data->Spans = std::make_unique<TSpanPicture>(px.data(), b.Width, b.Height, b.Width);
    Item.SurfaceData = std::move(data);
}

SDL_Texture* TSdlSurface::TextureOf(const TPictureCollectionItem& Item) const {
    auto* d = static_cast<const TPictureTexture*>(Item.SurfaceData.get());
    return d && d->Owner == Renderer_ && !d->OwnerAlive.expired() ? d->Texture : nullptr;
}

bool TSdlSurface::DrawsDirectly() const {
    if (!Software_ || !DirectBlit || SDL_GetRenderTarget(Renderer_)) return false;
    SDL_Rect v{};
    SDL_RenderGetViewport(Renderer_, &v);
    float sx = 0, sy = 0;
    SDL_RenderGetScale(Renderer_, &sx, &sy);
    if (v.x != 0 || v.y != 0 || v.w != Width_ || v.h != Height_ || sx != 1 || sy != 1 || SDL_RenderIsClipEnabled(Renderer_))
        return false;
    // Whatever the renderer still holds goes first.
    SDL_RenderFlush(Renderer_);
    return true;
}

bool TSdlSurface::BlitDirect(const TSpanPicture& Spans, const SDL_Rect& Src, const SDL_FRect& Dst, int32_t Alpha) {
    // Only what the software renderer would draw with one unscaled blit: a source inside the
    // picture and a destination of its size.
    if (Src.x < 0 || Src.y < 0 || Src.x + Src.w > Spans.Width() || Src.y + Src.h > Spans.Height()) return false;
    if (static_cast<int>(Dst.w) != Src.w || static_cast<int>(Dst.h) != Src.h) return false;
    if (!DrawsDirectly()) return false;
    // The renderer's test against the view, in floats, then its corner cut to whole pixels.
    if (!(Dst.w > 0 && Dst.h > 0)) return true;
    if (std::min(Dst.x + Dst.w, static_cast<float>(Width_)) <= std::max(Dst.x, 0.0f)) return true;
    if (std::min(Dst.y + Dst.h, static_cast<float>(Height_)) <= std::max(Dst.y, 0.0f)) return true;
    SDL_Surface* target = Software_->Surface;
    Spans.Blit(Src.x, Src.y, Src.w, Src.h, static_cast<uint32_t*>(target->pixels), target->w, target->h,
               target->pitch / 4, static_cast<int>(Dst.x), static_cast<int>(Dst.y), Alpha);
    return true;
}

void TSdlSurface::DrawPicture(const TPictureCollectionItem& Item, const TDrawParams& P) {
    SDL_Texture* t = TextureOf(Item);
    if (!t || P.Alpha <= 0 || P.DstW == 0 || P.DstH == 0) return;
    const SDL_Rect src{P.Src.Left, P.Src.Top, P.Src.Width(), P.Src.Height()};
    if (src.w <= 0 || src.h <= 0) return;
    const SDL_FRect dst{static_cast<float>(P.DstX), static_cast<float>(P.DstY), static_cast<float>(P.DstW),
                        static_cast<float>(P.DstH)};
    const int32_t alpha = P.Alpha > 255 ? 255 : P.Alpha;
    auto* data = static_cast<TPictureTexture*>(Item.SurfaceData.get());
    const double angle = std::fmod(P.AngleDegrees, 360.0);
    if (angle == 0) {
        if (data->Spans && BlitDirect(*data->Spans, src, dst, alpha)) return;
        SDL_SetTextureAlphaMod(t, static_cast<Uint8>(alpha));
        SDL_RenderCopyF(Renderer_, t, &src, &dst);
    } else {
        const SDL_FPoint centre{static_cast<float>(P.CenterX - P.DstX), static_cast<float>(P.CenterY - P.DstY)};
        if (const TTurned* c = data->TurnCacheable && TurnCache ? TurnedPicture(Renderer_, *data, src, dst, angle, centre, Software_ != nullptr) : nullptr) {
            // The renderer places a draw at the whole pixels of its rectangle's corner.
            const SDL_Rect at{static_cast<int>(dst.x) - c->OX, static_cast<int>(dst.y) - c->OY, c->W, c->H};
            if (c->Texture) {
                const SDL_FRect fat{static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.w),
                                    static_cast<float>(at.h)};
                if (BlitDirect(c->Spans, SDL_Rect{0, 0, c->W, c->H}, fat, alpha)) return;
                SDL_SetTextureAlphaMod(c->Texture, static_cast<Uint8>(alpha));
                SDL_RenderCopy(Renderer_, c->Texture, nullptr, &at);
            }
        } else {
            SDL_SetTextureAlphaMod(t, static_cast<Uint8>(alpha));
            SDL_RenderCopyExF(Renderer_, t, &src, &dst, angle, &centre, SDL_FLIP_NONE);
        }
    }
}

void TSdlSurface::TextOut(int32_t X, int32_t Y, const std::string& Utf8, TColor Color, int32_t Points) {
    const TSdlTextCache::TEntry* e = Text_->Get(Utf8, SDL_Color{Color.R, Color.G, Color.B, 255}, PointsToPixels(Points));
    if (!e) return;
    const SDL_Rect dst{X, Y, e->Width, e->Height};
    SDL_RenderCopy(Renderer_, e->Texture, nullptr, &dst);
}

TBitmap TSdlSurface::ReadPixels() const {
    TBitmap b;
    b.Width = Width_;
    b.Height = Height_;
    b.Pixels.assign(static_cast<size_t>(Width_) * Height_, 0);
    const SDL_Rect r{0, 0, Width_, Height_};
    if (SDL_RenderReadPixels(Renderer_, &r, SDL_PIXELFORMAT_ARGB8888, b.Pixels.data(), Width_ * 4) != 0)
        throw std::runtime_error(std::string("cannot read the back buffer: ") + SDL_GetError());
    for (uint32_t& p : b.Pixels) p |= 0xFF000000u;
    return b;
}

void TSdlSurface::SavePng(const std::string& Path) const { WritePng(ReadPixels(), Path); }

void WritePng(const TBitmap& B, const std::string& Path) {
    std::vector<uint8_t> rgba(static_cast<size_t>(B.Width) * B.Height * 4);
    for (size_t i = 0; i < B.Pixels.size() && i * 4 < rgba.size(); ++i) {
        const uint32_t p = B.Pixels[i];
        rgba[i * 4 + 0] = (p >> 16) & 0xFF;
        rgba[i * 4 + 1] = (p >> 8) & 0xFF;
        rgba[i * 4 + 2] = p & 0xFF;
        rgba[i * 4 + 3] = B.HasAlpha ? (p >> 24) & 0xFF : 0xFF;
    }
    if (B.Width <= 0 || B.Height <= 0 || !stbi_write_png(Path.c_str(), B.Width, B.Height, 4, rgba.data(), B.Width * 4))
        throw EFOpenError("Cannot write the screenshot '" + Path + "'");
}

}  // namespace kv
