#include "panel/chart.h"

#include "canvas/canvas3d.h"

namespace sextant {

void TChart::InternalDraw(const TRectF& UserRectangle) {
  const bool oldAutoRepaint = AutoRepaint();
  SetAutoRepaint(false);
  if (!Canvas()->SupportsFullRotation()) PanelPaint(UserRectangle);
  Canvas()->ResetState();
  CallEvent(OnAfterDraw, this);
  SetAutoRepaint(oldAutoRepaint);
}

}  // namespace sextant
