// What every browser test starts first and stops last: the site in build-web/ served by
// web/serve.py on a free port, and a headless chromium to open it in.
import { spawn } from 'node:child_process';
import { before, after } from 'node:test';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = path.join(root, 'build-web');

// The server prints its address once it listens; a server that ends before that fails the start.
function serveSite() {
  const server = spawn('python3', [path.join(root, 'web', 'serve.py'), site, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = new Promise((resolve, reject) => {
    server.stdout.on('data', (text) => {
      const found = /http:\/\/[^ ]+\//.exec(String(text));
      if (found) resolve(found[0]);
    });
    server.on('exit', () => reject(new Error('the server did not start')));
  });
  return { server, address };
}

// A replay of a whole stage takes minutes in one call, hence the longer protocol timeout there.
async function openSession({ protocolTimeout = 120000 } = {}) {
  const { server, address } = serveSite();
  try {
    const browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: 'new',
      args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--enable-unsafe-swiftshader'],
      protocolTimeout,
    });
    return { server, address: await address, browser };
  } catch (error) {
    server.kill();
    throw error;
  }
}

async function closeSession(session) {
  await session?.browser?.close();
  session?.server?.kill();
}

// Opens a session before the calling file's tests and closes it after them. The record returned
// gets its address and browser once the session is open, that is by the time a test runs.
export function useSession(options) {
  const served = {};
  before(async () => Object.assign(served, await openSession(options)));
  after(() => closeSession(served));
  return served;
}
