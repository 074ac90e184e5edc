// The browser build in headless chromium: the page plays the game, keys pressed through the page
// reach it, a replayed key script gives the runner's frames tick for tick and its sound calls (the
// clips' byte counts aside: the page's waves are ADPCM), and a player's own
// content (a folder or a zip) is checked as the desktop game checks it.
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { useSession, root } from './site_session.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));

const sim = path.join(root, 'build', 'kavorind-sim');
const game = path.join(root, 'build', 'kavorind');
const content = path.join(root, 'build', 'data');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kavorind-web-'));
// The desktop programs never touch the user's own settings.
const desktopEnv = {
  ...process.env, XDG_CONFIG_HOME: path.join(scratch, 'config'), XDG_DATA_HOME: path.join(scratch, 'share'),
  SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy',
};

const served = useSession({ protocolTimeout: 600000 });

after(() => {
  fs.rmSync(scratch, { recursive: true, force: true });
});

async function openGame(query) {
  const page = await served.browser.newPage();
  await page.setViewport({ width: 960, height: 760 });
  await page.goto(served.address + query);
  await page.waitForFunction(() => window.kavorind && kavorind.state !== 'loading', { timeout: 120000 });
  return page;
}

// The game's own trace lines, as far as they are written: none before the trace takes its name,
// once start-up has succeeded.
async function traceOf(page, file) {
  const text = await page.evaluate((name) => {
    try { return kavorind.readFile(name); } catch { return ''; }
  }, file);
  return text.split('\n').filter((line) => line.endsWith('}')).map((line) => JSON.parse(line));
}

