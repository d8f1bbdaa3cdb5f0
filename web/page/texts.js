// The page's texts in both interface languages, worded as the desktop program words them.
'use strict';

const Texts = (() => {
  // Numbers as the program shows them: 6 significant digits, shortest form, "1e-07" style.
  function number(value) {
    if (value === 0) return '0';
    const exponent = Math.floor(Math.log10(Math.abs(value)));
    if (exponent < -4 || exponent >= 6) {
      const [mantissa, power] = value.toExponential(5).split('e');
      const digits = String(Math.abs(Number(power))).padStart(2, '0');
      return String(Number(mantissa)) + 'e' + (Number(power) < 0 ? '-' : '+') + digits;
    }
    return String(Number(value.toPrecision(6)));
  }

  function make(japanese) {
    const choose = (ja, en) => (japanese ? ja : en);
    const pointName = (mesh, id) =>
      (mesh === 0 ? '' : choose(`メッシュ${mesh} `, `mesh ${mesh} `)) + `CP ${id}`;
    const fates = {
      on_plane: choose('平面上（鏡像なし）', 'on the plane, no image'),
      extended_through_first_end: choose('始点から鏡像へ延長', 'extended through its first end'),
      extended_through_last_end: choose('終点から鏡像へ延長', 'extended through its last end'),
      closed_through_both_ends: choose('両端で閉じました', 'closed through both ends'),
      twinned: choose('鏡像を別のスプラインに', 'twinned by a separate image'),
      already_closed: choose('閉じたループ、鏡像を別に', 'closed loop, separate image'),
    };
    return {
      japanese,
      privacy: choose(
        'モデルはこのコンピュータの外へ送られません。読み込み、ドッキング、保存はすべてこのブラウザの中で行われます。',
        'Your model never leaves your computer: reading, docking and saving all happen inside this browser.'),
      open: choose('ファイルを開く', 'Open'),
      save: choose('上書き保存', 'Save'),
      directions: japanese ? ['前', '左', '上'] : ['Front', 'Left', 'Top'],
      tolerance: choose('X=0平面に対する誤差', 'Correct Plane X=0'),
      yes: choose('はい', 'Yes'),
      no: choose('いいえ', 'No'),
      version: (version) => 'Ver' + version,
      fileMissing: choose('Error:ファイルが存在しません！！', 'Error:File not found!!'),
      wrongExtension: choose('Error:ファイル名の拡張子が違います！！', 'Error:filename Extension!!'),
      docked: (name) => choose(`${name} をMirrorknitしました。`, `Mirrorknitted ${name}`),
      savedAs: (name) => choose(`${name}へ保存しました`, `Saved ${name}`),
      leftUndocked: (name) => choose(
        `${name} はドッキングせず、読み込んだまま表示しています（保存しません）`,
        `Not docked: ${name} is shown as read, nothing saved`),
      redockQuestion(question) {
        if (!japanese)
          return `This model looks docked already: ${question.reason}.\nDock it again?`;
        const reason = question.sign === 'mirrored_pairs'
          ? `点がX=0をはさんで対になっていて、片側のIDがもう片側より${question.id_offset}大きい`
          : '点がX=0の両側に対称に並んでいる';
        return `このモデルはドッキング済みのようです（${reason}）。\nもう一度ドッキングしますか？`;
      },
      panelTitle: choose('ドッキング報告', 'Dock Report'),
      snappedGroup: (n) => choose(`平面に合わせた点 (${n})`, `Snapped points (${n})`),
      nearMissGroup: (n) => choose(`平面に届かなかった点 (${n})`, `Near misses (${n})`),
      attachmentGroup: (n) => choose(`未解決のアタッチ (${n})`, `Unresolved attachments (${n})`),
      correctionGroup: (n) => choose(`アタッチの補正 (${n})`, `Corrections (${n})`),
      splineGroup: (n) => choose(`スプライン (${n})`, `Splines (${n})`),
      snapped: (e) => pointName(e.mesh, e.id) +
        choose(`  x ${number(e.old_x)} → 0（移動 ${number(e.moved)}）`,
               `  x ${number(e.old_x)} → 0 (moved ${number(e.moved)})`),
      nearMiss: (e) => pointName(e.mesh, e.id) + '  ' +
        (e.kind === 'spline_end' ? choose('スプライン端、', 'spline end, ') : '') +
        choose(`平面から ${number(e.distance)}`, `${number(e.distance)} from the plane`),
      attachment: (e) => pointName(e.mesh, e.id) + '  ' +
        (e.problem === 'missing_target'
          ? choose(`アタッチ先 ${e.target} がありません`, `target ${e.target} does not exist`)
          : choose('アタッチが循環しています', 'attachments go round in a cycle')),
      correction: (e) => pointName(e.mesh, e.id) + '  ' +
        (e.kind === 'hook' ? choose('フックの向きを直しました ', 'hook turned round ')
                           : choose('平面上の点の複製をアタッチ ', 'plane point copy attached ')) +
        `${e.old_target} → ${e.new_target}`,
      spline: ([mesh, index, first, last, fate]) =>
        (mesh !== 0 ? choose(`メッシュ${mesh} `, `mesh ${mesh} `) : '') +
        choose(`スプライン${index}`, `spline ${index}`) + `  CP ${first}–${last}  ` + fates[fate],
      legend: [
        choose('平面に合わせた点', 'Snapped onto the plane'),
        choose('平面に届かなかった点', 'Near miss'),
        choose('未解決のアタッチ', 'Unresolved attachment'),
      ],
    };
  }

  return {
    number,
    // Japanese for a browser set to Japanese, English for every other language.
    forLanguage: (language) => make(/^ja\b/i.test(language || '')),
  };
})();

if (typeof module !== 'undefined') module.exports = Texts;
