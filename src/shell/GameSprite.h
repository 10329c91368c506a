#pragma once
// Small helpers every game sprite uses.
#include <string>

#include "engine/ImageSprite.h"
#include "shell/Form1.h"

namespace kv {

// The standard image set-up: the named picture and its pattern size.
inline void SetupImage(TImageSprite* Sprite, const std::string& PictureName) {
    SetImage(Sprite, FormOf(Sprite).Picture(PictureName));
}

template <class T>
bool IsA(const TSprite* S) {
    return dynamic_cast<const T*>(S) != nullptr;
}

}  // namespace kv
