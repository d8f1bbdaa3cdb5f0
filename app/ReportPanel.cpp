#include "app/ReportPanel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QVariant>

namespace mk {
namespace {

/// What an entry leads to, kept in its item.
enum EntryRole { kTargetKind = Qt::UserRole, kFirst, kSecond, kThird };
enum TargetKind { kNoTarget = 0, kPlaceTarget = 1, kPointTarget = 2 };

/// A list of a million snapped points would take the tree longer to build than the docking took;
/// beyond this many a group ends with a line that says how many more there are.
constexpr int kMaxListed = 5000;

QTreeWidgetItem* Group(QTreeWidget* tree, const QString& text) {
  auto* group = new QTreeWidgetItem(tree, {text});
  group->setData(0, kTargetKind, kNoTarget);
  return group;
}

/// Adds an item per entry, up to the limit, and the line for the rest.
template <typename Entries, typename AddItem>
void Fill(QTreeWidgetItem* group, const Entries& entries, AddItem add) {
  int listed = 0;
  for (const auto& entry : entries) {
    if (listed++ == kMaxListed) break;
    add(entry);
  }
  const auto rest = static_cast<qsizetype>(entries.size()) - kMaxListed;
  if (rest > 0) {
    auto* more = new QTreeWidgetItem(group, {QStringLiteral("… +%1").arg(rest)});
    more->setData(0, kTargetKind, kNoTarget);
  }
}

void PlaceEntry(QTreeWidgetItem* group, const QString& text, const ReportPlace& place) {
  auto* item = new QTreeWidgetItem(group, {text});
  item->setData(0, kTargetKind, kPlaceTarget);
  item->setData(0, kFirst, static_cast<double>(place.x));
  item->setData(0, kSecond, static_cast<double>(place.y));
  item->setData(0, kThird, static_cast<double>(place.z));
}

}  // namespace

ReportPanel::ReportPanel(const ReportTexts& texts, QWidget* parent)
    : QDockWidget(texts.PanelTitle(), parent), texts_(texts), tree_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("ReportPanel"));
  tree_->setObjectName(QStringLiteral("ReportTree"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->setUniformRowHeights(true);
  use_suggested_ = new QPushButton(this);
  use_suggested_->setObjectName(QStringLiteral("UseSuggested"));
  use_suggested_->hide();
  connect(use_suggested_, &QPushButton::clicked, this, [this] { emit UseTolerance(suggested_); });
  auto* content = new QWidget(this);
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(use_suggested_, 0, Qt::AlignLeft);
  column->addWidget(tree_);
  setWidget(content);
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Choose(item); });
}

void ReportPanel::Clear() {
  tree_->clear();
  use_suggested_->hide();
}

void ReportPanel::Show(const DockReport& report) {
  // The suggestion is one click away, unless it is what this docking used already.
  const bool suggests =
      report.suggested_tolerance && *report.suggested_tolerance != report.tolerance;
  if (suggests) {
    suggested_ = *report.suggested_tolerance;
    use_suggested_->setText(texts_.UseSuggested(suggested_));
  }
  use_suggested_->setVisible(suggests);
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  auto count = [](const auto& entries) { return static_cast<int>(entries.size()); };
  // Seam faults first and open: they are what the user has to look at.
  if (!report.near_misses.empty()) {
    QTreeWidgetItem* group = Group(tree_, texts_.NearMissGroup(count(report.near_misses)));
    Fill(group, report.near_misses,
         [&](const NearMiss& e) { PlaceEntry(group, texts_.NearMissEntry(e), e.place); });
    group->setExpanded(true);
  }
  if (!report.attachments.empty()) {
    QTreeWidgetItem* group = Group(tree_, texts_.AttachmentGroup(count(report.attachments)));
    Fill(group, report.attachments,
         [&](const AttachmentIssue& e) { PlaceEntry(group, texts_.Attachment(e), e.place); });
    group->setExpanded(true);
  }
  if (!report.snapped.empty()) {
    QTreeWidgetItem* group = Group(tree_, texts_.SnappedGroup(count(report.snapped)));
    Fill(group, report.snapped,
         [&](const SnappedPoint& e) { PlaceEntry(group, texts_.Snapped(e), e.place); });
  }
  if (!report.corrections.empty()) {
    QTreeWidgetItem* group = Group(tree_, texts_.CorrectionGroup(count(report.corrections)));
    Fill(group, report.corrections,
         [&](const CorrectionEntry& e) { PlaceEntry(group, texts_.Correction(e), e.place); });
  }
  if (!report.splines.empty()) {
    QTreeWidgetItem* group = Group(tree_, texts_.SplineGroup(count(report.splines)));
    Fill(group, report.splines, [&](const SplineOutcome& e) {
      auto* item = new QTreeWidgetItem(group, {texts_.Spline(e)});
      item->setData(0, kTargetKind, kPointTarget);
      item->setData(0, kFirst, e.mesh);
      item->setData(0, kSecond, e.first_id);
    });
  }
  tree_->setUpdatesEnabled(true);
}

void ReportPanel::Choose(QTreeWidgetItem* item) {
  if (!item) return;
  switch (item->data(0, kTargetKind).toInt()) {
    case kPlaceTarget:
      emit PlaceChosen(item->data(0, kFirst).toDouble(), item->data(0, kSecond).toDouble(),
                       item->data(0, kThird).toDouble());
      break;
    case kPointTarget:
      emit PointChosen(item->data(0, kFirst).toInt(), item->data(0, kSecond).toInt());
      break;
    default:
      break;
  }
}

}  // namespace mk
