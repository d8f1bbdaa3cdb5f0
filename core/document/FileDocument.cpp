#include "core/document/FileDocument.h"

#include "core/document/DockReport.h"

namespace mk {

DockStatistics FileDocument::Dock(double tolerance, DockReport* report) {
  const DockStatistics statistics = DockContents(tolerance, report);
  if (report) {
    report->tolerance = tolerance;
    report->counts = statistics;
  }
  return statistics;
}

long double FileDocument::GetBound(int index) const {
  const auto i = static_cast<unsigned>(index);
  if (i < 3) return BoundMin[i];
  if (i < 6) return BoundMax[i - 3];
  return 100;
}

}  // namespace mk
