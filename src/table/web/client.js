// The table's WebSocket, as both pages speak it: joins with a hello, hands on
// every message, and after a drop reconnects by itself, waiting longer each time.

import { CELL_COUNT, COLUMNS, ROWS, adoptTable, validParty } from './mapdraw.js';

const FIRST_RETRY_MS = 250;
const LONGEST_RETRY_MS = 5000;

export class TableClient {
  // hello: the first message of every connection; onMessage(message) for each
  // message; onStatus(status, closeCode) with 'connecting', 'open', 'lost' or
  // 'refused' (the server said `refused`: trying again cannot mend it, so no
  // retry follows; the server's text comes as the third argument).
  constructor(hello, { onMessage, onStatus = () => {} }) {
    this.hello = hello;
    this.onMessage = onMessage;
    this.onStatus = onStatus;
    this.socket = null;
    this.retryMs = FIRST_RETRY_MS;
    this.retryTimer = 0;
    this.refused = false;
    window.addEventListener('online', () => this.retryNow());
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'visible') this.retryNow();
    });
  }

  start() {
    if (this.socket || this.refused) return;
    clearTimeout(this.retryTimer);
    this.retryTimer = 0;
    this.onStatus('connecting');
    const url = new URL('/ws', location.href);
    url.protocol = location.protocol === 'https:' ? 'wss:' : 'ws:';
    const socket = new WebSocket(url);
    this.socket = socket;
    socket.onopen = () => {
      socket.send(JSON.stringify(this.hello));
      this.onStatus('open');
    };
    socket.onmessage = (event) => {
      let message;
      try {
        message = JSON.parse(event.data);
      } catch {
        return;
      }
      if (message && message.type === 'refused') {
        this.refused = true;
        this.refusal = String(message.text ?? '');
        return;
      }
      if (message && typeof message.type === 'string') {
        this.retryMs = FIRST_RETRY_MS; // the server answers: the next drop starts afresh
        this.onMessage(message);
      }
    };
    socket.onclose = (event) => {
      if (this.socket !== socket) return;
      this.socket = null;
      if (this.refused) {
        this.onStatus('refused', event.code, this.refusal);
        return;
      }
      this.onStatus('lost', event.code);
      this.retryTimer = setTimeout(() => this.start(), this.retryMs);
      this.retryMs = Math.min(this.retryMs * 2, LONGEST_RETRY_MS);
    };
  }

  // Closes for good, as a refusal does: no retry; onStatus('refused') says why.
  finish(text) {
    this.refused = true;
    this.refusal = text;
    this.socket?.close();
  }

  retryNow() {
    if (!this.socket && !this.refused) this.start();
  }

  // False when there is no open connection to send on.
  send(message) {
    if (!this.socket || this.socket.readyState !== WebSocket.OPEN) return false;
    this.socket.send(JSON.stringify(message));
    return true;
  }
}

// What a player's screen shows: the cells of the map being shown (HIDDEN for a
// hidden cell), its frame and grid lines, at one revision of one view.
export class ShownMap {
  constructor() {
    this.view = null;
    this.rev = -1;
    this.cells = [];
    this.table = null; // the server's facts: grid size, symbol count, join address
    this.frame = null;
    this.grid = true;
    this.party = []; // the markers on cells the players see
    this.awaitingState = true;
  }

  // Takes a 'state' or 'change' message: 'applied', 'resync' when a change does
  // not follow what is shown (the caller asks for the whole state, once), or
  // 'ignored'.
  apply(message) {
    if (message.type === 'state') return this.applyState(message);
    if (message.type !== 'change') return 'ignored';
    if (this.awaitingState) return 'ignored';
    if (message.view !== this.view || message.base !== this.rev) {
      this.awaitingState = true;
      return 'resync';
    }
    for (const [index, code] of message.cells ?? []) {
      if (Number.isInteger(index) && index >= 0 && index < CELL_COUNT) this.cells[index] = code;
    }
    if ('frame' in message) this.frame = validFrame(message.frame);
    if ('grid' in message) this.grid = Boolean(message.grid);
    if ('party' in message) this.party = validParty(message.party);
    this.rev = message.rev;
    return 'applied';
  }

  applyState(message) {
    if (!adoptTable(message.table)) return 'ignored';
    if (!Array.isArray(message.cells) || message.cells.length !== CELL_COUNT) return 'ignored';
    this.view = message.view;
    this.rev = message.rev;
    this.table = message.table;
    this.cells = message.cells.slice();
    this.frame = validFrame(message.frame);
    this.grid = message.grid !== false;
    this.party = validParty(message.party);
    this.awaitingState = false;
    return 'applied';
  }

  // After a drop, whatever arrives next starts with a whole state.
  disconnected() {
    this.awaitingState = true;
  }
}

// A frame that lies on the map, or null (the whole map) for anything else.
export function validFrame(frame) {
  if (!frame || typeof frame !== 'object') return null;
  const { column, row, columns, rows } = frame;
  const whole = [column, row, columns, rows].every(Number.isInteger);
  if (!whole || column < 0 || row < 0 || columns < 1 || rows < 1) return null;
  if (column + columns > COLUMNS || row + rows > ROWS) return null;
  return { column, row, columns, rows };
}
