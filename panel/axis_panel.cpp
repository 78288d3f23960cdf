// Contents:
//   [Paging]      TChartPage
//   [Lists]       TChartSeriesList, TChartTools
//   [Panel]       construction and destruction
//   [Series]      adding, removing, queries
//   [Tools]       event broadcasts
//   [Ranges]      automatic axis ends and paging ranges
//   [Layout]      axis visibility, axis and series rectangles, depth
//   [Drawing]     the drawing order of one paint
//   [Palettes]    module palette, registry, series colours
#include "panel/axis_panel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "canvas/canvas3d.h"
#include "canvas/kel_exceptions.h"
#include "marks/series_marks.h"
#include "series/finite_point.h"

namespace sextant {

// ===========================================================================
// [Paging] TChartPage
// ===========================================================================

void TChartPage::SetAutoScale(bool Value) {
  if (FAutoScale != Value) {
    FAutoScale = Value;
    IParent->Invalidate();
  }
}

void TChartPage::SetScaleLastPage(bool Value) {
  if (FScaleLastPage != Value) {
    FScaleLastPage = Value;
    IParent->Invalidate();
  }
}

void TChartPage::SetMaxPointsPerPage(int Value) {
  if (Value < 0) throw ChartException(KelMsg_MaxPointsPerPage);
  if (FPointsPerPage != Value) {
    FPointsPerPage = Value;
    IParent->Invalidate();
  }
  const int pages = IParent->NumPages();
  if (FCurrent > pages) FCurrent = pages;
  IParent->BroadcastKelEventClass<TChartChangePage>();
}

void TChartPage::SetCurrent(int Value) {
  const int page = std::max(1, std::min(Value, IParent->NumPages()));
  if (page != FCurrent) {
    FCurrent = page;
    IParent->Invalidate();
    IParent->BroadcastKelEventClass<TChartChangePage>();
    CallEvent(IParent->OnPageChange, IParent);
  }
}

void TChartPage::Next() {
  if (FPointsPerPage > 0 && FCurrent < IParent->NumPages()) SetCurrent(FCurrent + 1);
}

void TChartPage::Previous() {
  if (FPointsPerPage > 0 && FCurrent > 1) SetCurrent(FCurrent - 1);
}

int TChartPage::Count() const {
  const int P = FPointsPerPage;
  if (P == 0 || IParent->SeriesCount() == 0) return 1;
  // Pages of one axis: from the active series with the most values on it.
  auto pagesOf = [this, P](const TChartAxis* Axis) {
    int n = 0;
    for (TChartSeries* s : IParent->SeriesList())
      if (s->Active() && s->AssociatedToAxis(Axis)) n = std::max(n, s->Count());
    if (n == 0) return 1;
    return n / P + (n % P > 0 ? 1 : 0);
  };
  if (IParent->SeriesList().First()->YMandatory())
    return std::max(pagesOf(IParent->BottomAxis()), pagesOf(IParent->TopAxis()));
  return std::max(pagesOf(IParent->RightAxis()), pagesOf(IParent->LeftAxis()));
}

// ===========================================================================
// [Lists] TChartSeriesList, TChartTools
// ===========================================================================

TChartSeries* TChartSeriesList::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw ChartException("Series index " + std::to_string(Index) + " out of bounds (0 to " +
                         std::to_string(Count() - 1) + ").");
  return FItems[static_cast<std::size_t>(Index)];
}

int TChartSeriesList::IndexOf(const TChartSeries* Series) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<std::size_t>(i)] == Series) return i;
  return -1;
}

void TChartSeriesList::ClearValues() {
  for (TChartSeries* s : FItems) s->Clear();
}

void TChartSeriesList::FillSampleValues(int NumValues) {
  for (TChartSeries* s : FItems) s->FillSampleValues(NumValues);
}

TKelCustomTool* TChartTools::Add(TKelCustomTool* Tool) {
  if (!Tool) return nullptr;
  if (FOwner)
    Tool->SetParentChart(FOwner);
  else if (IndexOf(Tool) < 0)
    FItems.push_back(Tool);
  return Tool;
}

int TChartTools::IndexOf(const TKelCustomTool* Tool) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<std::size_t>(i)] == Tool) return i;
  return -1;
}

void TChartTools::Clear() {
  // Each tool leaves the list when destroyed; take the list first so that
  // the loop does not depend on that.
  std::vector<TKelCustomTool*> items;
  items.swap(FItems);
  for (TKelCustomTool* t : items) delete t;
}

void TChartTools::SetActive(bool Value) {
  for (TKelCustomTool* t : FItems) t->SetActive(Value);
}

