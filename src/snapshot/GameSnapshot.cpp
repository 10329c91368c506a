#include "snapshot/GameSnapshot.h"

#include "engine/SpriteCopy.h"

namespace kv {

namespace {

std::array<TButton*, 6> ButtonsOf(TForm1& F) {
    return {&F.Button1, &F.Button2, &F.Button3, &F.Button4, &F.Button5, &F.Button6};
}

}  // namespace

TGameSnapshot::TGameSnapshot(const TForm1& Form) {
    TForm1& F = const_cast<TForm1&>(Form);  // read only: the buttons are listed through one helper
    CopiedSpriteBytes = 0;
    TSpriteTreeCopy copy(*Form.SpriteEngine(), Sprites_);
    {
        TSpriteTreeCopy::TScope scope(copy);
        State_ = static_cast<const TGameState&>(Form);
        Vars_ = Form.VarsStore;
    }
    Random_ = Form.RandomGen.SeedValue();
    InputSet_ = Form.DXInput1.StateSet;
    InputPrevious_ = Form.DXInput1.PreviousStates();
    Frame_ = Form.Log.Frame;
    EventCounts_ = Form.Log.Counts();
    const auto buttons = ButtonsOf(F);
    for (size_t i = 0; i < buttons.size(); ++i) Widgets_.Buttons[i] = buttons[i]->Visible;
    Widgets_.Edit1Visible = Form.Edit1.Visible;
    Widgets_.Edit2Visible = Form.Edit2.Visible;
    Widgets_.Form2Visible = Form.Form2.Visible;
    Widgets_.Edit1Text = Form.Edit1.Text;
    Widgets_.Edit2Text = Form.Edit2.Text;
    const auto& items = Form.DXImageList1.Items();
    Pictures_.reserve(items.size());
    for (const auto& item : items) Pictures_.emplace_back(item.get(), item->Name);
    Bytes_ = sizeof *this + CopiedSpriteBytes + Sprites_.MemberCount * 2 * sizeof(TSprite*) +
             State_.ScoreLines.size() * 64 + Pictures_.size() * 48;
}

TGameSnapshot::~TGameSnapshot() = default;

void TGameSnapshot::Restore(TForm1& F) const {
    TSpriteEngine& engine = *F.SpriteEngine();
    engine.Clear();
    engine.KillList.clear();
    // The pictures of another window (or of this one, reloaded) are found by their names.
    const auto& items = F.DXImageList1.Items();
    bool same = items.size() == Pictures_.size();
    for (size_t i = 0; same && i < items.size(); ++i) same = items[i].get() == Pictures_[i].first;
    TPictureRelink relink;
    if (!same)
        for (const auto& [item, name] : Pictures_) relink[item] = F.DXImageList1.Find(name);
    TSpriteTreeCopy copy(Sprites_, engine, same ? nullptr : &relink);
    {
        TSpriteTreeCopy::TScope scope(copy);
        static_cast<TGameState&>(F) = State_;
        F.VarsStore = Vars_;
    }
    F.RandomGen.Seed(Random_);
    F.DXInput1.RestoreStates(InputSet_, InputPrevious_);
    F.Log.Frame = Frame_;
    F.Log.RestoreCounts(EventCounts_);
    const auto buttons = ButtonsOf(F);
    for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->Visible = Widgets_.Buttons[i];
    F.Edit1.Visible = Widgets_.Edit1Visible;
    F.Edit2.Visible = Widgets_.Edit2Visible;
    F.Form2.Visible = Widgets_.Form2Visible;
    F.Edit1.Text = Widgets_.Edit1Text;
    F.Edit2.Text = Widgets_.Edit2Text;
}

}  // namespace kv
