#include "canvas/corners.h"

#include <algorithm>
#include <cmath>

namespace sextant {

void TKelCorner::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelCorner*>(Source);
  if (!src) AssignError(Source);
  SetStyle(src->FStyle);
}

void TKelCorner::SetStyle(TKelCornerStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  CallEvent(OnChange, this);
}

TKelCorners::TKelCorners(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {
  auto forward = [this](TPersistent* Sender) { CornerChanged(Sender); };
  FLeftBottom.OnChange = forward;
  FLeftTop.OnChange = forward;
  FRightBottom.OnChange = forward;
  FRightTop.OnChange = forward;
}

void TKelCorners::CornerChanged(TPersistent* Sender) { CallEvent(OnChange, Sender); }

void TKelCorners::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelCorners*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FLeftBottom.Assign(&src->FLeftBottom);
  FLeftTop.Assign(&src->FLeftTop);
  FRightBottom.Assign(&src->FRightBottom);
  FRightTop.Assign(&src->FRightTop);
}

namespace {

// Rounded down to an even number, at least 1, at most Limit (when Limit >= 1).
int CornerSize(int Value, int Limit) {
  int v = static_cast<int>(std::floor(Value / 2.0)) * 2;
  v = std::max(v, 1);
  if (Limit >= 1) v = std::min(v, Limit);
  return v;
}

}  // namespace

// Arcs use the host's angles (degrees from the positive X axis, clockwise on
// screen), each corner a quarter turn clockwise. Every arc starts where the previous segment
// ended, so the path is continuous whatever the host does between commands.
THostPath TKelCorners::GetPath(const TRectF& Rect, int X, int Y) const {
  const TRectF r = OrientRectangle(Rect);
  const float cx = static_cast<float>(CornerSize(X, KelRound(r.Width())));
  const float cy = static_cast<float>(CornerSize(Y, KelRound(r.Height())));
  const float hx = cx * 0.5f;
  const float hy = cy * 0.5f;
  const float L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  THostPath path;

  switch (FLeftTop.Style()) {
    case cosRound: path.MoveTo({L + cx, T}); break;
    case cosBevel: path.MoveTo({L + hx, T}); break;
    case cosNone: path.MoveTo({L, T}); break;
  }
  switch (FRightTop.Style()) {
    case cosRound:
      path.LineTo({R - cx, T});
      path.AddArc({R - cx, T + cy}, {cx, cy}, 270, 90);
      break;
    case cosBevel:
      path.LineTo({R - hx, T});
      path.LineTo({R, T + hy});
      break;
    case cosNone: path.LineTo({R, T}); break;
  }
  switch (FRightBottom.Style()) {
    case cosRound:
      path.LineTo({R, B - cy});
      path.AddArc({R - cx, B - cy}, {cx, cy}, 0, 90);
      break;
    case cosBevel:
      path.LineTo({R, B - hy});
      path.LineTo({R - hx, B});
      break;
    case cosNone: path.LineTo({R, B}); break;
  }
  switch (FLeftBottom.Style()) {
    case cosRound:
      path.LineTo({L + cx, B});
      path.AddArc({L + cx, B - cy}, {cx, cy}, 90, 90);
      break;
    case cosBevel:
      path.LineTo({L + hx, B});
      path.LineTo({L, B - hy});
      break;
    case cosNone: path.LineTo({L, B}); break;
  }
  switch (FLeftTop.Style()) {
    case cosRound:
      path.LineTo({L, T + cy});
      path.AddArc({L + cx, T + cy}, {cx, cy}, 180, 90);
      break;
    case cosBevel: path.LineTo({L, T + hy}); break;
    case cosNone: break;
  }
  path.ClosePath();
  return path;
}

}  // namespace sextant