// ===========================================================================
// [Panel] construction and destruction
// ===========================================================================

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner) : TCustomKelPanelExtended(AOwner) {
  SetAutoRepaint(false);
  // Standard axes, in the order of every axis loop: bottom, top, left,
  // right, depth, depth-top.
  auto make = [this](std::unique_ptr<TChartAxis>& owned, const char* id, bool horizontal,
                     bool otherSide, bool depth) {
    owned = std::make_unique<TChartAxis>(this);
    TChartAxis* a = owned.get();
    a->IAxisID = id;
    a->FHorizontal = horizontal;
    a->FOtherSide = otherSide;
    a->IDepthAxis = depth;
    if (depth) a->FVisible = false;
    a->SetCalcPosValue();
    return a;
  };
  FBottomAxis = make(FOwnedBottom, "Bottom", true, false, false);
  FTopAxis = make(FOwnedTop, "Top", true, true, false);
  FTopAxis->FZPosition = 100;
  FLeftAxis = make(FOwnedLeft, "Left", false, false, false);
  FRightAxis = make(FOwnedRight, "Right", false, true, false);
  FRightAxis->FZPosition = 100;
  FDepthAxis = make(FOwnedDepth, "Depth", false, true, true);
  FDepthTopAxis = make(FOwnedDepthTop, "DepthTop", false, false, true);
  // The grids of the other-side axes stand at the back.
  FTopAxis->Grid()->InitZ(100);
  FRightAxis->Grid()->InitZ(100);
  FHover = std::make_unique<TChartHover>([this](TPersistent*) { Invalidate(); });
  SetAutoRepaint(true);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  Destroying();
  SetAutoRepaint(false);
  // Series: the chart frees those it shows (removing them from their owner),
  // except series owned by another series, which their owner frees; those
  // are only detached so that none keeps a reference to this chart.
  FreeSeriesWhere(nullptr);
  while (FSeriesList.Count() > 0) RemoveSeries(FSeriesList.Count() - 1);
  // Axis tools must not keep references to the axes freed below.
  for (TKelCustomTool* t : FTools)
    if (auto* axisTool = dynamic_cast<TKelCustomToolAxis*>(t)) axisTool->FAxis = nullptr;
  // Every axis of the axes list, standard ones first.
  FOwnedBottom.reset();
  FOwnedTop.reset();
  FOwnedLeft.reset();
  FOwnedRight.reset();
  FOwnedDepth.reset();
  FOwnedDepthTop.reset();
  FBottomAxis = FTopAxis = FLeftAxis = FRightAxis = FDepthAxis = FDepthTopAxis = nullptr;
  FCustomAxes.clear();
  FTools.Clear();
}

TChartAxis* TCustomAxisPanel::AddCustomAxis() {
  FCustomAxes.push_back(std::make_unique<TChartAxis>(this));
  Invalidate();
  return FCustomAxes.back().get();
}

void TCustomAxisPanel::RemoveCustomAxis(TChartAxis* Axis) {
  auto owned = std::find_if(FCustomAxes.begin(), FCustomAxes.end(),
                            [Axis](const std::unique_ptr<TChartAxis>& a) { return a.get() == Axis; });
  if (!Axis || owned == FCustomAxes.end() || Axis->IRemovedInPaint) return;
  for (TChartSeries* s : FSeriesList) {
    if (s->CustomHorizAxis() == Axis) s->SetCustomHorizAxis(nullptr);
    if (s->CustomVertAxis() == Axis) s->SetCustomVertAxis(nullptr);
  }
  for (TKelCustomTool* t : FTools)
    if (auto* axisTool = dynamic_cast<TKelCustomToolAxis*>(t))
      if (axisTool->FAxis == Axis) axisTool->FAxis = nullptr;
  Invalidate();
  if (Drawing()) {
    // Loops of this paint may be walking the axes list: it keeps the axis,
    // hidden, until the paint is between passes.
    Axis->IRemovedInPaint = true;
    Axis->IsVisible = false;
    ISeriesLeftWhileDrawing = true;
    return;
  }
  FCustomAxes.erase(owned);  // its destructor takes it off the axes list
}

void TCustomAxisPanel::FreeRemovedAxes() {
  std::erase_if(FCustomAxes, [](const std::unique_ptr<TChartAxis>& a) { return a->IRemovedInPaint; });
}

// ===========================================================================
// [Series]
// ===========================================================================

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* Series) {
  if (Series) Series->SetParentChart(this);
  return Series;
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries* Series) {
  if (!Series || FSeriesList.IndexOf(Series) >= 0) return;
  // Only the reference is stored here: the series' own SetParentChart is
  // what calls this function.
  Series->TCustomChartElement::SetParentChart(this);
  Series->Added();
  FSeriesList.FItems.push_back(Series);
  BroadcastSeriesEvent(Series, seAdd);
  CallEvent(OnAddSeries, this, Series);
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* Series) {
  RemoveSeries(FSeriesList.IndexOf(Series));
}

void TCustomAxisPanel::RemoveSeries(int Index) {
  if (Index < 0 || Index >= FSeriesList.Count()) return;
  TChartSeries* s = FSeriesList.FItems[static_cast<std::size_t>(Index)];
  // The layout of a paint under way still counts the series (axis ranges,
  // legend items): that paint starts again without it.
  if (Drawing()) ISeriesLeftWhileDrawing = true;
  BroadcastSeriesEvent(s, seRemove);
  s->Removed();
  FSeriesList.FItems.erase(FSeriesList.FItems.begin() + Index);
  CallEvent(OnRemoveSeries, this, s);
  BroadcastSeriesEvent(s, seAfterRemove);
  // A removed series no longer refers to this chart, so that it can be
  // added again and never reaches a destroyed chart.
  if (s->ParentChart() == this) s->TCustomChartElement::SetParentChart(nullptr);
  Invalidate();
}

int TCustomAxisPanel::CountActiveSeries() const {
  int n = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) ++n;
  return n;
}

int TCustomAxisPanel::GetMaxValuesCount() const {
  int n = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) n = std::max(n, s->Count());
  return n;
}

bool TCustomAxisPanel::AxisHasActiveSeries(const TChartAxis* Axis) const {
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && s->AssociatedToAxis(Axis)) return true;
  return false;
}

