// How the page comes to the browser: each file compressed as the server sends it, with a tag
// that lets a second visit download nothing; the program's files fetched once, with the progress
// shown before the first frame, and never again for a restart or the player's own content; a
// normal load leaves nothing in the console but SDL's one notice.
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { useSession, site } from './site_session.mjs';

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kavorind-loading-'));

const served = useSession();

after(() => {
  fs.rmSync(scratch, { recursive: true, force: true });
});

function get(name, headers = {}) {
  return new Promise((resolve, reject) => {
    http.get(served.address + name, { headers }, (response) => {
      const pieces = [];
      response.on('data', (piece) => pieces.push(piece));
      response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(pieces) }));
    }).on('error', reject);
  });
}

// The program's files under the names the build gave them, as the page reads them.
function programFiles() {
  const text = fs.readFileSync(path.join(site, 'kavorind-files.js'), 'utf8');
  return JSON.parse(text.slice(text.indexOf('{'), text.lastIndexOf('}') + 1));
}

const pageFiles = ['index.html', 'kavorind-files.js', 'program_files.js', 'zip.js', 'scores.js', 'player_files.js', 'page.js', 'favicon.ico'];

test('every file goes out compressed as the browser asks, tagged, the program\'s files cached for good, and all of it under 4 MB', async () => {
  const files = programFiles();
  let served = 0;
  for (const name of [...pageFiles, files.js.name, files.wasm.name, files.data.name]) {
    const raw = fs.readFileSync(path.join(site, name));
    const brotli = await get(name, { 'Accept-Encoding': 'gzip, deflate, br' });
    assert.equal(brotli.status, 200, name);
    assert.equal(brotli.headers['content-encoding'], 'br', name);
    assert.ok(zlib.brotliDecompressSync(brotli.body).equals(raw), `${name}: the brotli body is not the file`);
    served += brotli.body.length;
    const gzip = await get(name, { 'Accept-Encoding': 'gzip' });
    assert.equal(gzip.headers['content-encoding'], 'gzip', name);
    assert.ok(zlib.gunzipSync(gzip.body).equals(raw), `${name}: the gzip body is not the file`);
    const plain = await get(name);
    assert.equal(plain.headers['content-encoding'], undefined, name);
    assert.ok(plain.body.equals(raw), name);
    assert.equal(plain.headers['content-type'], brotli.headers['content-type'], name);

    const forGood = /^kavorind\.[0-9a-f]{16}\./.test(name);
    assert.match(brotli.headers['cache-control'], forGood ? /immutable/ : /no-cache/, name);
    const again = await get(name, { 'Accept-Encoding': 'br', 'If-None-Match': brotli.headers.etag });
    assert.equal(again.status, 304, `${name} was sent again though unchanged`);
    assert.equal(again.body.length, 0);
    assert.notEqual(brotli.headers.etag, plain.headers.etag, `${name}: one tag for two encodings`);
  }
  assert.equal((await get(files.wasm.name)).headers['content-type'], 'application/wasm');
  console.log(`served compressed: ${served} bytes`);
  assert.ok(served < 4e6, `the page weighs ${served} bytes as served`);
});

// Every answer the page got from the network: its address, status and whether the cache gave it.
function networkLog(page) {
  const log = [];
  page.on('response', (response) => log.push({ url: response.url(), status: response.status(), cached: response.fromCache() }));
  return log;
}

const downloaded = (log, pattern) => log.filter((entry) => pattern.test(entry.url) && entry.status === 200 && !entry.cached);

test('the progress shows before the first frame; a restart and the player\'s own content download nothing again, nor does a second visit', { timeout: 180000 }, async () => {
  const context = await served.browser.createIncognitoBrowserContext();
  const page = await context.newPage();
  const log = networkLog(page);
  await page.goto(served.address + '?mute');
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.firstFrameMs !== null, { timeout: 60000 });
  const { progress, firstFrameMs } = await page.evaluate(() => ({ progress: kavorind.progress, firstFrameMs: kavorind.firstFrameMs }));
  const total = progress[0].total;
  assert.ok(progress.some((step) => step.loaded > 0 && step.loaded < total && step.ms < firstFrameMs), 'no progress shown while the files came');
  assert.equal(progress.at(-1).loaded, total);
  assert.equal(await page.$eval('#progress', (bar) => bar.hidden), true);
  const program = /kavorind\.[0-9a-f]{16}\.(wasm|data|js)$/;
  assert.equal(downloaded(log, program).length, 3);
  assert.deepEqual(log.filter((entry) => entry.status >= 400), [], 'a file the page asked for is missing');

  // The game closed and started again, then on the player's copy of the default content.
  await page.evaluate(() => kavorind.module._kavorind_page_close());
  await page.waitForFunction(() => kavorind.state === 'ended', { timeout: 30000 });
  await page.locator('#start-again').click();
  await page.waitForFunction(() => kavorind.starts === 2 && kavorind.state === 'running' && kavorind.tick() > 3, { timeout: 30000 });
  const copy = path.join(scratch, 'own-content');
  fs.mkdirSync(copy);
  const files = await page.evaluate(() => kavorind.module.FS.readdir('/data').filter((name) => !name.startsWith('.'))
    .map((name) => [name, btoa(Array.from(kavorind.module.FS.readFile('/data/' + name), (byte) => String.fromCharCode(byte)).join(''))]));
  for (const [name, bytes] of files) fs.writeFileSync(path.join(copy, name), Buffer.from(bytes, 'base64'));
  await (await page.$('#content-folder')).uploadFile(copy);
  await page.waitForFunction(() => kavorind.starts === 3 && kavorind.state === 'running' &&
    kavorind.module.FS.analyzePath('/custom').exists && kavorind.tick() > 3, { timeout: 60000 });
  assert.equal(log.filter((entry) => program.test(entry.url)).length, 3, 'a game started again fetched the program again');

  // A second visit: what the page asks is answered from the cache or with "not modified".
  log.length = 0;
  await page.goto(served.address + '?mute');
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.firstFrameMs !== null, { timeout: 60000 });
  assert.ok(log.length >= pageFiles.length - 1, `only ${log.length} answers logged`);
  assert.deepEqual(downloaded(log, /./).map((entry) => entry.url), [], 'downloaded again on the second visit');
  await context.close();
});

test('a normal load with sound says nothing in the console but SDL\'s notice about its ScriptProcessorNode', { timeout: 120000 }, async () => {
  const page = await served.browser.newPage();
  const said = [];
  page.on('console', (message) => {
    if (message.type() !== 'log' && message.type() !== 'info' && message.type() !== 'debug') said.push(`${message.type()}: ${message.text()}`);
  });
  page.on('pageerror', (error) => said.push(`error: ${error.message}`));
  page.on('requestfailed', (request) => said.push(`failed: ${request.url()}`));
  await page.goto(served.address);
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.tick() > 30, { timeout: 60000 });
  // The sound starts with the first key.
  await page.keyboard.press('ArrowDown');
  await page.waitForFunction((tick) => kavorind.tick() > tick, { timeout: 10000 }, await page.evaluate(() => kavorind.tick() + 30));
  assert.deepEqual(said.filter((line) => !/ScriptProcessorNode is deprecated/.test(line)), []);
  await page.close();
});
