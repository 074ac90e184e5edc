// The player's own files in the browser: a run that ends is kept in the browser's storage and
// shown in the page's table, which a reload keeps, whose replay downloads byte for byte and plays
// the run again; a page without storage still plays and says so once; a hidden tab stops the game.
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { useSession } from './site_session.mjs';

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kavorind-player-'));

const served = useSession();

after(() => {
  fs.rmSync(scratch, { recursive: true, force: true });
});

async function openGame(page, query) {
  await page.goto(served.address + query);
  await page.waitForFunction(() => window.kavorind && kavorind.state !== 'loading', { timeout: 60000 });
  assert.equal(await page.evaluate(() => kavorind.state), 'running');
}

async function newPage(context = served.browser) {
  const page = await context.newPage();
  await page.setViewport({ width: 960, height: 760 });
  return page;
}

// The table as the page shows it: rank, score, stage, cleared and name of each entry, and its date.
async function shownTable(page) {
  return page.$$eval('#score-table tbody tr.entry', (rows) => rows.map((row) => ({
    cells: [...row.cells].map((cell) => cell.textContent),
    date: row.nextElementSibling.querySelector('.date').title,
  })));
}

// Held long enough for the game's ticks to see it.
async function press(page, key, holdMs = 200) {
  await page.keyboard.down(key);
  await new Promise((resolve) => setTimeout(resolve, holdMs));
  await page.keyboard.up(key);
}

async function waitForFile(folder) {
  for (let tries = 0; tries < 100; ++tries) {
    const done = fs.readdirSync(folder).filter((name) => !name.endsWith('.crdownload'));
    if (done.length) return path.join(folder, done[0]);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  assert.fail('nothing was downloaded');
}

// The game's trace lines so far.
async function traceOf(page) {
  const text = await page.evaluate(() => {
    try { return kavorind.readFile('/trace.jsonl'); } catch { return ''; }
  });
  return text.split('\n').filter((line) => line.endsWith('}')).map((line) => JSON.parse(line));
}

async function waitForScene(page, scene, what) {
  await page.waitForFunction((wanted) => {
    try {
      return kavorind.readFile('/trace.jsonl').trimEnd().split('\n').at(-1).includes(`"scene":${wanted},`);
    } catch {
      return false;
    }
  }, { timeout: 30000 }, scene).catch(() => assert.fail(`the game never showed ${what}`));
}

// From the logo through the menu and the opening into the first stage, keys pressed as a player's.
async function playIntoFirstStage(page) {
  await waitForScene(page, 2, 'the menu');
  await press(page, 'z');
  await waitForScene(page, 6, 'the opening');
  await press(page, 'z');
  await waitForScene(page, 3, 'the first stage');
}

// The last tick of the first stage before the menu came back: where the craft was, and the score.
function endOfRun(trace) {
  const menu = trace.findLastIndex((line) => line.scene === 2);
  const last = trace.slice(0, menu).findLast((line) => line.scene === 3);
  return { score: last.score, x: last.playerX, y: last.playerY };
}

test('a run that ends is kept: the table shows it, a reload keeps it, its replay downloads, and played from the table or the disk flies the run again', { timeout: 240000 }, async () => {
  const context = await served.browser.createIncognitoBrowserContext(); // storage of its own, gone after
  const page = await newPage(context);
  await openGame(page, '?mute&arg=--trace&arg=/trace.jsonl');
  await playIntoFirstStage(page);
  await press(page, 'ArrowRight', 600);
  await press(page, 'ArrowDown', 400);
  await press(page, 'Escape');
  await page.waitForFunction(() => kavorind.scores?.entries.length > 0 && kavorind.saves() > 0, { timeout: 30000 });
  const played = endOfRun(await traceOf(page));
  const { folder, fingerprint, entries } = await page.evaluate(() => kavorind.scores);
  assert.equal(entries.length, 1, 'one run, one entry');
  const [entry] = entries;
  assert.equal(entry.score, played.score);
  assert.ok(entry.replay, 'the entry has no replay');
  const written = await page.evaluate((name) => kavorind.readFile(name), `${folder}/scores.txt`);
  assert.match(written, new RegExp(`^${fingerprint}\\t${entry.score}\\t1\\tno\\t`, 'm'));
  const table = await shownTable(page);
  assert.deepEqual(table, [{ cells: ['1', String(entry.score), '1', 'no', entry.name], date: entry.date }]);
  const replay = await page.evaluate((name) => kavorind.readFile(name), `${folder}/replays/${entry.replay}`);
  assert.match(replay, /^# Kavorind replay/);

  // The same browser profile, the page loaded again: the table is read back from the storage.
  await openGame(page, '?mute&arg=--trace&arg=/trace.jsonl');
  await page.waitForFunction(() => kavorind.scores !== null, { timeout: 30000 });
  assert.deepEqual(await shownTable(page), table);
  assert.equal(await page.$eval('#last-run', (button) => button.disabled), false);

  const downloads = path.join(scratch, 'downloads');
  fs.mkdirSync(downloads);
  const session = await served.browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, browserContextId: context.id });
  await page.locator('#score-table button.download').click();
  const downloaded = await waitForFile(downloads);
  assert.equal(path.basename(downloaded), entry.replay);
  assert.equal(fs.readFileSync(downloaded, 'utf8'), replay);

  // Watch starts a new game that flies the run again, to the same place and score.
  const starts = await page.evaluate(() => kavorind.starts);
  await page.locator('#score-table button.watch').click();
  await page.waitForFunction((before) => kavorind.starts > before && kavorind.state === 'running', { timeout: 60000 }, starts);
  const args = await page.evaluate(() => kavorind.args);
  assert.equal(args[args.indexOf('--watch') + 1], `${folder}/replays/${entry.replay}`);
  await waitForScene(page, 3, 'the watched run');
  await waitForScene(page, 2, 'the menu after the watched run');
  assert.deepEqual(endOfRun(await traceOf(page)), played);

  // The downloaded file, loaded from the disk as a player's replay, flies the same run.
  const again = await page.evaluate(() => kavorind.starts);
  await (await page.$('#replay-file')).uploadFile(downloaded);
  await page.waitForFunction((before) => kavorind.starts > before && kavorind.state === 'running', { timeout: 60000 }, again);
  const loaded = await page.evaluate(() => kavorind.args);
  assert.equal(loaded[loaded.indexOf('--watch') + 1], `/watch/${entry.replay}`);
  await waitForScene(page, 3, 'the loaded replay\'s run');
  await waitForScene(page, 2, 'the menu after the loaded replay');
  assert.deepEqual(endOfRun(await traceOf(page)), played);
  await context.close();
});

