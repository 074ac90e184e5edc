// The program's files, fetched once per page with their progress told, and kept: every game the
// page starts (a restart, the player's own content, a replay) makes its instance from the same
// compiled module and the same content package, and nothing is downloaded again. The files'
// names carry their content's hash, so the browser's cache keeps them across visits too.
'use strict';

const kavorindProgram = (function () {
  let kept = null; // {module: WebAssembly.Module, data: ArrayBuffer} once loaded

  // The body of a response as it arrives; onBytes(count) after every piece.
  async function readWithProgress(response, expected, onBytes) {
    if (!response.body) {
      const whole = await response.arrayBuffer();
      onBytes(whole.byteLength);
      return whole;
    }
    const reader = response.body.getReader();
    const pieces = [];
    let length = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      pieces.push(value);
      length += value.length;
      onBytes(value.length);
    }
    // One piece is the usual case for a file from the cache.
    if (pieces.length === 1 && pieces[0].byteOffset === 0 && pieces[0].buffer.byteLength === length)
      return pieces[0].buffer;
    const whole = new Uint8Array(length || expected);
    let at = 0;
    for (const piece of pieces) {
      whole.set(piece, at);
      at += piece.length;
    }
    return whole.buffer;
  }

  async function answerFor(file) {
    const response = await fetch(file.name);
    if (!response.ok) throw new Error(`${file.name} cannot be loaded (${response.status})`);
    return response;
  }

  async function fetchFile(file, onBytes) {
    return readWithProgress(await answerFor(file), file.bytes, onBytes);
  }

  // The content package as a gzip member that the page unpacks itself as it arrives: the browser's
  // own decoding of an encoded answer (and its cache's, on a second visit) takes longer for the same
  // 17 MB. onBytes(count) as the bytes come over the wire. A server that announces the .gz as
  // gzip-encoded has the browser unpack it first, so the bytes themselves say whether to unpack.
  // Self-contained, so that a worker can run it from its source text.
  async function unpackPackage(address, bytes, onBytes) {
    const response = await fetch(address);
    if (!response.ok || !response.body) throw new Error(`${address} cannot be loaded (${response.status})`);
    const reader = response.body.getReader();
    const next = async () => {
      const piece = await reader.read();
      if (!piece.done) onBytes(piece.value.length);
      return piece;
    };
    const first = await next();
    if (first.done) throw new Error(`${address} is empty`);
    const asSent = new ReadableStream({
      start(controller) { controller.enqueue(first.value); },
      async pull(controller) {
        const { done, value } = await next();
        if (done) controller.close();
        else controller.enqueue(value);
      },
      cancel(reason) { return reader.cancel(reason); },
    });
    const gzip = first.value.length >= 2 && first.value[0] === 0x1f && first.value[1] === 0x8b;
    const buffer = await new Response(gzip ? asSent.pipeThrough(new DecompressionStream('gzip')) : asSent).arrayBuffer();
    if (buffer.byteLength !== bytes) throw new Error(`${address} holds ${buffer.byteLength} bytes, not ${bytes}`);
    return buffer;
  }

  // A worker that runs unpackPackage and posts {count} as bytes come, then {buffer} or {error}.
  const unpackerSource = `'use strict';
const unpackPackage = ${unpackPackage};
onmessage = async (event) => {
  const { address, bytes } = event.data;
  try {
    const buffer = await unpackPackage(address, bytes, (count) => postMessage({ count }));
    postMessage({ buffer }, [buffer]);
  } catch (error) {
    postMessage({ error: String(error && error.message || error) });
  }
};
`;

  // The package unpacked in a worker, so that the page's own thread compiles and starts the
  // program meanwhile; in the page itself where a worker cannot be made or fails to start.
  function fetchPacked(file, onBytes) {
    const address = new URL(file.gzip.name, location.href).href;
    const inPage = () => unpackPackage(address, file.bytes, onBytes);
    if (typeof Worker !== 'function') return inPage();
    return new Promise((resolve, reject) => {
      const source = URL.createObjectURL(new Blob([unpackerSource], { type: 'text/javascript' }));
      let worker;
      try {
        worker = new Worker(source);
      } catch {
        URL.revokeObjectURL(source);
        inPage().then(resolve, reject);
        return;
      }
      let heard = false;
      const done = () => { worker.terminate(); URL.revokeObjectURL(source); };
      worker.onmessage = ({ data }) => {
        heard = true;
        if (data.count !== undefined) return onBytes(data.count);
        done();
        if (data.error !== undefined) reject(new Error(data.error));
        else resolve(data.buffer);
      };
      worker.onerror = (event) => {
        event.preventDefault();
        done();
        if (heard) reject(new Error(`${file.gzip.name}: ${event.message || 'the unpacking failed'}`));
        else inPage().then(resolve, reject);
      };
      worker.postMessage({ address, bytes: file.bytes });
    });
  }

  function canUnpack(file) {
    return Boolean(file.gzip) && typeof DecompressionStream === 'function';
  }

  // The module compiles as its bytes arrive, counted on their way to the compiler.
  async function compileWhileFetching(file, onBytes) {
    const response = await answerFor(file);
    if (!response.body || !WebAssembly.compileStreaming)
      return WebAssembly.compile(await readWithProgress(response, file.bytes, onBytes));
    const counting = new TransformStream({
      transform(piece, controller) {
        onBytes(piece.length);
        controller.enqueue(piece);
      },
    });
    const counted = new Response(response.body.pipeThrough(counting), {
      headers: { 'Content-Type': 'application/wasm' },
    });
    return WebAssembly.compileStreaming(counted);
  }

  function loadScript(name) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = name;
      script.onload = resolve;
      script.onerror = () => reject(new Error(`${name} cannot be loaded`));
      document.body.append(script);
    });
  }

  // onProgress(loaded, total) in bytes as they come (before compression is undone they may be
  // fewer than total: the total counts the files as the program reads them).
  async function load(onProgress) {
    if (kept) return;
    const files = window.kavorindFiles;
    if (!files) throw new Error('kavorind-files.js is missing from the site');
    const packed = canUnpack(files.data);
    const total = files.js.bytes + files.wasm.bytes + (packed ? files.data.gzip.bytes : files.data.bytes);
    let loaded = 0;
    const counted = (count) => { loaded = Math.min(total, loaded + count); onProgress(loaded, total); };
    onProgress(0, total);
    const script = loadScript(files.js.name).then(() => counted(files.js.bytes));
    const module = compileWhileFetching(files.wasm, counted);
    const data = packed ? fetchPacked(files.data, counted) : fetchFile(files.data, counted);
    await script;
    kept = { module: await module, data: await data };
    onProgress(total, total);
  }

  // What createKavorind takes so that it uses the kept files rather than fetching its own.
  function moduleOptions() {
    return {
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(kept.module, imports).then((instance) => receive(instance, kept.module));
        return {};
      },
      getPreloadedPackage() { return kept.data; },
    };
  }

  return { load, moduleOptions, loaded: () => kept !== null };
})();
