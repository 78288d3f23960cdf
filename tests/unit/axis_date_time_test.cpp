// Date-time values and axes: conversions from the clocks users have, the
// calendar, the format letters, and the steps, calendar boundaries and
// texts of date-time labels on the recording canvas.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "axes/date_time.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

using Texts = std::vector<std::string>;

TEST(DateTimeValues, DaysSinceTheLastDaysOf1899) {
  struct {
    int y, mo, d, h, mi, s, ms;
    double days;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0, 0},       {1899, 12, 31, 12, 0, 0, 0, 1.5},
      {1900, 1, 1, 0, 0, 0, 0, 2},         {1970, 1, 1, 0, 0, 0, 0, 25569},
      {2000, 2, 29, 6, 0, 0, 0, 36585.25}, {1899, 12, 29, 18, 0, 0, 0, -0.25},
      {2024, 12, 31, 23, 59, 59, 500, 45657 + (86399.5 / 86400)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.days);
    const double v = EncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms);
    EXPECT_NEAR(v, c.days, 1e-9);
    const TDateTimeParts p = DecodeDateTime(c.days);
    EXPECT_EQ(p.Year, c.y);
    EXPECT_EQ(p.Month, c.mo);
    EXPECT_EQ(p.Day, c.d);
    EXPECT_EQ(p.Hour, c.h);
    EXPECT_EQ(p.Minute, c.mi);
    EXPECT_EQ(p.Second, c.s);
    EXPECT_EQ(p.Millisecond, c.ms);
  }
  // 1 January 1970 was a Thursday, 30 December 1899 a Saturday.
  EXPECT_EQ(DecodeDateTime(25569).DayOfWeek, 4);
  EXPECT_EQ(DecodeDateTime(0).DayOfWeek, 6);
}

TEST(DateTimeValues, ConversionsFromUnixSecondsAndTimePoints) {
  EXPECT_DOUBLE_EQ(DateTimeFromUnixSeconds(0), 25569);
  EXPECT_DOUBLE_EQ(DateTimeFromUnixSeconds(86400 * 1.5), 25570.5);
  EXPECT_DOUBLE_EQ(UnixSecondsFromDateTime(25570.5), 86400 * 1.5);
  // 2023-11-14 22:13:20 UTC.
  const double v = DateTimeFromUnixSeconds(1700000000);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", v), "2023-11-14 22:13:20");
  using namespace std::chrono;
  const system_clock::time_point t = system_clock::time_point(seconds(1700000000) + milliseconds(250));
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", DateTimeFromTimePoint(t)), "22:13:20.250");
  EXPECT_EQ(duration_cast<milliseconds>(TimePointFromDateTime(DateTimeFromTimePoint(t)) - t).count(), 0);
  // Before 1970 too.
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", DateTimeFromTimePoint(system_clock::time_point(hours(-36)))),
            "1969-12-30 12:00");
}

TEST(DateTimeValues, FormatLetters) {
  const double v = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"dd/mm/yyyy", "05/03/2024"},
      {"d/m/yy", "5/3/24"},
      {"hh:mm", "14:07"},          // mm after an hour: minutes
      {"mm:ss", "07:09"},          // mm before seconds: minutes
      {"hh:mm:ss.zzz", "14:07:09.045"},
      {"mmm yyyy", "Mar 2024"},
      {"dddd d mmmm", "Tuesday 5 March"},
      {"ddd", "Tue"},
      {"h:nn am/pm", "2:07 pm"},
      {"yyyy 'mm' dd", "2024 mm 05"},
      {"\"at\" hh", "at 14"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), c.text) << c.format;
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeDateTime(2024, 3, 5, 0, 30)), "12 am");
}

class DateAxisTest : public LayoutTest {
 protected:
  static Texts ItemTexts(TChartAxis* axis) {
    Texts texts;
    for (int i = 0; i < axis->Items()->Count(); ++i) texts.push_back(axis->Items()->Items(i)->Text());
    return texts;
  }
  static std::vector<double> ItemValues(TChartAxis* axis) {
    std::vector<double> values;
    for (int i = 0; i < axis->Items()->Count(); ++i) values.push_back(axis->Items()->Items(i)->Value());
    return values;
  }
  // A line over From .. To (date-times) on the bottom axis, fixed to it.
  void Span(double from, double to) {
    chart.FreeAllSeries();
    TFastLineSeries* s = AddPoints({{from, 1}, {to, 2}});
    s->XValues()->SetDateTime(true);
    Bottom()->SetMinMax(from, to);
    Paint();
  }
  TChartAxis* Bottom() { return chart.BottomAxis(); }
};

