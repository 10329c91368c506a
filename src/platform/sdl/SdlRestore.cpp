#include "platform/sdl/SdlRestore.h"

#include "engine/Pictures.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"

namespace kv {

ERenderLoss RenderLossOf(const SDL_Event& E) {
    if (E.type == SDL_RENDER_DEVICE_RESET) return ERenderLoss::Device;
    if (E.type == SDL_RENDER_TARGETS_RESET) return ERenderLoss::Targets;
    return ERenderLoss::None;
}

void RestoreRendering(ERenderLoss Loss, TSdlWindow& Window, TSdlSurface& Surface, TDXImageList& Pictures,
                      TSdlWidgets* Widgets) {
    if (Loss == ERenderLoss::None) return;
    Window.RecreateTarget();
    if (Loss == ERenderLoss::Device) {
        Surface.ForgetTextures();
        Pictures.AttachSurface(&Surface);  // prepares every item again
    }
    if (Widgets) Widgets->RestoreTextures();
    Window.SelectTarget();
}

}  // namespace kv
