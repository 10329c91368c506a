#pragma once
// The whole game in memory: the sprite tree with every field of every sprite, the global state,
// the class-wide values, the random generator, the input states, the frame counter and event
// counts, the window's buttons and fields as the game left them, and the music's track and
// position. Restored into the same window or another one, the game steps on exactly as it did.
// Services (pictures, sounds, the music player, the drawing surface) are not copied.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/Form1.h"

namespace kv {

class TGameSnapshot {
public:
    explicit TGameSnapshot(const TForm1& Form);
    TGameSnapshot(const TGameSnapshot&) = delete;
    TGameSnapshot& operator=(const TGameSnapshot&) = delete;
    ~TGameSnapshot();

    // Replaces the game in Form by this one; the window's services stay as they are.
    void Restore(TForm1& Form) const;

    int64_t Frame() const { return Frame_; }
    const TGameState& State() const { return State_; }
    // About the memory the snapshot holds.
    size_t Bytes() const { return Bytes_; }

private:
    struct TWidgets {
        std::array<bool, 6> Buttons{};
        bool Edit1Visible = false, Edit2Visible = false, Form2Visible = false;
        std::string Edit1Text, Edit2Text;
    };
    TSpriteEngine Sprites_;
    TGameState State_;
    TVarsStore Vars_;
    uint32_t Random_ = 0;
    TDXInputStates InputSet_, InputPrevious_;
    int64_t Frame_ = 0;
    std::map<std::string, int64_t> EventCounts_;
    TWidgets Widgets_;
    // The picture items the sprites point at, by name, for a restore into another window.
    std::vector<std::pair<const TPictureCollectionItem*, std::string>> Pictures_;
    size_t Bytes_ = 0;
};

}  // namespace kv
