#include "panel/legend.h"

#include <algorithm>
#include <cmath>

#include "axes/value_format.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "panel/custom_chart.h"

namespace sextant {

namespace {

// Pixels between the frame and the items, above and below.
constexpr int KelLegendVertPadding = 2;

}  // namespace

// ---- Symbol and title ------------------------------------------------------------

void TLegendSymbol::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TLegendSymbol*>(Source);
  if (!src) AssignError(Source);
  FVisible = src->FVisible;
  FWidth = src->FWidth;
  CallEvent(OnChange, this);
}

void TLegendSymbol::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  CallEvent(OnChange, this);
}

void TLegendSymbol::SetWidth(int Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  CallEvent(OnChange, this);
}

TLegendTitle::TLegendTitle(IShapePanel* Parent) : TTextShape(Parent) {
  IDraw2D = true;
  InitTransparent(true);
  InitTextAlignment(taCenter);
  FFont->InitStyle(fsBold);
  InitShadow(Shadow());
}

std::unique_ptr<TKelCustomShape> TLegendTitle::Create(IShapePanel* Parent) const {
  return std::make_unique<TLegendTitle>(Parent);
}

void TLegendTitle::InitShadow(TKelShadow* AShadow) {
  if (AShadow) AShadow->InitValues(AShadow->Visible(), claSilver, 2);
}

// ---- Legend: settings ------------------------------------------------------------

TCustomChartLegend::TCustomChartLegend(TCustomChart* Chart)
    : TKelCustomShapePosition(Chart), FChart(Chart) {
  FDividingLines = std::make_unique<TKelHiddenPen>();
  FDividingLines->InitEndStyle(esFlat);
  FDividingLines->OnChange = ChangedCallback();
  FSymbol = std::make_unique<TLegendSymbol>(ChangedCallback());
  IDraw2D = true;
  // The same initial gradient as the marks of a series.
  TKelGradient* gradient = FBrush->Gradient();
  gradient->InitDirection(gdRightLeft);
  gradient->InitColors(claSilver, 0, claWhite);
}

TCustomChartLegend::~TCustomChartLegend() = default;

void TCustomChartLegend::Assign(const TPersistent* Source) {
  TKelCustomShapePosition::Assign(Source);
  const auto* src = dynamic_cast<const TCustomChartLegend*>(Source);
  if (!src || src == this) return;
  FAlignment = src->FAlignment;
  FCheckBoxes = src->FCheckBoxes;
  FCheckBoxesStyle = src->FCheckBoxesStyle;
  FCurrentPage = src->FCurrentPage;
  FDividingLines->Assign(src->FDividingLines.get());
  FDrawBehind = src->FDrawBehind;
  FFirstValue = src->FFirstValue;
  FFontSeriesColor = src->FFontSeriesColor;
  FGlobalTransparency = src->FGlobalTransparency;
  FHorizJustify = src->FHorizJustify;
  FHorizMargin = src->FHorizMargin;
  FInverted = src->FInverted;
  FLeftPercent = src->FLeftPercent;
  FLegendStyle = src->FLegendStyle;
  FMaxNumRows = src->FMaxNumRows;
  FPositionUnits = src->FPositionUnits;
  FResizeChart = src->FResizeChart;
  FSymbol->Assign(src->FSymbol.get());
  FTextStyle = src->FTextStyle;
  FTextSymbolGap = src->FTextSymbolGap;
  if (src->FTitle) Title()->Assign(src->FTitle.get());
  FTopPos = src->FTopPos;
  FTopPercent = src->FTopPercent;
  FVertMargin = src->FVertMargin;
  FVertSpacing = src->FVertSpacing;
  Repaint();
}

void TCustomChartLegend::SetDividingLines(const TKelPen* Value) {
  if (Value) FDividingLines->Assign(Value);
}

void TCustomChartLegend::SetSeries(TChartSeries* Value) { SetShapeProperty(FSeries, Value); }

TLegendTitle* TCustomChartLegend::Title() {
  if (!FTitle) FTitle = std::make_unique<TLegendTitle>(FChart);
  return FTitle.get();
}

