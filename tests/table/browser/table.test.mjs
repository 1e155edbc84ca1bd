// The table as its users see it: `vellumor-map table` serving two maps, the
// GM's page and two players' pages in Debian's chromium. Every change the GM
// makes is held against what was saved and what each player's canvas shows.
//
//   node table.test.mjs --table PATH/vellumor-map --examples PATH/examples [--screenshots DIR]

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { parseArgs } from 'node:util';
import {
  cell, cellPoint, freePort, launchChromium, mapCodes, openPage, playersPicture, savedState, startTable, tableFolder,
  until, wrongCells,
} from './tablekit.mjs';

const { values: options } = parseArgs({
  options: { table: { type: 'string' }, examples: { type: 'string' }, screenshots: { type: 'string' } },
});
assert(options.table && options.examples, 'usage: --table PROGRAM --examples FOLDER [--screenshots DIR]');

const folder = tableFolder(['town.map', 'castle.map'].map((name) => join(options.examples, name)));
const townPath = join(folder, 'town.map');
const town = mapCodes(townPath);
const profile = mkdtempSync(join(tmpdir(), 'vellumor-chromium-'));
const problems = [];
const port = await freePort();
const program = resolve(options.table);
let table = await startTable(program, folder, ['town.map', 'castle.map'], port);
const browser = await launchChromium(profile);

let gm = null;
let players = [];

const step = (text) => console.log(`- ${text}`);
// The saved state, or null while there is none.
const saved = () => {
  try {
    return savedState(townPath);
  } catch {
    return null;
  }
};
let lastRev = -1;

// Waits for the GM's change to be saved, then for both players to show it.
async function playersShowSaved(what) {
  const state = await until(`${what} saved`, () => (saved()?.rev > lastRev ? saved() : null));
  lastRev = state.rev;
  await playersShow(what, state);
  return state;
}

async function playersShow(what, state) {
  const expected = playersPicture(town, state);
  for (const player of players) {
    let wrong = [];
    await until(`the players' pictures after ${what}`, async () => {
      wrong = await wrongCells(player, expected);
      return wrong.length === 0;
    }).catch((error) => {
      throw new Error(`${error.message}: cells ${wrong.join(', ')} do not match`);
    });
  }
}

const revealedCells = (state) => [...state.revealed].flatMap((bit, index) => (bit === '1' ? [index] : []));

async function clickCell(index, modifiers = {}) {
  const { x, y } = await cellPoint(gm, index);
  await gm.mouse.click(x, y, modifiers);
}

async function dragCells(from, to) {
  const start = await cellPoint(gm, from);
  const end = await cellPoint(gm, to);
  await gm.mouse.move(start.x, start.y);
  await gm.mouse.down();
  await gm.mouse.move(end.x, end.y, { steps: 4 });
  await gm.mouse.up();
}

const choose = (value) => gm.click(`label:has(input[value="${value}"])`);
const noticeTexts = () => gm.$$eval('#notices .notice-text', (texts) => texts.map((text) => text.textContent));

// A player's canvas after its last repaint of changed cells alone, against a
// whole redraw: the same pixels.
async function repaintMatchesWhole(player) {
  return player.evaluate(() => new Promise((resolve) => {
    const canvas = document.getElementById('map');
    const painted = canvas.dataset.painted;
    const before = canvas.toDataURL();
    window.dispatchEvent(new Event('resize'));
    requestAnimationFrame(() => requestAnimationFrame(() => resolve({
      painted, then: canvas.dataset.painted, same: before === canvas.toDataURL(),
    })));
  }));
}
const statusLine = () => gm.$eval('#players', (status) => status.textContent);

