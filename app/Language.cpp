#include "app/Language.h"

namespace mk {

bool IsJapaneseLocale(const QLocale& locale) { return locale.language() == QLocale::Japanese; }

QString StatusTexts::FileMissing() const {
  return japanese ? QStringLiteral("Error:ファイルが存在しません！！")
                  : QStringLiteral("Error:File not found!!");
}

QString StatusTexts::WrongExtension() const {
  return japanese ? QStringLiteral("Error:ファイル名の拡張子が違います！！")
                  : QStringLiteral("Error:filename Extension!!");
}

QString StatusTexts::Docked(const QString& name) const {
  return japanese ? name + QStringLiteral(" をMirrorknitしました。")
                  : QStringLiteral("Mirrorknitted ") + name;
}

QString StatusTexts::Opened(const QString& name) const {
  return japanese ? name + QStringLiteral(" を読み込みました") : QStringLiteral("Opend ") + name;
}

QString StatusTexts::SavedOver(const QString& target) const {
  return japanese ? target + QStringLiteral("へ上書き保存しました")
                  : QStringLiteral("Saved as ") + target;
}

QString StatusTexts::SavedAs(const QString& target) const {
  return japanese ? target + QStringLiteral("へ保存しました") : QStringLiteral("Saved ") + target;
}

QString StatusTexts::NothingToSave() const {
  return japanese ? QStringLiteral("Error:このファイルは開かれていないので保存しません！！")
                  : QStringLiteral("Error:this file was not opened, nothing saved!!");
}

QString StatusTexts::NotDockedNothingToSave() const {
  return japanese ? QStringLiteral("Error:ドッキングしていないので保存しません！！")
                  : QStringLiteral("Error:this model is not docked, nothing saved!!");
}

QString StatusTexts::LeftUndocked(const QString& name) const {
  return japanese ? name + QStringLiteral(" はドッキングせず、読み込んだまま表示しています（保存しません）")
                  : QStringLiteral("Not docked: ") + name +
                        QStringLiteral(" is shown as read, nothing saved");
}

namespace {

QString Number(double value) { return QString::number(value, 'g', 6); }

/// "CP 12", with the mesh in front when the file has more than the first.
QString PointName(bool japanese, std::int32_t mesh, std::int32_t id) {
  const QString point = QStringLiteral("CP %1").arg(id);
  if (mesh == 0) return point;
  return (japanese ? QStringLiteral("メッシュ%1 ") : QStringLiteral("mesh %1 ")).arg(mesh) + point;
}

QString PlaceName(bool japanese, const ReportPlace& place) {
  return PointName(japanese, place.mesh, place.id);
}

}  // namespace

QString ReportTexts::RecentMenu() const {
  return japanese ? QStringLiteral("最近使ったファイル(&R)") : QStringLiteral("&Recent Files");
}

QString ReportTexts::NoRecentFiles() const {
  return japanese ? QStringLiteral("（なし）") : QStringLiteral("(none)");
}

QString ReportTexts::RecentFileMissing() const {
  return japanese ? QStringLiteral("ファイルが見つかりません") : QStringLiteral("File not found");
}

QString ReportTexts::FitMenu() const {
  return japanese ? QStringLiteral("全体表示(&W)") : QStringLiteral("Fit to &Window");
}

QString ReportTexts::FitButton() const {
  return japanese ? QStringLiteral("全体") : QStringLiteral("Fit");
}

QString ReportTexts::ReportMenu() const {
  return japanese ? QStringLiteral("ドッキング報告(&R)") : QStringLiteral("Dock &Report");
}

QString ReportTexts::ReportButton() const {
  return japanese ? QStringLiteral("報告") : QStringLiteral("Report");
}

QString ReportTexts::PanelTitle() const {
  return japanese ? QStringLiteral("ドッキング報告") : QStringLiteral("Dock Report");
}

QString ReportTexts::SnappedGroup(int count) const {
  return (japanese ? QStringLiteral("平面に合わせた点 (%1)") : QStringLiteral("Snapped points (%1)"))
      .arg(count);
}

QString ReportTexts::NearMissGroup(int count) const {
  return (japanese ? QStringLiteral("平面に届かなかった点 (%1)") : QStringLiteral("Near misses (%1)"))
      .arg(count);
}

QString ReportTexts::AttachmentGroup(int count) const {
  return (japanese ? QStringLiteral("未解決のアタッチ (%1)")
                   : QStringLiteral("Unresolved attachments (%1)"))
      .arg(count);
}

QString ReportTexts::CorrectionGroup(int count) const {
  return (japanese ? QStringLiteral("アタッチの補正 (%1)") : QStringLiteral("Corrections (%1)"))
      .arg(count);
}

QString ReportTexts::SplineGroup(int count) const {
  return (japanese ? QStringLiteral("スプライン (%1)") : QStringLiteral("Splines (%1)")).arg(count);
}

QString ReportTexts::Snapped(const SnappedPoint& e) const {
  return PlaceName(japanese, e.place) +
         (japanese ? QStringLiteral("  x %1 → 0（移動 %2）") : QStringLiteral("  x %1 → 0 (moved %2)"))
             .arg(Number(e.old_x), Number(e.moved));
}

QString ReportTexts::NearMissEntry(const NearMiss& e) const {
  const bool end = e.kind == NearMissKind::SplineEnd;
  const QString what = japanese ? (end ? QStringLiteral("スプライン端、") : QString())
                                : (end ? QStringLiteral("spline end, ") : QString());
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + what +
         (japanese ? QStringLiteral("平面から %1") : QStringLiteral("%1 from the plane"))
             .arg(Number(e.distance));
}

QString ReportTexts::Attachment(const AttachmentIssue& e) const {
  QString problem;
  if (e.problem == AttachmentProblem::MissingTarget)
    problem = (japanese ? QStringLiteral("アタッチ先 %1 がありません")
                        : QStringLiteral("target %1 does not exist"))
                  .arg(e.target);
  else
    problem = japanese ? QStringLiteral("アタッチが循環しています")
                       : QStringLiteral("attachments go round in a cycle");
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + problem;
}

QString ReportTexts::Correction(const CorrectionEntry& e) const {
  const QString change = QStringLiteral("%1 → %2").arg(e.old_target).arg(e.new_target);
  QString what;
  if (e.kind == CorrectionKind::Hook)
    what = japanese ? QStringLiteral("フックの向きを直しました ") : QStringLiteral("hook turned round ");
  else
    what = japanese ? QStringLiteral("平面上の点の複製をアタッチ ")
                    : QStringLiteral("plane point copy attached ");
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + what + change;
}

QString ReportTexts::Spline(const SplineOutcome& e) const {
  QString fate;
  switch (e.fate) {
    case SplineFate::OnPlane:
      fate = japanese ? QStringLiteral("平面上（鏡像なし）") : QStringLiteral("on the plane, no image");
      break;
    case SplineFate::ExtendedThroughFirstEnd:
      fate = japanese ? QStringLiteral("始点から鏡像へ延長") : QStringLiteral("extended through its first end");
      break;
    case SplineFate::ExtendedThroughLastEnd:
      fate = japanese ? QStringLiteral("終点から鏡像へ延長") : QStringLiteral("extended through its last end");
      break;
    case SplineFate::ClosedThroughBothEnds:
      fate = japanese ? QStringLiteral("両端で閉じました") : QStringLiteral("closed through both ends");
      break;
    case SplineFate::Twinned:
      fate = japanese ? QStringLiteral("鏡像を別のスプラインに") : QStringLiteral("twinned by a separate image");
      break;
    case SplineFate::AlreadyClosed:
      fate = japanese ? QStringLiteral("閉じたループ、鏡像を別に") : QStringLiteral("closed loop, separate image");
      break;
  }
  const QString name = japanese ? QStringLiteral("スプライン%1") : QStringLiteral("spline %1");
  QString mesh;
  if (e.mesh != 0) mesh = (japanese ? QStringLiteral("メッシュ%1 ") : QStringLiteral("mesh %1 ")).arg(e.mesh);
  return mesh + name.arg(e.index) +
         QStringLiteral("  CP %1–%2  ").arg(e.first_id).arg(e.last_id) + fate;
}

QString ReportTexts::Hover(std::int32_t mesh, std::int32_t id, long double x, long double y,
                           long double z) const {
  return PointName(japanese, mesh, id) + QStringLiteral("  (%1, %2, %3)")
                                             .arg(Number(static_cast<double>(x)),
                                                  Number(static_cast<double>(y)),
                                                  Number(static_cast<double>(z)));
}

QString ReportTexts::SnappedLegend() const {
  return japanese ? QStringLiteral("平面に合わせた点") : QStringLiteral("Snapped onto the plane");
}

QString ReportTexts::NearMissLegend() const {
  return japanese ? QStringLiteral("平面に届かなかった点") : QStringLiteral("Near miss");
}

QString ReportTexts::AttachmentLegend() const {
  return japanese ? QStringLiteral("未解決のアタッチ") : QStringLiteral("Unresolved attachment");
}

QString ReportTexts::RedockQuestion(const DockedLook& look) const {
  if (!japanese)
    return QStringLiteral("This model looks docked already: %1.\nDock it again?")
        .arg(QString::fromStdString(look.reason));
  const QString reason =
      look.sign == DockedLook::Sign::MirroredPairs
          ? QStringLiteral("点がX=0をはさんで対になっていて、片側のIDがもう片側より%1大きい")
                .arg(look.id_offset)
          : QStringLiteral("点がX=0の両側に対称に並んでいる");
  return QStringLiteral("このモデルはドッキング済みのようです（%1）。\n"
                        "もう一度ドッキングしますか？")
      .arg(reason);
}

}  // namespace mk
