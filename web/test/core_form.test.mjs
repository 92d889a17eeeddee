// The form's calls into the core reach the bytes the desktop's form stores, and the interchange
// calls give the desktop's results: a mapping slip in the binding layer shows here.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { loadCore, newSession, patternedImage } from './helpers.mjs';

const core = await loadCore();
const kHeader = { timeOut: 23, vox: 24, serial: 12, userId: 25, channel: 31, squelch: 32, language: 33, scramble: 34, compand: 35, power: 36 };

test('settings and cells store the bytes the desktop stores, each one undo step', async () => {
  const s = await newSession(core);
  s.loadImage(patternedImage(), 'pattern.kda');
  const tot = s.panel().timeOut.entries.indexOf('120s');
  assert.ok(s.setPanelChoice('timeOut', tot));
  assert.ok(s.setPanelChoice('voxLevel', 3));
  assert.ok(s.setPanelChoice('squelchLevel', 8));
  assert.ok(s.setPanelChoice('settingsChannel', 19));
  assert.ok(s.setPanelChoice('language', 1));
  assert.ok(s.setPanelChoice('txPower', 2));
  assert.ok(s.setPanelCheck('scramble', true));
  assert.ok(s.setPanelCheck('compand', false));
  assert.ok(s.setPanelText('serialNumber', 'AB12'));
  assert.ok(s.setPanelText('userId', 'XYZ'));
  assert.equal(s.setPanelText('serialNumber', 'A-1'), false);  // the box never takes a hyphen
  const b = s.imageBytes();
  assert.deepEqual([b[kHeader.timeOut], b[kHeader.vox], b[kHeader.squelch], b[kHeader.channel],
    b[kHeader.language], b[kHeader.power], b[kHeader.scramble], b[kHeader.compand]], [120, 3, 9, 20, 1, 2, 1, 0]);
  assert.deepEqual(Array.from(b.slice(kHeader.serial, kHeader.serial + 10)), [0x41, 0x42, 0x31, 0x32, 0, 0, 0, 0, 0, 0]);
  assert.deepEqual(Array.from(b.slice(kHeader.userId, kHeader.userId + 6)), [0x58, 0x59, 0x5a, 0, 0, 0]);
  const panel = s.panel();
  assert.equal(panel.squelchLevel.selected, 8);
  assert.equal(panel.serialNumber, 'AB12');

  // A time-out the list does not hold leaves the list as it was; a squelch of 0 selects nothing.
  const odd = patternedImage();
  odd[kHeader.timeOut] = 35;
  odd[kHeader.squelch] = 0;
  s.loadImage(odd, 'odd.kda');
  assert.equal(s.panel().timeOut.selected, null);
  assert.equal(s.panel().squelchLevel.selected, -1);

  // Cells: receive tone sets the transmit tone, a later transmit tone only itself; bandwidth.
  const record = 40 + 27 * 5;
  assert.ok(s.commitCellChoice(5, 3, 10));
  assert.ok(s.commitCellChoice(5, 4, 60));
  assert.ok(s.commitCellChoice(5, 5, 0));  // odd channels of the pattern are 25K
  const after = s.imageBytes();
  assert.deepEqual([after[record + 13], after[record + 14], after[record + 15]], [10, 60, 0]);
  assert.deepEqual(s.rows()[4].slice(3), [s.toneTexts()[10], s.toneTexts()[60], '12.5K']);
  // An emptied receive cell empties the channel (both frequencies zero).
  assert.ok(s.commitCell(5, 1, ''));
  assert.deepEqual(Array.from(s.imageBytes().slice(record + 2, record + 10)), [0, 0, 0, 0, 0, 0, 0, 0]);
  assert.deepEqual(s.rows()[4].slice(1), ['', '', '', '', '']);
  for (let i = 0; i < 4; i++) assert.ok(s.undo());
  assert.deepEqual(s.imageBytes(), odd);
  assert.equal(s.undo(), false);  // the load started the history afresh
});

test('interchange: export and import give back the channels, compare names a difference, the sheet shows them', async () => {
  const s = await newSession(core);
  s.loadImage(patternedImage(), 'pattern.kda');
  const original = s.imageBytes();
  const csv = s.exportCsv();
  assert.equal(csv.split('\r\n').filter(Boolean).length, 21);  // header + 20 channels
  const report = s.importCsv(csv, true);
  assert.equal(report.imported, 20);
  assert.deepEqual(s.imageBytes(), original);  // importing what was exported changes no byte
  assert.match(s.importCsv('not,a\r\n"open', false).error, /^line \d+: /);

  const other = Uint8Array.from(original);
  other[32] = 7;  // squelch
  const compare = s.compareWith(other, 'other.kda');
  assert.equal(compare.lines.length, 1);
  assert.match(compare.lines[0], /Squelch/);
  assert.deepEqual(s.compareWith(original, 'same.kda').lines, ['The two images are identical.']);
  assert.equal(s.compareWith(new Uint8Array(2049), 'big.kda').error, '-');  // refused, no message

  const sheet = s.sheetHtml('pattern.kda', '2026-12-09');
  for (const text of ['pattern.kda', '2026-12-09', s.rows()[0][1], s.rows()[19][1]]) assert.ok(sheet.includes(text), text);
});
