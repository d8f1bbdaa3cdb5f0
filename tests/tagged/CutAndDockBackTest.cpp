// A whole model exactly symmetric about X=0, cut into its x >= 0 half, docks back to the whole it
// was cut from: the same splines as runs of positions, the same stacks, the same patches as sets
// of corners, the same bone and group lists. This holds for the public-domain sample models that
// cut cleanly (every spline that crosses the plane passes through a point on it, no patch lies
// across it).

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <unordered_set>

#include "core/docking/IdTable.h"
#include "core/tagged/TaggedPositions.h"
#include "core/tagged/TaggedReader.h"
#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

using tagged::kClosedBit;
using tagged::kNoPoint;
using tagged::Positions;
using tagged::TaggedFile;
using tagged::TaggedModel;

using Place = std::array<double, 3>;

double SizeOf(const TaggedModel& model) {
  Positions positions(model);
  double low = 0, high = 0;
  for (std::uint32_t i = 0; i < model.points.size(); ++i)
    for (const double v : positions.Of(i)) low = std::min(low, v), high = std::max(high, v);
  return high - low;
}

/// The half of the whole at x >= -eps, as the modeller would have built it: splines that cross
/// the plane are split at their points on it, patches with a corner on the far side go, and the
/// lists of groups and bones lose the points that went.
std::string CutHalf(const std::string& whole, double eps) {
  const TaggedFile file = tagged::ReadTaggedFile(whole);
  const TaggedModel& model = file.models.at(0);
  Positions positions(model);
  std::vector<bool> kept(model.points.size());
  for (std::uint32_t i = 0; i < kept.size(); ++i) kept[i] = positions.XOf(i) >= -eps;
  FirstPositionById by_id;
  by_id.Build(model.points.size(), [&](std::size_t i) { return model.points[i].id; });
  auto kept_id = [&](std::int32_t id) {
    const std::size_t at = by_id.Find(id);
    return at != FirstPositionById::kNone && kept[at];
  };

  std::string splines;
  auto write_run = [&](const std::vector<std::uint32_t>& run, bool loop) {
    splines += "<SPLINE>\r\n";
    for (std::size_t k = 0; k < run.size(); ++k) {
      const auto& p = model.points[run[k]];
      std::string line(file.Line(p.line, p.length));
      const bool last = k + 1 == run.size();
      const std::uint32_t flags = loop && last ? p.flags : (p.flags & ~kClosedBit);
      if (flags != p.flags) line = std::to_string(flags) + line.substr(line.find(' '));
      splines += line + "\r\n";
    }
    splines += "</SPLINE>\r\n";
  };
  for (const auto& spline : model.splines) {
    std::vector<std::uint32_t> run(model.chain.begin() + spline.begin,
                                   model.chain.begin() + spline.begin + spline.count);
    const bool loop = (model.points[run.back()].flags & kClosedBit) != 0;
    const auto dropped = std::find_if(run.begin(), run.end(), [&](std::uint32_t i) { return !kept[i]; });
    if (dropped == run.end()) {
      write_run(run, loop);
      continue;
    }
    if (loop) std::rotate(run.begin(), dropped + 1 == run.end() ? run.begin() : dropped + 1, run.end());
    // Where a piece meets a point that went, it must end on the plane, so that the mirror
    // continues it there.
    std::vector<std::uint32_t> piece;
    bool after_cut = false;
    auto flush = [&](bool before_cut) {
      if (piece.size() >= 2) {
        if (after_cut) {
          EXPECT_LE(std::fabs(positions.XOf(piece.front())), eps) << "jumps the plane";
        }
        if (before_cut) {
          EXPECT_LE(std::fabs(positions.XOf(piece.back())), eps) << "jumps the plane";
        }
        write_run(piece, false);
      }
      piece.clear();
    };
    for (const std::uint32_t i : run) {
      if (kept[i]) {
        if (piece.empty()) after_cut = i != run.front() || loop;
        piece.push_back(i);
      } else {
        flush(true);
      }
    }
    flush(loop);
  }

  std::unordered_set<std::uint64_t> dropped_lines;
  for (const auto& patch : model.patches)
    for (std::uint32_t c = 0; c < patch.corners; ++c)
      if (!kept_id(patch.id[c])) dropped_lines.insert(patch.line);
  for (const auto& list : model.id_lists)
    for (std::size_t k = 0; k < list.ids.size(); ++k)
      if (!kept_id(list.ids[k])) dropped_lines.insert(list.run.lines[k]);

  // The lines as read, the spline blocks of the mesh replaced by the cut ones.
  std::string half;
  std::size_t pos = 0;
  bool in_splines = false;
  while (pos < whole.size()) {
    const std::size_t end = whole.find("\r\n", pos) + 2;
    const std::string_view line(whole.data() + pos, end - pos - 2);
    if (in_splines && (line == "<PATCHES>" || line == "</MESH>")) {
      half += splines;
      in_splines = false;
    }
    if (!in_splines && !dropped_lines.count(pos)) half.append(whole, pos, end - pos);
    if (line == "<MESH>") in_splines = true;
    pos = end;
  }
  return half;
}

