// The page's reading of the score table under node: the game's own lines come through whole, the
// table of one content set is its best ten in the game's order, and a damaged or hostile file
// yields no entry that could name a file outside the replays folder or break the page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import scores from '../../web/scores.js';

const header = 'kavorind-scores 1\n# content\tscore\tstage\tcleared\tdate\tname\tticks\treplay\n';
const line = (fields) => fields.join('\t');
const entry = ({ content = '0123456789abcdef', score = '100', stage = '1', cleared = 'no',
  date = '2026-12-09T14:25:54Z', name = 'mika', ticks = '900', replay = 'r.keys' } = {}) =>
  line([content, score, stage, cleared, date, name, ticks, replay]);

test('the game\'s lines are read whole, CRLF endings and comments too', () => {
  const text = header + entry({ score: '12345', stage: '2', cleared: 'yes', replay: '20261209-142554-12345.keys' }) +
    '\r\n# a note\r\n\r\n' + entry({ replay: '-', name: '미카' }) + '\n';
  assert.deepEqual(scores.parseScoreTable(text), [
    { content: '0123456789abcdef', score: 12345, stage: 2, cleared: true, date: '2026-12-09T14:25:54Z',
      name: 'mika', ticks: 900, replay: '20261209-142554-12345.keys' },
    { content: '0123456789abcdef', score: 100, stage: 1, cleared: false, date: '2026-12-09T14:25:54Z',
      name: '미카', ticks: 900, replay: null },
  ]);
});

test('a file of another kind or version holds no entries', () => {
  for (const first of ['kavorind-scores 2', 'KAVORIND-SCORES 1', '', '\uFEFFkavorind-scores 1', 'kavorind-settings 1'])
    assert.deepEqual(scores.parseScoreTable(`${first}\n${entry()}\n`), [], JSON.stringify(first));
});

test('a line that is not a whole entry is passed over, the lines around it kept', () => {
  const bad = [
    entry().split('\t').slice(0, 7).join('\t'), // a field short
    entry() + '\textra',
    entry({ score: '-5' }), entry({ score: '1e9' }), entry({ score: ' 100' }), entry({ score: '9'.repeat(16) }),
    entry({ stage: '0' }), entry({ stage: '4' }), entry({ stage: 'two' }),
    entry({ cleared: 'maybe' }), entry({ cleared: 'YES' }),
    entry({ ticks: 'x' }), entry({ content: '' }),
  ];
  const text = header + entry({ score: '1' }) + '\n' + bad.join('\n') + '\n' + entry({ score: '2' }) + '\n';
  assert.deepEqual(scores.parseScoreTable(text).map((kept) => kept.score), [1, 2]);
});

test('a replay field names a plain file inside replays/ or nothing', () => {
  for (const name of ['../scores.txt', '../../etc/passwd.keys', '/abs/r.keys', 'sub/r.keys', '..keys', '.hidden.keys',
    'r.txt', 'r.keys\u0000.txt', 'a b.keys', 'r\\x.keys', 'x'.repeat(200) + '.keys', '-'])
    assert.equal(scores.parseScoreTable(header + entry({ replay: name }))[0].replay, null, JSON.stringify(name));
  assert.equal(scores.parseScoreTable(header + entry({ replay: 'last.keys' }))[0].replay, 'last.keys');
});

test('a name is shown as text: control characters dropped, cut to 24 characters', () => {
  const [kept] = scores.parseScoreTable(header + entry({ name: 'a\u0007b\u001b[31m' + 'é'.repeat(40) }));
  assert.equal(kept.name, 'ab[31m' + 'é'.repeat(18));
});

test('the table of a content set is its best ten: higher score first, then the earlier date', () => {
  const mine = 'aaaa';
  const lines = [];
  for (let i = 0; i < 12; ++i) lines.push(entry({ content: mine, score: String(100 * i), date: `2026-01-${String(i + 10)}T00:00:00Z` }));
  lines.push(entry({ content: mine, score: '500', date: '2025-06-01T00:00:00Z', name: 'earlier' }));
  lines.push(entry({ content: 'bbbb', score: '99999' }));
  const table = scores.tableOf(scores.parseScoreTable(header + lines.reverse().join('\n')), mine);
  assert.deepEqual(table.map((kept) => kept.score), [1100, 1000, 900, 800, 700, 600, 500, 500, 400, 300]);
  assert.equal(table[6].name, 'earlier');
  assert.deepEqual(scores.tableOf(scores.parseScoreTable(header + lines.join('\n')), 'cccc'), []);
});

test('the game\'s date is shown to the minute in the player\'s time zone; another is shown as it stands', () => {
  process.env.TZ = 'Asia/Kathmandu'; // +05:45, where a date moves by more than whole hours
  assert.equal(scores.shownDate('2026-12-09T14:25:54Z'), '2026-12-09 20:10');
  assert.equal(scores.shownDate('2026-12-09T23:59:00Z'), '2026-12-10 05:44');
  for (const odd of ['yesterday', '2026-13-45T99:99:99Z', '<script>'])
    assert.equal(scores.shownDate(odd), odd);
});
