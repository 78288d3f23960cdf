#include "axes/axis_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace sextant;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The step rule written as its natural recursion, for values where the
// recursion terminates (finite and positive).
double RecursiveNextStep(double s) {
  if (s >= 10) return RecursiveNextStep(s * 0.1) * 10;
  if (s < 1) return RecursiveNextStep(s * 10) * 0.1;
  if (s < 2) return 2;
  if (s < 5) return 5;
  return 10;
}

}  // namespace

TEST(KelNextStep, RoundSteps) {
  struct Case { double in, out; };
  const Case cases[] = {{0.3, 0.5}, {1, 2}, {2, 5}, {5, 10}, {7, 10}, {10, 20}, {45, 50},
                        {1.5, 2}, {4.999, 5}, {9.99, 10}, {20, 50}, {99, 100}, {100, 200},
                        {0.1, 0.2}, {0.25, 0.5}, {0.05, 0.1}, {0.418, 0.5}, {90.9, 100}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(KelNextStep(c.in), c.out) << c.in;
}

TEST(KelNextStep, SameResultsAsTheRecursion) {
  for (double s : {0.3, 1e-5, 3.3e-7, 1.0, 12.5, 45.0, 1234.5, 7.7e12, 2.5e100, 1e-300, 6e-200})
    EXPECT_EQ(KelNextStep(s), RecursiveNextStep(s)) << s;
}

TEST(KelNextStep, InvalidStepsGiveOne) {
  for (double s : {0.0, -0.0, -1.0, -1e300, kNaN, kInf, -kInf}) EXPECT_EQ(KelNextStep(s), 1.0) << s;
}

TEST(KelNextStep, ExtremeMagnitudes) {
  // The next step after 1e308 (2e308) does not exist: +infinity, which the
  // increment search turns into the range.
  EXPECT_EQ(KelNextStep(1e308), kInf);
  EXPECT_DOUBLE_EQ(KelNextStep(4e307), 5e307);
  EXPECT_DOUBLE_EQ(KelNextStep(std::numeric_limits<double>::max() / 10), 2e307);

  const double tiny = KelNextStep(1e-320);
  EXPECT_GT(tiny, 1e-320);
  EXPECT_LT(tiny, 1e-319);
  EXPECT_GT(KelNextStep(MinAxisIncrement), MinAxisIncrement);
  EXPECT_GT(KelNextStep(std::numeric_limits<double>::min()), std::numeric_limits<double>::min());
}

TEST(KelNextStep, StepSearchFromTheSmallestIncrementAlwaysAdvances) {
  // A search that starts at the smallest increment reaches 1 in a few
  // hundred strictly growing steps.
  double s = MinAxisIncrement;
  int steps = 0;
  while (s < 1 && steps < 10000) {
    const double next = KelNextStep(s);
    ASSERT_GT(next, s) << "after " << steps << " steps";
    s = next;
    ++steps;
  }
  EXPECT_GE(s, 1.0);
  EXPECT_LT(steps, 1200);
}

TEST(AxisConstants, Values) {
  EXPECT_EQ(MinAxisIncrement, std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(MinAxisRange, 1e-10);
}
