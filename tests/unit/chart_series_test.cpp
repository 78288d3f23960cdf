// Series data: the element base, adding in order, deleting, clearing,
// colours and null points, labels, update blocks, order, the chart
// membership (palette colour, axes, events) and the generic drawing hooks.
#include "series/chart_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "series_fixture.h"
#include "tools/chart_tool.h"

using namespace sextant;
using namespace sextant::testing;

namespace {

std::vector<double> Values(const TChartValueList* List) {
  std::vector<double> v;
  for (int i = 0; i < List->Count(); ++i) v.push_back(List->Value(i));
  return v;
}

std::vector<std::string> AllLabels(const TChartSeries& s) {
  std::vector<std::string> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.XLabel(i));
  return v;
}

std::vector<TColor> AllInternalColors(const TChartSeries& s) {
  std::vector<TColor> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.InternalColor(i));
  return v;
}

// Exposes the element's property helpers.
class ProbeElement : public TCustomChartElement {
 public:
  using TCustomChartElement::SetBooleanProperty;
  using TCustomChartElement::SetColorProperty;
  using TCustomChartElement::SetDoubleProperty;
  using TCustomChartElement::SetIntegerProperty;
  using TCustomChartElement::SetSingleProperty;
  using TCustomChartElement::SetStringProperty;
};

// A series kind that only records which points the generic loop visits.
class RecordingSeries : public TChartSeries {
 public:
  std::vector<int> drawn;
  void DrawValue(int ValueIndex) override { drawn.push_back(ValueIndex); }
};

// A tool that records the series events it receives.
class SeriesEventTool : public TKelCustomTool {
 public:
  std::vector<std::string>* log = nullptr;
  std::string name;
  void SeriesEvent(TChartToolEvent Event, TChartSeries*) override {
    log->push_back(name + (Event == cteBeforeDrawSeries ? ":before" : ":after"));
  }
};

const TColor kPalette13[] = {0xFF4466A3, 0xFFF39C35, 0xFFF14C14, 0xFF4E97A8, 0xFF2B406B, 0xFF1D7B63,
                             0xFFB3080E, 0xFFF2C05D, 0xFF5DB79E, 0xFF707070, 0xFFF3EA8D, 0xFFB4B4B4};

}  // namespace

// ---- Element base --------------------------------------------------------------

TEST_F(LineSeriesChartTest, ElementPropertyHelpersRepaintOnlyOnChange) {
  ProbeElement e;
  e.SetParentChart(&chart);
  bool b = false;
  int i = 1;
  TColor c = claRed;
  double d = 1.5;
  float f = 2.5f;
  std::string s = "a";
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Step {
    const char* what;
    std::function<void()> set;
    int repaints;
  };
  const std::vector<Step> steps = {
      {"bool same", [&] { e.SetBooleanProperty(b, false); }, 0},
      {"bool new", [&] { e.SetBooleanProperty(b, true); }, 1},
      {"int same", [&] { e.SetIntegerProperty(i, 1); }, 0},
      {"int new", [&] { e.SetIntegerProperty(i, 2); }, 1},
      {"color same", [&] { e.SetColorProperty(c, claRed); }, 0},
      {"color new", [&] { e.SetColorProperty(c, claBlue); }, 1},
      {"double same", [&] { e.SetDoubleProperty(d, 1.5); }, 0},
      {"double new", [&] { e.SetDoubleProperty(d, 2.5); }, 1},
      {"double to NaN", [&] { e.SetDoubleProperty(d, nan); }, 1},
      {"NaN to NaN is unordered", [&] { e.SetDoubleProperty(d, nan); }, 1},
      {"single same", [&] { e.SetSingleProperty(f, 2.5f); }, 0},
      {"single NaN", [&] { e.SetSingleProperty(f, std::numeric_limits<float>::quiet_NaN()); }, 1},
      {"string same", [&] { e.SetStringProperty(s, "a"); }, 0},
      {"string new", [&] { e.SetStringProperty(s, "b"); }, 1},
  };
  for (const Step& step : steps) {
    host.Invalidates = 0;
    step.set();
    EXPECT_EQ(host.Invalidates, step.repaints) << step.what;
  }
  EXPECT_TRUE(b);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(s, "b");
}

