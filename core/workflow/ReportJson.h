#pragma once
// The dock report as text: the JSON form the CLI writes (documented in docs/report-json.md) and
// the summary the check command prints.

#include <string>
#include <string_view>

#include "core/document/DockReport.h"
#include "core/util/FileIo.h"

namespace mk {

/// Version of the JSON form; raised when a key changes meaning or goes away (new keys may come
/// without it).
inline constexpr int kReportJsonVersion = 1;

/// The report as one JSON object; every list entry on a line of its own. The text goes to the
/// sink in pieces of about a megabyte as it is made: at millions of points it runs to tens of
/// megabytes, and fresh pages for all of it would cost more than making it.
void WriteReportJson(const DockReport& report, const ByteSink& sink);
/// The same text whole.
std::string ReportJson(const DockReport& report);

/// Lines for a person: the counts, every kind of entry with its number, the first near misses
/// and attachment problems in full, and the suggested tolerance.
std::string ReportSummary(const DockReport& report);

/// The names the JSON gives the kinds and fates.
std::string_view NameOf(NearMissKind kind);
std::string_view NameOf(SplineFate fate);
std::string_view NameOf(CorrectionKind kind);
std::string_view NameOf(AttachmentProblem problem);

}  // namespace mk
