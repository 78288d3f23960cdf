// One paint of a series' marks: which points get a mark, sizing and
// automatic placement of the boxes, anti-overlap, the callout and the box.
//
// Contents
//   [Series]     TChartSeries: DrawMarks, CanDrawMark, CalculateMarkPosition,
//                DrawMark, MarkOverlap, and the hooks that keep the marks in
//                step with the points and the chart
//   [Layout]     TSeriesMarks: CalcEvery, ApplyArrowLength, AntiOverlap,
//                TotalBounds, ConvertTo2D
//   [Drawing]    TSeriesMarks: InternalDraw, DrawItem, the callout, the symbol
//
// The pass allocates nothing per mark beyond the mark's text: one scratch
// position serves every point, and the boxes are measured in place.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "marks/series_marks.h"
#include "panel/axis_panel.h"
#include "series/chart_series.h"

namespace sextant {

namespace {

// A positive-area intersection: boxes that only touch do not overlap.
bool Overlap(const TRectF& A, const TRectF& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
         std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

void OffsetRect(TRectF& R, TPointF P) {
  R.Left += P.X;
  R.Right += P.X;
  R.Top += P.Y;
  R.Bottom += P.Y;
}

}  // namespace

// ---- [Series] ----------------------------------------------------------------------

void TChartSeries::DrawMarks() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  TSeriesMarks* marks = Marks();
  // The one scratch position of the pass.
  TSeriesMarkPosition position;

  const bool blending = marks->UseSeriesTransparency() && FTransparency > 0;
  if (blending) canvas->BeginBlending(FParent->ChartRect, static_cast<std::uint8_t>(FTransparency));

  if (FFirstVisibleIndex != -1) {
    const int step = marks->CalcEvery();
    const TKelShapes* children = marks->Children();
    for (int i = FFirstVisibleIndex; i <= FLastVisibleIndex; ++i) {
      if (i % step != 0 || !CanDrawMark(i)) continue;
      const std::string text = GetMarkText(i);
      if (text.empty()) continue;
      TCustomTextShape* shape = marks->MarkItem(i);
      if (!shape->Visible()) continue;
      // Child boxes show their own style of the point's text.
      for (int c = 0; c < children->Count(); ++c)
        if (auto* child = dynamic_cast<TSeriesMarkShape*>(children->Items(c)))
          child->SetText(GetMarkTextStyle(marks->MultiLine(), i, child->Style()));

      // A fresh layout: nothing of the previous point's (possibly custom)
      // position carries over.
      position.Custom = false;
      position.ArrowFix = false;
      position.HasMid = false;
      position.MidPoint = {};
      CalculateMarkPosition(shape, text, CalcXPos(i), CalcYPos(i), position);
      if (canvas->SupportsID) {
        canvas->BeginEntity(Name() + "_" + std::to_string(i));
        DrawMark(i, text, position);
        canvas->EndEntity();
      } else {
        DrawMark(i, text, position);
      }
    }
  }

