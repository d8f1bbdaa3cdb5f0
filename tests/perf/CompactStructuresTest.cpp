// The compact structures behind the docking stages, each held to the plain structure it replaces.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/mdl/ControlPoint.h"
#include "core/docking/IdTable.h"
#include "core/util/CompactTriple.h"
#include "core/util/RareReals.h"
#include "core/util/Extended.h"
#include "core/seg/SegmentControlPoint.h"

namespace mk {
namespace {

using SegmentLine = SegmentControlPoint::Line;

std::size_t PlainFirst(const std::vector<std::int32_t>& ids, std::int32_t id) {
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) return i;
  return FirstPositionById::kNone;
}

void ExpectSameAsPlainScan(const std::vector<std::int32_t>& ids, bool flat) {
  FirstPositionById table;
  table.Build(ids.size(), [&ids](std::size_t i) { return ids[i]; });
  EXPECT_EQ(table.IsFlat(), flat);
  std::set<std::int32_t> probes{INT32_MIN, INT32_MAX, 0, -1, 1};
  for (std::int32_t id : ids) {
    probes.insert(id);
    if (id > INT32_MIN) probes.insert(id - 1);
    if (id < INT32_MAX) probes.insert(id + 1);
  }
  for (std::int32_t id : probes) EXPECT_EQ(table.Find(id), PlainFirst(ids, id)) << "id " << id;
}

TEST(FirstPositionById, DenseIdsUseTheFlatTableAndKeepTheFirstBearer) {
  // Renumbered ids with copies above the offset, gaps, and ids shared by several points.
  ExpectSameAsPlainScan({1, 2, 3, 4, 5, 7, 8, 10, 3, 5, 5}, true);
  ExpectSameAsPlainScan({-3, -2, -1, 0, -2}, true);
  ExpectSameAsPlainScan({42}, true);
}

TEST(FirstPositionById, SpreadIdsFallBackToHashingWithTheSameAnswers) {
  ExpectSameAsPlainScan({1, 1000000, 7, INT32_MAX, INT32_MIN, 7, -5}, false);
  ExpectSameAsPlainScan({INT32_MIN, INT32_MAX}, false);
}

TEST(FirstPositionById, EmptyAndRebuiltTablesForgetEarlierIds) {
  FirstPositionById table;
  table.Build(0, [](std::size_t) { return 0; });
  EXPECT_EQ(table.Find(0), FirstPositionById::kNone);
  const std::vector<std::int32_t> first{5, 6, 7};
  table.Build(first.size(), [&first](std::size_t i) { return first[i]; });
  EXPECT_EQ(table.Find(7), 2u);
  const std::vector<std::int32_t> second{1, 2};
  table.Build(second.size(), [&second](std::size_t i) { return second[i]; });
  EXPECT_EQ(table.Find(7), FirstPositionById::kNone);
  EXPECT_EQ(table.Find(2), 1u);
}

using Pairs = std::set<std::pair<std::int32_t, std::size_t>>;

std::size_t PlainFirst(const Pairs& pairs, std::int32_t key) {
  const auto it = pairs.lower_bound({key, 0});
  return it != pairs.end() && it->first == key ? it->second : FirstPositionByKey::kNone;
}

TEST(FirstPositionByKey, FollowsAnOrderedSetThroughRandomChanges) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    const std::size_t n = 1 + random() % 60;
    std::vector<std::int32_t> keys(n);
    std::vector<bool> included(n);
    for (std::size_t i = 0; i < n; ++i) {
      keys[i] = static_cast<std::int32_t>(random() % 8) - 2;
      included[i] = random() % 3 != 0;
    }
    FirstPositionByKey index;
    index.Build(n, [&](std::size_t i) { return included[i]; }, [&](std::size_t i) { return keys[i]; });
    Pairs plain;
    for (std::size_t i = 0; i < n; ++i)
      if (included[i]) plain.insert({keys[i], i});