TEST_F(LineSeriesChartTest, ElementPenAndBrushChangesRepaintTheChart) {
  ProbeElement e;
  e.SetParentChart(&chart);
  host.Invalidates = 0;
  e.Pen()->SetWidth(3);
  EXPECT_EQ(host.Invalidates, 1);
  e.Brush()->SetColor(claRed);
  EXPECT_EQ(host.Invalidates, 2);
  // Without a chart a repaint request goes nowhere.
  ProbeElement loose;
  loose.Pen()->SetWidth(3);
  loose.Repaint();
  EXPECT_EQ(host.Invalidates, 2);
}

TEST(ChartElement, AssignCopiesActiveBrushPenAndTags) {
  ProbeElement a, b;
  int tagObject = 0;
  a.SetActive(false);
  a.Brush()->SetColor(claRed);
  a.Pen()->SetWidth(4);
  a.SetTag(7);
  a.SetTagObject(&tagObject);
  b.Assign(&a);
  EXPECT_FALSE(b.Active());
  EXPECT_EQ(b.Brush()->Color(), claRed);
  EXPECT_EQ(b.Pen()->Width(), 4);
  EXPECT_EQ(b.Tag(), 7);
  EXPECT_EQ(b.TagObject(), &tagObject);
  EXPECT_NE(b.Pen(), a.Pen());  // copies, not shared objects
}

// ---- Adding --------------------------------------------------------------------

TEST(ChartSeriesAdd, OrderedInsertionReturnsTheInsertionIndex) {
  struct Case {
    const char* name;
    TChartListOrder order;
    std::vector<double> xs;
    std::vector<int> indices;
    std::vector<double> stored;
  };
  const std::vector<Case> cases = {
      {"ascending", loAscending, {3, 1, 2}, {0, 0, 1}, {1, 2, 3}},
      {"equal goes after", loAscending, {1, 2, 2, 3, 2}, {0, 1, 2, 3, 3}, {1, 2, 2, 2, 3}},
      {"descending", loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
      {"no order appends", loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    s.XValues()->SetOrder(c.order);
    std::vector<int> got;
    for (double x : c.xs) got.push_back(s.AddXY(x, x * 10, "L" + std::to_string(int(x))));
    EXPECT_EQ(got, c.indices) << c.name;
    EXPECT_EQ(Values(s.XValues()), c.stored) << c.name;
    // Y values and labels move with their X.
    for (int i = 0; i < s.Count(); ++i) {
      EXPECT_EQ(s.YValue(i), s.XValue(i) * 10) << c.name;
      EXPECT_EQ(s.XLabel(i), "L" + std::to_string(int(s.XValue(i)))) << c.name;
    }
  }
}

// A value list kind that counts the insertions it is asked for.
class CountingList : public TChartValueList {
 public:
  using TChartValueList::TChartValueList;
  int inserts = 0;
  void InsertChartValue(int ValueIndex, double Value) override {
    ++inserts;
    TChartValueList::InsertChartValue(ValueIndex, Value);
  }
};

// A series kind with a third value list, which takes the general path.
class ThreeListSeries : public TChartSeries {
 public:
  CountingList* z = TChartValueList::Create<CountingList>(this, "Z");
};

// Adding X and Y only (no label, colour or further list) takes a shorter
// path than the general one; both must store the same points in the same
// places, in every order and with values that do not compare.
TEST(ChartSeriesAdd, PlainAndGeneralAddingAgree) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> xs = {5, 1, 3, 3, nan, 2, 7, nan, 0, 7, -1, 4};
  for (TChartListOrder order : {loAscending, loDescending, loNone}) {
    TChartSeries plain;
    ThreeListSeries general;
    plain.XValues()->SetOrder(order);
    general.XValues()->SetOrder(order);
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const double y = 100.0 + static_cast<double>(i);
      general.z->SetTempValue(-y);
      EXPECT_EQ(plain.AddXY(xs[i], y), general.AddXY(xs[i], y)) << "order " << order << " add " << i;
      // The staged values stay readable after the add, on both paths.
      EXPECT_EQ(std::isnan(plain.XValues()->TempValue()), std::isnan(xs[i]));
      EXPECT_EQ(plain.YValues()->TempValue(), y);
    }
    ASSERT_EQ(plain.Count(), static_cast<int>(xs.size()));
    ASSERT_EQ(general.Count(), plain.Count());
    for (int i = 0; i < plain.Count(); ++i) {
      const double px = plain.XValue(i), gx = general.XValue(i);
      EXPECT_TRUE(px == gx || (std::isnan(px) && std::isnan(gx))) << "order " << order << " point " << i;
      EXPECT_EQ(plain.YValue(i), general.YValue(i)) << "order " << order << " point " << i;
      EXPECT_EQ(general.z->Value(i), -general.YValue(i)) << "the third list moves with its point";
    }
    EXPECT_EQ(general.z->inserts, static_cast<int>(xs.size()));
    EXPECT_TRUE(plain.XValues()->Modified());
  }
}

