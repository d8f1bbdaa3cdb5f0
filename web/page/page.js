// The page: what the desktop program's window does, on files that stay in this browser.
'use strict';

(async () => {
  const $ = (id) => document.getElementById(id);
  const texts = Texts.forLanguage(navigator.language);
  const core = await createMirrorknit();
  const session = new core.Session();
  const FS = core.FS;
  // Marker colours of render/MarkerLayer.cpp, for the legend.
  const markerColours = ['#00c8ff', '#ffa000', '#ff40ff'];
  const reportLimit = 1000;

  let opened = null;  // {name, bytes} of the file last opened
  let answer = null;  // the core's answer for it
  let attachErrUrl = null;

  function setUpTexts() {
    document.documentElement.lang = texts.japanese ? 'ja' : 'en';
    $('privacy').textContent = texts.privacy;
    $('openText').textContent = texts.open;
    $('saveButton').textContent = texts.save;
    $('toleranceLabel').textContent = texts.tolerance;
    texts.directions.forEach((name, index) => $('direction').add(new Option(name, index)));
    $('redockYes').textContent = texts.yes;
    $('redockNo').textContent = texts.no;
    $('reportTitle').textContent = texts.panelTitle;
    showStatus(texts.version(core.version()));
  }

  function showStatus(text) { $('status').textContent = text; }

  function fitViews() {
    const reportWidth = $('report').hidden ? 0 : $('report').offsetWidth + 8;
    const width = Math.max(160, Math.floor((window.innerWidth - reportWidth - 20) / 2));
    const height = Math.max(120, Math.floor(window.innerHeight - $('views').offsetTop - 48));
    for (const canvas of [$('sourceView'), $('dockedView')]) {
      canvas.width = width;
      canvas.height = height;
    }
    $('report').style.maxHeight = `${height}px`;
    drawViews();
  }

  function drawViews() {
    const direction = Number($('direction').value);
    const ids = $('showIds').checked;
    for (const [canvas, docked] of [[$('sourceView'), false], [$('dockedView'), true]]) {
      const drawing = session.draw(docked, direction, ids, canvas.width, canvas.height);
      Drawing.replay(canvas.getContext('2d'), drawing);
    }
  }

  function resetFiles() {
    for (const folder of ['/in', '/out']) {
      if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
      for (const name of FS.readdir(folder))
        if (name !== '.' && name !== '..') FS.unlink(`${folder}/${name}`);
    }
    if (FS.analyzePath('/attach_err.txt').exists) FS.unlink('/attach_err.txt');
    if (attachErrUrl) URL.revokeObjectURL(attachErrUrl);
    attachErrUrl = null;
    $('attachErrLink').hidden = true;
  }

  // The tolerance as typed, with "," or "." as the decimal separator.
  function toleranceText() {
    const typed = $('tolerance').value.trim();
    return typed.includes('.') ? typed : typed.replace(',', '.');
  }

  function dock(dockIfDocked) {
    resetFiles();
    $('redock').hidden = true;
    const path = `/in/${opened.name}`;
    FS.writeFile(path, opened.bytes);
    answer = JSON.parse(session.open(path, toleranceText(), dockIfDocked));
    showAnswer();
  }

  function showAnswer() {
    $('memo').value = '';
    $('saveButton').disabled = true;
    if (!answer.ok) {
      $('report').hidden = true;
      fitViews();
      showStatus(answer.wrong_extension ? texts.wrongExtension
                                        : (texts.japanese ? answer.error.ja : answer.error.en));
      return;
    }
    if (!answer.docked) {
      showReport(null);
      fitViews();
      showStatus(texts.leftUndocked(opened.name));
      if (answer.redock_question) {
        $('redockText').textContent = texts.redockQuestion(answer.redock_question);
        $('redock').hidden = false;
        $('redockYes').focus();
      }
      return;
    }
    $('memo').value = answer.statistics.join('\n');
    $('saveButton').disabled = false;
    if (FS.analyzePath('/attach_err.txt').exists) {
      const bytes = FS.readFile('/attach_err.txt');
      attachErrUrl = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
      $('attachErrLink').href = attachErrUrl;
      $('attachErrLink').hidden = false;
    }
    showReport(answer.report);
    fitViews();
    const warnings = texts.japanese ? answer.warnings.ja : answer.warnings.en;
    showStatus(texts.docked(opened.name) + warnings.map((w) => '  ' + w).join(''));
  }

  function showReport(report) {
    const groups = $('reportGroups');
    groups.replaceChildren();
    $('legend').replaceChildren();
    $('report').hidden = !report;
    if (!report) return;
    const counts = [report.snapped.length, report.near_misses.length, report.attachments.length];
    texts.legend.forEach((name, kind) => {
      const item = document.createElement('li');
      const swatch = document.createElement('span');
      swatch.style.background = markerColours[kind];
      item.append(swatch, `${name} (${counts[kind]})`);
      $('legend').append(item);
    });
    const addGroup = (title, entries, wording) => {
      if (entries.length === 0) return;
      const heading = document.createElement('h3');
      heading.textContent = title(entries.length);
      const list = document.createElement('ul');
      for (const entry of entries.slice(0, reportLimit)) {
        const item = document.createElement('li');
        item.textContent = wording(entry);
        list.append(item);
      }
      // The first entries are what a user reads; the heading gives the count of all.
      if (entries.length > reportLimit) {
        const more = document.createElement('li');
        more.textContent = '…';
        list.append(more);
      }
      groups.append(heading, list);
    };
    addGroup(texts.nearMissGroup, report.near_misses, texts.nearMiss);
    addGroup(texts.attachmentGroup, report.attachments, texts.attachment);
    addGroup(texts.snappedGroup, report.snapped, texts.snapped);
    addGroup(texts.correctionGroup, report.corrections, texts.correction);
    addGroup(texts.splineGroup, report.splines, texts.spline);
  }

  async function openFile(file) {
    if (!file) return;
    if (!/\.(mdl|seg)$/i.test(file.name)) {
      showStatus(texts.wrongExtension);
      return;
    }
    opened = { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
    dock(false);
  }

  function download(bytes, name) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function save() {
    if (!answer || !answer.ok || !answer.docked) return;
    const saved = JSON.parse(session.save(`/out/${opened.name}`));
    if (!saved.ok) {
      showStatus(texts.japanese ? saved.error.ja : saved.error.en);
      return;
    }
    download(FS.readFile(saved.file), opened.name);
    showStatus(texts.savedAs(opened.name));
  }

  setUpTexts();
  $('fileInput').addEventListener('change', (event) => {
    openFile(event.target.files[0]);
    event.target.value = '';
  });
  $('saveButton').addEventListener('click', save);
  $('redockYes').addEventListener('click', () => dock(true));
  $('redockNo').addEventListener('click', () => { $('redock').hidden = true; });
  $('tolerance').addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && opened) dock(false);
  });
  $('direction').addEventListener('change', drawViews);
  $('showIds').addEventListener('change', drawViews);
  window.addEventListener('resize', fitViews);
  window.addEventListener('dragover', (event) => {
    event.preventDefault();
    $('dropHint').hidden = false;
  });
  window.addEventListener('dragleave', () => { $('dropHint').hidden = true; });
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    $('dropHint').hidden = true;
    openFile(event.dataTransfer.files[0]);
  });
  fitViews();
  document.body.dataset.ready = 'true';
})();
