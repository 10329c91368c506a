#pragma once
// Small helpers every game sprite uses.
#include <string>
#include <typeinfo>

#include "engine/ImageSprite.h"
#include "shell/Form1.h"

namespace kv {

// The standard image set-up: the named picture and its pattern size.
inline void SetupImage(TImageSprite* Sprite, const std::string& PictureName) {
    SetImage(Sprite, FormOf(Sprite).Picture(PictureName));
}

// The answer depends on the sprite's class alone, and sprites of a class come in runs (a volley
// of bullets), so the last class asked about is remembered.
template <class T>
bool IsA(const TSprite* S) {
    if (!S) return false;
    thread_local const std::type_info* last = nullptr;
    thread_local bool lastIs = false;
    const std::type_info* type = &typeid(*S);
    if (type != last) {
        lastIs = dynamic_cast<const T*>(S) != nullptr;
        last = type;
    }
    return lastIs;
}

}  // namespace kv
