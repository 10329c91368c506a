#pragma once
// A renderer can lose its textures (a driver reset, a suspended machine): the drawing target's
// contents only, or every texture it holds. SDL says which with an event.
#include <SDL.h>

namespace kv {

class TDXImageList;
class TSdlSurface;
class TSdlWidgets;
class TSdlWindow;

enum class ERenderLoss { None, Targets, Device };
ERenderLoss RenderLossOf(const SDL_Event& E);

// Makes what was lost again: the 321 × 481 target always; after a device reset also every
// picture's texture (prepared again by its list), the cached text and the controls' textures.
// Raises std::runtime_error when the target cannot be made.
void RestoreRendering(ERenderLoss Loss, TSdlWindow& Window, TSdlSurface& Surface, TDXImageList& Pictures,
                      TSdlWidgets* Widgets);

}  // namespace kv