  if (blending) canvas->EndBlending(nullptr);
}

bool TChartSeries::CanDrawMark(int ValueIndex) const {
  if (IsNull(ValueIndex)) return false;
  if (!FParent) return true;
  const int x = CalcXPos(ValueIndex);
  const int y = CalcYPos(ValueIndex);
  // A point whose value has no pixel (NaN, infinite or far outside the
  // axis: mapped onto the pixel bound) has its mark on no part of the
  // control; its box would only reach beyond the bound.
  if (std::llabs(x) >= KelMaxPixelPos || std::llabs(y) >= KelMaxPixelPos) return false;
  if (FMarks && FMarks->SoftClip()) return PointInRect(FParent->ChartRect, x, y);
  return true;
}

void TChartSeries::CalculateMarkPosition(TCustomTextShape* Shape, const std::string& Text, int XPos,
                                         int YPos, TSeriesMarkPosition& Position) {
  Shape->SetText(Text);
  Shape->CalcBounds(FParent);
  const TRectF& box = Shape->ShapeBounds();
  Position.Width = KelRound(box.Width());
  Position.Height = KelRound(box.Height());

  TSeriesMarks* marks = Marks();
  if (marks->HasSymbol()) {
    TSeriesMarksSymbol* symbol = marks->Symbol();
    const int side = KelRound(box.Height());
    if (symbol->Visible()) {
      // Room for the square on the left of the text.
      Position.Width += Position.Height - 4;
      const TKelPen* pen = symbol->Pen();
      if (pen->Visible() && pen->Width() > 1) {
        const int extra = KelRound(pen->Width());
        Position.Width += extra;
        Position.Height += extra;
      }
    }
    symbol->SetShapeBounds({0, 0, static_cast<float>(side), static_cast<float>(side)});
  }
  marks->Positions()->MoveTo(Position, static_cast<float>(XPos), static_cast<float>(YPos));
}

void TChartSeries::DrawMark(int ValueIndex, const std::string& Text,
                            TSeriesMarkPosition& Position) {
  TSeriesMarks* marks = Marks();
  if (!marks->AutoPosition() || marks->AntiOverlap(FFirstVisibleIndex, ValueIndex, Position))
    marks->InternalDraw(ValueIndex, GetValueColor(ValueIndex), Text, Position);
}

TPointF TChartSeries::MarkOverlap(int, const TRectF& R, const TRectF& R2) const {
  if (FYMandatory) {
    // Onto an earlier box lying below, else below an earlier box.
    return {0, R2.Top > R.Top ? R2.Top - R.Bottom : R2.Bottom - R.Top};
  }
  return {R2.Left > R.Left ? R2.Left - R.Right : R2.Right - R.Left, 0};
}

void TChartSeries::MarksDeleted(int Start, int Quantity) {
  if (FMarks) FMarks->DeleteMany(Start, Quantity);
}

void TChartSeries::MarksCleared() {
  if (FMarks) FMarks->Clear();
}

void TChartSeries::MarksChartChanged() {
  if (FMarks) FMarks->SetParent(FParent);
}

// ---- [Layout] ----------------------------------------------------------------------

int TSeriesMarks::CalcEvery() const {
  const TChartSeries* series = FParentSeries;
  if (!series || !series->CalcVisiblePoints) return FDrawEvery;
  const int n = series->LastValueIndex() - series->FirstValueIndex() + 1;
  const TCustomAxisPanel* chart = series->ParentChart();
  // Half the plot along the positional axis.
  double a = 0;
  if (chart) a = (series->YMandatory() ? chart->ChartWidth() : chart->ChartHeight()) * 0.5;
  if (a <= 0 || a >= n) return FDrawEvery;
  return std::max(KelRound(n / a), FDrawEvery);
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& Position) const {
  if (!FCallout) return;
  const float raise = static_cast<float>(FCallout->Length() + FCallout->Distance());
  Position.LeftTop.Y -= raise;
  Position.ArrowTo.Y -= raise;
  Position.ArrowFrom.Y -= static_cast<float>(FCallout->Distance());
}

TPointF TSeriesMarks::ConvertTo2D(const TSeriesMarkPosition& Position, TPointF P) const {
  if (!FParent || !FParent->View3D()) return P;
  TCanvas3D* canvas = FParent->Canvas();
  if (!canvas || canvas->GetSupports3DText()) return P;
  // The box moves with its anchor's projection at the marks' depth.
  const TPointF to = canvas->Calculate3DPosition(Position.ArrowTo, static_cast<float>(FZPosition));
  return {P.X + to.X - Position.ArrowTo.X, P.Y + to.Y - Position.ArrowTo.Y};
}

TRectF TSeriesMarks::TotalBounds(int ValueIndex, const TSeriesMarkPosition& P) const {
  TRectF R = P.Bounds();
  const TCustomTextShape* shape = MarkItem(ValueIndex);
  if (!shape->Transparent()) {
    const TKelPen* pen = shape->Pen();
    if (pen->Visible()) {
      R.Right += pen->Width();
      R.Bottom += pen->Width();
    }
    const TKelShadow* shadow = shape->Shadow();
    if (shadow->Visible()) {
      if (shadow->HorizSize() > 0) R.Right += static_cast<float>(shadow->HorizSize());
      if (shadow->VertSize() > 0) R.Bottom += static_cast<float>(shadow->VertSize());
    }
  }
  const TPointF lt = ConvertTo2D(P, R.TopLeft());
  OffsetRect(R, {lt.X - R.Left, lt.Y - R.Top});
  return R;
}

bool TSeriesMarks::AntiOverlap(int First, int ValueIndex, TSeriesMarkPosition& Position) const {
  if (First >= ValueIndex) return true;
  TRectF R = TotalBounds(ValueIndex, Position);
  // The stored positions of j = ValueIndex - 1 down to First; empty slots
  // have nothing to compare with.
  const std::vector<int>& filled = FPositions->Filled();
  for (auto it = std::lower_bound(filled.begin(), filled.end(), ValueIndex);
       it != filled.begin();) {
    const int j = *--it;
    if (j < First) break;
    const TSeriesMarkPosition* earlier = FPositions->Position(j);
    const TRectF R2 = TotalBounds(j, *earlier);
    if (!Overlap(R, R2)) continue;
    const TPointF offset = FParentSeries->MarkOverlap(ValueIndex, R, R2);
    Position.Offset(offset);
    OffsetRect(R, offset);
    if (Overlap(R, R2)) return false;
  }
  return true;
}

// ---- [Drawing] ---------------------------------------------------------------------

void TSeriesMarks::InternalDraw(int ValueIndex, TColor Color, const std::string& Text,
                                TSeriesMarkPosition& Position) {
  UsePosition(ValueIndex, Position);
  DrawItem(MarkItem(ValueIndex), Color, Text, Position);
}

void TSeriesMarks::DrawItem(TCustomTextShape* Shape, TColor Color, const std::string& Text,
                            TSeriesMarkPosition& Position) {
  if (!FParent) return;
  if (FCallout) TryDrawCallout(Color, Position);

  Position.LeftTop = ConvertTo2D(Position, Position.LeftTop);
  const TRectF R = Position.Bounds();
  // The box now lies in the flat view: box, text and symbol are drawn in
  // the front plane, so that the projection does not move them again.
  TCanvas3D* canvas = FParent->Canvas();
  const bool converted = FParent->View3D() && canvas && !canvas->GetSupports3DText();
  if (converted) canvas->FrontPlaneBegin();

  Shape->Shadow()->SetClip(FClip);
  if (Shape->HasEmboss()) Shape->Emboss()->SetClip(FClip);
  const TColor fontColor = Shape->Font()->Color();
  if (FFontSeriesColor) Shape->Font()->SetColor(Color);

  Shape->SetShapeBounds(R);
  Shape->SetText(Text);
  // The box's own angle, else the marks' angle.
  int angle = static_cast<const TKelCustomShape*>(Shape)->Angle() % 360;
  if (angle == 0) angle = FMarksAngle % 360;

  if (FTail && FTail->Visible()) {
    const std::array<TPointF, 7> outline = FTail->OutlinePoints(R);
    Shape->Draw(FParent, R, FZPosition, angle, outline);
  } else {
    Shape->Draw(FParent, R, FZPosition, angle);
  }

  if (FFontSeriesColor) Shape->Font()->SetColor(fontColor);
  if (FSymbol && FSymbol->ShouldDraw()) DrawSymbol(Shape, Color, R);
  if (converted) canvas->FrontPlaneEnd();
}

void TSeriesMarks::TryDrawCallout(TColor Color, const TSeriesMarkPosition& Position) {
  if (!FCallout->Visible() && !FCallout->Arrow()->Visible()) return;
  FCallout->Draw(Color, Position.ArrowFrom, Position.MidPoint, Position.ArrowTo, FZPosition,
                 Position.HasMid);
}

void TSeriesMarks::DrawSymbol(TCustomTextShape* Shape, TColor Color, const TRectF& R) {
  TCanvas3D* canvas = FParent->Canvas();
  if (!canvas) return;
  FSymbol->SetColor(Color);
  FSymbol->SetTransparent(false);
  const TKelPen* markPen = Shape->Pen();
  const TKelPen* symbolPen = FSymbol->Pen();
  const float w = (markPen->Visible() ? markPen->Width() * 0.5f : 0) +
                  (symbolPen->Visible() ? symbolPen->Width() * 0.5f : 0);
  // A square about the height of the text.
  FParent->TryAssignFont(Shape->Font());
  const float side = static_cast<float>(canvas->TextHeight("W"));
  const float left = R.Left + 4 + w;
  const float top = R.Top + 3 + w;
  FSymbol->Draw(FParent, {left, top, left + side, top + side}, FZPosition, 0);
}

}  // namespace sextant
