#include "bench/ModelGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/util/Words.h"
#include "core/util/NumberText.h"
#include "core/workflow/Workflow.h"

namespace mk::bench {
namespace {


struct Point {
  std::int32_t cptype = 0;
  bool attached = false;
  std::int32_t at = 0;
  std::int32_t id = 0;
  double ratio = 0;
  double x = 0, y = 0, z = 0;
  bool planted = false;
};

/// The planted near misses of GenerateModelWithGaps; null for the plain model.
struct GapPlan {
  int gaps = 0;
  long long end_stride = 1;  // every this many free ends, one is planted
  std::vector<std::int32_t> ids;
};

using Spline = std::vector<Point>;

std::vector<Spline> Generate(long long total, unsigned seed, GapPlan* plan = nullptr) {
  std::mt19937 rng(seed);
  auto chance = [&rng](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
  auto coordinate = [&rng](double lo, double hi) {
    // Two decimals, as a modeller's numbers usually are.
    return std::round(std::uniform_real_distribution<double>(lo, hi)(rng) * 100) / 100;
  };
  std::vector<Spline> splines;
  std::vector<std::int32_t> free_ids;  // ids of points with a position of their own
  std::vector<std::int32_t> hook_ids;
  std::int32_t next_id = 1;
  long long made = 0;
  long long free_ends = 0;
  while (made < total) {
    const int length = std::uniform_int_distribution<int>(2, 10)(rng);
    Spline spline;
    for (int i = 0; i < length && made < total; ++i, ++made) {
      Point p;
      const bool shared = chance(0.01) && next_id > 1 && !plan;
      p.id = shared ? next_id - 1 : next_id;  // shared ids
      ++next_id;
      p.x = coordinate(0.5, 100);
      if (plan) p.x += 2.2;  // the clear body stays beyond the near-miss band
      p.y = coordinate(-100, 100);
      p.z = coordinate(-100, 100);
      const bool end = i == 0 || i == length - 1;
      if (end && chance(0.5)) p.x = chance(0.5) ? 0 : coordinate(0, 0.3);  // on or near the plane
      if (!free_ids.empty() && chance(0.05)) {
        p.attached = true;
        p.at = chance(0.02) ? -7 - static_cast<std::int32_t>(made % 1000) + 2000000000  // dangling
                            : free_ids[rng() % free_ids.size()];
        // Stacked on the previous point, unless a shared id would make it sit on itself.
        if (chance(0.3) && !spline.empty() && spline.back().id != p.id &&
            !spline.back().planted)
          p.at = spline.back().id;
      }
      if (plan && end) {
        // An end with a ratio stands between two points: it could fall into the band unplanned.
      } else if (p.attached && chance(0.2)) {
        p.cptype |= 0x80;  // a hook with a ratio
        p.cptype |= 0x10;
        p.ratio = coordinate(0.05, 0.95);
        hook_ids.push_back(p.id);
      } else if (!hook_ids.empty() && chance(0.03)) {
        p.attached = true;
        p.at = hook_ids[rng() % hook_ids.size()];
        p.cptype |= 0x1000;
        p.ratio = coordinate(0.05, 0.95);
      }
      if (chance(0.01)) p.cptype = static_cast<std::int32_t>(0x80000000u | (p.cptype & 0xFFFF));
      if (plan && end && !p.attached && static_cast<int>(plan->ids.size()) < plan->gaps &&
          free_ends++ % plan->end_stride == 0) {
        p.x = coordinate(0.41, 1.19);
        p.planted = true;
        plan->ids.push_back(p.id);
      }
      if (!p.attached && !p.planted) free_ids.push_back(p.id);
      spline.push_back(p);
    }
    if (spline.size() > 2 && chance(0.1)) spline.back().cptype |= 4;
    splines.push_back(std::move(spline));
  }
  return splines;
}

void AppendTriple(std::string& out, double x, double y, double z) {
  mk::AppendFloat(out, x);
  out += ' ';
  mk::AppendFloat(out, y);
  out += ' ';
  mk::AppendFloat(out, z);
  out += "\r\n";
}

/// Lines 2 to 4 of a point block, the same in both formats.
void AppendPointBody(std::string& out, const Point& p) {
  if (p.attached) {
    mk::AppendInt(out, p.at);
    out += "\r\n";
  } else {
    AppendTriple(out, p.x, p.y, p.z);
  }
  out += "0\r\n";
  out += (p.id % 7 == 0) ? "0.1 0.2 0.3\r\n" : "0\r\n";
}

std::string WriteMdl(const std::vector<Spline>& splines) {
  std::string out =
      "[MODELFILE]\r\n[MODEL]\r\nName=Generated\r\n"
      "Bounds=100 100 100 100 100 -100 100 -100 -100 100 -100 100 "
      "0 100 100 0 100 -100 0 -100 -100 0 -100 100\r\n[MESH]\r\nVersion=2\r\nSplines=";
  mk::AppendInt(out, static_cast<std::int32_t>(splines.size()));
  out += "\r\n";
  for (const Spline& spline : splines) {
    out += "CPs=";
    mk::AppendInt(out, static_cast<std::int32_t>(spline.size()));
    out += "\r\n";
    for (const Point& p : spline) {
      out += mk::FormatFlagWord(p.cptype);
      out += p.attached ? " 1 " : " 0 ";
      mk::AppendInt(out, p.id);
      if (p.cptype & 0x1010) {
        out += ' ';
        mk::AppendFloat(out, p.ratio);
      }
      out += "\r\n";
      AppendPointBody(out, p);
    }
  }
  out += "[ENDMESH]\r\n[ENDMODEL]\r\n[ENDMODELFILE]\r\n";
  return out;
}

std::string WriteSeg(const std::vector<Spline>& splines) {
  std::string out = "SCUL 1 0 2 0 0 0\r\n0\r\n0 -100 -100 100 100 100\r\n1 1 1\r\nGenerated\r\n0\r\n";
  mk::AppendInt(out, static_cast<std::int32_t>(splines.size()));
  out += "\r\n";
  for (const Spline& spline : splines) {
    mk::AppendInt(out, static_cast<std::int32_t>(spline.size()));
    out += "\r\n";
    for (const Point& p : spline) {
      mk::AppendInt(out, p.cptype & 0x7FFFFFEF);  // segments know no hooks, only closed bits
      out += p.attached ? " 1 " : " 0 ";
      mk::AppendInt(out, p.id);
      out += "\r\n";
      AppendPointBody(out, p);
    }
  }
  return out;
}

}  // namespace

std::string GenerateModelText(long long points, FileKind kind, unsigned seed) {
  const auto splines = Generate(points, seed);
  return kind == FileKind::Model ? WriteMdl(splines) : WriteSeg(splines);
}

ModelWithGaps GenerateModelWithGaps(long long points, FileKind kind, unsigned seed, int gaps) {
  GapPlan plan;
  plan.gaps = gaps;
  // About a third of the points are spline ends, half of them free and off the plane.
  plan.end_stride = gaps > 0 ? std::max<long long>(1, points / 8 / gaps) : 1;
  const auto splines = Generate(points, seed, &plan);
  return {kind == FileKind::Model ? WriteMdl(splines) : WriteSeg(splines), std::move(plan.ids)};
}

}  // namespace mk::bench
