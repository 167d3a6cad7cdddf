// The configurator's page in headless Chromium, against virtual readers
// behind the fake navigator.hid: the texts a user sees, the frames the
// reader receives (equal to the native tool's recorded traces), keys, plug
// and unplug, the language switch and a profile's round trip.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const s = require('./support.js');

// Control and command ids of the dialog's table (app/ControlIds.h).
const ID = {
  OUTPUT: 1000, SHIELD_KEYS: 1140, TRACK2: 1015, T2_END: 1012, CLEAR: 1017, CHINESE: 1069, ENGLISH: 1070,
  SET_DEVICE: 1024, DEFAULT_SETTING: 1025, READ_DEVICE: 1026, BATCH: 1027, FORMAT_FIRST: 1028,
  MIDDLE_SEP: 1042, END_SEP: 1044, MIDDLE_SEP_TEXT: 1052, END_SEP_TEXT: 1054,
  CONFIG_KEY: 1078, READ_CONFIG: 1122, KEY1: 1081, KEY2: 1082,
  TOGGLE_VIEW: 32797, SAVE_PROFILE: 32901, LOAD_PROFILE: 32902, SAVE_BATCH_LOG: 32903,
};

const browser = s.browserForTests();

// What the reader received and answered during steps, as native traces list it.
async function framesOf(page, steps) {
  const before = s.frames(await page.evaluate(() => ReaderPage.trace())).length;
  await steps();
  return s.frames(await page.evaluate(() => ReaderPage.trace())).slice(before);
}

async function typeInto(page, id, text) {
  await page.fill(s.input(id), '');
  await page.type(s.input(id), text);
  await s.settle(page);
}

async function toEnglish(page) {
  await s.click(page, ID.ENGLISH);
}

const SCENARIOS = [
  { name: 'set_device_factory', device: 'reader', steps: async (page) => s.click(page, ID.SET_DEVICE) },
  {
    name: 'set_device_long_texts', device: 'reader',
    steps: async (page) => {
      await typeInto(page, ID.MIDDLE_SEP_TEXT, '--');
      await s.click(page, ID.MIDDLE_SEP);
      await typeInto(page, ID.T2_END, '?!');
      await s.click(page, ID.FORMAT_FIRST + 9);
      await s.click(page, ID.SET_DEVICE);
    },
  },
  {
    name: 'read_device_after_set', device: 'reader',
    steps: async (page) => {
      await typeInto(page, ID.END_SEP_TEXT, 'END');
      await s.click(page, ID.END_SEP);
      await s.click(page, ID.SET_DEVICE);
      await s.click(page, ID.DEFAULT_SETTING);
      await s.click(page, ID.READ_DEVICE);
    },
  },
  {
    name: 'keypad_config_and_read', device: 'keypad',
    steps: async (page) => {
      await s.menu(page, ID.TOGGLE_VIEW);
      // The text "F5" put into the field, as the native scenario sets it.
      await page.fill(s.input(ID.KEY1), 'F5');
      await s.settle(page);
      await s.click(page, ID.CONFIG_KEY);
      await s.click(page, ID.READ_CONFIG);
    },
  },
];

for (const scenario of SCENARIOS) {
  for (const english of [false, true]) {
    test(`${scenario.name} sends the native tool's frames${english ? ' in English' : ''}`, async () => {
      const page = await s.openPage(browser.env, '?simulate=' + scenario.device);
      await s.settle(page);
      if (english) await toEnglish(page);
      // What the tool sends; the answers are the virtual reader's, as the
      // native replay checks too.
      const sent = (frames) => frames.filter((f) => f.split(' ')[1] === 'W');
      const got = await framesOf(page, () => scenario.steps(page));
      assert.deepEqual(sent(got), sent(s.nativeFrames(scenario.name)));
      assert.ok(got.length >= sent(got).length + 1, 'the reader answered');
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }
}

// The start-up texts, then both languages' texts, byte for byte as the
// dialog's tables have them.
const TEXTS = [
  { id: ID.SET_DEVICE, start: '设置设备', en: 'Set Device', zh: '设置设备' },
  { id: ID.READ_DEVICE, start: '读取设备', en: 'Read Device', zh: '读取配置' },
  { id: ID.DEFAULT_SETTING, start: '默认设置', en: 'Default Setting', zh: '默认设置' },
  { id: ID.BATCH, start: '开始批量设置', en: 'Start batch set', zh: '开始批量设置' },
  { id: ID.CONFIG_KEY, start: '配置键盘', en: 'Config key', zh: '配置键盘' },
  { id: ID.READ_CONFIG, start: '读取配置', en: 'Read Config', zh: '读取配置' },
];

async function expectTexts(page, which) {
  for (const row of TEXTS) assert.equal(await s.text(page, row.id), row[which], `${row.id} ${which}`);
}

test('start-up texts and the language switch', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  const output = await s.text(page, ID.OUTPUT);
  assert.ok(output.startsWith('欢迎使用USB读卡器设置软件！ \nWelcome use USB card reader setup software! \n设备已连接！'), output);
  assert.equal(await page.textContent('.reader-title'), 'USB读卡器设置');
  await expectTexts(page, 'start');
  assert.equal(await page.isEnabled(s.input(ID.SET_DEVICE)), true);
  await toEnglish(page);
  await expectTexts(page, 'en');
  assert.equal(await page.textContent('.reader-title'), 'USB card reader setup');
  await s.click(page, ID.CHINESE);
  await expectTexts(page, 'zh');
  assert.equal(await page.textContent('.reader-title'), 'USB 读卡器设置');
  await page.context().close();
});

test('keys: the general view announces them, left and right told apart', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  await toEnglish(page);
  // Control keys are announced only while they are not shielded.
  await s.click(page, ID.SHIELD_KEYS);
  for (const [key, said] of [['F6', 'F6'], ['MetaLeft', 'LWIN'], ['MetaRight', 'RWIN'], ['ArrowLeft', 'LEFT'], ['Escape', 'ESC']]) {
    await page.keyboard.press(key);
    await s.settle(page);
    assert.match(await s.text(page, ID.OUTPUT), new RegExp(`You pressed the ${said} key ! [0-9:]+\\s*$`), key);
  }
  await page.context().close();
});

