// TCustomChartElement: the base of series and tools. An element belongs to
// one chart (not owned), has an active flag, a pen and a brush, and asks its
// chart to repaint when a setting changes.
#pragma once

#include <memory>
#include <string>

#include "canvas/kel_component.h"
#include "platform/kel_types.h"

namespace sextant {

class TCustomAxisPanel;
class TKelBrush;
class TKelPen;

// The phases of a chart paint (and the mouse leaving it) that a chart and
// its series tell their tools about.
enum TChartToolEvent {
  cteAfterDraw,
  cteBeforeDrawSeries,
  cteBeforeDraw,
  cteBeforeDrawAxes,
  cteAfterDrawSeries,
  cteMouseLeave
};

class TCustomChartElement : public TComponent {
 public:
  explicit TCustomChartElement(TComponent* AOwner = nullptr);
  ~TCustomChartElement() override;

  void Assign(const TPersistent* Source) override;

  bool Active() const { return FActive; }
  virtual void SetActive(bool Value);
  bool Visible() const { return FActive; }
  void SetVisible(bool Value) { SetActive(Value); }

  TKelBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TKelBrush* Value);
  TKelPen* Pen() const { return FPen.get(); }
  virtual void SetPen(const TKelPen* Value);

  TCustomAxisPanel* ParentChart() const { return FParent; }
  virtual void SetParentChart(TCustomAxisPanel* Value);

  bool ShowInEditor() const { return FShowInEditor; }
  void SetShowInEditor(bool Value) { FShowInEditor = Value; }
  void* TagObject() const { return FTagObject; }
  void SetTagObject(void* Value) { FTagObject = Value; }
  long Tag() const { return FTag; }
  void SetTag(long Value) { FTag = Value; }

  // Asks the chart to invalidate; nothing is painted synchronously.
  void Repaint();
  virtual void CanvasChanged(TPersistent* Sender);

  bool DontSerialize = false;
  bool IInternalUse = false;

 protected:
  // Store the value and Repaint, only when it differs (for floating values:
  // differs or is unordered).
  void SetBooleanProperty(bool& Variable, bool Value);
  void SetColorProperty(TColor& Variable, TColor Value);
  void SetIntegerProperty(int& Variable, int Value);
  void SetDoubleProperty(double& Variable, double Value);
  void SetSingleProperty(float& Variable, float Value);
  void SetStringProperty(std::string& Variable, const std::string& Value);


  bool FActive = true;
  std::unique_ptr<TKelBrush> FBrush;
  std::unique_ptr<TKelPen> FPen;
  bool FShowInEditor = true;
  void* FTagObject = nullptr;
  long FTag = 0;
  TCustomAxisPanel* FParent = nullptr;
};

}  // namespace sextant