try {
  gm = await openPage(browser, table.gm, { width: 1440, height: 900 }, problems);
  players = [
    await openPage(browser, table.players, { width: 1000, height: 700 }, problems),
    await openPage(browser, table.players, { width: 820, height: 620, deviceScaleFactor: 2 }, problems),
  ];
  await gm.waitForFunction(() => document.getElementById('board').dataset.layout);

  step('two players join and see only fog');
  await until('"2 players, all up to date"', async () => (await statusLine()) === '2 players, all up to date');
  await playersShow('joining', { revealed: '0'.repeat(875), frame: null });

  step('the GM sees each screen, behind or not, and names it; the name is kept as text');
  await gm.click('#screens summary');
  await until('two screens listed', async () => (await gm.$$eval('#screens-list li', (rows) => rows.length)) === 2);
  const kinds = await gm.$$eval('.screen-what', (items) => items.map((item) => item.textContent));
  assert(kinds.every((text) => /^(TV|phone|tablet|computer) \d+x\d+ · (up to date|behind)$/.test(text)), kinds.join('; '));
  const screenName = "Anna's <b>screen</b>";
  await gm.type('#screens-list li input', screenName);
  await gm.keyboard.press('Enter');
  // Each player's page has a browser profile of its own, so a screen of its own.
  const names = () => gm.$$eval('#screens-list li input', (inputs) => inputs.map((input) => input.value));
  const savedNames = () => {
    const kept = join(folder, 'state', 'vellumor');
    const files = existsSync(kept) ? readdirSync(kept).filter((name) => name.endsWith('.screens')) : [];
    return files.length ? Object.values(JSON.parse(readFileSync(join(kept, files[0]), 'utf8'))) : [];
  };
  await until('the name saved', () => savedNames().includes(screenName));
  assert.equal(await gm.$$eval('#screens-list b', (bold) => bold.length), 0);

  step('while nothing is revealed the players\' screen is the invitation, its QR code the address');
  for (const player of players) {
    await player.waitForSelector('#waiting:not([hidden])');
    assert.equal(await player.$eval('#join-address', (element) => element.textContent), table.players);
  }
  const codePicture = join(folder, 'join-code.png');
  await (await players[0].$('#join-code')).screenshot({ path: codePicture });
  assert.equal(execFileSync('zbarimg', ['--raw', '-q', codePicture], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim(), table.players);
  assert.equal(await gm.$eval('#players-address', (element) => element.textContent), table.players);
  await gm.waitForSelector('#join-code:not([hidden])');
  const phone = await openPage(browser, table.players,
    { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true }, problems);
  await phone.waitForSelector('#waiting:not([hidden])');
  await phone.waitForFunction(() => document.getElementById('map').dataset.layout);
  const phoneCells = await phone.$eval('#map', (canvas) => ({
    turned: canvas.dataset.turned,
    onScreen: (({ left, top, right, bottom, width, height }) => left >= 0 && top >= 0 && right <= innerWidth
      && bottom <= innerHeight && height > width)(canvas.getBoundingClientRect()),
    cell: JSON.parse(canvas.dataset.layout).cell,
    unturned: Math.floor(Math.min((innerWidth * devicePixelRatio) / 35, (innerHeight * devicePixelRatio) / 25)),
  }));
  assert.equal(phoneCells.turned, 'true', 'a phone held upright turns the map');
  assert(phoneCells.onScreen, 'the turned map stands upright on the screen');
  assert(phoneCells.cell > phoneCells.unturned, `cells of ${phoneCells.cell} px, ${phoneCells.unturned} unturned`);
  await phone.waitForFunction(() => document.getElementById('join-code').complete);
  await phone.screenshot({ path: join(options.screenshots ?? folder, 'table-waiting-phone.png') });
  await phone.close();

  step('a change that does not follow the revision shown asks for the whole state, and waits for it');
  const outcomes = await players[0].evaluate(async () => {
    const { ShownMap } = await import('/app/client.js');
    const shown = new ShownMap();
    const table = { columns: 35, rows: 25, symbols: 65, join: 'http://127.0.0.1/' };
    const state = { type: 'state', view: 1, rev: 4, cells: new Array(875).fill(-1), frame: null, grid: true, table };
    const change = (base, cells) => ({ type: 'change', view: 1, rev: base + 1, base, cells });
    return [shown.apply(change(3, [])), shown.apply(state), shown.apply(change(4, [[0, 7]])),
      shown.apply(change(6, [[1, 7]])), shown.apply(change(5, [[1, 7]])), shown.cells[0], shown.cells[1]];
  });
  assert.deepEqual(outcomes, ['ignored', 'applied', 'applied', 'resync', 'ignored', 7, -1]);

  step('a click reveals a cell; the time from the click to a player\'s canvas:');
  const latencies = [];
  for (const index of [cell(10, 11), cell(11, 11), cell(12, 11), cell(13, 11), cell(14, 11)]) {
    const seen = players[0].evaluate(async (index) => {
      const { FOG, cellBox } = await import('/app/mapdraw.js');
      const fog = FOG.match(/\d+/g).map(Number);
      const canvas = document.getElementById('map');
      return new Promise((resolve) => {
        const look = () => {
          const box = cellBox(JSON.parse(canvas.dataset.layout), index);
          const [r, g, b] = canvas.getContext('2d').getImageData(box.x + box.size / 2, box.y + box.size / 2, 1, 1).data;
          if (r !== fog[0] || g !== fog[1] || b !== fog[2]) resolve(Date.now());
          else requestAnimationFrame(look);
        };
        look();
      });
    }, index);
    const clicked = Date.now();
    await clickCell(index);
    latencies.push((await seen) - clicked);
  }
  latencies.sort((a, b) => a - b);
  console.log(`  click to canvas: median ${latencies[2].toFixed(1)} ms, slowest ${latencies[4].toFixed(1)} ms`);
  let state = await playersShowSaved('the clicks');
  assert.deepEqual(revealedCells(state), [cell(10, 11), cell(11, 11), cell(12, 11), cell(13, 11), cell(14, 11)]);
  for (const player of players) await player.waitForSelector('#waiting[hidden]');
  step('a player\'s canvas repaints only the changed cells, as a whole redraw would');
  for (const player of players) {
    assert.deepEqual(await repaintMatchesWhole(player), { painted: 'cells', then: 'whole', same: true });
  }

  step('a click on a revealed cell hides it again; a drag reveals a rectangle');
  await clickCell(cell(14, 11));
  await dragCells(cell(6, 4), cell(12, 8));
  state = await until('the rectangle saved', () => (saved()?.revealed[cell(12, 8)] === '1' ? saved() : null));
  await playersShowSaved('the drag');
  assert.equal(state.revealed[cell(14, 11)], '0');
  assert.equal(revealedCells(state).length, 4 + 7 * 5);
  for (const player of players) {
    assert.deepEqual(await repaintMatchesWhole(player), { painted: 'cells', then: 'whole', same: true });
  }

  step('by meaning: the inn is one picture, the river one run');
  await choose('picture');
  await clickCell(cell(19, 9));
  state = await playersShowSaved('the inn');
  for (const index of [cell(19, 9), cell(20, 9), cell(19, 10), cell(20, 10)]) assert.equal(state.revealed[index], '1');
  await choose('run');
  await clickCell(cell(33, 5));
  state = await playersShowSaved('the river');
  for (let row = 0; row < 25; ++row) assert.equal(state.revealed[cell(33, row)], '1', `river at row ${row}`);

  step('by meaning: where one can walk inside the walls; undone and redone from the keyboard');
  const before = state;
  await choose('walk');
  await clickCell(cell(16, 12));
  state = await playersShowSaved('the walk');
  assert(revealedCells(state).length > revealedCells(before).length + 100, 'the walk reveals the town');
  await gm.keyboard.down('Control');
  await gm.keyboard.press('z');
  state = await playersShowSaved('undo');
  assert.equal(state.revealed, before.revealed);
  await until('the GM told what was undone', async () => /^Undid: revealed \d+ cells on town\.map$/.test((await noticeTexts())[0]));
  await gm.keyboard.down('Shift');
  await gm.keyboard.press('Z');
  await gm.keyboard.up('Shift');
  await gm.keyboard.up('Control');
  state = await playersShowSaved('redo');
  await until('the GM told what was redone', async () => /^Redid: revealed \d+ cells on town\.map$/.test((await noticeTexts())[0]));

  step('notices stand beside the map, not on it, and go when dismissed');
  const [strip, board] = await gm.$$eval('#notices, #board', (elements) => elements.map((element) => {
    const { top, bottom, left, right } = element.getBoundingClientRect();
    return { top, bottom, left, right };
  }));
  assert(strip.bottom <= board.top || strip.top >= board.bottom || strip.right <= board.left || strip.left >= board.right,
    `notices ${JSON.stringify(strip)} over the map ${JSON.stringify(board)}`);
  const shown = (await noticeTexts()).length;
  await gm.click('#notices .notice button[aria-label="Dismiss this notice"]');
  assert.equal((await noticeTexts()).length, shown - 1);

  step('the GM points at a hidden cell: the players see a ring there, and nothing more');
  const hiddenCell = cell(0, 0);
  assert.equal(state.revealed[hiddenCell], '0');
  const pointed = await cellPoint(gm, hiddenCell);
  await gm.mouse.move(pointed.x, pointed.y);
  await gm.keyboard.press('x');
  for (const player of players) await player.waitForSelector('.pointer-ring');
  await playersShow('the pointer', state);
  assert.equal(saved().rev, state.rev, 'a pointer changes nothing');

  step('reveal all asks first; hide all; prepared cells stay hidden until shown');
  await gm.click('#reveal-all');
  await gm.click('#confirm-reveal-ok');
  state = await playersShowSaved('reveal all');
  assert.equal(revealedCells(state).length, 875);
  await gm.click('#hide-all');
  await playersShowSaved('hide all');
  await choose('cells');
  await choose('prepare');
  await dragCells(cell(22, 4), cell(28, 8));
  state = await playersShowSaved('preparing');
  assert.equal(revealedCells(state).length, 0);
  assert.equal([...state.prepared].filter((bit) => bit === '1').length, 35);
  const preparing = () => gm.$eval('body', (body) => body.classList.contains('preparing'));
  assert.equal(await preparing(), true);
  await gm.click('#show-prepared');
  state = await playersShowSaved('showing the prepared cells');
  assert.equal(revealedCells(state).length, 35);
  // Back to Live by itself.
  assert.equal(await gm.$eval('#mode :checked', (input) => input.value), 'live');
  assert.equal(await preparing(), false);

  step('the party walks in through the south gate, followed: what it sees is revealed, the players see it');
  await gm.click('#follow');
  await playersShowSaved('following the party');
  await choose('party');
  await clickCell(cell(17, 23));
  state = await playersShowSaved('the party outside the gate');
  assert.deepEqual(state.party, [{ colour: 0, cell: cell(17, 23) }]);
  assert.equal(state.revealed[cell(17, 21)], '1', 'the gate is seen');
  assert.equal(state.revealed[cell(17, 18)], '0', 'the closed gate hides the town');
  await dragCells(cell(17, 23), cell(17, 20));
  state = await playersShowSaved('the party through the gate');
  assert.deepEqual(state.party, [{ colour: 0, cell: cell(17, 20) }]);
  assert.equal(state.revealed[cell(17, 18)], '1', 'the street is seen from inside');
  assert.equal(state.revealed[cell(17, 24)], '1', 'what was seen stays seen');
  for (const player of players) {
    await until('the marker on the players\' screens',
      async () => JSON.parse(await player.$eval('#map', (canvas) => canvas.dataset.party ?? '[]'))
        .map(({ colour, cell: where }) => `${colour}@${where}`).join() === `0@${cell(17, 20)}`);
  }
  await gm.keyboard.press('ArrowUp');
  state = await playersShowSaved('a step up the street');
  assert.deepEqual(state.party, [{ colour: 0, cell: cell(17, 19) }]);
  await gm.click('#undo');
  state = await playersShowSaved('the step undone, with what it revealed');
  assert.deepEqual(state.party, [{ colour: 0, cell: cell(17, 20) }]);
  await gm.click('#follow');
  await playersShowSaved('no longer following');
  await clickCell(cell(17, 20), { button: 'right' });
  state = await playersShowSaved('the party taken off');
  assert.deepEqual(state.party, []);
  await gm.click('#hide-all');
  state = await playersShowSaved('hide all again');
  await choose('cells');

  step('the players\' screens follow a frame, and go back to the whole map');
  await gm.click('#draw-frame');
  await dragCells(cell(18, 3), cell(29, 12));
  state = await playersShowSaved('the frame');
  assert.deepEqual(state.frame, { column: 18, row: 3, columns: 12, rows: 10 });
  await gm.click('#whole-map');
  state = await playersShowSaved('the whole map');
  assert.equal(state.frame, null);
  await gm.click('#draw-frame');
  await dragCells(cell(17, 2), cell(30, 12));
  await playersShowSaved('the frame again');
  await until('the GM seeing the players up to date', async () => (await statusLine()).endsWith('all up to date'));

  step('the table restarts: the players and the open GM page reconnect by themselves');
  state = saved();
  const gmAddress = table.gm;
  await table.stop();
  for (const player of players) await player.waitForSelector('#connection:not([hidden])');
  await gm.waitForSelector('#notices .notice[data-cause="connection"]');
  table = await startTable(program, folder, ['town.map', 'castle.map'], port);
  assert.equal(table.gm, gmAddress);
  await playersShow('the restart', state);
  for (const player of players) await player.waitForSelector('#connection[hidden]');
  await gm.waitForSelector('#notices .notice[data-cause="connection"]', { hidden: true });
  await until('the GM page back, "2 players, all up to date"',
    async () => (await statusLine()) === '2 players, all up to date');
  assert.equal(await gm.$eval('#refused', (element) => element.hidden), true);
  await until('the screen\'s name kept over the restart', async () => (await names()).includes(screenName));

  step('a new secret locks the old GM address out at once, showing only why');
  await table.stop();
  table = await startTable(program, folder, ['town.map', 'castle.map'], port, ['--new-secret']);
  assert.notEqual(table.gm, gmAddress);
  await gm.waitForSelector('#refused:not([hidden])');
  assert.equal(await gm.$eval('.tools', (element) => getComputedStyle(element).visibility), 'hidden');
  await gm.goto('about:blank');
  await gm.goto(table.gm);
  await gm.waitForFunction(() => document.getElementById('board').dataset.layout);
  await until('"2 players, all up to date"', async () => (await statusLine()) === '2 players, all up to date');

  step('the town revealed by a walk, the fields prepared, the players\' screens framed on the town');
  await choose('walk');
  await clickCell(cell(16, 12));
  await playersShowSaved('the walk');
  await choose('cells');
  await choose('prepare');
  await dragCells(cell(0, 22), cell(8, 24));
  await playersShowSaved('preparing the fields');
  await gm.click('#draw-frame');
  await dragCells(cell(2, 1), cell(32, 23));
  await playersShowSaved('the frame on the town');
  await choose('live');
  await choose('party');
  await clickCell(cell(17, 19));
  await playersShowSaved('the party by the south gate');
  await gm.keyboard.press('2');
  await clickCell(cell(18, 19));
  await playersShowSaved('the party split in two');
  await gm.click('#follow');
  await playersShowSaved('following the party');
  await until('the players up to date', async () => (await statusLine()) === '2 players, all up to date');
  await gm.mouse.move(0, 0);
  await gm.click('#screens summary');

  // For the pictures, a name a GM would give.
  const nameBox = await gm.$('#screens-list li input');
  await nameBox.click({ clickCount: 3 });
  await gm.keyboard.type('TV by the hearth');
  await gm.keyboard.press('Enter');
  await until('the new name saved', () => savedNames().includes('TV by the hearth'));
  await gm.mouse.move(0, 0);

  const shots = options.screenshots ?? folder;
  await gm.screenshot({ path: join(shots, 'table-gm.png') });
  await players[0].screenshot({ path: join(shots, 'table-player.png') });
  step(`screenshots in ${shots}`);

  step('on a 1366x768 laptop every tool fits without scrolling, each showing its key');
  await gm.setViewport({ width: 1366, height: 768 });
  await gm.waitForFunction(() => innerWidth === 1366);
  const fit = await gm.evaluate(() => {
    const tools = document.querySelector('.tools');
    const page = document.scrollingElement;
    const keyless = [...tools.querySelectorAll('button, fieldset label, label.check')]
      .filter((control) => !control.matches('details *'))
      .filter((control) => !control.querySelector('kbd')?.textContent.trim() || !control.querySelector('kbd').offsetWidth)
      .map((control) => control.textContent.trim());
    return {
      pageScrolls: page.scrollHeight > innerHeight || page.scrollWidth > innerWidth,
      toolsScroll: tools.scrollHeight > tools.clientHeight || tools.scrollWidth > tools.clientWidth,
      keyless,
    };
  });
  assert.deepEqual(fit, { pageScrolls: false, toolsScroll: false, keyless: [] });

  step('a crowd of 64 players before the GM: the GM still gets in');
  await gm.goto('about:blank');
  const crowdJoined = players[0].evaluate(async (url) => {
    const joined = [];
    window.crowd = [];
    for (let i = 0; i < 64; ++i) {
      const socket = new WebSocket(url);
      window.crowd.push(socket);
      joined.push(new Promise((resolve) => {
        socket.onopen = () => socket.send(JSON.stringify({ type: 'hello', role: 'player' }));
        socket.onmessage = () => resolve('in');
        socket.onclose = (event) => resolve(event.code);
      }));
    }
    return Promise.all(joined);
  }, table.players.replace('http:', 'ws:') + 'ws');
  const crowdOutcomes = await crowdJoined;
  // The two players' pages were there first: the crowd fills the rest of the 64.
  assert.equal(crowdOutcomes.filter((outcome) => outcome === 'in').length, 62);
  assert.deepEqual(crowdOutcomes.filter((outcome) => outcome !== 'in'), [4503, 4503]);
  await gm.goto(table.gm);
  await gm.waitForFunction(() => document.getElementById('board').dataset.layout);
  await until('the GM counting 64 players', async () => (await statusLine()).startsWith('64 players'));
  assert(await gm.$eval('#refused', (refused) => refused.hidden), 'the GM was refused');
  await players[0].evaluate(() => window.crowd.forEach((socket) => socket.close()));
  await until('the crowd gone', async () => (await statusLine()) === '2 players, all up to date');

  step('the GM ends the table: it stops, and the page says so instead of reconnecting');
  await gm.click('#end-table');
  await gm.click('#confirm-end-ok');
  assert.equal(await table.exited, 0);
  await gm.waitForSelector('#refused:not([hidden])');
  assert.match(await gm.$eval('#refused', (refused) => refused.textContent), /ended/);

  const unexpected = problems.filter((text) => !text.includes('WebSocket connection to'));
  assert.deepEqual(unexpected, [], 'the pages reported errors');
  console.log('All checks passed');
} finally {
  await browser.close();
  await table.stop().catch(() => {}); // a table that hung on stopping was reported above
  rmSync(profile, { recursive: true, force: true });
  rmSync(folder, { recursive: true, force: true });
}