test('keys: a key field takes the key pressed in it, by its side', async () => {
  const page = await s.openPage(browser.env, '?simulate=keypad');
  await s.settle(page);
  await s.menu(page, ID.TOGGLE_VIEW);
  for (const [field, key, name] of [[ID.KEY1, 'F5', 'F5'], [ID.KEY2, 'ShiftRight', 'SHIFT']]) {
    await page.click(s.input(field));
    await page.keyboard.press(key);
    await s.settle(page);
    assert.equal(await s.text(page, field), name, key);
  }
  await page.context().close();
});

test('unplugging and plugging the reader back in', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  await page.click('[data-simulate="unplug"]');
  await s.settle(page);
  assert.match(await s.text(page, ID.OUTPUT), /未连接设备！[^\n]*\n?$/);
  assert.equal(await page.isEnabled(s.input(ID.SET_DEVICE)), false);
  await page.click('[data-simulate="back"]');
  await s.settle(page);
  assert.match(await s.text(page, ID.OUTPUT), /已连接设备！[^\n]*\n?$/);
  assert.equal(await page.isEnabled(s.input(ID.SET_DEVICE)), true);
  const got = await framesOf(page, () => s.click(page, ID.SET_DEVICE));
  assert.deepEqual(got, s.nativeFrames('set_device_factory'));
  await page.context().close();
});

test('a profile saved as a download loads back through the file picker', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  await typeInto(page, ID.END_SEP_TEXT, 'END');
  await s.click(page, ID.TRACK2);
  const downloaded = page.waitForEvent('download');
  await s.windowEntry(page, ID.SAVE_PROFILE);
  await page.keyboard.press('Enter');
  await s.settle(page);
  const file = await (await downloaded).path();
  const profile = fs.readFileSync(file, 'utf8');
  assert.match(profile, /END/);
  // The pane names the file the user got.
  assert.match(await s.text(page, ID.OUTPUT), /配置文件已保存：reader-profile\.json/);
  await s.click(page, ID.DEFAULT_SETTING);
  assert.notEqual(await s.text(page, ID.END_SEP_TEXT), 'END');
  const chooser = page.waitForEvent('filechooser');
  await s.windowEntry(page, ID.LOAD_PROFILE);
  await (await chooser).setFiles(file);
  await s.settle(page);
  assert.equal(await s.text(page, ID.END_SEP_TEXT), 'END');
  assert.equal(await page.isChecked(s.input(ID.TRACK2)), false);
  await page.context().close();
});

test('batch: each reader plugged in is configured, and the log downloads as CSV', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  // The frames of Set Device, whichever operation (batch start, arrival) sent them.
  const sent = (frames) => frames.filter((f) => f.split(' ')[1] === 'W').map((f) => f.slice(f.indexOf(' ') + 1));
  const factory = sent(s.nativeFrames('set_device_factory'));
  assert.deepEqual(sent(await framesOf(page, () => s.click(page, ID.BATCH))), factory);
  const fresh = await framesOf(page, async () => {
    await page.click('[data-simulate="fresh"]');
    await s.settle(page);
  });
  assert.deepEqual(sent(fresh), factory);
  await s.click(page, ID.BATCH);
  const downloaded = page.waitForEvent('download');
  await s.windowEntry(page, ID.SAVE_BATCH_LOG);
  await page.keyboard.press('Enter');
  await s.settle(page);
  const download = await downloaded;
  assert.equal(download.suggestedFilename(), 'batch-log.csv');
  const rows = fs.readFileSync(await download.path(), 'utf8').trim().split(/\r?\n/);
  assert.equal(rows.length, 3, rows.join('\n')); // the header and two readers
  assert.ok(rows.slice(1).every((r) => r.includes('configured')), rows.join('\n'));
  await page.context().close();
});

test('a file that is no profile is refused with a message and changes nothing', async () => {
  const page = await s.openPage(browser.env);
  await s.settle(page);
  await typeInto(page, ID.END_SEP_TEXT, 'END');
  const chooser = page.waitForEvent('filechooser');
  await s.windowEntry(page, ID.LOAD_PROFILE);
  await (await chooser).setFiles({ name: 'broken.json', mimeType: 'application/json', buffer: Buffer.from('{"format": ') });
  page.boxes = [];
  await s.settle(page);
  assert.equal(page.boxes.length, 1);
  assert.match(page.boxes[0], /broken\.json/);
  assert.equal(await s.text(page, ID.END_SEP_TEXT), 'END');
  assert.deepEqual(page.errors, []);
  await page.context().close();
});
