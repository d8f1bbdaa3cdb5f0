#include "bench/TaggedModelGenerator.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "core/tagged/TaggedText.h"
#include "core/util/NumberText.h"

namespace mk::bench {
namespace {

constexpr int kColumns = 8;    // points of a row, the first on the plane
constexpr int kBlockRows = 8;  // rows a column spline crosses

class Text {
 public:
  void Line(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
  }
  std::string& Open() { return text_; }
  void End() { text_ += "\r\n"; }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

}  // namespace

std::string GenerateTaggedModelText(long long points, unsigned seed) {
  std::mt19937 rng(seed);
  auto real = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  // Each row gives kColumns positioned points and kColumns stacked on them.
  const long long rows = std::max<long long>(kBlockRows, points / (2 * kColumns) / kBlockRows * kBlockRows);
  auto row_id = [](long long r, int c) { return static_cast<std::int32_t>(r * kColumns + c + 1); };
  const std::int32_t stacked_base = row_id(rows, 0) - 1;
  auto stacked_id = [&](long long r, int c) { return stacked_base + row_id(r, c); };
  std::int32_t next_id = 2 * stacked_base;

  Text t;
  for (const char* line : {"<MODELFILE>", "ProductVersion=17", "Release= PC", "<POSTEFFECTS>",
                           "</POSTEFFECTS>", "<IMAGES>", "</IMAGES>", "<SOUNDS>", "</SOUNDS>",
                           "<MATERIALS>", "</MATERIALS>", "<OBJECTS>", "<MODEL>", "<MESH>"})
    t.Line(line);
  std::vector<std::int32_t> hooked;  // hook targets, which carry the target mark
  // Rows: the first point on the plane (a few a hair off it, for the snap), flags as the
  // product writes them, both bias forms.
  std::vector<std::array<double, 3>> at(static_cast<std::size_t>(rows * kColumns));
  for (long long r = 0; r < rows; ++r) {
    t.Line("<SPLINE>");
    const double y = static_cast<double>(r) * 0.5 + real(-0.1, 0.1);
    for (int c = 0; c < kColumns; ++c) {
      const double x = c == 0 ? (r % 50 == 0 ? real(-1e-4, 1e-4) : 0) : c * 10 + real(-2, 2);
      const double z = real(-20, 20);
      at[static_cast<std::size_t>(r * kColumns + c)] = {x, y, z};
      const bool target = c == 3 && r % 97 == 0;
      std::string& line = t.Open();
      tagged::AppendUnsigned(line, (c == kColumns - 1 ? 262149u : 262145u) | (target ? 0x8000u : 0u));
      line += " 0 ";
      AppendInt(line, row_id(r, c));
      for (const double v : {x, y, z}) {
        line += ' ';
        tagged::AppendProductReal(line, v);
      }
      line += (r + c) % 3 == 0 ? " 0 0 1.10899 0 0 1.10899" : " . .";
      t.End();
      if (target) hooked.push_back(row_id(r, c));
    }
    t.Line("</SPLINE>");
  }
  // Columns of points stacked on the rows' points, a block of rows at a time.
  for (long long block = 0; block < rows; block += kBlockRows)
    for (int c = 0; c < kColumns; ++c) {
      t.Line("<SPLINE>");
      for (long long r = block; r < block + kBlockRows; ++r) {
        std::string& line = t.Open();
        line += "262145 1 ";
        AppendInt(line, stacked_id(r, c));
        line += ' ';
        AppendInt(line, row_id(r, c));
        line += " . .";
        t.End();
      }
      t.Line("</SPLINE>");
    }
  // Short splines ending in a hook halfway along a row.
  for (const std::int32_t target : hooked) {
    t.Line("<SPLINE>");
    std::string& line = t.Open();
    line += "1 0 ";
    AppendInt(line, ++next_id);
    line += " 35 ";
    tagged::AppendProductReal(line, real(0, 100));
    line += " 30 . .";
    t.End();
    std::string& hook = t.Open();
    hook += "17 1 ";
    AppendInt(hook, ++next_id);
    hook += " 0.5 ";
    AppendInt(hook, target);
    t.End();
    t.Line("</SPLINE>");
  }
  // A patch on every cell between two rows of a block, with a normal per row point.
  t.Line("<PATCHES>");
  for (long long r = 0; r + 1 < rows; ++r) {
    if ((r + 1) % kBlockRows == 0) continue;
    for (int c = 0; c + 1 < kColumns; ++c) {
      const std::int32_t ids[4] = {row_id(r, c), row_id(r, c + 1), row_id(r + 1, c + 1), row_id(r + 1, c)};
      std::string& line = t.Open();
      line += "24";
      for (const std::int32_t id : ids) {
        line += ' ';
        AppendInt(line, id);
      }
      for (const std::int32_t id : ids) {
        line += ' ';
        AppendInt(line, id - 1);
      }
      line += " 0";
      t.End();
    }
  }
  t.Line("</PATCHES>");
  t.Line("<NORMALS>");
  for (long long i = 0; i < rows * kColumns; ++i) {
    std::string& line = t.Open();
    const double x = at[static_cast<std::size_t>(i)][0] == 0 ? 0 : real(0, 0.3);
    tagged::AppendProductReal(line, x);
    line += " 0 ";
    tagged::AppendProductReal(line, 1 - x);
    t.End();
  }
  t.Line("</NORMALS>");
  for (const char* line : {"<ATTRS>", "<ATTRIBUTE>", "DiffuseColor=255 255 255", "</ATTRIBUTE>",
                           "</ATTRS>", "</MESH>", "<BONES>", "<SEGMENT>", "Name=Body",
                           "<NONSKINNEDCPS>"})
    t.Line(line);
  for (std::int32_t id = 1; id <= next_id; ++id) {
    AppendInt(t.Open(), id);
    t.End();
  }
  for (const char* line : {"</NONSKINNEDCPS>", "</SEGMENT>", "</BONES>", "<GROUPS>", "<GROUP>",
                           "Name=Seam", "<CPS>"})
    t.Line(line);
  for (long long r = 0; r < rows; ++r) {
    AppendInt(t.Open(), row_id(r, 0));
    t.End();
  }
  for (const char* line : {"</CPS>", "</GROUP>", "</GROUPS>"}) t.Line(line);
  const std::size_t file_info = t.text().size();
  for (const char* line : {"<FileInfo>", "CreatedBy=make_model", "</FileInfo>", "</MODEL>",
                           "</OBJECTS>", "<ACTIONS>", "</ACTIONS>", "<CHOREOGRAPHIES>",
                           "</CHOREOGRAPHIES>"})
    t.Line(line);
  t.Line("FileInfoPos=" + std::to_string(file_info));
  t.Line("</MODELFILE>");
  return std::move(t.text());
}

}  // namespace mk::bench
