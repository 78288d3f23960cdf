#include "platform/qt/chart_view.h"

#include <QHideEvent>

#include "panel/chart.h"
#include "platform/platform_services.h"
#include "platform/qt/qt_services.h"

namespace sextant {

TChartView::TChartView(QWidget* parent) : TChartWidget(parent) {
  // An application that did not install host services gets the Qt ones,
  // so that timers (scroll bar repeat) run and fonts follow the system.
  if (!KelPlatform().CreateTimer && !KelPlatform().FontService)
    InstallQtPlatformServices(KelPlatform().SettingsStore);

  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // The chart is set up as a control placed on a window would be: bound to
  // its host and sized inside its loading brackets, then Loaded.
  FChart = std::make_unique<TChart>(nullptr);
  FChart->BeginLoading();
  FChart->SetHostControl(this);
  FChart->SetBounds(0, 0, static_cast<float>(width()), static_cast<float>(height()));
  FChart->EndLoading();
  SetClient(FChart.get());
}

TChartView::~TChartView() {
  // Cut both links before the chart goes, so that neither side calls the
  // other while it is being destroyed.
  SetClient(nullptr);
  FChart->SetHostControl(nullptr);
  FChart.reset();
}

void TChartView::hideEvent(QHideEvent* event) {
  // A hidden widget cannot hold the mouse: end a capture (a pan or scroll
  // bar drag) instead of leaving it pending.
  ReleaseMouse();
  TChartWidget::hideEvent(event);
}

}  // namespace sextant
