// The GM's page: follows the whole table and turns the GM's clicks and buttons
// into the table's commands. What it shows comes only from the server's
// gm-state, so every GM's screen agrees with what was saved and sent.

import { Board, rectangleCells, rectangleFrame } from './board.js';
import { TableClient } from './client.js';
import { addNotice, dismissNotices } from './notices.js';
import {
  COLUMNS, MARKER_COLOURS, ROWS, SymbolSheet, adoptTable, columnOf, indexOf, rowOf, validParty,
} from './mapdraw.js';

const $ = (id) => document.getElementById(id);

let table = null; // the last gm-state
let chosen = -1; // the map on the GM's screen; the players may be shown another
let board = null;
let framing = false; // the next drag draws the players' frame
let marker = 0; // the colour of the marker the Party tool places
let pointing = false; // the next click points at a cell

const secret = new URLSearchParams(location.hash.slice(1)).get('k');
const client = new TableClient({ type: 'hello', role: 'gm', secret }, { onMessage, onStatus });

function onMessage(message) {
  if (message.type === 'gm-state') showTable(message);
  else if (message.type === 'players') showPlayers(message);
  else if (message.type === 'notice') addNotice(message.level, message.text);
  else if (message.type === 'stepped') addNotice('info', message.text);
}

function onStatus(status, code, refusal) {
  // A warning about the connection lasts as long as its cause.
  if (status === 'open') dismissNotices('connection');
  if (status === 'lost') addNotice('warning', 'Not connected: reconnecting…', 'connection');
  if (status === 'lost' || status === 'connecting') {
    $('players').textContent = status === 'lost' ? 'Connection lost: reconnecting…' : 'Connecting…';
    $('players').className = 'players behind';
  } else if (status === 'refused') {
    refuse(refusal || 'The table did not accept this address’s secret.');
  }
}

// A refused page shows only why: no controls that look live.
function refuse(text) {
  $('refused').textContent = text;
  $('refused').hidden = false;
  $('players').textContent = 'Not connected';
  document.body.classList.add('refused-page');
}

function showTable(state) {
  if (!Array.isArray(state.maps) || state.maps.length === 0 || !adoptTable(state.table)) return;
  showJoin(state.table.join);
  table = state;
  if (chosen < 0 || chosen >= state.maps.length) chosen = state.shown;
  const many = state.maps.length > 1;
  $('maps').hidden = !many;
  const choice = $('map-choice');
  if (choice.options.length !== state.maps.length) {
    choice.replaceChildren(...state.maps.map((map, index) => new Option(map.name, String(index))));
  }
  state.maps.forEach((map, index) => {
    choice.options[index].textContent = index === state.shown ? `${map.name} (players see it)` : map.name;
  });
  choice.value = String(chosen);
  const showing = chosen === state.shown;
  $('show-map').hidden = showing;
  $('shown-badge').hidden = !showing;

  const map = state.maps[chosen];
  const prepared = count(map.prepared);
  $('show-prepared').disabled = prepared === 0;
  $('show-prepared').querySelector('.label').textContent = prepared ? `Show prepared (${prepared})` : 'Show prepared';
  $('clear-prepared').disabled = prepared === 0;
  $('whole-map').disabled = map.frame === null;
  $('grid').checked = map.grid;
  $('follow').checked = map.follow === true;
  showRange(map.range);
  $('undo').disabled = !state.canUndo;
  $('redo').disabled = !state.canRedo;
  document.title = `${map.name}: Vellumor table`;
  board.show(map);
}