TTextSelection* TCustomChartLegend::Selected() {
  if (!FSelected) FSelected = std::make_unique<TTextSelection>(FChart, this);
  return FSelected.get();
}

TLegendStyle TCustomChartLegend::InternalLegendStyle() const {
  return FLegendStyle == lsAuto ? lsSeries : FLegendStyle;
}

TChartSeries* TCustomChartLegend::GetLegendSeries() const {
  if (!FChart) return nullptr;
  // A series set by the user counts only while the chart shows it.
  if (FSeries && FChart->SeriesList().IndexOf(FSeries) >= 0) return FSeries;
  for (TChartSeries* s : FChart->SeriesList())
    if (s->Active()) return s;
  return nullptr;
}

bool TCustomChartLegend::ShouldDraw() const {
  return Visible() && FChart && (FCheckBoxes || FChart->CountActiveSeries() > 0);
}

// ---- Legend: items -----------------------------------------------------------------

std::vector<std::string> TCustomChartLegend::ValueColumns(TChartSeries* Series, int ValueIndex,
                                                          double Total) const {
  const double y = Series->MandatoryValueList()->Value(ValueIndex);
  const std::string label = Series->XLabel(ValueIndex);
  const std::string value = FormatFloat(Series->ValueFormat(), y);
  const std::string percent =
      FormatFloat(Series->PercentFormat(), Total != 0 ? y * 100.0 / Total : 0.0);
  const std::string x =
      FormatFloat(Series->ValueFormat(), Series->NotMandatoryValueList()->Value(ValueIndex));
  switch (FTextStyle) {
    case ltsPlain: return {label.empty() ? value : label};
    case ltsLeftValue: return {value, label};
    case ltsRightValue: return {label, value};
    case ltsLeftPercent: return {percent, label};
    case ltsRightPercent: return {label, percent};
    case ltsXValue: return {x};
    case ltsValue: return {value};
    case ltsPercent: return {percent};
    case ltsXAndValue: return {x, value};
    case ltsXAndPercent: return {x, percent};
  }
  return {value};
}

void TCustomChartLegend::BuildItems(std::vector<TLegendItem>& Items) {
  if (InternalLegendStyle() == lsValues) {
    TChartSeries* s = GetLegendSeries();
    if (!s || s->Count() == 0) return;
    int first = 0;
    int last = s->Count() - 1;
    if (FCurrentPage && FChart->MaxPointsPerPage() > 0) FChart->CalcFirstLastPage(s, first, last);
    first += std::max(0, FFirstValue);
    double total = 0;
    const TChartValueList* values = s->MandatoryValueList();
    for (int i = 0; i < s->Count(); ++i) total += std::fabs(values->Value(i));
    for (int i = first; i <= last; ++i) {
      TLegendItem item;
      item.Series = s;
      item.ValueIndex = i;
      item.Columns = ValueColumns(s, i, total);
      Items.push_back(std::move(item));
    }
  } else {
    // With check boxes inactive series stay listed, so that they can be
    // switched on again.
    for (TChartSeries* s : FChart->SeriesList()) {
      if (!s->Active() && !FCheckBoxes) continue;
      TLegendItem item;
      item.Series = s;
      item.Columns = {s->Title().empty() ? s->Name() : s->Title()};
      Items.push_back(std::move(item));
    }
  }
  if (FInverted) std::reverse(Items.begin(), Items.end());
}

// ---- Legend: layout ----------------------------------------------------------------

void TCustomChartLegend::CalcRect() {
  FItems.clear();
  IRows = 0;
  IColumns = 1;
  if (!FChart) return;
  std::vector<TLegendItem> all;
  BuildItems(all);
  const int itemWidth = MeasureItems(all);
  const int titleWidth = MeasureTitle();
  IFrameWidth = KelBoundPixel(static_cast<long long>(FPen->Visible() ? KelRound(FPen->Width()) : 0) +
                              (FBevel != bvNone ? FBevelWidth : 0));
  const TLegendBox box = PlaceBox(static_cast<int>(all.size()), itemWidth, titleWidth);
  FShapeBounds = {static_cast<float>(box.Left), static_cast<float>(box.Top),
                  static_cast<float>(box.Left + box.Width), static_cast<float>(box.Top + box.Height)};
  IRows = box.Rows;
  IColumns = box.Columns;
  PlaceItems(all, box, itemWidth);
  if (FResizeChart && !CustomPosition()) TakeRoomFromChart();
}

