// gallery_example: one chart per series kind, each saved as a PNG file.
//
//   gallery_example [DIR]
//
// Writes into DIR (default: the current directory) points.png, lines.png,
// areas.png, stacked_areas.png, bars.png, stacked_bars.png,
// horizontal_bars.png, bars_and_line.png and flat_bars.png. Exit codes: 0
// all written, 1 one could not be written, 2 wrong command line.
#include <QDir>
#include <QGuiApplication>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include <sextant/axes/chart_axis.h>
#include <sextant/axes/axis_labels.h>
#include <sextant/canvas/brush.h>
#include <sextant/canvas/gradient.h>
#include <sextant/canvas/pen.h>
#include <sextant/marks/series_marks.h>
#include <sextant/marks/series_pointer.h>
#include <sextant/panel/chart.h>
#include <sextant/panel/legend.h>
#include <sextant/panel/titles.h>
#include <sextant/platform/qt/chart_render.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/area_series.h>
#include <sextant/series/bar_series.h>
#include <sextant/series/horiz_bar_series.h>
#include <sextant/series/line_series.h>
#include <sextant/series/point_series.h>

using namespace sextant;

namespace {

// A chart with a title and the legend on the right; the chart owns the
// series added to it through the owner argument.
std::unique_ptr<TChart> NewChart(const char* Title, bool View3D = false) {
  auto chart = std::make_unique<TChart>();
  chart->SetView3D(View3D);
  chart->Title()->SetCaption(Title);
  chart->Legend()->SetVisible(true);
  return chart;
}

template <class T>
T* AddSeries(TChart& Chart, const char* Title) {
  auto* s = new T(&Chart);
  s->SetTitle(Title);
  Chart.AddSeries(s);
  return s;
}

const double kQuarter[] = {42, 55, 48, 63, 70, 66, 81, 77};

void Points(TChart& c) {
  auto* a = AddSeries<TPointSeries>(c, "Circles");
  auto* b = AddSeries<TPointSeries>(c, "Triangles");
  auto* d = AddSeries<TPointSeries>(c, "Diamonds");
  a->Pointer()->SetStyle(psCircle);
  b->Pointer()->SetStyle(psTriangle);
  d->Pointer()->SetStyle(psDiamond);
  for (int i = 0; i < 40; ++i) {
    const double x = i * 0.25;
    a->AddXY(x, 50 + 30 * std::sin(x));
    b->AddXY(x + 0.1, 45 + 20 * std::cos(x * 0.7));
    d->AddXY(x + 0.05, 20 + 3 * x + 8 * std::sin(3 * x));
  }
  b->Pointer()->SetSize(5);
}

void Lines(TChart& c) {
  auto* a = AddSeries<TLineSeries>(c, "With pointers");
  auto* b = AddSeries<TLineSeries>(c, "Stairs");
  auto* d = AddSeries<TLineSeries>(c, "Gap at a null");
  a->Pointer()->SetVisible(true);
  a->Pointer()->SetStyle(psCircle);
  a->LinePen()->SetWidth(2);
  b->SetStairs(true);
  for (int i = 0; i < 8; ++i) {
    a->AddXY(i, kQuarter[i]);
    b->AddXY(i, kQuarter[i] - 25);
    if (i == 4)
      d->AddNullXY(i, 90 - i * 6);
    else
      d->AddXY(i, 90 - i * 6);
  }
  a->Marks()->SetVisible(true);
}

void Areas(TChart& c) {
  auto* a = AddSeries<TAreaSeries>(c, "Gradient");
  auto* b = AddSeries<TAreaSeries>(c, "Transparent");
  a->Brush()->Gradient()->SetVisible(true);
  a->Brush()->Gradient()->SetStartColor(0xFF4466A3);
  a->Brush()->Gradient()->SetEndColor(0xFFD8E4F8);
  b->SetTransparency(45);
  for (int i = 0; i < 30; ++i) {
    a->AddXY(i, 40 + 25 * std::sin(i * 0.3));
    b->AddXY(i, 30 + 20 * std::cos(i * 0.25));
  }
}

void StackedAreas(TChart& c) {
  const char* names[] = {"North", "South", "West"};
  TAreaSeries* s[3];
  for (int k = 0; k < 3; ++k) s[k] = AddSeries<TAreaSeries>(c, names[k]);
  for (int i = 0; i < 12; ++i)
    for (int k = 0; k < 3; ++k) s[k]->AddXY(i, 10 + k * 5 + 6 * std::sin(i * 0.5 + k));
  s[0]->SetMultiArea(maStacked);
}

void Bars(TChart& c) {
  auto* a = AddSeries<TBarSeries>(c, "2024");
  auto* b = AddSeries<TBarSeries>(c, "2025");
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};
  for (int i = 0; i < 6; ++i) {
    a->AddXY(i, kQuarter[i], months[i]);
    b->AddXY(i, kQuarter[i + 2] - 10, months[i]);
  }
  a->SetMultiBar(mbSide);
  a->Marks()->SetVisible(true);
  b->SetBarStyle(bsRoundRectangle);
}