TChartSeries* TCustomAxisPanel::GetAxisSeries(const TChartAxis* Axis) const {
  TChartSeries* inactive = nullptr;
  for (TChartSeries* s : FSeriesList) {
    if (!s->AssociatedToAxis(Axis)) continue;
    if (s->Active()) return s;
    if (!inactive) inactive = s;
  }
  return inactive;
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(const TChartAxis* Axis) const {
  const bool anyActive = AxisHasActiveSeries(Axis);
  TChartSeries* result = nullptr;
  for (TChartSeries* s : FSeriesList) {
    if (!s->AssociatedToAxis(Axis) || (anyActive && !s->Active())) continue;
    if (!result || s->Count() > result->Count()) result = s;
  }
  return result;
}

static bool OwnedBySeries(const TChartSeries* Series) {
  return dynamic_cast<const TChartSeries*>(Series->Owner()) != nullptr;
}

void TCustomAxisPanel::FreeSeriesWhere(const std::function<bool(TChartSeries*)>& Condition) {
  // Freeing a series may free series it owns, so the list is searched again
  // after each one.
  for (;;) {
    TChartSeries* victim = nullptr;
    for (TChartSeries* s : FSeriesList)
      if (!OwnedBySeries(s) && (!Condition || Condition(s))) {
        victim = s;
        break;
      }
    if (!victim) return;
    RemoveSeries(victim);
    delete victim;
  }
}

void TCustomAxisPanel::FreeAllSeries(const std::function<bool(TChartSeries*)>& OfKind) {
  FreeSeriesWhere(OfKind);
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeries* Series, TChartSeriesEvent Event) {
  if (DoNotBroadcast || ListenerCount() == 0) return;
  TKelSeriesEvent e;
  e.Series = Series;
  e.Event = Event;
  BroadcastKelEvent(e);
}

void TCustomAxisPanel::ChangedAxisScale(TChartAxis* Axis) {
  for (TChartSeries* s : FSeriesList) s->ChangedAxisScale(Axis);
  Invalidate();
}

// ===========================================================================
// [Tools] event broadcasts (by index: a tool may leave the list meanwhile)
// ===========================================================================

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent Event) {
  // Over a copy: a tool's handler may destroy tools or take them out of the
  // chart; those are skipped (the copy is only compared, never used, for a
  // tool no longer in the list).
  const std::vector<TKelCustomTool*> tools = FTools.FItems;
  for (TKelCustomTool* t : tools) {
    if (FTools.IndexOf(t) < 0 || !t->Active()) continue;
    DrawElement([&] { t->ChartEvent(Event); });
  }
}

template <class TDraw>
void TCustomAxisPanel::DrawElement(TDraw&& Draw) {
  TCanvas3D* c = Canvas();
  const std::size_t entities = c->EntityDepth();
  const bool clipped = IClipped;
  TElementGoneCatcher catcher;
  try {
    Draw();
  } catch (const EElementGone&) {
    if (IClipped && !clipped) ClipRegionDone();
    while (c->EntityDepth() > entities) c->EndEntity();
  }
}

void TCustomAxisPanel::BroadcastMouseEvent(TChartMouseEvent Event, TMouseButton Button,
                                           TShiftState Shift, int X, int Y) {
  // Over a copy, as in BroadcastToolEvent: a tool's handler may destroy it.
  const std::vector<TKelCustomTool*> tools = FTools.FItems;
  TElementGoneCatcher catcher;
  for (TKelCustomTool* t : tools) {
    if (FTools.IndexOf(t) < 0 || !t->Active()) continue;
    try {
      t->ChartMouseEvent(Event, Button, Shift, X, Y);
    } catch (const EElementGone&) {
    }
    if (FCancelMouse) break;
  }
}

void TCustomAxisPanel::BroadcastWheelEvent(TWheelMouseEvent Event, int Delta, int X, int Y) {
  for (int i = 0; i < FTools.Count(); ++i) {
    TKelCustomTool* t = FTools.Items(i);
    if (!t->Active()) continue;
    t->WheelMouseEvent(Event, Delta, X, Y);
    if (FCancelMouse) break;
  }
}

void TCustomAxisPanel::BroadcastKeyEvent(TChartKeyEvent Event, std::uint16_t& Key,
                                         char16_t& KeyChar, TShiftState Shift) {
  for (int i = 0; i < FTools.Count(); ++i) {
    TKelCustomTool* t = FTools.Items(i);
    if (t->Active()) t->ChartKeyEvent(Event, Key, KeyChar, Shift);
  }
}

void TCustomAxisPanel::BroadcastDragDropEvent(TChartDragDropEvent Event, void* Source, int X,
                                              int Y, TDragState State, bool& Accept,
                                              void* DragObject) {
  for (int i = 0; i < FTools.Count(); ++i) {
    TKelCustomTool* t = FTools.Items(i);
    if (t->Active()) t->ChartDragDropEvent(Event, Source, X, Y, State, Accept, DragObject);
  }
}

// ===========================================================================
// [Ranges] automatic axis ends and paging
// ===========================================================================

void TCustomAxisPanel::CalcFirstLastPage(const TChartSeries* Series, int& First,
                                         int& Last) const {
  const long long N = Series->Count();
  const long long P = FPage.MaxPointsPerPage();
  const long long C = FPage.Current();
  if (N == 0) {
    First = Last = -1;
    return;
  }
  if (P == 0) {
    First = 0;
    Last = static_cast<int>(N - 1);
    return;
  }
  long long first = (C - 1) * P;
  // A page beyond the data (points were removed after the page was set)
  // shows the last full page.
  if (first >= N) first = P * std::max<long long>(0, N / P - 1);
  long long last = first + P - 1;
  if (last >= N) last = (N % P) + first - 1;
  First = static_cast<int>(first);
  Last = static_cast<int>(last);
}