test('a page whose browser keeps no storage still plays, carrying a run to the next game, and says once that scores are not kept', { timeout: 120000 }, async () => {
  const page = await newPage();
  await page.evaluateOnNewDocument(() => Object.defineProperty(window, 'indexedDB', { get: () => undefined }));
  await openGame(page, '?mute&arg=--trace&arg=/trace.jsonl');
  assert.match(await page.$eval('#notice', (notice) => notice.textContent), /keeps no storage/);
  assert.match(await page.$eval('#scores-note', (note) => note.textContent), /until the page is closed/);
  await page.locator('#dismiss-storage').click();
  await playIntoFirstStage(page);
  await press(page, 'Escape');
  await page.waitForFunction(() => kavorind.scores?.entries.length === 1, { timeout: 30000 });
  const kept = await page.evaluate(() => kavorind.scores.entries);

  // A second game, on the player's own copy of the default content as the page has it (its
  // waves ADPCM), has the run and is not told again.
  const copy = path.join(scratch, 'default-copy');
  fs.mkdirSync(copy);
  const files = await page.evaluate(() => kavorind.module.FS.readdir('/data').filter((name) => !name.startsWith('.'))
    .map((name) => [name, btoa(Array.from(kavorind.module.FS.readFile('/data/' + name), (byte) => String.fromCharCode(byte)).join(''))]));
  for (const [name, bytes] of files) fs.writeFileSync(path.join(copy, name), Buffer.from(bytes, 'base64'));
  await page.evaluate(() => { kavorind.scores = null; });
  await (await page.$('#content-folder')).uploadFile(copy);
  await page.waitForFunction(() => kavorind.starts === 2 && kavorind.state === 'running' &&
    kavorind.module.FS.analyzePath('/custom').exists && kavorind.scores !== null, { timeout: 60000 });
  assert.deepEqual(await page.evaluate(() => kavorind.scores.entries), kept);
  assert.equal(await page.$eval('#notice', (notice) => notice.hidden), true);
  assert.equal(await page.evaluate(() => kavorind.saves()), 0);
  await page.close();
});

async function stopsWhileHidden(page) {
  const other = await newPage();
  await other.bringToFront();
  await page.waitForFunction(() => document.visibilityState === 'hidden', { timeout: 5000 });
  await new Promise((resolve) => setTimeout(resolve, 300)); // the tick under way when hidden
  const hidden = await page.evaluate(() => kavorind.tick());
  await new Promise((resolve) => setTimeout(resolve, 2500)); // a hidden tab's timers still fire once a second
  const later = await page.evaluate(() => kavorind.tick());
  await page.bringToFront();
  await other.close();
  return { hidden, later };
}

test('a hidden tab stops the game\'s ticks; P plays on', { timeout: 120000 }, async () => {
  const page = await newPage();
  await openGame(page, '?mute&arg=--trace&arg=/trace.jsonl');
  await playIntoFirstStage(page);

  const { hidden, later } = await stopsWhileHidden(page);
  assert.equal(later, hidden, 'the game ticked on while its tab was hidden');
  await page.waitForFunction(() => document.visibilityState === 'visible', { timeout: 5000 });
  await press(page, 'p');
  await page.waitForFunction((stopped) => kavorind.tick() > stopped + 20, { timeout: 10000 }, later);
  await page.close();
});
