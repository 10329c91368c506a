#pragma once
// Copies of sprites for snapshots of the game. Each class states KV_SPRITE_COPY in its body and
// so gets its copy from the one template below (the implicit copy constructor: every field of
// every class in between); the tree copy then re-points parent, engine and weak handles.
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/Sprite.h"

namespace kv {

class TPictureCollectionItem;
class TDXImageList;

// The name of a class as written in the source.
std::string ClassNameOf(const std::type_info& Type);

// A class without KV_SPRITE_COPY of its own would be copied as the class it derives from.
[[noreturn]] void ThrowNoCopy(const std::type_info& Type);

// The bytes of the sprites copied on this thread, for the size of a snapshot.
inline thread_local size_t CopiedSpriteBytes = 0;

template <class T>
TSprite* CopyOfSprite(const T& S) {
    if (typeid(S) != typeid(T)) ThrowNoCopy(typeid(S));
    CopiedSpriteBytes += sizeof(T);
    return new T(S);
}

#define KV_SPRITE_COPY \
    ::kv::TSprite* CopySelf() const override { return ::kv::CopyOfSprite(*this); }

// Picture items of one image list by those of another with the same names.
using TPictureRelink = std::unordered_map<const TPictureCollectionItem*, TPictureCollectionItem*>;

// Copies the sprites under From (an engine) into To, an engine without children: the tree in its
// order and draw order, the engine's position and its list of killed sprites. While the copy is
// the active remap (TSpriteRemap::Active), the weak handles copied re-point to the copies.
class TSpriteTreeCopy final : public TSpriteRemap {
public:
    TSpriteTreeCopy(const TSpriteEngine& From, TSpriteEngine& To, const TPictureRelink* Pictures = nullptr);
    TSpriteTreeCopy(const TSpriteTreeCopy&) = delete;
    TSpriteTreeCopy& operator=(const TSpriteTreeCopy&) = delete;
    ~TSpriteTreeCopy();
    TSprite* CopyOf(const TSprite* Original) const;
    void Repoint(std::shared_ptr<TSprite*>& Token) override;

    // Makes this the active remap for the scope of a Scope object.
    class TScope {
    public:
        explicit TScope(TSpriteTreeCopy& C) : Saved_(Active) { Active = &C; }
        ~TScope() { Active = Saved_; }
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TSpriteRemap* Saved_;
    };

private:
    void CopyChildren(const TSprite& From, TSprite& To);
    TSpriteEngine& To_;
    const TPictureRelink* Pictures_;
    std::unordered_map<const TSprite*, TSprite*> Map_;
    bool Deferring_ = false;
    std::vector<std::pair<std::shared_ptr<TSprite*>*, TSprite*>> Deferred_;
};

}  // namespace kv
