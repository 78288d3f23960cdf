// The paint path of every series kind allocates nothing per point: a
// repeated paint of 20,000 points makes about as many allocations as one of
// 200 (axis labels and the like, not the points). Counted by replacing the
// global allocation functions in this test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>

#include "stand_in_hosts.h"
#include "marks/series_pointer.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/area_series.h"
#include "series/bar_series.h"
#include "series/horiz_bar_series.h"
#include "series/line_series.h"
#include "series/point_series.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t Size) {
  ++gAllocations;
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

namespace sextant::testing {
namespace {

struct KindCase {
  const char* Name;
  // Adds the series (two for the stacking modes) with N points.
  std::function<void(TChart&, int)> Fill;
};

template <class T>
T* AddKind(TChart& Chart, int N, double Shift) {
  auto* s = new T();
  Chart.AddSeries(s);
  s->BeginUpdate();
  for (int i = 0; i < N; ++i) {
    const double v = 50 + Shift + 40 * std::sin(i * 0.01);
    if constexpr (std::is_same_v<T, THorizBarSeries>)
      s->AddXY(v, i);
    else
      s->AddXY(i, v);
  }
  s->EndUpdate();
  return s;
}

long AllocationsOfOnePaint(const KindCase& Case, int N) {
  StandInHost host;
  TRecordingCanvas rec;
  rec.SetRecording(false);
  TChart chart;
  chart.SetBounds(0, 0, 800, 500);
  chart.SetHostControl(&host);
  chart.SetView3D(false);
  Case.Fill(chart, N);
  chart.Draw(&rec, {0, 0, 800, 500});  // buffers take their size
  const long before = gAllocations.load();
  chart.Draw(&rec, {0, 0, 800, 500});
  return gAllocations.load() - before;
}

TEST(SeriesKindsAllocation, RepeatedPaintsAllocateNothingPerPoint) {
  const KindCase cases[] = {
      {"point", [](TChart& c, int n) { AddKind<TPointSeries>(c, n, 0); }},
      {"line with pointers",
       [](TChart& c, int n) { AddKind<TLineSeries>(c, n, 0)->Pointer()->SetVisible(true); }},
      {"point colours",
       [](TChart& c, int n) { AddKind<TPointSeries>(c, n, 0)->SetColorEachPoint(true); }},
      {"area", [](TChart& c, int n) { AddKind<TAreaSeries>(c, n, 0); }},
      {"stacked areas",
       [](TChart& c, int n) {
         AddKind<TAreaSeries>(c, n, 0)->SetMultiArea(maStacked);
         AddKind<TAreaSeries>(c, n, 10)->SetMultiArea(maStacked);
       }},
      {"bar", [](TChart& c, int n) { AddKind<TBarSeries>(c, n, 0); }},
      {"side bars",
       [](TChart& c, int n) {
         AddKind<TBarSeries>(c, n, 0);
         AddKind<TBarSeries>(c, n, 5)->SetMultiBar(mbSide);
       }},
      {"stacked 100 bars",
       [](TChart& c, int n) {
         AddKind<TBarSeries>(c, n, 0);
         AddKind<TBarSeries>(c, n, 5)->SetMultiBar(mbStacked100);
       }},
      {"horizontal bars", [](TChart& c, int n) { AddKind<THorizBarSeries>(c, n, 0); }},
  };
  for (const KindCase& c : cases) {
    const long small = AllocationsOfOnePaint(c, 200);
    const long large = AllocationsOfOnePaint(c, 20000);
    // One allocation per point would add about 19,800.
    EXPECT_LT(large - small, 100) << c.Name << ": " << small << " vs " << large;
  }
}

}  // namespace
}  // namespace sextant::testing
