// The page in a real browser against the simulated radio: what a technician does with it, and
// the bytes on the wire against the desktop's for the same read and write.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { receivedBytes, startBridge, startSimulator } from '../tools/bridge.mjs';
import { answerBox, gridRows, openPage, startBrowser, waitForDownload } from './browser.mjs';
import { desktopProgram, halyxCli, loadCore, newSession, patternedImage, site, tempDir } from './helpers.mjs';

const core = await loadCore();
const simulator = desktopProgram('halyx-radiosim');
const screenshots = process.env.HALYX_WEB_SCREENSHOTS;
let env;

before(async () => { env = await startBrowser(); });
after(async () => { await env.close(); });

async function radio(args) {
  const sim = await startSimulator(simulator, ['--verbose', ...args]);
  const bridge = await startBridge({ ptyPath: sim.path });
  return {
    url: bridge.url,
    path: sim.path,
    async stop() { await bridge.stop(); return sim.stop(); },
  };
}

const command = (page, name) => page.locator(`::-p-aria(${name})`).click();

async function runDialog(page, commandName, bridgeUrl, whileRunning) {
  await page.evaluate((url) => { window.__bridgeUrl = url; }, bridgeUrl);
  await command(page, commandName);
  await page.waitForSelector('dialog.exchange[open]');
  await page.click('dialog.exchange .buttons button');  // OK starts
  if (whileRunning) await whileRunning();
  return answerBox(page);
}

test('read, edit in the grid and the panel, write and verify: the radio holds the edit and the wire is the desktop\'s', async () => {
  const dir = tempDir();
  const memory = patternedImage();
  fs.writeFileSync(path.join(dir, 'radio.kda'), memory);
  const sim = await radio(['--image', path.join(dir, 'radio.kda'), '--save', path.join(dir, 'after.bin')]);
  const page = await openPage(env);

  const box = await runDialog(page, 'Read from Radio', sim.url, async () => {
    await page.waitForFunction(() => document.querySelector('dialog.exchange progress')?.value > 0.3);
    if (screenshots) await page.screenshot({ path: path.join(screenshots, 'web-english-read.png') });
  });
  assert.deepEqual(box, { caption: 'CPS', text: 'Read completed successfully.' });
  const expected = await newSession(core);
  expected.loadImage(fs.readFileSync(path.join(site, 'default.kda')), 'default.kda');  // as the page starts
  const base = expected.imageBytes();
  const read = Uint8Array.from(base);
  read.set(memory.slice(0, 41), 0);
  read.set(memory.slice(67, 607), 67);
  expected.loadImage(read, 'read.kda');
  assert.deepEqual(await gridRows(page), expected.rows());
  assert.equal(await page.$eval('#setting-squelchLevel', (s) => s.selectedIndex),
    expected.panel().squelchLevel.selected);

  // Grid by keyboard: Enter opens the editor, Enter stores (corrected), Escape leaves unchanged.
  await page.click('tbody tr:nth-child(3) td:nth-child(2)');
  await page.keyboard.type('446.0123');
  await page.keyboard.press('Tab');  // stores, then opens the transmit cell's editor
  assert.equal(await page.evaluate(() => document.activeElement.value), '446.01000');
  await page.keyboard.press('Escape');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), '446.01000');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('F2');
  await page.keyboard.type('999');
  await page.keyboard.press('Escape');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');  // receive tone of channel 4: a list
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Escape');
  await page.select('#setting-squelchLevel', '9');
  expected.commitCell(3, 1, '446.0123');
  expected.commitCellChoice(4, 3, 5);  // the list opened on 74.4 (position 4); one step down
  expected.setPanelChoice('squelchLevel', 8);
  assert.deepEqual(await gridRows(page), expected.rows());
  const image = Uint8Array.from(await page.evaluate(() => Array.from(window.halyx.session.imageBytes())));
  assert.deepEqual(image, expected.imageBytes());

  const written = await runDialog(page, 'Write to Radio', sim.url);
  assert.deepEqual(written, { caption: 'CPS', text: 'Write completed and verified.' });
  assert.equal(await page.evaluate(() => window.__portRequests), 1);  // the port is kept
  assert.deepEqual(await page.evaluate(() => window.__openOptions),
    { baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
  const pageLog = await sim.stop();

  const radioMemory = new Uint8Array(fs.readFileSync(path.join(dir, 'after.bin')));
  const sent = Uint8Array.from(image);
  sent[67] = 1;  // record block 2 always goes out with the in-use mark
  assert.deepEqual(radioMemory.slice(0, 41), sent.slice(0, 41));
  assert.deepEqual(radioMemory.slice(67, 607), sent.slice(67, 607));

  // The desktop's command line: the same read, then a write of the same image.
  fs.writeFileSync(path.join(dir, 'edited.kda'), image);
  const cli = await radio(['--image', path.join(dir, 'radio.kda')]);
  const r = await halyxCli(['read', '--port', cli.path, '-o', path.join(dir, 'cli.kda'), '--no-backup']);
  const w = await halyxCli(['write', '--no-read-first', '--port', cli.path, path.join(dir, 'edited.kda')]);
  const cliLog = await cli.stop();
  assert.equal((r.code ?? 0) + (w.code ?? 0), 0, String(r.stderr) + String(w.stderr));
  assert.deepEqual(receivedBytes(pageLog), receivedBytes(cliLog));
  await page.close();
});

