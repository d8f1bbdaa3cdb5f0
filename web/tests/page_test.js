// The page in headless chromium, against mirrorknit-cli: each model is opened as a user would
// (the file chooser), and the downloaded docked file and attach_err.txt must be the CLI's bytes,
// the memo its statistics lines, the report's groups its counts, and each kind of marker the
// report lists must be on the docked view.
//   node tests/page_test.js PAGE_FOLDER MIRRORKNIT_CLI SOURCE_ROOT [SCREENSHOT.png]
'use strict';

const assert = require('assert/strict');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const [pageFolder, cli, root, screenshot] = process.argv.slice(2);
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'mirrorknit-page-'));

// Marker colours of render/MarkerLayer.cpp, by the report's list they mark.
const markerColours = {
  snapped: [0, 200, 255],
  near_misses: [255, 160, 0],
  attachments: [255, 64, 255],
};

/// What the CLI makes of the model: docked bytes, statistics lines, report, attach_err.txt.
function cliDock(input, extraArguments = []) {
  const folder = fs.mkdtempSync(path.join(work, 'cli-'));
  const output = path.join(folder, path.basename(input));
  const report = path.join(folder, 'report.json');
  const stdout = execFileSync(cli, ['dock', input, '-o', output, '--report', report,
                                    ...extraArguments], { cwd: folder, encoding: 'utf8' });
  const attachErr = path.join(folder, 'attach_err.txt');
  return {
    bytes: fs.readFileSync(output),
    statistics: stdout.trim().split('\n'),
    report: JSON.parse(fs.readFileSync(report, 'utf8')),
    attachErr: fs.existsSync(attachErr) ? fs.readFileSync(attachErr) : null,
  };
}

async function downloadOf(page, click) {
  const [download] = await Promise.all([page.waitForEvent('download'), click()]);
  return { name: download.suggestedFilename(), bytes: fs.readFileSync(await download.path()) };
}

async function markerPixels(page) {
  return page.evaluate((colours) => {
    const canvas = document.getElementById('dockedView');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = {};
    for (const [list, [r, g, b]] of Object.entries(colours)) {
      let n = 0;
      for (let i = 0; i < data.length; i += 4)
        if (data[i] === r && data[i + 1] === g && data[i + 2] === b) ++n;
      counts[list] = n;
    }
    return counts;
  }, markerColours);
}

// The page answers an open in the status line; it is emptied first, so that the answer to the
// model before is not taken for this one's.
async function openModel(page, file) {
  await page.$eval('#status', (status) => { status.textContent = ''; });
  await page.setInputFiles('#fileInput', file);
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
}

// The same as a file dropped on the page.
async function dropModel(page, file) {
  await page.$eval('#status', (status) => { status.textContent = ''; });
  const dataTransfer = await page.evaluateHandle(([base64, name]) => {
    const transfer = new DataTransfer();
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    transfer.items.add(new File([bytes], name));
    return transfer;
  }, [fs.readFileSync(file).toString('base64'), path.basename(file)]);
  await page.dispatchEvent('body', 'drop', { dataTransfer });
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
}

/// The pixels of a colour on a view.
async function pixelsOf(page, view, [r, g, b]) {
  return page.evaluate(([id, r, g, b]) => {
    const canvas = document.getElementById(id);
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let n = 0;
    for (let i = 0; i < data.length; i += 4)
      if (data[i] === r && data[i + 1] === g && data[i + 2] === b) ++n;
    return n;
  }, [view, r, g, b]);
}

/// Opens the model, docks it and checks everything against the CLI. Gives the numbers compared.
async function checkModel(page, input, expected, dockedText,
                          { markersApart = true, picture = null, open = openModel } = {}) {
  await open(page, input);
  const name = path.basename(input);
  assert.equal(await page.textContent('#status'), dockedText(name), `status after ${name}`);
  assert.deepEqual((await page.inputValue('#memo')).split('\n'), expected.statistics,
                   `memo of ${name}`);

  const headings = await page.$$eval('#reportGroups h3', (hs) => hs.map((h) => h.textContent));
  const entries = await page.$$eval('#reportGroups ul', (ls) => ls.map((l) => l.children.length));
  const lists = ['near_misses', 'attachments', 'snapped', 'corrections', 'splines'];
  const shown = lists.filter((list) => expected.report[list].length > 0);
  assert.equal(headings.length, shown.length, `report groups of ${name}`);
  shown.forEach((list, i) => {
    assert.ok(headings[i].includes(`(${expected.report[list].length})`),
              `${name}: "${headings[i]}" counts ${expected.report[list].length} ${list}`);
    const count = expected.report[list].length;
    assert.equal(entries[i], count > 1000 ? 1001 : count, `${name}: entries of ${list}`);
  });

  // Markers of one place cover each other (the last kind drawn on top): where they lie apart,
  // each kind listed must show; elsewhere at least one.
  const pixels = await markerPixels(page);
  for (const list of Object.keys(markerColours)) {
    if (expected.report[list].length === 0)
      assert.equal(pixels[list], 0, `${name}: a marker drawn for ${list}, which is empty`);
    else if (markersApart)
      assert.ok(pixels[list] > 0, `${name}: no marker drawn for ${list}`);
  }
  assert.ok(Object.values(pixels).some((n) => n > 0) ||
            Object.keys(markerColours).every((list) => expected.report[list].length === 0),
            `${name}: no marker drawn`);

  if (picture) await page.screenshot({ path: picture });

  const saved = await downloadOf(page, () => page.click('#saveButton'));
  assert.equal(saved.name, name);
  assert.ok(saved.bytes.equals(expected.bytes), `${name}: downloaded bytes differ from the CLI's`);

  const attachErrShown = !(await page.$eval('#attachErrLink', (a) => a.hidden));
  assert.equal(attachErrShown, expected.attachErr !== null, `${name}: attach_err.txt link`);
  if (expected.attachErr) {
    const attachErr = await downloadOf(page, () => page.click('#attachErrLink'));
    assert.equal(attachErr.name, 'attach_err.txt');
    assert.ok(attachErr.bytes.equals(expected.attachErr), `${name}: attach_err.txt differs`);
  }
  return { name, bytes: saved.bytes.length, statistics: expected.statistics,
           markers: pixels, attachErr: expected.attachErr ? expected.attachErr.length : 0 };
}

