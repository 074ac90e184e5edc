// The browser build's figures in headless chromium (bench/web_figures.sh runs it): what the page
// downloads, navigation to the first frame over a throttled link cold and from the cache (beside a
// page that only fetches the content package over the same link; the link is a server of the
// bench's own in front of the site), then
// frames per second and the CPU share of every chromium process (as a share of one core) over a
// window of a key script replayed in real time, the 99th percentile of the gaps between the frames
// shown over half a window more, the same window muted, a bare page showing a canvas of the same
// size as often for comparison, and the same script played back to back.
// Usage: node bench/web_figures.mjs SITE_URL SITE_DIR KEYS_FILE FIRST_TICK SECONDS NATIVE_CPU
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { createRequire } from 'node:module';

const require = createRequire(new URL('../tests/web/', import.meta.url));
const puppeteer = require('puppeteer-core');
const [site, siteDir, keysFile, firstTick, seconds, nativeCpu] = process.argv.slice(2);
const script = fs.readFileSync(keysFile, 'utf8');
const replay = encodeURIComponent('data:text/plain,' + encodeURIComponent(script));
const ticks = Number(/# ticks: (\d+)/.exec(script)?.[1] ?? 0);

// CPU seconds (user + system) of a process and each of its descendants, by process id.
function treeCpuSeconds(root) {
  const children = new Map();
  const cpu = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
      const parent = Number(fields[1]);
      cpu.set(Number(pid), (Number(fields[11]) + Number(fields[12])) / 100);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(pid));
    } catch { /* gone meanwhile */ }
  }
  const tree = new Map();
  const pending = [root];
  while (pending.length) {
    const pid = pending.pop();
    if (cpu.has(pid)) tree.set(pid, cpu.get(pid));
    pending.push(...(children.get(pid) ?? []));
  }
  return tree;
}

// The CPU seconds spent between two looks, by the processes alive at the second: one that ended
// meanwhile (a closed page's) would otherwise take its whole past off the sum.
function cpuSecondsBetween(before, after) {
  let spent = 0;
  for (const [pid, seconds] of after) spent += seconds - (before.get(pid) ?? 0);
  return spent;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: 'new', protocolTimeout: 900000,
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--enable-unsafe-swiftshader'],
});
const chromium = browser.process().pid;

// The throttled link: a server of the bench's own in front of the site that holds each answer
// back by the latency, then sends every body over one shared line of that many bits a second, and
// notes the bytes each path took on it. Chromium's own emulation of a link covers a page's requests
// but not its workers', and adds delays of its own: the same site came 0.6 s slower to its first
// frame through it, where this server puts every request on one footing.
const latencyMs = 20;
const bytesPerMs = 50e6 / 8 / 1000;
const http = require('node:http');
const upstream = new http.Agent({ keepAlive: true });
const link = { wire: new Map(), freeAt: 0 };
async function sendOverLink(response, body) {
  for (let at = 0; at < body.length; at += 16384) {
    const piece = body.subarray(at, at + 16384);
    link.freeAt = Math.max(performance.now(), link.freeAt) + piece.length / bytesPerMs;
    await sleep(link.freeAt - performance.now());
    response.write(piece);
  }
  response.end();
}
const linkServer = http.createServer((request, response) => {
  const headers = { ...request.headers };
  delete headers.host;
  http.get(site + request.url.slice(1), { headers, agent: upstream }, (answer) => {
    const pieces = [];
    answer.on('data', (piece) => pieces.push(piece));
    answer.on('end', async () => {
      const body = Buffer.concat(pieces);
      await sleep(latencyMs);
      const path = request.url.split('?')[0];
      link.wire.set(path, (link.wire.get(path) ?? 0) + body.length);
      response.writeHead(answer.statusCode, answer.headers);
      await sendOverLink(response, body);
    });
  }).on('error', () => response.writeHead(502).end());
});
await new Promise((resolve) => linkServer.listen(0, '127.0.0.1', resolve));
const linked = `http://127.0.0.1:${linkServer.address().port}/`;

