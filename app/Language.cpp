#include "app/Language.h"

#include <QStringView>

namespace mk {

bool IsJapaneseLocale(const QLocale& locale) { return locale.language() == QLocale::Japanese; }

namespace {

/// One text in both interface languages; %1 and on stand for what the text is about.
struct Wording {
  QStringView japanese;
  QStringView english;
};

QString Choose(bool japanese, const Wording& wording) {
  return (japanese ? wording.japanese : wording.english).toString();
}

QString Number(double value) { return QString::number(value, 'g', 6); }

/// "CP 12", with the mesh in front when the file has more than the first.
QString PointName(bool japanese, std::int32_t mesh, std::int32_t id) {
  const QString point = QStringLiteral("CP %1").arg(id);
  if (mesh == 0) return point;
  return Choose(japanese, {u"メッシュ%1 ", u"mesh %1 "}).arg(mesh) + point;
}

QString PlaceName(bool japanese, const ReportPlace& place) {
  return PointName(japanese, place.mesh, place.id);
}

struct FateWording {
  SplineFate fate;
  Wording wording;
};

constexpr FateWording kFateWordings[] = {
    {SplineFate::OnPlane, {u"平面上（鏡像なし）", u"on the plane, no image"}},
    {SplineFate::ExtendedThroughFirstEnd,
     {u"始点から鏡像へ延長", u"extended through its first end"}},
    {SplineFate::ExtendedThroughLastEnd, {u"終点から鏡像へ延長", u"extended through its last end"}},
    {SplineFate::ClosedThroughBothEnds, {u"両端で閉じました", u"closed through both ends"}},
    {SplineFate::Twinned, {u"鏡像を別のスプラインに", u"twinned by a separate image"}},
    {SplineFate::AlreadyClosed, {u"閉じたループ、鏡像を別に", u"closed loop, separate image"}},
};

QString FateText(bool japanese, SplineFate fate) {
  for (const FateWording& entry : kFateWordings)
    if (entry.fate == fate) return Choose(japanese, entry.wording);
  return QString();
}

}  // namespace

QString StatusTexts::FileMissing() const {
  return Choose(japanese, {u"Error:ファイルが存在しません！！", u"Error:File not found!!"});
}

QString StatusTexts::WrongExtension() const {
  return Choose(japanese,
                {u"Error:ファイル名の拡張子が違います！！", u"Error:filename Extension!!"});
}

QString StatusTexts::Docked(const QString& name) const {
  return Choose(japanese, {u"%1 をMirrorknitしました。", u"Mirrorknitted %1"}).arg(name);
}

QString StatusTexts::Opened(const QString& name) const {
  return Choose(japanese, {u"%1 を読み込みました", u"Opend %1"}).arg(name);
}

QString StatusTexts::SavedOver(const QString& target) const {
  return Choose(japanese, {u"%1へ上書き保存しました", u"Saved as %1"}).arg(target);
}

QString StatusTexts::SavedAs(const QString& target) const {
  return Choose(japanese, {u"%1へ保存しました", u"Saved %1"}).arg(target);
}

QString StatusTexts::NothingToSave() const {
  return Choose(japanese, {u"Error:このファイルは開かれていないので保存しません！！",
                           u"Error:this file was not opened, nothing saved!!"});
}

QString StatusTexts::NotDockedNothingToSave() const {
  return Choose(japanese, {u"Error:ドッキングしていないので保存しません！！",
                           u"Error:this model is not docked, nothing saved!!"});
}

QString StatusTexts::LeftUndocked(const QString& name) const {
  return Choose(japanese, {u"%1 はドッキングせず、読み込んだまま表示しています（保存しません）",
                           u"Not docked: %1 is shown as read, nothing saved"})
      .arg(name);
}

QString StatusTexts::ToleranceReset(const QString& found, const QString& used) const {
  return Choose(japanese, {u"設定の誤差「%1」は数値ではないため、%2 を使います",
                           u"The tolerance '%1' in the settings is not a number; %2 is used"})
      .arg(found, used);
}

QString StatusTexts::AttachReportAt(const QString& path) const {
  return Choose(japanese, {u"attach_err.txt は %1 に書きました",
                           u"attach_err.txt was written to %1"})
      .arg(path);
}

QString StatusTexts::AtLine(const QString& file, qint64 line, const QString& message) const {
  return Choose(japanese, {u"%1、%2 行目: %3", u"%1, line %2: %3"}).arg(file).arg(line).arg(message);
}

QString StatusTexts::InFile(const QString& file, const QString& message) const {
  return QStringLiteral("%1: %2").arg(file, message);
}

QString ReportTexts::RecentMenu() const {
  return Choose(japanese, {u"最近使ったファイル(&R)", u"&Recent Files"});
}

QString ReportTexts::NoRecentFiles() const { return Choose(japanese, {u"（なし）", u"(none)"}); }

QString ReportTexts::RecentFileMissing() const {
  return Choose(japanese, {u"ファイルが見つかりません", u"File not found"});
}

QString ReportTexts::FitMenu() const {
  return Choose(japanese, {u"全体表示(&W)", u"Fit to &Window"});
}

QString ReportTexts::FitButton() const { return Choose(japanese, {u"全体", u"Fit"}); }

QString ReportTexts::ReportMenu() const {
  return Choose(japanese, {u"ドッキング報告(&R)", u"Dock &Report"});
}

QString ReportTexts::ReportButton() const { return Choose(japanese, {u"報告", u"Report"}); }

QString ReportTexts::DockAgainMenu() const {
  return Choose(japanese, {u"もう一度ドッキング(&D)", u"&Dock Again"});
}

QString ReportTexts::UseSuggested(double tolerance) const {
  return Choose(japanese, {u"%1 でもう一度ドッキング", u"Use %1 and dock again"}).arg(Number(tolerance));
}

QString ReportTexts::PanelTitle() const {
  return Choose(japanese, {u"ドッキング報告", u"Dock Report"});
}

QString ReportTexts::SnappedGroup(int count) const {
  return Choose(japanese, {u"平面に合わせた点 (%1)", u"Snapped points (%1)"}).arg(count);
}

QString ReportTexts::NearMissGroup(int count) const {
  return Choose(japanese, {u"平面に届かなかった点 (%1)", u"Near misses (%1)"}).arg(count);
}

QString ReportTexts::AttachmentGroup(int count) const {
  return Choose(japanese, {u"未解決のアタッチ (%1)", u"Unresolved attachments (%1)"}).arg(count);
}

QString ReportTexts::CorrectionGroup(int count) const {
  return Choose(japanese, {u"アタッチの補正 (%1)", u"Corrections (%1)"}).arg(count);
}

QString ReportTexts::SplineGroup(int count) const {
  return Choose(japanese, {u"スプライン (%1)", u"Splines (%1)"}).arg(count);
}

QString ReportTexts::Snapped(const SnappedPoint& e) const {
  return PlaceName(japanese, e.place) +
         Choose(japanese, {u"  x %1 → 0（移動 %2）", u"  x %1 → 0 (moved %2)"})
             .arg(Number(e.old_x), Number(e.moved));
}

QString ReportTexts::NearMissEntry(const NearMiss& e) const {
  const QString what = e.kind == NearMissKind::SplineEnd
                           ? Choose(japanese, {u"スプライン端、", u"spline end, "})
                           : QString();
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + what +
         Choose(japanese, {u"平面から %1", u"%1 from the plane"}).arg(Number(e.distance));
}

QString ReportTexts::Attachment(const AttachmentIssue& e) const {
  const QString problem =
      e.problem == AttachmentProblem::MissingTarget
          ? Choose(japanese, {u"アタッチ先 %1 がありません", u"target %1 does not exist"})
                .arg(e.target)
          : Choose(japanese, {u"アタッチが循環しています", u"attachments go round in a cycle"});
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + problem;
}

QString ReportTexts::Correction(const CorrectionEntry& e) const {
  const QString change = QStringLiteral("%1 → %2").arg(e.old_target).arg(e.new_target);
  const QString what =
      e.kind == CorrectionKind::Hook
          ? Choose(japanese, {u"フックの向きを直しました ", u"hook turned round "})
          : Choose(japanese, {u"平面上の点の複製をアタッチ ", u"plane point copy attached "});
  return PlaceName(japanese, e.place) + QStringLiteral("  ") + what + change;
}

QString ReportTexts::Spline(const SplineOutcome& e) const {
  const QString mesh =
      e.mesh != 0 ? Choose(japanese, {u"メッシュ%1 ", u"mesh %1 "}).arg(e.mesh) : QString();
  return mesh + Choose(japanese, {u"スプライン%1", u"spline %1"}).arg(e.index) +
         QStringLiteral("  CP %1–%2  ").arg(e.first_id).arg(e.last_id) + FateText(japanese, e.fate);
}

QString ReportTexts::Hover(std::int32_t mesh, std::int32_t id, long double x, long double y,
                           long double z) const {
  return PointName(japanese, mesh, id) + QStringLiteral("  (%1, %2, %3)")
                                             .arg(Number(static_cast<double>(x)),
                                                  Number(static_cast<double>(y)),
                                                  Number(static_cast<double>(z)));
}

QString ReportTexts::SnappedLegend() const {
  return Choose(japanese, {u"平面に合わせた点", u"Snapped onto the plane"});
}

QString ReportTexts::NearMissLegend() const {
  return Choose(japanese, {u"平面に届かなかった点", u"Near miss"});
}

QString ReportTexts::AttachmentLegend() const {
  return Choose(japanese, {u"未解決のアタッチ", u"Unresolved attachment"});
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
