// The page played with the keyboard alone: the browser keeps its own keys (Tab, F5, Ctrl+R, zoom,
// F12), F11 switches the page's full screen, the page's controls are reached and worked with the
// keys while the game hears none of them, and Play gives the game the keys back. A pad plugged in
// while the game runs is heard through the browser's Gamepad API.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { KnownDevices } from 'puppeteer-core';
import { useSession } from './site_session.mjs';

const served = useSession();

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The game's last trace line.
async function lastTrace(page) {
  const text = await page.evaluate(() => { try { return kavorind.readFile('/trace.jsonl'); } catch { return ''; } });
  const lines = text.split('\n').filter((line) => line.endsWith('}'));
  return lines.length ? JSON.parse(lines.at(-1)) : null;
}

// Waits for the game's trace to reach the scene, failing with why after that many looks 100 ms apart.
async function waitForScene(page, scene, looks, why) {
  for (let tries = 0; (await lastTrace(page))?.scene !== scene; ++tries) {
    assert.ok(tries < looks, why);
    await sleep(100);
  }
}

// The game started with its trace on, and its menu come.
async function openAtMenu(page) {
  await page.goto(served.address + '?mute&arg=--trace&arg=/trace.jsonl');
  await page.waitForFunction(() => kavorind.state === 'running', { timeout: 60000 });
  await waitForScene(page, 2, 200, 'the menu never came');
}

async function press(page, key, holdMs = 150) {
  await page.keyboard.down(key);
  await sleep(holdMs);
  await page.keyboard.up(key);
  await sleep(150);
}

async function shiftTab(page) {
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
}

const focused = (page) => page.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);

// Every key press as it left the page: whether anyone cancelled what the browser does with it.
// Recorded by the first listener of all, whose event object shows the outcome once dispatched.
async function recordKeys(page) {
  await page.evaluateOnNewDocument(() => {
    window.keysSeen = [];
    window.addEventListener('keydown', (event) => window.keysSeen.push(event), { capture: true });
  });
}

// A standard-mapped pad the browser reports once testPad.plug() is called, as a real one shows up
// only after the game is running. Each change bumps the timestamp, as the browser's do.
async function plugInPad(page) {
  await page.evaluateOnNewDocument(() => {
    const pad = {
      id: 'Test Pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard', timestamp: 1,
      axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
    };
    let plugged = false;
    Navigator.prototype.getGamepads = () => (plugged ? [pad] : []);
    window.testPad = {
      plug() {
        plugged = true;
        const event = new Event('gamepadconnected');
        Object.defineProperty(event, 'gamepad', { value: pad });
        window.dispatchEvent(event);
      },
      press(index, down) {
        Object.assign(pad.buttons[index], { pressed: down, touched: down, value: down ? 1 : 0 });
        pad.timestamp += 1;
      },
    };
  });
}

const cancelled = (page, key) => page.evaluate((name) => window.keysSeen.filter((event) => event.key === name).map((event) => event.defaultPrevented), key);

