// Settings and drag state of panning and zooming with the mouse.
// The chart's mouse handlers use them; this file holds only the settings
// objects and their small operations.
#pragma once

#include <memory>
#include <vector>

#include "canvas/kel_persistent.h"
#include "platform/host_control.h"

namespace sextant {

class TKelBrush;
class TKelPen;

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TMouseWheelStyle { pmwNormal, pmwInverted, pmwNone };
enum TKelZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

// A drag in progress: where it started (X0, Y0) and the last position (X1, Y1).
class TZoomPanning : public TPersistent {
 public:
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  // Starts a drag at (X, Y).
  void Activate(int X, int Y);
  // Orders the corners so that X0 <= X1 and Y0 <= Y1.
  void Check();
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

 protected:
  bool FActive = false;
};

class TKelPanning : public TZoomPanning {
 public:
  void Assign(const TPersistent* Source) override;
  bool InsideBounds() const { return FInsideBounds; }
  void SetInsideBounds(bool Value) { FInsideBounds = Value; }
  TMouseWheelStyle MouseWheel() const { return FMouseWheel; }
  void SetMouseWheel(TMouseWheelStyle Value) { FMouseWheel = Value; }

 private:
  bool FInsideBounds = false;
  TMouseWheelStyle FMouseWheel = pmwNormal;
};

// Minimum and maximum of the four standard axes and of every custom axis
// after one zoom.
struct TZoomSnapshot {
  double AxesMinMax[8] = {};  // left, top, right, bottom: minimum then maximum
  int CustomCount = 0;
  std::vector<double> CustomMinMax;  // minimum, maximum per custom axis
};

class TKelZoom : public TZoomPanning {
 public:
  explicit TKelZoom(TNotifyEvent OnChange = nullptr);
  ~TKelZoom() override;
  void Assign(const TPersistent* Source) override;

  bool Allow() const { return FAllow; }
  void SetAllow(bool Value) { FAllow = Value; }
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool Value) { FAnimated = Value; }
  int AnimatedSteps() const { return FAnimatedSteps; }
  void SetAnimatedSteps(int Value) { FAnimatedSteps = Value; }
  // The zoom history, created on first use.
  std::vector<TZoomSnapshot>& AxesHistory();
  bool HasHistory() const { return FAxesHistory != nullptr; }
  // Fill of the zoom rectangle: created on first use (white, no fill).
  TKelBrush* Brush();
  void SetBrush(const TKelBrush* Value);  // null frees it
  bool HasBrush() const { return FBrush != nullptr; }
  TKelZoomDirection Direction() const { return FDirection; }
  void SetDirection(TKelZoomDirection Value) { FDirection = Value; }
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  bool History() const { return FHistory; }
  void SetHistory(bool Value);
  bool KeepAspectRatio() const { return FKeepAspect; }
  void SetKeepAspectRatio(bool Value) { FKeepAspect = Value; }
  TShiftState KeyShift() const { return FKeyShift; }
  void SetKeyShift(TShiftState Value) { FKeyShift = Value; }
  int MinimumPixels() const { return FMinimumPixels; }
  void SetMinimumPixels(int Value) { FMinimumPixels = Value; }
  TMouseButton MouseButton() const { return FMouseButton; }
  void SetMouseButton(TMouseButton Value) { FMouseButton = Value; }
  TMouseWheelStyle MouseWheel() const { return FMouseWheel; }
  void SetMouseWheel(TMouseWheelStyle Value) { FMouseWheel = Value; }
  // Outline of the zoom rectangle: created on first use (silver, width 3, flat ends).
  TKelPen* Pen();
  void SetPen(const TKelPen* Value);  // null frees it
  bool HasPen() const { return FPen != nullptr; }
  bool UpLeftZooms() const { return FUpLeftZooms; }
  void SetUpLeftZooms(bool Value) { FUpLeftZooms = Value; }

 private:
  TNotifyEvent FOnChange;
  bool FAllow = true;
  bool FAnimated = false;
  int FAnimatedSteps = 8;
  std::unique_ptr<std::vector<TZoomSnapshot>> FAxesHistory;
  std::unique_ptr<TKelBrush> FBrush;
  TKelZoomDirection FDirection = tzdBoth;
  bool FFullRepaint = true;
  bool FHistory = false;
  bool FKeepAspect = false;
  TShiftState FKeyShift = 0;
  int FMinimumPixels = 16;
  TMouseButton FMouseButton = TMouseButton::mbLeft;
  TMouseWheelStyle FMouseWheel = pmwNone;
  std::unique_ptr<TKelPen> FPen;
  bool FUpLeftZooms = false;
};

// The shift keys required to start panning: none.
inline constexpr TShiftState KelScrollKeyShift = 0;
inline constexpr double AnimatedZoomFactor = 3.0;

}  // namespace sextant