TEST(ChartSeriesAdd, ReservePointsMakesRoomInEveryListAndChangesNothingElse) {
  ThreeListSeries s;
  s.AddXY(1, 10);
  s.AddXY(2, 20);
  s.ReservePoints(5000);
  for (const auto& list : s.ValuesList()) EXPECT_GE(list->Capacity(), 5002u) << list->Name();
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 20}));
  const std::size_t before = s.XValues()->Capacity();
  for (int i = 0; i < 5000; ++i) s.AddXY(3 + i, i);
  EXPECT_EQ(s.XValues()->Capacity(), before) << "the reserved room is used, not grown";
  s.ReservePoints(0);
  EXPECT_EQ(s.XValues()->Capacity(), before) << "reserving never shrinks";
  try {
    s.ReservePoints(-1);
    ADD_FAILURE() << "a negative quantity was accepted";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series ReservePoints: -1 is not a number of points.");
  }
  EXPECT_EQ(s.Count(), 5002);
}

TEST(ChartSeriesAdd, AddFormsPlaceValuesOnTheRightLists) {
  TChartSeries s;
  EXPECT_EQ(s.Add(5), 0);         // X = 0
  EXPECT_EQ(s.AddY(6), 1);        // X = 1
  EXPECT_EQ(s.AddX(10), 2);       // Y = 2 (the X count before)
  EXPECT_EQ(s.AddNullXY(20, 7), 3);
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 10, 20}));
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{5, 6, 2, 7}));
  EXPECT_TRUE(s.IsNull(3));
  EXPECT_FALSE(s.IsNull(2));
}

TEST(ChartSeriesAdd, CancelledAddChangesNothing) {
  TChartSeries s;
  s.AddXY(1, 1, "one");
  int afterAdds = 0;
  s.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  s.OnBeforeAdd = [](TChartSeries* Sender) {
    // The staged values are visible to the handler.
    return Sender->XValues()->TempValue() != 5;
  };
  EXPECT_EQ(s.AddXY(5, 2, "five", claRed), -1);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.YValues()->Count(), 1);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(s.Labels()->Count(), 1);
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(s.AddXY(6, 2), 1);
  EXPECT_EQ(afterAdds, 1);
}

TEST(ChartSeriesAdd, AfterAddRunsOutsideUpdateBlocksOnly) {
  TChartSeries s;
  std::vector<int> seen;
  s.OnAfterAdd = [&](TChartSeries*, int i) { seen.push_back(i); };
  s.AddXY(2, 0);
  s.AddXY(1, 0);
  s.BeginUpdate();
  s.AddXY(3, 0);
  s.EndUpdate();
  EXPECT_EQ(seen, (std::vector<int>{0, 0}));
}

TEST(ChartSeriesAdd, ColourListExistsOnlyOnceAPointHasItsOwnColour) {
  TChartSeries s;
  s.AddXY(0, 0);
  s.AddXY(1, 0, "", clKelColor);
  EXPECT_FALSE(s.HasColors());
  // The first own colour creates the list; earlier points read clKelColor.
  s.AddXY(0.5, 0, "", claRed);
  ASSERT_TRUE(s.HasColors());
  EXPECT_EQ(AllInternalColors(s), (std::vector<TColor>{clKelColor, claRed, clKelColor}));
  // Once it exists, every insertion keeps it in step.
  s.AddXY(0.25, 0, "", clKelColor);
  s.AddXY(2, 0, "", claBlue);
  EXPECT_EQ(AllInternalColors(s), (std::vector<TColor>{clKelColor, clKelColor, claRed, clKelColor, claBlue}));
  // Points without a colour of their own show the series colour.
  s.SetSeriesColor(claYellow);
  EXPECT_EQ(s.GetValueColor(0), claYellow);
  EXPECT_EQ(s.GetValueColor(2), claRed);
}

