// TChartView: the chart as a ready-made Qt widget for any window or layout.
//
//   auto* view = new sextant::TChartView(parent);
//   layout->addWidget(view);
//   auto* series = new sextant::TFastLineSeries(view->Chart());
//   view->Chart()->AddSeries(series);
//
// The view owns its TChart (created with no owner, destroyed with the view)
// and hosts it the way TChartWidget does: paints, resizes, mouse buttons,
// moves, wheel, double clicks, leave and keys reach the chart in
// device-independent pixels. It expands in layouts, prefers 400 x 250,
// takes the focus on click and tab, and repaints itself whenever the chart
// asks. The first view created without a host application object installs
// the Qt platform services (timers, system font, number separators).
#pragma once

#include <QSize>

#include <memory>

#include "platform/qt/chart_widget.h"

namespace sextant {

class TChart;

class TChartView : public TChartWidget {
 public:
  explicit TChartView(QWidget* parent = nullptr);
  ~TChartView() override;
  TChartView(const TChartView&) = delete;
  TChartView& operator=(const TChartView&) = delete;

  // The chart shown, for configuration (series, axes, tools, events).
  TChart* Chart() const { return FChart.get(); }

  QSize sizeHint() const override { return {400, 250}; }
  QSize minimumSizeHint() const override { return {60, 40}; }

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  std::unique_ptr<TChart> FChart;
};

}  // namespace sextant