// The positional values of a series: X for ordinary series, Y for series
// whose X values are mandatory (horizontal kinds).
static const TChartValueList* PositionalList(const TChartSeries* Series) {
  return Series->YMandatory() ? Series->XValues() : Series->YValues();
}

// The smallest (IsMin) or largest X (IsX) or Y of the drawable points
// From..To of a series: those whose X and Y are both finite. Found tells
// whether there is one. NaN and infinities have no place on a scale, and a
// point that cannot be drawn lends neither of its values to a range. With
// PositiveOnly (a logarithmic axis) values that are not positive are left
// out as well.
static double FiniteExtreme(const TChartSeries* Series, long long From, long long To, bool IsMin, bool IsX,
                            bool& Found, bool PositiveOnly = false) {
  const double* xs = Series->XValues()->Data();
  const double* ys = Series->YValues()->Data();
  const double* values = IsX ? xs : ys;
  Found = false;
  double result = 0;
  for (long long i = From; i <= To; ++i) {
    if (!IsFinitePoint(xs[i], ys[i])) continue;
    const double v = values[i];
    if (PositiveOnly && !(v > 0)) continue;
    if (!Found || (IsMin ? v < result : v > result)) result = v;
    Found = true;
  }
  return result;
}

double TCustomAxisPanel::PageMinMax(const TChartAxis* Axis, bool IsMin) const {
  const TChartSeries* S = GetAxisSeriesMaxPoints(Axis);
  if (!S || S->Count() == 0) return 0;
  int first = 0, last = 0;
  CalcFirstLastPage(S, first, last);
  const TChartValueList* list = PositionalList(S);
  const bool positionIsX = list == S->XValues();
  double xFirst = list->Value(first);
  double xLast = list->Value(last);
  // A first or last point that cannot be drawn gives way to the page's
  // extreme over its drawable points (none at all: 0).
  const bool firstDrawable = IsFinitePoint(S->XValues()->Value(first), S->YValues()->Value(first));
  const bool lastDrawable = IsFinitePoint(S->XValues()->Value(last), S->YValues()->Value(last));
  if (!firstDrawable || !lastDrawable) {
    bool found = false;
    const double lo = FiniteExtreme(S, first, last, true, positionIsX, found);
    if (!found) return 0;
    const double hi = FiniteExtreme(S, first, last, false, positionIsX, found);
    if (!firstDrawable) xFirst = lo;
    if (!lastDrawable) xLast = hi;
  }
  double end = xLast;
  const int P = FPage.MaxPointsPerPage();
  const int k = last - first + 1;
  if (!FPage.ScaleLastPage() && k < P) {
    // The last, partial page is scaled as if it were full (kept at the
    // last value where that leaves the doubles).
    const double scaled = xLast == xFirst ? xFirst + static_cast<double>(P) / k
                                          : xFirst + P * (xLast - xFirst) / k;
    if (std::isfinite(scaled)) end = scaled;
  }
  // Descending positional values: the page's last value is its smallest,
  // and the ends are taken in order so that the minimum never exceeds the
  // maximum.
  return IsMin ? std::min(xFirst, end) : std::max(xFirst, end);
}

double TCustomAxisPanel::InternalMinMax(const TChartAxis* Axis, bool IsMin, bool IsX) const {
  // The depth scale of 3D charts is not computed from series values.
  if (!Axis || Axis->IsDepthAxis()) return 0;
  const int P = FPage.MaxPointsPerPage();
  if (P >= 1) {
    const TChartSeries* first = GetAxisSeries(Axis);
    if (first && first->YMandatory() == IsX) return PageMinMax(Axis, IsMin);
  }

  auto associated = [Axis, IsX](const TChartSeries* s) {
    if (IsX) return s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == Axis;
    return s->VertAxis() == aBothVertAxis || s->GetVertAxis() == Axis;
  };
  bool anyActive = false;
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && associated(s)) {
      anyActive = true;
      break;
    }

  const bool pageOnly = P > 0 && FPage.AutoScale();
  const long long pageStart = static_cast<long long>(FPage.Current() - 1) * P;
  bool found = false;
  double result = 0;
  for (TChartSeries* s : FSeriesList) {
    if ((!s->Active() && anyActive) || s->Count() == 0 || s->INoAxisMinMax || !associated(s))
      continue;
    double v;
    if (pageOnly) {
      const int N = s->Count();
      if (pageStart >= N) continue;
      const long long stop = std::min<long long>(pageStart + P, N);
      bool any = false;
      v = FiniteExtreme(s, pageStart, stop - 1, IsMin, IsX, any, Axis->Logarithmic());
      if (!any) continue;
    } else if (Axis->Logarithmic()) {
      // Only positive values have a place on a logarithmic scale.
      bool any = false;
      v = FiniteExtreme(s, 0, s->Count() - 1, IsMin, IsX, any, true);
      if (!any) continue;
    } else {
      // The series' extremes come from its drawable points; a series
      // without one gives none.
      if (!s->HasFinitePoint()) continue;
      if (IsX)
        v = IsMin ? s->MinXValue() : s->MaxXValue();
      else
        v = IsMin ? s->MinYValue() : s->MaxYValue();
      // A kind that computes its own extremes may still give a value that
      // has no place on a scale.
      if (!std::isfinite(v)) continue;
    }
    if (!found)
      result = v;
    else
      result = IsMin ? std::min(result, v) : std::max(result, v);
    found = true;
  }
  return result;
}

