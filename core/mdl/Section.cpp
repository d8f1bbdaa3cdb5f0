#include "core/mdl/Section.h"

#include "core/document/DockReport.h"
#include "core/mdl/MeshSection.h"
#include "core/mdl/ModelSection.h"
#include "core/mdl/FlattenedSection.h"
#include "core/mdl/UnknownSection.h"
#include "core/util/Errors.h"
#include "core/util/FieldSplitter.h"

namespace mk {
namespace {

char FoldAsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiUpper(a[i]) != FoldAsciiUpper(b[i])) return false;
  return true;
}

std::unique_ptr<Section> CreateSection(std::string_view header, ProgressBar* progress_bar,
                                        WarningSink* warnings) {
  auto is = [header](std::string_view name) { return SameTextIgnoringCase(header, name); };
  if (is("[MODELFILE]") || is("[OBJECTS]"))
    return std::make_unique<Section>(progress_bar, warnings);
  if (is("[MODEL]")) return std::make_unique<ModelSection>(progress_bar, warnings);
  if (is("[MESH]")) return std::make_unique<MeshSection>(progress_bar, warnings);
  if (is("[MATERIALS]") || is("[PATCHS]") || is("[ACTIONS]") || is("[CHOREOGRAPHIES]"))
    return std::make_unique<FlattenedSection>(progress_bar, warnings);
  return std::make_unique<UnknownSection>(progress_bar, warnings);
}

Section::~Section() { FreeChildren(); }

std::size_t Section::LoadFromLines(const LineList& lines, std::size_t index) {
  if (nesting_ > kMaxNesting)
    throw FormatError(FormatError::Kind::NestingTooDeep, static_cast<std::int64_t>(index));
  const std::string_view header = TrimControls(lines.Get(index));
  SectionName = header.size() >= 2 ? std::string(header.substr(1, header.size() - 2)) : "";
  const std::string end_line = "[END" + SectionName + "]";
  std::size_t i = index + 1;
  for (;;) {
    const std::string_view line = TrimControls(lines.Get(i));
    ++i;
    if (SameTextIgnoringCase(line, end_line)) return i;
    if (line.empty() || line.front() != '[') {
      AddEntry(line, nullptr);
      continue;
    }
    auto child = CreateSection(line, progressBar, warningSink);
    child->nesting_ = nesting_ + 1;
    Section* reader = child.get();
    AddEntry({}, std::move(child));
    i = reader->LoadFromLines(lines, i - 1);
  }
}

void Section::AddEntry(std::string_view text, std::unique_ptr<Section> child) {
  Entries.push_back(Entry{std::string(text), std::move(child)});
}

void Section::SaveToLines(LineWriter& lines) const { SaveFrame(lines, true); }

void Section::SaveFrame(LineWriter& lines, bool with_body) const {
  lines.Add("[" + SectionName + "]");
  if (with_body) {
    for (const Entry& entry : Entries) {
      if (entry.child)
        entry.child->SaveToLines(lines);
      else
        lines.Add(entry.text);
    }
  }
  lines.Add("[END" + SectionName + "]");
}

DockStatistics Section::DockContents(double tolerance, DockReport* report) {
  TreeDocking docking(tolerance, report);
  DockSubtree(docking);
  if (report) report->suggested_tolerance = docking.advisor.Suggest();
  return docking.statistics;
}

void Section::DockSubtree(TreeDocking& docking) {
  for (Entry& entry : Entries)
    if (entry.child) entry.child->DockSubtree(docking);
  FindBounds(BoundMin, BoundMax);
}

void Section::Draw(View3D& view, PointIds ids) const {
  for (const Entry& entry : Entries)
    if (entry.child) entry.child->Draw(view, ids);
}

void Section::VisitPoints(PointVisitor& visitor) const {
  std::int32_t mesh = 0;
  VisitSubtree(visitor, mesh);
}

void Section::VisitSubtree(PointVisitor& visitor, std::int32_t& mesh) const {
  for (const Entry& entry : Entries)
    if (entry.child) entry.child->VisitSubtree(visitor, mesh);
}

bool Section::FindBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  for (const Entry& entry : Entries)
    if (entry.child && entry.child->FindBounds(min, max)) return true;
  return false;
}

void Section::FreeChildren() {
  std::vector<std::unique_ptr<Section>> children;
  std::erase_if(Entries, [&children](Entry& entry) {
    if (!entry.child) return false;
    children.push_back(std::move(entry.child));
    return true;
  });
  while (!children.empty()) children.pop_back();  // last entry first
}

}  // namespace mk
