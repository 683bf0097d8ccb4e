#include "shell/run_dialog.h"

namespace dravik {

std::optional<PixelRect> RunDialogPlacement(const RunDialogRequest& request,
                                             const PixelRect& dialog,
                                             const std::optional<PixelRect>& owner) {
  const int width = dialog.width();
  const int height = dialog.height();
  if (request.owner != 0) {
    if (!owner) return std::nullopt;
    const int left = owner->left + owner->width() / 2 - width / 2;
    const int top = owner->top + owner->height() / 2 - height / 2;
    return PixelRect{left, top, left + width, top + height};
  }
  if (request.x >= 0 && request.y >= 0) {
    return PixelRect{request.x, request.y, request.x + width, request.y + height};
  }
  return std::nullopt;
}

bool RunDialogMissed(RunDialogRequest& request) {
  ++request.retries;
  if (request.retries < kRunDialogSearchTicks) return false;
  request.retries = 0;
  return true;
}

}  // namespace dravik
