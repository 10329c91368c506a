#pragma once
// The sprite tree and the engine's passes: draw, purge, move, and the collision walk.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Geometry.h"
#include "engine/SpriteIndex.h"

namespace kv {

class TSpriteEngine;
class ISurface;

class TSprite : public TSpritePlace {
public:
    explicit TSprite(TSprite* AParent);
    // Joins the parent with a draw order already set (the game itself keeps Z at 0).
    TSprite(TSprite* AParent, int32_t InitialZ);
    virtual ~TSprite();
    TSprite& operator=(const TSprite&) = delete;

    // Virtual operations, in slot order.
    virtual void OnHit(TSprite* Other, bool& Done);
    virtual void Render();
    virtual void Step(int32_t MoveCount);
    virtual TRect BoundsRect();
    virtual bool HitTest(TSprite* Other);
    // A detached copy of this sprite alone, of its own class (engine/SpriteCopy.h).
    virtual TSprite* CopySelf() const;

    void Kill();
    int32_t Collide();
    void Move(int32_t MoveCount);
    void Draw();
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(Children_.size()); }
    TSprite* Items(int32_t Index) const;
    double AbsX() const { return Parent ? X + Parent->AbsX() : X; }
    double AbsY() const { return Parent ? Y + Parent->AbsY() : Y; }
    // Trunc of the absolute position, with the size. Most sprites hang from the engine itself,
    // whose absolute position is its own, so their sums are made without the recursion.
    TRect OwnRect() const {
        const bool top = Parent && !Parent->Parent;
        const int32_t x = static_cast<int32_t>(top ? X + Parent->X : AbsX());
        const int32_t y = static_cast<int32_t>(top ? Y + Parent->Y : AbsY());
        return {x, y, x + Width, y + Height};
    }

    // When a child of the engine itself joined it: a later child has a larger number, and no two
    // children share one over the engine's life.
    uint64_t JoinOrder() const { return Order_; }

    TSpriteEngine* Engine = nullptr;
    TSprite* Parent = nullptr;
    bool Killed = false;
    bool Collidable = true;
    bool Movable = true;
    bool Visible = true;
    // X, Y, Width and Height come from TSpritePlace.
    int32_t Z = 0;

    // Children in the order they were added, and the same children in the order they are drawn
    // (by Z, the newest first among equal Z).
    const std::vector<TSprite*>& Children() const { return Children_; }
    std::vector<TSprite*> DrawOrder() const { return {DepthList_.rbegin(), DepthList_.rend()}; }

    // Token shared with weak handles; made on first request so bullets never pay for it.
    const std::shared_ptr<TSprite*>& WeakToken();
    bool IsImageSpriteEx() const { return IsImageEx_; }

protected:
    bool IsImageEx_ = false;  // set by TImageSpriteEx; spares a dynamic_cast per hit test
    // The sprite's own fields, for a snapshot: no parent, engine, children or weak handle.
    TSprite(const TSprite& Other);

private:
    friend class TSpriteEngine;
    friend class TSpriteTreeCopy;
    friend class TSpriteIndex;
    void Add(TSprite* Sprite);
    void Remove(TSprite* Sprite);

    std::vector<TSprite*> Children_;
    // The draw order kept back to front, so that the common insertion (a new sprite at the
    // front of its equal-Z run, with Z the highest so far) is an append.
    std::vector<TSprite*> DepthList_;
    std::shared_ptr<TSprite*> Weak_;
    bool Detached_ = false;      // already taken out of its parent's lists by a batched purge
    bool CompactPending_ = false;
};

// Context object the engine carries for its owner (the main window); game code reaches
// the global state through it.
class TEngineContext {
public:
    virtual ~TEngineContext() = default;
};

class TSpriteEngine : public TSprite {
public:
    TSpriteEngine();
    ~TSpriteEngine() override;

    void Purge();
    void Draw();
    void SetSurface(ISurface* ASurface);

    int32_t MemberCount = 0;
    int32_t HitCount = 0;
    bool HitStop = false;
    TRect HitRect;
    TSprite* HitSource = nullptr;
    std::vector<TSprite*> KillList;
    int32_t DrawnCount = 0;
    ISurface* Surface = nullptr;
    TRect ViewRect;
    TEngineContext* Context = nullptr;
    // Image sprites collide through the index, which leaves out only sprites that cannot be hit;
    // off, every collider walks the whole tree (the two agree hit for hit).
    bool UseIndex = true;

private:
    friend class TSprite;
    friend class TSpriteTreeCopy;
    void CollideVisit(TSprite* S);
    void CollideAll();
    void CollideFrom(int32_t First, int32_t N);
    void CollideThroughIndex(TSprite* C);
    // For the walk of an image sprite: whether the view meets HitRect (every image sprite's
    // coarse rectangle is the view), and the source's own rectangle, renewed after each hit.
    bool ViewMeetsHitRect_ = false;
    TRect SourceRect_;
    TSpriteIndex Rows_;
    std::vector<TSpriteIndex::TFound> Found_;
    uint64_t Walks_ = 0;
};

// While a snapshot copies the game, the weak handles copied along are re-pointed to the copies
// of their sprites (engine/SpriteCopy.cpp).
class TSpriteRemap {
public:
    static inline thread_local TSpriteRemap* Active = nullptr;
    virtual void Repoint(std::shared_ptr<TSprite*>& Token) = 0;

protected:
    ~TSpriteRemap() = default;
};

// A reference to a sprite that reads as empty once the sprite has been freed.
template <class T>
class TSpriteRef {
public:
    TSpriteRef() = default;
    TSpriteRef(T* Sprite) : Token_(Sprite ? Sprite->WeakToken() : nullptr) {}
    TSpriteRef(const TSpriteRef& Other) : Token_(Other.Token_) {
        if (TSpriteRemap::Active) TSpriteRemap::Active->Repoint(Token_);
    }
    TSpriteRef& operator=(const TSpriteRef& Other) {
        Token_ = Other.Token_;
        if (TSpriteRemap::Active) TSpriteRemap::Active->Repoint(Token_);
        return *this;
    }
    TSpriteRef(TSpriteRef&&) = default;
    TSpriteRef& operator=(TSpriteRef&&) = default;
    T* Get() const { return Token_ ? static_cast<T*>(*Token_) : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    bool operator==(const TSprite* S) const { return Get() == S; }

private:
    std::shared_ptr<TSprite*> Token_;
};

}  // namespace kv
