// The page around the browser build: starts the game on the canvas with the options of the
// address, keeps the keys and the sound with the game, loads a player's own content, shows the
// player's high scores beside the game and plays their replays, says when the game has ended, and
// lets a test watch the ticks, frames and saves through window.kavorind.
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
    args: [], // the command line the game was started with
    starts: 0, // games started since the page loaded
    presents: 0, // frames presented since the page loaded
    firstFrameMs: null, // page load to the first frame presented, in milliseconds
    loadedMs: null, // page load to the program's files fetched and its module compiled
    mainMs: null, // page load to the first game's start
    progress: [], // {loaded, total, ms} as the program's files came
    keepTicks: new Set(), // frames of these ticks are kept in `kept`
    kept: new Map(),
    watch: false, // keep the latest frame in `latest`
    latest: null,
    module: null,
    tick() { return this.module ? this.module._kavorind_probe_tick() : 0; },
    readFile(path) { return this.module.FS.readFile(path, { encoding: 'utf8' }); },
    saves() { return kavorindPlayerFiles.saves(); }, // the player's files saved to the storage
    scores: null, // {folder, fingerprint, entries} of the table shown
  };
  window.kavorind = probe;
  // ?keep=T1,T2,...: frames of those ticks are kept from the start (for tests).
  for (const tick of (params.get('keep') || '').split(',').filter(Boolean)) probe.keepTicks.add(Number(tick));

  let playerContent = null; // [{name, bytes}] of the player's own content, or null
  // The replay the next game shows instead of being played: {args} for the game's --watch, with
  // {file: {path, bytes}} when the page puts the replay there itself.
  let watching = null;
  // A key script beyond this is not read: hours of play are a small part of it.
  const maxReplayBytes = 64 << 20;

  function say(text, action) {
    notice.textContent = text;
    if (action) {
      const button = document.createElement('button');
      button.textContent = action.label;
      button.id = action.id;
      button.type = 'button';
      button.addEventListener('click', () => { notice.hidden = true; action.run(); });
      notice.append(document.createElement('br'), button);
      // A game that has stopped needs no keys: its next step is the button's.
      if (probe.state !== 'running') button.focus({ preventScroll: true });
    }
    notice.hidden = false;
    showWhoHasKeys();
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
    screenshotFrame(module, tick, [indices, pitch, width, height, argb]);
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
    if (watching) {
      args.push(...watching.args);
    } else if (replay) {
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
    if (watching) {
      say(lines.join('\n') + '\n\nThe replay cannot be shown.',
        { id: 'start-again', label: 'Play', run: () => { watching = null; start(); } });
      return;
    }
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
    if (code === 0 && watching) {
      probe.state = 'ended';
      say('The replay has ended.', { id: 'start-again', label: 'Play', run: () => { watching = null; start(); } });
    } else if (code === 0) {
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
    await kavorindPlayerFiles.ready();
    probe.args = setup.args;
    const note = (line) => { probe.output.push(line); console.log(line); };
    let endTold = false; // the runtime may report one end twice
    const module = await createKavorind({
      ...kavorindProgram.moduleOptions(),
      canvas,
      print: note,
      printErr: note,
      preRun: [(m) => {
        kavorindPlayerFiles.mount(m);
        if (setup.script !== null) m.FS.writeFile('/replay.keys', setup.script);
        if (playerContent) writePlayerContent(m.FS);
        if (watching && watching.file) writeWatchedFile(m.FS, watching.file);
      }],
      onExit: (code) => {
        if (!endTold) ended(code);
        endTold = true;
      },
    });
    // The hooks are looked up on the module the program runs in.
    module.kavorindFrame = (...frame) => onFrame(module, ...frame);
    module.kavorindPlayerFiles = (folder, fingerprint) => playerFilesChanged(module, folder, fingerprint);
    probe.module = module;
    ++probe.starts;
    probe.state = 'running';
    keepFocusOnGame();
    showWhoHasKeys();
    if (audioMissing() && !params.has('mute'))
      say('This browser has no Web Audio: the game plays without sound.', { id: 'dismiss', label: 'Play', run: keepFocusOnGame });
    if (probe.mainMs === null) probe.mainMs = performance.now();
    module.callMain(setup.args);
    // The game's window set the canvas to the frame's own size.
    fitCanvas();
    if (restartWhenStarted) {
      restartWhenStarted = false;
      restartGame();
    }
  }

  function writeWatchedFile(FS, file) {
    FS.mkdir(file.path.slice(0, file.path.lastIndexOf('/')));
    FS.writeFile(file.path, file.bytes);
  }

  // A new game in place of the one running: closed first, as its window's close button would
  // close it, and the new one starts as it ends.
  let startWhenEnded = false;
  let restartWhenStarted = false;
  function restartGame() {
    notice.hidden = true;
    if (probe.state === 'running') {
      startWhenEnded = true;
      probe.module._kavorind_page_close();
    } else if (probe.state === 'loading') {
      restartWhenStarted = true;
    } else {
      start();
    }
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

  // A new game from the player's content.
  function playOwnContent(files) {
    if (!files.length) {
      say('That folder holds no files.');
      return;
    }
    playerContent = files;
    watching = null;
    restartGame();
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

  // The player's files, as the game just wrote them (or found them at start-up): saved, and the
  // table of the content being played shown from them.
  function playerFilesChanged(module, folder, fingerprint) {
    kavorindPlayerFiles.save(module);
    showScores(module, folder, fingerprint);
  }

  function textOf(module, path, maxBytes) {
    try {
      const stat = module.FS.stat(path);
      if (!module.FS.isFile(stat.mode) || stat.size > maxBytes) return null;
      return module.FS.readFile(path, { encoding: 'utf8' });
    } catch {
      return null;
    }
  }

  function fileExists(module, path) {
    try {
      return module.FS.isFile(module.FS.stat(path).mode);
    } catch {
      return false;
    }
  }

  function cell(row, text, className) {
    const element = document.createElement('td');
    element.textContent = text;
    if (className) element.className = className;
    row.append(element);
    return element;
  }

  function smallButton(label, className, title, run) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = label;
    button.className = className;
    button.title = title;
    button.addEventListener('click', run);
    return button;
  }

  // An entry is two rows: what the run reached, then when it was played and its replay.
  function scoreRows(module, folder, entry, rank) {
    const row = document.createElement('tr');
    row.className = 'entry';
    cell(row, String(rank), 'rank');
    cell(row, String(entry.score), 'score');
    cell(row, String(entry.stage), 'stage');
    cell(row, entry.cleared ? 'yes' : 'no', 'cleared');
    cell(row, entry.name, 'name').title = entry.name;
    const more = document.createElement('tr');
    more.className = 'more';
    cell(more, '');
    const details = cell(more, '', 'details');
    details.colSpan = 4;
    const date = document.createElement('span');
    date.className = 'date';
    date.textContent = kavorindScores.shownDate(entry.date);
    date.title = entry.date;
    details.append(date, ' ');
    const replay = entry.replay && `${folder}/replays/${entry.replay}`;
    if (replay && fileExists(module, replay)) {
      details.append(
        smallButton('Watch', 'watch', `Watch the replay of this run (${entry.replay})`,
          () => watchReplay({ args: ['--watch', replay] })),
        smallButton('Download', 'download', `Save ${entry.replay} to this computer`,
          () => downloadFile(module, replay, entry.replay)));
    } else {
      details.append('no replay');
    }
    return [row, more];
  }

  // The table shows the content that is played; the last game's table stays until the next game
  // reports its own.
  function showScores(module, folder, fingerprint) {
    const text = textOf(module, `${folder}/scores.txt`, kavorindScores.maxTableBytes);
    const entries = kavorindScores.tableOf(text === null ? [] : kavorindScores.parseScoreTable(text), fingerprint);
    probe.scores = { folder, fingerprint, entries };
    const body = document.querySelector('#score-table tbody');
    body.replaceChildren(...entries.flatMap((entry, index) => scoreRows(module, folder, entry, index + 1)));
    document.getElementById('score-table').hidden = entries.length === 0;
    document.getElementById('scores-empty').hidden = entries.length > 0;
    const lastRun = document.getElementById('last-run');
    lastRun.disabled = !fileExists(module, `${folder}/replays/last.keys`);
  }

  function downloadFile(module, path, name) {
    let bytes;
    try {
      bytes = module.FS.readFile(path);
    } catch {
      say(`The replay ${name} cannot be read any more.`);
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    // The browser has taken the bytes once the click is handled; the address is let go later.
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  function watchReplay(what) {
    watching = what;
    restartGame();
  }

  // A key script from the player's disk, put where the game reads it under a plain name.
  async function loadReplay(file) {
    if (file.size > maxReplayBytes) {
      say(`The replay cannot be read: ${file.name} is larger than the page holds (${maxReplayBytes >> 20} MiB).`);
      return;
    }
    const base = file.name.replace(/\.keys$/i, '').replace(/[^A-Za-z0-9._-]/g, '_').slice(0, 64) || 'replay';
    const path = `/watch/${base}.keys`;
    watchReplay({ args: ['--watch', path], file: { path, bytes: new Uint8Array(await file.arrayBuffer()) } });
  }

  // Beside the canvas on a wide window, under the header on a narrow one; folded away by its button.
  function watchScorePanel() {
    const panel = document.getElementById('scores');
    const toggle = document.getElementById('scores-toggle');
    const show = (open) => {
      panel.hidden = !open;
      toggle.setAttribute('aria-expanded', String(open));
    };
    show(!window.matchMedia('(max-width: 800px)').matches);
    toggle.addEventListener('click', () => show(panel.hidden));
    document.getElementById('last-run').addEventListener('click', () => watchReplay({ args: ['--watch', 'last'] }));
    document.getElementById('replay-file').addEventListener('change', async (event) => {
      const file = event.target.files[0];
      event.target.value = '';
      if (!file) return;
      try {
        await loadReplay(file);
      } catch (error) {
        say(`The replay cannot be read: ${error.message}.`);
      }
    });
    kavorindPlayerFiles.whenTroubled((text) => {
      document.getElementById('scores-note').textContent = text;
      say(text, { id: 'dismiss-storage', label: 'Play', run: keepFocusOnGame });
    });
  }

  // The screenshot button: the game's next frame, through its palette and without anything the
  // page or the shell draws over it, as a PNG download named like the desktop's screenshots; a
  // paused game presents no frame, so after a moment the canvas as it stands is taken instead.
  let screenshotWanted = null;
  function offerPicture(source, tick) {
    const stamp = new Date().toISOString().replace(/[-:]/g, '').replace('T', '-').slice(0, 15);
    source.toBlob((blob) => {
      if (!blob) return;
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = `kavorind-${stamp}-t${tick}.png`;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }, 'image/png');
  }
  function frameCanvas(frame) {
    const picture = document.createElement('canvas');
    picture.width = frame.width;
    picture.height = frame.height;
    const context = picture.getContext('2d');
    const image = context.createImageData(frame.width, frame.height);
    for (let i = 0; i < frame.pixels.length; ++i) {
      const colour = frame.pixels[i] * 3;
      image.data.set([frame.colours[colour], frame.colours[colour + 1], frame.colours[colour + 2], 255], i * 4);
    }
    context.putImageData(image, 0, 0);
    return picture;
  }
  function saveScreenshot() {
    clearTimeout(screenshotWanted);
    screenshotWanted = setTimeout(() => {
      screenshotWanted = null;
      offerPicture(canvas, probe.tick());
    }, 400);
    keepFocusOnGame();
  }
  function screenshotFrame(module, tick, frameArgs) {
    if (screenshotWanted === null || tick < 1) return;
    clearTimeout(screenshotWanted);
    screenshotWanted = null;
    const frame = copyFrame(module, tick, ...frameArgs);
    offerPicture(frameCanvas(frame), tick);
  }

  function switchFullScreen() {
    const stage = document.getElementById('stage');
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(() => say('This browser did not allow the full screen.'));
  }

  // The keys are the game's while the picture (or nothing in particular) has the focus.
  function gameHasKeys(target = document.activeElement) {
    return target === canvas || target === document.body || target === document.documentElement || target === window || target === null;
  }

  // The header folds away while the game has the keys; the Play button lights up when it has not.
  function showWhoHasKeys() {
    const playing = gameHasKeys() && probe.state === 'running';
    document.body.classList.toggle('playing', playing);
    document.body.classList.toggle('away', !gameHasKeys());
  }

  function watchKeys() {
    kavorindKeys.watch(gameHasKeys, switchFullScreen);
    document.addEventListener('focusin', showWhoHasKeys);
    document.addEventListener('focusout', () => setTimeout(showWhoHasKeys, 0));
    document.getElementById('play').addEventListener('click', () => {
      notice.hidden = true;
      keepFocusOnGame();
    });
  }

  // A phone or tablet without a keyboard is told what the game needs before it starts.
  function touchOnly() {
    return window.matchMedia('(hover: none) and (pointer: coarse)').matches && !navigator.getGamepads?.().some(Boolean);
  }

  function watchButtons() {
    document.getElementById('screenshot').addEventListener('click', saveScreenshot);
    document.getElementById('fullscreen').addEventListener('click', (event) => {
      switchFullScreen();
      if (event.detail > 0) keepFocusOnGame();
    });
    // The file pickers open from buttons, which the keys reach as well as the pointer.
    for (const button of document.querySelectorAll('button[data-picker]'))
      button.addEventListener('click', () => document.getElementById(button.dataset.picker).click());
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
    // A click of the pointer anywhere but a file picker gives the keys back to the game; buttons
    // never keep them (Space and Return are the game's fire keys). A button worked with the keys
    // (detail 0) leaves the focus where it is, so that the keys go on through the page's controls
    // until Play.
    document.addEventListener('click', (event) => {
      if (event.detail > 0 && !(event.target instanceof HTMLInputElement)) keepFocusOnGame();
    });
    document.addEventListener('mouseup', (event) => {
      if (event.target instanceof Element && event.target.closest('button'))
        setTimeout(keepFocusOnGame, 0);
    });
  }

  // The canvas holds the frame enlarged by the largest whole multiple that fits the screen's
  // pixels; what it shows until the game's next frame is the last one, enlarged the same way.
  function fitCanvas() {
    const stage = document.getElementById('stage');
    const ratio = window.devicePixelRatio || 1;
    const multiple = Math.max(1, Math.floor(Math.min(stage.clientWidth * ratio / 640, stage.clientHeight * ratio / 480)));
    if (canvas.width === 640 * multiple && canvas.height === 480 * multiple) return;
    const shown = document.createElement('canvas');
    shown.width = canvas.width;
    shown.height = canvas.height;
    shown.getContext('2d').drawImage(canvas, 0, 0);
    canvas.width = 640 * multiple;
    canvas.height = 480 * multiple;
    const context = canvas.getContext('2d', { alpha: false });
    context.imageSmoothingEnabled = false;
    context.drawImage(shown, 0, 0, canvas.width, canvas.height);
  }

  const problem = missingFeature();
  if (problem) {
    probe.state = 'failed';
    say(problem);
    return;
  }
  watchButtons();
  watchKeys();
  watchScorePanel();
  if (touchOnly())
    say('Kavorind is played with a keyboard or a game pad: plug one in, or come back on a computer.',
      { id: 'dismiss-touch', label: 'Play anyway', run: keepFocusOnGame });
  fitCanvas();
  new ResizeObserver(fitCanvas).observe(document.getElementById('stage'));
  const progress = document.getElementById('progress');
  kavorindProgram.load((loaded, total) => {
    probe.progress.push({ loaded, total, ms: performance.now() });
    progress.max = total;
    progress.value = loaded;
    progress.textContent = `${Math.floor((100 * loaded) / total)} %`;
  }).then(() => {
    probe.loadedMs = performance.now();
    progress.hidden = true;
    start();
  }, (error) => {
    progress.hidden = true;
    probe.state = 'failed';
    say(`The game could not be loaded from the server: ${error.message}.`);
  });
})();