test('with the keys alone: the browser keeps Tab and F5, Shift+Tab reaches the page\'s buttons, Enter and Space work them while the game hears nothing, Play hands the keys back', { timeout: 120000 }, async () => {
  const page = await served.browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  await recordKeys(page);
  await openAtMenu(page);
  assert.equal(await focused(page), 'canvas');
  // While the game has the keys the header folds to a sliver.
  await page.waitForFunction(() => document.querySelector('header').getBoundingClientRect().height < 10, { timeout: 3000 })
    .catch(() => assert.fail('the header stays open during play'));

  await page.keyboard.press('F5');
  await press(page, 'ArrowDown');
  assert.deepEqual(await cancelled(page, 'F5'), [false], 'F5 never reached the browser');
  assert.deepEqual(await cancelled(page, 'ArrowDown'), [true], 'the game did not take its arrow key');
  const chosen = (await lastTrace(page)).selection;

  await shiftTab(page);
  assert.notEqual(await focused(page), 'canvas', 'Shift+Tab did not leave the game');
  assert.deepEqual((await cancelled(page, 'Tab')).at(-1), false);
  await page.waitForFunction(() => document.querySelector('header').getBoundingClientRect().height > 20, { timeout: 3000 })
    .catch(() => assert.fail('the header stays folded with the keys on it'));
  for (let tries = 0; await focused(page) !== 'scores-toggle'; ++tries) {
    assert.ok(tries < 12, 'the scores button is not reached with Shift+Tab');
    await shiftTab(page);
  }
  const shown = () => page.$eval('#scores', (panel) => !panel.hidden);
  const before = await shown();
  await press(page, 'Enter');
  assert.equal(await shown(), !before, 'Enter did not work the button');
  await press(page, ' ');
  assert.equal(await shown(), before, 'Space did not work the button');
  await press(page, 'ArrowDown');
  assert.equal(await focused(page), 'scores-toggle', 'a key on a button took the focus away');
  assert.equal((await lastTrace(page)).selection, chosen, 'the game heard a key meant for the page');

  for (let tries = 0; await focused(page) !== 'play'; ++tries) {
    assert.ok(tries < 12, 'the Play button is not reached with Shift+Tab');
    await shiftTab(page);
  }
  assert.equal(await page.$eval('#play', (button) => getComputedStyle(button).visibility), 'visible');
  await press(page, 'Enter');
  assert.equal(await focused(page), 'canvas');
  await press(page, 'ArrowDown');
  assert.notEqual((await lastTrace(page)).selection, chosen, 'the game did not get its keys back');

  // F11 is the page's full screen, Ctrl+R and zoom the browser's.
  await page.keyboard.press('F11');
  await page.waitForFunction(() => document.fullscreenElement?.id === 'stage', { timeout: 5000 });
  assert.deepEqual(await cancelled(page, 'F11'), [true]);
  await page.keyboard.down('Control');
  await page.keyboard.press('r');
  await page.keyboard.press('=');
  await page.keyboard.up('Control');
  assert.deepEqual(await cancelled(page, 'r'), [false], 'Ctrl+R never reached the browser');
  assert.deepEqual(await cancelled(page, '='), [false], 'Ctrl + never reached the browser');
  await page.close();
});

test('a pad plugged in at the menu moves its selection with the d-pad and starts the game with A', { timeout: 120000 }, async () => {
  const page = await served.browser.newPage();
  await plugInPad(page);
  await openAtMenu(page);
  await page.evaluate(() => testPad.plug());
  const pressPad = async (button) => {
    await page.evaluate((index) => testPad.press(index, true), button);
    await sleep(300);
    await page.evaluate((index) => testPad.press(index, false), button);
    await sleep(150);
  };
  const first = (await lastTrace(page)).selection;
  await pressPad(13);
  assert.equal((await lastTrace(page)).selection, 1 - first, 'd-pad down did not move the selection');
  await pressPad(12);
  assert.equal((await lastTrace(page)).selection, first, 'd-pad up did not move the selection back');
  // The first entry starts the game: its opening scene follows the menu's fade.
  assert.equal(first, 0);
  await pressPad(0);
  await waitForScene(page, 6, 50, 'A did not start the game');
  await page.close();
});

test('the picture is enlarged by a whole multiple, every pixel the same size, and a touch-only device is told a keyboard is needed', { timeout: 120000 }, async () => {
  const page = await served.browser.newPage();
  await page.setViewport({ width: 1700, height: 1200 });
  await page.goto(served.address + '?mute');
  await page.waitForFunction(() => kavorind.state === 'running' && kavorind.presents > 5, { timeout: 60000 });
  await sleep(300);
  const { width, height, blocksEven } = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const multiple = canvas.width / 640;
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let even = true;
    for (let y = 0; y < canvas.height && even; y += 7)
      for (let x = 0; x < canvas.width && even; ++x) {
        const corner = ((y - (y % multiple)) * canvas.width + (x - (x % multiple))) * 4;
        const at = (y * canvas.width + x) * 4;
        even = pixels[at] === pixels[corner] && pixels[at + 1] === pixels[corner + 1] && pixels[at + 2] === pixels[corner + 2];
      }
    return { width: canvas.width, height: canvas.height, blocksEven: even };
  });
  assert.deepEqual([width, height], [1280, 960], 'not the largest whole multiple that fits');
  assert.ok(blocksEven, 'a frame pixel is not a whole square of canvas pixels');
  await page.setViewport({ width: 800, height: 600 });
  await page.waitForFunction(() => document.getElementById('canvas').width === 640, { timeout: 5000 });
  await page.close();

  const phone = await served.browser.newPage();
  await phone.emulate(KnownDevices['iPhone 13']);
  await phone.goto(served.address + '?mute');
  await phone.waitForFunction(() => !document.getElementById('notice').hidden, { timeout: 30000 });
  assert.match(await phone.$eval('#notice', (notice) => notice.textContent), /keyboard or a game pad/);
  await phone.close();
});
