#include "platform/kel_types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/host_canvas.h"
#include "platform/manual_timer.h"

using namespace sextant;

TEST(KelRound, TiesGoToEven) {
  struct Case { double in; int out; };
  const Case cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2},
                        {200.5, 200}, {201.5, 202}, {0.49, 0}, {0.51, 1}};
  for (const auto& c : cases) EXPECT_EQ(KelRound(c.in), c.out) << c.in;
}

TEST(KelRound, SaturatesAndMapsNaNToZero) {
  EXPECT_EQ(KelRound(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(KelRound(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(KelRound(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(KelRound(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
}

TEST(Angles, NormalAngleIsInZeroTo359) {
  struct Case { int in; int out; };
  const Case cases[] = {{0, 0}, {359, 359}, {360, 0}, {725, 5}, {-1, 359}, {-360, 0}, {-725, 355}};
  for (const auto& c : cases) EXPECT_EQ(KelNormalAngle(c.in), c.out) << c.in;
}

TEST(Angles, DegreesToRadians) {
  struct Case { double degrees; double radians; };
  const double pi = 3.14159265358979323846;
  const Case cases[] = {{0, 0}, {180, pi}, {-180, -pi}, {90, pi / 2}, {45, pi / 4}, {360, 2 * pi}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(KelDegToRad(c.degrees), c.radians) << c.degrees;
}

// Coordinates from the host or from huge settings are bounded like every
// pixel; one that is not a number counts as 0.
TEST(PixelBounds, CoordinatesAreBoundedAndNaNIsZero) {
  const float M = static_cast<float>(KelMaxPixelPos);
  const float inf = std::numeric_limits<float>::infinity();
  struct Case { float in; float out; };
  const Case cases[] = {{12.25f, 12.25f}, {-12.25f, -12.25f}, {M, M},   {M + 1, M}, {-M - 1, -M},
                        {1e30f, M},       {inf, M},           {-inf, -M}, {std::nanf(""), 0}};
  for (const auto& c : cases) EXPECT_EQ(KelBoundCoordinate(c.in), c.out) << c.in;
  EXPECT_EQ(KelBoundRect({std::nanf(""), -inf, 1e9f, 7.5f}), (TRectF{0, -M, M, 7.5f}));
}

TEST(RectHelpers, EmptinessAndInclusiveEdges) {
  EXPECT_FALSE(IsRectEmpty({5, 0, 5, 10}));
  EXPECT_TRUE(IsRectEmpty({5, 10, 5, 10}));
  const TRectF r{0, 0, 10, 20};
  EXPECT_TRUE(PointInRect(r, 10, 20));
  EXPECT_TRUE(PointInRect(r, 0, 0));
  EXPECT_FALSE(PointInRect(r, 10.01f, 5));
  EXPECT_EQ(OrientRectangle({10, 20, 0, 5}), (TRectF{0, 5, 10, 20}));
  int x = 0, y = 0;
  RectCenter({0, 0, 5, 3}, x, y);  // 2.5 -> 2, 1.5 -> 2
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 2);
}

TEST(ColorHelpers, DarkAndBrightKeepAlpha) {
  EXPECT_EQ(ApplyDark(0xFF102030, 0x20), 0xFF000010u);
  EXPECT_EQ(ApplyBright(0x80F0F0F0, 0x20), 0x80FFFFFFu);
  EXPECT_EQ(ColorFrom(0x12345678, 0xFF), 0xFF345678u);
  EXPECT_EQ(ColorAlpha(0x80000000), 0x80);
  EXPECT_EQ(RGB(1, 2, 3), 0xFF010203u);
}

TEST(KelCull, SignOfTheCrossProductDecides) {
  // (p0 - p1) x (p2 - p1) < 0 means culled; reversing the order flips it.
  EXPECT_TRUE(KelCull({0, 0}, {10, 0}, {10, 10}));
  EXPECT_FALSE(KelCull({10, 10}, {10, 0}, {0, 0}));
  EXPECT_FALSE(KelCull({0, 0}, {5, 0}, {10, 0}));  // collinear: zero, not culled
}

TEST(HostPath, TranslateAndBounds) {
  THostPath p;
  p.MoveTo({1, 2});
  p.LineTo({5, -3});
  p.AddEllipse({0, 0, 4, 4});
  p.Translate(10, 20);
  EXPECT_EQ(p.Bounds(), (TRectF{10, 17, 15, 24}));
}

TEST(KelMatrix, RotationIsCounterClockwiseOnScreen) {
  const TPointF p = TKelMatrix::Rotation(90).Map({1, 0});
  EXPECT_NEAR(p.X, 0, 1e-6);
  EXPECT_NEAR(p.Y, -1, 1e-6);  // up on screen
  const TPointF q = (TKelMatrix::Translation(5, 0) * TKelMatrix::Scaling(2, 2)).Map({1, 1});
  EXPECT_EQ(q, (TPointF{12, 2}));
}

TEST(ManualTimer, FiresAtIntervalsAndFollowsIntervalChanges) {
  TManualTimer t;
  int fired = 0;
  t.OnTimer = [&] {
    ++fired;
    if (t.Interval() > 50) t.SetInterval(50);
  };
  t.SetInterval(250);
  t.SetEnabled(true);
  TManualClock::Instance().Advance(249);
  EXPECT_EQ(fired, 0);
  TManualClock::Instance().Advance(1);
  EXPECT_EQ(fired, 1);
  TManualClock::Instance().Advance(100);
  EXPECT_EQ(fired, 3);
  t.SetEnabled(false);
  TManualClock::Instance().Advance(1000);
  EXPECT_EQ(fired, 3);
}

#include "canvas/kel_component.h"

namespace {
struct Probe : TComponent {
  using TComponent::TComponent;
  std::vector<TComponent*>* removed = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove && removed) removed->push_back(c);
  }
};
}  // namespace

TEST(Component, OwnerDestroysItsComponentsAndEarlyFreesAreForgotten) {
  std::vector<TComponent*> removed;
  auto* owner = new TComponent();
  auto* a = new Probe(owner);
  auto* b = new Probe(owner);
  auto* watcher = new Probe(owner);
  watcher->removed = &removed;
  watcher->FreeNotification(a);
  EXPECT_EQ(owner->ComponentCount(), 3);
  const auto aAddress = reinterpret_cast<std::uintptr_t>(a);
  delete a;  // destroyed by someone else: leaves the owner's list, watcher is told
  EXPECT_EQ(owner->ComponentCount(), 2);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(removed[0]), aAddress);
  EXPECT_EQ(b->Owner(), owner);
  delete owner;  // destroys b and watcher without touching a again
}