// A page on the throttled link; what it fetched is noted from here on.
async function throttledPage(context) {
  const page = await context.newPage();
  await page.setViewport({ width: 1280, height: 1000 });
  link.wire = new Map();
  return { page, wire: link.wire };
}

// Page load to the first frame, and on the way there to the files loaded and the game started.
async function firstFrame(page) {
  await page.goto(`${linked}?mute`);
  await page.waitForFunction(() => window.kavorind && kavorind.firstFrameMs !== null, { timeout: 120000, polling: 20 });
  return page.evaluate(() => ({ frame: kavorind.firstFrameMs, loaded: kavorind.loadedMs, main: kavorind.mainMs }));
}

// The cold page is closed before the second visit, so that its game does not share the CPU with
// the second load (its answers' sizes are logged by then).
const context = await browser.createIncognitoBrowserContext();
const cold = await throttledPage(context);
const coldTimes = await firstFrame(cold.page);
await cold.page.close();
const warm = await throttledPage(context);
const warmTimes = await firstFrame(warm.page);
await warm.page.close();

// What the package alone costs on the same link: a page of the site's own that does nothing but
// fetch it, from its load to the package's last byte, into an empty cache and then from it.
const programFiles = new Function(`${fs.readFileSync(path.join(siteDir, 'kavorind-files.js'), 'utf8')}; return kavorindFiles;`)();
async function packageAloneMs(visits) {
  const { page: alone } = await throttledPage(visits);
  await alone.goto(`${linked}favicon.ico`);
  const ms = await alone.evaluate(async (name) => {
    await (await fetch(name)).arrayBuffer();
    return performance.now();
  }, programFiles.data.name);
  await alone.close();
  return ms;
}
const aloneVisits = await browser.createIncognitoBrowserContext();
const aloneCold = await packageAloneMs(aloneVisits);
const aloneWarm = await packageAloneMs(aloneVisits);
await aloneVisits.close();

// What the page loaded, file by file: raw, gzip -9, brotli -q 11, and as sent.
const sizes = { raw: 0, gzip: 0, brotli: 0, sent: 0 };
for (const [address, sent] of cold.wire) {
  const name = address.slice(1) || 'index.html';
  const file = path.join(siteDir, name);
  if (!fs.existsSync(file)) continue;
  const bytes = fs.readFileSync(file);
  sizes.raw += bytes.length;
  sizes.gzip += zlib.gzipSync(bytes, { level: 9 }).length;
  sizes.brotli += zlib.brotliCompressSync(bytes, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }).length;
  sizes.sent += sent;
}
const warmSent = [...warm.wire.values()].reduce((sum, bytes) => sum + bytes, 0);

// The CPU share of every chromium process over the window, on a page that open() made ready, and
// the presents per second the game showed meanwhile (none on a page without it). Nothing of the
// bench's own runs in the page during the window.
async function cpuWindow(open) {
  const shown = await context.newPage();
  await shown.setViewport({ width: 1280, height: 1000 });
  await open(shown);
  const presents = () => shown.evaluate(() => window.kavorind?.presents ?? 0);
  const before = { cpu: treeCpuSeconds(chromium), presents: await presents(), at: Date.now() };
  await sleep(Number(seconds) * 1000);
  const after = { cpu: treeCpuSeconds(chromium), presents: await presents(), at: Date.now() };
  const wall = (after.at - before.at) / 1000;
  return {
    page: shown, wall,
    share: (100 * cpuSecondsBetween(before.cpu, after.cpu)) / wall,
    fps: (after.presents - before.presents) / wall,
  };
}
const atFirstTick = async (shown, query) => {
  await shown.goto(`${site}?${query}replay=${replay}`);
  await shown.waitForFunction((tick) => kavorind.tick() >= tick, { timeout: 900000, polling: 50 }, Number(firstTick));
};

