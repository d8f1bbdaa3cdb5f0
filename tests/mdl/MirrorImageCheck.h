#pragma once
// What a docked model must satisfy, checked from its text alone: every point off the plane has a
// copy (its id raised by the mesh's point count before docking) whose position is its own with
// x negated. Positions are resolved here from the written blocks by the position rules, with no
// code of the program: through attachments to the first point bearing the target id, and along
// a hook's stretch for a point with a ratio.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace mk::mirrorcheck {

struct Point {
  std::uint32_t flags = 0;
  bool attached = false;
  std::int32_t id = 0;
  std::int32_t target_id = 0;
  double ratio = 0;
  double xyz[3] = {0, 0, 0};
  std::size_t head = 0;  // position of the first point of its chain
  std::size_t next = 0;  // position of the next point, or of the head for the last
};

using Mesh = std::vector<Point>;

inline std::vector<std::string> Words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

/// The "[MESH]" sections of a model file, each as its points in file order.
inline std::vector<Mesh> ReadMeshes(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const auto start = line.find_first_not_of(' ');
    lines.push_back(start == std::string::npos ? std::string() : line.substr(start));
  }
  std::vector<Mesh> meshes;
  bool in_mesh = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == "[MESH]") {
      meshes.emplace_back();
      in_mesh = true;
      continue;
    }
    if (lines[i] == "[ENDMESH]") in_mesh = false;
    if (!in_mesh || lines[i].rfind("CPs=", 0) != 0) continue;
    const long count = std::strtol(lines[i].c_str() + 4, nullptr, 10);
    Mesh& mesh = meshes.back();
    const std::size_t head = mesh.size();
    for (long k = 0; k < count; ++k) {
      const std::vector<std::string> header = Words(lines[i + 1]);
      const std::vector<std::string> second = Words(lines[i + 2]);
      Point p;
      p.flags = static_cast<std::uint32_t>(std::strtoll(header.at(0).c_str(), nullptr, 10));
      p.attached = header.at(1) == "1";
      p.id = static_cast<std::int32_t>(std::strtol(header.at(2).c_str(), nullptr, 10));
      if ((p.flags & 0x1010u) != 0 && header.size() > 3) p.ratio = std::strtod(header[3].c_str(), nullptr);
      if (p.attached) {
        p.target_id = static_cast<std::int32_t>(std::strtol(second.at(0).c_str(), nullptr, 10));
      } else {
        for (int axis = 0; axis < 3; ++axis) p.xyz[axis] = std::strtod(second.at(static_cast<std::size_t>(axis)).c_str(), nullptr);
      }
      p.head = head;
      p.next = k + 1 < count ? mesh.size() + 1 : head;
      mesh.push_back(p);
      i += 4;
    }
  }
  return meshes;
}

struct Position {
  double xyz[3] = {0, 0, 0};
};

class Resolver {
 public:
  explicit Resolver(const Mesh& mesh) : mesh_(mesh) {}

  std::optional<std::size_t> ById(std::int32_t id) const {
    for (std::size_t i = 0; i < mesh_.size(); ++i)
      if (mesh_[i].id == id) return i;
    return std::nullopt;
  }

  /// Where a point is drawn: at its own ratio.
  Position At(std::size_t i) const { return AtRatio(i, mesh_[i].ratio); }

 private:
  std::optional<std::size_t> Target(std::size_t i) const {
    return mesh_[i].attached ? ById(mesh_[i].target_id) : std::nullopt;
  }

  /// The point whose own coordinates a ratio-0 position is: the end of the attachments.
  Position Rest(std::size_t i) const {
    for (std::size_t steps = 0; steps <= mesh_.size(); ++steps) {
      const auto t = Target(i);
      if (!t) break;
      i = *t;
    }
    Position at;
    for (int axis = 0; axis < 3; ++axis) at.xyz[axis] = mesh_[i].xyz[axis];
    return at;
  }

