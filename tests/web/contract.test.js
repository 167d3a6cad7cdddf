// The toolkit contract (toolkit/DialogSurface.h) held over the DOM toolkit,
// through the dialog as a user reaches it in the page: no default button,
// modal boxes answered by keyboard, operations one at a time and in order
// (also a device change under a box), the busy window holding back clicks
// and keys, window entries and their shortcuts, and the names screen
// readers announce.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const s = require('./support.js');

const ID = { OUTPUT: 1000, SET_DEVICE: 1024, READ_DEVICE: 1026, TRACK2: 1015, MIDDLE_SEP_TEXT: 1052,
  SHIELD_KEYS: 1140, ENGLISH: 1070, CHINESE: 1069, TOGGLE_VIEW: 32797, EXIT: 32782, SAVE_PROFILE: 32901 };

const browser = s.browserForTests();

async function withPage(query, body) {
  const page = await s.openPage(browser.env, query);
  await s.settle(page);
  try {
    await body(page);
    assert.deepEqual(page.errors, []);
  } finally {
    await page.context().close();
  }
}

const traceLength = (page) => page.evaluate(() => ReaderPage.trace().length);
const boxOpen = (page) => page.evaluate(() => !document.getElementById('modal-layer').hidden);
const output = (page) => s.text(page, ID.OUTPUT);

// Enter on a push button, a check box or an edit reaches no command.
for (const id of [ID.SET_DEVICE, ID.TRACK2, ID.MIDDLE_SEP_TEXT]) {
  test(`Enter on control ${id} clicks no button`, () => withPage('?simulate=reader', async (page) => {
    const trace = await traceLength(page);
    const checked = await page.isChecked(s.input(ID.TRACK2));
    await page.focus(s.input(id));
    await page.keyboard.press('Enter');
    await s.settle(page);
    assert.equal(await traceLength(page), trace);
    assert.equal(await page.isChecked(s.input(ID.TRACK2)), checked);
    assert.equal(await boxOpen(page), false);
  }));
}

// A Yes/No box: its keys, and what each answer does.
const EXIT_ANSWERS = [
  { key: 'Escape', ends: false },
  { key: 'n', ends: false },
  { key: 'Tab+Enter', ends: false }, // Tab moves to No
  { key: 'y', ends: true },
  { key: 'Enter', ends: true }, // Yes has the focus
];
for (const a of EXIT_ANSWERS) {
  test(`the exit question answered with ${a.key}`, () => withPage('?simulate=reader', async (page) => {
    await page.click(`.reader-menubar [data-command="${ID.EXIT}"]`);
    await page.waitForSelector('.reader-box');
    assert.equal(await page.textContent('.reader-box-text'), '你真的要退出吗？');
    for (const key of a.key.split('+')) await page.keyboard.press(key);
    if (a.ends) {
      await page.waitForSelector('.reader-ended-note');
    } else {
      await s.settle(page);
      assert.equal(await boxOpen(page), false);
      assert.equal(await page.isEnabled(s.input(ID.SET_DEVICE)), true);
    }
  }));
}

test('a reader pulled out while a box is open is dealt with after it', () => withPage('?simulate=reader', async (page) => {
  await page.click(`.reader-menubar [data-command="${ID.EXIT}"]`);
  await page.waitForSelector('.reader-box');
  const before = await output(page);
  // The removal reaches the toolkit at once (the fake raises it in unplug).
  await page.evaluate(() => ReaderPage.simulation.unplug(0));
  assert.equal(await output(page), before);
  await page.keyboard.press('Escape');
  await s.settle(page);
  assert.match((await output(page)).slice(before.length), /^未连接设备！/);
  assert.equal(await page.isEnabled(s.input(ID.SET_DEVICE)), false);
}));

test('while an operation runs the window is busy, and keys wait for it', () => withPage('?simulate=silent', async (page) => {
  // A silent reader lets Read Device wait out its reads.
  await page.click(s.input(ID.READ_DEVICE));
  await page.waitForSelector('.reader-busy');
  const cursor = await page.evaluate(() => getComputedStyle(document.querySelector('.reader-shield')).cursor);
  assert.equal(cursor, 'wait');
  // Keys pressed meanwhile are held and reach the dialog afterwards.
  await page.keyboard.press('F6');
  assert.doesNotMatch(await output(page), /F6/);
  await s.settle(page);
  assert.match(await output(page), /你按下了 F6 功能键 ！ [0-9:]+\s*$/);
}));

