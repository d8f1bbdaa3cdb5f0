// The control point record: its four-line text form, effective positions, flags and the chain
// steps that the mirror is built from.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/mdl/ControlPoint.h"
#include "mdl/MdlTestSupport.h"
#include "core/mdl/Spline.h"
#include "core/util/Errors.h"

namespace mk {
namespace {

ControlPoint Read(const std::vector<std::string_view>& lines) {
  ControlPoint p;
  EXPECT_EQ(p.ReadFromLines(lines, 0), 4u);
  return p;
}

std::vector<std::string> Written(const ControlPoint& p) {
  LineWriter out;
  p.WriteTo(out);
  return out.Lines();
}

TEST(ControlPointText, FreePointWithClosedBitRoundTrips) {
  const std::vector<std::string_view> lines = {"4 0 12", "1.5 -2 0", "0", "0"};
  const ControlPoint p = Read(lines);
  EXPECT_EQ(p.cptype, 4u);
  EXPECT_TRUE(p.IsClosed());
  EXPECT_FALSE(p.IsAttached());
  EXPECT_EQ(p.cpid, 12);
  EXPECT_EQ(p.at_cpid, 0);
  EXPECT_EQ(p.x, 1.5);
  EXPECT_EQ(p.y, -2);
  EXPECT_TRUE(p.line3_default);
  EXPECT_TRUE(p.line4_default);
  EXPECT_FALSE(p.is_mirror);
  EXPECT_EQ(Written(p), (std::vector<std::string>{"4 0 12", "1.5 -2 0", "0", "0"}));
}

TEST(ControlPointText, AttachedPointWithRatioRoundTrips) {
  const ControlPoint p = Read({"4112 1 7 0.25", "3", "0", "0"});
  EXPECT_EQ(p.cptype, 0x1010u);
  EXPECT_TRUE(p.HasHookRatio());
  EXPECT_EQ(p.attached, 1);
  EXPECT_EQ(p.at_cpid, 3);
  EXPECT_EQ(p.GetAtCpid(), 3);
  EXPECT_EQ(p.HookRatio(), 0.25);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(Written(p), (std::vector<std::string>{"4112 1 7 0.25", "3", "0", "0"}));
}

TEST(ControlPointText, RatioWordFollowsTheRatioBitsOnly) {
  // Ratio bit without the word: read as 0 and written with "0".
  EXPECT_EQ(Written(Read({"16 0 1", "1 2 3", "0", "0"}))[0], "16 0 1 0");
  // Word without a ratio bit: ignored and dropped.
  const ControlPoint p = Read({"0 0 1 0.5", "1 2 3", "0", "0"});
  EXPECT_EQ(p.HookRatio(), 0);
  EXPECT_EQ(Written(p)[0], "0 0 1");
  // Runs of blanks after the first word separate like one; extra words are ignored.
  const ControlPoint q = Read({"4096 0   5    0.75 extra", "1   2 3 4", "0", "0"});
  EXPECT_EQ(q.cpid, 5);
  EXPECT_EQ(q.HookRatio(), 0.75);
  EXPECT_EQ(Written(q)[1], "1 2 3");
}

TEST(ControlPointText, BigFlagWordsKeepTheirTopBit) {
  const ControlPoint p = Read({"2147483776 0 3", "0 0 0", "0", "0"});  // 0x80000080
  EXPECT_EQ(p.cptype, 0x80000080u);
  EXPECT_TRUE(p.IsHook());
  EXPECT_EQ(Written(p)[0], "2147483776 0 3");
  const ControlPoint q = Read({"2147483648 0 3", "0 0 0", "0", "0"});
  EXPECT_EQ(q.cptype, 0x80000000u);
  EXPECT_TRUE(q.IsHook());
  EXPECT_EQ(Written(q)[0], "2147483648 0 3");
}

TEST(ControlPointText, ThirdAndFourthLines) {
  const ControlPoint p = Read({"0 0 1", "0 0 0", "7", "0.5 -1 2"});
  EXPECT_TRUE(p.line3_default);  // one word other than 0: still the default
  EXPECT_FALSE(p.line4_default);
  EXPECT_EQ(p.Line4()[1], -1);
  EXPECT_EQ(Written(p)[2], "0");
  EXPECT_EQ(Written(p)[3], "0.5 -1 2");
}

TEST(ControlPointText, AttachedPointWritesOnlyItsTarget) {
  ControlPoint p = Read({"0 1 4", "9", "0", "0"});
  p.x = 5;  // never written for an attached point
  EXPECT_EQ(Written(p)[1], "9");
}

TEST(ControlPointText, BadWordsAndShortBlocksFail) {
  auto conversion_word = [](std::vector<std::string_view> lines) -> std::string {
    ControlPoint p;
    try {
      p.ReadFromLines(lines, 0);
    } catch (const ConversionError& e) {
      return e.word();
    }
    return "<no error>";
  };
  EXPECT_EQ(conversion_word({"0 x 1", "0 0 0", "0", "0"}), "x");
  EXPECT_EQ(conversion_word({"0 0", "0 0 0", "0", "0"}), "");
  EXPECT_EQ(conversion_word({"0 0 1", "1 2", "0", "0"}), "");
  EXPECT_EQ(conversion_word({"0 1 1", "abc", "0", "0"}), "abc");
  EXPECT_EQ(conversion_word({"0 0 1", "1 2 3", "0 y", "0"}), "y");
  EXPECT_EQ(conversion_word({"16 0 1 r", "1 2 3", "0", "0"}), "r");
  EXPECT_EQ(conversion_word({"21474836x8 0 1", "1 2 3", "0", "0"}), "21474836x8");

  ControlPoint p;
  const std::vector<std::string_view> cut = {"x", "0 0 1", "1 2 3", "0"};
  try {
    p.ReadFromLines(cut, 1);
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 4);
  }
}

TEST(ControlPointFlags, HookBitsAndClosedBit) {
  ControlPoint p;
  p.cptype = 0x80000084u;
  p.ClearHook();
  EXPECT_EQ(p.cptype, 4u);
  p.cptype = 0x80u | 0x100u;
  p.MakeHookHolder();
  EXPECT_EQ(p.cptype, 0x80000100u);
  p.SetClosed();
  EXPECT_TRUE(p.IsClosed());
  p.ClearClosed();
  EXPECT_EQ(p.cptype, 0x80000100u);
}

TEST(ControlPointIds, ReplaceIdTouchesAtCpidWhateverAttachedIs) {
  ControlPoint p;
  p.cpid = 3;
  p.at_cpid = 3;
  p.attached = 0;
  p.ReplaceId(3, -1);
  EXPECT_EQ(p.cpid, -1);
  EXPECT_EQ(p.at_cpid, -1);
  EXPECT_EQ(p.GetAtCpid(), -1);
  p.cpid = INT32_MIN;
  p.NegateIds();  // wraps instead of overflowing
  EXPECT_EQ(p.cpid, INT32_MIN);
  EXPECT_EQ(p.at_cpid, 1);
}

TEST(ControlPointIds, FlipHookRatioOnce) {
  ControlPoint p;
  p.SetHookRatio(0.25);
  p.FlipHookRatio();
  p.FlipHookRatio();
  EXPECT_EQ(p.HookRatio(), 0.75);
  ControlPoint zero;
  zero.FlipHookRatio();
  EXPECT_FALSE(zero.ratio_flipped);
}

TEST(ControlPointIds, RetargetAttachByRecordKind) {
  ControlPoint p;
  p.at_cpid = 5;
  p.SetHookRatio(0);
  EXPECT_EQ(p.RetargetAttach({5, 9, CorrectionKind::Hook}), nullptr);  // hook record, ratio 0
  EXPECT_EQ(p.at_cpid, 5);
  EXPECT_EQ(p.RetargetAttach({5, 9, CorrectionKind::PlaneCopy}), &p);  // raw at_cpid, attached or not
  EXPECT_EQ(p.at_cpid, 9);
  p.SetHookRatio(0.25);
  EXPECT_EQ(p.RetargetAttach({8, 1, CorrectionKind::Hook}), nullptr);
  EXPECT_EQ(p.RetargetAttach({9, 1, CorrectionKind::Hook}), &p);
  EXPECT_EQ(p.at_cpid, 1);
  EXPECT_EQ(p.HookRatio(), 0.75);
}

TEST(ControlPointGeometry, SnapIsStrictAndTestsTheStoredX) {
  for (double x : {0.39, -0.39, 0.3999}) {
    ControlPoint p;
    p.x = x;
    p.SnapToPlane(0.4);
    EXPECT_EQ(p.x, 0);
    EXPECT_FALSE(std::signbit(p.x));
  }
  for (double x : {0.4, -0.4}) {
    ControlPoint p;
    p.x = x;
    p.SnapToPlane(0.4);
    EXPECT_EQ(p.x, x);
  }
  ControlPoint p;
  p.x = 0.1;
  p.SnapToPlane(0);
  EXPECT_EQ(p.x, 0.1);
}

// A chain S-owned helper: points linked in a spline so prev/next are right.
struct Chain {
  Spline spline;
  ControlPoint* Add(double x, double y = 0, double z = 0) {
    auto p = std::make_unique<ControlPoint>();
    p->x = x;
    p->y = y;
    p->z = z;
    ControlPoint* raw = p.get();
    spline.Append(std::move(p));
    return raw;
  }
};

TEST(ControlPointGeometry, HookInterpolatesFromTargetToNextPoint) {
  Chain target_chain;
  ControlPoint* s = target_chain.Add(1, 10, 100);
  Chain hook_chain;
  ControlPoint* h = hook_chain.Add(99);
  ControlPoint* f = hook_chain.Add(3, 30, 300);
  h->cptype = 0x80;
  h->at_cp = s;
  Chain dependant;
  ControlPoint* a = dependant.Add(0);
  a->at_cp = h;
  EXPECT_EQ(a->GetX(0.25), 1.5);
  EXPECT_EQ(a->GetY(0.25), 15);
  EXPECT_EQ(a->GetZ(0.25), 150);
  EXPECT_EQ(a->GetX(0), 1);  // ratio 0: sits on the hook, which sits on its target
  EXPECT_EQ(h->GetX(0), 1);
  // A hook at the end of its chain interpolates towards the chain's first point.
  f->cptype = 0x80000000u;
  f->at_cp = nullptr;
  EXPECT_EQ(f->GetX(0.5), 2);  // from its own x 3 half way to the head h, which rests on s (x 1)
}

TEST(ControlPointGeometry, InterpolationIsRoundedFromExtendedPrecision) {
  // Inputs for which plain double arithmetic gives 1.036811701500759, one unit in the last
  // place away from the correctly rounded extended result.
  Chain chain;
  ControlPoint* h = chain.Add(5.7930393901296728);
  chain.Add(-5.5673265201320739);
  h->cptype = 0x80;
  EXPECT_EQ(h->GetX(0.41866852935895699), 1.0368117015007585);
}

/// A hook's position computed the plain way in extended precision and rounded once.
double ExtendedInterpolation(double from, double to, double ratio) {
  const long double c = from;
  const long double b = to;
  return static_cast<double>(c + static_cast<long double>(ratio) * (b - c));
}

// Against the reference over random hooks: the hook rests on a target in another chain, and
// its next point is attached too, so both ends of the stretch are found through attachments.
// Spans of very different sizes and ratios as files hold them make double arithmetic (the
// difference or the product rounded on their own) miss the reference in a good share of cases.
TEST(ControlPointGeometry, InterpolationEqualsAnExtendedPrecisionReferenceOnEveryAxis) {
  std::mt19937_64 rng(2718);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-8, 12);
  auto coordinate = [&] { return std::ldexp(mantissa(rng), exponent(rng)); };
  const double file_ratios[] = {0.1, 0.2, 0.25, 1.0 / 3, 0.3, 0.7, 2.0 / 3, 0.9, 0.999};
  std::uniform_real_distribution<double> any_ratio(0, 1);
  int double_would_differ = 0;
  constexpr int kRounds = 20000;
  for (int round = 0; round < kRounds; ++round) {
    const double from[3] = {coordinate(), coordinate(), coordinate()};
    const double to[3] = {coordinate(), coordinate(), coordinate()};
    const double ratio = round % 2 ? file_ratios[round / 2 % 9] : any_ratio(rng);
    Chain targets;
    ControlPoint* target = targets.Add(from[0], from[1], from[2]);
    ControlPoint* next_target = targets.Add(to[0], to[1], to[2]);
    Chain hooked;
    ControlPoint* hook = hooked.Add(7, 7, 7);
    ControlPoint* next = hooked.Add(-7, -7, -7);
    hook->cptype = 0x80;
    hook->at_cp = target;
    next->at_cp = next_target;
    const double got[3] = {hook->GetX(ratio), hook->GetY(ratio), hook->GetZ(ratio)};
    for (int axis = 0; axis < 3; ++axis) {
      const double expected = ExtendedInterpolation(from[axis], to[axis], ratio);
      ASSERT_EQ(got[axis], expected) << "round " << round << " axis " << axis << std::hexfloat
                                     << " from " << from[axis] << " to " << to[axis] << " ratio "
                                     << ratio;
      const double in_double = from[axis] + ratio * (to[axis] - from[axis]);
      if (in_double != expected) ++double_would_differ;
    }
  }
  // The inputs must really tell the two precisions apart, or the check above proves nothing.
  EXPECT_GT(double_would_differ, kRounds / 20);
}