int TCustomChartLegend::MeasureItems(const std::vector<TLegendItem>& Items) {
  TCanvas3D* canvas = FChart->Canvas();
  FChart->TryAssignFont(FFont.get());
  const int h = canvas->FontHeight();
  ISpaceWidth = canvas->TextWidth(" ");
  IItemHeight = std::max(1, KelBoundPixel(static_cast<long long>(h) + FVertSpacing));
  IColumnWidths.clear();
  for (const TLegendItem& item : Items) {
    if (item.Columns.size() > IColumnWidths.size()) IColumnWidths.resize(item.Columns.size(), 0);
    for (std::size_t k = 0; k < item.Columns.size(); ++k) {
      int lines = 0;
      IColumnWidths[k] =
          std::max(IColumnWidths[k], FChart->MultiLineTextWidth(item.Columns[k], lines));
    }
  }
  int textWidth = 0;
  for (int w : IColumnWidths) textWidth += w;
  if (!IColumnWidths.empty()) textWidth += ISpaceWidth * (static_cast<int>(IColumnWidths.size()) - 1);
  ISymbolWidth = (FSymbol->Visible() ? FSymbol->Width() + FTextSymbolGap : 0) +
                 (FCheckBoxes ? h + FTextSymbolGap : 0);
  return ISymbolWidth + textWidth;
}

int TCustomChartLegend::MeasureTitle() {
  ITitleHeight = 0;
  if (!FTitle || !FTitle->Visible() || FTitle->Text().empty()) return 0;
  FTitle->CalcBounds(FChart);
  ITitleHeight = KelRound(FTitle->Height());
  return KelRound(FTitle->Width());
}

TCustomChartLegend::TLegendBox TCustomChartLegend::PlaceBox(int Count, int ItemWidth,
                                                            int TitleWidth) {
  const int w = IFrameWidth;
  const int hpad = ISpaceWidth;
  const int vpad = KelLegendVertPadding;
  const TRectF& cr = FChart->ChartRect;
  TLegendBox box;
  if (Vertical()) {
    box.Top = KelBoundPixel(static_cast<long long>(KelRound(cr.Top)) +
                            KelRound(static_cast<double>(FChart->ChartHeight()) * FTopPos * 0.01) + w / 2);
    const int room = KelRound(cr.Bottom) - box.Top - 2 * w - 2 * vpad - ITitleHeight;
    box.Rows = std::min(std::max(0, room / IItemHeight), Count);
    if (FMaxNumRows > 0) box.Rows = std::min(box.Rows, FMaxNumRows);
    if (box.Rows == 0 && Count > 0) box.Rows = 1;
    box.Width = 2 * w + 2 * hpad + std::max(ItemWidth, TitleWidth);
    box.Left = FAlignment == laRight ? KelRound(cr.Right) - w / 2 - box.Width : KelRound(cr.Left) + w / 2;
  } else {
    const int room = FChart->ChartWidth() - 2 * w - 2 * hpad;
    box.Columns = std::max(1, (room + hpad) / std::max(1, ItemWidth + hpad));
    box.Columns = std::min(box.Columns, std::max(1, Count));
    box.Rows = (Count + box.Columns - 1) / box.Columns;
    if (FMaxNumRows > 0) box.Rows = std::min(box.Rows, FMaxNumRows);
    box.Width = 2 * w + 2 * hpad + std::max(box.Columns * ItemWidth + (box.Columns - 1) * hpad, TitleWidth);
    switch (FHorizJustify) {
      case ljLeft: box.Left = KelRound(cr.Left); break;
      case ljRight: box.Left = KelRound(cr.Right) - box.Width; break;
      default: box.Left = FChart->ChartXCenter() - box.Width / 2; break;
    }
  }
  box.Height = 2 * w + 2 * vpad + ITitleHeight + box.Rows * IItemHeight;
  if (!Vertical()) {
    if (FAlignment == laTop) {
      box.Top = KelRound(cr.Top) + w / 2 + 1;
    } else {
      int below = w / 2 + 1;
      if (FShadow->Visible()) below += std::max(0, FShadow->VertSize());
      if (HasEmboss() && Emboss()->Visible()) below += std::max(0, Emboss()->VertSize());
      box.Top = KelRound(cr.Bottom) - below - box.Height;
    }
  }
  if (CustomPosition()) {
    if (FPositionUnits == muPercent) {
      box.Left = KelRound(FChart->Width() * FLeftPercent * 0.01);
      box.Top = KelRound(FChart->Height() * FTopPercent * 0.01);
    } else {
      box.Left = Left();
      box.Top = Top();
    }
  }
  return box;
}

