#include "core/workflow/ReportJson.h"

#include <array>

#include "core/util/LineList.h"
#include "core/util/NumberText.h"
#include "core/util/OrderedWriting.h"

namespace mk {
namespace {

using namespace std::string_view_literals;

constexpr std::array kFates{SplineFate::OnPlane,          SplineFate::ExtendedThroughFirstEnd,
                            SplineFate::ExtendedThroughLastEnd, SplineFate::ClosedThroughBothEnds,
                            SplineFate::Twinned,          SplineFate::AlreadyClosed};

/// The JSON text of one object, built key by key; the report holds only numbers and fixed
/// names, so nothing needs escaping. Keys are literals whose length is known where they are
/// written: at a million entries every byte counted at run time shows.
class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
  JsonObject& Int(std::string_view key, std::int64_t value) {
    Key(key);
    out_ += std::to_string(value);
    return *this;
  }
  JsonObject& Id(std::string_view key, std::int32_t value) {
    Key(key);
    AppendInt(out_, value);
    return *this;
  }
  JsonObject& Number(std::string_view key, double value) {
    Key(key);
    AppendFloat(out_, value);
    return *this;
  }
  JsonObject& Name(std::string_view key, std::string_view value) {
    Key(key);
    out_ += '"';
    out_ += value;
    out_ += '"';
    return *this;
  }
  /// Opens a value written by the caller after the key.
  std::string& Raw(std::string_view key) {
    Key(key);
    return out_;
  }
  JsonObject& Place(const ReportPlace& place) {
    // Written as doubles: 15 digits of an extended value are those of its double, and the
    // double's conversion takes the short path.
    return Id("mesh", place.mesh)
        .Id("id", place.id)
        .Number("x", static_cast<double>(place.x))
        .Number("y", static_cast<double>(place.y))
        .Number("z", static_cast<double>(place.z));
  }
  void Close() { out_ += '}'; }

 private:
  void Key(std::string_view key) {
    out_ += first_ ? "\""sv : ", \""sv;
    first_ = false;
    out_ += key;
    out_ += "\": "sv;
  }
  std::string& out_;
  bool first_ = true;
};

/// A list with one entry a line, each written whole by write(text, entry). The entries are
/// formatted on both cores, in runs joined in order, as a model's splines are saved; the text
/// goes into the writer's buffer directly, with its own line ends, so the writer's CR LF never
/// appears and its sink still gets the text in pieces.
template <class List, class Write>
void AppendList(LineWriter& lines, const char* key, const List& list, Write write) {
  std::string& head = lines.Text();
  head += ",\n  \"";
  head += key;
  head += "\": [";
  WriteInOrder(
      lines, list.size(), [](std::size_t) { return 1; },
      [&list, &write](std::size_t i, LineWriter& run) {
        std::string& out = run.Text();
        out += i == 0 ? "\n    "sv : ",\n    "sv;
        write(out, list[i]);
      });
  lines.Text() += list.empty() ? "]" : "\n  ]";
}

/// Writes each entry as one object, its keys given by fill(object, entry).
template <class Entry, class Fill>
auto AsObjects(Fill fill) {
  return [fill](std::string& out, const Entry& entry) {
    JsonObject object(out);
    fill(object, entry);
    object.Close();
  };
}

/// A spline as [mesh, index, first_id, last_id, fate]: a big model has hundreds of thousands of
/// them, and their keys would be most of the report.
void AppendSpline(std::string& out, const SplineOutcome& s) {
  out += '[';
  for (const std::int32_t value : {s.mesh, s.index, s.first_id, s.last_id}) {
    AppendInt(out, value);
    out += ", "sv;
  }
  out += '"';
  out += NameOf(s.fate);
  out += "\"]"sv;
}

std::array<std::int64_t, kFates.size()> FateCounts(const DockReport& report) {
  std::array<std::int64_t, kFates.size()> counts{};
  for (const SplineOutcome& s : report.splines) ++counts[static_cast<std::size_t>(s.fate)];
  return counts;
}

template <class List, class Kind, class KindOf>
std::int64_t CountOf(const List& list, Kind kind, KindOf kind_of) {
  std::int64_t n = 0;
  for (const auto& entry : list) n += kind_of(entry) == kind ? 1 : 0;
  return n;
}

std::int64_t CountHooks(const DockReport& r, CorrectionKind kind) {
  return CountOf(r.corrections, kind, [](const CorrectionEntry& c) { return c.kind; });
}
std::int64_t CountProblems(const DockReport& r, AttachmentProblem problem) {
  return CountOf(r.attachments, problem, [](const AttachmentIssue& a) { return a.problem; });
}

std::string PlaceText(const ReportPlace& place) {
  std::string text = "mesh " + std::to_string(place.mesh) + " id ";
  AppendInt(text, place.id);
  text += " at (";
  AppendFloat(text, place.x);
  text += ", ";
  AppendFloat(text, place.y);
  text += ", ";
  AppendFloat(text, place.z);
  text += ')';
  return text;
}

}  // namespace

