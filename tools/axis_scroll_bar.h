// Scroll bars drawn inside the chart.
//
// TKelScrollBar is a generic scroll bar painted on the chart's canvas over
// an abstract position space: a total count (Max), a visible count
// (CurrentCount) and a first visible position (Position). It owns the bar's
// geometry, drawing, mouse handling and auto-repeat.
//
// TAxisScrollBarTool couples that space to one axis: Max units spread over
// the data extent of the axis, the thumb shows the axis range within the
// extent, and moving or stretching the thumb moves or resizes the axis.
// The bar lies parallel to the axis, just outside its labels, and the axis
// reserves room for it (IExtraSpace).
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "canvas/shape.h"
#include "tools/chart_tool.h"

namespace sextant {

class IHostTimer;
class TKelBrush;
class TKelGradient;
class TKelPicture;
class TKelScrollBar;

enum TKelScrollBarDrawStyle { dsAlways, dsWhenNeeded };
enum TKelScrollBarPart { spNone, spThumb, spArrowInc, spArrowDec, spResizeInc, spResizeDec };
enum TScrollThumbStyle { stsCustom, stsThumb1, stsThumb2, stsThumb3, stsThumb4 };

// The thumb's look and size. Size 0 makes the thumb length proportional to
// the visible count; the styles other than stsCustom draw one of the
// program's thumb pictures instead of the brush.
class TScrollBarThumb : public TKelCustomShapeBrushPen {
 public:
  explicit TScrollBarThumb(TKelScrollBar* Scroll);

  // Brush, pen, visibility, Size and Style.
  void Assign(const TPersistent* Source) override;

  int Size() const { return FSize; }
  void SetSize(int Value);
  TScrollThumbStyle Style() const { return FStyle; }
  void SetStyle(TScrollThumbStyle Value);
  // The brush's picture and gradient.
  TKelPicture* Image() const;
  TKelGradient* Gradient() const;

  TKelScrollBar* IScroll;  // the owning bar

 private:
  int FSize = 0;
  TScrollThumbStyle FStyle = stsCustom;
};

class TKelScrollBar : public TKelCustomTool {
 public:
  explicit TKelScrollBar(TComponent* AOwner = nullptr);
  ~TKelScrollBar() override;

  // The scroll bar settings, then the element settings.
  void Assign(const TPersistent* Source) override;
  bool ClassIncludes(const TKelCustomTool* Tool) const override;

  // ---- Position space ----
  virtual double CalcDelta(double New, double Old) const;
  virtual int CurrentCount() const;
  virtual int DeltaMain() const;
  virtual int GetPosition() const;
  virtual void InflateThumbLength(bool IsInc, double Delta);
  // Stores Value as given (no clamping) and raises OnSetPosition.
  virtual void SetPosition(int Value);
  virtual void SetSize(int Value);
  // Sets the reference rectangle R for a drawing; false: nothing to draw.
  virtual bool ShouldDraw(TRectF& Rect);
  virtual int TotalCount() const;

  int Position() const { return GetPosition(); }
  // Scrolls so that Index is inside the visible part.
  void EnsureVisible(int Index);

  // A bar that is switched off or leaves its chart ends its drag (it would
  // never see the button's release).
  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent Event) override;
  void ChartMouseEvent(TChartMouseEvent Event, TMouseButton Button, TShiftState Shift, int X,
                       int Y) override;
  std::string Description() const override;

