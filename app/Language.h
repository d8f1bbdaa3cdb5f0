#pragma once
// The interface language, chosen once at start, and every status message in both languages.

#include <QLocale>
#include <QString>

#include "core/document/DockReport.h"
#include "core/workflow/Workflow.h"

namespace mk {

/// The interface is Japanese for a Japanese locale and English for every other.
bool IsJapaneseLocale(const QLocale& locale);

/// Status line texts; name is the full file name.
struct StatusTexts {
  bool japanese = true;

  QString FileMissing() const;
  QString WrongExtension() const;
  QString Docked(const QString& name) const;
  QString Opened(const QString& name) const;
  QString SavedOver(const QString& target) const;
  QString SavedAs(const QString& target) const;
  /// Save after an open that was refused or failed: nothing docked belongs to the current name.
  QString NothingToSave() const;
  /// Save of a model the user chose not to dock again.
  QString NotDockedNothingToSave() const;
  /// The user answered No to docking a model that looks docked.
  QString LeftUndocked(const QString& name) const;
  /// The tolerance found in the settings was no number; the default is used instead.
  QString ToleranceReset(const QString& found, const QString& used) const;
  /// Where the list of unresolved attachments went, when not to the current folder.
  QString AttachReportAt(const QString& path) const;
  /// An error while reading a file, with the file's name and the line.
  QString AtLine(const QString& file, qint64 line, const QString& message) const;
  QString InFile(const QString& file, const QString& message) const;
};

/// The texts of the dock report: its panel, the markers' legend, the view commands, the recent
/// files and the question before docking a docked model again.
struct ReportTexts {
  bool japanese = true;

  QString RecentMenu() const;
  QString NoRecentFiles() const;
  QString RecentFileMissing() const;
  QString FitMenu() const;
  QString FitButton() const;
  QString ReportMenu() const;
  QString ReportButton() const;
  QString DockAgainMenu() const;
  /// The report panel's button that docks again with the suggested tolerance.
  QString UseSuggested(double tolerance) const;
  QString PanelTitle() const;

  QString SnappedGroup(int count) const;
  QString NearMissGroup(int count) const;
  QString AttachmentGroup(int count) const;
  QString CorrectionGroup(int count) const;
  QString SplineGroup(int count) const;

  QString Snapped(const SnappedPoint& entry) const;
  QString NearMissEntry(const NearMiss& entry) const;
  QString Attachment(const AttachmentIssue& entry) const;
  QString Correction(const CorrectionEntry& entry) const;
  QString Spline(const SplineOutcome& entry) const;
  /// What the mouse points at: id and coordinates.
  QString Hover(std::int32_t mesh, std::int32_t id, long double x, long double y, long double z) const;

  QString SnappedLegend() const;
  QString NearMissLegend() const;
  QString AttachmentLegend() const;

  /// reason: the workflow's sentence, in English.
  QString RedockQuestion(const DockedLook& look) const;
};

}  // namespace mk