// Where the two precisions fall on either side of the plane: from x 1 a third of the way to
// x -2 is 1 - (1 - 2^-54) in extended precision, but exactly 0 when the product is rounded to
// double first. The hook is off the plane, so its chain gets a twin instead of growing.
TEST(ControlPointGeometry, HookJustOffThePlaneByExtendedPrecisionIsNotOnIt) {
  Chain chain;
  ControlPoint* hook = chain.Add(1);
  chain.Add(-2);
  hook->cptype = 0x90;
  hook->SetHookRatio(1.0 / 3);
  EXPECT_EQ(hook->GetX(hook->HookRatio()), std::ldexp(1.0, -54));
  EXPECT_FALSE(hook->IsOnPlane());
}

TEST(ControlPointGeometry, AttachmentCyclesEndAtThePointMetTwice) {
  Chain chain;
  ControlPoint* a = chain.Add(1);
  ControlPoint* b = chain.Add(2);
  ControlPoint* c = chain.Add(3);
  a->at_cp = b;
  b->at_cp = c;
  c->at_cp = b;                // a -> b -> c -> b
  EXPECT_EQ(a->GetX(0), 2);    // b is met twice
  EXPECT_EQ(c->GetX(0), 3);    // c is met twice
  a->at_cp = a;
  EXPECT_EQ(a->GetX(0), 1);
}

