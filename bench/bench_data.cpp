#include "bench_data.h"

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "panel/axis_panel.h"
#include "panel/zoom_panning.h"
#include "series/kel_random.h"

namespace sextant::bench {

const char* ModeName(TLineMode Mode) {
  switch (Mode) {
    case lmSegments: return "segments";
    case lmPolyline: return "flAll";
    case lmDaFirst: return "daFirst";
    case lmDaMinMax: return "daMinMax";
    case lmStairs: return "stairs";
    case lmNullIgnore: return "nulls_tnIgnore";
    case lmNullSkip: return "nulls_tnSkip";
    case lmNullDontPaint: return "nulls_tnDontPaint";
  }
  return "?";
}

bool ModeHasNulls(TLineMode Mode) {
  return Mode == lmNullIgnore || Mode == lmNullSkip || Mode == lmNullDontPaint;
}

void ConfigureMode(TFastLineSeries& Series, TLineMode Mode) {
  switch (Mode) {
    case lmSegments: break;
    case lmPolyline: Series.SetDrawStyle(flAll); break;
    case lmDaFirst:
      Series.SetDrawAllPoints(false);
      Series.SetDrawAllPointsStyle(daFirst);
      break;
    case lmDaMinMax:
      Series.SetDrawAllPoints(false);
      Series.SetDrawAllPointsStyle(daMinMax);
      break;
    case lmStairs: Series.SetStairs(true); break;
    case lmNullIgnore: Series.SetTreatNulls(tnIgnore); break;
    case lmNullSkip: Series.SetTreatNulls(tnSkip); break;
    case lmNullDontPaint: Series.SetTreatNulls(tnDontPaint); break;
  }
}

TBenchChart::TBenchChart() {
  FChart.SetBounds(0, 0, KChartWidth, KChartHeight);
  FChart.SetHostControl(&FHost);
  FChart.SetView3D(false);
  FSeries = new TFastLineSeries();
  FChart.AddSeries(FSeries);
}

void TBenchChart::Load(long N, TLineMode Mode) {
  const TWalk& w = RandomWalk(N);
  const bool nulls = ModeHasNulls(Mode);
  FSeries->BeginUpdate();
  FSeries->Clear();
  if (!nulls) {
    FSeries->AddArrays(w.X, w.Y);
    N = 0;  // loaded
  }
  for (long i = 0; i < N; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (nulls && w.Null[k])
      FSeries->AddNullXY(w.X[k], w.Y[k], "");
    else
      FSeries->AddXY(w.X[k], w.Y[k]);
  }
  FSeries->EndUpdate();
  ConfigureMode(*FSeries, Mode);
}

bool StartPan(TBenchChart& Bench) {
  TChart& chart = Bench.Chart();
  chart.SetAllowPanning(pmHorizontal);
  chart.Zoom()->SetAllow(false);
  const TRectF& r = chart.ChartRect;
  const float x = (r.Left + r.Right) * 0.5f;
  const float y = (r.Top + r.Bottom) * 0.5f;
  chart.HostMouseDown(TMouseButton::mbRight, ssRight, x, y);
  return chart.Panning()->Active();
}

void PanStep(TBenchChart& Bench, long Step) {
  TChart& chart = Bench.Chart();
  const TRectF& r = chart.ChartRect;
  const float x = (r.Left + r.Right) * 0.5f + static_cast<float>(Step % 2 == 0 ? 1 : 0);
  const float y = (r.Top + r.Bottom) * 0.5f;
  chart.HostMouseMove(ssRight, x, y);
}

void InitializeEngineForBench() {
  InstallDefaultPalette();
  KelCanvasClasses();
  KelMaxPixelPos = 32767;
  RandSeed = 0x1234567u;
  KelDefaultFont();
}

std::string PaintName(const char* Canvas, TLineMode Mode, long N) {
  return std::string("Paint/") + Canvas + "/" + ModeName(Mode) + "/" + std::to_string(N);
}

}  // namespace sextant::bench