std::string_view NameOf(NearMissKind kind) {
  return kind == NearMissKind::Point ? "point" : "spline_end";
}

std::string_view NameOf(SplineFate fate) {
  switch (fate) {
    case SplineFate::OnPlane: return "on_plane";
    case SplineFate::ExtendedThroughFirstEnd: return "extended_through_first_end";
    case SplineFate::ExtendedThroughLastEnd: return "extended_through_last_end";
    case SplineFate::ClosedThroughBothEnds: return "closed_through_both_ends";
    case SplineFate::Twinned: return "twinned";
    case SplineFate::AlreadyClosed: return "already_closed";
  }
  return "";
}

std::string_view NameOf(CorrectionKind kind) {
  return kind == CorrectionKind::Hook ? "hook" : "plane_copy";
}

std::string_view NameOf(AttachmentProblem problem) {
  return problem == AttachmentProblem::MissingTarget ? "missing_target" : "cycle";
}

std::string ReportJson(const DockReport& report) {
  std::string text;
  WriteReportJson(report, [&text](std::string_view piece) { text += piece; });
  return text;
}

void WriteReportJson(const DockReport& report, const ByteSink& sink) {
  LineWriter lines(sink);
  std::string& out = lines.Text();
  out += "{\n  \"mirrorknit_dock_report\": " + std::to_string(kReportJsonVersion);
  out += ",\n  \"tolerance\": ";
  AppendFloat(out, report.tolerance);
  out += ",\n  \"suggested_tolerance\": ";
  if (report.suggested_tolerance) {
    AppendFloat(out, *report.suggested_tolerance);
  } else {
    out += "null";
  }
  out += ",\n  \"seam_faults\": ";
  out += report.HasSeamFaults() ? "true" : "false";
  out += ",\n  \"counts\": ";
  JsonObject(out)
      .Id("cp_before", report.counts.cp_before)
      .Id("cp_after", report.counts.cp_after)
      .Id("splines_before", report.counts.splines_before)
      .Id("splines_after", report.counts.splines_after)
      .Close();
  out += ",\n  \"totals\": ";
  JsonObject totals(out);
  totals.Int("snapped", static_cast<std::int64_t>(report.snapped.size()))
      .Int("near_misses", static_cast<std::int64_t>(report.near_misses.size()))
      .Int("hooks_corrected", CountHooks(report, CorrectionKind::Hook))
      .Int("plane_copies_corrected", CountHooks(report, CorrectionKind::PlaneCopy))
      .Int("missing_targets", CountProblems(report, AttachmentProblem::MissingTarget))
      .Int("in_cycles", CountProblems(report, AttachmentProblem::Cycle));
  std::string& fates = totals.Raw("spline_fates");
  JsonObject fate_counts(fates);
  const auto counts = FateCounts(report);
  for (std::size_t f = 0; f < kFates.size(); ++f) fate_counts.Int(NameOf(kFates[f]), counts[f]);
  fate_counts.Close();
  totals.Close();

  AppendList(lines, "snapped", report.snapped,
             AsObjects<SnappedPoint>([](JsonObject& o, const SnappedPoint& p) {
               o.Place(p.place).Number("old_x", p.old_x).Number("moved", p.moved);
             }));
  AppendList(lines, "near_misses", report.near_misses,
             AsObjects<NearMiss>([](JsonObject& o, const NearMiss& m) {
               o.Place(m.place).Name("kind", NameOf(m.kind)).Number("distance", m.distance);
             }));
  AppendList(lines, "splines", report.splines, AppendSpline);
  AppendList(lines, "corrections", report.corrections,
             AsObjects<CorrectionEntry>([](JsonObject& o, const CorrectionEntry& c) {
               o.Place(c.place).Name("kind", NameOf(c.kind)).Id("old_target", c.old_target);
               o.Id("new_target", c.new_target);
             }));
  AppendList(lines, "attachments", report.attachments,
             AsObjects<AttachmentIssue>([](JsonObject& o, const AttachmentIssue& a) {
               o.Place(a.place).Name("problem", NameOf(a.problem)).Id("target", a.target);
             }));
  // Only angle-tag models have such sections: the key is left out where there are none.
  if (!report.kept_for_original_half.empty())
    AppendList(lines, "kept_for_original_half", report.kept_for_original_half,
               AsObjects<KeptSection>([](JsonObject& o, const KeptSection& k) {
                 o.Id("mesh", k.mesh).Name("section", k.section).Int("line", k.line);
                 o.Id("count", k.count);
               }));
  lines.Text() += "\n}\n";
  lines.Flush();
}