TEST(ChartSeriesAdd, LabelsAreStoredOnlyOnceSomePointHasOne) {
  TChartSeries s;
  s.AddXY(0, 0);
  s.AddXY(1, 0);
  EXPECT_EQ(s.Labels()->Count(), 0);
  EXPECT_TRUE(s.Labels()->IAnyEmpty);
  s.AddXY(0.5, 0, "half");
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"", "half", ""}));
  s.AddXY(0.25, 0);  // an empty label now takes its place in the list
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"", "", "half", ""}));
  EXPECT_EQ(s.XLabel(99), "");
}

// ---- Null points and colours ---------------------------------------------------

TEST(ChartSeriesNulls, AddNullAndSetNull) {
  TChartSeries s;
  s.AddXY(0, 1);
  const int i = s.AddNull(5);
  EXPECT_EQ(s.YValue(i), 5);
  EXPECT_TRUE(s.IsNull(i));
  EXPECT_FALSE(s.IsNull(0));
  s.SetNull(i, false);
  EXPECT_FALSE(s.IsNull(i));
  s.SetNull(0);
  EXPECT_TRUE(s.IsNull(0));
  // A null keeps its values and takes part in the statistics.
  EXPECT_EQ(s.MaxYValue(), 5);
  s.SetDefaultNullValue(-3);
  const int j = s.AddNullLabel("gap");
  EXPECT_EQ(s.YValue(j), -3);
  EXPECT_EQ(s.XLabel(j), "gap");
  EXPECT_TRUE(s.IsNull(j));
}

TEST(ChartSeriesNulls, SetValueColorBeyondTheEndAppendsNullPoints) {
  TChartSeries s;
  s.AddXY(0, 1);
  s.AddXY(1, 2);
  s.SetValueColor(s.Count() + 2, claRed);
  ASSERT_EQ(s.Count(), 5);
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2, 3, 4}));
  EXPECT_FALSE(s.IsNull(1));
  EXPECT_TRUE(s.IsNull(2));
  EXPECT_TRUE(s.IsNull(3));
  EXPECT_EQ(s.GetValueColor(4), claRed);
}

TEST(ChartSeriesNulls, SetValueColorRules) {
  TChartSeries s;
  s.AddXY(0, 1);
  // clKelColor without a colour list: nothing happens at all.
  s.SetValueColor(5, clKelColor);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_FALSE(s.HasColors());
  // A negative index is refused before anything changes.
  try {
    s.SetValueColor(-1, claRed);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series ValueColor: ValueIndex -1 must not be negative.");
  }
  EXPECT_FALSE(s.HasColors());
  // An OnBeforeAdd that refuses the appended nulls leaves everything as it was.
  s.OnBeforeAdd = [](TChartSeries*) { return false; };
  s.SetValueColor(3, claRed);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_FALSE(s.HasColors());
}

TEST_F(LineSeriesChartTest, ColorEachPointUsesTheChartPalette) {
  series->AddXY(0, 0);
  series->AddXY(1, 0);
  series->AddXY(2, 0, "", claRed);
  for (int i = 13; i < 16; ++i) series->AddXY(i, 0);
  host.Invalidates = 0;
  series->SetColorEachPoint(true);
  EXPECT_GT(host.Invalidates, 0);
  EXPECT_EQ(series->GetValueColor(0), kPalette13[0]);
  EXPECT_EQ(series->GetValueColor(1), kPalette13[1]);
  EXPECT_EQ(series->GetValueColor(2), claRed);
  EXPECT_EQ(series->GetValueColor(4), kPalette13[4 % 12]);
  series->SetColorEachPoint(false);
  EXPECT_EQ(series->GetValueColor(1), series->SeriesColor());
}

