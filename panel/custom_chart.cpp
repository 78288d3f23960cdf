#include "panel/custom_chart.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <climits>

#include "canvas/canvas3d.h"
#include "panel/zoom_panning.h"
#include "platform/platform_services.h"

namespace sextant {

// The user option DefaultPalette ([ChartEditor]); 13 when the store, the
// option or a readable decimal integer is missing.
static int ReadDefaultPaletteOption() {
  constexpr int fallback = 13;
  const ISettingsStore* store = KelPlatform().SettingsStore;
  if (!store) return fallback;
  const std::optional<std::string> text = store->ReadString("ChartEditor", "DefaultPalette");
  if (!text) return fallback;
  const char* begin = text->c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX) return fallback;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return fallback;
  return static_cast<int>(value);
}

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {
  SetAutoRepaint(false);
  FWalls = std::make_unique<TChartWalls>(this);
  FLegend = std::make_unique<TChartLegend>(this);
  RestoredAxisScales = true;
  SetColorPaletteIndex(ReadDefaultPaletteOption());
  SetAutoRepaint(true);
}

TCustomChart::~TCustomChart() { Destroying(); }

// ---- Palettes ----------------------------------------------------------------

void TCustomChart::SetColorPaletteIndex(int Value) {
  if (Value == FColorPaletteIndex) return;
  if (Value == -2) {
    // A custom palette: the palette in force is applied once more.
    ApplyPalette(FColorPaletteIndex > 0 ? FColorPaletteIndex : 0);
    FColorPaletteIndex = -2;
  } else {
    ApplyPalette(Value);
  }
}

void TCustomChart::ApplyPalette(int Index) {
  ColorPalette = GetPalette(Index);
  ColorPaletteChanged();
  FColorPaletteIndex = Index;
  Invalidate();
}

void TCustomChart::ColorPaletteChanged() {
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = Series(i);
    if (s->Color() == clKelColor) s->SetSeriesColor(GetFreeSeriesColor(true, s));
  }
}

bool TCustomChart::IsFreeSeriesColor(TColor Color, bool CheckBackground,
                                     const TChartSeries* Series) const {
  for (TChartSeries* s : SeriesList())
    if (s != Series && s->SeriesColor() == Color) return false;
  if (CheckBackground) {
    if (Color == this->Color()) return false;
    if (FWalls && Color == FWalls->Back()->Color()) return false;
  }
  return true;
}

TColor TCustomChart::GetBackColor() const {
  const TChartBackWall* back = FWalls ? FWalls->Back() : nullptr;
  if (back && back->Visible() && !back->Transparent()) return back->Color();
  return TCustomAxisPanel::GetBackColor();
}

// ---- Titles, walls, legend ------------------------------------------------------

namespace {
template <typename T>
T* LazyTitle(std::unique_ptr<T>& Title, TCustomChart* Chart) {
  if (!Title) Title = std::make_unique<T>(Chart);
  return Title.get();
}
}  // namespace

TChartTitle* TCustomChart::Title() { return LazyTitle(FTitle, this); }
TChartTitle* TCustomChart::SubTitle() { return LazyTitle(FSubTitle, this); }
TChartFootTitle* TCustomChart::Foot() { return LazyTitle(FFoot, this); }
TChartFootTitle* TCustomChart::SubFoot() { return LazyTitle(FSubFoot, this); }

void TCustomChart::SetTitle(const TChartTitle* Value) {
  if (Value) Title()->Assign(Value);
}
void TCustomChart::SetSubTitle(const TChartTitle* Value) {
  if (Value) SubTitle()->Assign(Value);
}
void TCustomChart::SetFoot(const TChartTitle* Value) {
  if (Value) Foot()->Assign(Value);
}
void TCustomChart::SetSubFoot(const TChartTitle* Value) {
  if (Value) SubFoot()->Assign(Value);
}
void TCustomChart::SetWalls(const TChartWalls* Value) {
  if (Value) FWalls->Assign(Value);
}
void TCustomChart::SetLegend(const TChartLegend* Value) {
  if (Value) FLegend->Assign(Value);
}

void TCustomChart::DrawLegendShape(TChartSeries* Series, int ValueIndex, const TRectF& Rect) {
  if (!Series) return;
  if (ValueIndex < 0) {
    Series->PrepareLegendCanvas();
    Series->DrawLegendShape(Rect);
    return;
  }
  // A point: a box in its colour with a thin black frame.
  TCanvas3D* c = Canvas();
  const TKelPen frame;
  c->AssignVisiblePen(&frame);
  TColor color = Series->GetValueColor(ValueIndex);
  if (color == clKelColor) color = Series->SeriesColor();
  c->AssignBrush(Series->Brush(), color);
  c->Rectangle(Rect);
}