struct Shape {
  std::vector<std::pair<std::vector<Place>, bool>> splines;  // positions, closed
  std::vector<std::pair<Place, int>> stacks;                  // position, points there
  std::vector<std::vector<Place>> patches;
  std::vector<std::vector<Place>> lists;                      // bones and groups, in file order
};

bool Near(const Place& a, const Place& b, double eps) {
  return std::fabs(a[0] - b[0]) <= eps && std::fabs(a[1] - b[1]) <= eps &&
         std::fabs(a[2] - b[2]) <= eps;
}

Shape ShapeOf(const TaggedModel& model, double eps) {
  Shape shape;
  Positions positions(model);
  FirstPositionById by_id;
  by_id.Build(model.points.size(), [&](std::size_t i) { return model.points[i].id; });
  auto place_of = [&](std::int32_t id) { return positions.Of(static_cast<std::uint32_t>(by_id.Find(id))); };
  for (const auto& spline : model.splines) {
    std::vector<Place> run;
    for (std::uint32_t k = 0; k < spline.count; ++k) run.push_back(positions.Of(model.chain[spline.begin + k]));
    const bool closed = (model.points[model.chain[spline.begin + spline.count - 1]].flags & kClosedBit) != 0;
    shape.splines.emplace_back(run, closed);
  }
  for (std::uint32_t i = 0; i < model.points.size(); ++i) {
    const Place at = positions.Of(i);
    auto it = std::find_if(shape.stacks.begin(), shape.stacks.end(),
                           [&](const auto& s) { return Near(s.first, at, eps); });
    if (it == shape.stacks.end()) shape.stacks.emplace_back(at, 1);
    else ++it->second;
  }
  for (const auto& patch : model.patches) {
    std::vector<Place> corners;
    for (std::uint32_t c = 0; c < patch.corners; ++c) corners.push_back(place_of(patch.id[c]));
    shape.patches.push_back(corners);
  }
  for (const auto& list : model.id_lists) {
    std::vector<Place> places;
    for (const std::int32_t id : list.ids) places.push_back(place_of(id));
    shape.lists.push_back(places);
  }
  return shape;
}

/// The patches and lists docking added are not in model.patches and model.id_lists: a docked
/// file is read back for its shape.
Shape ShapeOfText(const std::string& text, double eps) {
  return ShapeOf(tagged::ReadTaggedFile(text).models.at(0), eps);
}