// ===========================================================================
// [Layout]
// ===========================================================================

bool TCustomAxisPanel::CalcIsAxisVisible(const TChartAxis* Axis) const {
  if (!FAxisVisible || !Axis->Visible() || Axis->IRemovedInPaint) return false;
  if (Axis->IsDepthAxis()) return View3D();
  bool anyActive = false;
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active()) continue;
    anyActive = true;
    if (!s->UseAxis()) return false;
    if (s->AssociatedToAxis(Axis)) return true;
  }
  return !anyActive;
}

// Overlap of two rectangles; false when they do not overlap.
static bool IntersectRectF(TRectF& Result, const TRectF& A, const TRectF& B) {
  const TRectF r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
  if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
  Result = r;
  return true;
}

void TCustomAxisPanel::CalcAxisRect() {
  for (TChartAxis* a : FAxes) {
    a->IsVisible = CalcIsAxisVisible(a);
    a->AdjustMaxMin();
  }
  for (TChartAxis* a : FAxes) a->InternalCalcPositions();
  TRectF R = ChartRect;
  for (TChartAxis* a : FAxes) {
    if (!a->IsVisible) continue;
    TRectF reduced = R;
    a->CalcRect(reduced, a->ResizeChart());
    IntersectRectF(R, reduced, R);
  }
  ChartRect = R;
  ReCalcWidthHeight();
  for (TChartAxis* a : FAxes) a->InternalCalcPositions();
}

void TCustomAxisPanel::CalcSeriesRect() {
  for (TChartAxis* a : FAxes) {
    if (a->IsDepthAxis() && !View3D()) continue;
    TRectF R{};
    const bool horizontal = a->Horizontal();
    if (!a->IsDepthAxis() && (a->AutomaticMinimum() || a->AutomaticMaximum())) {
      for (TChartSeries* s : FSeriesList) {
        if (!s->Active() || !s->AssociatedToAxis(a)) continue;
        if (horizontal) {
          int left = 0, right = 0;
          s->CalcHorizMargins(left, right);
          if (a->AutomaticMinimum()) R.Left = std::max(R.Left, static_cast<float>(left));
          if (a->AutomaticMaximum()) R.Right = std::max(R.Right, static_cast<float>(right));
        } else {
          int top = 0, bottom = 0;
          s->CalcVerticalMargins(top, bottom);
          if (a->AutomaticMinimum()) R.Bottom = std::max(R.Bottom, static_cast<float>(bottom));
          if (a->AutomaticMaximum()) R.Top = std::max(R.Top, static_cast<float>(top));
        }
      }
    }
    // The minimum end lies left (horizontal) or at the bottom (vertical),
    // the other way round when the axis is inverted.
    const bool inv = a->Inverted();
    const bool startIsMin = horizontal || a->IsDepthAxis();
    float& minEnd = startIsMin ? (inv ? R.Right : R.Left) : (inv ? R.Top : R.Bottom);
    float& maxEnd = startIsMin ? (inv ? R.Left : R.Right) : (inv ? R.Bottom : R.Top);
    if (a->MinimumOffset() != 0 || a->MaximumOffset() != 0) {
      minEnd += static_cast<float>(a->MinimumOffset());
      maxEnd += static_cast<float>(a->MaximumOffset());
    }
    if (a->IGapSize > 0) maxEnd += static_cast<float>(a->IGapSize);
    a->AdjustMaxMinRect(R);
    // Rounded ends are taken from the widened scale, so that the rounded
    // range holds the margins too.
    a->CalcRoundScales();
  }
}

void TCustomAxisPanel::SetSeriesZOrder() {
  FMaxZOrder = 0;
  const bool slots = ApplyZOrder() && View3D();
  if (slots) {
    FMaxZOrder = -1;
    for (TChartSeries* s : FSeriesList)
      if (s->Active() && !s->IInternalUse) s->CalcZOrder();
  }
  // The first series takes the back slot (drawn first, behind the later
  // ones); an inverted depth axis keeps the slots front to back.
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active() || s->IInternalUse) continue;
    if (!slots)
      s->IZOrder = 0;
    else if (!FDepthAxis->Inverted())
      s->IZOrder = FMaxZOrder - s->IZOrder;
  }
}

int TCustomAxisPanel::TakeZOrder(int Requested) {
  if (Requested >= 0) {
    FMaxZOrder = std::max(FMaxZOrder, Requested);
    return Requested;
  }
  return ++FMaxZOrder;
}

void TCustomAxisPanel::CalcSize3DWalls() {
  if (!View3D()) {
    FSeriesWidth3D = 0;
    FSeriesHeight3D = 0;
    FWidth3D = 0;
    FHeight3D = 0;
    return;
  }
  const int n = ApplyZOrder() ? std::max(1, FMaxZOrder + 1) : 1;
  double f = F3DPercent * 0.001;
  if (!View3DOptions()->Orthogonal()) f *= 2;
  FSeriesWidth3D = KelRound(ChartWidth() * f);
  // One pixel of depth moves one pixel sideways and r pixels up: a steep
  // view keeps the slot's height and narrows its depth instead.
  const double r = View3DOptions()->OrthoRatio();
  if (r > 1) FSeriesWidth3D = KelRound(FSeriesWidth3D / r);
  FSeriesHeight3D = KelBoundPixel(static_cast<long long>(KelRound(std::min(FSeriesWidth3D * r, 1e9))));
  FHeight3D = KelBoundPixel(static_cast<long long>(n) * FSeriesHeight3D);
  FWidth3D = KelBoundPixel(static_cast<long long>(n) * FSeriesWidth3D);
}

