// Axis drawing: the title, the label collection (value labels, labels of
// series points, custom labels), the axis line, ticks, grid, minor ticks
// and minor grid, and the labels themselves.
//
// Contents:
//   [Draw]        Draw, DrawTitle
//   [Labels]      CalcLabels, DoDefaultLabels, DoNextAxisLabels,
//                 DoSeriesLabels, DoCustomLabels, InternalDrawLabel,
//                 AddTickAndSaveLabel
//   [Lines]       DrawTicksGrid, DrawAxisLine, DrawTicks, DrawGrids,
//                 DrawMinorTicksGrid
//   [Label draw]  DrawLabelsOnTop, DrawThisLabel, DrawAxisLabel
#include <algorithm>
#include <climits>
#include <cmath>

#include "axes/axis_math.h"
#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "canvas/element_gone.h"
#include "canvas/font.h"
#include "panel/axis_panel.h"

namespace sextant {

namespace {

// At most this many labels come out of one label collection.
constexpr int KelMaxAxisLabels = 10000;

// Size (W x H) of the bounding box of a W x H box turned by Angle degrees.
TPointF TurnedSize(float W, float H, int Angle) {
  const double r = KelDegToRad(Angle);
  const double c = std::fabs(std::cos(r));
  const double s = std::fabs(std::sin(r));
  return {static_cast<float>(W * c + H * s), static_cast<float>(W * s + H * c)};
}

// A W x H box centred on (CX, CY).
TRectF CenteredBox(double CX, double CY, float W, float H) {
  const float l = static_cast<float>(CX - W * 0.5);
  const float t = static_cast<float>(CY - H * 0.5);
  return {l, t, l + W, t + H};
}

// The last UTF-8 code point of Text removed.
void DropLastCodePoint(std::string& Text) {
  if (Text.empty()) return;
  std::size_t n = Text.size() - 1;
  while (n > 0 && (static_cast<unsigned char>(Text[n]) & 0xC0) == 0x80) --n;
  Text.resize(n);
}

}  // namespace

// ===========================================================================
// [Draw]
// ===========================================================================

void TChartAxis::Draw(bool CalcPosAxis) {
  if (!FParentChart || IDepthAxis) return;
  TCanvas3D* canvas = FParentChart->Canvas();
  canvas->BeginEntity(IAxisID);
  IAxisDateTime = IsDateTime();
  if (CalcPosAxis)
    PosAxis = ApplyPosition(GetRectangleEdge(FParentChart->ChartRect), FParentChart->ChartRect);
  IDrawCache = {};
  DrawTitle();
  CalcLabels();
  DrawTicksGrid();
  if (!FLabels->Behind() && FLabels->Visible()) DrawLabelsOnTop();
  IDrawCache = {};  // valid only within this drawing
  canvas->EndEntity();
}

// The title is centred on the axis span (or at its minimum or maximum end)
// and stands outside the labels, its box touching PosTitle.
void TChartAxis::DrawTitle() {
  if (!FAxisTitle || !FAxisTitle->Visible() || FAxisTitle->Text().empty()) return;
  TChartAxisTitle* title = FAxisTitle.get();
  title->CalcBounds(FParentChart);
  const float w = title->Width();
  const float h = title->Height();
  const int angle = KelNormalAngle(title->Angle());
  const TPointF turned = TurnedSize(w, h, angle);
  double along;
  const bool horizontal = FHorizontal;
  const float half = (horizontal ? turned.X : turned.Y) * 0.5f;
  switch (title->Position()) {
    case tpStart: along = horizontal ? IStartPos + half : IEndPos - half; break;
    case tpEnd: along = horizontal ? IEndPos - half : IStartPos + half; break;
    default: along = ICenterPos; break;
  }
  double cx, cy;
  if (horizontal) {
    cx = along;
    cy = FOtherSide ? PosTitle - turned.Y * 0.5 : PosTitle + turned.Y * 0.5;
  } else {
    cy = along;
    cx = FOtherSide ? PosTitle + turned.X * 0.5 : PosTitle - turned.X * 0.5;
  }
  title->Draw(FParentChart, CenteredBox(cx, cy, w, h), IZPos, angle);
}

// ===========================================================================
// [Labels]
// ===========================================================================

void TChartAxis::CalcLabels() {
  Tick.clear();
  ILogStep = 0;
  IPreviousLabel[0] = IPreviousLabel[1] = {};
  if (!FAxisItems->Automatic()) {
    DoCustomLabels();
    return;
  }
  FAxisItems->Clear();
  const TAxisLabelStyle style = CalcLabelStyle();
  if (style == talNone && !FGrid->DrawAlways()) return;
  PrepareLabelFont();
  switch (style) {
    case talText:
    case talMark:
    case talPointValue: DoSeriesLabels(style); break;
    default:
      if (FParentChart->OnGetNextAxisLabel)
        DoNextAxisLabels();
      else if (FLogarithmic)
        DoLogLabels();
      else if (IAxisDateTime)
        DoDateTimeLabels();
      else
        DoDefaultLabels();
      break;
  }
}

void TChartAxis::DoDefaultLabels() {
  const double inc = CalcIncrement();
  if (!(inc > 0) || IMinimum > IMaximum) return;
  // Too many labels (also a NaN or infinite ratio): none at all.
  if (!(std::fabs(static_cast<double>(IRange / inc)) < KelMaxAxisLabels)) return;

  // 1. First value: the maximum, or the largest multiple of the increment
  //    not above it. A range too small to map shows its maximum.
  double V;
  if (IMinimum == IMaximum || IRangeZero || !FLabels->RoundFirstLabel()) {
    V = IMaximum;
  } else {
    V = std::trunc(IMaximum / inc) * inc;
    for (int guard = 0; V > IMaximum && guard < 4; ++guard) V -= inc;
  }
  if (IRangeZero) {
    InternalDrawLabel(V);
    return;
  }

  // 2. Down to the lowest allowed value by repeated subtraction, so that
  //    the values are those of the label sequence as users know it (-0.3 ..
  //    1 by 0.1 ends at -0.2999999999999999 and keeps its label). The loop
  //    is bounded by the label count and stops when the subtraction leaves
  //    the doubles or no longer moves the value (an increment below the
  //    value's precision), which would repeat the same label for ever.
  const double L =
      IMinimum < 0 ? IMinimum : (IMinimum - MinAxisIncrement) / (1 + MinAxisIncrement);
  for (int index = 0; index < KelMaxAxisLabels && V >= L; ++index) {
    if (OnNextLabelValue) {
      bool stop = false;
      OnNextLabelValue(this, index, V, stop);
      LeaveIfRemoved();
      if (stop || !(V >= L)) break;
    }
    InternalDrawLabel(V);
    const double next = V - inc;
    if (!std::isfinite(next) || !(next < V)) break;
    V = next;
  }
}

// The chart's custom label sequence: values are asked for until the
// handler sets Stop (at most KelMaxAxisLabels). The handler receives the
// previous label value (IMinimum for the first call); values outside the
// axis range are skipped.
void TChartAxis::DoNextAxisLabels() {
  double value = IMinimum;
  for (int index = 0; index < KelMaxAxisLabels; ++index) {
    bool stop = false;
    FParentChart->OnGetNextAxisLabel(this, index, value, stop);
    if (stop) break;
    if (value >= IMinimum && value <= IMaximum) InternalDrawLabel(value);
  }
}

void TChartAxis::InternalDrawLabel(double Value) {
  const int P = CalcPosValue(Value);
  if (!((FLabels->OnAxis() && IGapSize < 1) || (IStartPos < P && P < IEndPos))) return;
  if (!FTickOnLabelsOnly) Tick.push_back(P);
  if (FLabels->Visible() || (FGrid->Visible() && FGrid->DrawAlways()))
    AddTickAndSaveLabel(P, LabelValue(Value), Value);
}

void TChartAxis::AddTickAndSaveLabel(int P, const std::string& Text, double Value) {
  if (FTickOnLabelsOnly) Tick.push_back(P);
  SaveLabel(P, Text, Value, true);
}

int TChartAxis::LabelPosition(int P, const std::string& Text) {
  if (FLabels->Position() == lpAtTick) return P;
  int lines = 0;
  const int half = FParentChart->MultiLineTextWidth(Text, lines) / 2;
  return FLabels->Position() == lpAfterTick ? P + half : P - half;
}

// With a Separation asked for, a value label keeps clear of the label kept
// before it (two before with Alternate, which share its row) and of the
// control's edges: a label whose text would stick out
// of the control (the last label of a bottom axis centred on its end) moves
// inwards, and one that would then overlap its neighbour (texts wider than
// the increment was measured for) is left out; its tick stays. In a flat
// chart only the overlap test applies along the projected depth too.
bool TChartAxis::PlaceValueLabel(int& Pos, const std::string& Text) {
  if (FLabels->Separation() <= 0) return true;
  if (KelNormalAngle(FLabels->Angle()) % 180 != 0) return true;
  // The box as DrawAxisLabel lays it out: from Round(size) div 2 before the
  // position, one pixel more for the fraction of the measured size.
  const int size = LabelTextSize(Text, FHorizontal);
  long long low = static_cast<long long>(Pos) - size / 2;
  long long high = low + size + 1;
  long long shift = 0;
  if (!FParentChart->View3D()) {
    const long long limit = KelRound(FHorizontal ? FParentChart->Width() : FParentChart->Height());
    if (high > limit) shift = limit - high;
    if (low + shift < 0) shift = -low;
  }
  low += shift;
  high += shift;
  const TKeptLabel& neighbour = IPreviousLabel[FLabels->Alternate() ? 1 : 0];
  if (neighbour.Kept && low < neighbour.High && high > neighbour.Low) return false;
  IPreviousLabel[1] = IPreviousLabel[0];
  IPreviousLabel[0] = {true, low, high};
  Pos = KelBoundPixel(static_cast<long long>(Pos) + shift);
  return true;
}

void TChartAxis::SaveLabel(int P, const std::string& Text, double Value, bool ValueLabel) {
  int pos = LabelPosition(P, Text);
  if (!FLabels->Visible()) return;
  if (ValueLabel && !PlaceValueLabel(pos, Text)) return;
  TAxisItem* item = FAxisItems->Add(Value, Text);
  item->SetLabelPos(pos);
  if (FLabels->Behind()) DrawThisLabel(FAxisItems->Count() - 1);
}

// Labels from the points of the associated series (talText, talMark,
// talPointValue).
void TChartAxis::DoSeriesLabels(TAxisLabelStyle Style) {
  const std::vector<TChartSeries*> list = LabelSeries(Style);
  // The visible index ranges of the series combined.
  int first = INT_MAX;
  int last = -1;
  for (TChartSeries* s : list) {
    s->CalcFirstLastVisibleIndex();
    if (s->FirstValueIndex() < 0) continue;
    first = std::min(first, s->FirstValueIndex());
    last = std::max(last, s->LastValueIndex());
  }
  if (last < 0) return;

  // Every point when the texts come from the event or some label is
  // empty; else thinned when there are more points than pixels.
  const bool event = static_cast<bool>(FParentChart->OnGetAxisLabel);
  int step = 1;
  bool someEmpty = false;
  if (Style == talText)
    for (TChartSeries* s : list)
      for (int i = first; i <= last && i < s->Count() && !someEmpty; ++i)
        someEmpty = s->XLabel(i).empty();
  if (!event && !someEmpty) {
    const long long count = static_cast<long long>(last) - first + 1;
    const int pixels = FHorizontal ? FParentChart->ChartWidth() : FParentChart->ChartHeight();
    if (pixels > 0 && count > pixels) step = std::max(1, KelRound(count * 2.0 / pixels));
  }

  const bool isWidth = FHorizontal;
  const int separation = FLabels->Separation();
  bool havePrevious = false;
  int prevLow = 0, prevHigh = 0;
  auto extent = [this, isWidth](const std::string& text, int P, int& low, int& high) {
    const int size = LabelTextSize(text, isWidth);
    low = P - size / 2;
    high = low + size;
  };
  auto overlaps = [&](int low, int high) {
    if (!havePrevious) return false;
    const int grow = KelRound((prevHigh - prevLow) * separation * 0.02);
    return low < prevHigh + grow && high > prevLow - grow;
  };

  for (TChartSeries* s : list) {
    const int n = s->Count();
    for (long long i = first; i <= last && i < n; i += step) {
      const int index = static_cast<int>(i);
      const double v = PointLabelValue(s, index);
      if (!(v >= IMinimum && v <= IMaximum)) continue;
      std::string text = FinalPointLabel(s, index, Style);
      if (text.empty()) continue;
      const int P = CalcPosValue(v);
      if (std::find(Tick.begin(), Tick.end(), P) == Tick.end()) Tick.push_back(P);
      if (!FLabels->Visible()) continue;
      if (separation != 0) {
        PrepareLabelFont();
        int low = 0, high = 0;
        extent(text, P, low, high);
        if (overlaps(low, high)) {
          if (!FLabels->Automatic()->Trim()) continue;
          while (!text.empty() && overlaps(low, high)) {
            DropLastCodePoint(text);
            extent(text, P, low, high);
          }
          if (text.empty()) continue;
        }
        havePrevious = true;
        prevLow = low;
        prevHigh = high;
      }
      SaveLabel(P, text, v);
    }
  }
}

// Custom labels: every item inside the range gets its position; visible
// ones are drawn with their own text (or their value's text).
void TChartAxis::DoCustomLabels() {
  for (int i = 0; i < FAxisItems->Count(); ++i) {
    TAxisItem* item = FAxisItems->Items(i);
    const double v = item->Value();
    if (!(v >= IMinimum && v <= IMaximum)) continue;
    const int P = CalcPosValue(v);
    item->SetLabelPos(P);
    const bool visible = item->DrawFormat()->Visible();
    if (!FTickOnLabelsOnly || visible) Tick.push_back(P);
    if (visible && FLabels->Behind()) DrawThisLabel(i);
  }
}

// ===========================================================================
// [Lines]
// ===========================================================================

void TChartAxis::DrawTicksGrid() {
  TCanvas3D* canvas = FParentChart->Canvas();
  canvas->Brush()->SetStyle(THostBrushKind::None);
  IWallSize = FParentChart->CalcWallSize(this);
  DrawAxisLine();
  if (FTickLength != 0 && FTicks->Visible()) {
    canvas->BeginEntity("Ticks");
    canvas->AssignVisiblePen(FTicks.get());
    DrawTicks(Tick, FTickLength, 1LL + IWallSize, true);
    canvas->EndEntity();
  }
  DrawGrids();
  if (FTickInnerLength != 0 && FTicksInner->Visible()) {
    canvas->BeginEntity("InnerTicks");
    canvas->AssignVisiblePen(FTicksInner.get());
    DrawTicks(Tick, -static_cast<long long>(FTickInnerLength), -1LL + IWallSize, true);
    canvas->EndEntity();
  }
  DrawMinorTicksGrid();
}

void TChartAxis::DrawAxisLine() {
  if (!FAxis->Visible()) return;
  if (OnDrawAxis) {
    OnDrawAxis(this);
    LeaveIfRemoved();
    return;
  }
  TCanvas3D* canvas = FParentChart->Canvas();
  const int a = KelBoundPixel(static_cast<long long>(KelRound(FAxis->Width() * 0.5)) + IWallSize);
  float x0, y0, x1, y1;
  if (FHorizontal) {
    const int y = FOtherSide ? PosAxis : KelBoundPixel(static_cast<long long>(PosAxis) + a);
    x0 = static_cast<float>(IStartPos);
    x1 = static_cast<float>(IEndPos);
    y0 = y1 = static_cast<float>(y);
  } else {
    const int x = KelBoundPixel(FOtherSide ? static_cast<long long>(PosAxis) + a
                                           : static_cast<long long>(PosAxis) - a);
    x0 = x1 = static_cast<float>(x);
    y0 = static_cast<float>(IStartPos);
    y1 = static_cast<float>(IEndPos);
  }
  if (FAxis->LineMode() == lmLine) {
    canvas->AssignVisiblePen(FAxis.get());
    canvas->LineWithZ(x0, y0, x1, y1, static_cast<float>(IZPos));
    return;
  }
  // A bar as thick as the pen, filled with its colour.
  const float half = FAxis->Width() * 0.5f;
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetStyle(THostBrushKind::Solid);
  canvas->Brush()->SetColor(FAxis->Color());
  const TRectF bar = FHorizontal ? TRectF{x0, y0 - half, x1, y1 + half}
                                 : TRectF{x0 - half, y0, x1 + half, y1};
  canvas->RectangleWithZ(bar, IZPos);
  canvas->Brush()->SetStyle(THostBrushKind::None);
}

// A tick of Length at each position, from the axis line outwards (inwards
// for a negative Length); B is the gap between line and tick.
void TChartAxis::DrawTicks(const std::vector<int>& Positions, long long Length, long long B,
                           bool WithPenWidth) {
  TCanvas3D* canvas = FParentChart->Canvas();
  // Summed in 64 bits: the lengths are settings of any size; the ends are
  // drawn within the pixel bound.
  const long long w = WithPenWidth ? KelRound(FAxis->Width()) : 0;
  const long long P0 = PosAxis;
  const float z = static_cast<float>(IZPos);
  auto f = [](long long v) { return static_cast<float>(KelBoundPixel(v)); };
  for (int P : Positions) {
    const float p = static_cast<float>(P);
    if (FHorizontal) {
      if (!FOtherSide) {
        const long long E = P0 + B + w - 1;
        canvas->LineWithZ(p, f(E), p, f(E + Length), z);
      } else {
        const long long E = P0 - B;
        canvas->LineWithZ(p, f(E - Length), p, f(E), z);
      }
    } else {
      if (!FOtherSide) {
        const long long E = P0 - B - w + 1;
        canvas->LineWithZ(f(E - Length), p, f(E), p, z);
      } else {
        const long long E = P0 + B;
        canvas->LineWithZ(f(E), p, f(E + Length), p, z);
      }
    }
  }
}

// A grid line across the plot at P, except at (or beyond) the ends of the
// axis, where the plot's frame already is. It lies on the back of the plot
// (depth Width3D, which is 0 in a flat chart); in 3D an axis whose grid
// stands in front of the back (Grid.Z below 100 percent) also gets the part
// on the side of the plot where the axis is, from the grid's depth to the
// back: on the bottom wall for the bottom axis, on the left wall for the
// left axis.
void TChartAxis::DrawGridLine(int P) {
  if (!(IStartPos < P && P < IEndPos)) return;
  TCanvas3D* canvas = FParentChart->Canvas();
  const TRectF& r = FParentChart->ChartRect;
  const int depth = std::max(0, FParentChart->Width3D());
  const int front = std::clamp(KelRound(depth * FGrid->Z() * 0.01), 0, depth);
  const float back = static_cast<float>(depth);
  const float p = static_cast<float>(P);
  const float top = static_cast<float>(KelRound(r.Top + 1));
  const float bottom = static_cast<float>(KelRound(r.Bottom));
  const float left = static_cast<float>(KelRound(r.Left + 1));
  const float right = static_cast<float>(KelRound(r.Right));
  if (FHorizontal) {
    if (front < depth) canvas->ZLine3D(p, FOtherSide ? top : bottom, static_cast<float>(front), back);
    canvas->LineWithZ(p, top, p, bottom, back);
  } else {
    if (front < depth) canvas->ZLine3D(FOtherSide ? right : left, p, static_cast<float>(front), back);
    canvas->LineWithZ(left, p, right, p, back);
  }
}

void TChartAxis::DrawGrids() {
  if (OnDrawGrids) {
    OnDrawGrids(this);
    LeaveIfRemoved();
  }
  if (!FGrid->Visible()) return;
  TCanvas3D* canvas = FParentChart->Canvas();
  canvas->BeginEntity("Grid");
  canvas->SetBackMode(cbmTransparent);
  canvas->Brush()->SetStyle(THostBrushKind::None);
  canvas->AssignVisiblePenColor(FGrid.get(),
                                FGrid->Color() == clKelColor ? claGray : FGrid->Color());
  const int every = std::max(1, FGrid->DrawEvery());
  const int count = static_cast<int>(Tick.size());
  if (!FGrid->Centered()) {
    for (int i = 0; i < count; ++i)
      if (i % every == 0) DrawGridLine(Tick[i]);
  } else {
    for (int i = 1; i < count; ++i)
      if (i % every == 0) DrawGridLine(KelRound((Tick[i] + Tick[i - 1]) * 0.5));
  }
  canvas->EndEntity();
}

// K minor positions between neighbouring ticks and, with two or more
// ticks, K more beyond each end continuing the end spacing; only those
// strictly inside the axis span.
void TChartAxis::DrawMinorTicksGrid() {
  const int n = static_cast<int>(Tick.size());
  if (n == 0) return;
  const bool ticks = FMinorTickLength != 0 && FMinorTicks->Visible();
  const bool grid = FMinorGrid->Visible();
  if (!ticks && !grid) return;
  // More minor ticks than pixels along the axis cannot be told apart.
  const int K = std::min(FMinorTickCount, std::max(IAxisSize, 0));
  if (K <= 0) return;

  std::vector<int> minor;
  // A logarithmic axis labelled at its powers has its own minor marks.
  const bool logMinor = FLogarithmic && LogMinorPositions(minor);
  auto addRun = [&minor, K](int From, int Distance) {
    for (int j = 1; j <= K; ++j) minor.push_back(From - KelRound(j * double(Distance) / (K + 1)));
  };
  for (int i = 1; i < n && !logMinor; ++i) addRun(Tick[i], Tick[i] - Tick[i - 1]);
  if (n >= 2 && !logMinor) {
    addRun(Tick[0], Tick[1] - Tick[0]);
    addRun(Tick[n - 1], Tick[n - 2] - Tick[n - 1]);
  }
  minor.erase(std::remove_if(minor.begin(), minor.end(),
                             [this](int p) { return !(IStartPos < p && p < IEndPos); }),
              minor.end());

  TCanvas3D* canvas = FParentChart->Canvas();
  canvas->SetBackMode(cbmTransparent);
  canvas->Brush()->SetStyle(THostBrushKind::None);
  if (ticks) {
    canvas->BeginEntity("MinorTicks");
    canvas->AssignVisiblePen(FMinorTicks.get());
    DrawTicks(minor, FMinorTickLength, 1LL + IWallSize, true);
    canvas->EndEntity();
  }
  if (grid) {
    // Where the grid lines are: on the back of the plot (and its side).
    canvas->BeginEntity("MinorGrid");
    canvas->AssignVisiblePen(FMinorGrid.get());
    for (int p : minor) DrawGridLine(p);
    canvas->EndEntity();
  }
}

// ===========================================================================
// [Label draw]
// ===========================================================================

void TChartAxis::DrawLabelsOnTop() {
  TCanvas3D* canvas = FParentChart->Canvas();
  canvas->BeginEntity("Labels");
  for (int i = 0; i < FAxisItems->Count(); ++i) {
    TAxisItem* item = FAxisItems->Items(i);
    const double v = item->Value();
    const bool inRange = (v >= IMinimum && v <= IMaximum) || v == IMinimum;
    if ((FAxisItems->IDrawAll || inRange) && item->DrawFormat()->Visible()) DrawThisLabel(i);
  }
  canvas->EndEntity();
}

int TChartAxis::CachedSizeLabels() {
  if (IDrawCache.SizeLabels < 0) IDrawCache.SizeLabels = SizeLabels();
  return IDrawCache.SizeLabels;
}

int TChartAxis::CachedMaxLabelsWidth() {
  if (IDrawCache.MaxLabelsWidth < 0) IDrawCache.MaxLabelsWidth = MaxLabelsWidth();
  return IDrawCache.MaxLabelsWidth;
}

namespace {

// Draws with another font for its lifetime: Target takes Source's settings
// and gets its own back afterwards, without change notifications.
class TFontSwap {
 public:
  TFontSwap(TKelFont* Target, const TKelFont* Source) : FTarget(Target) {
    if (!FTarget || !Source) {
      FTarget = nullptr;
      return;
    }
    FSaved = std::make_unique<TKelFont>();
    FSaved->Assign(FTarget);
    FCallback = std::move(FTarget->OnChange);
    FTarget->OnChange = nullptr;
    FTarget->Assign(Source);
  }
  ~TFontSwap() {
    if (!FTarget) return;
    FTarget->Assign(FSaved.get());
    FTarget->OnChange = std::move(FCallback);
  }
  TFontSwap(const TFontSwap&) = delete;
  TFontSwap& operator=(const TFontSwap&) = delete;

