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

// ---- Mouse, wheel and keys -----------------------------------------------------

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
  // While a drag is in progress further presses are ignored.
  if (FCancelMouse || Zoom()->Active() || Panning()->Active()) return;
  FCancelMouse = false;
  BroadcastMouseEvent(cmeDown, Button, Shift, KelRound(X), KelRound(Y));
  // Unless a tool took the press, the chart's own handling (clicked part,
  // click events, the start of zoom or panning) belongs here; it comes with
  // the zoom and panning module.
  FCancelMouse = false;
}

void TCustomChart::MouseMove(TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseMove(Shift, X, Y);
  if (!Canvas()->ReferenceCanvas()) return;
  if (!IsDesigning())
    BroadcastMouseEvent(cmeMove, TMouseButton::mbLeft, Shift, KelRound(X), KelRound(Y));
  // A tool that set CancelMouse suppresses zoom, panning, cursor and hover
  // processing of this move (zoom and panning module).
}

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
  // A zoom drag with this button ends here (zoom and panning module).
  // Any panning drag ends with any button.
  if (Panning()->Active()) {
    Panning()->SetActive(false);
    if (!Panning()->InsideBounds() && HostControl() && HostControl()->HasParent())
      HostControl()->ReleaseMouse();
  }
  BroadcastMouseEvent(cmeUp, Button, Shift, KelRound(X), KelRound(Y));
}

void TCustomChart::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  TCustomAxisPanel::MouseWheel(Shift, WheelDelta, Handled);
  // The direction follows the wheel setting that applies: panning first,
  // then zoom, then the 3D view zoom. The panning and zooming themselves
  // come with the zoom and panning module.
  bool up = WheelDelta > 0;
  if (Panning()->MouseWheel() != pmwNone && AllowPanning() != pmNone && !IsDesigning()) {
    if (Panning()->MouseWheel() == pmwInverted) up = !up;
  } else if (Zoom()->Allow() && Zoom()->MouseWheel() != pmwNone) {
    if (Zoom()->MouseWheel() == pmwInverted) up = !up;
  } else if (ZoomWheel() != pmwNone && (View3D() || Canvas()->SupportsFullRotation())) {
    if (ZoomWheel() == pmwInverted) up = !up;
  }
  TPointF pos{0, 0};
  if (HostControl()) pos = HostControl()->CursorPos();
  FCancelMouse = false;
  BroadcastWheelEvent(up ? wmeUp : wmeDown, WheelDelta, KelRound(pos.X), KelRound(pos.Y));
}

void TCustomChart::DoMouseLeave() {
  TCustomAxisPanel::DoMouseLeave();
  // Hover highlights of axis labels and series are reset here once they
  // exist (labels and hover module); then the tools hear of it.
  BroadcastToolEvent(cteMouseLeave);
}

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
