#include "core/mdl/MeshSection.h"

#include <algorithm>
#include <array>
#include <exception>

#include "core/mdl/ControlPointList.h"
#include "core/mdl/MeshReport.h"
#include "core/util/Errors.h"
#include "core/util/LargeMemory.h"
#include "core/util/NumberText.h"
#include "core/util/OrderedWriting.h"
#include "core/util/FieldSplitter.h"

namespace mk {

MeshSection::~MeshSection() = default;

/// The body rules of the section, applied to each line as it is met: "Version=" sets the version,
/// a "CPs=" line starts a spline that takes the next four lines per point whatever they hold
/// (the empty text of a nested section included), anything else is passed over. The first error
/// is kept and thrown once the whole section has been read, so that an error in the section's
/// frame still comes first.
class MeshSection::BodyReader {
 public:
  explicit BodyReader(MeshSection& mesh) : mesh_(mesh) { fields_.Separator = "="; }

  void Take(std::string_view line) {
    if (!error_) {
      try {
        Read(line);
      } catch (const Error&) {
        error_ = std::current_exception();
      }
    }
    ++index_;
  }

  void Finish() {
    if (error_) std::rethrow_exception(error_);
    if (!spline_) return;
    // The lines ran out inside a block: read what there is, so that a bad word in it is
    // reported before the missing line, which is the first index past the body.
    try {
      ControlPoint point;
      point.ReadFromLines(std::span<const std::string_view>(block_.data(), in_block_), 0);
    } catch (const ListIndexError&) {
    }
    throw ListIndexError(static_cast<std::int64_t>(index_));
  }

 private:
  void Read(std::string_view line) {
    if (spline_) {
      block_[in_block_++] = line;
      if (in_block_ < block_.size()) return;
      in_block_ = 0;
      auto point = std::make_unique<ControlPoint>();
      point->ReadFromLines(block_, 0);
      spline_->Append(std::move(point));
      if (--points_left_ == 0) mesh_.Splines.push_back(std::move(spline_));
      return;
    }
    fields_.SetText(line);
    const std::string_view key = fields_.NextField();
    if (SameTextIgnoringCase(key, "Version")) {
      mesh_.Version = std::string(fields_.NextField());
    } else if (SameTextIgnoringCase(key, "CPs")) {
      auto spline = std::make_unique<Spline>();
      points_left_ = Spline::CountOf(line);
      if (points_left_ > 0) {
        spline_ = std::move(spline);
      } else {
        mesh_.Splines.push_back(std::move(spline));
      }
    }
    // "Splines" (never trusted), unknown keys, empty lines and nested sections are passed over.
  }

  MeshSection& mesh_;
  FieldSplitter fields_;
  std::size_t index_ = 0;  // body index of the next line
  std::exception_ptr error_;
  std::unique_ptr<Spline> spline_;  // the spline whose points are being read
  std::int32_t points_left_ = 0;
  std::array<std::string_view, 4> block_;
  std::size_t in_block_ = 0;
};

void MeshSection::AddEntry(std::string_view text, std::unique_ptr<Section> child) {
  if (child) {
    Entries.push_back(Entry{std::string(), std::move(child)});
    text = {};
  }
  if (reader_) reader_->Take(text);
}

std::size_t MeshSection::LoadFromLines(const LineList& lines, std::size_t index) {
  Version.assign(1, '2');  // not `= "2"`: GCC 12 warns falsely (-Wrestrict) on that form
  BodyReader reader(*this);
  reader_ = &reader;
  struct ReaderReset {
    BodyReader*& reader;
    ~ReaderReset() { reader = nullptr; }
  } reset{reader_};
  const std::size_t after = Section::LoadFromLines(lines, index);
  reader.Finish();
  ControlPointList(Splines, warningSink).ResolveAttachments();
  return after;
}

void MeshSection::SaveToLines(LineWriter& lines) const {
  lines.Add("[" + SectionName + "]");
  lines.Text() += "Version=";
  lines.Text() += Version;
  lines.EndLine();
  lines.Text() += "Splines=";
  AppendInt(lines.Text(), SplineCount());
  lines.EndLine();
  WriteInOrder(
      lines, Splines.size(), [this](std::size_t s) { return std::max(Splines[s]->Count, 0); },
      [this](std::size_t s, LineWriter& out) { Splines[s]->SaveToLines(out); });
  lines.Add("[END" + SectionName + "]");
}

void MeshSection::Draw(View3D& view, PointIds ids) const {
  RestingPoints memo;
  for (const auto& spline : Splines) spline->Draw(view, ids, &memo);
}

void MeshSection::VisitSubtree(PointVisitor& visitor, std::int32_t& mesh) const {
  RestingPoints memo;
  VisitedPoint visited;
  visited.mesh = mesh++;
  for (const auto& spline : Splines) {
    for (const ControlPoint* p = spline->First; p != nullptr; p = p->next) {
      visited.id = p->cpid;
      const std::array<double, 3> at = p->GetXYZ(p->HookRatio(), &memo);
      visited.x = at[0];
      visited.y = at[1];
      visited.z = at[2];
      visitor.Visit(visited);
    }
  }
}

void MeshSection::MirrorSplines(std::int32_t offset, CorrectionList& records, SplineFate* fates) {
  const std::size_t count = Splines.size();
  RestingPoints memo;
  for (std::size_t s = count; s-- > 0;) {
    if (auto twin = Splines[s]->MakeMirror(offset, records, &memo, fates ? &fates[s] : nullptr))
      Splines.push_back(std::move(twin));
  }
}

void MeshSection::DockSubtree(TreeDocking& docking) {
  const std::int32_t mesh = docking.meshes++;
  if (Splines.empty()) return;
  // Null without a report: every step below then does only the docking's own work.
  std::unique_ptr<MeshReport> report;
  if (docking.report)
    report = std::make_unique<MeshReport>(*docking.report, docking.advisor, mesh, docking.tolerance);
  DockStatistics& statistics = docking.statistics;
  Advance(progressBar, 2);
  std::int32_t n = 0;
  {
    ControlPointList all(Splines, warningSink);
    if (report) report->NoteBeforeSnap(all);
    all.SnapAllToPlane(docking.tolerance);
    Advance(progressBar, 3);
    n = all.Renumber();
  }
  ReleaseFreedMemory();
  statistics.cp_before = n;
  statistics.splines_before = SplineCount();
  Advance(progressBar, 4);

  CorrectionList records;
  if (report) report->NoteSplines(Splines);
  MirrorSplines(n, records, report ? report->Fates() : nullptr);
  Advance(progressBar, 6);
  // The corrections change attachments and ratios only, never an id or a chain, so the same
  // view, with its index by id, serves the final resolution too.
  ControlPointList docked(Splines, warningSink);
  Advance(progressBar, 7);
  docked.ApplyCorrections(records, report ? &report->Corrections() : nullptr);
  records.clear();
  Advance(progressBar, 9);
  docked.ResolveAttachments(report ? &report->Attachments() : nullptr);
  statistics.cp_after = docked.CpCount();
  statistics.splines_after = SplineCount();
  if (report) report->Finish();
}

}  // namespace mk
