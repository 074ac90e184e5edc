// The player's own files (the score table and the replays) kept in the browser's IndexedDB: every
// game the page starts finds them in the folder /player, which is its XDG_DATA_HOME, read back from
// the storage before the game's main runs, and each time the game says it wrote them they are saved
// again (the game's own fsync of a file there saves the folder too, and waits for it). Where the browser keeps no storage (a private window, say) the page still plays: the files
// are carried from one game to the next in memory, and the player is told once that they go when
// the page does. The page has this as window.kavorindPlayerFiles.
'use strict';

(function (files) {
  const folder = '/player';
  // A browser that neither opens nor refuses the storage within this time is taken as one without.
  const storageAnswerMs = 5000;

  const state = {
    usable: null, // a promise of whether IndexedDB opens at all, asked once a page
    keeps: false, // what that promise said, unless the storage has failed since
    failed: false, // a read or a save failed: the rest of the page's games carry the files instead
    saving: Promise.resolve(), // the saves in flight, one after another
    saves: 0, // saves completed
    troubled: false, // the player has been told the files are not kept
    onTrouble: null, // the page's way of telling the player
    carried: [], // [{path, bytes}] carried between games where the storage keeps nothing
  };

  // Asked of a database of its own, so that a refusal never leaves IDBFS's database half made.
  function askStorage() {
    return new Promise((resolve) => {
      let request;
      try {
        if (typeof indexedDB === 'undefined' || !indexedDB) return resolve(false);
        request = indexedDB.open('kavorind-storage-check');
      } catch {
        return resolve(false);
      }
      const timer = setTimeout(() => resolve(false), storageAnswerMs);
      request.onsuccess = () => {
        clearTimeout(timer);
        request.result.close();
        indexedDB.deleteDatabase('kavorind-storage-check');
        resolve(true);
      };
      request.onerror = (event) => {
        clearTimeout(timer);
        event.preventDefault();
        resolve(false);
      };
    });
  }

  function trouble(text) {
    if (state.troubled) return;
    state.troubled = true;
    console.warn(text);
    if (state.onTrouble) state.onTrouble(text);
  }

  // Settled before a game starts: whether the storage is there, and every earlier save written,
  // so the new game reads what the last one wrote.
  async function ready() {
    if (!state.usable) state.usable = askStorage();
    const usable = await state.usable;
    await state.saving;
    state.keeps = usable && !state.failed;
    if (!usable)
      trouble('This browser keeps no storage for the page (a private window, perhaps): ' +
        'scores and replays last only until the page is closed.');
  }

  function filesUnder(FS, path, found) {
    for (const name of FS.readdir(path)) {
      if (name === '.' || name === '..') continue;
      const child = `${path}/${name}`;
      const mode = FS.lstat(child).mode;
      if (FS.isDir(mode)) filesUnder(FS, child, found);
      else if (FS.isFile(mode)) found.push({ path: child, bytes: FS.readFile(child) });
    }
    return found;
  }

  function carry(FS) {
    try {
      state.carried = filesUnder(FS, folder, []);
    } catch (error) {
      console.warn(`The player's files could not be carried: ${error}`);
    }
  }

  function putCarried(FS) {
    for (const file of state.carried) {
      const parts = file.path.split('/').filter(Boolean);
      let at = '';
      for (const part of parts.slice(0, -1)) {
        at += '/' + part;
        if (!FS.analyzePath(at).exists) FS.mkdir(at);
      }
      FS.writeFile(file.path, file.bytes);
    }
  }

  // In a module's preRun, once ready() has settled: the folder mounted and filled, main held
  // back until it is. Where nothing is kept the folder is a plain one in memory: on IDBFS the
  // game's every fsync would reach for the storage that is not there.
  function mount(module) {
    const FS = module.FS;
    FS.mkdir(folder);
    module.ENV.XDG_DATA_HOME = folder;
    // The settings the options screen writes are kept with the scores.
    module.ENV.XDG_CONFIG_HOME = folder + '/config';
    if (!state.keeps) {
      FS.mount(FS.filesystems.MEMFS, {}, folder);
      putCarried(FS);
      return;
    }
    FS.mount(FS.filesystems.IDBFS, {}, folder);
    module.addRunDependency('player-files');
    FS.syncfs(true, (error) => {
      // Saving over what could not be read would lose it: this page's games keep to memory.
      if (error) {
        state.failed = true;
        FS.unmount(folder);
        FS.mount(FS.filesystems.MEMFS, {}, folder);
        putCarried(FS);
        trouble(`The scores and replays kept in this browser could not be read (${error}): ` +
          'new ones last only until the page is closed.');
      }
      module.removeRunDependency('player-files');
    });
  }

  // The game wrote the files: saved after any save still in flight.
  function save(module) {
    if (!state.keeps || state.failed) {
      carry(module.FS);
      return;
    }
    state.saving = state.saving.then(() => new Promise((resolve) => {
      module.FS.syncfs(false, (error) => {
        if (error) {
          state.failed = true;
          carry(module.FS);
          trouble(`The scores and replays could not be kept in this browser (${error}): ` +
            'they last only until the page is closed.');
        } else {
          ++state.saves;
        }
        resolve();
      });
    }));
  }

  files.folder = folder;
  files.ready = ready;
  files.mount = mount;
  files.save = save;
  files.saves = () => state.saves;
  files.keeps = () => state.keeps;
  files.whenTroubled = (tell) => { state.onTrouble = tell; };
})(window.kavorindPlayerFiles = {});