void TCustomAxisPanel::CalcInvertedRotation() {
  InvertedRotation = false;
  if (!View3D()) return;
  const TView3DOptions* v = View3DOptions();
  if (v->Orthogonal())
    InvertedRotation = v->OrthoAngle() > 90;
  else
    InvertedRotation = v->Rotation() < 180;
}

// ===========================================================================
// [Drawing]
// ===========================================================================

void TCustomAxisPanel::InternalDraw(const TRectF& UserRectangle) {
  // Changes made while drawing must not request new paints; the flag is
  // restored even when an event handler throws.
  const bool oldAutoRepaint = AutoRepaint();
  SetAutoRepaint(false);
  ++FDrawingDepth;
  struct Restore {
    TCustomAxisPanel* p;
    bool v;
    ~Restore() {
      if (--p->FDrawingDepth == 0) p->FreeRemovedAxes();
      p->SetAutoRepaint(v);
    }
  } restore{this, oldAutoRepaint};

  // A series that leaves the chart from one of its handlers (destroyed or
  // removed) leaves a layout that still counts it: the paint starts again
  // without it, over what was drawn. Every restart has one series less,
  // unless handlers keep adding new ones; the bound ends that.
  constexpr int KelMaxPaintRestarts = 16;
  TElementGoneCatcher catcher;
  for (int attempt = 0;; ++attempt) {
    if (FDrawingDepth == 1) FreeRemovedAxes();
    ISeriesLeftWhileDrawing = false;
    try {
      DrawChart(UserRectangle);
      if (!ISeriesLeftWhileDrawing) return;
      throw EElementGone{};
    } catch (const EElementGone&) {
      ClipRegionDone();
      Canvas()->ResetState();
      while (Canvas()->EntityDepth() > 0) Canvas()->EndEntity();
      if (attempt == KelMaxPaintRestarts) return;
    }
  }
}

void TCustomAxisPanel::DrawChart(const TRectF& UserRectangle) {
  TCanvas3D* c = Canvas();
  CalcInvertedRotation();
  const bool fullRotation = c->SupportsFullRotation();
  if (!fullRotation) PanelPaint(UserRectangle);
  BroadcastToolEvent(cteBeforeDraw);
  DoOnBeforeDrawChart();
  for (int i = 0; i < SeriesCount(); ++i)
    if (FSeriesList.FItems[static_cast<std::size_t>(i)]->Active())
      FSeriesList.FItems[static_cast<std::size_t>(i)]->DoBeforeDrawChart();
  if (fullRotation) {
    SetSeriesZOrder();
    CalcWallsRect();
  }
  if (!IsEmbedded) DrawTitlesAndLegend(true);
  if (!fullRotation) {
    SetSeriesZOrder();
    CalcWallsRect();
  }
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) s->BeforeCalcAxis();
  CalcAxisRect();
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) s->CalcDepthPositions();
  CalcSeriesRect();
  if (!IsEmbedded && !fullRotation) c->Projection(Width3D(), ChartBounds(), ChartRect);
  DrawAxesSeries();
  if (ISeriesLeftWhileDrawing) throw EElementGone{};  // the legend would show it
  if (!IsEmbedded) DrawTitlesAndLegend(false);
  DrawZoomRectangleIfActive();
  BroadcastToolEvent(cteAfterDraw);
  c->ResetState();
  DoOnAfterDraw();
}

void TCustomAxisPanel::DrawAxesSeries() {
  DrawWalls();
  if (FAxisBehind) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    DrawAllAxis();
  }
  BroadcastToolEvent(cteBeforeDrawSeries);
  DoOnBeforeDrawSeries();
  DrawAllSeries();
  BroadcastToolEvent(cteAfterDrawSeries);
  if (!FAxisBehind) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    DrawAllAxis();
  }
}

void TCustomAxisPanel::DrawAllAxis() {
  if (!FAxisVisible) return;
  TCanvas3D* c = Canvas();
  c->BeginEntity("Axes");
  DoOnBeforeDrawAxes();
  // With the back wall drawn after the series, the walls draw the bottom axis.
  const bool bottomWithWalls = DrawBackWallAfter(0);
  for (TChartAxis* a : FAxes) {
    if (!a->IsVisible) continue;
    if (a == FBottomAxis && bottomWithWalls) continue;
    a->Draw(true);
  }
  c->EndEntity();
}

int TCustomAxisPanel::CalcWallSize(const TChartAxis*) const { return 0; }

bool TCustomAxisPanel::DrawBackWallAfter(int Z) {
  TCanvas3D* c = Canvas();
  if (c->SupportsFullRotation() || !View3D()) return false;
  return KelCull(c->FourPointsFromRect(ChartRect, Z));
}