// ---- Layout hooks ------------------------------------------------------------

void TCustomChart::CalcWallsRect() {
  CalcSize3DWalls();
  if (!CustomChartRect() && View3D() && View3DOptions()->Orthogonal()) {
    // The walls take depth next to the plot: the 3D depth plus the back
    // wall's thickness, and a visible side wall's thickness and a pixel.
    const TChartBackWall* back = FWalls->Back();
    const float s = back->ShouldDraw() ? static_cast<float>(back->Size()) : 0;
    float depth = static_cast<float>(std::abs(Width3D())) + s;
    if (View3DOptions()->OrthoAngle() <= 90) {
      if (FWalls->HasRight() && FWalls->Right()->Visible())
        depth += static_cast<float>(FWalls->Right()->Size() + 1);
    } else {
      if (FWalls->Left()->Visible()) depth += static_cast<float>(FWalls->Left()->Size() + 1);
    }
    // A depth larger than the chart leaves a plot of one pixel, never an
    // inverted one.
    const float rise = static_cast<float>(std::abs(Height3D())) + s;
    depth = std::min(depth, std::max(0.0f, ChartRect.Right - ChartRect.Left - 1));
    if (View3DOptions()->OrthoAngle() <= 90)
      ChartRect.Right -= depth;
    else
      ChartRect.Left += depth;
    ChartRect.Top += std::min(rise, std::max(0.0f, ChartRect.Bottom - ChartRect.Top - 1));
  }
  ReCalcWidthHeight();
}

// Titles in drawing order; each takes its room from the chart rectangle
// before the next one is placed.
void TCustomChart::DrawTitlesAndLegend(bool BeforeSeries) {
  auto drawTitles = [this](bool custom) {
    for (TChartTitle* t : {static_cast<TChartTitle*>(FTitle.get()), FSubTitle.get(),
                           static_cast<TChartTitle*>(FFoot.get()),
                           static_cast<TChartTitle*>(FSubFoot.get())})
      if (t && t->ShouldDraw() && t->CustomPosition() == custom) t->DrawTitle();
  };
  TChartLegend* legend = FLegend.get();
  if (BeforeSeries) {
    if (legend->ShouldDraw()) {
      if (legend->Vertical()) {
        // A side legend takes its strip from the full height.
        legend->CalcRect();
        if (legend->DrawBehind()) legend->DrawLegend();
        drawTitles(false);
      } else {
        drawTitles(false);
        legend->CalcRect();
        if (legend->DrawBehind()) legend->DrawLegend();
      }
    } else {
      drawTitles(false);
    }
  } else {
    if (!legend->DrawBehind() && legend->ShouldDraw()) legend->DrawLegend();
    drawTitles(true);
  }
}

// With active series of which none uses axes, no walls; otherwise the back
// wall (the only one in a flat chart) and, in 3D, the side walls.
void TCustomChart::DrawWalls() {
  if (CountActiveSeries() > 0) {
    bool usesAxes = false;
    for (TChartSeries* s : SeriesList())
      if (s->Active() && s->UseAxis()) usesAxes = true;
    if (!usesAxes) return;
  }
  if (View3D()) {
    DrawWalls3D();
    return;
  }
  if (FWalls->Back()->ShouldDraw()) DrawBackWall();
}

void TCustomChart::DrawBackWall() {
  TChartBackWall* wall = FWalls->Back();
  const TRectF R = BackWallRect(ChartRect, wall->StartPosition(), wall->EndPosition(),
                                CalcWallSize(BottomAxis()));
  wall->DrawFlat(*Canvas(), R);
  if (HasBackImage() && BackImage()->Inside()) DrawBackImage(R);
}

void TCustomChart::InternalDraw(const TRectF& UserRectangle) {
  TCustomAxisPanel::InternalDraw(UserRectangle);
  // An active zoom drag shows its rectangle over the finished drawing.
  DrawZoomRectangleIfActive();
}

// ---- Keys (mouse, wheel, zoom and panning: custom_chart_mouse.cpp) ----------------

void TCustomChart::KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
  TCustomAxisPanel::KeyDown(Key, KeyChar, Shift);
  char16_t noChar = 0;
  BroadcastKeyEvent(ckeDown, Key, noChar, Shift);
}

void TCustomChart::KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
  TCustomAxisPanel::KeyUp(Key, KeyChar, Shift);
  char16_t noChar = 0;
  BroadcastKeyEvent(ckeUp, Key, noChar, Shift);
}

}  // namespace sextant