test('Space on a check box toggles it and commands the dialog', () => withPage('?simulate=reader', async (page) => {
  await s.click(page, ID.ENGLISH);
  await page.focus(s.input(ID.SHIELD_KEYS));
  await page.keyboard.press('Space');
  await s.settle(page);
  assert.equal(await page.isChecked(s.input(ID.SHIELD_KEYS)), false);
  assert.match(await output(page), /Has been unblock the keyboard function keys! [0-9:]+\s*$/);
}));

test("a window entry's shortcut starts it; Escape cancels its file dialog", () => withPage('?simulate=reader', async (page) => {
  await page.focus(s.input(ID.SET_DEVICE));
  await page.keyboard.press('Control+s');
  await page.waitForSelector('.reader-box .reader-box-name');
  await page.keyboard.press('Escape');
  await s.settle(page);
  assert.equal(await boxOpen(page), false);
  assert.equal(await page.evaluate(() => FS.analyzePath('/downloads').exists && FS.readdir('/downloads').length > 2), false);
}));

test('the About entry opens the About box, closed by keyboard', () => withPage('?simulate=reader', async (page) => {
  await page.click('.reader-client textarea', { button: 'right' });
  await page.click('.reader-context [data-command="-1"]');
  await page.waitForSelector('.reader-box');
  await page.keyboard.press('Enter');
  await s.settle(page);
  assert.equal(await boxOpen(page), false);
}));

// What screen readers announce: a caption-less edit is named by its check
// box, the output pane by the name the language gives it.
const NAMES = [
  { id: ID.MIDDLE_SEP_TEXT, zh: '中间分隔符：', en: 'Middle separator:' },
  { id: ID.OUTPUT, zh: '输出窗口', en: 'Output pane' },
];
// A frame without a caption draws its line where its captioned neighbours
// draw theirs (all three stand at the same height in the control table).
test('the caption-less frame lines up with its captioned neighbours', () => withPage('?simulate=reader', async (page) => {
  const lineOf = (id) => page.$eval(s.ctl(id), (frame) => {
    const r = frame.querySelector('legend').getBoundingClientRect();
    return r.top + r.height / 2;
  });
  const [own, ...neighbours] = await Promise.all([1005, 1006, 1007].map(lineOf));
  // The neighbours stand a dialog unit apart; the frame's line is theirs.
  assert.ok(own >= Math.min(...neighbours) - 1 && own <= Math.max(...neighbours) + 1,
    `${own} against ${neighbours.join(', ')}`);
}));

// A static text that would be cut takes a smaller font instead (the
// clock's English date, the keypad view's hints).
test('every static text fits its control in both languages and views', () => withPage('?simulate=keypad', async (page) => {
  // Cut: wider than the control, or more lines than fit in its height (a
  // control lower than a line holds one).
  const cut = () => page.$$eval('.reader-client .reader-static', (nodes) => nodes
    .filter((n) => {
      if (!n.offsetParent || !n.textContent) return false;
      if (n.scrollWidth > n.clientWidth) return true;
      const range = document.createRange();
      range.selectNodeContents(n);
      const rects = [...range.getClientRects()];
      const lines = new Set(rects.map((r) => Math.round(r.top))).size;
      return lines > Math.max(1, Math.floor(n.clientHeight / rects[0].height));
    })
    .map((n) => `${n.dataset.id}: ${n.textContent.slice(0, 30)}`));
  for (const step of [null, 'language', 'view', 'language']) {
    if (step === 'language') await s.click(page, (await page.isChecked(s.input(ID.ENGLISH))) ? ID.CHINESE : ID.ENGLISH);
    if (step === 'view') await s.menu(page, ID.TOGGLE_VIEW);
    await s.settle(page);
    assert.deepEqual(await cut(), [], `after ${step}`);
  }
}));

test('accessible names follow the language', () => withPage('?simulate=reader', async (page) => {
  const name = (id) => page.getAttribute(s.input(id), 'aria-label');
  for (const n of NAMES) assert.equal(await name(n.id), n.zh, String(n.id));
  await s.click(page, ID.ENGLISH);
  for (const n of NAMES) assert.equal(await name(n.id), n.en, String(n.id));
}));