void TCustomAxisPanel::DrawAllSeries() {
  if (SeriesCount() == 0) return;
  TCanvas3D* c = Canvas();
  c->BeginEntity("Series");
  // Working copy of the order: a series event handler may change the list,
  // destroy series or take them out of the chart; those are skipped (the
  // copy is only compared for a series no longer in the list).
  std::vector<TChartSeries*> order = FSeriesList.FItems;
  const bool ascending = c->SupportsFullRotation() || order.front()->DrawSeriesAscending();
  if (!ascending) std::reverse(order.begin(), order.end());
  auto stillShown = [this](TChartSeries* s) { return FSeriesList.IndexOf(s) >= 0 && s->Active(); };
  for (TChartSeries* s : order)
    if (stillShown(s)) DrawElement([&] { DrawSeries(s); });
  for (TChartSeries* s : order) {
    if (!stillShown(s) || !MarksOnTop(s)) continue;
    DrawElement([&] {
      if (c->SupportsID) c->BeginEntity(s->Name() + "_Top");
      DrawMarksSeries(s);
      if (c->SupportsID) c->EndEntity();
    });
  }
  c->EndEntity();
}

void TCustomAxisPanel::DrawSeries(TChartSeries* Series) {
  Series->CalcFirstLastVisibleIndex();
  if (Series->FirstValueIndex() == -1) return;
  TCanvas3D* c = Canvas();
  if (Series->UseAxis() && FClipPoints) ClipRegionCreate();
  c->BeginEntity(Series->Name());
  Series->DoBeforeDrawValues();
  Series->DoBeforeParallel();
  Series->DrawAllValues();
  ClipRegionDone();
  if (!MarksOnTop(Series)) DrawMarksSeries(Series);
  Series->DoAfterDrawValues();
  c->EndEntity();
}

bool TCustomAxisPanel::MarksOnTop(TChartSeries* Series) const {
  return Series->HasMarks() && Series->Marks()->OnTop();
}

void TCustomAxisPanel::DrawMarksSeries(TChartSeries* Series) {
  if (!Series->HasMarks() || Series->Count() == 0) return;
  TSeriesMarks* marks = Series->Marks();
  if (!marks->Visible()) return;
  if (marks->Clip()) ClipRegionCreate();
  TCanvas3D* c = Canvas();
  c->BeginEntity("Marks");
  Series->DrawMarks();
  c->EndEntity();
  ClipRegionDone();
}

void TCustomAxisPanel::ClipRegionCreate() {
  if (!CanClip()) return;
  TRectF R = ChartRect;
  R.Top -= 1;
  R.Bottom += 1;
  Canvas()->ClipCube(R, 0, Width3D());
  IClipped = true;
}

void TCustomAxisPanel::ClipRegionDone() {
  if (!IClipped) return;
  Canvas()->UnClipRectangle();
  IClipped = false;
}

// ===========================================================================
// [Palettes]
// ===========================================================================

static const std::vector<TColor> DefaultPalette = {
    0xFFFF0000, 0xFF008000, 0xFFFFFF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFFFF00FF,
    0xFF008080, 0xFF000080, 0xFF800000, 0xFF00FF00, 0xFF808000, 0xFF800080, 0xFFC0C0C0,
    0xFF00FFFF, 0xFF000000, 0xFFC0DCC0, 0xFF87CEEB, 0xFFF0FBFF, 0xFFA0A0A0};

// Installed at start-up; holds the default table from the beginning so that
// a chart created without the start-up step still has colours.
std::vector<TColor> KelColorPalette = DefaultPalette;

void InstallDefaultPalette() { KelColorPalette = DefaultPalette; }