async function waitForTrace(page, file, check, what) {
  for (let tries = 0; tries < 600; ++tries) {
    const lines = await traceOf(page, file);
    if (lines.length && check(lines[lines.length - 1])) return lines[lines.length - 1];
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  assert.fail(`the game never showed ${what}`);
}

async function press(page, key, holdMs = 200) {
  await page.keyboard.down(key);
  await new Promise((resolve) => setTimeout(resolve, holdMs));
  await page.keyboard.up(key);
  await new Promise((resolve) => setTimeout(resolve, 150));
}

async function keptFrame(page, tick) {
  return page.evaluate((wanted) => {
    const frame = kavorind.kept.get(wanted);
    if (!frame) return null;
    const base64 = (bytes) => {
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
      return btoa(text);
    };
    return { pixels: base64(frame.pixels), colours: base64(frame.colours) };
  }, tick);
}

// The runner's frames of the same keys, as raw indices and colours per tick.
function runnerFrames(keysFile, ticks, every, folder) {
  const run = spawnSync(sim, ['--data', content, '--keys', keysFile, '--ticks', String(ticks),
    '--frames', folder, '--every', String(every), '--raw'], { env: desktopEnv, encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
}

// Every chosen tick's frame, pixel for pixel and colour for colour; the first difference is named.
async function assertSameFrames(page, ticks, folder) {
  let compared = 0;
  for (const tick of ticks) {
    const file = path.join(folder, `frame-${String(tick).padStart(6, '0')}.raw`);
    const frame = await keptFrame(page, tick);
    assert.equal(frame !== null, fs.existsSync(file), `tick ${tick}: a frame in one run only`);
    if (!frame) continue;
    const expected = fs.readFileSync(file);
    const pixels = Buffer.from(frame.pixels, 'base64');
    const colours = Buffer.from(frame.colours, 'base64');
    const expectedPixels = expected.subarray(0, pixels.length);
    const expectedColours = expected.subarray(pixels.length);
    const pixel = pixels.findIndex((index, at) => index !== expectedPixels[at]);
    assert.equal(pixel, -1, `tick ${tick}: pixel ${pixel % 640},${Math.floor(pixel / 640)} differs`);
    const colour = colours.findIndex((value, at) => value !== expectedColours[at]);
    assert.equal(colour, -1, `tick ${tick}: palette entry ${Math.floor(colour / 3)} differs`);
    ++compared;
  }
  assert.ok(compared > 0, 'no frame compared');
}

function distinctColours(frame) {
  return new Set(Buffer.from(frame.pixels, 'base64')).size;
}

test('keys pressed through the page play the game from the logo to the quit, tick for tick as the runner plays them', async () => {
  const keep = Array.from({ length: 200 }, (_, i) => (i + 1) * 15);
  const page = await openGame(`?mute&keep=${keep}&arg=--trace&arg=/trace.jsonl&arg=--record&arg=/keys.keys`);
  assert.equal(await page.evaluate(() => kavorind.state), 'running');

  await waitForTrace(page, '/trace.jsonl', (line) => line.scene === 1 && line.tick >= 3, 'the logo');
  await waitForTrace(page, '/trace.jsonl', (line) => line.scene === 2, 'the menu');
  await press(page, 'z');
  await waitForTrace(page, '/trace.jsonl', (line) => line.scene === 6, 'the opening');
  await press(page, 'z');
  const start = await waitForTrace(page, '/trace.jsonl', (line) => line.scene === 3, 'the first stage');
  assert.equal(start.stageIndex, 0);

  await press(page, 'ArrowRight', 700);
  await press(page, 'ArrowDown', 500);
  const moved = (await traceOf(page, '/trace.jsonl')).at(-1);
  assert.equal(moved.scene, 3);
  assert.ok(moved.playerX > start.playerX, `the craft did not fly right (${start.playerX} to ${moved.playerX})`);
  assert.ok(moved.playerY > start.playerY, `the craft did not fly down (${start.playerY} to ${moved.playerY})`);

  await press(page, 'Escape');
  await waitForTrace(page, '/trace.jsonl', (line) => line.scene === 2, 'the menu again');
  await press(page, 'ArrowDown');
  await press(page, 'z');
  await page.waitForFunction(() => kavorind.state !== 'running', { timeout: 60000 });
  assert.equal(await page.evaluate(() => kavorind.state), 'ended');
  assert.match(await page.$eval('#notice', (notice) => notice.textContent), /game has ended/);

  const ticks = (await traceOf(page, '/trace.jsonl')).length;
  const keysFile = path.join(scratch, 'live.keys');
  fs.writeFileSync(keysFile, await page.evaluate(() => kavorind.readFile('/keys.keys')));
  const folder = path.join(scratch, 'live-frames');
  runnerFrames(keysFile, ticks, 15, folder);
  await assertSameFrames(page, keep.filter((tick) => tick <= ticks), folder);

  await page.locator('#start-again').click();
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.tick() > 5, { timeout: 60000 });
  await page.close();
});

// The sound calls of each tick, with the clips' byte counts left out: the page's waves are ADPCM,
// the runner's PCM, and they must be the same clips on the same channels all the same.
function soundCalls(trace) {
  return trace.filter((line) => line.sound.length)
    .map((line) => JSON.stringify({ tick: line.tick, sound: line.sound.map(({ bytes, ...call }) => ({ ...call, sized: bytes > 0 })) }));
}

test('a replayed key script runs back to back and shows the runner\'s frames at the chosen ticks, with its sound calls', async () => {
  const script = fs.readFileSync(path.join(here, 'stage-one.keys'), 'utf8');
  const chosen = [2, 30, 60, 100, 150, 200, 250, 300, 350, 420, 500, 600, 640];
  const replay = encodeURIComponent('data:text/plain,' + encodeURIComponent(script));
  const page = await openGame(`?timedemo&keep=${chosen}&replay=${replay}&arg=--trace&arg=/trace.jsonl`);
  await page.waitForFunction(() => kavorind.state !== 'running', { timeout: 300000 });
  assert.equal(await page.evaluate(() => kavorind.exitCode), 0);
  const report = (await page.evaluate(() => kavorind.output)).find((line) => line.startsWith('timedemo'));
  assert.match(report ?? '', /ticks=640 /);

  const folder = path.join(scratch, 'replay-frames');
  runnerFrames(path.join(here, 'stage-one.keys'), 640, 1, folder);
  await assertSameFrames(page, chosen, folder);
  for (const tick of [2, 100, 300])
    assert.ok(distinctColours(await keptFrame(page, tick)) > 8, `tick ${tick} shows next to nothing`);

  const runnerTrace = path.join(scratch, 'replay.jsonl');
  const run = spawnSync(sim, ['--data', content, '--keys', path.join(here, 'stage-one.keys'), '--ticks', '640',
    '--trace', runnerTrace], { env: desktopEnv, encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
  const expected = soundCalls(fs.readFileSync(runnerTrace, 'utf8').split('\n').filter(Boolean).map((line) => JSON.parse(line)));
  const calls = soundCalls(await traceOf(page, '/trace.jsonl'));
  assert.ok(expected.some((line) => line.includes('"op":"play"')), 'the runner played nothing');
  assert.deepEqual(calls, expected);
  await page.close();
});

// The desktop game's own lines about a content folder, on the dummy drivers.
function desktopComplaint(folder) {
  const run = spawnSync(game, ['--data', folder, '--windowed', '--mute'], { env: desktopEnv, encoding: 'utf8', timeout: 20000 });
  assert.equal(run.status, 1);
  return run.stderr.split('\n').filter((line) => line.startsWith('Kavorind:'));
}

test('a player\'s own content folder with a missing or damaged file is refused with the desktop\'s message', async () => {
  const victims = { missing: 'Clear-bk.bmp', damaged: 'Enemy0.spr' };
  for (const [how, victim] of Object.entries(victims)) {
    const folder = path.join(scratch, `content-${how}`);
    fs.cpSync(content, folder, { recursive: true });
    if (how === 'missing') fs.rmSync(path.join(folder, victim));
    else fs.writeFileSync(path.join(folder, victim), fs.readFileSync(path.join(folder, victim)).subarray(0, 30));
    const expected = desktopComplaint(folder);
    assert.ok(expected.some((line) => line.includes(victim)), `the desktop game does not name ${victim}: ${expected}`);

    const page = await openGame('?mute');
    const picker = await page.$('#content-folder');
    await picker.uploadFile(folder); // a folder picker is handed the folder itself
    await page.waitForFunction(() => kavorind.state === 'failed', { timeout: 120000 });
    const notice = await page.$eval('#notice', (element) => element.textContent);
    // The page names the file as the desktop does, and leaves out the desktop's command-line advice.
    for (const line of expected.map((text) => text.replace(/ ?Run "kavorind-content DIR".*$/, '')))
      assert.ok(notice.includes(line.replaceAll(folder, '/custom')), `the page does not say: ${line}\n(it says: ${notice})`);
    assert.ok(!notice.includes('kavorind-content'), `the page gives desktop advice: ${notice}`);
    await page.close();
  }
});

// The content folder zipped by python's zipfile, with one file stored rather than deflated and,
// when asked, a byte of it flipped.
function zipOfContent(zipPath, storedName, flip) {
  const script = `
import os, sys, zipfile
folder, out, stored, flip = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == "flip"
with zipfile.ZipFile(out, "w") as archive:
    for name in sorted(os.listdir(folder)):
        if not name.startswith("."):
            method = zipfile.ZIP_STORED if name == stored else zipfile.ZIP_DEFLATED
            archive.write(os.path.join(folder, name), "content/" + name, compress_type=method)
    info = archive.getinfo("content/" + stored)
if flip:
    with open(out, "r+b") as damaged:
        damaged.seek(info.header_offset + 30 + len(info.filename.encode()) + len(info.extra) + 100)
        byte = damaged.read(1)[0]
        damaged.seek(-1, 1)
        damaged.write(bytes([byte ^ 0x20]))
`;
  const run = spawnSync('python3', ['-c', script, content, zipPath, storedName, flip ? 'flip' : 'keep'], { encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
}

test('a player\'s content zip plays when whole, and one with a damaged file is refused with the desktop\'s message', async () => {
  const victim = 'Enemy0.spr';
  const folder = path.join(scratch, 'content-zip-damaged');
  fs.cpSync(content, folder, { recursive: true });
  fs.writeFileSync(path.join(folder, victim), fs.readFileSync(path.join(folder, victim)).subarray(0, 30));
  const expected = desktopComplaint(folder).find((line) => line.includes(`"${victim}"`));
  assert.ok(expected, `the desktop game does not name ${victim}`);

  const page = await openGame('?mute');
  const picker = await page.$('#content-zip');
  const damaged = path.join(scratch, 'damaged.zip');
  zipOfContent(damaged, victim, true);
  await picker.uploadFile(damaged);
  await page.waitForFunction(() => !document.getElementById('notice').hidden, { timeout: 60000 });
  const notice = await page.$eval('#notice', (element) => element.textContent);
  const line = expected.replace(/ ?Run "kavorind-content DIR".*$/, '').replace(folder, 'damaged.zip');
  assert.ok(notice.includes(line), `the page does not say: ${line}\n(it says: ${notice})`);
  // Nothing of the damaged zip reached the game, which plays on with the default content.
  assert.equal(await page.evaluate(() => kavorind.state), 'running');
  assert.equal(await page.evaluate(() => kavorind.module.FS.analyzePath('/custom').exists), false);

  const whole = path.join(scratch, 'whole.zip');
  zipOfContent(whole, victim, false);
  await picker.uploadFile(whole);
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.module.FS.analyzePath('/custom').exists &&
    kavorind.tick() > 5, { timeout: 120000 });
  assert.equal(await page.evaluate((name) => kavorind.module.FS.readFile(name).length, '/custom/' + victim),
    fs.statSync(path.join(content, victim)).size);
  await page.close();
});
