// Docking on both cores must give what docking on one gives, and the pieces that split the work
// must cover it exactly once, pass errors on and keep points whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <thread>
#include <vector>

#include "bench/ModelGenerator.h"
#include "core/util/LineList.h"
#include "core/util/PointPool.h"
#include "core/util/SecondCore.h"
#include "core/document/Warnings.h"
#include "core/workflow/Workflow.h"
#include "tests/mdl/MdlTestSupport.h"
#include "tests/seg/SegmentTestSupport.h"

namespace mk {
namespace {

/// Everything a docking leaves behind that a user or the program can see.
struct Outcome {
  std::string saved;
  std::string report;  // attach_err.txt, empty when none was written
  std::vector<test::RecordingView::Call> drawn;
  std::vector<std::vector<std::int32_t>> warned_ids;
  std::array<std::string, 2> statistics;
  long double bounds[6];
};

Outcome Docked(FileKind kind, const std::string& text) {
  const mdltest::WorkingFolder folder;
  WarningList warnings;
  auto document = CreateDocument(kind, nullptr, &warnings);
  document->LoadFromLines(LineList::FromText(text), 0);
  const DockStatistics counts = document->Dock(0.4);
  Outcome outcome;
  LineWriter out([&outcome](std::string_view piece) { outcome.saved.append(piece); });
  document->SaveToLines(out);
  out.Flush();
  if (folder.HasReport()) outcome.report = folder.Report();
  test::RecordingView view;
  document->Draw(view, PointIds::Hidden);
  outcome.drawn = std::move(view.calls);
  for (const DockWarning& warning : warnings.warnings) outcome.warned_ids.push_back(warning.ids);
  outcome.statistics = StatisticsLines(counts);
  for (int k = 0; k < 6; ++k) outcome.bounds[k] = document->GetBound(k);
  return outcome;
}

void ExpectSameOutcome(const Outcome& both, const Outcome& one) {
  ASSERT_EQ(both.saved.size(), one.saved.size());
  EXPECT_TRUE(both.saved == one.saved);
  EXPECT_EQ(both.report, one.report);
  EXPECT_TRUE(both.drawn == one.drawn);
  EXPECT_EQ(both.warned_ids, one.warned_ids);
  EXPECT_EQ(both.statistics, one.statistics);
  for (int k = 0; k < 6; ++k) {
    // The box's zeros keep their sign through the split: compare the bits, not the values.
    EXPECT_EQ(std::signbit(both.bounds[k]), std::signbit(one.bounds[k])) << k;
    EXPECT_EQ(both.bounds[k], one.bounds[k]) << k;
  }
}

// Big enough that every split stage runs on two threads (the cut lies well inside the model).
// One case per format and seed, so that the cases run side by side.
class TwoCoresDocking : public testing::TestWithParam<std::tuple<FileKind, unsigned>> {};

TEST_P(TwoCoresDocking, GivesWhatOneCoreGives) {
  const auto [kind, seed] = GetParam();
  const std::string text = bench::GenerateModelText(90000, kind, seed);
  Outcome one;
  {
    const OneCoreScope stay_here;
    one = Docked(kind, text);
  }
  ExpectSameOutcome(Docked(kind, text), one);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, TwoCoresDocking,
                         testing::Combine(testing::Values(FileKind::Model, FileKind::Segment),
                                          testing::Values(3u, 8u)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param) == FileKind::Model ? "mdl"
                                                                                         : "seg") +
                                  "_seed" + std::to_string(std::get<1>(test.param));
                         });

// The stored box of a segment keeps the first of equal extremes in list order, so the file's 0
// stays when every point's y is -0. The box is widened in two parts, the second starting with the
// mirrored points, and their join must keep that 0 too.
TEST(TwoCores, SegmentBoxKeepsTheFirstOfEqualZerosAcrossTheSplit) {
  constexpr int kPoints = 3 * static_cast<int>(kItemsWorthASecondCore);
  LineWriter text;
  for (const char* line : {"SCUL 1 0 2 0 0 0", "0", "1 0 1 1 0 1", "1 1 1", "zeros", "0", "1"})
    text.Add(line);
  text.Add(std::to_string(kPoints));
  for (int p = 0; p < kPoints; ++p) {
    text.Add("0 0 " + std::to_string(p + 1));
    text.Add("1 -0 1");
    text.Add("0");
    text.Add("0");
  }
  Outcome one;
  {
    const OneCoreScope stay_here;
    one = Docked(FileKind::Segment, text.Bytes());
  }
  ASSERT_FALSE(std::signbit(one.bounds[1]));
  ASSERT_FALSE(std::signbit(one.bounds[4]));
  ExpectSameOutcome(Docked(FileKind::Segment, text.Bytes()), one);
}

