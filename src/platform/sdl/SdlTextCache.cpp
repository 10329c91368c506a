#include "platform/sdl/SdlTextCache.h"

#include <functional>
#include <stdexcept>

#include "engine/Errors.h"

namespace kv {

size_t TSdlTextCache::TKeyHash::operator()(const TKey& k) const {
    size_t h = std::hash<std::string>()(k.Text);
    h ^= (static_cast<size_t>(k.Color) * 0x9E3779B97F4A7C15ull) + (h << 6) + (h >> 2);
    h ^= static_cast<size_t>(k.Pixels) + 0x9E3779B9u + (h << 6) + (h >> 2);
    return h;
}

TSdlTextCache::TSdlTextCache(SDL_Renderer* Renderer, std::string FontPath, size_t Capacity)
    : Renderer_(Renderer), FontPath_(std::move(FontPath)), Capacity_(Capacity < 1 ? 1 : Capacity) {
    if (TTF_Init() != 0) throw std::runtime_error(std::string("SDL_ttf could not start: ") + TTF_GetError());
}

TSdlTextCache::~TSdlTextCache() {
    Clear();
    for (auto& [px, f] : Fonts_) TTF_CloseFont(f);
    TTF_Quit();
}

void TSdlTextCache::Clear() {
    for (auto& n : Lru_) SDL_DestroyTexture(n.Entry.Texture);
    Lru_.clear();
    Index_.clear();
}

TTF_Font* TSdlTextCache::Font(int32_t Pixels) {
    if (Pixels < 1) Pixels = 1;
    if (auto it = Fonts_.find(Pixels); it != Fonts_.end()) return it->second;
    TTF_Font* f = TTF_OpenFont(FontPath_.c_str(), Pixels);
    if (!f) throw EFOpenError("The font file '" + FontPath_ + "' cannot be used: " + TTF_GetError());
    Fonts_.emplace(Pixels, f);
    return f;
}

const TSdlTextCache::TEntry* TSdlTextCache::Get(const std::string& Utf8, SDL_Color Color, int32_t Pixels) {
    if (Utf8.empty()) return nullptr;
    TKey key{Utf8, (uint32_t(Color.r) << 16) | (uint32_t(Color.g) << 8) | Color.b, Pixels};
    if (auto it = Index_.find(key); it != Index_.end()) {
        Lru_.splice(Lru_.begin(), Lru_, it->second);
        return &it->second->Entry;
    }
    SDL_Color c = Color;
    c.a = 255;
    SDL_Surface* s = TTF_RenderUTF8_Blended(Font(Pixels), Utf8.c_str(), c);
    if (!s) return nullptr;  // e.g. a string of characters without width
    SDL_Texture* t = SDL_CreateTextureFromSurface(Renderer_, s);
    TEntry e{t, s->w, s->h};
    SDL_FreeSurface(s);
    if (!t) return nullptr;
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    while (Lru_.size() >= Capacity_) {
        SDL_DestroyTexture(Lru_.back().Entry.Texture);
        Index_.erase(Lru_.back().Key);
        Lru_.pop_back();
    }
    Lru_.push_front(TNode{key, e});
    Index_.emplace(std::move(key), Lru_.begin());
    return &Lru_.front().Entry;
}

}  // namespace kv
