#include "panel/custom_chart.h"

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
  // The back wall's colour joins this test when the walls exist.
  if (CheckBackground && Color == this->Color()) return false;
  return true;
}

TColor TCustomChart::GetBackColor() const { return TCustomAxisPanel::GetBackColor(); }

// ---- Layout hooks ------------------------------------------------------------

void TCustomChart::CalcWallsRect() {
  CalcSize3DWalls();
  if (!CustomChartRect() && View3D() && View3DOptions()->Orthogonal()) {
    // The walls take depth next to the plot; with no walls module their
    // own size is 0.
    if (View3DOptions()->OrthoAngle() <= 90)
      ChartRect.Right -= static_cast<float>(std::abs(Width3D()));
    else
      ChartRect.Left += static_cast<float>(std::abs(Width3D()));
    ChartRect.Top += static_cast<float>(std::abs(Height3D()));
  }
  ReCalcWidthHeight();
}

// Titles, legend and walls are laid out and drawn by the titles, walls and
// legend module; the chart has none of them yet, so they take no room and
// draw nothing.
void TCustomChart::DrawTitlesAndLegend(bool) {}
void TCustomChart::DrawWalls() {}

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
