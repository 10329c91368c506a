#pragma once
// Colour identifiers of the component stream (clBlack, clBtnFace, clWebOrange, …); colours are
// 0x00BBGGRR as the stream stores them.
#include <cstdint>
#include <string>

namespace kv::dxg {

// Case-insensitive. System colours (clBtnFace, clWindow, …) come out as their usual RGB values
// in the classic desktop scheme, since the colour key must be a fixed colour here.
bool ColorFromIdent(const std::string& Ident, uint32_t& Color);
// A system colour written as a number (0xFF0000nn, nn the system colour index) as the same RGB
// value; every other number unchanged.
uint32_t ResolveSystemColor(uint32_t Color);
// The identifier the writer uses: the fixed colours of the classic set only, never a system or
// web colour ("" when the colour has none).
std::string ColorIdent(uint32_t Color);

}  // namespace kv::dxg
