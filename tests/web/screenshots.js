// Takes the README's pictures of the web page (scripts/screenshots-web.sh):
// both views in both languages, with the virtual keypad reader, as
// docs/screenshots/web-{general,keyboard}-{zh,en}.png.
'use strict';
const path = require('node:path');
const s = require('./support.js');

const OUT = process.argv[2] || path.join(__dirname, '../../docs/screenshots');
const ENGLISH = 1070, CHINESE = 1069, TOGGLE_VIEW = 32797;

(async () => {
  const env = await s.launch();
  try {
    const page = await s.openPage(env, '?simulate=keypad');
    await page.setViewportSize({ width: 1400, height: 1000 });
    await s.settle(page);
    const shoot = async (name) => {
      await page.evaluate(() => document.activeElement && document.activeElement.blur());
      await page.locator('#dialog').screenshot({ path: path.join(OUT, `web-${name}.png`) });
      console.log(path.join(OUT, `web-${name}.png`));
    };
    await shoot('general-zh');
    await s.click(page, ENGLISH);
    await shoot('general-en');
    await s.menu(page, TOGGLE_VIEW);
    await shoot('keyboard-en');
    await s.click(page, CHINESE);
    await shoot('keyboard-zh');
  } finally {
    await env.close();
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
