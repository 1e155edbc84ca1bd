// The players' screen: the revealed cells filling the screen, hidden ones as
// fog, following the table as the GM changes it. Nothing here to press.

import { ShownMap, TableClient } from './client.js';
import {
  FOG, GRID_COLOUR, HIDDEN, SymbolSheet, WHOLE_MAP, cellBox, drawCellEdges, drawCells, drawParty, fitCanvasToElement,
  fitLayout, repaintCells,
} from './mapdraw.js';

const BACKGROUND = 'rgb(11, 13, 16)';

const canvas = document.getElementById('map');
const stage = document.getElementById('stage');
const turn = document.getElementById('turn');
const waiting = document.getElementById('waiting');
const notice = document.getElementById('connection');
const shown = new ShownMap();
let sheet = null;
let drawPending = false;
let wholePending = true; // the next drawing repaints everything, not just changed cells
const changedCells = new Set();
let drawn = null; // the layout last drawn in
let ackedView = null;
let ackedRev = -1;

// The screen as the GM sees it in the list of players: an id this browser
// keeps, so that the GM's name for it holds, and its kind and size.
function thisScreen() {
  let id = null;
  try {
    id = localStorage.getItem('vellumor-screen');
    if (!/^[A-Za-z0-9_-]{8,64}$/.test(id ?? '')) {
      id = `s-${[...crypto.getRandomValues(new Uint8Array(12))].map((b) => b.toString(16).padStart(2, '0')).join('')}`;
      localStorage.setItem('vellumor-screen', id);
    }
  } catch {
    return undefined; // storage refused: the screen goes unnamed
  }
  const touch = matchMedia('(pointer: coarse)').matches;
  const shortSide = Math.min(screen.width, screen.height);
  const kind = touch ? (shortSide < 600 ? 'phone' : 'tablet') : matchMedia('(pointer: none)').matches ? 'tv' : 'computer';
  const side = (n) => Math.min(100000, Math.max(1, Math.round(n)));
  return { id, kind, width: side(screen.width), height: side(screen.height) };
}

const client = new TableClient({ type: 'hello', role: 'player', screen: thisScreen() }, { onMessage, onStatus });

function onMessage(message) {
  if (message.type === 'pointer') {
    showPointer(message.cell);
    return;
  }
  const partyBefore = shown.party;
  const outcome = shown.apply(message);
  if (outcome === 'resync') client.send({ type: 'resync' });
  if (outcome !== 'applied') return;
  // A change of cells alone repaints those cells, and those the party left
  // and came to; anything else, everything.
  if (message.type === 'change' && !('frame' in message) && !('grid' in message)) {
    for (const [index] of message.cells ?? []) changedCells.add(index);
    for (const { cell } of [...partyBefore, ...shown.party]) changedCells.add(cell);
  } else {
    wholePending = true;
  }
  requestDraw();
}

// A drop is said quietly in a line above the map; the picture stays as it was.
function onStatus(status) {
  if (status === 'lost') shown.disconnected();
  if (status === 'open') ackedView = null; // a new connection is told afresh
  notice.hidden = status === 'open';
  document.getElementById('connection-text').textContent = shown.view === null ? 'Connecting…' : 'Reconnecting…';
}

function requestWholeDraw() {
  wholePending = true;
  requestDraw();
}

function requestDraw() {
  if (drawPending || !sheet) return;
  drawPending = true;
  requestAnimationFrame(draw);
}