    for (int step = 0; step < 300; ++step) {
      const std::size_t i = random() % n;
      // Moves a point to another key, or takes it out and puts it back as the lookups do.
      if (included[i]) {
        index.Erase(keys[i], i);
        plain.erase({keys[i], i});
      }
      keys[i] = static_cast<std::int32_t>(random() % 8) - 2;
      included[i] = random() % 4 != 0;
      if (included[i]) {
        index.Insert(keys[i], i);
        plain.insert({keys[i], i});
      }
      for (std::int32_t key = -3; key <= 6; ++key)
        ASSERT_EQ(index.First(key), PlainFirst(plain, key)) << "round " << round << " step " << step;
    }
  }
}

TEST(FirstPositionByKey, ErasingAPairNeverHeldChangesNothing) {
  FirstPositionByKey index;
  const std::vector<std::int32_t> keys{4, 4, 9};
  index.Build(keys.size(), [](std::size_t) { return true; }, [&](std::size_t i) { return keys[i]; });
  index.Erase(4, 2);  // 4 is not paired with 2
  index.Erase(5, 0);
  EXPECT_EQ(index.First(4), 0u);
  index.Erase(4, 0);
  index.Erase(4, 0);  // twice
  EXPECT_EQ(index.First(4), 1u);
  index.Insert(4, 0);
  EXPECT_EQ(index.First(4), 0u);
  index.Erase(4, 0);  // the re-inserted pair goes again
  index.Erase(4, 1);
  EXPECT_EQ(index.First(4), FirstPositionByKey::kNone);
  EXPECT_EQ(index.First(9), 2u);
}

// Millions of points: a field added in the wrong place costs tens of megabytes.
TEST(PointRecords, StayWithinTheirSize) {
  if (sizeof(void*) != 8) GTEST_SKIP() << "sized for LP64";
  EXPECT_LE(sizeof(ControlPoint), 80u);
  EXPECT_LE(sizeof(SegmentControlPoint), 80u);
}

TEST(RareReals, HoldStorageOnlyOnceAValueOtherThanPlusZeroIsSet) {
  RareReals<7> r;
  r.Set(3, 0.0);
  EXPECT_TRUE(r.IsCompact());
  r.Set(3, -0.0);  // a negative zero read from a file is written back as read
  EXPECT_FALSE(r.IsCompact());
  EXPECT_TRUE(std::signbit(r.Get(3)));
  EXPECT_EQ(r.Get(0), 0.0);
  r.Set(6, 2.5);
  RareReals<7> copy = r;  // a mirrored point gets values of its own
  r.Set(6, 1.0);
  EXPECT_EQ(copy.Get(6), 2.5);
  EXPECT_TRUE(std::signbit(copy.Get(3)));
  copy = RareReals<7>();
  EXPECT_TRUE(copy.IsCompact());
  EXPECT_EQ(copy.Get(6), 0.0);
}

// The block ends at the highest value set; setting one further on must keep those before it.
TEST(RareReals, GrowingKeepsEveryValueSetBefore) {
  RareReals<7> r;
  r.Set(1, 1.5);
  r.Set(0, -0.0);
  EXPECT_EQ(r.Get(5), 0.0);
  r.Set(5, 0.0);  // +0 beyond the block needs no room
  r.Set(4, 4.25);
  EXPECT_EQ(r.Get(1), 1.5);
  EXPECT_TRUE(std::signbit(r.Get(0)));
  EXPECT_EQ(r.Get(4), 4.25);
  EXPECT_EQ(r.Get(2), 0.0);
  EXPECT_FALSE(std::signbit(r.Get(3)));
  r.Set(6, 6.0);
  RareReals<7> moved = std::move(r);
  EXPECT_EQ(moved.Get(1), 1.5);
  EXPECT_EQ(moved.Get(4), 4.25);
  EXPECT_EQ(moved.Get(6), 6.0);
  moved = RareReals<7>(moved);  // a copy of itself, through a temporary
  EXPECT_EQ(moved.Get(6), 6.0);
}