// A vertical legend fills its column top-down, a horizontal one its rows
// left to right; items beyond the rows are not shown.
void TCustomChartLegend::PlaceItems(std::vector<TLegendItem>& Items, const TLegendBox& Box,
                                    int ItemWidth) {
  const int w = IFrameWidth;
  const int hpad = ISpaceWidth;
  const int shown = std::min(static_cast<int>(Items.size()), Box.Rows * Box.Columns);
  for (int k = 0; k < shown; ++k) {
    const int r = Vertical() ? k : k / Box.Columns;
    const int c = Vertical() ? 0 : k % Box.Columns;
    const int x = Box.Left + w + hpad + c * (ItemWidth + hpad);
    const int y = Box.Top + w + KelLegendVertPadding + ITitleHeight + r * IItemHeight;
    TLegendItem item = std::move(Items[static_cast<std::size_t>(k)]);
    item.Rect = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + ItemWidth),
                 static_cast<float>(y + IItemHeight)};
    FItems.push_back(std::move(item));
  }
}

void TCustomChartLegend::TakeRoomFromChart() {
  TRectF& cr = FChart->ChartRect;
  const int horizGap = FHorizMargin != 0 ? FHorizMargin : KelRound(FChart->ChartWidth() * 0.03);
  const int vertGap = FVertMargin != 0 ? FVertMargin : KelRound(FChart->ChartHeight() * 0.04);
  switch (FAlignment) {
    case laLeft: cr.Left = FShapeBounds.Right + static_cast<float>(horizGap); break;
    case laRight: cr.Right = FShapeBounds.Left - static_cast<float>(horizGap); break;
    case laTop: {
      float extra = 0;
      if (FChart->Shadow()->Visible()) extra += static_cast<float>(std::abs(FChart->Shadow()->VertSize()));
      if (FChart->Emboss()->Visible()) extra += static_cast<float>(std::abs(FChart->Emboss()->VertSize()));
      cr.Top = FShapeBounds.Bottom + extra + static_cast<float>(vertGap);
      break;
    }
    case laBottom: cr.Bottom = FShapeBounds.Top - static_cast<float>(vertGap); break;
  }
  FChart->ReCalcWidthHeight();
}

// ---- Legend: drawing ---------------------------------------------------------------

void TCustomChartLegend::DrawLegend() {
  if (FItems.empty() || !FChart) return;
  TCanvas3D* canvas = FChart->Canvas();
  const bool blending = FGlobalTransparency > 0;
  if (blending) canvas->BeginBlending(FShapeBounds, FGlobalTransparency);

  // The box (its text is empty: only shadow, fill and frame).
  Draw(FChart, FShapeBounds, 0, 0);

  const int w = IFrameWidth;
  const float inner = static_cast<float>(w);
  if (ITitleHeight > 0) {
    const float top = FShapeBounds.Top + inner + KelLegendVertPadding;
    FTitle->Draw(FChart,
                 {FShapeBounds.Left + inner, top, FShapeBounds.Right - inner,
                  top + static_cast<float>(ITitleHeight)},
                 0, 0);
  }
  for (int i = 0; i < static_cast<int>(FItems.size()); ++i) DrawItem(i);

  if (FDividingLines->Visible()) {
    canvas->AssignVisiblePen(FDividingLines.get());
    const float rowsTop = FShapeBounds.Top + inner + KelLegendVertPadding + ITitleHeight;
    for (int r = 1; r < IRows; ++r) {
      const float y = rowsTop + static_cast<float>(r * IItemHeight);
      canvas->Line(FShapeBounds.Left + inner, y, FShapeBounds.Right - inner, y);
    }
    for (int c = 1; c < IColumns && c < static_cast<int>(FItems.size()); ++c) {
      const float x = FItems[static_cast<std::size_t>(c)].Rect.Left - ISpaceWidth * 0.5f;
      canvas->Line(x, FShapeBounds.Top + inner, x, FShapeBounds.Bottom - inner);
    }
  }
  if (blending) canvas->EndBlending(nullptr);
}