void StackedBars(TChart& c) {
  auto* a = AddSeries<TBarSeries>(c, "Hardware");
  auto* b = AddSeries<TBarSeries>(c, "Software");
  auto* d = AddSeries<TBarSeries>(c, "Services");
  const char* years[] = {"2021", "2022", "2023", "2024", "2025"};
  for (int i = 0; i < 5; ++i) {
    a->AddXY(i, 20 + 3 * i, years[i]);
    b->AddXY(i, 15 + 5 * i, years[i]);
    d->AddXY(i, 10 + 2 * (i % 3), years[i]);
  }
  a->SetMultiBar(mbStacked);
  for (TCustomBarSeries* s : {static_cast<TCustomBarSeries*>(a), static_cast<TCustomBarSeries*>(b),
                              static_cast<TCustomBarSeries*>(d)}) {
    s->Marks()->SetVisible(true);
    s->Marks()->SetStyle(smsValue);  // the value, not the year label
    s->SetMarksLocation(mlCenter);
  }
  a->Gradient()->SetVisible(true);
  a->Gradient()->SetStartColor(0xFFFFFFFF);
  a->Gradient()->SetEndColor(0xFF4466A3);
}

void HorizontalBars(TChart& c) {
  auto* a = AddSeries<THorizBarSeries>(c, "Change");
  const double values[] = {12, -8, 20, 5, -14, 9};
  const char* names[] = {"Oslo", "Lima", "Perth", "Kyiv", "Quito", "Turin"};
  for (int i = 0; i < 6; ++i) a->Add(values[i], names[i]);
  a->SetColorEachPoint(true);
  a->Marks()->SetVisible(true);
}

void BarsAndLine(TChart& c) {
  auto* bars = AddSeries<TBarSeries>(c, "Units");
  auto* line = AddSeries<TLineSeries>(c, "Margin %");
  line->SetVertAxis(aRightAxis);
  line->Pointer()->SetVisible(true);
  line->LinePen()->SetWidth(2);
  const double units[] = {120, 135, 160, 150, 180, 210, 205, 230};
  const double margin[] = {12.5, 13.1, 14.8, 14.0, 15.6, 17.2, 16.9, 18.3};
  for (int i = 0; i < 8; ++i) {
    bars->AddXY(i, units[i]);
    line->AddXY(i, margin[i]);
  }
}

// The default 3D view: bars are boxes through their depth.
void Bars3D(TChart& c) {
  auto* a = AddSeries<TBarSeries>(c, "3D bars");
  auto* line = AddSeries<TLineSeries>(c, "3D line");
  for (int i = 0; i < 6; ++i) {
    a->AddXY(i, kQuarter[i]);
    line->AddXY(i, kQuarter[i + 2] - 20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: gallery_example [DIR]\n");
    return 2;
  }
  const QString dir = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString(".");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  QGuiApplication app(argc, argv);
  InstallQtPlatformServices(nullptr);
  QDir().mkpath(dir);

  struct Entry {
    const char* File;
    const char* Title;
    std::function<void(TChart&)> Fill;
    bool View3D;
  } entries[] = {
      {"points.png", "TPointSeries", Points, false},
      {"lines.png", "TLineSeries", Lines, false},
      {"areas.png", "TAreaSeries", Areas, false},
      {"stacked_areas.png", "TAreaSeries, MultiArea maStacked", StackedAreas, false},
      {"bars.png", "TBarSeries, MultiBar mbSide", Bars, false},
      {"stacked_bars.png", "TBarSeries, MultiBar mbStacked", StackedBars, false},
      {"horizontal_bars.png", "THorizBarSeries", HorizontalBars, false},
      {"bars_and_line.png", "Bars and a line on the right axis", BarsAndLine, false},
      {"bars_3d.png", "Bars and a line in 3D", Bars3D, true},
  };
  int failed = 0;
  for (const Entry& e : entries) {
    auto chart = NewChart(e.Title, e.View3D);
    e.Fill(*chart);
    const QString file = dir + "/" + e.File;
    if (SaveChartPng(*chart, file, QSize(640, 400), 1)) {
      std::printf("gallery_example: wrote %s\n", file.toLocal8Bit().constData());
    } else {
      std::fprintf(stderr, "gallery_example: cannot write '%s'\n", file.toLocal8Bit().constData());
      failed = 1;
    }
  }
  return failed;
}
