// Drawing the map's cells on a canvas, shared by the players' and the GM's pages.
// All lengths here are device pixels, so that every cell edge lands on a whole pixel.

// The grid's size and the number of symbol pictures are the server's, told in
// the `table` of its first state: nothing is drawn before it. Every other
// module reads them from here, as live bindings.
export let COLUMNS = 0;
export let ROWS = 0;
export let CELL_COUNT = 0;
export let WHOLE_MAP = Object.freeze({ column: 0, row: 0, columns: 0, rows: 0 });
let SYMBOL_COUNT = 0; // codes 0 (blank, white) to SYMBOL_COUNT - 1
export const HIDDEN = -1;

// Takes the table's facts from a state; false when they are not a sane grid,
// or differ from those already taken (the server never changes them).
const LARGEST_SIDE = 1000;
export function adoptTable(table) {
  if (!table || typeof table !== 'object') return false;
  const { columns, rows, symbols } = table;
  const sane = (n, most) => Number.isInteger(n) && n >= 1 && n <= most;
  if (!sane(columns, LARGEST_SIDE) || !sane(rows, LARGEST_SIDE) || !sane(symbols, 4096)) return false;
  if (CELL_COUNT) return columns === COLUMNS && rows === ROWS && symbols === SYMBOL_COUNT;
  COLUMNS = columns;
  ROWS = rows;
  CELL_COUNT = columns * rows;
  SYMBOL_COUNT = symbols;
  WHOLE_MAP = Object.freeze({ column: 0, row: 0, columns, rows });
  return true;
}

const SYMBOL_SIZE = 15; // each picture in /symbols.png, side by side in code order
export const GRID_COLOUR = 'rgb(64, 64, 64)'; // the editor's cell borders
// What the players see of a hidden cell: one flat colour, the same for every cell.
export const FOG = 'rgb(30, 35, 42)';

// The one place the pages number cells: in reading order, row 0 at the top.
export const columnOf = (index) => index % COLUMNS;
export const rowOf = (index) => Math.floor(index / COLUMNS);
export const indexOf = (column, row) => row * COLUMNS + column;

// The symbol pictures, each scaled once per cell size with nearest-neighbour,
// so that drawing a cell is one copy of ready pixels.
export class SymbolSheet {
  constructor(image) {
    this.image = image;
    this.size = 0;
    this.scaled = [];
  }

  static load(url = '/symbols.png') {
    return new Promise((resolve, reject) => {
      const image = new Image();
      image.onload = () => resolve(new SymbolSheet(image));
      image.onerror = () => reject(new Error(`cannot load ${url}`));
      image.src = url;
    });
  }

  picture(code, size) {
    if (size !== this.size) {
      this.size = size;
      this.scaled = [];
    }
    if (!this.scaled[code]) {
      const canvas = document.createElement('canvas');
      canvas.width = canvas.height = size;
      const context = canvas.getContext('2d');
      context.imageSmoothingEnabled = false;
      context.drawImage(this.image, code * SYMBOL_SIZE, 0, SYMBOL_SIZE, SYMBOL_SIZE, 0, 0, size, size);
      this.scaled[code] = canvas;
    }
    return this.scaled[code];
  }

  static isSymbol(code) {
    return Number.isInteger(code) && code >= 0 && code < SYMBOL_COUNT;
  }
}

// Where `frame` lies when it fills a width x height area: the largest whole
// number of pixels a cell, centred. With `crisp`, a whole multiple of the
// pictures' own 15 pixels is preferred when it loses little of the area, so
// that every picture pixel becomes the same square of screen pixels.
export function fitLayout(width, height, frame = WHOLE_MAP, { crisp = false } = {}) {
  const largest = Math.max(1, Math.floor(Math.min(width / frame.columns, height / frame.rows)));
  const whole = Math.floor(largest / SYMBOL_SIZE) * SYMBOL_SIZE;
  const cell = crisp && whole > 0 && whole >= 0.85 * largest ? whole : largest;
  return {
    cell,
    frame,
    left: Math.floor((width - cell * frame.columns) / 2),
    top: Math.floor((height - cell * frame.rows) / 2),
    line: Math.max(1, Math.round(cell / 40)),
  };
}

// The cell's rectangle, or null when it lies outside the layout's frame.
export function cellBox(layout, index) {
  const column = columnOf(index) - layout.frame.column;
  const row = rowOf(index) - layout.frame.row;
  if (column < 0 || row < 0 || column >= layout.frame.columns || row >= layout.frame.rows) return null;
  return { x: layout.left + column * layout.cell, y: layout.top + row * layout.cell, size: layout.cell };
}

// The cell under a point, or -1 outside the frame.
export function cellAt(layout, x, y) {
  const column = Math.floor((x - layout.left) / layout.cell);
  const row = Math.floor((y - layout.top) / layout.cell);
  if (column < 0 || row < 0 || column >= layout.frame.columns || row >= layout.frame.rows) return -1;
  return indexOf(column + layout.frame.column, row + layout.frame.row);
}

const everyCell = () => Array.from({ length: CELL_COUNT }, (_, index) => index);

// Each cell's picture; a hidden cell (or a code that names no symbol) gets `fog`.
// `indices`: only those cells.
export function drawCells(context, layout, cells, sheet, fog, indices = everyCell()) {
  context.imageSmoothingEnabled = false;
  for (const index of indices) {
    const box = cellBox(layout, index);
    if (!box) continue;
    const code = cells[index];
    if (SymbolSheet.isSymbol(code)) {
      context.drawImage(sheet.picture(code, box.size), box.x, box.y);
    } else {
      context.fillStyle = fog;
      context.fillRect(box.x, box.y, box.size, box.size);
    }
  }
}