test('a silent radio and a read-back that differs: the desktop\'s texts, the image untouched', async () => {
  const page = await openPage(env);
  const before = await page.evaluate(() => Array.from(window.halyx.session.imageBytes()));
  const silent = await radio(['--silent']);
  const failed = await runDialog(page, 'Read from Radio', silent.url);
  assert.deepEqual(failed, { caption: 'CPS', text: 'Communication with the radio failed. Check the cable and that the radio is switched on.' });
  assert.ok(await page.$('dialog.exchange[open]'), 'the dialog stays open after a failure');
  await page.keyboard.press('Escape');
  await silent.stop();
  assert.deepEqual(await page.evaluate(() => Array.from(window.halyx.session.imageBytes())), before);

  const differs = await radio(['--readback-differs']);
  const box = await runDialog(page, 'Write to Radio', differs.url);
  assert.equal(box.text, 'Verification failed: the data read back from the radio differs from the data written.');
  await differs.stop();
  await page.close();
});

test('open and save round trip byte for byte; a CSV import reports what it did', async () => {
  const dir = tempDir();
  const downloads = path.join(dir, 'downloads');
  const page = await openPage(env, { downloads });
  const file = patternedImage();
  fs.writeFileSync(path.join(dir, 'pattern.kda'), file);
  const [chooser] = await Promise.all([page.waitForFileChooser(), command(page, 'Open...')]);
  await chooser.accept([path.join(dir, 'pattern.kda')]);
  await page.waitForFunction(() => document.querySelector('tbody tr td').dataset.text === '446.01250');
  await command(page, 'Save...');
  assert.deepEqual(new Uint8Array(await waitForDownload(downloads, 'Default.kda')), file);

  fs.writeFileSync(path.join(dir, 'list.csv'),
    'Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode\r\n' +
    '1,,446.100000,,0.000000,Tone,88.5,88.5,023,NN,023,Tone->Tone,NFM\r\n' +
    '2,,999.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM\r\n');
  const [csv] = await Promise.all([page.waitForFileChooser(), command(page, 'Import Channels (CSV)...')]);
  await csv.accept([path.join(dir, 'list.csv')]);
  await answerBox(page);  // "Empty all 20 channels first?" Yes
  await page.waitForSelector('dialog.box[open] table.report');
  const report = await page.$eval('dialog.box', (d) => ({
    summary: d.querySelector('p').textContent,
    lines: Array.from(d.querySelectorAll('table.report tr'), (tr) => tr.firstElementChild.textContent),
  }));
  assert.match(report.summary, /^\d+ channels imported\.$/);
  assert.ok(report.lines.includes('3'), `the bad row (line 3) is reported: ${JSON.stringify(report)}`);
  await page.click('dialog.box .buttons button');
  assert.equal((await gridRows(page))[0][1], '446.10000');

  // One import is one undo step.
  await command(page, 'Undo');
  assert.equal((await gridRows(page))[0][1], '446.01250');

  // The row menu from the keyboard: channel 1 moves down a place, record and all.
  const rows = await gridRows(page);
  await page.focus('tbody tr:nth-child(1) th');
  await page.keyboard.down('Shift');
  await page.keyboard.press('F10');
  await page.keyboard.up('Shift');
  await page.locator('::-p-aria(Move down)').click();
  const moved = await gridRows(page);
  assert.deepEqual(moved.map((r) => r.slice(1)), [rows[1], rows[0], ...rows.slice(2)].map((r) => r.slice(1)));

  // New asks first, then brings back the shipped default image.
  await command(page, 'New');
  assert.equal((await answerBox(page)).text, 'Restore the default data? Changes that have not been saved will be lost.');
  await page.waitForFunction((expected) => window.halyx.session.imageBytes().every((b, i) => b === expected[i]),
    { timeout: 5000 }, Array.from(fs.readFileSync(path.join(site, 'default.kda'))));
  await page.close();
});

test('languages switch at once and are remembered; without Web Serial the page says so and still edits; offline it still loads', async () => {
  const page = await openPage(env);
  await command(page, 'Simplified Chinese');
  const zh = (key) => page.evaluate((k) => window.halyx.session.langString(k).replace(/&(.)/g, '$1'), key);
  const readName = await zh('S0058');
  assert.notEqual(readName, 'Read from Radio');
  assert.ok(await page.$(`::-p-aria(${readName})`), 'commands carry the Chinese menu texts');
  assert.equal(await page.$eval('thead th:nth-child(2)', (th) => th.textContent), await zh('S0022'));
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.ok(await page.$(`::-p-aria(${readName})`), 'the choice survives a reload');
  if (screenshots) await page.screenshot({ path: path.join(screenshots, 'web-chinese.png') });

  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal((await gridRows(page)).length, 20);
  await page.setOfflineMode(false);
  await command(page, await zh('S0063'));
  await page.close();

  const plain = await openPage(env, { webSerial: false });
  const notice = await plain.$eval('p.notice', (p) => ({ hidden: p.hidden, text: p.textContent }));
  assert.deepEqual(notice, { hidden: false, text: await plain.evaluate(() => window.halyx.texts.or('S0210', '')) });
  assert.ok(notice.text.includes('Web Serial'));
  assert.equal(await plain.$eval('::-p-aria(Read from Radio)', (b) => b.disabled), true);
  await plain.click('tbody tr:nth-child(1) td:nth-child(2)');
  await plain.keyboard.type('400');
  await plain.keyboard.press('Enter');
  assert.equal((await gridRows(plain))[0][1], '406.10000');
  await plain.close();
});