function draw() {
  drawPending = false;
  if (shown.view === null) return; // nothing to draw before the table's first state
  const frame = shown.frame ?? WHOLE_MAP;
  turnStage(frame);
  const resized = fitCanvasToElement(canvas);
  const context = canvas.getContext('2d');
  const layout = fitLayout(canvas.width, canvas.height, frame, { crisp: true });
  const revealed = (index) => shown.cells[index] !== HIDDEN;
  if (wholePending || resized || JSON.stringify(layout) !== JSON.stringify(drawn)) {
    context.fillStyle = BACKGROUND;
    context.fillRect(0, 0, canvas.width, canvas.height);
    drawCells(context, layout, shown.cells, sheet, FOG);
    if (shown.grid) drawCellEdges(context, layout, revealed, GRID_COLOUR);
    drawParty(context, layout, shown.party);
    canvas.dataset.painted = 'whole';
  } else if (changedCells.size) {
    repaintCells(context, layout, changedCells, (index, around) => {
      context.fillStyle = BACKGROUND;
      context.fillRect(0, 0, canvas.width, canvas.height);
      drawCells(context, layout, shown.cells, sheet, FOG, [index]);
      if (shown.grid) drawCellEdges(context, layout, revealed, GRID_COLOUR, layout.line, around);
      drawParty(context, layout, shown.party);
    });
    canvas.dataset.painted = 'cells';
  }
  wholePending = false;
  changedCells.clear();
  drawn = layout;
  showWaiting();
  canvas.dataset.party = JSON.stringify(shown.party);
  canvas.dataset.layout = JSON.stringify(layout); // where the cells lie, for tests and tools
  canvas.dataset.rev = `${shown.view}:${shown.rev}`;
  acknowledge();
}

// A map wider than tall on a screen taller than wide (a phone held upright)
// is turned a quarter, so that its cells are as large as the screen allows.
function turnStage(frame) {
  const width = stage.clientWidth;
  const height = stage.clientHeight;
  const turned = frame.columns > frame.rows && height > width;
  turn.style.width = `${turned ? height : width}px`;
  turn.style.height = `${turned ? width : height}px`;
  turn.style.transform = turned ? `translate(${width}px, 0) rotate(90deg)` : '';
  canvas.dataset.turned = String(turned);
}

// A ring where the GM points, over the map and not in its picture: only the
// place is known, never what lies there.
function showPointer(index) {
  if (!drawn || !Number.isInteger(index)) return;
  const box = cellBox(drawn, index);
  if (!box) return;
  const scale = canvas.clientWidth / canvas.width;
  const ring = document.createElement('div');
  ring.className = 'pointer-ring';
  Object.assign(ring.style, {
    left: `${box.x * scale}px`, top: `${box.y * scale}px`,
    width: `${box.size * scale}px`, height: `${box.size * scale}px`,
  });
  ring.addEventListener('animationend', () => ring.remove());
  turn.append(ring);
}

// While nothing is revealed the screen is the invitation: the address and
// its QR code, so a screen on the table shows players how to join.
function showWaiting() {
  const nothingShown = shown.cells.every((code) => code === HIDDEN);
  waiting.hidden = !nothingShown;
  const join = shown.table?.join;
  if (nothingShown && typeof join === 'string') document.getElementById('join-address').textContent = join;
}

// Told once the revision is on the screen, which is what the GM's count of
// players up to date rests on.
function acknowledge() {
  if (shown.awaitingState || (shown.view === ackedView && shown.rev === ackedRev)) return;
  if (client.send({ type: 'ack', view: shown.view, rev: shown.rev })) {
    ackedView = shown.view;
    ackedRev = shown.rev;
  }
}

// The window's size, a phone turned, or the connection's line coming and going.
new ResizeObserver(requestWholeDraw).observe(stage);
window.addEventListener('resize', requestWholeDraw);
document.getElementById('connection-dismiss').addEventListener('click', () => {
  notice.hidden = true;
});
// A table screen has no buttons: a double tap fills the whole screen, or leaves it.
canvas.addEventListener('dblclick', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen?.().catch(() => {});
});

function loadSymbols() {
  SymbolSheet.load().then((loaded) => {
    sheet = loaded;
    requestWholeDraw();
  }, () => setTimeout(loadSymbols, 2000));
}

loadSymbols();
client.start();
