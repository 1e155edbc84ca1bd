// The GM's map: the whole map as the editor draws it, with what the players
// cannot see shaded, the prepared cells and the players' frame marked, and the
// pointer and keys turned into picks of cells for the page to act on.

import {
  CELL_COUNT, COLUMNS, GRID_COLOUR, ROWS, WHOLE_MAP, cellAt, cellBox, columnOf, drawCellEdges, drawCells,
  drawOutline, drawParty, fitCanvasToElement, fitLayout, indexOf, rowOf, validParty,
} from './mapdraw.js';

const BACKGROUND = 'rgb(17, 20, 24)';
const HIDDEN_SHADE = 'rgba(10, 13, 20, 0.58)';
const PREPARED_TINT = 'rgba(240, 190, 90, 0.38)';
const PREPARED_EDGE = 'rgb(240, 190, 90)';
const FRAME_EDGE = 'rgb(94, 200, 216)';
const POINTER_EDGE = 'rgba(255, 255, 255, 0.9)';
const HOLD_MS = 500; // a press held this long on one cell points at it

// The cells of the rectangle whose opposite corners are cells a and b.
export function rectangleCells(a, b) {
  const frame = rectangleFrame(a, b);
  const cells = [];
  for (let row = frame.row; row < frame.row + frame.rows; ++row)
    for (let column = frame.column; column < frame.column + frame.columns; ++column) cells.push(indexOf(column, row));
  return cells;
}

export function rectangleFrame(a, b) {
  const column = Math.min(columnOf(a), columnOf(b));
  const row = Math.min(rowOf(a), rowOf(b));
  return {
    column, row, columns: Math.abs(columnOf(a) - columnOf(b)) + 1, rows: Math.abs(rowOf(a) - rowOf(b)) + 1,
  };
}

export class Board {
  // onPick({from, to, hide}) when the GM clicks (from === to) or drags from one
  // cell to another; `hide` for the right button. onPoint(cell) when the GM
  // holds the left button on one cell: that press picks nothing.
  constructor(canvas, sheet, onPick, onPoint = () => {}) {
    this.canvas = canvas;
    this.sheet = sheet;
    this.onPick = onPick;
    this.onPoint = onPoint;
    this.holdTimer = 0;
    this.map = null;
    this.layout = null;
    this.pointer = -1; // the cell under the mouse, or the keyboard's cell
    this.dragFrom = -1;
    this.dragHide = false;
    this.drawPending = false;
    // onArrow(dx, dy): true when the page took the arrow key itself (to move
    // the party); otherwise the arrows move the board's own cell.
    this.onArrow = () => false;
    this.listen();
  }

  show(map) {
    this.map = map;
    this.requestDraw();
  }

  requestDraw() {
    if (this.drawPending) return;
    this.drawPending = true;
    requestAnimationFrame(() => this.draw());
  }

  draw() {
    this.drawPending = false;
    fitCanvasToElement(this.canvas);
    const context = this.canvas.getContext('2d');
    context.fillStyle = BACKGROUND;
    context.fillRect(0, 0, this.canvas.width, this.canvas.height);
    if (!this.map) return;
    const layout = fitLayout(this.canvas.width, this.canvas.height, WHOLE_MAP);
    this.layout = layout;
    const { cells, revealed, prepared } = this.map;
    const isPrepared = (index) => prepared[index] === '1';
    drawCells(context, layout, cells, this.sheet, BACKGROUND);
    if (this.map.grid) drawCellEdges(context, layout, () => true, GRID_COLOUR);
    for (let index = 0; index < CELL_COUNT; ++index) {
      const box = cellBox(layout, index);
      if (revealed[index] !== '1') this.fill(context, box, HIDDEN_SHADE);
      if (isPrepared(index)) this.fill(context, box, PREPARED_TINT);
    }
    const edge = Math.max(2, Math.round(layout.cell / 12));
    drawOutline(context, layout, isPrepared, PREPARED_EDGE, edge);
    if (this.map.frame) this.outline(context, this.map.frame, FRAME_EDGE, edge + 1);
    drawParty(context, layout, validParty(this.map.party));
    if (this.dragFrom >= 0 && this.pointer >= 0) {
      this.outline(context, rectangleFrame(this.dragFrom, this.pointer), POINTER_EDGE, edge);
    } else if (this.pointer >= 0) {
      this.outline(context, rectangleFrame(this.pointer, this.pointer), POINTER_EDGE, Math.max(1, edge - 1));
    }
    this.canvas.dataset.layout = JSON.stringify(layout);
  }

