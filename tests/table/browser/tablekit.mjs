// What the browser test stands on: the real table server in a temporary folder,
// Debian's chromium, and a look at what each page really shows.

import { spawn } from 'node:child_process';
import { copyFileSync, mkdtempSync, readFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { basename, dirname, join } from 'node:path';
import puppeteer from 'puppeteer-core';

export const COLUMNS = 35;
export const ROWS = 25;
export const cell = (column, row) => row * COLUMNS + column;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function until(what, test, timeoutMs = 10000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(25);
  }
}

export function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer().once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// Copies of the maps in a folder of their own, where the table keeps its state.
export function tableFolder(maps) {
  const folder = mkdtempSync(join(tmpdir(), 'vellumor-table-'));
  for (const map of maps) copyFileSync(map, join(folder, basename(map)));
  return folder;
}

// One run of `vellumor-map table` on 127.0.0.1; resolves once it has printed
// the GM's address. The GM's secret is kept in the folder, not the user's own
// state folder.
export async function startTable(program, folder, maps, port, extra = []) {
  const args = ['table', ...maps.map((map) => basename(map)), '--bind', '127.0.0.1', '--port', String(port), ...extra];
  const env = { ...process.env, XDG_STATE_HOME: join(folder, 'state') };
  const child = spawn(program, args, { cwd: folder, env, stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  child.stdout.on('data', (data) => { output += data; });
  child.stderr.on('data', (data) => { output += data; });
  const exited = new Promise((resolve) => child.once('exit', (code, signal) => resolve(code ?? signal)));
  const gm = await Promise.race([
    until('the GM address', () => output.match(/http:\/\/127\.0\.0\.1:\d+\/gm#k=\S+/)?.[0], 15000),
    exited.then((status) => { throw new Error(`the table stopped (${status}):\n${output}`); }),
  ]);
  return {
    gm, players: `http://127.0.0.1:${port}/`, output: () => output, exited,
    // SIGTERM, as at the end of a game; a table that does not stop is killed, and said so.
    stop: async () => {
      if (child.exitCode !== null || child.signalCode !== null) return exited;
      child.kill('SIGTERM');
      const status = await Promise.race([exited, sleep(10000).then(() => 'hung')]);
      if (status !== 'hung') return status;
      child.kill('SIGKILL');
      throw new Error('the table did not stop within 10 s of SIGTERM');
    },
  };
}

export function launchChromium(profile) {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`],
  });
}

// Each page in a window of its own, so that every one is on screen and draws.
export async function openPage(browser, url, viewport, problems) {
  const page = await (await browser.createBrowserContext()).newPage();
  await page.setViewport(viewport);
  page.on('pageerror', (error) => problems.push(`${url}: ${error.message}`));
  page.on('console', (message) => {
    const favicon = message.location()?.url?.endsWith('/favicon.ico');
    if (message.type() === 'error' && !favicon) problems.push(`${url}: ${message.text()}`);
  });
  await page.goto(url);
  return page;
}

// A map file's codes in reading order (the file holds them column by column, bottom up).
export function mapCodes(path) {
  const fileOrder = readFileSync(path, 'latin1').trim().split(/\r\n/).map(Number);
  const codes = new Array(COLUMNS * ROWS);
  fileOrder.forEach((code, i) => { codes[cell(Math.floor(i / ROWS), ROWS - 1 - (i % ROWS))] = code; });
  return codes;
}

// The saved state as the table reads it: the newer of the state file and the
// hidden one the running table writes every other state into.
export function savedState(mapPath) {
  const state = JSON.parse(readFileSync(`${mapPath}.table`, 'utf8'));
  const hidden = join(dirname(mapPath), `.${basename(mapPath)}.table-next`);
  try {
    const newer = JSON.parse(readFileSync(hidden, 'utf8'));
    return newer.rev > state.rev ? newer : state;
  } catch {
    return state; // none, or emptied
  }
}

// What a player must see by the saved state: the codes of revealed cells, -1 elsewhere.
export function playersPicture(codes, state) {
  return { cells: codes.map((code, i) => (state.revealed[i] === '1' ? code : -1)), frame: state.frame };
}

// The cells whose pixels on the players' canvas differ from `expected`: a
// revealed cell must show its symbol's picture, scaled nearest-neighbour, and
// a hidden cell the fog. Every picture pixel is looked at once, at the middle
// of the screen pixels it became, leaving out the grid lines. A cell under one
// of the party's markers is held to the markers the page was sent instead.
export async function wrongCells(page, expected) {
  return page.evaluate(async ({ cells, frame }) => {
    const { FOG, WHOLE_MAP, cellBox } = await import('/app/mapdraw.js');
    if (!window.symbolPixels) {
      const image = new Image();
      image.src = '/symbols.png';
      await image.decode();
      const sheet = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height });
      const context = sheet.getContext('2d');
      context.drawImage(image, 0, 0);
      window.symbolPixels = context.getImageData(0, 0, image.width, image.height);
    }
    const canvas = document.getElementById('map');
    if (!canvas.dataset.layout) return ['nothing drawn'];
    const layout = JSON.parse(canvas.dataset.layout);
    const wantedFrame = frame ?? WHOLE_MAP;
    if (['column', 'row', 'columns', 'rows'].some((key) => layout.frame[key] !== wantedFrame[key]))
      return [`frame ${JSON.stringify(layout.frame)}`];
    const shown = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    const fog = FOG.match(/\d+/g).map(Number);
    const symbols = window.symbolPixels;
    const wrong = [];
    const marked = new Set(JSON.parse(canvas.dataset.party ?? '[]').map((marker) => marker.cell));
    for (let index = 0; index < cells.length && wrong.length < 5; ++index) {
      const box = cellBox(layout, index);
      if (!box) continue;
      if (marked.has(index)) {
        if (cells[index] < 0) wrong.push(index); // a marker on a cell the players cannot see
        continue;
      }
      for (let y = 0; y < 15 && !wrong.includes(index); ++y) {
        const dy = Math.floor(((y + 0.5) * box.size) / 15);
        for (let x = 0; x < 15; ++x) {
          const dx = Math.floor(((x + 0.5) * box.size) / 15);
          if (dx < layout.line || dy < layout.line) continue;
          const at = ((box.y + dy) * shown.width + box.x + dx) * 4;
          const from = (y * symbols.width + cells[index] * 15 + x) * 4;
          const want = cells[index] < 0 ? fog : symbols.data.slice(from, from + 3);
          if ([0, 1, 2].some((c) => Math.abs(shown.data[at + c] - want[c]) > 2)) {
            wrong.push(index);
            break;
          }
        }
      }
    }
    return wrong;
  }, expected);
}

// Where a cell's middle lies on the GM's page, in CSS pixels.
export async function cellPoint(gmPage, index) {
  return gmPage.$eval('#board', (canvas, index) => {
    const layout = JSON.parse(canvas.dataset.layout);
    const bounds = canvas.getBoundingClientRect();
    const scale = bounds.width / canvas.width;
    return {
      x: bounds.left + (layout.left + ((index % 35) + 0.5) * layout.cell) * scale,
      y: bounds.top + (layout.top + (Math.floor(index / 35) + 0.5) * layout.cell) * scale,
    };
  }, index);
}
