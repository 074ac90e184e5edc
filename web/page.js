// The page around the browser build: starts the game on the canvas with the options of the
// address, keeps the keys and the sound with the game, loads a player's own content, says when
// the game has ended, and lets a test watch the ticks and frames through window.kavorind.
'use strict';

(function () {
  const params = new URLSearchParams(location.search);
  const canvas = document.getElementById('canvas');
  const notice = document.getElementById('notice');

  // What a test (or a curious player in the console) can see of the running game.
  const probe = {
    state: 'loading', // then 'running', 'ended' or 'failed'
    exitCode: null,
    output: [], // the program's own lines, standard output and error alike
    presents: 0, // frames presented since the page loaded
    firstFrameMs: null, // page load to the first frame presented, in milliseconds
    keepTicks: new Set(), // frames of these ticks are kept in `kept`
    kept: new Map(),
    watch: false, // keep the latest frame in `latest`
    latest: null,
    module: null,
    tick() { return this.module ? this.module._kavorind_probe_tick() : 0; },
    readFile(path) { return this.module.FS.readFile(path, { encoding: 'utf8' }); },
  };
  window.kavorind = probe;
  // ?keep=T1,T2,...: frames of those ticks are kept from the start (for tests).
  for (const tick of (params.get('keep') || '').split(',').filter(Boolean)) probe.keepTicks.add(Number(tick));

  let playerContent = null; // [{name, bytes}] of the player's own content, or null

  function say(text, action) {
    notice.textContent = text;
    if (action) {
      const button = document.createElement('button');
      button.textContent = action.label;
      button.id = action.id;
      button.addEventListener('click', () => { notice.hidden = true; action.run(); });
      notice.append(document.createElement('br'), button);
    }
    notice.hidden = false;
  }

  function keepFocusOnGame() { canvas.focus({ preventScroll: true }); }

  // The frame as the game handed it over: indices row by row, then red, green, blue of each of
  // the 256 colours.
  function copyFrame(module, tick, indices, pitch, width, height, argb) {
    const pixels = new Uint8Array(width * height);
    for (let y = 0; y < height; ++y)
      pixels.set(module.HEAPU8.subarray(indices + y * pitch, indices + y * pitch + width), y * width);
    const colours = new Uint8Array(768);
    const table = module.HEAPU32.subarray(argb >>> 2, (argb >>> 2) + 256);
    for (let i = 0; i < 256; ++i) {
      colours[i * 3] = (table[i] >>> 16) & 255;
      colours[i * 3 + 1] = (table[i] >>> 8) & 255;
      colours[i * 3 + 2] = table[i] & 255;
    }
    return { tick, width, height, pixels, colours };
  }

  function onFrame(module, tick, indices, pitch, width, height, argb) {
    ++probe.presents;
    if (probe.firstFrameMs === null) probe.firstFrameMs = performance.now();
    // Frames of the start-up, before the first tick, belong to no tick.
    if (tick < 1) return;
    const keep = probe.keepTicks.has(tick);
    if (!keep && !probe.watch) return;
    const frame = copyFrame(module, tick, indices, pitch, width, height, argb);
    if (keep) probe.kept.set(tick, frame);
    if (probe.watch) probe.latest = frame;
  }

  function missingFeature() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function')
      return 'This browser cannot run WebAssembly, which the game is made of. ' +
        'Kavorind plays in any current Firefox, Chromium, Chrome, Edge or Safari.';
    return null;
  }

  function audioMissing() { return !(window.AudioContext || window.webkitAudioContext); }

  async function commandLine() {
    const args = ['--windowed', '--data', playerContent ? '/custom' : '/data'];
    let script = null;
    if (params.has('mute') || audioMissing()) args.push('--mute');
    const replay = params.get('replay');
    if (replay) {
      const response = await fetch(replay);
      if (!response.ok) throw new Error(`the key script ${replay} cannot be read (${response.status})`);
      script = await response.text();
      args.push(params.has('timedemo') ? '--timedemo' : '--replay', '/replay.keys');
    }
    // More options as the desktop game takes them (a test's --trace or --record, say).
    args.push(...params.getAll('arg'));
    return { args, script };
  }

  function writePlayerContent(FS) {
    FS.mkdir('/custom');
    for (const file of playerContent) FS.writeFile('/custom/' + file.name, file.bytes);
  }

  // The game's own lines about what stopped it, and the page's choices after them.
  function showFailure(lines) {
    probe.state = 'failed';
    say(lines.join('\n') + '\n\nLoad another content folder, or start again with the default content.',
      { id: 'start-again', label: 'Start again', run: () => { playerContent = null; start(); } });
  }

  function ended(code) {
    probe.exitCode = code;
    if (startWhenEnded) {
      startWhenEnded = false;
      start();
      return;
    }
    if (code === 0) {
      probe.state = 'ended';
      say('The game has ended.', { id: 'start-again', label: 'Start again', run: start });
    } else {
      // The desktop's advice (a command to run, an option to pass) has no place on a page, which
      // offers its own.
      const lines = probe.output
        .filter((line) => line.startsWith('Kavorind') || line.startsWith('kavorind'))
        .map((line) => line.replace(/ ?Run "kavorind-content DIR".*$/, ''));
      showFailure(lines.length ? lines : ['The game stopped with an error.']);
    }
  }

  async function start() {
    probe.state = 'loading';
    probe.exitCode = null;
    probe.output = [];
    probe.kept.clear();
    probe.latest = null;
    probe.presents = 0;
    let setup;
    try {
      setup = await commandLine();
    } catch (error) {
      probe.state = 'failed';
      say(`Kavorind cannot start: ${error.message}.`);
      return;
    }
    const note = (line) => { probe.output.push(line); console.log(line); };
    const module = await createKavorind({
      canvas,
      print: note,
      printErr: note,
      preRun: [(m) => {
        if (setup.script !== null) m.FS.writeFile('/replay.keys', setup.script);
        if (playerContent) writePlayerContent(m.FS);
      }],
      onExit: ended,
    });
    // The frame hook is looked up on the module the program runs in.
    module.kavorindFrame = (...frame) => onFrame(module, ...frame);
    probe.module = module;
    probe.state = 'running';
    keepFocusOnGame();
    if (audioMissing() && !params.has('mute'))
      say('This browser has no Web Audio: the game plays without sound.', { id: 'dismiss', label: 'Play', run: keepFocusOnGame });
    module.callMain(setup.args);
  }

  // A folder from the file picker: its files by their own names, subfolders left out, as the
  // game reads its content folder.
  async function filesOfFolder(list) {
    const files = [];
    for (const file of list) {
      const parts = (file.webkitRelativePath || file.name).split('/');
      if (parts.length > 2) continue;
      files.push({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) });
    }
    return files;
  }

  // A new game from the player's content: a running one is closed first, as its window's close
  // button would close it, and the new one starts as it ends.
  let startWhenEnded = false;
  function playOwnContent(files) {
    if (!files.length) {
      say('That folder holds no files.');
      return;
    }
    playerContent = files;
    notice.hidden = true;
    if (probe.state === 'running') {
      startWhenEnded = true;
      probe.module._kavorind_page_close();
    } else {
      start();
    }
  }

  // A zip with a damaged content file is refused in the desktop game's words for a damaged file,
  // before any of it reaches the game: a game already under way plays on.
  function refuseOwnContent(lines) {
    if (probe.state === 'running' || probe.state === 'loading')
      say(lines.join('\n') + '\n\nThe game goes on with the content it has.',
        { id: 'play-on', label: 'Play on', run: keepFocusOnGame });
    else
      showFailure(lines);
  }

  // A zip is read whole before it is checked, so one far past what the page holds is not read.
  async function loadContentZip(file) {
    if (file.size > 2 * kavorindZip.maxContentBytes) {
      say(`The content cannot be read: ${file.name} is larger than the page holds.`);
      return;
    }
    const zip = await kavorindZip.readContentZip(new Uint8Array(await file.arrayBuffer()));
    if (zip.files) playOwnContent(zip.files);
    else if (zip.entry) refuseOwnContent([`Kavorind: "${zip.entry}" in ${file.name} cannot be read.`, zip.why]);
    else say(`The content cannot be read: ${file.name} ${zip.why}.`);
  }

  function watchButtons() {
    document.getElementById('fullscreen').addEventListener('click', () => {
      const stage = document.getElementById('stage');
      if (document.fullscreenElement) document.exitFullscreen();
      else stage.requestFullscreen().catch(() => say('This browser did not allow the full screen.'));
      keepFocusOnGame();
    });
    document.getElementById('content-folder').addEventListener('change', async (event) => {
      playOwnContent(await filesOfFolder(event.target.files));
      event.target.value = '';
    });
    document.getElementById('content-zip').addEventListener('change', async (event) => {
      try {
        await loadContentZip(event.target.files[0]);
      } catch (error) {
        say(`The content cannot be read: ${error.message}.`);
      }
      event.target.value = '';
    });
    // A click anywhere but a control gives the keys back to the game; buttons never keep them
    // (Space and Return are the game's fire keys).
    document.addEventListener('click', (event) => {
      if (!(event.target instanceof HTMLInputElement)) keepFocusOnGame();
    });
    for (const control of document.querySelectorAll('button, label.button'))
      control.addEventListener('mouseup', () => setTimeout(keepFocusOnGame, 0));
  }

  const problem = missingFeature();
  if (problem) {
    probe.state = 'failed';
    say(problem);
    return;
  }
  watchButtons();
  const loader = document.createElement('script');
  loader.src = 'kavorind.js';
  loader.onload = start;
  loader.onerror = () => { probe.state = 'failed'; say('The game could not be loaded from the server.'); };
  document.body.append(loader);
})();
