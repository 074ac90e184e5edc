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
    const total = files.js.bytes + files.wasm.bytes + files.data.bytes;
    let loaded = 0;
    const counted = (count) => { loaded = Math.min(total, loaded + count); onProgress(loaded, total); };
    onProgress(0, total);
    const script = loadScript(files.js.name).then(() => counted(files.js.bytes));
    const module = compileWhileFetching(files.wasm, counted);
    const data = fetchFile(files.data, counted);
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
