#include "panel/titles.h"

#include <algorithm>

#include "canvas/font.h"
#include "canvas/pen.h"
#include "panel/kel_panel.h"

namespace sextant {

TChartTitle::TChartTitle(TCustomKelPanel* Chart) : TStringsShape(Chart), FChart(Chart) {
  FAlignment = taCenter;
  InitTextAlignment(taCenter);
  IDraw2D = true;
  InitTransparent(true);
  FFont->InitColor(claBlue);
}

std::unique_ptr<TKelCustomShape> TChartTitle::Create(IShapePanel*) const {
  auto copy = std::make_unique<TChartTitle>(FChart);
  copy->IOnTop = IOnTop;
  return copy;
}

void TChartTitle::Assign(const TPersistent* Source) {
  TStringsShape::Assign(Source);
  if (const auto* src = dynamic_cast<const TChartTitle*>(Source)) {
    FAdjustFrame = src->FAdjustFrame;
    FVertMargin = src->FVertMargin;
  }
}

bool TChartTitle::Clicked(int X, int Y) const {
  return Visible() && PointInRect(FShapeBounds, static_cast<float>(X), static_cast<float>(Y));
}

bool TChartTitle::ShouldDraw() const { return Visible() && Lines()->Count() > 0; }

void TChartTitle::DrawTitle() {
  if (!ShouldDraw() || !FChart) return;
  FAutoSize = true;
  CalcBounds(FChart);
  const int p = FPen->Visible() && FPen->Width() > 1 ? KelRound(FPen->Width()) / 2 : 0;
  const bool custom = CustomPosition();
  if (!custom) {
    TRectF& chartRect = FChart->ChartRect;
    const int x = KelRound(FChart->Width() * 0.02) + FChart->BorderSize();
    const float w = Width();
    const float h = Height();
    const int y = IOnTop ? KelRound(chartRect.Top) + p : KelRound(chartRect.Bottom - h) - p;
    float left = static_cast<float>(x);
    if (FAdjustFrame) {
      switch (FAlignment) {
        case taLeftJustify: break;
        case taRightJustify: left = static_cast<float>(KelRound(FChart->Width() - w) - x); break;
        case taCenter:
          left = static_cast<float>(std::max(x, FChart->ChartXCenter() - KelRound(w) / 2));
          break;
      }
      FShapeBounds = {left, static_cast<float>(y), left + w, static_cast<float>(y) + h};
    } else {
      FAutoSize = false;
      const float width = FChart->Width() - 2.0f * x;
      FShapeBounds = {left, static_cast<float>(y), left + width, static_cast<float>(y) + h};
    }
  }
  Draw(FChart, FShapeBounds, 0, FAngle);
  if (!custom) {
    TRectF& chartRect = FChart->ChartRect;
    if (IOnTop)
      chartRect.Top = FShapeBounds.Bottom + static_cast<float>(FVertMargin + p);
    else
      chartRect.Bottom = FShapeBounds.Top - static_cast<float>(FVertMargin + p);
    FChart->ReCalcWidthHeight();
  }
}

TChartFootTitle::TChartFootTitle(TCustomKelPanel* Chart) : TChartTitle(Chart) {
  IOnTop = false;
  FFont->InitColor(claRed);
  FFont->InitStyle(fsItalic);
}

std::unique_ptr<TKelCustomShape> TChartFootTitle::Create(IShapePanel*) const {
  return std::make_unique<TChartFootTitle>(Chart());
}

}  // namespace sextant
