// The page's zip reader under node: zips made by python's zipfile (another CRC-32 and another
// deflater than the page's), then damaged byte by byte; each damaged content file is refused by
// name before the game could be handed any of the zip.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import zip from '../../web/zip.js';

const makeZip = `
import base64, io, json, sys, zipfile
out = io.BytesIO()
with zipfile.ZipFile(out, "w") as archive:
    for entry in json.load(sys.stdin):
        method = zipfile.ZIP_STORED if entry["stored"] else zipfile.ZIP_DEFLATED
        archive.writestr(entry["path"], base64.b64decode(entry["data"]), compress_type=method)
sys.stdout.buffer.write(out.getvalue())
`;

function zipOf(entries) {
  const spec = entries.map(({ path, data, stored = false }) => ({ path, stored, data: Buffer.from(data).toString('base64') }));
  const run = spawnSync('python3', ['-c', makeZip], { input: JSON.stringify(spec), maxBuffer: 1 << 28 });
  assert.equal(run.status, 0, String(run.stderr));
  return new Uint8Array(run.stdout);
}

// Where a file's central directory entry starts, and where its packed bytes lie.
function directoryEntryOf(bytes, path) {
  const view = Buffer.from(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const end = view.length - 22;
  let at = view.readUInt32LE(end + 16);
  while (at < end) {
    const nameLength = view.readUInt16LE(at + 28);
    if (view.subarray(at + 46, at + 46 + nameLength).toString() === path) return at;
    at += 46 + nameLength + view.readUInt16LE(at + 30) + view.readUInt16LE(at + 32);
  }
  throw new Error(`${path} is not in the zip`);
}

function packedRangeOf(bytes, path) {
  const view = Buffer.from(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const local = view.readUInt32LE(directoryEntryOf(bytes, path) + 42);
  const start = local + 30 + view.readUInt16LE(local + 26) + view.readUInt16LE(local + 28);
  return { start, length: view.readUInt32LE(directoryEntryOf(bytes, path) + 20) };
}

function setUint32(bytes, at, value) { new DataView(bytes.buffer, bytes.byteOffset).setUint32(at, value, true); }
function setUint16(bytes, at, value) { new DataView(bytes.buffer, bytes.byteOffset).setUint16(at, value, true); }

// Bytes that deflate well but not to nothing, long enough to come out of the inflater in many
// pieces.
function mapLike(length) {
  const bytes = new Uint8Array(length);
  for (let i = 0; i < length; ++i) bytes[i] = (i >> 6) % 7 === 0 ? (i * 131) & 255 : (i >> 9) & 255;
  return bytes;
}

const palette = new TextEncoder().encode('a palette, short enough to be stored by some zips');
const map = mapLike(300000);
const sprite = mapLike(5335).reverse();

let madeZip = null;
// A fresh copy of the one content zip, for each test to damage in its own way.
function contentZip() {
  madeZip ??= zipOf([
    { path: 'Pal.Pal', data: palette },
    { path: 'Stage-B1.map', data: map },
    { path: 'mine/', data: [] },
    { path: 'mine/Enemy0.spr', data: sprite, stored: true },
    { path: 'mine/Empty.wav', data: [] },
    { path: 'mine/notes/Readme.txt', data: new TextEncoder().encode('left out') },
  ]);
  return madeZip.slice();
}

test('a whole zip gives its content files byte for byte, at its top or in one folder, and leaves deeper files out', async () => {
  const read = await zip.readContentZip(contentZip());
  assert.equal(read.why, undefined);
  assert.deepEqual(read.files.map((file) => file.name), ['Pal.Pal', 'Stage-B1.map', 'Enemy0.spr', 'Empty.wav']);
  assert.deepEqual(read.files.map((file) => Buffer.from(file.bytes)),
    [palette, map, sprite, new Uint8Array(0)].map((bytes) => Buffer.from(bytes)));
});

test('a damaged content file is refused by its name, whatever the damage', async () => {
  const damages = {
    'a flipped byte in the middle of a deflated file': ['Stage-B1.map', /damaged|checksum|not the/, (bytes) => {
      const packed = packedRangeOf(bytes, 'Stage-B1.map');
      bytes[packed.start + (packed.length >> 1)] ^= 0x10;
    }],
    'a wrong CRC-32 in the list of files': ['Pal.Pal', /checksum/, (bytes) => {
      bytes[directoryEntryOf(bytes, 'Pal.Pal') + 16] ^= 1;
    }],
    'a changed byte in a stored file': ['Enemy0.spr', /checksum/, (bytes) => {
      bytes[packedRangeOf(bytes, 'mine/Enemy0.spr').start + 4000] ^= 0x80;
    }],
    'a deflated file that unpacks to more than its stated size': ['Stage-B1.map', /more than the 299999 bytes/, (bytes) => {
      setUint32(bytes, directoryEntryOf(bytes, 'Stage-B1.map') + 24, map.length - 1);
    }],
    'a deflated file that unpacks to less than its stated size': ['Stage-B1.map', /300000 bytes, not the 300001/, (bytes) => {
      setUint32(bytes, directoryEntryOf(bytes, 'Stage-B1.map') + 24, map.length + 1);
    }],
    'a stored file of another size than it states': ['Enemy0.spr', /5335 bytes, not the 5336/, (bytes) => {
      setUint32(bytes, directoryEntryOf(bytes, 'mine/Enemy0.spr') + 24, sprite.length + 1);
    }],
    'a deflated stream cut short': ['Stage-B1.map', /damaged/, (bytes) => {
      const at = directoryEntryOf(bytes, 'Stage-B1.map') + 20;
      setUint32(bytes, at, packedRangeOf(bytes, 'Stage-B1.map').length >> 1);
    }],
    'packed bytes placed past the end of the zip': ['Pal.Pal', /outside the zip/, (bytes) => {
      setUint32(bytes, directoryEntryOf(bytes, 'Pal.Pal') + 42, bytes.length - 10);
    }],
    'an unknown packing method': ['Pal.Pal', /method 12/, (bytes) => {
      setUint16(bytes, directoryEntryOf(bytes, 'Pal.Pal') + 10, 12);
    }],
    'a password': ['Enemy0.spr', /encrypted/, (bytes) => {
      setUint16(bytes, directoryEntryOf(bytes, 'mine/Enemy0.spr') + 8, 1);
    }],
  };
  for (const [damage, [victim, why, spoil]] of Object.entries(damages)) {
    const bytes = contentZip();
    spoil(bytes);
    const read = await zip.readContentZip(bytes);
    assert.equal(read.files, undefined, `${damage}: the zip was read`);
    assert.equal(read.entry, victim, `${damage}: ${read.entry} is named, not ${victim}`);
    assert.match(read.why, why, damage);
  }
});

test('a file claiming more than the page holds is refused before anything is unpacked', async () => {
  // The first file is damaged too: the sizes are weighed before any file is unpacked.
  const huge = contentZip();
  huge[directoryEntryOf(huge, 'Pal.Pal') + 16] ^= 1;
  setUint32(huge, directoryEntryOf(huge, 'mine/Enemy0.spr') + 24, 0xfffffff0);
  assert.deepEqual(await zip.readContentZip(huge), {
    entry: 'Enemy0.spr', why: 'It would take the content past 256 MiB unpacked, more than the page holds.',
  });

  // A real bomb: 16 MiB of zeros in 16 KiB, honest about its size, against a page that holds 1 MiB.
  const bomb = zipOf([{ path: 'Pal.Pal', data: palette }, { path: 'Music0.Wav', data: new Uint8Array(16 << 20) }]);
  assert.ok(bomb.length < 1 << 20);
  const refused = await zip.readContentZip(bomb, 1 << 20);
  assert.equal(refused.entry, 'Music0.Wav');

  // The limit is on all the files together.
  const three = zipOf(['A', 'B', 'C'].map((name) => ({ path: `${name}.spr`, data: mapLike(600) })));
  assert.equal((await zip.readContentZip(three, 1500)).entry, 'C.spr');
  assert.equal((await zip.readContentZip(three, 1800)).files.length, 3);
});

test('a damaged file deeper than the content is never read', async () => {
  const bytes = contentZip();
  bytes[directoryEntryOf(bytes, 'mine/notes/Readme.txt') + 16] ^= 1;
  assert.equal((await zip.readContentZip(bytes)).files.length, 4);
});

test('a zip whose list of files is broken is refused as a whole', async () => {
  const whole = contentZip();
  const end = whole.length - 22;
  const broken = {
    'not a zip': () => new TextEncoder().encode('Kavorind content, but not zipped at all'.repeat(4)),
    'cut short': () => whole.slice(0, whole.length >> 1),
    'a list past its end': () => { const bytes = whole.slice(); setUint32(bytes, end + 16, end - 10); return bytes; },
    'more files counted than listed': () => { const bytes = whole.slice(); setUint16(bytes, end + 10, 7); return bytes; },
    'a list entry that is not one': () => { const bytes = whole.slice(); bytes[directoryEntryOf(bytes, 'Stage-B1.map')] ^= 1; return bytes; },
  };
  for (const [how, make] of Object.entries(broken)) {
    const read = await zip.readContentZip(make());
    assert.equal(read.files, undefined, `${how}: the zip was read`);
    assert.equal(read.entry, undefined, how);
    assert.match(read.why, /^is (not a zip file|damaged)/, how);
  }
});
