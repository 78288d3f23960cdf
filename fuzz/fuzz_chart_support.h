// Pieces shared by the fuzz targets that drive a whole chart: a host
// control stand-in, value choices that favour the awkward doubles, and the
// checks every chart must pass after any sequence of settings, data and
// input (finite ordered axis ends, a sound plot rectangle, finite drawing
// coordinates).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "fuzz/fuzz_support.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "platform/stand_in_host.h"

namespace sextant {

// The host of a fuzzed chart: the stand-in host, focusable.
struct TFuzzHost : TStandInHost {
  TFuzzHost() { Focusable = true; }
};

// A data value: mostly ordinary numbers (many equal), often one of the
// doubles that break arithmetic, sometimes any bit pattern.
inline double FuzzPickValue(TFuzzInput& in) {
  const std::uint8_t k = in.Byte();
  switch (k % 8) {
    case 0:
    case 1:
    case 2:
      return static_cast<int>(k / 8) - 10;
    case 3:
      return (static_cast<int>(in.Byte()) - 128) / 8.0;
    case 4: {
      static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::max(),
                                        -std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::denorm_min(),
                                        -std::numeric_limits<double>::denorm_min(),
                                        std::numeric_limits<double>::min(),
                                        1e308,
                                        -1e308,
                                        1e15,
                                        -1e15,
                                        1e-300,
                                        -0.0,
                                        0.0,
                                        4503599627370496.5,
                                        9007199254740993.0,
                                        1e-12,
                                        1.5e-12,
                                        123456789.125};
      return kSpecial[(k / 8) % std::size(kSpecial)];
    }
    case 5:
      return static_cast<double>(static_cast<std::int32_t>(in.U32())) / 64.0;
    case 6:
      // A mantissa at any scale.
      return std::ldexp(static_cast<double>(static_cast<std::int16_t>(in.U32() & 0xFFFF)),
                        in.SmallIn(-1080, -1080 + 255) + in.SmallIn(0, 255) * 4);
    default:
      return in.RawDouble();
  }
}

// Two bytes as a number (positions cost few bytes, so that an input holds
// many events).
inline int FuzzU16(TFuzzInput& in) {
  const int hi = in.Byte();
  return (hi << 8) | in.Byte();
}

// A pixel position: inside a usual control mostly, sometimes far outside,
// sometimes fractional.
inline float FuzzPickPixel(TFuzzInput& in) {
  const std::uint8_t k = in.Byte();
  switch (k % 8) {
    case 0: {
      static const float kFar[] = {-1e9f, 1e9f, -40000, 40000, -32768, 32768, -1, 0,
                                   std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity()};
      return kFar[(k / 8) % std::size(kFar)];
    }
    case 1: return static_cast<float>(FuzzU16(in) % 4001) - 2000 + (k / 8 % 4) * 0.25f;
    default: return static_cast<float>(FuzzU16(in) % 451) + (k / 8 % 4) * 0.25f;
  }
}

inline std::string FuzzAxisName(const TChartAxis* a) {
  return a->AxisID().empty() ? std::string("custom axis") : a->AxisID();
}

// Every axis of the chart has finite ends with Minimum <= Maximum, except
// an axis with one automatic and one fixed end, whose automatic end follows
// the data also across the fixed one.
inline void FuzzCheckAxisEnds(const TChart& chart, const std::string& where) {
  for (const TChartAxis* a : chart.Axes()) {
    const double mn = a->Minimum();
    const double mx = a->Maximum();
    const bool mayCross = a->AutomaticMinimum() != a->AutomaticMaximum();
    FUZZ_CHECK(std::isfinite(mn) && std::isfinite(mx) && (mn <= mx || mayCross),
               where + ": " + FuzzAxisName(a) + " ends " + FuzzShow(mn) + " .. " + FuzzShow(mx));
  }
}

// The plot rectangle has a non-negative size.
inline void FuzzCheckChartRect(const TChart& chart, const std::string& where) {
  const TRectF r = chart.ChartRect;
  FUZZ_CHECK(r.Width() >= 0 && r.Height() >= 0,
             where + ": ChartRect " + FuzzShow(r.Left) + "," + FuzzShow(r.Top) + " - " + FuzzShow(r.Right) +
                 "," + FuzzShow(r.Bottom));
}

inline bool FuzzFinitePoint(TPointF p) { return std::isfinite(p.X) && std::isfinite(p.Y); }
inline bool FuzzFiniteRect(const TRectF& r) {
  return std::isfinite(r.Left) && std::isfinite(r.Top) && std::isfinite(r.Right) && std::isfinite(r.Bottom);
}

// Every coordinate the paint handed to the canvas is a finite number.
inline void FuzzCheckRecordedCoordinates(const TRecordingCanvas& rec, const std::string& where) {
  std::size_t index = 0;
  for (const TRecordedOp& op : rec.Ops()) {
    const std::string what = where + ": op " + std::to_string(index++) + " " + RecordKindName(op.Kind);
    switch (op.Kind) {
      case rkFillRect:
      case rkDrawRect:
      case rkFillEllipse:
      case rkDrawEllipse:
      case rkIntersectClip:
      case rkRenderLayout:
      case rkDrawBitmap:
        FUZZ_CHECK(FuzzFiniteRect(op.Rect), what + " rect " + FuzzShow(op.Rect.Left) + "," + FuzzShow(op.Rect.Top) +
                                                " - " + FuzzShow(op.Rect.Right) + "," + FuzzShow(op.Rect.Bottom));
        break;
      case rkDrawLine:
      case rkDrawArc:
        FUZZ_CHECK(FuzzFinitePoint(op.P1) && FuzzFinitePoint(op.P2),
                   what + " " + FuzzShow(op.P1.X) + "," + FuzzShow(op.P1.Y) + " - " + FuzzShow(op.P2.X) + "," +
                       FuzzShow(op.P2.Y));
        break;
      case rkDrawPolyline:
      case rkDrawConnectedLines:
        for (const TPointF& p : op.Points)
          FUZZ_CHECK(FuzzFinitePoint(p), what + " point " + FuzzShow(p.X) + "," + FuzzShow(p.Y));
        break;
      case rkFillPath:
      case rkDrawPath:
        for (const THostPathCommand& c : op.Path.Commands())
          FUZZ_CHECK(FuzzFinitePoint(c.A) && FuzzFinitePoint(c.B) && FuzzFinitePoint(c.C), what + " path point");
        break;
      default:
        break;
    }
  }
}

}  // namespace sextant
