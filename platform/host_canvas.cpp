#include "platform/host_canvas.h"

#include <algorithm>
#include <cmath>

namespace sextant {

bool THostState::SetStroke(const THostStroke& Value) {
  if (Value == FStroke) return false;
  FStroke = Value;
  FChanged |= hspStroke;
  return true;
}

bool THostState::SetFill(const THostFill& Value) {
  if (Value == FFill) return false;
  FFill = Value;
  FChanged |= hspFill;
  return true;
}

bool THostState::SetFont(const THostFont& Value) {
  if (Value == FFont) return false;
  FFont = Value;
  FChanged |= hspFont;
  return true;
}

void IHostCanvas::DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) {
  for (std::size_t i = 1; i < count; ++i) DrawLine(points[i - 1], points[i], opacity);
}

void THostPath::Translate(float dx, float dy) {
  for (auto& c : FCommands) {
    switch (c.Op) {
      case THostPathCommand::MoveTo:
      case THostPathCommand::LineTo:
      case THostPathCommand::Arc:  // A is the centre; B and C are sizes and angles
        c.A.X += dx;
        c.A.Y += dy;
        break;
      case THostPathCommand::Ellipse:
      case THostPathCommand::RoundRect:
        c.A.X += dx;
        c.A.Y += dy;
        c.B.X += dx;
        c.B.Y += dy;
        break;
      case THostPathCommand::Close:
        break;
    }
  }
}

TRectF THostPath::Bounds() const {
  bool any = false;
  TRectF r;
  auto add = [&](TPointF p) {
    if (!any) {
      r = {p.X, p.Y, p.X, p.Y};
      any = true;
    } else {
      r.Left = std::min(r.Left, p.X);
      r.Top = std::min(r.Top, p.Y);
      r.Right = std::max(r.Right, p.X);
      r.Bottom = std::max(r.Bottom, p.Y);
    }
  };
  for (const auto& c : FCommands) {
    switch (c.Op) {
      case THostPathCommand::MoveTo:
      case THostPathCommand::LineTo:
        add(c.A);
        break;
      case THostPathCommand::Ellipse:
      case THostPathCommand::RoundRect:
        add(c.A);
        add(c.B);
        break;
      case THostPathCommand::Arc:
        add({c.A.X - c.B.X, c.A.Y - c.B.Y});
        add({c.A.X + c.B.X, c.A.Y + c.B.Y});
        break;
      case THostPathCommand::Close:
        break;
    }
  }
  return r;
}

TKelMatrix TKelMatrix::Translation(float dx, float dy) {
  TKelMatrix m;
  m.m31 = dx;
  m.m32 = dy;
  return m;
}

TKelMatrix TKelMatrix::Rotation(float degrees) {
  // Counter-clockwise on screen (Y down): x' = x cos + y sin, y' = -x sin + y cos.
  const double a = KelDegToRad(degrees);
  const float c = static_cast<float>(std::cos(a));
  const float s = static_cast<float>(std::sin(a));
  TKelMatrix m;
  m.m11 = c;
  m.m12 = -s;
  m.m21 = s;
  m.m22 = c;
  return m;
}

TKelMatrix TKelMatrix::Scaling(float sx, float sy) {
  TKelMatrix m;
  m.m11 = sx;
  m.m22 = sy;
  return m;
}

TKelMatrix TKelMatrix::operator*(const TKelMatrix& o) const {
  TKelMatrix r;
  r.m11 = m11 * o.m11 + m12 * o.m21 + m13 * o.m31;
  r.m12 = m11 * o.m12 + m12 * o.m22 + m13 * o.m32;
  r.m13 = m11 * o.m13 + m12 * o.m23 + m13 * o.m33;
  r.m21 = m21 * o.m11 + m22 * o.m21 + m23 * o.m31;
  r.m22 = m21 * o.m12 + m22 * o.m22 + m23 * o.m32;
  r.m23 = m21 * o.m13 + m22 * o.m23 + m23 * o.m33;
  r.m31 = m31 * o.m11 + m32 * o.m21 + m33 * o.m31;
  r.m32 = m31 * o.m12 + m32 * o.m22 + m33 * o.m32;
  r.m33 = m31 * o.m13 + m32 * o.m23 + m33 * o.m33;
  return r;
}

TPointF TKelMatrix::Map(TPointF p) const {
  return {p.X * m11 + p.Y * m21 + m31, p.X * m12 + p.Y * m22 + m32};
}

}  // namespace sextant
