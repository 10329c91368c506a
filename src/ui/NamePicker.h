#pragma once
// A name or comment entered with a pad alone: a grid of letters, digits and kana. A adds the
// focused character, B or "削除" takes the last one back, "決定" (or Start) returns to the
// fields. Every change reaches the field as typed text does.
#include <memory>
#include <string>

#include "ui/Window.h"

namespace kv {
struct TEdit;
}

namespace kv::ui {

std::unique_ptr<TWindow> MakeNamePicker(IUiContext& Ui, TEdit& Field);

// Text without its last character (UTF-8).
std::string DropLastChar(const std::string& Utf8);

}  // namespace kv::ui
