// The fast line with DrawAllPoints off reads its level-of-detail index
// instead of the points inside a pixel column. This target drives one
// series drawn that way and a twin drawn by visiting every point (a kind
// derived from the fast line) through the same appends, bulk loads,
// inserts, deletes, value edits, nulls, values that are not finite, ring
// window trims, axis changes and style changes, and requires every paint
// of the two to draw the same lines and leave the same pen.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_chart_support.h"
#include "series/fast_line_series.h"
#include "series/ring_window.h"

namespace sextant {
namespace {

class TPerPointLine : public TFastLineSeries {};

struct TTwinCharts {
  std::unique_ptr<TChart> Chart[2];
  TFastLineSeries* Series[2] = {nullptr, nullptr};
  TTwinCharts() {
    for (int k = 0; k < 2; ++k) {
      Chart[k] = std::make_unique<TChart>();
      Chart[k]->SetBounds(0, 0, 320, 200);
      Chart[k]->SetView3D(false);
      Series[k] = k == 0 ? new TFastLineSeries() : new TPerPointLine();
      Chart[k]->AddSeries(Series[k]);
      Series[k]->SetDrawAllPoints(false);
    }
  }
};

void ComparePaints(TTwinCharts& T, int Step) {
  std::vector<std::pair<TPointF, TPointF>> lines[2];
  int oldX[2], oldY[2];
  for (int k = 0; k < 2; ++k) {
    ICanvasState.reset();
    TRecordingCanvas rec;
    T.Chart[k]->Draw(&rec, {0, 0, T.Chart[k]->Width(), T.Chart[k]->Height()});
    lines[k] = rec.Lines();
    oldX[k] = T.Series[k]->OldX;
    oldY[k] = T.Series[k]->OldY;
  }
  ICanvasState.reset();
  const std::string where = "step " + std::to_string(Step) + ", " + std::to_string(T.Series[0]->Count()) + " points";
  FUZZ_CHECK(lines[0].size() == lines[1].size(),
             where + ": " + std::to_string(lines[0].size()) + " lines instead of " + std::to_string(lines[1].size()));
  for (std::size_t i = 0; i < lines[0].size(); ++i)
    FUZZ_CHECK(lines[0][i] == lines[1][i], where + ": line " + std::to_string(i) + " differs");
  FUZZ_CHECK(oldX[0] == oldX[1] && oldY[0] == oldY[1], where + ": pen differs");
}

}  // namespace
}  // namespace sextant

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace sextant;
  TFuzzInput in(Data, Size);
  TTwinCharts t;
  std::vector<double> xs, ys;
  double nextX = 0;
  for (int step = 0; step < 64 && !in.Empty(); ++step) {
    const int op = in.SmallIn(0, 15);
    const int count = t.Series[0]->Count();
    try {
      // Each choice is read once and applied to both series.
      switch (op) {
        case 0: {  // a run of points in X order, one by one
          const int n = in.SmallIn(1, 200);
          const double y0 = FuzzPickValue(in), dy = FuzzPickValue(in);
          for (int k = 0; k < 2; ++k)
            for (int i = 0; i < n; ++i) t.Series[k]->AddXY(nextX + i, y0 + dy * ((i * 7919) % 13 - 6));
          nextX += n;
          break;
        }
        case 1: {  // a bulk load, X in order with repeats
          const int n = in.SmallIn(1, 255) * 40;
          xs.resize(static_cast<std::size_t>(n));
          ys.resize(static_cast<std::size_t>(n));
          const double amp = FuzzPickValue(in);
          const int repeat = in.SmallIn(1, 8);
          for (int i = 0; i < n; ++i) {
            xs[static_cast<std::size_t>(i)] = nextX + i / repeat;
            ys[static_cast<std::size_t>(i)] = amp * std::sin(i * 0.05) + (i % 17);
          }
          nextX += n / repeat + 1;
          for (int k = 0; k < 2; ++k) t.Series[k]->AddArrays(xs, ys);
          break;
        }
        case 2: {  // one value, possibly not finite, at a place
          if (count == 0) break;
          const int i = in.IntIn(0, count - 1);
          const double v = FuzzPickValue(in);
          for (int k = 0; k < 2; ++k) t.Series[k]->YValues()->SetValue(i, v);
          break;
        }
        case 3: {  // insert inside by X order
          if (count == 0) break;
          const double x = t.Series[0]->XValue(in.IntIn(0, count - 1)) + 0.25;
          const double y = FuzzPickValue(in);
          for (int k = 0; k < 2; ++k) t.Series[k]->AddXY(x, y);
          break;
        }
        case 4: {  // delete a range
          if (count == 0) break;
          const int start = in.IntIn(0, count - 1);
          const int n = in.SmallIn(1, 255) * in.SmallIn(1, 8);
          for (int k = 0; k < 2; ++k) t.Series[k]->Delete(start, n);
          break;
        }
        case 5: {  // nulls on or off over a range
          if (count == 0) break;
          const int start = in.IntIn(0, count - 1);
          const int n = in.SmallIn(1, 200);
          const bool on = in.Byte() % 3 != 0;
          for (int k = 0; k < 2; ++k)
            for (int i = start; i < std::min(count, start + n); ++i) t.Series[k]->SetNull(i, on);
          break;
        }
        case 6: {
          const TTreatNullsStyle styles[] = {tnDontPaint, tnSkip, tnIgnore};
          const TTreatNullsStyle v = styles[in.Byte() % 3];
          for (int k = 0; k < 2; ++k) t.Series[k]->SetTreatNulls(v);
          break;
        }
        case 7: {
          const TDrawAllPointsStyle v = in.Byte() % 2 ? daMinMax : daFirst;
          const bool stairs = in.Byte() % 4 == 0;
          for (int k = 0; k < 2; ++k) {
            t.Series[k]->SetDrawAllPointsStyle(v);
            t.Series[k]->SetStairs(stairs);
          }
          break;
        }
        case 8: {  // vertical axis: automatic, inverted or a given range
          const int mode = in.SmallIn(0, 2);
          const double a = FuzzPickValue(in), b = FuzzPickValue(in);
          for (int k = 0; k < 2; ++k) {
            TChartAxis* axis = t.Chart[k]->LeftAxis();
            if (mode == 0) axis->SetAutomatic(true);
            if (mode == 1) axis->SetInverted(!axis->Inverted());
            if (mode == 2 && a <= b) axis->SetMinMax(a, b);
          }
          break;
        }
        case 9: {  // horizontal axis: a page of the data, inverted, automatic
          const int mode = in.SmallIn(0, 2);
          const double from = count > 0 ? t.Series[0]->XValue(in.IntIn(0, count - 1)) : 0;
          const double width = in.SmallIn(0, 255) * 3.5;
          for (int k = 0; k < 2; ++k) {
            TChartAxis* axis = t.Chart[k]->BottomAxis();
            if (mode == 0) axis->SetAutomatic(true);
            if (mode == 1) axis->SetInverted(!axis->Inverted());
            if (mode == 2) axis->SetMinMax(from, from + width);
          }
          break;
        }
        case 10: {  // a ring window trim
          const int capacity = in.SmallIn(1, 255) * 20;
          for (int k = 0; k < 2; ++k) {
            TRingWindow window(*t.Series[k], capacity);
            const std::vector<double> y{1, 2, 3};
            window.Append(y);
          }
          if (t.Series[0]->Count() > 0) nextX = t.Series[0]->XValues()->Last() + 1;
          break;
        }
        case 11: {  // a point with its own colour, or colour each point
          if (count == 0) break;
          const int i = in.IntIn(0, count - 1);
          const bool each = in.Byte() % 4 == 0;
          for (int k = 0; k < 2; ++k) {
            if (each)
              t.Series[k]->SetColorEachPoint(!t.Series[k]->ColorEachPoint());
            else
              t.Series[k]->SetValueColor(i, 0xFF00FF00);
          }
          break;
        }
        case 12: {
          for (int k = 0; k < 2; ++k) t.Series[k]->Clear();
          nextX = 0;
          break;
        }
        case 13: {  // exchange two Y values
          if (count < 2) break;
          const int a = in.IntIn(0, count - 1), b = in.IntIn(0, count - 1);
          for (int k = 0; k < 2; ++k) t.Series[k]->YValues()->Exchange(a, b);
          break;
        }
        default:
          ComparePaints(t, step);
          break;
      }
    } catch (const ChartException&) {
      // Refused inputs change nothing in either series.
    }
  }
  ComparePaints(t, -1);
  return 0;
}