TEST_F(DateAxisTest, StepsAndFormatsFitTheRange) {
  struct {
    double from, to;
    Texts texts;
  } cases[] = {
      // Two minutes: eight 15-second steps do not fit 374 pixels of
      // 8-character labels, four 30-second steps do.
      {EncodeDateTime(2024, 1, 1, 10, 0), EncodeDateTime(2024, 1, 1, 10, 2),
       {"10:02:00", "10:01:30", "10:01:00", "10:00:30", "10:00:00"}},
      // A day: whole hours from midnight.
      {EncodeDateTime(2024, 1, 1), EncodeDateTime(2024, 1, 2),
       {"00:00", "21:00", "18:00", "15:00", "12:00", "09:00", "06:00", "03:00", "00:00"}},
      // A month: 2-day steps do not fit, weeks do, on Mondays, "dd/mm".
      {EncodeDateTime(2024, 2, 1), EncodeDateTime(2024, 3, 1), {"26/02", "19/02", "12/02", "05/02"}},
      // Two years: half years on the first of their month.
      {EncodeDateTime(2023, 1, 15), EncodeDateTime(2025, 1, 15), {"Jan 2025", "Jul 2024", "Jan 2024", "Jul 2023"}},
      // Forty years: on 1 January of multiples of five years.
      {EncodeDateTime(1981, 6, 1), EncodeDateTime(2021, 6, 1),
       {"2020", "2015", "2010", "2005", "2000", "1995", "1990", "1985"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FormatDateTime("yyyy-mm-dd hh:nn", c.from));
    Span(c.from, c.to);
    EXPECT_EQ(ItemTexts(Bottom()), c.texts);
  }
}

TEST_F(DateAxisTest, MonthAndYearLabelsStandOnCalendarBoundaries) {
  // Months on a wider axis: the first of every S-th month of the year.
  chart.SetBounds(0, 0, 900, 300);
  Span(EncodeDateTime(2023, 1, 15), EncodeDateTime(2025, 1, 15));
  const std::vector<double> months = ItemValues(Bottom());
  ASSERT_GE(months.size(), 6u);
  auto monthIndex = [](double v) { return DecodeDateTime(v).Year * 12 + DecodeDateTime(v).Month - 1; };
  const int step = monthIndex(months[0]) - monthIndex(months[1]);
  EXPECT_TRUE(step == 2 || step == 3) << step;
  for (std::size_t i = 0; i < months.size(); ++i) {
    const TDateTimeParts p = DecodeDateTime(months[i]);
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Hour, 0);
    EXPECT_EQ((p.Month - 1) % step, 0) << p.Month;
    if (i > 0) EXPECT_EQ(monthIndex(months[i - 1]) - monthIndex(months[i]), step);
  }
  // Weeks start on Mondays, also across a year's end.
  chart.SetBounds(0, 0, 400, 300);
  Span(EncodeDateTime(2023, 12, 20), EncodeDateTime(2024, 1, 20));
  const std::vector<double> weeks = ItemValues(Bottom());
  ASSERT_GE(weeks.size(), 3u);
  for (std::size_t i = 0; i < weeks.size(); ++i) {
    EXPECT_EQ(DecodeDateTime(weeks[i]).DayOfWeek, 1);
    if (i > 0) EXPECT_DOUBLE_EQ(weeks[i - 1] - weeks[i], 7);
  }
}

TEST_F(DateAxisTest, TheAxisFormatAndTheStepsFromTheMaximum) {
  const double from = EncodeDateTime(2024, 1, 1, 0, 10);
  const double to = EncodeDateTime(2024, 1, 1, 23, 50);
  Bottom()->SetDateTimeFormat("h am/pm");
  Span(from, to);
  Texts texts = ItemTexts(Bottom());
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "9 pm");
  // Without calendar boundaries the labels step down from the maximum.
  Bottom()->SetDateTimeFormat("");
  Bottom()->SetExactDateTime(false);
  Span(from, to);
  texts = ItemTexts(Bottom());
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], "23:50");
  EXPECT_EQ(texts[1], "20:50");
}

TEST_F(DateAxisTest, PlainValuesKeepNumberLabels) {
  TFastLineSeries* s = AddPoints({{1700000000, 1}, {1700000100, 2}});
  Paint();
  EXPECT_FALSE(Bottom()->IsDateTime());
  EXPECT_EQ(ItemTexts(Bottom()).front().find(':'), std::string::npos);
  s->XValues()->SetDateTime(true);
  s->Clear();
  s->AddXY(DateTimeFromUnixSeconds(1700000000), 1);
  s->AddXY(DateTimeFromUnixSeconds(1700000100), 2);
  Paint();
  EXPECT_TRUE(Bottom()->IsDateTime());
  EXPECT_EQ(ItemTexts(Bottom()).back().size(), 8u) << "hh:mm:ss";
}

TEST_F(DateAxisTest, LocalTimeOnRequest) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "EST5", 1);
  tzset();
  const double noon = EncodeDateTime(2024, 1, 1, 12);
  EXPECT_NEAR(LocalTimeOffset(noon), -5.0 / 24, 1e-9);
  Span(EncodeDateTime(2024, 1, 1, 6), EncodeDateTime(2024, 1, 2, 6));
  const Texts utc = ItemTexts(Bottom());
  Bottom()->SetDateTimeLocal(true);
  Paint();
  const Texts local = ItemTexts(Bottom());
  // The same instants read five hours earlier; the labels still fall on
  // whole local hours.
  EXPECT_EQ(Bottom()->LabelValue(noon), "07:00");
  ASSERT_FALSE(local.empty());
  EXPECT_NE(utc, local);
  for (double v : ItemValues(Bottom())) EXPECT_EQ(DecodeDateTime(v - 5.0 / 24).Minute, 0);
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