TEST(TwoCores, SplitWorkCoversEveryItemOnceInBalancedParts) {
  for (const std::size_t n : {std::size_t{0}, std::size_t{5}, kItemsWorthASecondCore - 1,
                              kItemsWorthASecondCore, std::size_t{100001}}) {
    std::vector<std::atomic<int>> visits(n);
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::mutex parts_lock;
    SplitAcrossCores(n, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) ++visits[i];
      const std::lock_guard<std::mutex> hold(parts_lock);
      parts.emplace_back(begin, end);
    });
    EXPECT_TRUE(std::all_of(visits.begin(), visits.end(), [](const auto& v) { return v == 1; }))
        << n;
    EXPECT_EQ(parts.size(), WorthASecondCore(n) ? 2u : 1u) << n;
  }
  // By weight: one heavy item first takes a part of its own.
  std::vector<std::size_t> weights(1000, 1);
  weights[0] = 100000;
  std::vector<std::pair<std::size_t, std::size_t>> parts;
  std::mutex parts_lock;
  SplitAcrossCores(
      weights.size(), [&](std::size_t i) { return weights[i]; },
      [&](std::size_t begin, std::size_t end) {
        const std::lock_guard<std::mutex> hold(parts_lock);
        parts.emplace_back(begin, end);
      });
  std::sort(parts.begin(), parts.end());
  if (WorthASecondCore(100999)) {
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], (std::pair<std::size_t, std::size_t>{0, 1}));
    EXPECT_EQ(parts[1], (std::pair<std::size_t, std::size_t>{1, 1000}));
  }
}

TEST(TwoCores, AnErrorOfEitherPartReachesTheCallerAfterBothEnded) {
  const std::size_t n = 4 * kItemsWorthASecondCore;
  for (const std::size_t failing : {std::size_t{0}, n - 1}) {
    std::atomic<std::size_t> done{0};
    EXPECT_THROW(SplitAcrossCores(n,
                                  [&](std::size_t begin, std::size_t end) {
                                    for (std::size_t i = begin; i < end; ++i) {
                                      if (i == failing) throw std::runtime_error("no memory");
                                      ++done;
                                    }
                                  }),
                 std::runtime_error)
        << failing;
    // The part that did not fail ran to its end before the error came back.
    EXPECT_GE(done.load(), n / 2 - 1) << failing;
  }
  const OneCoreScope stay_here;
  EXPECT_THROW(SplitAcrossCores(n, [](std::size_t, std::size_t) { throw std::logic_error("x"); }),
               std::logic_error);
}

struct Probe : Pooled<Probe> {
  long long value[5] = {};
};

TEST(TwoCores, PointsMadeInBatchesOnTwoThreadsAreDistinctAndWhole) {
  constexpr int kEach = 20000;  // several refills per thread
  std::vector<std::unique_ptr<Probe>> made[2];
  auto make = [&made](int side) {
    const PointBatch<Probe> batch;
    for (int k = 0; k < kEach; ++k) {
      auto probe = std::make_unique<Probe>();
      for (long long& v : probe->value) v = side * kEach + k;
      made[side].push_back(std::move(probe));
    }
  };
  std::thread other(make, 1);
  make(0);
  other.join();
  std::set<const Probe*> seen;
  for (int side = 0; side < 2; ++side) {
    for (int k = 0; k < kEach; ++k) {
      const Probe& probe = *made[side][static_cast<std::size_t>(k)];
      EXPECT_TRUE(seen.insert(&probe).second);
      for (long long v : probe.value) ASSERT_EQ(v, side * kEach + k);
    }
  }
}

}  // namespace
}  // namespace mk