// Real time with sound: the CPU window, then every present the page shows over half a window
// more, seen from the page's own animation frames (which cost a little CPU).
const played = await cpuWindow((shown) => atFirstTick(shown, ''));
await played.page.evaluate(() => {
  window.presentTimes = [];
  let seen = kavorind.presents;
  const look = (time) => {
    if (kavorind.presents !== seen) window.presentTimes.push(time);
    seen = kavorind.presents;
    requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
});
await sleep(Number(seconds) * 500);
const times = await played.page.evaluate(() => presentTimes);
const gaps = times.slice(1).map((time, i) => time - times[i]).sort((a, b) => a - b);
const p99 = gaps.length ? gaps[Math.min(gaps.length - 1, Math.floor(0.99 * gaps.length))] : NaN;
const { wall, fps, share: cpu } = played;
await played.page.close();

// The same window without sound, and a bare page that puts a 640 x 480 picture into a canvas 30
// times a second from its animation frames: what chromium itself spends to show such a picture.
async function cpuShare(open) {
  const measured = await cpuWindow(open);
  await measured.page.close();
  return measured.share;
}
const muted = await cpuShare((shown) => atFirstTick(shown, 'mute&'));
const bare = await cpuShare((shown) => shown.setContent(`<body style="margin:0; background:#000">
  <canvas width="640" height="480"></canvas><script>
  const context = document.querySelector('canvas').getContext('2d', { alpha: false });
  const picture = new ImageData(640, 480);
  let frames = 0;
  const show = () => {
    if (++frames % 2 === 0) {
      picture.data.fill(frames & 255);
      context.putImageData(picture, 0, 0);
    }
    requestAnimationFrame(show);
  };
  requestAnimationFrame(show);
  </script></body>`));

const megabytes = (bytes) => `${(bytes / 1e6).toFixed(2)} MB`;
console.log(`download, raw / gzip -9 / brotli -q 11     ${megabytes(sizes.raw)} / ${megabytes(sizes.gzip)} / ${megabytes(sizes.brotli)}`);
console.log(`download as sent to chromium (http)       ${megabytes(sizes.sent)} cold, ${megabytes(warmSent)} on the second visit`);
const inSeconds = (ms) => `${(ms / 1000).toFixed(2)} s`;
console.log(`first frame, 50 Mbit/s + 20 ms           ${inSeconds(coldTimes.frame)} cold, ${inSeconds(warmTimes.frame)} from the cache`);
for (const [name, times] of [['cold', coldTimes], ['cache', warmTimes]])
  console.log(`  ${name}: files loaded and compiled ${inSeconds(times.loaded)}, game started ${inSeconds(times.main)}, first frame ${inSeconds(times.frame)}`);
console.log(`  a page that only fetches the content package: ${inSeconds(aloneCold)} cold, ${inSeconds(aloneWarm)} from the cache`);
console.log(`stage 1, ticks ${firstTick}+ for ${wall.toFixed(1)} s, real time   ${fps.toFixed(1)} frames/s, 99th percentile gap ${p99.toFixed(1)} ms (${gaps.length} gaps after)`);
console.log(`CPU, share of one core                    chromium ${cpu.toFixed(1)} %, native game + X server ${nativeCpu} % (${(cpu / Number(nativeCpu)).toFixed(1)}x)`);
console.log(`  the same window muted: chromium ${muted.toFixed(1)} % (${(muted / Number(nativeCpu)).toFixed(1)}x); a bare page showing a 640 x 480 canvas 30 times a second: ${bare.toFixed(1)} % (${(bare / Number(nativeCpu)).toFixed(1)}x)`);

const demo = await context.newPage();
await demo.goto(`${site}?mute&timedemo&replay=${replay}`);
await demo.waitForFunction(() => kavorind.state !== 'loading' && kavorind.state !== 'running', { timeout: 900000, polling: 500 });
console.log(`back to back (${ticks} ticks): ${(await demo.evaluate(() => kavorind.output)).find((line) => line.startsWith('timedemo'))}`);
await browser.close();
linkServer.close();
upstream.destroy();