  // ---- Settings ----
  bool AllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value) { SetBooleanProperty(FAllowResize, Value); }
  TKelBrush* ArrowBrush() const { return FArrowBrush.get(); }
  void SetArrowBrush(const TKelBrush* Value);
  bool Arrows() const { return FArrows; }
  void SetArrows(bool Value) { SetBooleanProperty(FArrows, Value); }
  bool AutoRepeat() const { return FAutoRepeat; }
  void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
  // The bar brush's back colour: the track fill.
  TColor BackColor() const;
  void SetBackColor(TColor Value);
  TPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TPanelBevel Value);
  TKelBrush* DisabledArrow() const { return FDisabledArrow.get(); }
  void SetDisabledArrow(const TKelBrush* Value);
  TKelScrollBarDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TKelScrollBarDrawStyle Value);
  // The bar brush's gradient.
  TKelGradient* Gradient() const;
  void SetGradient(const TKelGradient* Value);
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value) { SetBooleanProperty(FHorizontal, Value); }
  int InitialDelay() const { return FInitial; }
  void SetInitialDelay(int Value) { FInitial = Value; }
  int MinThumbSize() const { return FMinSize; }
  // The pixel lengths of the bar (Size, MinThumbSize, RoundSize, the
  // thumb's Size) are clamped to 0 .. KelMaxPixelPos, Margin to
  // +-KelMaxPixelPos: larger values fit no control.
  void SetMinThumbSize(int Value) { SetIntegerProperty(FMinSize, std::clamp(Value, 0, KelMaxPixelPos)); }
  int RoundSize() const { return FRoundSize; }
  void SetRoundSize(int Value) { SetIntegerProperty(FRoundSize, std::clamp(Value, 0, KelMaxPixelPos)); }
  int Size() const { return FSize; }
  TScrollBarThumb* Thumb() const { return FThumb.get(); }
  void SetThumb(const TScrollBarThumb* Value);
  TKelBrush* ThumbBrush() const { return FThumb->Brush(); }
  int ThumbSize() const { return FThumb->Size(); }
  void SetThumbSize(int Value) { FThumb->SetSize(Value); }

  // ---- Geometry of the last drawing (from R and Size) ----
  TRectF MainRectangle() const;
  TRectF ScrollRectangle() const;  // the track
  TRectF DecRectangle() const;
  TRectF IncRectangle() const;
  TRectF ThumbRectangle() const;
  std::array<TPointF, 3> DecArrowPoints() const;
  std::array<TPointF, 3> IncArrowPoints() const;
  // Computes ThumbBegin and ThumbEnd from the position space.
  void CalcThumbPosition();

  // ---- Drawing and mouse ----
  void Draw();
  void ProcessClick(TPointF P);
  void MouseMove(int X, int Y);
  void MouseUp();
  void ApplyScroll(double Delta, bool IsClick);

  // ---- State ----
  TKelScrollBarPart In() const { return FIn; }
  bool DecOutline() const { return FDecOutline; }
  bool IncOutline() const { return FIncOutline; }
  // The auto-repeat timer (null until the first repeating click).
  IHostTimer* Timer() const { return FTimer.get(); }

  // ---- Events ----
  std::function<void(TPersistent* Sender)> OnScrolled;
  std::function<void(TPersistent* Sender, int Value)> OnSetPosition;
  std::function<void(TPersistent* Sender)> OnChangeSize;

  // ---- Working fields ----
  float ThumbBegin = 0;
  float ThumbEnd = 0;
  bool FirstTime = true;
  TPointF OldPoint{0, 0};
  TRectF R;             // reference rectangle of the last drawing
  int Max = 0;          // total count
  int ThumbLength = 0;  // visible count of the plain bar

 protected:
  void DoChange(double Value, bool IsClick);
  void DoTimer();
  void StopTimer();
  // Forgets a drag in progress and stops the repeat timer (no repaint).
  void EndDrag();
  // Arrow length along the bar: Size with arrows, else 0.
  int ArrowSize() const { return FArrows ? FSize : 0; }
  bool OverResizeGrip(TPointF P, bool Inc) const;
  void DrawArrowOutline(const std::array<TPointF, 3>& Points);
  // The thumb's picture or rectangle and its bevel.
  void DrawThumb(const TRectF& Thumb);

  TKelScrollBarDrawStyle FDrawStyle = dsAlways;
  int FInitial = 250;
  std::unique_ptr<TScrollBarThumb> FThumb;
  std::unique_ptr<IHostTimer> FTimer;
  TKelScrollBarPart FIn = spNone;
  bool FAllowResize = false;
  bool FAutoRepeat = true;
  TPanelBevel FBevel = bvRaised;
  std::unique_ptr<TKelBrush> FArrowBrush;
  bool FArrows = true;
  std::unique_ptr<TKelBrush> FDisabledArrow;
  int FMinSize = 4;
  int FPosition = 0;
  int FRoundSize = 0;
  int FSize = 18;
  bool FDecOutline = false;
  bool FIncOutline = false;
  bool FHorizontal = false;
};

class TAxisScrollBarTool : public TKelScrollBar {
 public:
  explicit TAxisScrollBarTool(TComponent* AOwner = nullptr);
  ~TAxisScrollBarTool() override;

  // The axis reference and Margin, then the scroll bar settings.
  void Assign(const TPersistent* Source) override;
  bool ClassIncludes(const TKelCustomTool* Tool) const override;

  TChartAxis* Axis() const { return FAxis; }
  void SetAxis(TChartAxis* Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);

  void SetActive(bool Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void ChartEvent(TChartToolEvent Event) override;
  std::string Description() const override;
  std::string LongDescription() const override;
  int CurrentCount() const override;
  void InflateThumbLength(bool IsInc, double Delta) override;
  // Stores the position, then moves the axis to it (keeping its width).
  void SetPosition(int Value) override;
  void SetSize(int Value) override;
  bool ShouldDraw(TRectF& Rect) override;

  // Sets the position from the axis range against the data extent.
  void Reposition();
  // The axis reserves Size + Margin pixels beyond its labels while active.
  void PrepareMargin();
  // Sets the axis (and the opposite one where a series uses both).
  void ChangeAxisMinMax(double AMin, double AMax);
  // The data extent of the axis and its current range; false without an axis.
  bool GetAxisLimits(double& DataMin, double& DataMax, double& ARange) const;

 private:
  TChartAxis* FAxis = nullptr;  // not owned
  int FMargin = 5;
};

}  // namespace sextant
