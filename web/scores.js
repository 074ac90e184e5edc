// The player's score table as the game writes it (scores.txt in the player's folder), read for the
// page's table beside the canvas. The file is the player's own and may be old, hand-edited or
// damaged: it is read leniently, a line that is not a whole entry is passed over, and nothing in it
// ever reaches the page as markup or names a file outside the replays folder. The page has it as
// window.kavorindScores; node's tests import it.
'use strict';

(function (scores) {
  const header = 'kavorind-scores 1';
  const fieldCount = 8;
  // The game keeps the best ten of each content set; a longer file shows its best ten too.
  const shownEntries = 10;
  // More than the table could ever hold, and little enough that a huge file is not read at all.
  const maxTableBytes = 1 << 20;
  const longestName = 24;
  const longestReplayName = 120;

  // A replay is named by a plain file name inside replays/, never a path, never hidden.
  function replayNameOf(field) {
    if (field === '-' || field.length > longestReplayName) return null;
    if (!/^[A-Za-z0-9][A-Za-z0-9._-]*\.keys$/.test(field)) return null;
    return field;
  }

  // A count as the game writes it: plain decimal digits, no sign, within a safe integer.
  function countOf(field) {
    if (!/^[0-9]{1,15}$/.test(field)) return null;
    return Number(field);
  }

  // A name shown as text: control characters dropped, cut to what the game's own entry allows.
  function nameOf(field) {
    return Array.from(field.replace(/[\u0000-\u001f\u007f]/g, '')).slice(0, longestName).join('');
  }

  function entryOf(line) {
    const fields = line.split('\t');
    if (fields.length !== fieldCount) return null;
    const [content, scoreField, stageField, clearedField, date, name, ticksField, replayField] = fields;
    const score = countOf(scoreField);
    const stage = countOf(stageField);
    const ticks = countOf(ticksField);
    if (content === '' || score === null || ticks === null) return null;
    if (stage === null || stage < 1 || stage > 3) return null;
    if (clearedField !== 'yes' && clearedField !== 'no') return null;
    return {
      content,
      score,
      stage,
      cleared: clearedField === 'yes',
      date: nameOf(date),
      name: nameOf(name),
      ticks,
      replay: replayNameOf(replayField),
    };
  }

  // Every whole entry of the file, in the file's order; a file of another kind or version holds
  // none.
  function parseScoreTable(text) {
    const lines = text.split('\n').map((line) => line.replace(/\r$/, ''));
    if (lines[0] !== header) return [];
    const entries = [];
    for (const line of lines.slice(1)) {
      if (line === '' || line.startsWith('#')) continue;
      const entry = entryOf(line);
      if (entry) entries.push(entry);
    }
    return entries;
  }

  // The entries of one content set, best first: the higher score, then the earlier date.
  function tableOf(entries, fingerprint) {
    return entries
      .filter((entry) => entry.content === fingerprint)
      .sort((a, b) => b.score - a.score || (a.date < b.date ? -1 : a.date > b.date ? 1 : 0))
      .slice(0, shownEntries);
  }

  // "2026-12-09T14:25:54Z" as the table shows it, in the player's own time zone; a date the game
  // did not write is shown as it stands.
  function shownDate(date) {
    if (!/^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$/.test(date)) return date;
    const when = new Date(date);
    if (Number.isNaN(when.getTime())) return date;
    const two = (number) => String(number).padStart(2, '0');
    return `${when.getFullYear()}-${two(when.getMonth() + 1)}-${two(when.getDate())} ` +
      `${two(when.getHours())}:${two(when.getMinutes())}`;
  }

  scores.parseScoreTable = parseScoreTable;
  scores.tableOf = tableOf;
  scores.shownDate = shownDate;
  scores.replayNameOf = replayNameOf;
  scores.maxTableBytes = maxTableBytes;
})(typeof module === 'object' ? module.exports : (window.kavorindScores = {}));
