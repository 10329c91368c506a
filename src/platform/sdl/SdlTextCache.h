#pragma once
// Rendered strings kept as textures: the HUD writes the same few strings every frame.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <unordered_map>

namespace kv {

class TSdlTextCache {
public:
    struct TEntry {
        SDL_Texture* Texture = nullptr;
        int32_t Width = 0, Height = 0;
    };

    // Fonts are opened from FontPath as sizes are asked for; Capacity is the number of strings kept.
    TSdlTextCache(SDL_Renderer* Renderer, std::string FontPath, size_t Capacity = 256);
    ~TSdlTextCache();
    TSdlTextCache(const TSdlTextCache&) = delete;
    TSdlTextCache& operator=(const TSdlTextCache&) = delete;

    // The texture of Utf8 in Color at Pixels, anti-aliased; nullptr for an empty string.
    // The entry stays valid until Capacity other strings have been asked for.
    const TEntry* Get(const std::string& Utf8, SDL_Color Color, int32_t Pixels);
    // The font at a pixel size (opened once); raises EFOpenError when the file cannot be used.
    TTF_Font* Font(int32_t Pixels);

    size_t Size() const { return Lru_.size(); }
    size_t Capacity() const { return Capacity_; }
    void Clear();

private:
    struct TKey {
        std::string Text;
        uint32_t Color;
        int32_t Pixels;
        bool operator==(const TKey&) const = default;
    };
    struct TKeyHash {
        size_t operator()(const TKey& k) const;
    };
    struct TNode {
        TKey Key;
        TEntry Entry;
    };

    SDL_Renderer* Renderer_;
    std::string FontPath_;
    size_t Capacity_;
    std::map<int32_t, TTF_Font*> Fonts_;
    std::list<TNode> Lru_;  // most recently used first
    std::unordered_map<TKey, std::list<TNode>::iterator, TKeyHash> Index_;
};

}  // namespace kv
