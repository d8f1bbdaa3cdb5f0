#pragma once
// The dock report as a panel beside the views: the entries grouped by kind, each group with its
// count. Choosing an entry asks the window to centre both views on it.

#include <QDockWidget>

#include "app/Language.h"
#include "core/document/DockReport.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mk {

class ReportPanel : public QDockWidget {
  Q_OBJECT

 public:
  ReportPanel(const ReportTexts& texts, QWidget* parent);

  /// Lists the report's entries; an empty report leaves the panel empty.
  void Show(const DockReport& report);
  void Clear();
  QTreeWidget* Tree() const { return tree_; }
  QPushButton* UseSuggestedButton() const { return use_suggested_; }

 signals:
  /// An entry with a place in the docked model was chosen.
  void PlaceChosen(double x, double y, double z);
  /// A spline was chosen: its first point, by id, since the report gives splines no place.
  void PointChosen(int mesh, int id);
  /// The suggested tolerance was chosen: dock again with it.
  void UseTolerance(double tolerance);

 private:
  void Choose(QTreeWidgetItem* item);

  ReportTexts texts_;
  QTreeWidget* tree_;
  QPushButton* use_suggested_ = nullptr;
  double suggested_ = 0;
};

}  // namespace mk
