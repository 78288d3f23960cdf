// Tools: chart elements without data that take part in the chart's life by
// receiving its events (paint phases, mouse, wheel, keys, drag and drop,
// series drawing). TKelCustomToolAxis and TKelCustomToolSeries bind a tool
// to one axis or one series.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host_control.h"
#include "series/chart_element.h"

namespace sextant {

class TChartAxis;
class TChartSeries;

enum TChartMouseEvent { cmeDown, cmeMove, cmeUp };
enum TWheelMouseEvent { wmeDown, wmeMove, wmeUp };
enum TChartKeyEvent { ckeDown, ckeUp, ckePress };
enum TChartDragDropEvent { cdeOver, cdeDrop, cdeStart, cdeEnd };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

class TKelCustomTool : public TCustomChartElement {
 public:
  explicit TKelCustomTool(TComponent* AOwner = nullptr);
  ~TKelCustomTool() override;

  virtual void ChartEvent(TChartToolEvent) {}
  virtual void ChartMouseEvent(TChartMouseEvent, TMouseButton, TShiftState, int /*X*/,
                               int /*Y*/) {}
  virtual void ChartDragDropEvent(TChartDragDropEvent, void* /*Source*/, int /*X*/, int /*Y*/,
                                  TDragState, bool& /*Accept*/, void* /*DragObject*/) {}
  virtual void ChartKeyEvent(TChartKeyEvent, std::uint16_t& /*Key*/, char16_t& /*KeyChar*/,
                             TShiftState) {}
  virtual void SeriesEvent(TChartToolEvent, TChartSeries*) {}
  virtual void WheelMouseEvent(TWheelMouseEvent, int /*Delta*/, int /*X*/, int /*Y*/) {}
  virtual std::string Description() const { return ""; }
  virtual std::string LongDescription() const { return ""; }

  // Joins Value's tool list (leaving the previous chart's).
  void SetParentChart(TCustomAxisPanel* Value) override;
  // True when either tool is an instance of the other's class.
  bool SameClass(const TKelCustomTool* Tool) const;
  // True when Tool is an instance of this tool's class (or of a class
  // derived from it). Tool classes override it so that derived classes are
  // recognised; a class without an override matches its exact class only.
  virtual bool ClassIncludes(const TKelCustomTool* Tool) const;
};

class TKelCustomToolAxis : public TKelCustomTool {
 public:
  explicit TKelCustomToolAxis(TComponent* AOwner = nullptr) : TKelCustomTool(AOwner) {}
  void Assign(const TPersistent* Source) override;
  TChartAxis* Axis() const { return FAxis; }
  virtual void SetAxis(TChartAxis* Value);
  bool ClassIncludes(const TKelCustomTool* Tool) const override;

 protected:
  // The chart resets the reference before it frees its axes.
  friend class TCustomAxisPanel;
  TChartAxis* FAxis = nullptr;  // not owned
};

class TKelCustomToolSeries : public TKelCustomTool {
 public:
  explicit TKelCustomToolSeries(TComponent* AOwner = nullptr) : TKelCustomTool(AOwner) {}
  TChartSeries* Series() const { return FSeries; }
  void SetSeries(TChartSeries* Value);
  bool ClassIncludes(const TKelCustomTool* Tool) const override;
  // The series' axes, or the first axis of each direction that has series.
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TChartSeries* FSeries = nullptr;  // not owned; cleared when it is destroyed
};

}  // namespace sextant
