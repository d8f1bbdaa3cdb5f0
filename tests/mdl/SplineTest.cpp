// The spline mirror: chain surgery for each arrangement of plane ends, the correction records it
// makes, and the spline's own reading and writing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/mdl/Spline.h"
#include "core/util/Errors.h"

namespace mk {
namespace {

constexpr std::int32_t kOffset = 10;

/// A spline from x values; ids are 1, 2, 3 ... in order.
std::unique_ptr<Spline> Make(std::vector<double> xs) {
  auto spline = std::make_unique<Spline>();
  std::int32_t id = 1;
  for (double x : xs) {
    auto p = std::make_unique<ControlPoint>();
    p->x = x;
    p->cpid = id++;
    spline->Append(std::move(p));
  }
  return spline;
}

std::vector<std::int32_t> Ids(const Spline& s) {
  std::vector<std::int32_t> ids;
  for (const ControlPoint* p = s.First; p; p = p->next) ids.push_back(p->cpid);
  // The chain must be consistent backwards as well.
  std::size_t back = 0;
  for (const ControlPoint* p = s.Last; p; p = p->prev) ++back;
  EXPECT_EQ(back, ids.size());
  EXPECT_EQ(static_cast<std::size_t>(s.Count), ids.size());
  // The spline's own collection must give the chain order too.
  LargeVector<ControlPoint*> collected;
  s.CollectCps(collected);
  std::vector<std::int32_t> collected_ids;
  for (const ControlPoint* p : collected) collected_ids.push_back(p->cpid);
  EXPECT_EQ(collected_ids, ids);
  return ids;
}

using IdList = std::vector<std::int32_t>;

TEST(MakeMirror, LastEndOnThePlane) {
  auto s = Make({1, 2, 0});  // A B E
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(Ids(*s), (IdList{1, 2, 3, 12, 11}));
  EXPECT_FALSE(s->Last->IsClosed());
  EXPECT_EQ(s->Last->x, -1);
  EXPECT_TRUE(records.empty());
}

TEST(MakeMirror, FirstEndOnThePlane) {
  auto s = Make({0, 2, 1});  // E B A
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(Ids(*s), (IdList{13, 12, 1, 2, 3}));
  EXPECT_EQ(s->First->x, -1);
}

TEST(MakeMirror, BothEndsOnThePlaneCloses) {
  auto s = Make({0, 2, 0});  // E1 B E2
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(Ids(*s), (IdList{1, 2, 3, 12}));
  EXPECT_TRUE(s->Last->IsClosed());
}

TEST(MakeMirror, NoEndOnThePlaneGivesAReversedTwin) {
  auto s = Make({1, 2, 3});  // A B C
  CorrectionList records;
  auto twin = s->MakeMirror(kOffset, records);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(Ids(*s), (IdList{1, 2, 3}));
  EXPECT_EQ(Ids(*twin), (IdList{13, 12, 11}));
  EXPECT_TRUE(twin->First->is_mirror);
}

TEST(MakeMirror, WholeSplineOnThePlaneWithoutHookStays) {
  auto s = Make({0, 0});  // E1 E2
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(Ids(*s), (IdList{1, 2}));
  EXPECT_TRUE(records.empty());
  EXPECT_FALSE(s->Last->IsClosed());
}

TEST(MakeMirror, PlaneSplineWithAHookIsClosedOverItsEnds) {
  auto s = Make({0, 0});
  s->Last->cptype = 0x80;
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(Ids(*s), (IdList{1, 2}));  // nothing to copy
  EXPECT_TRUE(s->Last->IsClosed());
  // The pair (1, 2) meets a hook read from the file, but 1 is no copy; the closing pair (2, 1)
  // meets no hook: no record.
  EXPECT_TRUE(records.empty());
}

TEST(MakeMirror, PlanePointInTheMiddleMakesAnAttachRecord) {
  auto s = Make({1, 0, 2});  // A E B
  CorrectionList records;
  auto twin = s->MakeMirror(kOffset, records);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(Ids(*twin), (IdList{13, 12, 11}));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, CorrectionKind::PlaneCopy);
  EXPECT_EQ(records[0].oldid, 12);
  EXPECT_EQ(records[0].newid, 2);
}

TEST(MakeMirror, MovedHookRecordPassesTheHookForward) {
  auto s = Make({1, 2, 3});
  ControlPoint* h = s->First->next;
  h->cptype = 0x80000080u;
  CorrectionList records;
  auto twin = s->MakeMirror(kOffset, records);
  ASSERT_NE(twin, nullptr);
  // Twin 13 12 11: the pair (13, 12') meets the copied hook.
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, CorrectionKind::Hook);
  EXPECT_EQ(records[0].oldid, 12);
  EXPECT_EQ(records[0].newid, 13);
  EXPECT_EQ(twin->First->cptype, 0x80000000u);
  EXPECT_FALSE(twin->First->next->IsHook());
  EXPECT_TRUE(h->IsHook());  // the source keeps its hook
}

TEST(MakeMirror, SharedHookRecordsForAHookReadFromTheFile) {
  auto s = Make({0, 2, 1});  // E(hook) B A -> A' B' E B A
  s->First->cptype = 0x80;
  CorrectionList records;
  EXPECT_EQ(s->MakeMirror(kOffset, records), nullptr);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, CorrectionKind::Hook);
  EXPECT_EQ(records[0].oldid, 1 + kOffset);
  EXPECT_EQ(records[0].newid, 12);
  EXPECT_EQ(s->First->next->cptype, 0x80000000u);  // B' holds the hook now
  EXPECT_TRUE(s->First->next->next->IsHook());     // and E keeps it
}

TEST(SplineChain, AppendsAndPrependsInAnyOrderCollectInChainOrder) {
  auto s = Make({1, 2});
  for (std::int32_t id : {3, 4, 5, 6}) {
    auto p = std::make_unique<ControlPoint>();
    p->cpid = id;
    if (id % 2 == 1) {
      s->Prepend(std::move(p));
    } else {
      s->Append(std::move(p));
    }
  }
  EXPECT_EQ(Ids(*s), (IdList{5, 3, 1, 2, 4, 6}));
}

TEST(MakeMirror, EmptySplineIsLeftAlone) {
  Spline s;
  CorrectionList records;
  EXPECT_EQ(s.MakeMirror(kOffset, records), nullptr);
  EXPECT_EQ(s.Count, 0);
}

TEST(SplineText, EmptyCountReadsNothingAndWritesItBack) {
  const std::vector<std::string_view> lines = {"CPs=0", "0 0 1"};
  Spline s;
  EXPECT_EQ(s.LoadFromLines(lines, 0), 1u);
  LineWriter out;
  s.SaveToLines(out);
  EXPECT_EQ(out.Lines(), (std::vector<std::string>{"CPs=0"}));
  const std::vector<std::string_view> negative = {"CPs=-3"};
  Spline t;
  EXPECT_EQ(t.LoadFromLines(negative, 0), 1u);
  EXPECT_EQ(t.Count, 0);
}

TEST(SplineText, MillionPointSplineIsDestroyedWithoutRecursion) {
  auto s = std::make_unique<Spline>();
  for (int i = 0; i < 1000000; ++i) s->Append(std::make_unique<ControlPoint>());
  s->Prepend(std::make_unique<ControlPoint>());
  EXPECT_EQ(s->Count, 1000001);
  s.reset();
}

}  // namespace
}  // namespace mk
