// Fuzz target: axis scales, value <-> pixel mapping and label generation.
//
// A chart of a fuzz-chosen size (0, 1, ordinary, huge, negative) with one
// fast line series of fuzz-chosen points (NaN, infinities, huge, subnormal,
// all equal), then a sequence of axis settings on the standard axes and a
// custom axis: automatic or fixed ends (SetMinMax with any two doubles,
// Minimum/Maximum alone), inverted, increment (0, negative, tiny, huge, not
// a number), label style, angle, separation, size, margin, multi-line,
// alternate, position, RoundFirstLabel, the label font size, direction,
// side, visibility, start and end position, offsets, rounding, ticks, grid,
// custom labels, number formats, paging. The chart is painted (sometimes
// twice, with a resize between).
//
// Checks: a setter either works or raises ChartException/AxisException and
// leaves the axis' ends and automatic flags as they were; painting raises
// nothing; every axis has finite ends with Minimum <= Maximum; the checked
// value-to-pixel forms give pixels within +-KelMaxPixelPos for any double
// (the FastCalc forms, which clamp only the distance, within that bound of
// the axis ends); the pixel-to-value form gives a finite value for any
// pixel; at most 10000 labels and ticks per axis; every coordinate drawn is
// finite.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/font.h"
#include "canvas/kel_exceptions.h"
#include "fuzz/fuzz_chart_support.h"
#include "fuzz/fuzz_support.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"

using namespace sextant;

