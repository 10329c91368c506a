#pragma once
// The back buffer drawn through an SDL_Renderer: on a window's logical target, or on a software
// renderer over a surface of its own (headless runs and screenshots). Same drawing code.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Pictures.h"
#include "engine/Surface.h"
#include "platform/sdl/SdlTextCache.h"

namespace kv {

class TSpanPicture;

class TSdlSurface : public ISurface {
public:
    static constexpr int32_t DefaultWidth = 321, DefaultHeight = 481;

    // Draws into the renderer's current target, which must be Width × Height. An empty FontPath
    // looks for IPA P Gothic (raises EFOpenError when it is missing).
    TSdlSurface(SDL_Renderer* Renderer, int32_t Width = DefaultWidth, int32_t Height = DefaultHeight,
                std::string FontPath = {});
    // A software renderer over an SDL_Surface owned by the returned object.
    static std::unique_ptr<TSdlSurface> CreateSoftware(int32_t Width = DefaultWidth, int32_t Height = DefaultHeight,
                                                       std::string FontPath = {});
    ~TSdlSurface() override;
    TSdlSurface(const TSdlSurface&) = delete;
    TSdlSurface& operator=(const TSdlSurface&) = delete;

    int32_t SurfaceWidth() const override { return Width_; }
    int32_t SurfaceHeight() const override { return Height_; }
    void Fill(uint32_t Color) override;
    void Prepare(TPictureCollectionItem& Item) override;
    void DrawPicture(const TPictureCollectionItem& Item, const TDrawParams& P) override;
    void TextOut(int32_t X, int32_t Y, const std::string& Utf8, TColor Color, int32_t Points) override;

    // The target as it is now (0xAARRGGBB, opaque).
    TBitmap ReadPixels() const;
    // Raises EFOpenError naming Path when the file cannot be written.
    void SavePng(const std::string& Path) const;

    SDL_Renderer* Renderer() const { return Renderer_; }
    TSdlTextCache& TextCache() { return *Text_; }
    // Counts the fills: every frame starts with one, so a change means a new frame was drawn.
    uint64_t FillCount() const { return Fills_; }
    // After the renderer lost its textures: the cached text is dropped, to be drawn anew. The
    // pictures are prepared again by their list.
    void ForgetTextures() { Text_->Clear(); }
    // The texture Prepare made for Item on this renderer, or nullptr.
    SDL_Texture* TextureOf(const TPictureCollectionItem& Item) const;
    // On a software renderer (a window's too) small turned pictures are drawn from textures
    // turned once (the same pixels, far faster); off, every turned draw is made afresh.
    bool TurnCache = true;
    // Software surfaces draw unscaled pictures straight into their pixels, run by run (the same
    // pixels as the renderer's blit, far faster); off, every draw goes through the renderer.
    bool DirectBlit = true;

private:
    struct TOwnedSoftware;
    bool DrawsDirectly() const;
    // Draws Src of Spans into Dst as the renderer's unscaled copy would; false when it is not one.
    bool BlitDirect(const TSpanPicture& Spans, const SDL_Rect& Src, const SDL_FRect& Dst, int32_t Alpha);
    SDL_Renderer* Renderer_;
    int32_t Width_, Height_;
    std::unique_ptr<TOwnedSoftware> Software_;  // set by CreateSoftware
    bool SoftwareRenderer_ = false;             // SDL's software renderer draws, here or in a window
    std::unique_ptr<TSdlTextCache> Text_;
    uint64_t Fills_ = 0;
    // Textures made here hold a weak reference: once this surface (and with it the renderer) is
    // gone, an item's texture is left to the renderer's own clean-up instead of being freed twice.
    std::shared_ptr<int> Alive_ = std::make_shared<int>(0);
};

// Pixels with the key colour (0x00BBGGRR) get alpha 0, all others 255; bitmaps with HasAlpha keep
// their own alpha. The result is what Prepare uploads.
std::vector<uint32_t> TexturePixels(const TPictureCollectionItem& Item);

// Writes a bitmap as PNG; raises EFOpenError naming Path on failure.
void WritePng(const TBitmap& B, const std::string& Path);

}  // namespace kv
