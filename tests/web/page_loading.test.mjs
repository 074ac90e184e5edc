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
    if (name !== files.data.name) served += brotli.body.length;
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

  // The content package's gzip copy, which the page fetches and unpacks itself: sent as it is.
  const packed = await get(files.data.gzip.name, { 'Accept-Encoding': 'gzip, deflate, br' });
  assert.equal(packed.status, 200);
  assert.equal(packed.headers['content-encoding'], undefined);
  assert.match(packed.headers['cache-control'], /immutable/);
  assert.equal(packed.body.length, files.data.gzip.bytes);
  assert.ok(zlib.gunzipSync(packed.body).equals(fs.readFileSync(path.join(site, files.data.name))), 'the package\'s gzip copy is not the package');
  served += packed.body.length;
  console.log(`served compressed: ${served} bytes`);
  assert.ok(served < 4e6, `the page weighs ${served} bytes as served`);
});

// The site through a server of the test's own that logs every answer it passes on ({path,
// status}): the page's and its workers' alike, and nothing the browser took from its cache. With
// announce it calls the package's .gz gzip-encoded, as some servers are set up to, so that the
// browser unpacks it on the way.
function loggingServer({ announce = false } = {}) {
  const log = [];
  const server = http.createServer((request, response) => {
    const headers = { ...request.headers };
    delete headers.host;
    http.get(served.address + request.url.slice(1), { headers }, (answer) => {
      log.push({ path: request.url.split('?')[0].slice(1), status: answer.statusCode });
      const sent = { ...answer.headers };
      if (announce && request.url.endsWith('.data.gz')) sent['content-encoding'] = 'gzip';
      response.writeHead(answer.statusCode, sent);
      answer.pipe(response);
    }).on('error', () => response.writeHead(502).end());
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ server, log, address: `http://127.0.0.1:${server.address().port}/` })));
}

const downloaded = (log, pattern) => log.filter((entry) => pattern.test(entry.path) && entry.status === 200);

test('the progress shows before the first frame; a restart and the player\'s own content download nothing again, nor does a second visit', { timeout: 180000 }, async () => {
  const through = await loggingServer();
  const log = through.log;
  const context = await served.browser.createIncognitoBrowserContext();
  const page = await context.newPage();
  await page.goto(through.address + '?mute');
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.firstFrameMs !== null, { timeout: 60000 });
  const { progress, firstFrameMs } = await page.evaluate(() => ({ progress: kavorind.progress, firstFrameMs: kavorind.firstFrameMs }));
  const total = progress[0].total;
  assert.ok(progress.some((step) => step.loaded > 0 && step.loaded < total && step.ms < firstFrameMs), 'no progress shown while the files came');
  assert.equal(progress.at(-1).loaded, total);
  assert.equal(await page.$eval('#progress', (bar) => bar.hidden), true);
  const program = /kavorind\.[0-9a-f]{16}\.(wasm|data\.gz|js)$/;
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
  assert.equal(log.filter((entry) => program.test(entry.path)).length, 3, 'a game started again fetched the program again');

  // A second visit: what the page asks is answered from the cache or with "not modified".
  log.length = 0;
  await page.goto(through.address + '?mute');
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.firstFrameMs !== null, { timeout: 60000 });
  assert.ok(log.length >= pageFiles.length - 2, `only ${log.length} answers logged`);
  assert.deepEqual(downloaded(log, /./).map((entry) => entry.path), [], 'downloaded again on the second visit');
  await context.close();
  through.server.close();
});

// The package the game read, as a fingerprint of its files' sizes: the same whichever way it came.
async function loadedPackage(page) {
  await page.waitForFunction(() => kavorind.state === 'failed' || (kavorind.state === 'running' && kavorind.tick() > 3), { timeout: 60000 });
  assert.equal(await page.evaluate(() => kavorind.state), 'running', await page.$eval('#notice', (notice) => notice.textContent));
  return page.evaluate(() => kavorind.module.FS.readdir('/data').filter((name) => !name.startsWith('.')).sort()
    .map((name) => `${name}:${kavorind.module.FS.stat('/data/' + name).size}`).join(' '));
}

test('the package comes whole unpacked in a worker, in the page, to a browser that cannot unpack gzip, and from a server that has the browser unpack it', { timeout: 240000 }, async () => {
  const files = programFiles();
  const [plain, announcing] = [await loggingServer(), await loggingServer({ announce: true })];
  const context = await served.browser.createIncognitoBrowserContext();
  const visit = async (through, prepare) => {
    const page = await context.newPage();
    await page.evaluateOnNewDocument(prepare);
    through.log.length = 0;
    await page.goto(through.address + '?mute');
    const loaded = await loadedPackage(page);
    await page.close();
    return { loaded, fetched: through.log.map((entry) => entry.path).filter((name) => name.includes('.data')) };
  };
  const usual = await visit(plain, () => {});
  assert.deepEqual(usual.fetched, [files.data.gzip.name]);
  assert.ok(usual.loaded.split(' ').length > 50, usual.loaded);
  const withoutWorkers = await visit(plain, () => { window.Worker = function () { throw new Error('no workers here'); }; });
  assert.equal(withoutWorkers.loaded, usual.loaded);
  const withoutUnpacking = await visit(plain, () => { delete window.DecompressionStream; });
  assert.deepEqual(withoutUnpacking.fetched, [files.data.name]);
  assert.equal(withoutUnpacking.loaded, usual.loaded);
  const unpackedOnTheWay = await visit(announcing, () => {});
  assert.deepEqual(unpackedOnTheWay.fetched, [files.data.gzip.name]);
  assert.equal(unpackedOnTheWay.loaded, usual.loaded);
  await context.close();
  plain.server.close();
  announcing.server.close();
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
