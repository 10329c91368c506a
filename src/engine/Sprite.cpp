#include "engine/Sprite.h"

#include <algorithm>
#include <cstdio>

#include "engine/Errors.h"
#include "engine/SpriteCopy.h"
#include "engine/Surface.h"
#include "i18n/Tr.h"

namespace kv {

std::string ListIndexMessage(long index) {
    char buf[96];
    std::snprintf(buf, sizeof buf, N_("リストのインデックスが範囲を超えています (%ld)"), index);
    return buf;
}

TSprite::TSprite(TSprite* AParent) : TSprite(AParent, 0) {}

TSprite::TSprite(TSprite* AParent, int32_t InitialZ) : Parent(AParent), Z(InitialZ) {
    if (Parent) {
        Parent->Add(this);
        Engine = Parent->Engine ? Parent->Engine : static_cast<TSpriteEngine*>(Parent);
        Engine->MemberCount++;
        if (!Parent->Parent) Engine->Rows_.Join(this);
    }
}

TSprite::TSprite(const TSprite& O)
    : Killed(O.Killed),
      Collidable(O.Collidable),
      Movable(O.Movable),
      Visible(O.Visible),
      Z(O.Z),
      IsImageEx_(O.IsImageEx_) {
    // Taken as values: the copy joins an index of its own, if any, when it is placed in a tree.
    X = O.X;
    Y = O.Y;
    Width = O.Width;
    Height = O.Height;
}

TSprite* TSprite::CopySelf() const {
    if (typeid(*this) != typeid(TSprite)) ThrowNoCopy(typeid(*this));
    CopiedSpriteBytes += sizeof(TSprite);
    return new TSprite(*this);
}

TSprite::~TSprite() {
    Clear();
    if (Parent) {
        Engine->MemberCount--;
        if (!Detached_) Parent->Remove(this);
        if (Index_) Index_->Leave(this);
        if (Killed) {
            auto& kl = Engine->KillList;
            auto it = std::find(kl.rbegin(), kl.rend(), this);
            if (it != kl.rend()) kl.erase(std::next(it).base());
        }
    }
    if (Weak_) *Weak_ = nullptr;
}

void TSprite::Add(TSprite* Sprite) {
    Children_.push_back(Sprite);
    if (Index_ && Parent) Index_->Reclassify(this);  // a parent is visited by every walk
    // Binary search for the first draw position whose Z is not less than the new one (newest
    // first among equal Z). Position i of the draw order is element n-1-i of the reversed list.
    const int n = static_cast<int>(DepthList_.size());
    int lo = 0, hi = n - 1;
    while (hi >= lo) {
        int mid = (lo + hi) / 2;
        if (DepthList_[n - 1 - mid]->Z - Sprite->Z < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    DepthList_.insert(DepthList_.end() - lo, Sprite);
}

void TSprite::Remove(TSprite* Sprite) {
    // Clear frees the last child first, which is also the back of an all-equal depth list.
    auto c = std::find(Children_.rbegin(), Children_.rend(), Sprite);
    if (c != Children_.rend()) Children_.erase(std::next(c).base());
    auto d = std::find(DepthList_.rbegin(), DepthList_.rend(), Sprite);
    if (d != DepthList_.rend()) DepthList_.erase(std::next(d).base());
    if (Index_ && Parent) Index_->Reclassify(this);
    if (Children_.empty()) {
        std::vector<TSprite*>().swap(Children_);
        std::vector<TSprite*>().swap(DepthList_);
    }
}

void TSprite::OnHit(TSprite*, bool&) {}
void TSprite::Render() {}
void TSprite::Step(int32_t) {}

TRect TSprite::BoundsRect() { return OwnRect(); }

bool TSprite::HitTest(TSprite*) { return true; }

void TSprite::Kill() {
    if (Engine && !Killed) {
        Killed = true;
        Engine->KillList.push_back(this);
    }
}

int32_t TSprite::Collide() {
    if (!Engine || Killed || !Collidable) return 0;
    TSpriteEngine* E = Engine;
    E->HitCount = 0;
    E->HitStop = false;
    E->HitRect = BoundsRect();
    E->HitSource = this;
    if (IsImageEx_) {
        E->ViewMeetsHitRect_ = OverlapRect(E->ViewRect, E->HitRect);
        E->SourceRect_ = OwnRect();
    }
    // Any other collider's hit test is its own, and may want to see every sprite.
    if (IsImageEx_ && E->UseIndex)
        E->CollideThroughIndex(this);
    else
        E->CollideFrom(0, E->Count());
    return E->HitCount;
}

void TSpriteEngine::CollideFrom(int32_t First, int32_t N) {
    for (int32_t i = First; i < N; ++i) CollideVisit(Children_[i]);
}

void TSpriteEngine::CollideVisit(TSprite* S) {
    if (!S->Collidable) return;
    TSprite* C = HitSource;
    if (S != C) {
        // Two image sprites (whose bounds and hit tests cannot be overridden): the view for the
        // coarse test, then their own rectangles, which both hit tests compare alike.
        const bool hit = C->IsImageEx_ && S->IsImageEx_
                             ? ViewMeetsHitRect_ && OverlapRect(S->OwnRect(), SourceRect_)
                             : OverlapRect(S->BoundsRect(), HitRect) && C->HitTest(S) && S->HitTest(C);
        if (hit) {
            HitCount++;
            C->OnHit(S, HitStop);
            if (C->IsImageEx_) SourceRect_ = C->OwnRect();  // the reaction may have moved it
            if (!C->Collidable || C->Killed) HitStop = true;
        }
    }
    if (HitStop) return;
    const int32_t m = S->Count();
    for (int32_t j = 0; j < m; ++j) CollideVisit(S->Children_[j]);
}

// The walk of an image sprite over the top-level sprites that can meet it, in tree order: those
// the index finds for its rectangle, and those written since the walk began, which may have
// moved into it (the tree walk would see them where they are now). A hit that moves the collider
// asks the index again; sprites created during the walk joined after it began.
void TSpriteEngine::CollideThroughIndex(TSprite* C) {
    const int32_t n = Count();
    Rows_.Settle();
    const uint64_t end = Rows_.End();
    const uint64_t walk = ++Walks_;
    TRect r = SourceRect_;
    Rows_.Find(0, r, ViewMeetsHitRect_, Found_);
    size_t k = 0;
    for (uint64_t last = 0;;) {
        while (k < Found_.size() && Found_[k].Order <= last) ++k;
        TSprite* s = k < Found_.size() ? Found_[k].Sprite : nullptr;
        uint64_t order = s ? Found_[k].Order : end;
        if (TSprite* u = Rows_.FirstUnsure(last, order)) {
            s = u;
            order = u->Order_;
        }
        if (!s) return;
        CollideVisit(s);
        last = order;
        if (Walks_ != walk || HitSource != C) {
            // A reaction ran a walk of its own, whose collider the rest of this walk now tests,
            // as the tree walk would.
            auto at = std::lower_bound(Children_.begin(), Children_.begin() + n, order,
                                       [](const TSprite* A, uint64_t O) { return A->Order_ < O; });
            CollideFrom(static_cast<int32_t>(at - Children_.begin()) + 1, n);
            return;
        }
        if (!(SourceRect_ == r)) {
            r = SourceRect_;
            Rows_.Find(last, r, ViewMeetsHitRect_, Found_);
            k = 0;
        }
    }
}

void TSprite::Move(int32_t MoveCount) {
    if (!Movable) return;
    Step(MoveCount);
    const int32_t n = Count();
    for (int32_t i = 0; i < n; ++i) Children_[i]->Move(MoveCount);
}

void TSprite::Draw() {
    if (!Visible) return;
    if (Engine) {
        if (OverlapRect(BoundsRect(), Engine->ViewRect)) {
            Render();
            Engine->DrawnCount++;
        }
    }
    for (size_t i = DepthList_.size(); i-- > 0;) DepthList_[i]->Draw();
}

void TSprite::Clear() {
    while (!Children_.empty()) delete Children_.back();
}

TSprite* TSprite::Items(int32_t Index) const {
    if (Children_.empty()) throw ESpriteError(ListIndexMessage(Index));
    if (Index < 0 || Index >= Count()) throw EListError(ListIndexMessage(Index));
    return Children_[Index];
}


const std::shared_ptr<TSprite*>& TSprite::WeakToken() {
    if (!Weak_) Weak_ = std::make_shared<TSprite*>(this);
    return Weak_;
}

TSpriteEngine::TSpriteEngine() : TSprite(nullptr), Rows_(this) { Index_ = &Rows_; }

TSpriteEngine::~TSpriteEngine() { Clear(); }

void TSpriteEngine::Draw() {
    DrawnCount = 0;
    TSprite::Draw();
}

void TSpriteEngine::SetSurface(ISurface* ASurface) {
    Surface = ASurface;
    if (Surface) {
        ViewRect = {0, 0, Surface->SurfaceWidth(), Surface->SurfaceHeight()};
        Width = ViewRect.Width();
        Height = ViewRect.Height();
    }
}

// Frees every killed sprite. Instead of taking each one out of its parent's lists on its
// own (quadratic when thousands of bullets die in one frame), the killed sprites are first
// detached from their parents in one sweep per parent, then freed in reverse order of killing.
void TSpriteEngine::Purge() {
    if (KillList.empty()) return;
    std::vector<TSprite*> killed;
    killed.swap(KillList);

    auto hasKilledAncestor = [](TSprite* s) {
        for (TSprite* p = s->Parent; p && p->Parent; p = p->Parent)
            if (p->Killed) return true;
        return false;
    };
    std::vector<TSprite*> roots;
    roots.reserve(killed.size());
    std::vector<TSprite*> parents;
    for (TSprite* s : killed) {
        if (hasKilledAncestor(s)) {
            s->Killed = false;  // freed with its ancestor; it is no longer waiting in the list
            continue;
        }
        roots.push_back(s);
        s->Detached_ = true;
        if (!s->Parent->CompactPending_) {
            s->Parent->CompactPending_ = true;
            parents.push_back(s->Parent);
        }
    }
    for (TSprite* p : parents) {
        auto detached = [](TSprite* s) { return s->Detached_; };
        std::erase_if(p->Children_, detached);
        std::erase_if(p->DepthList_, detached);
        // A storm's worth of room is given back once the field has thinned out.
        if (p->Children_.size() < p->Children_.capacity() / 4) {
            p->Children_.shrink_to_fit();
            p->DepthList_.shrink_to_fit();
        }
        p->CompactPending_ = false;
        if (p != this && p->Index_) p->Index_->Reclassify(p);
    }
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
        (*it)->Killed = false;  // already out of KillList
        delete *it;
    }
}

}  // namespace kv