 private:
  TKelFont* FTarget;
  std::unique_ptr<TKelFont> FSaved;
  TNotifyEvent FCallback;
};

}  // namespace

void TChartAxis::DrawThisLabel(int Index) {
  TAxisItem* item = FAxisItems->Items(Index);
  TAxisLabelsFormat* format = item->DrawFormat();

  // The hovered label is drawn in the hover format's font.
  const TKelFont* hoverFont = nullptr;
  if (FParentChart->Hover()->Visible() && FAxisItems->HasSelected()) {
    TTextSelection* selected = FAxisItems->Selected();
    if (selected->Hover()->Visible() && selected->HoverIndex() == Index)
      hoverFont = selected->Hover()->Font();
  }
  const TFontSwap swap(format->Font(), hoverFont);
  FParentChart->PrepareFont3D(format->Font());

  int cross = PosLabels;
  if (FLabels->Alternate() && Index % 2 == 1) {
    const int shift =
        FHorizontal ? FParentChart->Canvas()->FontHeight() : CachedMaxLabelsWidth();
    cross = InflateAxisPos(cross, shift);
  }
  const std::string text = item->Text().empty() ? LabelValue(item->Value()) : item->Text();
  if (FHorizontal)
    DrawAxisLabel(item->LabelPos(), cross, FLabels->Angle(), text, format, item);
  else
    DrawAxisLabel(cross, item->LabelPos(), FLabels->Angle(), text, format, item);
}

void TChartAxis::DrawAxisLabel(int X, int Y, int Angle, const std::string& Text,
                               TAxisLabelsFormat* Format, TAxisItem* Item) {
  if (!FParentChart || !Format) return;
  TCanvas3D* canvas = FParentChart->Canvas();
  const int angle = KelNormalAngle(Angle);
  // Position along the axis and across it (PosLabels) as given.
  const int labelPos = FHorizontal ? X : Y;
  const int crossPos = FHorizontal ? Y : X;

  // 1. Alignment code (0 left, 2 right, 6 centre, +8 above).
  int code;
  if (!FHorizontal && FLabels->Align() == alCenter) {
    // Centred in the label room, which lies outside PosLabels.
    const int half = CachedSizeLabels() / 2;
    X = FOtherSide ? X + half : X - half;
    code = KelTA_Center;
  } else if (FHorizontal || FLabels->Align() == alDefault) {
    static constexpr int Aligns[2][2] = {{KelTA_Right, KelTA_Left},
                                         {KelTA_Center, KelTA_Center + KelTA_Bottom}};
    code = Aligns[FHorizontal ? 1 : 0][FOtherSide ? 1 : 0];
  } else {  // alOpposite: at the far side of the label room
    if (FOtherSide) {
      X += CachedSizeLabels();
      code = KelTA_Right;
    } else {
      X -= CachedSizeLabels();
      code = KelTA_Left;
    }
  }

  // 2. - 3. The text box measured in the format's font.
  FParentChart->PrepareFont3D(Format->Font());
  const int A = canvas->FontHeight();
  if (!FHorizontal) Y -= A / 2;
  Format->SetText(Text);
  Format->CalcBounds(FParentChart);
  const float Wd = Format->Width();
  const float Hd = Format->Height();
  const int lines = std::max(1, Format->INumLines);
  if (FHorizontal)
    Y -= A;
  else
    Y -= KelRound(A * 0.5 * (lines + 1));

  TRectF box;
  if (angle % 180 == 0) {
    // 4. - 5. Unturned: top at PosLabels (bottom axis), bottom at it (top
    // axis); vertical axes centre the box on the label position.
    float left = static_cast<float>(X);
    float top = static_cast<float>(Y + A);
    if (code >= KelTA_Bottom) {
      top -= static_cast<float>(A * lines);
      code -= KelTA_Bottom;
    }
    if (code == KelTA_Right)
      left -= Wd;
    else if (code == KelTA_Center)
      left -= static_cast<float>(KelRound(Wd) / 2);
    box = {left, top, left + Wd, top + Hd};
  } else {
    // 6. Turned: the bounding box of the turned label is placed like an
    // unturned label of that size (centred under the tick with its top at
    // PosLabels on a bottom axis, against PosLabels and centred on the
    // tick on a left axis); the label turns about the centre of that box.
    const TPointF turned = TurnedSize(Wd, Hd, angle);
    double cx, cy;
    if (FHorizontal) {
      cx = X;
      cy = FOtherSide ? crossPos - turned.Y * 0.5 : crossPos + turned.Y * 0.5;
    } else {
      cy = labelPos;
      cx = code == KelTA_Right  ? X - turned.X * 0.5
           : code == KelTA_Left ? X + turned.X * 0.5
                                : static_cast<double>(X);
    }
    box = CenteredBox(cx, cy, Wd, Hd);
  }

  // 7. Corners for hit testing, the drawing hook, the text box.
  if (Item) {
    Item->RotatedBounds = KelTurnedCorners(box, angle);
    // In 3D the label is drawn at the axis depth: so are its bounds.
    if (FParentChart->View3D())
      for (TPointF& corner : Item->RotatedBounds)
        corner = canvas->Calculate3DPosition(corner, static_cast<float>(IZPos));
  }
  std::string text = Text;
  bool draw = true;
  if (OnDrawLabel) {
    OnDrawLabel(this, X, Y, IZPos, text, draw);
    LeaveIfRemoved();
    if (!draw) return;
    if (text != Text) Format->SetText(text);
  }
  Format->Draw(FParentChart, box, IZPos, angle);
}

// An axis that its own handler took out of the chart during a paint is
// still alive (the chart frees it after the paint), so unwinding out of its
// drawing is safe; the chart then draws again without it.
void TChartAxis::LeaveIfRemoved() const {
  if (IRemovedInPaint && TElementGoneCatcher::Active()) throw EElementGone{};
}

}  // namespace sextant
