// The fast docking against the plain reference on random segments: shared and negative ids,
// dangling, stacked and cyclic attachments, plane points, closed and empty splines. Saved files
// and drawings must agree byte for byte. Also the sizes real models reach.

#include <gtest/gtest.h>

#include <random>

#include "tests/seg/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;
using test::RecordingView;

std::string RandomSegment(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  // Small id ranges make shared ids and collisions with the temporary ids -1, -2, ... common.
  const int id_lo = pick(0, 1) ? -10 : 1;
  const char* xs[] = {"0", "0", "0.2", "-0.3", "0.4", "1", "2.5", "-1.5", "0.000001"};
  const int cptypes[] = {0, 0, 4, 1, 5, -2147483648, -2147483644};
  const int spline_count = pick(0, 5);
  std::vector<std::string> lines{"SCUL 1 0 2 0 0 0", "3", "0 0 0 0.5 0.5 0.5", "0 0 0", "a",
                                 "b", std::to_string(spline_count)};
  for (int s = 0; s < spline_count; ++s) {
    const int points = pick(0, 6);
    lines.push_back(points == 0 && pick(0, 1) ? "-1" : std::to_string(points));
    for (int k = 0; k < points; ++k) {
      const bool attached = pick(0, 99) < 35;
      lines.push_back(std::to_string(cptypes[pick(0, 6)]) + (attached ? " 1 " : " 0 ") +
                      std::to_string(pick(id_lo, 14)));
      if (attached) {
        lines.push_back(std::to_string(pick(id_lo, 16)));  // some match no id
      } else {
        lines.push_back(std::string(xs[pick(0, 8)]) + " " + std::to_string(pick(-3, 3)) + " " +
                        std::to_string(pick(0, 2)));
      }
      lines.push_back(pick(0, 3) == 0 ? "1 2 3" : "0");
      lines.push_back("0");
      if (attached && pick(0, 3) == 0) lines.push_back("attach_obj=nil");
    }
  }
  return Crlf(lines);
}

std::vector<RecordingView::Call> Drawn(const SegmentDocument& segment) {
  RecordingView view;
  segment.Draw(view, PointIds::Hidden);
  return view.calls;
}

TEST(SegmentProperty, FastDockingEqualsReference) {
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    const std::string text = RandomSegment(rng);
    SCOPED_TRACE("seed " + std::to_string(seed) + "\n" + text);

    auto fast = test::LoadSegment(text);
    auto reference = test::LoadSegment(text);
    test::ReferenceResolve(*reference);
    ASSERT_EQ(Drawn(*fast), Drawn(*reference));

    // Renumbering alone, before any mirroring.
    auto fast_ids = test::LoadSegment(text);
    auto reference_ids = test::LoadSegment(text);
    ASSERT_EQ(fast_ids->Renumber(), test::ReferenceRenumber(*reference_ids));
    ASSERT_EQ(test::Saved(*fast_ids), test::Saved(*reference_ids));

    fast->Dock(0.4);
    test::ReferenceDock(*reference, 0.4);
    ASSERT_EQ(test::Saved(*fast), test::Saved(*reference));
    ASSERT_EQ(Drawn(*fast), Drawn(*reference));
  }
}

TEST(SegmentProperty, NegativeIdsCollidingWithTemporaries) {
  // -2 is taken by the second step while the file's -2 still waits; both then move together.
  const std::string text = Crlf({"SCUL 1 0 2 0 0 0", "3", "0 0 0 1 1 1", "0 0 0", "a", "b", "1",
                                 "4", "0 0 -2", "1 0 0", "0", "0", "0 0 7", "2 0 0", "0", "0",
                                 "0 1 -1", "-2", "0", "0", "0 1 8", "7", "0", "0"});
  auto fast = test::LoadSegment(text);
  auto reference = test::LoadSegment(text);
  EXPECT_EQ(fast->Renumber(), test::ReferenceRenumber(*reference));
  EXPECT_EQ(test::Saved(*fast), test::Saved(*reference));
}

std::unique_ptr<SegmentDocument> BigSegment(std::size_t count, bool chain) {
  auto segment = std::make_unique<SegmentDocument>(nullptr);
  auto spline = std::make_unique<SegmentSpline>();
  for (std::size_t i = 0; i < count; ++i) {
    auto p = std::make_unique<SegmentControlPoint>();
    p->cpid = static_cast<std::int32_t>(count - i) * 3;
    if (chain && i > 0) {
      p->attached = 1;
      p->at_cpid = static_cast<std::int32_t>(count - i + 1) * 3;
    } else {
      p->x = 1 + static_cast<double>(i % 7);
      p->y = static_cast<double>(i);
    }
    spline->Append(std::move(p));
  }
  segment->Splines.push_back(std::move(spline));
  LargeVector<SegmentControlPoint*> points;
  segment->CollectCps(points);
  segment->ResolveAttachments(points);
  return segment;
}

class MillionPoints : public testing::TestWithParam<bool> {};

TEST_P(MillionPoints, DockAndDrawWhole) {
  const bool chain = GetParam();
  auto segment = BigSegment(1000000, chain);
  EXPECT_EQ(segment->Dock(0.4).cp_after, 2000000);
  RecordingView view;
  segment->Draw(view, PointIds::Hidden);
  const SegmentSpline& twins = segment->SplineAt(1);
  EXPECT_EQ(twins.ControlPointAt(999999).cpid, 2000000);
  EXPECT_EQ(twins.ControlPointAt(999999).GetX(), chain ? -1.0 : -(1 + 999999 % 7));
  EXPECT_EQ(view.calls.size(), 2000000u);
}

INSTANTIATE_TEST_SUITE_P(SegmentProperty, MillionPoints, testing::Values(false, true),
                         [](const auto& test) {
                           return std::string(test.param ? "OneChainOfAttachments" : "FreePoints");
                         });

}  // namespace
}  // namespace mk
