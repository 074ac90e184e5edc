// The browser build's figures in headless chromium: page load to the first frame, then frames
// per second and the browser's CPU share (every chromium process, as a share of one core) over a
// window of a key script replayed in real time, and the same script played back to back.
// Usage: node bench/web_figures.mjs SITE_URL KEYS_FILE FIRST_TICK SECONDS  (bench/web_figures.sh)
import fs from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(new URL('../tests/web/', import.meta.url));
const puppeteer = require('puppeteer-core');
const [site, keysFile, firstTick, seconds] = process.argv.slice(2);
const script = fs.readFileSync(keysFile, 'utf8');
const replay = encodeURIComponent('data:text/plain,' + encodeURIComponent(script));
const ticks = Number(/# ticks: (\d+)/.exec(script)?.[1] ?? 0);

// CPU seconds (user + system) of a process and all its descendants.
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
  let total = 0;
  const pending = [root];
  while (pending.length) {
    const pid = pending.pop();
    total += cpu.get(pid) ?? 0;
    pending.push(...(children.get(pid) ?? []));
  }
  return total;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: 'new', protocolTimeout: 900000,
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--enable-unsafe-swiftshader'],
});
const chromium = browser.process().pid;
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 1000 });
await page.goto(`${site}?replay=${replay}`);
await page.waitForFunction((tick) => kavorind.tick() >= tick, { timeout: 900000, polling: 50 }, Number(firstTick));
const firstFrameMs = await page.evaluate(() => kavorind.firstFrameMs);
const before = { cpu: treeCpuSeconds(chromium), presents: await page.evaluate(() => kavorind.presents), at: Date.now() };
await sleep(Number(seconds) * 1000);
const after = { cpu: treeCpuSeconds(chromium), presents: await page.evaluate(() => kavorind.presents), at: Date.now() };
const wall = (after.at - before.at) / 1000;
console.log(`first frame ${firstFrameMs.toFixed(0)} ms after the page load began`);
console.log(`real time, ticks ${firstTick}+ for ${wall.toFixed(1)} s: ${((after.presents - before.presents) / wall).toFixed(1)} frames/s, ` +
  `chromium CPU ${(100 * (after.cpu - before.cpu) / wall).toFixed(1)} % of one core`);
await page.goto(`${site}?mute&timedemo&replay=${replay}`);
await page.waitForFunction(() => kavorind.state !== 'loading' && kavorind.state !== 'running', { timeout: 900000, polling: 500 });
console.log(`back to back (${ticks} ticks): ${(await page.evaluate(() => kavorind.output)).find((line) => line.startsWith('timedemo'))}`);
await browser.close();