TEST(ControlPointGeometry, LongAttachmentChainsAreWalkedWithoutRecursion) {
  Chain chain;
  constexpr int kCount = 1000000;
  std::vector<ControlPoint*> points;
  points.reserve(kCount);
  for (int i = 0; i < kCount; ++i) points.push_back(chain.Add(i + 1.0));
  for (int i = 1; i < kCount; ++i) points[static_cast<std::size_t>(i)]->at_cp = points[static_cast<std::size_t>(i - 1)];
  EXPECT_EQ(points.back()->GetX(0), 1);
  points.front()->at_cp = points.back();  // and as one big cycle
  EXPECT_EQ(points.back()->GetX(0), static_cast<double>(kCount));
}

TEST(ControlPointChain, MoveClosedToEndCarries) {
  Chain chain;
  ControlPoint* a = chain.Add(1);
  ControlPoint* b = chain.Add(2);
  ControlPoint* c = chain.Add(3);
  b->SetClosed();
  a->MoveClosedToEnd(false);
  EXPECT_FALSE(a->IsClosed());
  EXPECT_FALSE(b->IsClosed());
  EXPECT_TRUE(c->IsClosed());
  c->ClearClosed();
  a->MoveClosedToEnd(true);
  EXPECT_TRUE(c->IsClosed());
  c->ClearClosed();
  a->MoveClosedToEnd(false);
  EXPECT_FALSE(c->IsClosed());
}