TEST(ChartSeriesNulls, ColorEachPointWithoutChartUsesTheModulePalette) {
  InstallDefaultPalette();
  TChartSeries s;
  s.AddXY(0, 0);
  s.AddXY(1, 0);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.GetValueColor(0), 0xFFFF0000u);
  EXPECT_EQ(s.GetValueColor(1), 0xFF008000u);
}

// ---- Deleting and clearing -------------------------------------------------------

TEST(ChartSeriesDelete, OutOfBoundsIndexRaisesAndChangesNothing) {
  struct Case {
    int index;
    const char* message;
  };
  const std::vector<Case> cases = {
      {3, "Series Delete: ValueIndex 3 out of bounds (0 to 2)."},
      {-1, "Series Delete: ValueIndex -1 out of bounds (0 to 2)."},
      {1000, "Series Delete: ValueIndex 1000 out of bounds (0 to 2)."},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    s.AddXY(0, 10, "a", claRed);
    s.AddXY(1, 11, "b");
    s.AddXY(2, 12, "c");
    try {
      s.Delete(c.index);
      ADD_FAILURE() << "no exception for " << c.index;
    } catch (const ChartException& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 11, 12}));
    EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(s.GetValueColor(0), claRed);
  }
  TChartSeries empty;
  try {
    empty.Delete(0);
    ADD_FAILURE() << "no exception on an empty series";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series Delete: ValueIndex 0 out of bounds (0 to -1).");
  }
}

TEST(ChartSeriesDelete, DeleteRemovesThePointFromEveryList) {
  TChartSeries s;
  s.AddXY(0, 10, "a");
  s.AddXY(1, 11, "b", claRed);
  s.AddXY(2, 12);
  s.Delete(1);
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 2}));
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 12}));
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(AllInternalColors(s), (std::vector<TColor>{clKelColor, clKelColor}));
  // The labels list did not reach index 1 of the remaining points: fine.
  s.Delete(1);
  EXPECT_EQ(s.Count(), 1);
}

TEST(ChartSeriesDelete, RangeDeleteWithRemoveGapRenumbersX) {
  TChartSeries s;
  for (int i = 0; i < 6; ++i) s.AddXY(10 + i, i, "p" + std::to_string(i));
  s.SetValueColor(3, claRed);  // the colour list reaches index 3
  s.Delete(1, 2, true);
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{0, 3, 4, 5}));
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"p0", "p3", "p4", "p5"}));
  EXPECT_EQ(AllInternalColors(s), (std::vector<TColor>{clKelColor, claRed, clKelColor, clKelColor}));
  // A colour list that loses all its entries is freed.
  s.Delete(0, 2, false);
  EXPECT_FALSE(s.HasColors());
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{2, 3}));

  // Quantity is cut to the end; without RemoveGap X keeps its values.
  TChartSeries t;
  for (int i = 0; i < 5; ++i) t.AddXY(10 + i, i);
  t.Delete(3, 100, false);
  EXPECT_EQ(Values(t.XValues()), (std::vector<double>{10, 11, 12}));
  // A start at or beyond the end does nothing.
  t.Delete(3, 1, true);
  EXPECT_EQ(Values(t.XValues()), (std::vector<double>{10, 11, 12}));
}

