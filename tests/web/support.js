// The page under test: a static server on localhost for the built site, and
// Debian's Chromium, headless, driven with playwright-core (which downloads
// no browser of its own).
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { chromium } = require('playwright-core');

const SITE = process.env.READER_WEB_SITE || path.join(__dirname, '../../build-web/site');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
// Without the network-quietening flags this closed network refuses the
// browser's own connections.
const FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.css': 'text/css', '.svg': 'image/svg+xml' };

function serve(root) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
    fs.readFile(file, (err, data) => {
      if (err) {
        res.writeHead(404);
        res.end();
        return;
      }
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      res.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function launch(site = SITE) {
  // playwright starts the browser with a new empty profile of its own.
  const browser = await chromium.launch({ executablePath: CHROMIUM, headless: true, args: FLAGS });
  const server = await serve(site);
  const origin = 'http://127.0.0.1:' + server.address().port;
  return {
    browser,
    origin,
    async close() {
      await browser.close();
      server.close();
    },
  };
}

// One browser for a test file: launched before its tests, closed after them.
// Its env is there once the tests run.
function browserForTests() {
  const { before, after } = require('node:test');
  const holder = { env: null };
  before(async () => {
    holder.env = await launch();
  });
  after(async () => {
    if (holder.env) await holder.env.close();
  });
  return holder;
}

// A page of the configurator, started and showing its dialog.
async function openPage(env, query = '?simulate=reader') {
  const context = await env.browser.newContext({ acceptDownloads: true, viewport: { width: 900, height: 760 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(env.origin + '/' + query);
  await page.waitForSelector('.reader-client [data-id]');
  page.errors = errors;
  return page;
}

// The page between operations: nothing posted waits, no operation runs.
// Message boxes on the way get the answer the headless toolkit gives when a
// test queued none (No, or OK), as the native traces were recorded; a file
// dialog stops the wait, for the test to answer.
async function settle(page) {
  for (;;) {
    const state = await page.waitForFunction(() => {
      const layer = document.getElementById('modal-layer');
      if (!layer.hidden) return layer.dataset.kind;
      return Module._web_idle() && !ReaderDom.holdingKeys() ? 'idle' : false;
    });
    const kind = await state.jsonValue();
    if (kind !== 'message' && kind !== 'about') return kind;
    page.boxes = (page.boxes || []).concat(await page.textContent('.reader-box'));
    const answer = await page.$('.reader-box [data-answer="2"]') ? '2' : '0';
    await page.click(`.reader-box [data-answer="${answer}"]`);
  }
}

const ctl = (id) => `.reader-client [data-id="${id}"]`;
// The element a user clicks or types into: a check box's or radio button's
// input, or the control itself.
const input = (id) => ['input', 'textarea', 'button'].map((tag) => `.reader-client ${tag}[data-id="${id}"]`)
  .concat(`${ctl(id)} input`).join(', ');

async function click(page, id) {
  await page.click(input(id));
  await settle(page);
}

async function text(page, id) {
  return page.evaluate((sel) => {
    const n = document.querySelector(sel);
    if ('value' in n && (n.tagName === 'INPUT' || n.tagName === 'TEXTAREA')) return n.value;
    const caption = n.querySelector('span, legend');
    return (caption || n).textContent;
  }, ctl(id));
}

async function menu(page, commandId) {
  await page.click(`.reader-menubar [data-command="${commandId}"]`);
  await settle(page);
}

// Chooses an entry of the window's own menu (the context menu).
async function windowEntry(page, commandId) {
  await page.click('.reader-client textarea', { button: 'right' });
  const entry = page.locator(`.reader-context [data-command="${commandId}"]`).first();
  await entry.click();
  await settle(page);
}

// The trace's frames without their times and device paths: what the native
// traces record for the same actions.
function frames(trace) {
  return trace.split('\n').filter((l) => l && !l.startsWith('#')).map((l) => {
    const [, op, ...rest] = l.split(' ');
    return op.slice(op.lastIndexOf(':') + 1) + ' ' + rest.join(' ');
  });
}

function nativeFrames(name) {
  return frames(fs.readFileSync(path.join(__dirname, '../traces', name + '.trace'), 'utf8'));
}

module.exports = { serve, launch, browserForTests, openPage, settle, click, text, menu, windowEntry, frames, nativeFrames, ctl, input, SITE };