// Where players join: the address the server printed first, and its QR code.
function showJoin(join) {
  if (typeof join !== 'string' || !/^https?:\/\//.test(join)) return;
  if ($('players-address').textContent !== join) $('players-address').textContent = $('players-address').href = join;
  $('join-code').hidden = false;
}

const count = (cells) => [...cells].filter((cell) => cell === '1').length;

function showPlayers({ count: players, upToDate, players: list }) {
  showScreens(Array.isArray(list) ? list : []);
  const behind = players - upToDate;
  const status = $('players');
  if (players === 0) status.textContent = 'No players yet';
  else if (behind === 0) status.textContent = `${plural(players, 'player')}, all up to date`;
  else status.textContent = `${plural(players, 'player')}, ${behind} behind`;
  status.className = behind > 0 ? 'players behind' : 'players';
}

// One line a player: its name or kind, its size, whether it is behind; and a
// box to name it. Names are shown as text, whatever they hold.
function showScreens(list) {
  const rows = $('screens-list');
  const kept = new Map([...rows.children].map((row) => [row.dataset.id, row]));
  const wanted = list.filter((player) => Number.isInteger(player.id));
  rows.replaceChildren(...wanted.map((player) => {
    const row = kept.get(String(player.id)) ?? newScreenRow(player.id);
    const screen = player.screen;
    const kind = screen ? `${screen.kind === 'tv' ? 'TV' : screen.kind} ${screen.width}x${screen.height}` : 'screen';
    row.querySelector('.screen-what').textContent = `${kind} · ${player.upToDate ? 'up to date' : 'behind'}`;
    row.classList.toggle('behind', !player.upToDate);
    const name = row.querySelector('input');
    name.disabled = !screen;
    if (document.activeElement !== name) name.value = typeof player.name === 'string' ? player.name : '';
    return row;
  }));
  $('screens').hidden = wanted.length === 0;
}

function newScreenRow(id) {
  const row = document.createElement('li');
  row.dataset.id = String(id);
  const name = document.createElement('input');
  name.type = 'text';
  name.maxLength = 40;
  name.placeholder = 'Name this screen';
  name.setAttribute('aria-label', 'The screen\'s name');
  name.addEventListener('change', () => {
    if (!client.send({ type: 'name-screen', player: id, name: name.value })) {
      addNotice('warning', 'Not connected: the name was not kept.', 'connection');
    }
  });
  name.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') name.blur();
  });
  const what = document.createElement('span');
  what.className = 'screen-what';
  row.append(name, what);
  return row;
}

const plural = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;

// What a click or drag on the map does, by the tool and mode chosen.
function pick({ from, to, hide }) {
  if (!table || to < 0) return;
  const map = table.maps[chosen];
  if (pointing) {
    setPointing(false);
    point(to);
    return;
  }
  if (framing) {
    if (from === to) return; // a frame is dragged; a click leaves the tool as it is
    setFraming(false);
    command('frame', { frame: rectangleFrame(from, to) });
    return;
  }
  const tool = $('tool').querySelector(':checked').value;
  if (tool === 'party') {
    moveParty({ from, to, hide });
    return;
  }
  const prepare = $('mode').querySelector(':checked').value === 'prepare';
  const marked = prepare ? map.prepared : map.revealed;
  const fields = { revealed: !hide && marked[from] !== '1', ...(prepare && { prepare: true }) };
  if (tool === 'cells') command('set', { cells: rectangleCells(from, to), ...fields });
  else if (from === to) command('region', { cell: from, kind: tool, ...fields });
}

// The party's markers: a click on a marker chooses it, a click elsewhere
// places the chosen one there, a drag moves the one dragged, the right button
// takes one off; each move is one command, and with follow on, one reveal.
function moveParty({ from, to, hide }) {
  const party = validParty(table.maps[chosen].party);
  const under = party.find((each) => each.cell === from);
  if (hide) {
    if (under) command('party', { markers: party.filter((each) => each !== under) });
    return;
  }
  if (under && from === to) {
    chooseMarker(under.colour); // a click on a marker chooses it
    return;
  }
  const colour = under ? under.colour : marker;
  chooseMarker(colour);
  placeMarker(party, colour, to);
}

function placeMarker(party, colour, cell) {
  const others = party.filter((each) => each.colour !== colour);
  if (party.some((each) => each.colour === colour && each.cell === cell)) return;
  command('party', { markers: [...others, { colour, cell }] });
}