bool SameRun(const std::vector<Place>& a, const std::vector<Place>& b, bool loop, double eps) {
  if (a.size() != b.size()) return false;
  const std::size_t n = a.size();
  for (const bool reversed : {false, true})
    for (std::size_t shift = 0; shift < (loop ? n : 1); ++shift) {
      bool same = true;
      for (std::size_t k = 0; k < n && same; ++k) {
        const std::size_t j = (shift + (reversed ? n - 1 - k : k)) % n;
        same = Near(a[k], b[j], eps);
      }
      if (same) return true;
    }
  return false;
}

bool SameSet(std::vector<Place> a, std::vector<Place> b, double eps) {
  if (a.size() != b.size()) return false;
  for (const Place& p : a) {
    const auto it = std::find_if(b.begin(), b.end(), [&](const Place& q) { return Near(p, q, eps); });
    if (it == b.end()) return false;
    b.erase(it);
  }
  return true;
}

/// Every element of a has its own partner in b under same, and the counts agree.
template <class T, class Same>
void ExpectMatched(const std::vector<T>& a, std::vector<T> b, Same same, const char* what) {
  EXPECT_EQ(a.size(), b.size()) << what;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto it = std::find_if(b.begin(), b.end(), [&](const T& x) { return same(a[i], x); });
    if (it == b.end()) {
      ADD_FAILURE() << what << " " << i << " of the whole has no partner in the docked half";
      continue;
    }
    b.erase(it);
  }
}

void ExpectSameShape(const Shape& whole, const Shape& docked, double eps) {
  ExpectMatched(whole.splines, docked.splines, [&](const auto& a, const auto& b) {
    return a.second == b.second && SameRun(a.first, b.first, a.second, eps);
  }, "spline");
  ExpectMatched(whole.stacks, docked.stacks, [&](const auto& a, const auto& b) {
    return a.second == b.second && Near(a.first, b.first, eps);
  }, "stack");
  ExpectMatched(whole.patches, docked.patches,
                [&](const auto& a, const auto& b) { return SameSet(a, b, eps); }, "patch");
  ASSERT_EQ(whole.lists.size(), docked.lists.size());
  for (std::size_t l = 0; l < whole.lists.size(); ++l)
    EXPECT_TRUE(SameSet(whole.lists[l], docked.lists[l], eps)) << "list " << l;
}

class CutAndDockBack : public ::testing::TestWithParam<const char*> {};

TEST_P(CutAndDockBack, TheHalfDocksBackToTheWhole) {
  const std::string name = GetParam();
  std::string path = std::string(MK_TEST_DATA) + "/tagged/" + name;
  if (!std::filesystem::exists(path)) {
    MK_SKIP_WITHOUT_SAMPLE_MODELS();
    path = (SampleModels() / name).string();
  }
  ScratchDirectory scratch;
  const std::string whole = ReadFile(path);
  const TaggedFile read = tagged::ReadTaggedFile(whole);
  // The on-plane points of real models lie about 1e-6 of the model's size off the plane, and a
  // sphere's pole ring only 5e-4 of it: the tolerance lies between.
  const double eps = 1e-5 * SizeOf(read.models.at(0));
  const std::string half = CutHalf(whole, eps);
  ASSERT_LT(half.size(), whole.size());
  auto document = LoadTagged(half);
  DockReport report;
  document->Dock(eps, &report);
  const std::string docked = SaveTagged(*document);
  EXPECT_TRUE(report.attachments.empty());
  ExpectSameShape(ShapeOf(read.models.at(0), eps), ShapeOfText(docked, eps), 10 * eps);
  EXPECT_EQ(SaveTagged(*LoadTagged(docked)), docked);
}

INSTANTIATE_TEST_SUITE_P(CleanCuts, CutAndDockBack,
                         ::testing::Values("Cone.mdl", "Torus.mdl", "8Patch_Sphere.mdl",
                                           "Grid_4x4.mdl"),
                         [](const auto& test) {
                           std::string name = test.param;
                           name = name.substr(0, name.find('.'));
                           return name[0] == '8' ? "Eight" + name.substr(1) : name;
                         });

}  // namespace
}  // namespace mk::test