const std::vector<TColorPalette>& ColorPalettes() {
  // Colours as ARGB: the registry's stored values with red and blue
  // exchanged and alpha 0xFF.
  static const std::vector<TColorPalette> palettes = [] {
    auto argb = [](std::initializer_list<TColor> rgb) {
      std::vector<TColor> v;
      for (TColor c : rgb) v.push_back(0xFF000000u | c);
      return v;
    };
    return std::vector<TColorPalette>{
        {"Dravik", {}},
        {"Excel", argb({0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC,
                        0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
                        0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF00, 0x99CCFF,
                        0xFF99CC})},
        {"Victorian", argb({0x5DA5A1, 0xC45331, 0xE79609, 0xF6E84A, 0xB1A2A7, 0xC9A784,
                            0x8C7951, 0xD8CDB7, 0x086553, 0xF7D87B, 0x016484})},
        {"Pastels", argb({0xCCFFFF, 0xFFFFCC, 0xCCCCFF, 0x00CCCC, 0xCCCCCC, 0x009999, 0x999999,
                          0xFFCCCC, 0xFFCC66, 0xCCCCFF, 0xFF9999, 0xFFFF99, 0x99CCFF,
                          0xCCFFCC})},
        {"Solid", argb({0x0000FF, 0xFF0000, 0x00FF00, 0xFFCC00, 0x404040, 0xFFFF00, 0xFF00C0,
                        0xFFFFFF})},
        {"Classic", argb({0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x000080,
                          0x008000, 0x008080, 0x800000, 0x800080, 0x808000})},
        {"Web", argb({0xFFA500, 0x0000CE, 0x00CE00, 0xFFFF40, 0x40FFFF, 0xFF40FF, 0xFF4000,
                      0x8080A5, 0x808040})},
        {"Modern", argb({0xFF9966, 0xFF6666, 0x99CCFF, 0x669966, 0xCCCC99, 0x9966CC, 0xCC6666,
                         0xFFCC99, 0x9966FF, 0xCCCCCC, 0x66FFCC, 0x6699FF, 0x996699,
                         0xCCCCFF})},
        {"Rainbow", argb({0x990000, 0xC30000, 0xEE0000, 0xFF1A00, 0xFF4600, 0xFF7300, 0xFF9F00,
                          0xFFCB00, 0xFFF700, 0xE3F408, 0xC3E711, 0xA3DA1B, 0x83CD25, 0x63C02E,
                          0x42B338, 0x22A642, 0x029A4B, 0x0C876A, 0x1A758A, 0x2863AA, 0x3650CB,
                          0x443EEB, 0x612AFF, 0x9615FF, 0xCC00FF})},
        {"Win. XP", argb({0x829BFE, 0xFCD124, 0x7CBC0D, 0xFD852F, 0xFDFEFC, 0xE24E21, 0x2938D6,
                          0xB79400, 0x5A8600, 0xD24600, 0xD3E5FA, 0xD8D8D8, 0x5F717B})},
        {"Mac OS", argb({0xFFFFFF, 0xFCF305, 0xFF6402, 0xDD0806, 0xF20884, 0x4600A5, 0x0000D4,
                         0x02ABEA, 0x1FB714, 0x006411, 0x562C05, 0x90713A, 0xC0C0C0, 0x808080,
                         0x404040, 0x000000})},
        {"Win. Vista", argb({0x001FD2, 0xE00201, 0x1E6602, 0xE8CD7E, 0xAFABAC, 0xA4D0D9,
                             0x3D3B3C, 0x95DD31, 0x9E0001, 0xDCF774, 0x45FDFD, 0xD18E74,
                             0xA0D891, 0xD57A65, 0x9695D9})},
        {"Gray scale", argb({0xF0F0F0, 0xE0E0E0, 0xD0D0D0, 0xC0C0C0, 0xB0B0B0, 0xA0A0A0,
                             0x909090, 0x808080, 0x707070, 0x606060, 0x505050, 0x404040,
                             0x303030, 0x202020, 0x101010})},
        {"Opera", argb({0x4466A3, 0xF39C35, 0xF14C14, 0x4E97A8, 0x2B406B, 0x1D7B63, 0xB3080E,
                        0xF2C05D, 0x5DB79E, 0x707070, 0xF3EA8D, 0xB4B4B4})},
        {"Warm", argb({0xF3EA8D, 0xF2C05D, 0xF39C35, 0xF5811C, 0xF36B15, 0xF14C14, 0xE6180A,
                       0xB3080E})},
        {"Cool", argb({0x2B406B, 0x3B548C, 0x4466A3, 0x4E97A8, 0x5DB79E, 0x41A08A, 0x2B927D,
                       0x1D7B63})},
        {"BlackIsBack", argb({0xC8E65A, 0x5A96DC, 0xE65A28, 0xE6A00F})},
        {"Metro", argb({0xA200FF, 0xFF0097, 0x00ABA9, 0x8CBF26, 0xA05000, 0xE671B8, 0xF09609,
                        0x1BA1E2, 0xE51400, 0x339933})},
        {"iOS", argb({0x48CCFD, 0x86CD4D, 0x9A9A9A, 0xF7D284, 0x465F98, 0xA65F41, 0x9C7B48,
                      0x8C61D2, 0x758EAC, 0xFF8904, 0xE2393E, 0xB5D197})},
        {"Android", argb({0x33B5E5, 0xAA66CC, 0x99CC00, 0xFFBB33, 0xFF4444, 0x0099CC, 0x9933CC,
                          0x669900, 0xFF8800, 0xCC0000, 0x88C4E5, 0xCFB1DE, 0xCCFF00, 0xFFEC91,
                          0xFFBBBB})},
        {"Lookout", argb({0x7799D6, 0xFFCF68, 0xFF7F47, 0x81CADB, 0x5E739E, 0x50AE96, 0xE63B41,
                          0xFFF390, 0x90EAD1, 0xA3A3A3, 0xFFFFC0, 0xE7E7E7})},
        {"Seawash", argb({0xDC5C05, 0xFFAC00, 0x6EC5B8, 0xE8D0A9, 0x978B7D, 0xC7BAA7, 0xC1DAD6,
                          0xFFC99F, 0xACD1E9, 0x6D929B, 0xD3E397, 0xFFF5C3})},
        {"Activity", argb({0xF8D907, 0xF50D07, 0xF7038F, 0xD21040, 0xF68D07, 0xFB00FF, 0xF9FF08,
                           0xF54907, 0xC00383, 0xD6E419})},
    };
  }();
  return palettes;
}

std::vector<TColor> GetPalette(int Index) {
  const auto& palettes = ColorPalettes();
  if (Index < 0 || Index >= static_cast<int>(palettes.size())) return {};
  return palettes[static_cast<std::size_t>(Index)].Colors;
}

TColor TCustomAxisPanel::GetDefaultColor(int Index) const {
  const std::vector<TColor>& palette = ColorPalette.empty() ? KelColorPalette : ColorPalette;
  if (palette.empty()) return claBlack;  // both palettes emptied by the user
  const int n = static_cast<int>(palette.size());
  int i = Index % n;
  if (i < 0) i += n;
  return palette[static_cast<std::size_t>(i)];
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool CheckBackground,
                                            const TChartSeries* Series) const {
  const std::vector<TColor>& palette = ColorPalette.empty() ? KelColorPalette : ColorPalette;
  if (palette.empty()) return claBlack;
  const int n = static_cast<int>(palette.size());
  // The last colour is reached only through the fallback.
  for (int i = 0; i < n - 1; ++i) {
    const TColor c = palette[static_cast<std::size_t>(i)];
    if (IsFreeSeriesColor(c, CheckBackground, Series)) return c;
  }
  return palette[static_cast<std::size_t>(SeriesCount() % n)];
}

}  // namespace sextant