// The arrow keys walk the chosen marker one cell at a time (from the middle
// of the map if it is not yet placed).
function stepParty(dx, dy) {
  if (!table || $('tool').querySelector(':checked').value !== 'party') return false;
  const party = validParty(table.maps[chosen].party);
  const placed = party.find((each) => each.colour === marker);
  const from = placed ? placed.cell : indexOf(Math.floor(COLUMNS / 2), Math.floor(ROWS / 2));
  const column = Math.min(COLUMNS - 1, Math.max(0, columnOf(from) + (placed ? dx : 0)));
  const row = Math.min(ROWS - 1, Math.max(0, rowOf(from) + (placed ? dy : 0)));
  placeMarker(party, marker, indexOf(column, row));
  return true;
}

function chooseMarker(colour) {
  marker = colour;
  const input = $('markers').querySelector(`input[value="${colour}"]`);
  if (input) input.checked = true;
}

function newMarkerChoices() {
  $('markers').replaceChildren(...MARKER_COLOURS.map((colour, index) => {
    const label = document.createElement('label');
    label.className = 'marker-choice';
    label.title = `Marker ${index + 1} (${index + 1})`;
    const input = document.createElement('input');
    input.type = 'radio';
    input.name = 'marker';
    input.value = String(index);
    input.checked = index === marker;
    input.setAttribute('aria-label', `Marker ${index + 1}`);
    input.addEventListener('change', () => chooseMarker(index));
    // The marker's number is its key.
    const swatch = document.createElement('kbd');
    swatch.className = 'marker-swatch';
    swatch.style.background = colour;
    swatch.textContent = String(index + 1);
    label.append(input, swatch);
    return label;
  }));
}

function showRange(range) {
  const value = Number.isInteger(range) ? String(range) : '';
  const select = $('range');
  if (![...select.options].some((option) => option.value === value)) select.add(new Option(`${value} cells`, value));
  select.value = value;
}

// The next sight on the list, as when a torch is lit or goes out.
function nextRange() {
  const select = $('range');
  select.selectedIndex = (select.selectedIndex + 1) % select.options.length;
  sendFollow();
}

function sendFollow() {
  const range = $('range').value === '' ? null : Number($('range').value);
  command('follow', { follow: $('follow').checked, range });
}

function command(type, fields = {}) {
  if (!client.send({ type, map: chosen, ...fields })) {
    addNotice('warning', 'Not connected: nothing was changed.', 'connection');
  }
}

// Every player sees a ring there for a moment; nothing is revealed by it.
function point(cell) {
  if (table && cell >= 0) command('point', { cell });
}

// Undo and redo name no map; like every other button they say when nothing
// could be sent.
function step(type) {
  if (!client.send({ type })) {
    addNotice('warning', `Not connected: nothing was ${type === 'undo' ? 'undone' : 'redone'}.`, 'connection');
  }
}

// Prepare mode colours the page's frame, so that no one reveals by mistake.
function setMode(mode) {
  const input = $('mode').querySelector(`input[value="${mode}"]`);
  if (input) input.checked = true;
  document.body.classList.toggle('preparing', mode === 'prepare');
}

function setPointing(on) {
  pointing = on;
  if (on) setFraming(false);
  $('point').setAttribute('aria-pressed', String(on));
  $('board').classList.toggle('pointing', on);
}

function setFraming(on) {
  framing = on;
  if (on && pointing) setPointing(false);
  $('draw-frame').setAttribute('aria-pressed', String(on));
  $('board').classList.toggle('framing', on);
}

function chooseTool(value) {
  const input = $('tool').querySelector(`input[value="${value}"]`);
  if (input) input.checked = true;
}

