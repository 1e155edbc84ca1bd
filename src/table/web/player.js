// The players' screen: the revealed cells filling the screen, hidden ones as
// fog, following the table as the GM changes it. Nothing here to press.

import { ShownMap, TableClient } from './client.js';
import {
  FOG, GRID_COLOUR, HIDDEN, SymbolSheet, WHOLE_MAP, drawCellEdges, drawCells, drawParty, fitCanvasToElement, fitLayout,
} from './mapdraw.js';

const BACKGROUND = 'rgb(11, 13, 16)';

const canvas = document.getElementById('map');
const waiting = document.getElementById('waiting');
const notice = document.getElementById('connection');
const shown = new ShownMap();
let sheet = null;
let drawPending = false;
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
  const outcome = shown.apply(message);
  if (outcome === 'resync') client.send({ type: 'resync' });
  if (outcome === 'applied') requestDraw();
}

// A drop is said quietly in a corner; the picture stays as it was.
function onStatus(status) {
  if (status === 'lost') shown.disconnected();
  if (status === 'open') ackedView = null; // a new connection is told afresh
  notice.hidden = status === 'open';
  notice.textContent = shown.view === null ? 'Connecting…' : 'Reconnecting…';
}

function requestDraw() {
  if (drawPending || !sheet) return;
  drawPending = true;
  requestAnimationFrame(draw);
}

function draw() {
  drawPending = false;
  if (shown.view === null) return; // nothing to draw before the table's first state
  fitCanvasToElement(canvas);
  const context = canvas.getContext('2d');
  const layout = fitLayout(canvas.width, canvas.height, shown.frame ?? WHOLE_MAP, { crisp: true });
  context.fillStyle = BACKGROUND;
  context.fillRect(0, 0, canvas.width, canvas.height);
  drawCells(context, layout, shown.cells, sheet, FOG);
  showWaiting();
  if (shown.grid) drawCellEdges(context, layout, (index) => shown.cells[index] !== HIDDEN, GRID_COLOUR);
  drawParty(context, layout, shown.party);
  canvas.dataset.party = JSON.stringify(shown.party);
  canvas.dataset.layout = JSON.stringify(layout); // where the cells lie, for tests and tools
  canvas.dataset.rev = `${shown.view}:${shown.rev}`;
  acknowledge();
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

window.addEventListener('resize', requestDraw);
// A table screen has no buttons: a double tap fills the whole screen, or leaves it.
canvas.addEventListener('dblclick', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen?.().catch(() => {});
});

function loadSymbols() {
  SymbolSheet.load().then((loaded) => {
    sheet = loaded;
    requestDraw();
  }, () => setTimeout(loadSymbols, 2000));
}

loadSymbols();
client.start();