  /// With a ratio, the first hook along the attachments places the point that far from the
  /// hook's own target towards the point after the hook in its chain.
  Position AtRatio(std::size_t i, double ratio) const {
    if (ratio == 0) return Rest(i);
    for (std::size_t steps = 0; steps <= mesh_.size(); ++steps) {
      if ((mesh_[i].flags & 0x80000080u) != 0) {
        const auto t = Target(i);
        const Position from = t ? Rest(*t) : Own(i);
        const Position to = Rest(mesh_[i].next);
        Position at;
        for (int axis = 0; axis < 3; ++axis)
          at.xyz[axis] = from.xyz[axis] + ratio * (to.xyz[axis] - from.xyz[axis]);
        return at;
      }
      const auto t = Target(i);
      if (!t) break;
      i = *t;
    }
    return Own(i);
  }

  Position Own(std::size_t i) const {
    Position at;
    for (int axis = 0; axis < 3; ++axis) at.xyz[axis] = mesh_[i].xyz[axis];
    return at;
  }

  const Mesh& mesh_;
};

/// The written numbers carry 15 significant digits; a copy may reach its place along the other
/// way of a stretch, so the last digits may differ.
inline bool Close(double a, double b) {
  return std::fabs(a - b) <= 1e-12 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

/// Which points the rule is asked of.
enum class Scope {
  EveryPoint,
  /// Leaves out hooks that carry a ratio of their own: such a hook lies along its own stretch,
  /// and its copy, which stops being a hook when the reversal hands the stretch to the point
  /// before it, falls back onto its target. No rule of the mirror places it yet.
  WithoutHooksOnTheirOwnStretch,
};

/// One line per point of the docked meshes that breaks the rule; empty when all keep it.
/// points_before holds each mesh's point count before docking, the offset of its copies' ids.
inline std::vector<std::string> Violations(const std::string& docked,
                                           const std::vector<std::size_t>& points_before,
                                           Scope scope = Scope::EveryPoint) {
  std::vector<std::string> found;
  const std::vector<Mesh> meshes = ReadMeshes(docked);
  for (std::size_t m = 0; m < meshes.size() && m < points_before.size(); ++m) {
    const Mesh& mesh = meshes[m];
    const Resolver resolve(mesh);
    const auto n = static_cast<std::int32_t>(points_before[m]);
    for (std::size_t i = 0; i < mesh.size(); ++i) {
      const Point& p = mesh[i];
      if (p.id < 1 || p.id > n || resolve.ById(p.id) != i) continue;
      if (scope == Scope::WithoutHooksOnTheirOwnStretch && (p.flags & 0x80000080u) != 0 && p.ratio != 0)
        continue;
      const Position own = resolve.At(i);
      if (own.xyz[0] == 0) continue;
      std::ostringstream line;
      line.precision(17);
      line << "mesh " << m << " point " << p.id << " at (" << own.xyz[0] << ", " << own.xyz[1]
           << ", " << own.xyz[2] << ")";
      const auto copy = resolve.ById(p.id + n);
      if (!copy) {
        found.push_back(line.str() + ": no copy " + std::to_string(p.id + n));
        continue;
      }
      const Position image = resolve.At(*copy);
      if (!Close(image.xyz[0], -own.xyz[0]) || !Close(image.xyz[1], own.xyz[1]) ||
          !Close(image.xyz[2], own.xyz[2])) {
        line << ": copy " << (p.id + n) << " at (" << image.xyz[0] << ", " << image.xyz[1] << ", "
             << image.xyz[2] << ")";
        found.push_back(line.str());
      }
    }
  }
  return found;
}

/// The point count of every "[MESH]" section of a model file.
inline std::vector<std::size_t> PointCounts(const std::string& text) {
  std::vector<std::size_t> counts;
  for (const Mesh& mesh : ReadMeshes(text)) counts.push_back(mesh.size());
  return counts;
}

}  // namespace mk::mirrorcheck
