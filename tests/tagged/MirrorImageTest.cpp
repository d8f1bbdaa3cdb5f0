// Every point docking adds lies at the mirror image of a point of the model as read: stacked
// points through their stacks, hooks along their reversed stretches. Checked on every
// public-domain sample model, docked whole as --force would.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

struct Places : PointVisitor {
  std::map<std::int32_t, std::array<double, 3>> at;
  void Visit(const VisitedPoint& p) override {
    if (p.mesh == 0)
      at[p.id] = {static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z)};
  }
};

void ExpectImagesOfTheReadPoints(const std::string& text, const std::string& name) {
  auto document = LoadTagged(text);
  Places read;
  document->VisitPoints(read);
  double size = 0;
  for (const auto& [id, p] : read.at)
    for (const double v : p) size = std::max(size, std::fabs(v));
  const double tolerance = 1e-5 * size;
  document->Dock(tolerance);
  Places docked;
  document->VisitPoints(docked);
  const std::int32_t highest = read.at.rbegin()->first;
  std::size_t images = 0, lost = 0;
  for (const auto& [id, position] : docked.at) {
    if (id <= highest) continue;
    ++images;
    const auto& p = position;  // a lambda may not capture a structured binding before clang 16
    const bool found = std::any_of(read.at.begin(), read.at.end(), [&](const auto& entry) {
      const auto& q = entry.second;
      return std::fabs(p[0] + q[0]) <= 1e-4 * size && std::fabs(p[1] - q[1]) <= 1e-4 * size &&
             std::fabs(p[2] - q[2]) <= 1e-4 * size;
    });
    if (!found) {
      ++lost;
      if (lost <= 3) ADD_FAILURE() << name << ": image " << id << " at (" << p[0] << ", " << p[1]
                                   << ", " << p[2] << ") mirrors no point as read";
    }
  }
  EXPECT_GT(images, 0u) << name;
  EXPECT_EQ(lost, 0u) << name;
}

TEST(TaggedMirrorImages, EveryAddedPointMirrorsAPointAsRead) {
  ScratchDirectory scratch;
  for (const char* name : {"Cone.mdl", "Grid_4x4.mdl", "Groundplane.mdl"})
    ExpectImagesOfTheReadPoints(ReadFile(std::string(MK_TEST_DATA) + "/tagged/" + name), name);
  for (const auto& file : SampleModelFiles())
    ExpectImagesOfTheReadPoints(ReadFile(file), file.filename().string());
}

}  // namespace
}  // namespace mk::test