TEST(ControlPointChain, MirrorChainLeavesOutSharedEnds) {
  Chain chain;
  ControlPoint* a = chain.Add(1, 2, 3);
  ControlPoint* b = chain.Add(0, 5, 6);
  ControlPoint* c = chain.Add(-4);
  a->cpid = 1;
  b->cpid = 2;
  c->cpid = INT32_MAX;
  b->attached = 1;
  b->at_cpid = 1;
  b->at_cp = a;
  b->SetHookRatio(0.5);
  b->ratio_flipped = true;
  c->attached = 1;
  c->at_cpid = -9;  // unresolved: keeps its id
  auto copy_ids = [&](PlaneEnds shared) {
    std::vector<std::unique_ptr<ControlPoint>> out;
    a->MirrorChain(out, shared, 10);
    std::vector<std::int32_t> ids;
    for (const auto& p : out) ids.push_back(p->cpid);
    return ids;
  };
  EXPECT_EQ(copy_ids(PlaneEnds::None), (std::vector<std::int32_t>{11, 12, INT32_MIN + 9}));
  EXPECT_EQ(copy_ids(PlaneEnds::First), (std::vector<std::int32_t>{12, INT32_MIN + 9}));
  EXPECT_EQ(copy_ids(PlaneEnds::Last), (std::vector<std::int32_t>{11, 12}));
  EXPECT_EQ(copy_ids(PlaneEnds::Both), (std::vector<std::int32_t>{12}));

  std::vector<std::unique_ptr<ControlPoint>> out;
  a->MirrorChain(out, PlaneEnds::None, 10);
  const ControlPoint& b2 = *out[1];
  EXPECT_EQ(b2.at_cpid, 11);
  EXPECT_EQ(b2.at_cp, a);
  EXPECT_TRUE(b2.is_mirror);
  EXPECT_FALSE(b2.ratio_flipped);
  EXPECT_EQ(b2.HookRatio(), 0.5);
  EXPECT_EQ(b2.prev, nullptr);
  EXPECT_EQ(b2.next, nullptr);
  EXPECT_EQ(b2.y, 5);
  EXPECT_TRUE(std::signbit(b2.x));
  EXPECT_EQ(out[2]->at_cpid, -9);
  EXPECT_EQ(out[0]->x, -1);
  LineWriter lines;
  ControlPoint free_copy = b2;
  free_copy.attached = 0;
  free_copy.WriteTo(lines);
  EXPECT_EQ(lines.Lines()[1], "0 5 6");  // never "-0"
}

