#include "engine/SpriteCopy.h"

#include <cxxabi.h>

#include <cstdlib>

#include "engine/ImageSprite.h"

namespace kv {

std::string ClassNameOf(const std::type_info& Type) {
    int status = 0;
    char* name = abi::__cxa_demangle(Type.name(), nullptr, nullptr, &status);
    std::string out = status == 0 && name ? name : Type.name();
    std::free(name);
    if (out.rfind("kv::", 0) == 0) out.erase(0, 4);
    return out;
}

void ThrowNoCopy(const std::type_info& Type) {
    throw std::logic_error(ClassNameOf(Type) + " has no KV_SPRITE_COPY: a snapshot cannot copy it");
}

TSpriteTreeCopy::TSpriteTreeCopy(const TSpriteEngine& From, TSpriteEngine& To, const TPictureRelink* Pictures)
    : To_(To), Pictures_(Pictures) {
    if (!To.Children_.empty()) throw std::logic_error("a sprite tree is copied into an empty engine only");
    Map_.reserve(static_cast<size_t>(From.MemberCount) + 1);
    Map_[&From] = &To;
    To.X = From.X;
    To.Y = From.Y;
    To.Z = From.Z;
    To.Visible = From.Visible;
    To.Movable = From.Movable;
    To.Collidable = From.Collidable;
    try {
        // Handles held by sprites may name sprites not copied yet: they are re-pointed after.
        TScope scope(*this);
        Deferring_ = true;
        CopyChildren(From, To);
        Deferring_ = false;
        for (auto& [token, original] : Deferred_) {
            TSprite* copy = CopyOf(original);
            *token = copy ? copy->WeakToken() : nullptr;
        }
        Deferred_.clear();
    } catch (...) {
        To.Clear();
        throw;
    }
    To.KillList.clear();
    To.KillList.reserve(From.KillList.size());
    for (const TSprite* s : From.KillList) To.KillList.push_back(CopyOf(s));
}

TSpriteTreeCopy::~TSpriteTreeCopy() = default;

void TSpriteTreeCopy::CopyChildren(const TSprite& From, TSprite& To) {
    To.Children_.reserve(From.Children_.size());
    for (const TSprite* c : From.Children_) {
        TSprite* n = c->CopySelf();
        n->Parent = &To;
        n->Engine = &To_;
        To_.MemberCount++;
        To.Children_.push_back(n);
        if (&To == &To_) To_.Rows_.Join(n);  // the engine's children are the collision index's rows
        Map_.emplace(c, n);
        if (Pictures_) {
            auto* image = n->IsImageEx_ ? static_cast<TImageSprite*>(n) : dynamic_cast<TImageSprite*>(n);
            if (image && image->Image) {
                auto it = Pictures_->find(image->Image);
                image->Image = it == Pictures_->end() ? nullptr : it->second;
            }
        }
        if (!c->Children_.empty()) CopyChildren(*c, *n);
    }
    To.DepthList_.reserve(From.DepthList_.size());
    for (const TSprite* d : From.DepthList_) To.DepthList_.push_back(Map_.at(d));
}

TSprite* TSpriteTreeCopy::CopyOf(const TSprite* Original) const {
    auto it = Map_.find(Original);
    return it == Map_.end() ? nullptr : it->second;
}

void TSpriteTreeCopy::Repoint(std::shared_ptr<TSprite*>& Token) {
    TSprite* original = Token ? *Token : nullptr;
    if (Deferring_ && original) {
        Deferred_.emplace_back(&Token, original);
        return;
    }
    TSprite* copy = original ? CopyOf(original) : nullptr;
    Token = copy ? copy->WeakToken() : nullptr;
}

}  // namespace kv