function listen() {
  $('map-choice').addEventListener('change', (event) => {
    chosen = Number(event.target.value);
    showTable(table);
  });
  $('show-map').addEventListener('click', () => command('show-map'));
  // Once shown, the next clicks are for the players again.
  $('show-prepared').addEventListener('click', () => {
    command('show-prepared');
    setMode('live');
  });
  $('mode').addEventListener('change', () => setMode($('mode').querySelector(':checked').value));
  $('clear-prepared').addEventListener('click', () => command('clear-prepared'));
  // Shown is seen: revealing everything asks first.
  $('reveal-all').addEventListener('click', () => $('confirm-reveal').showModal());
  $('confirm-reveal-cancel').addEventListener('click', () => $('confirm-reveal').close());
  $('confirm-reveal-ok').addEventListener('click', () => {
    $('confirm-reveal').close();
    command('all', { revealed: true });
  });
  $('hide-all').addEventListener('click', () => command('all', { revealed: false }));
  $('end-table').addEventListener('click', () => $('confirm-end').showModal());
  $('confirm-end-cancel').addEventListener('click', () => $('confirm-end').close());
  $('confirm-end-ok').addEventListener('click', () => {
    $('confirm-end').close();
    if (client.send({ type: 'end' })) client.finish('The table has ended. The reveal is kept beside each map.');
    else addNotice('warning', 'Not connected: the table was not ended.', 'connection');
  });
  $('draw-frame').addEventListener('click', () => setFraming(!framing));
  $('point').addEventListener('click', () => setPointing(!pointing));
  $('whole-map').addEventListener('click', () => command('frame', { frame: null }));
  $('grid').addEventListener('change', (event) => command('grid', { grid: event.target.checked }));
  $('follow').addEventListener('change', sendFollow);
  $('range').addEventListener('change', sendFollow);
  $('undo').addEventListener('click', () => step('undo'));
  $('redo').addEventListener('click', () => step('redo'));
  document.addEventListener('keydown', onShortcut);
}

function onShortcut(event) {
  if (document.querySelector('dialog[open]')) return; // a question first gets its answer
  const key = event.key.toLowerCase();
  if (event.ctrlKey || event.metaKey) {
    if (key === 'z') step(event.shiftKey ? 'redo' : 'undo');
    else if (key === 'y') step('redo');
    else return;
    event.preventDefault();
    return;
  }
  if (event.altKey || event.target.matches('select, input[type="text"]')) return;
  const tools = { c: 'cells', p: 'picture', w: 'walk', r: 'run', v: 'sight', t: 'party' };
  // The keys the tools' buttons show.
  const buttons = { s: 'show-prepared', a: 'reveal-all', h: 'hide-all', b: 'whole-map', o: 'follow' };
  if (key in tools) chooseTool(tools[key]);
  else if (/^[1-6]$/.test(key)) chooseMarker(Number(key) - 1);
  else if (key === 'i') nextRange();
  else if (key === 's' && event.shiftKey) $('clear-prepared').click();
  else if (key in buttons) $(buttons[key]).click();
  else if (key === 'l' || key === 'm') setMode(key === 'm' ? 'prepare' : 'live');
  else if (key === 'g') $('grid').click();
  else if (key === 'f') setFraming(!framing);
  else if (key === 'x' && board?.pointer >= 0) point(board.pointer);
  else if (key === 'x') setPointing(!pointing);
  else if (key === 'escape') {
    setFraming(false);
    setPointing(false);
  } else return;
  event.preventDefault();
}

// A new secret pasted into the address: start again with it.
window.addEventListener('hashchange', () => location.reload());
$('players-address').textContent = $('players-address').href = new URL('/', location.href).href;
$('join-code').addEventListener('click', () => $('join-code').classList.toggle('large'));
newMarkerChoices();
listen();
SymbolSheet.load().then((sheet) => {
  board = new Board($('board'), sheet, pick, point);
  board.onArrow = stepParty;
  if (!secret) refuse('This page needs the GM’s address that vellumor-map table printed: it ends in #k=…');
  else client.start();
});