namespace {

constexpr int kMaxLabels = 10000;

float PickSize(TFuzzInput& in) {
  static const float kSizes[] = {400, 300, 0, 1, 2, 3, 7, 50, 100, 640, 1000, 4000, 32767, 65536, 1e6f, 1e9f, -1, -400};
  const std::uint8_t k = in.Byte();
  if (k < 240) return kSizes[k % std::size(kSizes)];
  return static_cast<float>(in.IntIn(-100, 200000));
}

double PickIncrement(TFuzzInput& in) {
  static const double kIncrements[] = {0,      -1,     1e-300, std::numeric_limits<double>::denorm_min(),
                                       1e-12,  1e-9,   0.001,  0.5,
                                       1,      2.5,    10,     1000,
                                       1e15,   1e300,  std::numeric_limits<double>::max(),
                                       std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(), -1e300};
  const std::uint8_t k = in.Byte();
  if (k < 200) return kIncrements[k % std::size(kIncrements)];
  return FuzzPickValue(in);
}

int PickInt(TFuzzInput& in) {
  static const int kInts[] = {0, 1, -1, 2, 5, 10, 50, 100, 255, 1000, 32767, 100000, INT_MAX, INT_MIN, -100};
  const std::uint8_t k = in.Byte();
  if (k < 200) return kInts[k % std::size(kInts)];
  return static_cast<int>(in.U32());
}

int PickAngle(TFuzzInput& in) {
  static const int kAngles[] = {0, 90, 180, 270, 45, 30, -90, 360, 721, 315, 1, INT_MIN, INT_MAX};
  const std::uint8_t k = in.Byte();
  if (k < 200) return kAngles[k % std::size(kAngles)];
  return in.IntIn(-100000, 100000);
}

double PickPercent(TFuzzInput& in) {
  static const double kPercents[] = {0, 100, 50, 25, 75, -50, 150, 1e6, -1e6, 1e300,
                                     std::numeric_limits<double>::quiet_NaN(),
                                     std::numeric_limits<double>::infinity()};
  const std::uint8_t k = in.Byte();
  if (k < 200) return kPercents[k % std::size(kPercents)];
  return FuzzPickValue(in);
}

const char* PickFormat(TFuzzInput& in) {
  static const char* kFormats[] = {"#,##0.###", "0", "0.000000000000", "#.##", "0.00E+00", "", "#,##0 'km'", "00000000000000000000.0"};
  return kFormats[in.Byte() % std::size(kFormats)];
}

// The ends and automatic flags of an axis, to see that a refused setting
// changed nothing.
struct TAxisScale {
  double Minimum, Maximum;
  bool Automatic, AutomaticMinimum, AutomaticMaximum;
  explicit TAxisScale(const TChartAxis* a)
      : Minimum(a->Minimum()),
        Maximum(a->Maximum()),
        Automatic(a->Automatic()),
        AutomaticMinimum(a->AutomaticMinimum()),
        AutomaticMaximum(a->AutomaticMaximum()) {}
  bool operator==(const TAxisScale& o) const {
    return FuzzSameDouble(Minimum, o.Minimum) && FuzzSameDouble(Maximum, o.Maximum) && Automatic == o.Automatic &&
           AutomaticMinimum == o.AutomaticMinimum && AutomaticMaximum == o.AutomaticMaximum;
  }
};

// One setting on one axis (or the chart); returns its name for messages.
const char* ApplySetting(TFuzzInput& in, TChart& chart, TFastLineSeries* line, TChartAxis* a) {
  switch (in.Byte() % 30) {
    case 0: a->SetAutomatic(in.Byte() & 1); return "Automatic";
    case 1:
    case 2: {
      const double lo = FuzzPickValue(in);
      const double hi = (in.Byte() & 3) == 0 ? lo : FuzzPickValue(in);
      a->SetMinMax(lo, hi);
      return "SetMinMax";
    }
    case 3: a->SetMinimum(FuzzPickValue(in)); return "Minimum";
    case 4: a->SetMaximum(FuzzPickValue(in)); return "Maximum";
    case 5: a->SetInverted(in.Byte() & 1); return "Inverted";
    case 6:
    case 7: a->SetIncrement(PickIncrement(in)); return "Increment";
    case 8: a->Labels()->SetStyle(static_cast<TAxisLabelStyle>(in.Byte() % 6)); return "Labels.Style";
    case 9: a->Labels()->SetAngle(PickAngle(in)); return "Labels.Angle";
    case 10: a->Labels()->SetSeparation(PickInt(in)); return "Labels.Separation";
    case 11: a->Labels()->SetRoundFirstLabel(in.Byte() & 1); return "Labels.RoundFirstLabel";
    case 12: a->SetHorizontal(in.Byte() & 1); return "Horizontal";
    case 13: a->SetVisible(in.Byte() & 1); return "Visible";
    case 14: a->SetOtherSide(in.Byte() & 1); return "OtherSide";
    case 15:
      if (in.Byte() & 1)
        a->SetStartPosition(PickPercent(in));
      else
        a->SetEndPosition(PickPercent(in));
      return "Start/EndPosition";
    case 16:
      if (in.Byte() & 1)
        a->SetMinimumOffset(PickInt(in));
      else
        a->SetMaximumOffset(PickInt(in));
      return "Minimum/MaximumOffset";
    case 17:
      a->SetMinimumRound(in.Byte() & 1);
      a->SetMaximumRound(in.Byte() & 1);
      return "Minimum/MaximumRound";
    case 18:
      switch (in.Byte() % 6) {
        case 0: a->Labels()->SetSize(PickInt(in)); break;
        case 1: a->Labels()->SetMargin(PickInt(in)); break;
        case 2: a->Labels()->SetMultiLine(in.Byte() & 1); break;
        case 3: a->Labels()->SetAlternate(in.Byte() & 1); break;
        case 4: a->Labels()->SetOnAxis(in.Byte() & 1); break;
        default: a->Labels()->SetPosition(static_cast<TAxisLabelsPosition>(in.Byte() % 4)); break;
      }
      return "Labels settings";
    case 19: {
      static const float kFontSizes[] = {8, 0, -5, 1, 72, 1000, 1e6f, 0.01f};
      a->Labels()->Font()->SetSize(kFontSizes[in.Byte() % std::size(kFontSizes)]);
      return "Labels.Font.Size";
    }
    case 20:
      switch (in.Byte() % 5) {
        case 0: a->SetTickLength(PickInt(in)); break;
        case 1: a->SetMinorTickCount(PickInt(in)); break;
        case 2: a->SetMinorTickLength(PickInt(in)); break;
        case 3: a->SetTickInnerLength(PickInt(in)); break;
        default: a->SetTickOnLabelsOnly(in.Byte() & 1); break;
      }
      return "Ticks";
    case 21:
      switch (in.Byte() % 4) {
        case 0: a->Grid()->SetDrawEvery(PickInt(in)); break;
        case 1: a->Grid()->SetCentered(in.Byte() & 1); break;
        case 2: a->Grid()->SetDrawAlways(in.Byte() & 1); break;
        default: a->MinorGrid()->SetVisible(in.Byte() & 1); break;
      }
      return "Grid";
    case 22: {
      const int n = in.SmallIn(0, 20);
      a->Items()->SetAutomatic(false);
      for (int i = 0; i < n; ++i) a->Items()->Add(FuzzPickValue(in), (in.Byte() & 1) ? "" : "label");
      return "custom labels";
    }
    case 23: a->Items()->SetAutomatic(true); return "Items.Automatic";
    case 24: a->SetAxisValuesFormat(PickFormat(in)); return "AxisValuesFormat";
    case 25:
      a->SetTitleSize(PickInt(in));
      a->Title()->SetCaption((in.Byte() & 1) ? "Title" : "");
      return "Title";
    case 26:
      a->SetPositionPercent(PickPercent(in));
      a->SetPositionUnits((in.Byte() & 1) ? muPixels : muPercent);
      return "PositionPercent";
    case 27:
      a->SetAutomaticMinimum(in.Byte() & 1);
      a->SetAutomaticMaximum(in.Byte() & 1);
      return "AutomaticMinimum/Maximum";
    case 28: a->Scroll(FuzzPickValue(in), in.Byte() & 1); return "Scroll";
    default:
      switch (in.Byte() % 5) {
        case 0: chart.SetMaxPointsPerPage(in.SmallIn(0, 12)); break;
        case 1: chart.SetPage(in.IntIn(-3, 20)); break;
        case 2: chart.Pages().SetAutoScale(in.Byte() & 1); break;
        case 3: chart.SetScaleLastPage(in.Byte() & 1); break;
        default:
          line->SetHorizAxis(static_cast<THorizAxis>(in.Byte() % 3));
          line->SetVertAxis(static_cast<TVertAxis>(in.Byte() % 3));
          break;
      }
      return "chart settings";
  }
}

void AddPoints(TFuzzInput& in, TFastLineSeries* line) {
  const std::uint8_t mode = in.Byte() % 6;
  const int n = mode == 5 ? in.IntIn(0, 3000) : in.SmallIn(0, 40);
  switch (mode) {
    case 0:  // both coordinates chosen
    case 1:
      for (int i = 0; i < n; ++i) {
        const double x = FuzzPickValue(in);
        line->AddXY(x, FuzzPickValue(in));
      }
      break;
    case 2:  // X = 0, 1, ... with chosen Y
      for (int i = 0; i < n; ++i) line->AddXY(i, FuzzPickValue(in));
      break;
    case 3: {  // all equal
      const double x = FuzzPickValue(in);
      const double y = FuzzPickValue(in);
      for (int i = 0; i < n; ++i) line->AddXY(x, y);
      break;
    }
    case 4: {  // a scaled sequence
      const double scale = FuzzPickValue(in);
      const double offset = FuzzPickValue(in);
      for (int i = 0; i < n; ++i) line->AddXY(offset + i * scale, offset - i * scale);
      break;
    }
    default: {  // many points of one value
      const double y = FuzzPickValue(in);
      for (int i = 0; i < n; ++i) line->AddXY(i, y);
      break;
    }
  }
}

void CheckMapping(TFuzzInput& in, const TChart& chart, const std::string& where) {
  static const double kValues[] = {0,
                                   1,
                                   -1,
                                   std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::max(),
                                   -std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::denorm_min(),
                                   1e300,
                                   -1e300};
  std::vector<double> values(std::begin(kValues), std::end(kValues));
  for (int i = 0; i < 4; ++i) values.push_back(FuzzPickValue(in));
  const bool fast = chart.Axes().FastCalc();
  const long long M = KelMaxPixelPos;
  for (const TChartAxis* a : chart.Axes()) {
    const std::string name = where + ": " + FuzzAxisName(a);
    // The ends, and values at multiples of the range before, inside and
    // beyond them (pixels just past the bound and far past it).
    const std::size_t own = values.size();
    values.push_back(a->Minimum());
    values.push_back(a->Maximum());
    static const double kFractions[] = {-1e6, -200, -120.5, -1, -0.5, 0.5, 1.5, 120.5, 200, 1e6};
    const double range = a->IMaximum - a->IMinimum;
    for (double f : kFractions) values.push_back(a->IMinimum + f * range);
    // The fast forms add a clamped distance to an axis end.
    const long long slack = fast ? std::max(std::llabs(a->IStartPos), std::llabs(a->IEndPos)) : 0;
    for (double v : values) {
      const int results[] = {a->CalcPosValue(v), a->CalcXPosValue(v), a->CalcYPosValue(v)};
      for (int p : results)
        FUZZ_CHECK(p >= -(M + slack) && p <= M + slack,
                   name + " maps " + FuzzShow(v) + " to " + std::to_string(p) + " (span " +
                       std::to_string(a->IStartPos) + ".." + std::to_string(a->IEndPos) + ", internal " +
                       FuzzShow(a->IMinimum) + ".." + FuzzShow(a->IMaximum) + ")");
    }
    values.resize(own);
    const int pixels[] = {0, 1, -1, a->IStartPos, a->IEndPos, a->ICenterPos, KelMaxPixelPos, -KelMaxPixelPos,
                          in.IntIn(-40000, 40000)};
    for (int p : pixels) {
      const double v = a->CalcPosPoint(p);
      FUZZ_CHECK(std::isfinite(v), name + " pixel " + std::to_string(p) + " gives " + FuzzShow(v) + " (span " +
                                       std::to_string(a->IStartPos) + ".." + std::to_string(a->IEndPos) +
                                       ", internal " + FuzzShow(a->IMinimum) + ".." + FuzzShow(a->IMaximum) + ")");
    }
  }
}

void CheckLabels(const TChart& chart, const TRecordingCanvas& rec, const std::string& where) {
  for (const TChartAxis* a : chart.Axes()) {
    FUZZ_CHECK(a->Items()->Automatic() ? a->Items()->Count() <= kMaxLabels : true,
               where + ": " + FuzzAxisName(a) + " has " + std::to_string(a->Items()->Count()) + " labels");
    FUZZ_CHECK(a->Tick.size() <= static_cast<std::size_t>(kMaxLabels) + 20,
               where + ": " + FuzzAxisName(a) + " has " + std::to_string(a->Tick.size()) + " ticks");
  }
  // The texts drawn: labels of every axis, custom labels, titles, legend.
  const std::size_t bound = (chart.Axes().Count() + 1) * static_cast<std::size_t>(kMaxLabels) + 200;
  FUZZ_CHECK(rec.Count(rkRenderLayout) <= bound, where + ": " + std::to_string(rec.Count(rkRenderLayout)) + " texts");
}

void Paint(TChart& chart, TRecordingCanvas& rec, const std::string& where) {
  rec.ClearOps();
  try {
    chart.HostPaint(rec);
  } catch (const std::exception& e) {
    FUZZ_CHECK(false, where + ": paint raised " + e.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TFuzzInput in(Data, Size);
  ICanvasState.reset();
  {
    TFuzzHost host;
    TRecordingCanvas rec;
    TChart chart;
    chart.SetHostControl(&host);
    // The first byte: below 128 the chart size and the flags follow; else
    // a 400 x 300 chart with the flags in its low bits (fewer bytes before
    // the settings).
    const std::uint8_t setUp = in.Byte();
    float width = 400, height = 300;
    std::uint8_t flags = setUp & 0x3F;
    if (setUp < 128) {
      width = PickSize(in);
      height = PickSize(in);
      flags = in.Byte();
    }
    chart.SetBounds(0, 0, width, height);
    chart.SetView3D(flags & 1);
    chart.Axes().SetFastCalc(flags & 2);
    chart.Legend()->SetVisible(flags & 4);
    if (flags & 8) chart.Title()->SetCaption("Axis fuzz");
    auto* line = new TFastLineSeries();
    chart.AddSeries(line);
    AddPoints(in, line);
    if (flags & 16) chart.AddCustomAxis();
    if (flags & 32) {
      line->SetCustomVertAxis(chart.CustomAxesCount() > 0 ? chart.CustomAxis(0) : chart.RightAxis());
      line->SetVertAxis(aCustomVertAxis);
    }

    // Settings up to the last 8 bytes (kept for the resize and the mapped
    // values), at most 60.
    for (int step = 0; step < 60 && in.Remaining() > 8; ++step) {
      TChartAxis* a = chart.Axes()[in.Byte() % chart.Axes().Count()];
      const TAxisScale before(a);
      const char* name = "setting";
      try {
        name = ApplySetting(in, chart, line, a);
      } catch (const ChartException& e) {
        // Refused: the axis keeps its scale. (AxisException is a ChartException.)
        FUZZ_CHECK(TAxisScale(a) == before, std::string("refused setting changed the axis: ") + e.what());
      } catch (const std::exception& e) {
        FUZZ_CHECK(false, std::string("setting raised something else than ChartException: ") + e.what());
      }
      // Sometimes paint between settings, so that the working fields of one
      // layout meet the settings of the next.
      if ((in.Byte() & 7) == 0) Paint(chart, rec, std::string("paint after ") + name);
    }

    Paint(chart, rec, "paint");
    if (in.Byte() & 1) {
      chart.HostResize(PickSize(in), PickSize(in));
      Paint(chart, rec, "paint after resize");
    }
    FuzzCheckAxisEnds(chart, "after paint");
    FuzzCheckChartRect(chart, "after paint");
    FuzzCheckRecordedCoordinates(rec, "after paint");
    CheckLabels(chart, rec, "after paint");
    CheckMapping(in, chart, "after paint");
  }
  ICanvasState.reset();
  return 0;
}