// A segment's coordinates and lines are kept in their ten bytes; every bit of the value must
// come back, also of values no decimal text gives.
TEST(Extended, KeepsEveryBitOfTheValue) {
  static_assert(sizeof(Extended) == 10 && alignof(Extended) == 1);
  std::mt19937_64 random(5);
  for (int i = 0; i < 1000; ++i) {
    const auto word = static_cast<std::uint16_t>(random());
    const std::uint64_t significand = random();
    const Extended v = Extended::FromBits(word, significand);
    SegmentLine line(std::array<Extended, 3>{0.0, v, 0.0});
    EXPECT_EQ(line[1].SignExponent(), word);
    EXPECT_EQ(line[1].Significand(), significand);
  }
}

TEST(CompactTriple, HoldsStorageOnlyForValuesOtherThanPlusZero) {
  CompactTriple<double> t;
  EXPECT_TRUE(t.IsCompact());
  EXPECT_EQ(t, (std::array<double, 3>{0, 0, 0}));
  t = std::array<double, 3>{0.1, 0, -2};
  EXPECT_FALSE(t.IsCompact());
  EXPECT_EQ(t[0], 0.1);
  EXPECT_EQ(t[2], -2);
  t = std::array<double, 3>{0, 0, 0};
  EXPECT_TRUE(t.IsCompact());
  // A negative zero is kept as written.
  t = std::array<double, 3>{0, -0.0, 0};
  EXPECT_FALSE(t.IsCompact());
  EXPECT_TRUE(std::signbit(t[1]));
}

TEST(CompactTriple, TheFlagTravelsWithCopiesAndMovesButNotWithNewValues) {
  SegmentLine a;
  EXPECT_FALSE(a.Flag());
  a.SetFlag(true);
  a = std::array<Extended, 3>{1, 2, 3};
  EXPECT_TRUE(a.Flag());
  EXPECT_EQ(a[1], 2);
  a = std::array<Extended, 3>{0, 0, 0};  // back to no storage, flag kept
  EXPECT_TRUE(a.Flag());
  EXPECT_TRUE(a.IsCompact());
  SegmentLine b(std::array<Extended, 3>{4, 5, 6});
  b = a;
  EXPECT_TRUE(b.Flag());
  EXPECT_TRUE(b.IsCompact());
  SegmentLine c = std::move(b);
  EXPECT_TRUE(c.Flag());
  c.SetFlag(false);
  EXPECT_EQ(c, (std::array<Extended, 3>{0, 0, 0}));
  EXPECT_FALSE(c.Flag());
}

TEST(CompactTriple, CopiesAreDeepAndIndependent) {
  SegmentLine a(std::array<Extended, 3>{1, 2, 3});
  SegmentLine b = a;
  b = std::array<Extended, 3>{4, 5, 6};
  EXPECT_EQ(a, (std::array<Extended, 3>{1, 2, 3}));
  EXPECT_EQ(b, (std::array<Extended, 3>{4, 5, 6}));
  a = b;
  EXPECT_EQ(a, b);
  b = SegmentLine();
  EXPECT_EQ(a[1], 5);
  EXPECT_TRUE(b.IsCompact());
  SegmentLine moved = std::move(a);
  EXPECT_EQ(moved[2], 6);
}

TEST(CompactTriple, AssignedCopiesTakeTheOthersValuesAndFlagInEveryForm) {
  SegmentLine negative_zero(std::array<Extended, 3>{0, -0.0, 0});
  negative_zero.SetFlag(true);
  SegmentLine compact;
  compact = negative_zero;  // into no storage
  EXPECT_FALSE(compact.IsCompact());
  EXPECT_TRUE(compact[1].SignBit());
  EXPECT_TRUE(compact.Flag());
  SegmentLine held(std::array<Extended, 3>{7, 8, 9});
  held = negative_zero;  // into storage of its own
  EXPECT_TRUE(held[1].SignBit());
  EXPECT_TRUE(held.Flag());
  held = SegmentLine();  // from no storage: back to +0 and no flag
  EXPECT_TRUE(held.IsCompact());
  EXPECT_FALSE(held.Flag());
  EXPECT_FALSE(held[1].SignBit());
  EXPECT_TRUE(negative_zero.Flag());  // the source is untouched
  EXPECT_TRUE(negative_zero[1].SignBit());
}

}  // namespace
}  // namespace mk
