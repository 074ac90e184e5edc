// The page's one table of keys: who a key press belongs to. SDL cancels the browser's default for
// every key its listener sees (Tab, F5, Ctrl+R, zoom, F12 among them), so the page listens first,
// in the capture phase, and hands SDL only the game's keys: the browser keeps its own, the page
// switches its full screen, and a control with the focus (a button, the file pickers) is worked by
// the keys as any page's is.
'use strict';

const kavorindKeys = (function () {
  // Moving between controls, reloading, the developer tools, caret browsing, the address bar.
  const browserKeys = new Set(['Tab', 'F5', 'F6', 'F7', 'F12', 'BrowserBack', 'BrowserForward',
    'BrowserRefresh', 'ContextMenu']);
  const modifierKeys = new Set(['Control', 'Alt', 'Meta', 'Shift', 'AltGraph']);

  // 'full-screen', 'browser' or 'game', for a key pressed while the game (onGame) or a control of
  // the page has the focus. Held alone, a modifier may be a game key (Ctrl fires, say); with
  // another key, Ctrl, Alt and Meta make a browser's shortcut (Ctrl+R, Ctrl +/-, Alt+Left).
  function owner(event, onGame) {
    if (event.key === 'F11' || (event.key === 'Enter' && event.altKey)) return 'full-screen';
    if (!onGame || browserKeys.has(event.key)) return 'browser';
    if ((event.ctrlKey || event.altKey || event.metaKey) && !modifierKeys.has(event.key)) return 'browser';
    return 'game';
  }

  // Listens before SDL does. onGame() says whether the game has the keys now; switchFullScreen()
  // is the page's own.
  function watch(onGame, switchFullScreen) {
    const listener = (event) => {
      const who = owner(event, onGame(event.target));
      if (who === 'game') return;
      // SDL's listener is the page's too: it never sees what is not the game's.
      event.stopImmediatePropagation();
      if (who === 'full-screen') {
        event.preventDefault();
        if (event.type === 'keydown' && !event.repeat) switchFullScreen();
      }
    };
    for (const type of ['keydown', 'keyup', 'keypress']) window.addEventListener(type, listener, { capture: true });
  }

  return { owner, watch };
})();