TEST(ChartSeriesDelete, NegativeRangeIsRefusedWithoutTouchingTheData) {
  struct Case {
    int start, quantity;
    const char* message;
  };
  const std::vector<Case> cases = {
      {-1, 2, "Series Delete: Start -1 and Quantity 2 must not be negative."},
      {1, -2, "Series Delete: Start 1 and Quantity -2 must not be negative."},
      {-2147483647 - 1, 1, "Series Delete: Start -2147483648 and Quantity 1 must not be negative."},
  };
  for (const Case& c : cases) {
    TChartSeries s;
    for (int i = 0; i < 4; ++i) s.AddXY(i, i, "x");
    try {
      s.Delete(c.start, c.quantity, true);
      ADD_FAILURE() << "no exception";
    } catch (const ChartException& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(s.Labels()->Count(), 4);
  }
}

TEST_F(LineSeriesChartTest, ClearEmptiesEveryListAndRaisesOnClearValues) {
  for (int i = 0; i < 5; ++i) series->AddXY(i, i, "x", claRed);
  Paint();
  ASSERT_NE(series->FirstValueIndex(), -1);
  int clears = 0;
  series->OnClearValues = [&](TChartSeries*) { ++clears; };
  host.Invalidates = 0;
  series->Clear();
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(series->Count(), 0);
  EXPECT_EQ(series->YValues()->Count(), 0);
  EXPECT_FALSE(series->HasColors());
  EXPECT_EQ(series->Labels()->Count(), 0);
  EXPECT_EQ(series->FirstValueIndex(), -1);
  EXPECT_EQ(series->LastValueIndex(), -1);
  EXPECT_GT(host.Invalidates, 0);
}

// ---- Reads -----------------------------------------------------------------------

TEST(ChartSeriesReads, ValueReadsAreRangeChecked) {
  TChartSeries s;
  s.AddXY(1, 2);
  EXPECT_EQ(s.XValue(0), 1);
  EXPECT_EQ(s.YValueUnchecked(0), 2);
  EXPECT_THROW(s.XValue(1), ChartException);
  EXPECT_THROW(s.YValue(-1), ChartException);
  EXPECT_THROW(s.CalcXPos(1), ChartException);
  EXPECT_THROW(s.CalcYPos(-1), ChartException);
  // Without a chart there is no axis: positions are 0.
  EXPECT_EQ(s.CalcXPos(0), 0);
  EXPECT_EQ(s.XScreenToValue(10), 0);
}

TEST(ChartSeriesReads, StatisticsCoverAllPoints) {
  TChartSeries s;
  s.AddXY(3, -1);
  s.AddXY(1, 7);
  s.AddXY(2, 4);
  EXPECT_EQ(s.MinXValue(), 1);
  EXPECT_EQ(s.MaxXValue(), 3);
  EXPECT_EQ(s.MinYValue(), -1);
  EXPECT_EQ(s.MaxYValue(), 7);
}

// ---- Update blocks and order -------------------------------------------------------

TEST_F(LineSeriesChartTest, UpdateBlocksRefreshOnceAtTheOutermostEnd) {
  SeriesEventLog log;
  chart.AddListener(&log);
  series->EndUpdate();  // depth 0: nothing
  EXPECT_EQ(log.CountOf(seDataChanged), 0);
  series->BeginUpdate();
  series->BeginUpdate();
  EXPECT_TRUE(series->IsUpdating());
  series->AddXY(1, 1);
  series->EndUpdate();
  EXPECT_EQ(log.CountOf(seDataChanged), 0);
  series->EndUpdate();
  EXPECT_EQ(log.CountOf(seDataChanged), 1);
  EXPECT_FALSE(series->IsUpdating());
  series->EndUpdate();
  EXPECT_EQ(log.CountOf(seDataChanged), 1);
  chart.RemoveListener(&log);
}

TEST(ChartSeriesOrder, SwapValueIndexMovesEveryPerPointItem) {
  TChartSeries s;
  s.AddXY(0, 10, "a");
  s.AddXY(1, 11);
  s.AddXY(2, 12, "", claRed);
  s.SwapValueIndex(0, 2);
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{2, 1, 0}));
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{12, 11, 10}));
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"", "", "a"}));
  EXPECT_EQ(AllInternalColors(s), (std::vector<TColor>{claRed, clKelColor, clKelColor}));
  EXPECT_THROW(s.SwapValueIndex(0, 3), ChartException);
  EXPECT_THROW(s.SwapValueIndex(-1, 0), ChartException);
}

TEST(ChartSeriesOrder, CheckOrderSortsByTheOrderedLists) {
  TChartSeries s;
  s.XValues()->SetOrder(loNone);
  s.AddXY(3, 30, "c");
  s.AddXY(1, 10, "a", claRed);
  s.AddXY(2, 20, "b");
  s.XValues()->SetOrder(loAscending);
  s.CheckOrder();
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(s.GetValueColor(0), claRed);

  // Sorting by Y renumbers the positional list.
  s.YValues()->SetOrder(loDescending);
  s.XValues()->SetOrder(loNone);
  s.CheckOrder();
  EXPECT_EQ(Values(s.YValues()), (std::vector<double>{30, 20, 10}));
  EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(AllLabels(s), (std::vector<std::string>{"c", "b", "a"}));
}

// ---- Chart membership --------------------------------------------------------------