// Lines on every edge of the cells for which `wanted(index)` holds, each shared
// edge drawn once: the left and top edge of each such cell, and the right or
// bottom edge where the neighbour there is not wanted.
export function drawCellEdges(context, layout, wanted, colour, width = layout.line, indices = everyCell()) {
  context.fillStyle = colour;
  for (const index of indices) {
    const box = cellBox(layout, index);
    if (!box || !wanted(index)) continue;
    const column = columnOf(index);
    const row = rowOf(index);
    context.fillRect(box.x, box.y, box.size + width, width);
    context.fillRect(box.x, box.y, width, box.size + width);
    const right = indexOf(column + 1, row);
    const below = indexOf(column, row + 1);
    if (column + 1 >= COLUMNS || !wanted(right) || !cellBox(layout, right))
      context.fillRect(box.x + box.size, box.y, width, box.size + width);
    if (row + 1 >= ROWS || !wanted(below) || !cellBox(layout, below))
      context.fillRect(box.x, box.y + box.size, box.size + width, width);
  }
}

// The cell and its eight neighbours on the map.
function neighbourhood(index) {
  const column = columnOf(index);
  const row = rowOf(index);
  const cells = [];
  for (let r = Math.max(0, row - 1); r <= Math.min(ROWS - 1, row + 1); ++r)
    for (let c = Math.max(0, column - 1); c <= Math.min(COLUMNS - 1, column + 1); ++c) cells.push(indexOf(c, r));
  return cells;
}

// Paints again only where the changed cells can have changed the picture,
// exactly as a whole drawing would leave it. A cell's grid lines reach a line's
// width into its neighbours, so each changed cell and its neighbours are
// painted: paint(index, around) runs clipped to the cell's square (and the
// line's width past it at the frame's right or bottom end), with `around` the
// cells whose lines are all that can reach into that square.
export function repaintCells(context, layout, changed, paint) {
  const { frame, line } = layout;
  const painted = new Set();
  for (const index of changed) neighbourhood(index).forEach((cell) => painted.add(cell));
  for (const index of painted) {
    const box = cellBox(layout, index);
    if (!box) continue;
    const lastColumn = columnOf(index) === frame.column + frame.columns - 1;
    const lastRow = rowOf(index) === frame.row + frame.rows - 1;
    context.save();
    context.beginPath();
    context.rect(box.x, box.y, box.size + (lastColumn ? line : 0), box.size + (lastRow ? line : 0));
    context.clip();
    paint(index, neighbourhood(index));
    context.restore();
  }
}

// The outline of a set of cells: only the edges between a cell in the set and one outside it.
export function drawOutline(context, layout, inSet, colour, width) {
  context.fillStyle = colour;
  for (let index = 0; index < CELL_COUNT; ++index) {
    const box = cellBox(layout, index);
    if (!box || !inSet(index)) continue;
    const column = columnOf(index);
    const row = rowOf(index);
    if (column === 0 || !inSet(indexOf(column - 1, row))) context.fillRect(box.x, box.y, width, box.size);
    if (column === COLUMNS - 1 || !inSet(indexOf(column + 1, row)))
      context.fillRect(box.x + box.size - width, box.y, width, box.size);
    if (row === 0 || !inSet(indexOf(column, row - 1))) context.fillRect(box.x, box.y, box.size, width);
    if (row === ROWS - 1 || !inSet(indexOf(column, row + 1)))
      context.fillRect(box.x, box.y + box.size - width, box.size, width);
  }
}

// The party's markers, by colour 0 to 5: bright, and told apart by their
// initial too, for those who cannot tell the colours apart.
export const MARKER_COLOURS = ['#f0c846', '#e5574b', '#4ea6ea', '#63cf85', '#c67be8', '#f28c3a'];
const MARKER_LETTERS = ['1', '2', '3', '4', '5', '6'];

// The markers that are well formed and on the map, at most one of each colour.
export function validParty(party) {
  if (!Array.isArray(party)) return [];
  const seen = new Set();
  return party.filter((marker) => {
    const ok = marker && Number.isInteger(marker.colour) && marker.colour >= 0
      && marker.colour < MARKER_COLOURS.length && Number.isInteger(marker.cell) && marker.cell >= 0
      && marker.cell < CELL_COUNT && !seen.has(marker.colour);
    if (ok) seen.add(marker.colour);
    return ok;
  }).map(({ colour, cell }) => ({ colour, cell }));
}

// Each marker a disc with a dark rim and its number, in the middle of its cell.
export function drawParty(context, layout, party) {
  for (const { colour, cell } of party) {
    const box = cellBox(layout, cell);
    if (!box) continue;
    const middleX = box.x + box.size / 2;
    const middleY = box.y + box.size / 2;
    const radius = Math.max(3, box.size * 0.34);
    context.beginPath();
    context.arc(middleX, middleY, radius, 0, 2 * Math.PI);
    context.fillStyle = MARKER_COLOURS[colour];
    context.fill();
    context.lineWidth = Math.max(1.5, box.size / 14);
    context.strokeStyle = 'rgb(12, 14, 18)';
    context.stroke();
    if (box.size >= 18) {
      context.fillStyle = 'rgb(12, 14, 18)';
      context.font = `600 ${Math.round(radius * 1.1)}px system-ui, sans-serif`;
      context.textAlign = 'center';
      context.textBaseline = 'middle';
      context.fillText(MARKER_LETTERS[colour], middleX, middleY + radius * 0.05);
    }
  }
}

// A canvas sized to its element in device pixels; true when its size changed.
export function fitCanvasToElement(canvas) {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
  const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
  if (canvas.width === width && canvas.height === height) return false;
  canvas.width = width;
  canvas.height = height;
  return true;
}