  fill(context, box, colour) {
    context.fillStyle = colour;
    context.fillRect(box.x, box.y, box.size, box.size);
  }

  outline(context, frame, colour, width) {
    const { left, top, cell } = this.layout;
    const x = left + frame.column * cell;
    const y = top + frame.row * cell;
    context.strokeStyle = colour;
    context.lineWidth = width;
    context.strokeRect(x + width / 2, y + width / 2, frame.columns * cell - width, frame.rows * cell - width);
  }

  cellAtEvent(event) {
    if (!this.layout) return -1;
    const bounds = this.canvas.getBoundingClientRect();
    const scale = this.canvas.width / bounds.width;
    return cellAt(this.layout, (event.clientX - bounds.left) * scale, (event.clientY - bounds.top) * scale);
  }

  listen() {
    const canvas = this.canvas;
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
      const cell = this.cellAtEvent(event);
      if (cell < 0 || (event.button !== 0 && event.button !== 2)) return;
      canvas.setPointerCapture(event.pointerId);
      canvas.focus({ preventScroll: true });
      this.dragFrom = cell;
      this.dragHide = event.button === 2;
      this.pointer = cell;
      if (event.button === 0) this.holdTimer = setTimeout(() => this.pointAt(cell), HOLD_MS);
      this.requestDraw();
    });
    canvas.addEventListener('pointermove', (event) => {
      const cell = this.cellAtEvent(event);
      if (cell === this.pointer || (cell < 0 && this.dragFrom >= 0)) return;
      this.stopHolding();
      this.pointer = cell;
      this.requestDraw();
    });
    canvas.addEventListener('pointerup', () => {
      this.stopHolding();
      if (this.dragFrom < 0) return;
      const pick = { from: this.dragFrom, to: this.pointer, hide: this.dragHide };
      this.dragFrom = -1;
      this.requestDraw();
      this.onPick(pick);
    });
    canvas.addEventListener('pointercancel', () => {
      this.stopHolding();
      this.dragFrom = -1;
      this.requestDraw();
    });
    canvas.addEventListener('pointerleave', () => {
      if (this.dragFrom >= 0) return;
      this.pointer = -1;
      this.requestDraw();
    });
    canvas.addEventListener('keydown', (event) => this.onKey(event));
    // The canvas changes size with the window and when notices come and go.
    new ResizeObserver(() => this.requestDraw()).observe(canvas);
  }

  pointAt(cell) {
    this.holdTimer = 0;
    this.dragFrom = -1;
    this.requestDraw();
    this.onPoint(cell);
  }

  stopHolding() {
    clearTimeout(this.holdTimer);
    this.holdTimer = 0;
  }

  // Arrow keys move a cell of their own; Enter or Space picks it, Delete hides.
  onKey(event) {
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (event.key in steps) {
      const [dx, dy] = steps[event.key];
      if (this.onArrow(dx, dy)) {
        event.preventDefault();
        return;
      }
      const from = this.pointer >= 0 ? this.pointer : indexOf(Math.floor(COLUMNS / 2), Math.floor(ROWS / 2));
      const column = Math.min(COLUMNS - 1, Math.max(0, columnOf(from) + dx));
      const row = Math.min(ROWS - 1, Math.max(0, rowOf(from) + dy));
      this.pointer = indexOf(column, row);
    } else if ((event.key === 'Enter' || event.key === ' ' || event.key === 'Delete') && this.pointer >= 0) {
      this.onPick({ from: this.pointer, to: this.pointer, hide: event.key === 'Delete' });
    } else {
      return;
    }
    event.preventDefault();
    this.requestDraw();
  }
}