TEST_F(LineSeriesChartTest, AddedSeriesTakeFreePaletteColours) {
  SeriesEventLog log;
  chart.AddListener(&log);
  EXPECT_EQ(series->SeriesColor(), kPalette13[0]);
  EXPECT_EQ(series->SeriesIndex(), 0);
  auto* second = new TChartSeries();
  auto* third = new TChartSeries();
  chart.AddSeries(second);
  chart.AddSeries(third);
  EXPECT_EQ(second->SeriesColor(), kPalette13[1]);
  EXPECT_EQ(third->SeriesColor(), kPalette13[2]);
  EXPECT_EQ(third->SeriesIndex(), 2);
  EXPECT_EQ(log.CountOf(seChangeColor), 2);
  // A series with a colour of its own keeps it.
  auto* own = new TChartSeries();
  own->SetSeriesColor(claRed);
  chart.AddSeries(own);
  EXPECT_EQ(own->SeriesColor(), claRed);
  chart.RemoveListener(&log);
}

TEST(ChartSeriesColour, SetSeriesColorRule) {
  TChartSeries s;
  EXPECT_EQ(s.SeriesColor(), clKelColor);
  s.SetSeriesColor(claRed);
  EXPECT_EQ(s.Color(), claRed);
  EXPECT_EQ(s.SeriesColor(), claRed);
  s.SetSeriesColor(clKelColor);  // back to "no colour": the automatic one follows
  EXPECT_EQ(s.Color(), clKelColor);
  EXPECT_EQ(s.SeriesColor(), clKelColor);
}

TEST_F(LineSeriesChartTest, ParentChartMovesAndDestructionDetaches) {
  TChart other;
  other.SetView3D(false);
  auto* s = new TChartSeries();
  chart.AddSeries(s);
  EXPECT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(s->GetHorizAxis(), chart.BottomAxis());
  s->SetParentChart(&other);
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(other.SeriesCount(), 1);
  EXPECT_EQ(s->ParentChart(), &other);
  EXPECT_EQ(s->GetVertAxis(), other.LeftAxis());
  s->SetParentChart(&other);  // unchanged: still one entry
  EXPECT_EQ(other.SeriesCount(), 1);
  s->SetParentChart(nullptr);
  EXPECT_EQ(other.SeriesCount(), 0);
  EXPECT_EQ(s->GetHorizAxis(), nullptr);
  EXPECT_EQ(s->SeriesIndex(), -1);
  chart.AddSeries(s);
  delete s;  // a destroyed series leaves the chart's list
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.Series(0), series);
  // Removing through the chart forgets the chart and its axes.
  chart.RemoveSeries(series);
  EXPECT_EQ(series->ParentChart(), nullptr);
  EXPECT_EQ(series->GetHorizAxis(), nullptr);
  chart.AddSeries(series);
}

TEST_F(LineSeriesChartTest, TitleAndActiveChangesAreBroadcast) {
  SeriesEventLog log;
  chart.AddListener(&log);
  series->SetTitle("Prices");
  EXPECT_EQ(series->Title(), "Prices");
  EXPECT_EQ(log.CountOf(seChangeTitle), 1);
  host.Invalidates = 0;
  series->SetActive(true);  // unchanged
  EXPECT_EQ(log.CountOf(seChangeActive), 0);
  series->SetActive(false);
  EXPECT_EQ(log.CountOf(seChangeActive), 1);
  EXPECT_EQ(host.Invalidates, 1);
  EXPECT_FALSE(series->Visible());
  chart.RemoveListener(&log);
}

