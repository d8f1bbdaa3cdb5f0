// The indexed docking stages against the plain ones of ReferenceDocking.h: random meshes with
// shared, negative and extreme ids, dangling, stacked and cyclic attachments, hooks with ratios,
// plane points and closed splines must give byte-identical files and attach reports both ways.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/mdl/ControlPointList.h"
#include "mdl/MdlTestSupport.h"
#include "mdl/ReferenceDocking.h"
#include "core/mdl/MeshSection.h"
#include "core/util/LineList.h"

namespace mk {
namespace {

using mdltest::WorkingFolder;

struct MeshShape {
  bool negative_ids = false;
  bool extreme_ids = false;
};

std::string RandomMesh(std::mt19937& rng, MeshShape shape) {
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto chance = [&](int percent) { return pick(0, 99) < percent; };
  auto random_id = [&]() -> std::int32_t {
    if (shape.extreme_ids && chance(10)) return chance(50) ? INT_MAX - pick(0, 2) : INT_MIN + pick(0, 2);
    return shape.negative_ids ? pick(-6, 12) : pick(0, 14);
  };
  static const char* const kXs[] = {"0", "0.3", "-0.2", "1", "-1.5", "2", "0.4", "-0.4"};
  static const char* const kRatios[] = {"0.25", "0.5", "0.75", "1", "0"};

  std::vector<std::string> lines = {"[MESH]", "Version=2", "Splines=0"};
  const int splines = pick(1, 5);
  for (int s = 0; s < splines; ++s) {
    const int count = pick(0, 6);
    lines.push_back("CPs=" + std::to_string(count));
    for (int k = 0; k < count; ++k) {
      std::uint32_t cptype = 0;
      if (chance(15)) cptype |= 0x80u;
      if (chance(10)) cptype |= 0x80000000u;
      if (chance(25)) cptype |= chance(50) ? 0x10u : 0x1000u;
      if (chance(15)) cptype |= 0x4u;
      if (chance(10)) cptype |= 0x100u;
      const bool attached = chance(35);
      std::string header = FormatFlagWord(static_cast<std::int32_t>(cptype)) + " " +
                           (attached ? "1 " : "0 ") + std::to_string(random_id());
      if ((cptype & 0x1010u) != 0 && chance(85)) header += std::string(" ") + kRatios[pick(0, 4)];
      lines.push_back(header);
      if (attached)
        lines.push_back(std::to_string(random_id()));
      else
        lines.push_back(std::string(kXs[pick(0, 7)]) + " " + std::to_string(pick(-3, 3)) + " " +
                        std::to_string(pick(-3, 3)));
      lines.push_back(chance(80) ? "0" : "0.5 1 2");
      lines.push_back("0");
    }
  }
  lines.push_back("[ENDMESH]");
  return mdltest::Crlf(lines);
}

struct Outcome {
  std::string file;
  std::string report;  // empty when none was written
};

Outcome DockOnce(const std::string& text, bool plain) {
  WorkingFolder work;
  const LineList lines = LineList::FromText(text);
  MeshSection mesh(nullptr, nullptr);
  mesh.LoadFromLines(lines, 0);
  if (plain) {
    work.RemoveReport();
    reference::ResolveAttachments(reference::BuildView(mesh));
    reference::Dock(mesh, 0.4);
  } else {
    mesh.Dock(0.4);
  }
  LineWriter out;
  mesh.SaveToLines(out);
  return {out.Bytes(), work.HasReport() ? work.Report() : std::string()};
}

void ExpectSameDocking(std::uint32_t seed, MeshShape shape) {
  std::mt19937 rng(seed);
  const std::string text = RandomMesh(rng, shape);
  const Outcome fast = DockOnce(text, false);
  const Outcome plain = DockOnce(text, true);
  ASSERT_EQ(fast.file, plain.file) << "seed " << seed << "\n" << text;
  ASSERT_EQ(fast.report, plain.report) << "seed " << seed << "\n" << text;
}

TEST(DockingProperty, IndexedStagesMatchPlainStagesOnRandomMeshes) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) ExpectSameDocking(seed, {});
}

TEST(DockingProperty, NegativeAndExtremeIdsDockAlikeBothWays) {
  for (std::uint32_t seed = 1001; seed <= 1300; ++seed) ExpectSameDocking(seed, {true, false});
  for (std::uint32_t seed = 2001; seed <= 2200; ++seed) ExpectSameDocking(seed, {true, true});
}

// Renumbering on its own, over many more id patterns than whole meshes reach.
TEST(DockingProperty, LinearRenumberEqualsRoundsOfReplaceId) {
  std::mt19937 rng(77);
  for (int round = 0; round < 2000; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 12)(rng);
    const int lo = round % 3 == 0 ? -14 : 0;
    std::uniform_int_distribution<int> small_id(lo, 14);
    // Every fourth round mixes in ids at the ends of the range, which no flat table covers.
    const bool wide = round % 4 == 1;
    auto id = [&](std::mt19937& g) {
      const int v = small_id(g);
      if (!wide || v % 3 != 0) return v;
      return v < 0 ? std::numeric_limits<std::int32_t>::min() + 1 - v
                   : std::numeric_limits<std::int32_t>::max() - v;
    };
    std::vector<std::unique_ptr<Spline>> splines;
    splines.push_back(std::make_unique<Spline>());
    std::vector<std::unique_ptr<Spline>> twins;
    twins.push_back(std::make_unique<Spline>());
    for (int k = 0; k < n; ++k) {
      auto p = std::make_unique<ControlPoint>();
      p->cpid = id(rng);
      p->at_cpid = id(rng);
      p->attached = k % 2;
      auto q = std::make_unique<ControlPoint>(*p);
      splines[0]->Append(std::move(p));
      twins[0]->Append(std::move(q));
    }
    ControlPointList fast(splines);
    reference::View plain;
    twins[0]->CollectCps(plain);
    ASSERT_EQ(fast.Renumber(), reference::Renumber(plain));
    for (int k = 0; k < n; ++k) {
      ASSERT_EQ(fast.At(static_cast<std::size_t>(k))->cpid, plain[static_cast<std::size_t>(k)]->cpid)
          << "round " << round;
      ASSERT_EQ(fast.At(static_cast<std::size_t>(k))->at_cpid, plain[static_cast<std::size_t>(k)]->at_cpid)
          << "round " << round;
    }
  }
}

}  // namespace
}  // namespace mk
