#include "model/AM_mesh.h"

#include "cp/AM_cplist.h"
#include "model/Globals.h"
#include "model/NumberText.h"
#include "model/Ustrlib.h"

namespace mk {

Mmesh::~Mmesh() = default;

void Mmesh::AddEntry(std::string_view text, std::unique_ptr<Mamsuper> child) {
  if (child) {
    body_.emplace_back();
    Entries.push_back(Entry{std::string(), std::move(child)});
  } else {
    body_.push_back(text);
  }
}

std::size_t Mmesh::LoadFromLines(const LineList& lines, std::size_t index) {
  struct BodyReset {
    std::vector<std::string_view>& body;
    ~BodyReset() { std::vector<std::string_view>().swap(body); }
  } reset{body_};
  body_.clear();
  const std::size_t after = Mamsuper::LoadFromLines(lines, index);

  Version.assign(1, '2');  // not `= "2"`: GCC 12 warns falsely (-Wrestrict) on that form
  TCommaStr fields;
  fields.Separator = "=";
  std::size_t p = 0;
  while (p < body_.size()) {
    fields.SetText(body_[p]);
    const std::string_view key = fields.NextField();
    if (SameTextIgnoringCase(key, "Version")) {
      Version = std::string(fields.NextField());
      ++p;
    } else if (SameTextIgnoringCase(key, "CPs")) {
      auto spline = std::make_unique<Mspline>();
      p = spline->LoadFromLines(body_, p);
      Splines.push_back(std::move(spline));
    } else {
      ++p;  // "Splines" (never trusted), unknown keys, empty lines, nested sections
    }
  }

  Mcplist(Splines, warningSink).ResolveAttachments();
  return after;
}

void Mmesh::SaveToLines(LineWriter& lines) const {
  lines.Add("[" + SectionName + "]");
  lines.Text() += "Version=";
  lines.Text() += Version;
  lines.EndLine();
  lines.Text() += "Splines=";
  AppendInt(lines.Text(), SplineCount());
  lines.EndLine();
  for (const auto& spline : Splines) spline->SaveToLines(lines);
  lines.Add("[END" + SectionName + "]");
}

void Mmesh::Draw(View3D& view) const {
  RestingPoints memo;
  for (const auto& spline : Splines) spline->Draw(view, &memo);
}

void Mmesh::MirrorSplines(std::int32_t offset, CorrectionList& records) {
  const std::size_t count = Splines.size();
  RestingPoints memo;
  for (std::size_t s = count; s-- > 0;) {
    if (auto twin = Splines[s]->MakeMirror(offset, records, &memo))
      Splines.push_back(std::move(twin));
  }
}

void Mmesh::Dock(double tolerance) {
  if (Splines.empty()) return;
  Advance(progressBar, 2);
  std::int32_t n = 0;
  {
    Mcplist all(Splines, warningSink);
    all.SnapAllToPlane(tolerance);
    Advance(progressBar, 3);
    n = all.Renumber();
  }
  CpCountBefore = n;
  SplineCountBefore = SplineCount();
  Advance(progressBar, 4);

  CorrectionList records;
  MirrorSplines(n, records);
  Advance(progressBar, 6);
  {
    Mcplist mirrored(Splines, warningSink);
    Advance(progressBar, 7);
    mirrored.ApplyCorrections(records);
  }
  records.clear();
  Advance(progressBar, 9);

  Mcplist docked(Splines, warningSink);
  docked.ResolveAttachments();
  CpCountAfter = docked.CpCount();
  SplineCountAfter = SplineCount();
}

}  // namespace mk