TEST_F(LineSeriesChartTest, AxisResolutionAndAssociation) {
  struct Case {
    THorizAxis h;
    TVertAxis v;
    TChartAxis* expectH;
    TChartAxis* expectV;
  };
  TChartAxis* custom = chart.AddCustomAxis();
  custom->SetHorizontal(true);
  series->SetCustomHorizAxis(custom);
  const std::vector<Case> cases = {
      {aBottomAxis, aLeftAxis, chart.BottomAxis(), chart.LeftAxis()},
      {aTopAxis, aRightAxis, chart.TopAxis(), chart.RightAxis()},
      {aBothHorizAxis, aBothVertAxis, chart.BottomAxis(), chart.LeftAxis()},
      {aCustomHorizAxis, aCustomVertAxis, custom, chart.LeftAxis()},  // no custom vertical axis set
  };
  for (const Case& c : cases) {
    series->SetHorizAxis(c.h);
    series->SetVertAxis(c.v);
    EXPECT_EQ(series->GetHorizAxis(), c.expectH);
    EXPECT_EQ(series->GetVertAxis(), c.expectV);
    for (TChartAxis* axis : chart.Axes()) {
      bool expected = axis->IsDepthAxis() ||
                      (axis->Horizontal() ? (c.h == aBothHorizAxis || axis == c.expectH)
                                          : (c.v == aBothVertAxis || axis == c.expectV));
      EXPECT_EQ(series->AssociatedToAxis(axis), expected) << axis->AxisID();
    }
  }
}

TEST_F(LineSeriesChartTest, AxisLabelStyleFollowsThePointLabels) {
  series->AddXY(0, 1);
  series->AddXY(1, 2);
  EXPECT_EQ(series->AxisLabelStyle(chart.BottomAxis()), talValue);
  series->SetXLabel(1, "June");
  EXPECT_EQ(series->AxisLabelStyle(chart.BottomAxis()), talText);
  EXPECT_EQ(series->AxisLabelStyle(chart.LeftAxis()), talValue);  // not the positional axis
  series->SetXLabel(1, "");
  EXPECT_EQ(series->AxisLabelStyle(chart.BottomAxis()), talValue);
}

TEST_F(LineSeriesChartTest, ValuePixelForwardsUseTheSeriesAxes) {
  for (int i = 0; i < 10; ++i) series->AddXY(i, i * i);
  Paint();
  const TChartAxis* h = chart.BottomAxis();
  const TChartAxis* v = chart.LeftAxis();
  EXPECT_EQ(series->CalcXPos(3), h->CalcXPosValue(3));
  EXPECT_EQ(series->CalcYPos(3), v->CalcYPosValue(9));
  EXPECT_EQ(series->CalcPosValue(4), v->CalcYPosValue(4));
  EXPECT_DOUBLE_EQ(series->XScreenToValue(200), h->CalcPosPoint(200));
  EXPECT_DOUBLE_EQ(series->YScreenToValue(200), v->CalcPosPoint(200));
  EXPECT_EQ(series->CalcXSizeValue(2), h->CalcSizeValue(2));
  EXPECT_EQ(series->CalcYSizeValue(2), v->CalcSizeValue(2));
}

// ---- Drawing hooks -----------------------------------------------------------------

TEST_F(LineSeriesChartTest, DrawHooksTellActiveToolsFirstThenTheSeriesEvents) {
  std::vector<std::string> log;
  auto* a = new SeriesEventTool();
  auto* b = new SeriesEventTool();
  a->log = b->log = &log;
  a->name = "a";
  b->name = "b";
  chart.Tools().Add(a);
  chart.Tools().Add(b);
  b->SetActive(false);
  series->BeforeDrawValues = [&](TChartSeries*) { log.push_back("series:before"); };
  series->AfterDrawValues = [&](TChartSeries*) { log.push_back("series:after"); };
  series->AddXY(0, 0);
  series->AddXY(1, 1);
  Paint();
  EXPECT_EQ(log, (std::vector<std::string>{"a:before", "series:before", "a:after", "series:after"}));
}

TEST_F(LineSeriesChartTest, GenericLoopVisitsTheVisibleRangeInDrawingDirection) {
  chart.RemoveSeries(series);
  auto* s = new RecordingSeries();
  chart.AddSeries(s);
  for (int i = 0; i < 6; ++i) s->AddXY(i, i);
  Paint();
  EXPECT_EQ(s->drawn, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(s->DrawValuesForward());
  EXPECT_EQ(s->FirstDisplayedIndex(), 0);
  chart.BottomAxis()->SetInverted(true);
  s->drawn.clear();
  Paint();
  EXPECT_FALSE(s->DrawValuesForward());
  EXPECT_EQ(s->FirstDisplayedIndex(), 5);
  EXPECT_EQ(s->LastDisplayedIndex(), 0);
  EXPECT_EQ(s->drawn, (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(s->Clicked(10, 10), -1);
  chart.AddSeries(series);
}
