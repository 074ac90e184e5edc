// A player's content zip, read for the page: every content file in it is checked against the size
// and the CRC-32 the zip states for it, and a deflated one is unpacked by the browser's own
// inflater and never past that size, so a damaged zip (or one made to fill the tab's memory) is
// refused, naming the file, before the game sees any of it. The page has it as window.kavorindZip;
// node's tests import it.
'use strict';

(function (zip) {
  const endSignature = 0x06054b50;
  const directorySignature = 0x02014b50;
  const localSignature = 0x04034b50;
  const endLength = 22;
  const directoryLength = 46;
  const localLength = 30;
  const longestComment = 0xffff;
  const stored = 0;
  const deflated = 8;
  const encryptedFlag = 1;

  // The most a zip's content files may unpack to, all together: many times the default set, and
  // little enough that a zip claiming more cannot exhaust the tab.
  const maxContentBytes = 256 * 1024 * 1024;

  const crcTable = (() => {
    const table = new Uint32Array(256);
    for (let n = 0; n < 256; ++n) {
      let c = n;
      for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table[n] = c >>> 0;
    }
    return table;
  })();

  function crc32(bytes) {
    let crc = 0xffffffff;
    for (let i = 0; i < bytes.length; ++i) crc = crcTable[(crc ^ bytes[i]) & 255] ^ (crc >>> 8);
    return (crc ^ 0xffffffff) >>> 0;
  }

  // The end record sits in the last 22 bytes, or before a comment of at most 64 KiB.
  function findEnd(view) {
    const lowest = Math.max(0, view.byteLength - endLength - longestComment);
    for (let at = view.byteLength - endLength; at >= lowest; --at)
      if (view.getUint32(at, true) === endSignature) return at;
    return -1;
  }

  // The files the game would be handed: those at the top of the zip or of a folder at its top,
  // named as the game looks them up. Anything deeper is left unread.
  function contentName(path) {
    if (path.endsWith('/')) return null;
    const parts = path.split('/');
    const name = parts[parts.length - 1];
    if (parts.length > 2 || name === '.' || name === '..') return null;
    return name;
  }

  // The central directory's entries for content files, or {why} when the directory is not whole.
  function contentEntries(bytes, view) {
    const end = findEnd(view);
    if (end < 0) return { why: 'is not a zip file, or it is cut short' };
    const count = view.getUint16(end + 10, true);
    let at = view.getUint32(end + 16, true);
    const broken = { why: 'is damaged: its list of files is broken or cut short' };
    if (at + view.getUint32(end + 12, true) > end) return broken;
    const entries = [];
    const decoder = new TextDecoder();
    for (let i = 0; i < count; ++i) {
      if (at + directoryLength > end || view.getUint32(at, true) !== directorySignature) return broken;
      const nameLength = view.getUint16(at + 28, true);
      const nameAt = at + directoryLength;
      const next = nameAt + nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
      if (next > end) return broken;
      const name = contentName(decoder.decode(bytes.subarray(nameAt, nameAt + nameLength)));
      if (name !== null)
        entries.push({
          name,
          flags: view.getUint16(at + 8, true),
          method: view.getUint16(at + 10, true),
          crc: view.getUint32(at + 16, true),
          packedSize: view.getUint32(at + 20, true),
          size: view.getUint32(at + 24, true),
          local: view.getUint32(at + 42, true),
        });
      at = next;
    }
    return { entries };
  }

  // The packed bytes of an entry, found through its local header, or null when they lie outside
  // the zip.
  function packedBytes(bytes, view, entry) {
    const local = entry.local;
    if (local + localLength > bytes.length || view.getUint32(local, true) !== localSignature) return null;
    const start = local + localLength + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
    if (start + entry.packedSize > bytes.length) return null;
    return bytes.subarray(start, start + entry.packedSize);
  }

  // Inflates into exactly the stated size: the inflater is stopped as soon as it gives more.
  async function inflateWithin(packed, size) {
    const unpacked = new Uint8Array(size);
    let filled = 0;
    const reader = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        if (filled + value.length > size) {
          reader.cancel().catch(() => {});
          return { why: `It unpacks to more than the ${size} bytes the zip states.` };
        }
        unpacked.set(value, filled);
        filled += value.length;
      }
    } catch {
      return { why: 'Its packed bytes are damaged.' };
    }
    if (filled !== size) return { why: `It unpacks to ${filled} bytes, not the ${size} the zip states.` };
    return { bytes: unpacked };
  }

  function amount(bytes) {
    return bytes % 1048576 === 0 ? `${bytes / 1048576} MiB` : `${bytes} bytes`;
  }

  // One entry's bytes, unpacked and checked, or {why} it cannot be had.
  async function unpackEntry(bytes, view, entry) {
    if (entry.flags & encryptedFlag)
      return { why: 'It is encrypted; the page reads only zips made without a password.' };
    const packed = packedBytes(bytes, view, entry);
    if (packed === null) return { why: 'Its bytes lie outside the zip: the zip is cut short or damaged.' };
    let unpacked;
    if (entry.method === stored) {
      if (entry.packedSize !== entry.size)
        return { why: `It holds ${entry.packedSize} bytes, not the ${entry.size} the zip states.` };
      unpacked = { bytes: packed };
    } else if (entry.method === deflated) {
      unpacked = await inflateWithin(packed, entry.size);
    } else {
      return { why: `It is packed in a way the page cannot read (method ${entry.method}); store or deflate it.` };
    }
    if (unpacked.bytes && crc32(unpacked.bytes) !== entry.crc)
      return { why: 'Its bytes do not match the checksum the zip holds for them.' };
    return unpacked;
  }

  // The content files of a zip's bytes as {files: [{name, bytes}]}; {entry, why} for the first
  // content file that is damaged or too large (why is a sentence); {why} when the zip itself
  // cannot be read (why follows the zip's name). No file is unpacked before the sizes of all are
  // known to fit within limit bytes.
  async function readContentZip(bytes, limit = maxContentBytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const listed = contentEntries(bytes, view);
    if (!listed.entries) return listed;
    let total = 0;
    for (const entry of listed.entries) {
      total += entry.size;
      if (total > limit)
        return {
          entry: entry.name,
          why: `It would take the content past ${amount(limit)} unpacked, more than the page holds.`,
        };
    }
    const files = [];
    for (const entry of listed.entries) {
      const unpacked = await unpackEntry(bytes, view, entry);
      if (!unpacked.bytes) return { entry: entry.name, why: unpacked.why };
      files.push({ name: entry.name, bytes: unpacked.bytes });
    }
    return { files };
  }

  zip.readContentZip = readContentZip;
  zip.crc32 = crc32;
  zip.maxContentBytes = maxContentBytes;
})(typeof module === 'object' ? module.exports : (window.kavorindZip = {}));