std::string ReportSummary(const DockReport& report) {
  constexpr std::size_t kShown = 20;
  std::string out = "Tolerance ";
  AppendFloat(out, report.tolerance);
  out += ": " + std::to_string(report.snapped.size()) +
         (report.snapped.size() == 1 ? " point" : " points") + " snapped onto the plane\n";

  out += "Near misses: " + std::to_string(report.near_misses.size()) + "\n";
  for (std::size_t i = 0; i < report.near_misses.size() && i < kShown; ++i) {
    const NearMiss& m = report.near_misses[i];
    out += "  ";
    out += m.kind == NearMissKind::SplineEnd ? "spline end " : "point ";
    out += PlaceText(m.place) + ", ";
    AppendFloat(out, m.distance);
    out += " from the plane\n";
  }
  if (report.near_misses.size() > kShown)
    out += "  ... and " + std::to_string(report.near_misses.size() - kShown) + " more\n";

  out += "Splines:";
  const auto counts = FateCounts(report);
  bool any = false;
  for (std::size_t f = 0; f < kFates.size(); ++f) {
    if (counts[f] == 0) continue;
    std::string name(NameOf(kFates[f]));
    for (char& c : name) c = c == '_' ? ' ' : c;
    out += (any ? ", " : " ") + std::to_string(counts[f]) + " " + name;
    any = true;
  }
  out += any ? "\n" : " none\n";

  out += "Corrections: " + std::to_string(CountHooks(report, CorrectionKind::Hook)) +
         " hooks, " + std::to_string(CountHooks(report, CorrectionKind::PlaneCopy)) +
         " plane copies\n";
  out += "Attachments: " +
         std::to_string(CountProblems(report, AttachmentProblem::MissingTarget)) +
         " with a missing target, " +
         std::to_string(CountProblems(report, AttachmentProblem::Cycle)) + " in cycles\n";
  for (std::size_t i = 0; i < report.attachments.size() && i < kShown; ++i) {
    const AttachmentIssue& a = report.attachments[i];
    out += "  " + PlaceText(a.place) + " attached to ";
    AppendInt(out, a.target);
    out += a.problem == AttachmentProblem::MissingTarget ? ", which does not exist\n"
                                                          : ", round in a cycle\n";
  }
  if (report.attachments.size() > kShown)
    out += "  ... and " + std::to_string(report.attachments.size() - kShown) + " more\n";

  for (const KeptSection& k : report.kept_for_original_half)
    out += "Kept for the original half only: <" + k.section + "> in mesh " +
           std::to_string(k.mesh) + " (line " + std::to_string(k.line) + ", " +
           std::to_string(k.count) + (k.count == 1 ? " section)\n" : " sections)\n");
  out += "Suggested tolerance: ";
  if (report.suggested_tolerance) {
    AppendFloat(out, *report.suggested_tolerance);
    out += '\n';
  } else {
    out += "none (no spline end lies off the plane within 3 x the tolerance)\n";
  }
  return out;
}

}  // namespace mk
