// Shared value types of the engine: colours, single-precision points and
// rectangles, rounding, and the small rectangle helpers every element uses.
//
// Coordinates are device-independent pixels, origin top-left, Y downwards.
// Rectangles are not normalised unless a routine says so.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

namespace sextant {

// 32-bit ARGB colour, alpha in the top byte (0xFF opaque, 0 invisible).
using TColor = std::uint32_t;

// "No colour of its own was chosen": the default applies.
inline constexpr TColor clKelColor = 0x00FFFFFF;
// As a point colour: the point is a null point.
inline constexpr TColor clNone = 0x00000000;

inline constexpr TColor claBlack = 0xFF000000;
inline constexpr TColor claWhite = 0xFFFFFFFF;
inline constexpr TColor claSilver = 0xFFC0C0C0;
inline constexpr TColor claDarkGray = 0xFFA9A9A9;
inline constexpr TColor claGray = 0xFF808080;
inline constexpr TColor claRed = 0xFFFF0000;
inline constexpr TColor claBlue = 0xFF0000FF;
inline constexpr TColor claYellow = 0xFFFFFF00;

struct TPointF {
  float X = 0;
  float Y = 0;
  friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;

  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }
  TPointF TopLeft() const { return {Left, Top}; }
  TPointF BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRectF&, const TRectF&) = default;
};

// Integer point, used where positions are integer by nature.
struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Round to nearest, ties to even (the engine's only rounding rule).
// Values outside the int32 range saturate; NaN gives 0 so that a rounding
// never becomes undefined behaviour.
inline std::int32_t KelRound(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

// Bounds every computed pixel coordinate.
inline int KelMaxPixelPos = 32767;

// A pixel position or length summed in 64 bits from lengths of any size
// (settings, measured texts), bounded by +-KelMaxPixelPos, so that further
// sums of such values cannot overflow int.
inline int KelBoundPixel(long long Value) {
  if (Value > KelMaxPixelPos) return KelMaxPixelPos;
  if (Value < -KelMaxPixelPos) return -KelMaxPixelPos;
  return static_cast<int>(Value);
}

// 64-bit form for the few places that round values beyond int32.
inline std::int64_t KelRound64(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
  if (r <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(r);
}

// Truncation toward zero with the same saturation rules as KelRound.
inline std::int32_t KelTrunc(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// A coordinate within +-KelMaxPixelPos; 0 for one that is not a number.
inline float KelBoundCoordinate(float Value) {
  const float M = static_cast<float>(KelMaxPixelPos);
  return std::isnan(Value) ? 0.0f : std::clamp(Value, -M, M);
}
inline TRectF KelBoundRect(const TRectF& R) {
  return {KelBoundCoordinate(R.Left), KelBoundCoordinate(R.Top), KelBoundCoordinate(R.Right),
          KelBoundCoordinate(R.Bottom)};
}

// ---- Angles ------------------------------------------------------------------

// An angle in degrees as 0..359.
inline int KelNormalAngle(int Degrees) {
  const int a = Degrees % 360;
  return a < 0 ? a + 360 : a;
}
inline double KelDegToRad(double Degrees) { return Degrees * std::numbers::pi / 180.0; }

// True when |Value| <= Epsilon; an Epsilon of 0 means 1e-12.
inline bool IsZero(double value, double epsilon = 0) {
  if (epsilon == 0) epsilon = 1e-12;
  return std::fabs(value) <= epsilon;
}

// ---- Colour helpers --------------------------------------------------------

inline constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (TColor(r) << 16) | (TColor(g) << 8) | TColor(b);
}
inline constexpr std::uint8_t GetRValue(TColor c) { return (c >> 16) & 0xFF; }
inline constexpr std::uint8_t GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline constexpr std::uint8_t GetBValue(TColor c) { return c & 0xFF; }
inline constexpr TColor ColorRGBA(TColor c) { return c; }
inline constexpr std::uint8_t ColorAlpha(TColor c) { return c >> 24; }
inline constexpr TColor ColorFrom(TColor c, std::uint8_t alpha) {
  return (TColor(alpha) << 24) | (c & 0xFFFFFF);
}

// Each of red, green and blue reduced by amount, 0 where not greater; alpha kept.
inline constexpr TColor ApplyDark(TColor c, int amount) {
  auto dark = [amount](int v) { return v > amount ? v - amount : 0; };
  return (c & 0xFF000000u) | (TColor(dark(GetRValue(c))) << 16) |
         (TColor(dark(GetGValue(c))) << 8) | TColor(dark(GetBValue(c)));
}
// Each of red, green and blue increased by amount, capped at 255; alpha kept.
inline constexpr TColor ApplyBright(TColor c, int amount) {
  auto bright = [amount](int v) { return v + amount > 255 ? 255 : v + amount; };
  return (c & 0xFF000000u) | (TColor(bright(GetRValue(c))) << 16) |
         (TColor(bright(GetGValue(c))) << 8) | TColor(bright(GetBValue(c)));
}

// ---- Rectangle and point helpers ------------------------------------------

inline TRectF KelRect(float l, float t, float r, float b) { return {l, t, r, b}; }
inline TPointF KelPoint(float x, float y) { return {x, y}; }

// All edges inclusive.
inline bool PointInRect(const TRectF& r, float x, float y) {
  return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}
inline bool PointInRect(const TRectF& r, TPointF p) { return PointInRect(r, p.X, p.Y); }

// Empty only when both pairs of edges coincide: a zero-width but tall
// rectangle is not empty.
inline bool IsRectEmpty(const TRectF& r) { return r.Left == r.Right && r.Top == r.Bottom; }
inline bool EqualRect(const TRectF& a, const TRectF& b) { return a == b; }

inline TRectF OrientRectangle(TRectF r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return r;
}

inline void RectCenter(const TRectF& r, int& x, int& y) {
  x = KelRound((r.Left + r.Right) * 0.5);
  y = KelRound((r.Top + r.Bottom) * 0.5);
}

inline void InflateRectF(TRectF& r, float dx, float dy) {
  r.Left -= dx;
  r.Top -= dy;
  r.Right += dx;
  r.Bottom += dy;
}

inline bool DifferentPoint(TPointF a, TPointF b) { return a.X != b.X || a.Y != b.Y; }

// True when the face p0, p1, p2 is culled (does not turn clockwise).
inline bool KelCull(TPointF p0, TPointF p1, TPointF p2) {
  return (p0.X - p1.X) * (p2.Y - p1.Y) - (p2.X - p1.X) * (p0.Y - p1.Y) < 0;
}

// Multi-line texts separate lines with character 13; legend columns with 6.
inline constexpr char KelLineSeparator = '\r';
inline constexpr char KelColumnSeparator = '\x06';

}  // namespace sextant