void TCustomChartLegend::DrawItem(int Index) {
  const TLegendItem& item = FItems[static_cast<std::size_t>(Index)];
  TCanvas3D* canvas = FChart->Canvas();
  FChart->TryAssignFont(FFont.get());
  const int h = canvas->FontHeight();
  float x = item.Rect.Left;
  const float y = item.Rect.Top;

  if (FCheckBoxes) {
    // A box (round for radio style) marked while the series is active.
    const TRectF box{x, y + 1, x + static_cast<float>(h - 2), y + static_cast<float>(h - 1)};
    TKelPen framePen;
    canvas->AssignVisiblePen(&framePen);
    canvas->Brush()->SetStyle(THostBrushKind::Solid);
    canvas->Brush()->SetColor(claWhite);
    const bool on = item.Series && item.Series->Active();
    if (FCheckBoxesStyle == cbsRadio) {
      canvas->Ellipse(box);
      if (on) {
        TRectF dot = box;
        InflateRectF(dot, -box.Width() * 0.25f, -box.Height() * 0.25f);
        canvas->Brush()->SetColor(claBlack);
        canvas->Ellipse(dot);
      }
    } else {
      canvas->Rectangle(box);
      if (on) {
        const float bx = box.Left, by = box.Top, bw = box.Width(), bh = box.Height();
        canvas->Line(bx + bw * 0.2f, by + bh * 0.5f, bx + bw * 0.45f, by + bh * 0.8f);
        canvas->Line(bx + bw * 0.45f, by + bh * 0.8f, bx + bw * 0.8f, by + bh * 0.2f);
      }
    }
    x += static_cast<float>(h + FTextSymbolGap);
  }

  if (FSymbol->Visible() && item.Series) {
    const float inset = static_cast<float>(KelRound(h * 0.2));
    const TRectF symbol{x, y + inset, x + static_cast<float>(FSymbol->Width()),
                        y + static_cast<float>(h) - inset};
    FChart->DrawLegendShape(item.Series, item.ValueIndex, symbol);
    x += static_cast<float>(FSymbol->Width() + FTextSymbolGap);
  }

  // The text columns, left-aligned, in the legend font (the hover font for
  // the hovered item, the series' colour with FontSeriesColor).
  TKelFont* font = FFont.get();
  if (FSelected && FChart->Hover()->Visible() && FSelected->Hover()->Visible() &&
      FSelected->HoverIndex() == Index)
    font = FSelected->Hover()->Font();
  FChart->TryAssignFont(font);
  if (FFontSeriesColor && item.Series) {
    const TColor color = item.ValueIndex >= 0 ? item.Series->GetValueColor(item.ValueIndex)
                                              : item.Series->SeriesColor();
    canvas->Font()->SetColor(color);
  }
  canvas->SetBackMode(cbmTransparent);
  canvas->SetTextAlign(KelTA_Left);
  for (std::size_t k = 0; k < item.Columns.size(); ++k) {
    if (!item.Columns[k].empty()) canvas->TextOut(x, y, item.Columns[k]);
    x += static_cast<float>(IColumnWidths[k] + ISpaceWidth);
  }
}

int TCustomChartLegend::Clicked(int X, int Y) const {
  if (!Visible()) return -1;
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (PointInRect(FItems[i].Rect, static_cast<float>(X), static_cast<float>(Y)))
      return static_cast<int>(i);
  return -1;
}

}  // namespace sextant