TEST(ControlPointDraw, ChainDrawsLinesClosingAndLabels) {
  Chain chain;
  ControlPoint* a = chain.Add(1, 2, 3);
  ControlPoint* b = chain.Add(4, 5, 6);
  ControlPoint* c = chain.Add(7, 8, 9);
  a->cpid = 1;
  b->cpid = 2;
  c->cpid = 3;
  c->SetClosed();
  mdltest::RecordingView view;
  a->DrawChain(view, PointIds::Hidden);
  EXPECT_EQ(view.Texts(), (std::vector<std::string>{"M 1 2 3", "L 4 5 6", "L 7 8 9", "L 1 2 3"}));
  view.Clear();
  a->DrawChain(view, PointIds::Shown);
  EXPECT_EQ(view.Texts(), (std::vector<std::string>{"M 1 2 3", "T1 1 2 3", "L 4 5 6", "T2 4 5 6",
                                                  "L 7 8 9", "L 1 2 3", "T3 7 8 9"}));
}

TEST(ControlPointDraw, SinglePointDrawsOnlyItsLabelAndHooksDrawWithTheirRatio) {
  Chain single;
  ControlPoint* p = single.Add(1, 1, 1);
  p->SetClosed();
  mdltest::RecordingView view;
  p->DrawChain(view, PointIds::Hidden);
  EXPECT_EQ(view.Texts(), (std::vector<std::string>{"M 1 1 1"}));

  Chain hooked;
  ControlPoint* h = hooked.Add(0, 0, 0);
  hooked.Add(4, 8, 0);
  h->cptype = 0x80000000u;
  h->SetHookRatio(0.25);
  view.Clear();
  h->DrawChain(view, PointIds::Hidden);
  EXPECT_EQ(view.Texts(), (std::vector<std::string>{"M 1 2 0", "L 4 8 0"}));
}

}  // namespace
}  // namespace mk