async function withPage(browser, locale, run) {
  const context = await browser.newContext({ locale, acceptDownloads: true,
                                             viewport: { width: 1200, height: 720 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto('file://' + path.resolve(pageFolder, 'index.html'));
  await page.waitForSelector('body[data-ready="true"]');
  try {
    await run(page);
  } finally {
    await context.close();
  }
  assert.deepEqual(errors, [], 'errors in the page');
}

(async () => {
  const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
  const compared = [];
  try {
    const english = (name) => `Mirrorknitted ${name}`;
    await withPage(browser, 'en-US', async (page) => {
      assert.match(await page.textContent('#privacy'), /never leaves your computer/);
      const cases = [
        path.join(root, 'examples/seam.mdl'),
        path.join(root, 'examples/ring.seg'),
        path.join(root, 'examples/car.seg'),
      ];
      for (const input of cases) {
        const picture = input === cases[0] ? screenshot : null;
        compared.push(await checkModel(page, input, cliDock(input), english, { picture }));
      }
      // Missing attachment targets: attach_err.txt to download. The model is a few points on a
      // line, so its markers share one place.
      const dangling = path.join(root, 'tests/data/mdl/dangling_attachments/input.mdl');
      compared.push(await checkModel(page, dangling, cliDock(dangling), english,
                                     { markersApart: false }));

      // A docked model is shown as read until the user says to dock it again.
      const whole = path.join(work, 'whole.mdl');
      fs.writeFileSync(whole, cliDock(cases[0]).bytes);
      await openModel(page, whole);
      assert.equal(await page.textContent('#status'),
                   'Not docked: whole.mdl is shown as read, nothing saved');
      assert.match(await page.textContent('#redockText'), /looks docked already.*\n.*again\?/s);
      assert.ok(await page.isDisabled('#saveButton'));
      await page.click('#redockYes');
      await page.waitForFunction(() => document.getElementById('status').textContent
                                         .startsWith('Mirrorknitted'));
      const again = cliDock(whole, ['--force']);
      const saved = await downloadOf(page, () => page.click('#saveButton'));
      assert.ok(saved.bytes.equals(again.bytes), 'docked again: bytes differ from dock --force');
      compared.push({ name: 'whole.mdl docked again', bytes: saved.bytes.length,
                      statistics: again.statistics });

      // Enter in the tolerance box docks the file again, with "," read as the decimal point.
      await openModel(page, cases[0]);
      await page.fill('#tolerance', '0,8');
      await page.$eval('#status', (status) => { status.textContent = ''; });
      await page.press('#tolerance', 'Enter');
      await page.waitForFunction(() => document.getElementById('status').textContent !== '');
      const wider = cliDock(cases[0], ['-t', '0.8']);
      assert.deepEqual((await page.inputValue('#memo')).split('\n'), wider.statistics);
      const redocked = await downloadOf(page, () => page.click('#saveButton'));
      assert.ok(redocked.bytes.equals(wider.bytes), 'tolerance 0,8: bytes differ from -t 0.8');
      compared.push({ name: 'seam.mdl docked again at 0,8', bytes: redocked.bytes.length,
                      statistics: wider.statistics });

      // The ids switch writes labels in the label colour on both views, and takes them away.
      const labelColour = [0, 128, 0];
      assert.equal(await pixelsOf(page, 'sourceView', labelColour), 0);
      await page.check('#showIds');
      assert.ok(await pixelsOf(page, 'sourceView', labelColour) > 0, 'no id labels drawn');
      assert.ok(await pixelsOf(page, 'dockedView', labelColour) > 0, 'no id labels drawn');
      await page.uncheck('#showIds');
      assert.equal(await pixelsOf(page, 'dockedView', labelColour), 0);
    });

    await withPage(browser, 'ja-JP', async (page) => {
      assert.match(await page.textContent('#privacy'), /コンピュータの外へ送られません/);
      const input = path.join(root, 'examples/head.mdl');
      compared.push(await checkModel(page, input, cliDock(input),
                                     (name) => `${name} をMirrorknitしました。`,
                                     { open: dropModel }));
      assert.equal(await page.textContent('#openText'), 'ファイルを開く');
    });
  } finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  for (const c of compared)
    console.log(`same bytes as the CLI: ${c.name} (${c.bytes} bytes; ${c.statistics.join('; ')}` +
                (c.markers ? `; marker pixels ${JSON.stringify(c.markers)}` : '') +
                (c.attachErr ? `; attach_err.txt ${c.attachErr} bytes` : '') + ')');
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
