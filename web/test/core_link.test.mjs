// The core in WebAssembly against the simulated radio, through the bridge: a read and a write
// with verify, and the bytes on the wire compared with what the desktop's command line sends.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { startBridge, startSimulator, receivedBytes } from '../tools/bridge.mjs';
import {
  desktopProgram, halyxCli, loadCore, newSession, patternedImage, runExchange, tempDir,
} from './helpers.mjs';

const core = await loadCore();
const simulator = desktopProgram('halyx-radiosim');

async function withRadio(simArgs, body) {
  const sim = await startSimulator(simulator, ['--verbose', ...simArgs]);
  const bridge = await startBridge({ ptyPath: sim.path });
  try {
    await body(bridge.url, sim.path);
  } finally {
    await bridge.stop();
  }
  return sim.stop();
}

const sameRegion = (a, b, from, to) => assert.deepEqual(a.slice(from, to), b.slice(from, to));

test('a read fills the header and the twenty records and sends what the desktop sends', async () => {
  const dir = tempDir();
  const memory = patternedImage();
  fs.writeFileSync(path.join(dir, 'radio.kda'), memory);
  const session = await newSession(core);
  const before = session.imageBytes();

  let events;
  const pageLog = await withRadio(['--image', path.join(dir, 'radio.kda')], async (url) => {
    events = await runExchange(session, url, () => session.startRead());
  });
  assert.deepEqual(events.at(-1), { type: 'finished', number: 0, text: 'S0009' });
  assert.deepEqual(events.filter((e) => e.type === 'progress').map((e) => e.number),
    Array.from({ length: 20 }, (_, i) => i + 2));
  const after = session.imageBytes();
  sameRegion(after, memory, 0, 41);
  sameRegion(after, memory, 67, 607);
  sameRegion(after, before, 41, 67);  // bytes no block carries keep what the file held
  sameRegion(after, before, 607, 2048);
  assert.equal(session.canUndo(), false);

  const cliLog = await withRadio(['--image', path.join(dir, 'radio.kda')], async (_url, pty) => {
    const result = await halyxCli(['read', '--port', pty, '-o', path.join(dir, 'cli.kda'), '--no-backup']);
    assert.equal(result.code ?? 0, 0, String(result.stderr));
  });
  assert.deepEqual(receivedBytes(pageLog), receivedBytes(cliLog));
  assert.equal(receivedBytes(pageLog).length, 8 + 20 * 3);
});

test('an edit written and verified lands in the radio as the desktop writes it', async () => {
  const dir = tempDir();
  const session = await newSession(core);
  assert.equal(session.loadImage(patternedImage(), 'pattern.kda'), '');
  assert.ok(session.commitCell(3, 1, '446.0123'));  // off-step: stored as 446.01000, TX too
  assert.equal(session.rows()[2][1], '446.01000');
  assert.equal(session.rows()[2][2], '446.01000');
  assert.ok(session.setPanelChoice('squelchLevel', 8));
  const sent = session.imageBytes();
  fs.writeFileSync(path.join(dir, 'edited.kda'), session.savedImage());

  let events;
  const pageLog = await withRadio(['--save', path.join(dir, 'page-radio.bin')], async (url) => {
    events = await runExchange(session, url, () => session.startWrite());
  });
  assert.equal(events.find((e) => e.type === 'finished').text, 'S0008');
  assert.ok(events.some((e) => e.type === 'title' && e.text === 'S0201'));
  const radio = new Uint8Array(fs.readFileSync(path.join(dir, 'page-radio.bin')));
  const expected = Uint8Array.from(sent);
  expected[67] = 1;  // record block 2 always goes out with the in-use mark
  sameRegion(radio, expected, 0, 41);
  sameRegion(radio, expected, 67, 607);
  assert.deepEqual(session.imageBytes(), sent);  // writing never changes the image

  const cliLog = await withRadio(['--save', path.join(dir, 'cli-radio.bin')], async (_url, pty) => {
    const result = await halyxCli(['write', '--no-read-first', '--port', pty, path.join(dir, 'edited.kda')]);
    assert.equal(result.code ?? 0, 0, String(result.stderr));
  });
  assert.deepEqual(receivedBytes(pageLog), receivedBytes(cliLog));
});

test('a silent radio fails after three attempts and leaves the image as it was', async () => {
  const session = await newSession(core);
  session.loadImage(patternedImage(), 'pattern.kda');
  const before = session.imageBytes();
  let events;
  const log = await withRadio(['--silent'], async (url) => {
    events = await runExchange(session, url, () => session.startRead());
  });
  assert.equal(events.find((e) => e.type === 'finished').text, 'S0006');
  assert.deepEqual(session.imageBytes(), before);
  // The request once, then two NAKs about a second apart.
  assert.deepEqual(Array.from(receivedBytes(log)),
    [0x35, 1, 2, 1, 0, 0x49, 0, 0x10, 0x36, 5, 0x10, 0x36, 5, 0x10]);
});

test('a read-back that differs is reported with its own text', async () => {
  const session = await newSession(core);
  session.loadImage(patternedImage(), 'pattern.kda');
  let events;
  await withRadio(['--readback-differs'], async (url) => {
    events = await runExchange(session, url, () => session.startWrite());
  });
  assert.equal(events.find((e) => e.type === 'finished').text, 'S0200');
});
