// The web page's weight and start, against a static HTML page with the same
// controls and texts (the page's own dialog, saved once it is built, with its
// style sheet and no script), measured in the same run in headless Chromium:
// bytes the browser fetches, compressed as a static host would (gzip -9 and
// brotli), and time from navigation to the first painted dialog, with the
// main thread's busy time (Chromium's TaskDuration) beside it.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const s = require('../../tests/web/support.js');

const RUNS = Number(process.env.RUNS || 15);
const MARK = 'reader-dialog-painted';

function sizes(dir, files) {
  let raw = 0, gzip = 0, brotli = 0;
  for (const f of files) {
    const data = fs.readFileSync(path.join(dir, f));
    raw += data.length;
    gzip += zlib.gzipSync(data, { level: 9 }).length;
    brotli += zlib.brotliCompressSync(data, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
  }
  return { raw, gzip, brotli };
}

async function staticTwin(env, dir) {
  const page = await s.openPage(env, '?simulate=reader');
  await s.settle(page);
  const dialog = await page.evaluate(() => document.getElementById('dialog').outerHTML);
  await page.context().close();
  const html = `<!DOCTYPE html>\n<html lang="zh-CN"><head><meta charset="utf-8"><title>reader-config</title>
<link rel="stylesheet" href="reader-config.css"></head><body>${dialog}
<script>requestAnimationFrame(() => requestAnimationFrame(() => performance.mark('${MARK}')));</script>
</body></html>\n`;
  fs.writeFileSync(path.join(dir, 'static.html'), html);
}

// Time to the mark and the main thread's busy time until then, one fresh context a run.
async function start(env, url) {
  const context = await env.browser.newContext();
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  await page.goto(env.origin + url);
  const painted = await page.waitForFunction((m) => {
    const e = performance.getEntriesByName(m)[0];
    return e ? e.startTime : false;
  }, MARK);
  const ms = await painted.jsonValue();
  const { metrics } = await cdp.send('Performance.getMetrics');
  const task = metrics.find((m) => m.name === 'TaskDuration').value * 1000;
  await context.close();
  return { ms, task };
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kb = (n) => (n / 1024).toFixed(1) + ' KiB';
const ms = (n) => n.toFixed(1) + ' ms';
const row = (what, mine, ref, refName) =>
  `| ${what} | ${mine.text} | ${ref.text} ${refName} | ${(mine.value / ref.value).toFixed(2)} |`;

(async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'reader-web-bench-'));
  for (const f of fs.readdirSync(s.SITE)) fs.copyFileSync(path.join(s.SITE, f), path.join(dir, f));
  const env = await s.launch(dir);
  try {
    await staticTwin(env, dir);
    const page = sizes(dir, ['index.html', 'reader-config.css', 'reader-config.js', 'reader-config.wasm']);
    const twin = sizes(dir, ['static.html', 'reader-config.css']);
    const code = sizes(dir, ['reader-config.js', 'reader-config.wasm']);
    // A warm-up round, then the two in turns.
    await start(env, '/?simulate=reader');
    await start(env, '/static.html');
    const web = [], plain = [];
    for (let i = 0; i < RUNS; ++i) {
      web.push(await start(env, '/?simulate=reader'));
      plain.push(await start(env, '/static.html'));
    }
    const v = (value, text) => ({ value, text });
    const lines = [
      '| Measure | web page | Reference | Ratio |',
      '|---|---:|---:|---:|',
      row('Script + wasm, gzip -9', v(code.gzip, kb(code.gzip)), v(twin.gzip, kb(twin.gzip)), 'static page (HTML + CSS)'),
      row('Script + wasm, brotli 11', v(code.brotli, kb(code.brotli)), v(twin.brotli, kb(twin.brotli)), 'static page (HTML + CSS)'),
      row('Whole page, gzip -9 (HTML, CSS, script, wasm)', v(page.gzip, kb(page.gzip)), v(twin.gzip, kb(twin.gzip)), 'static page'),
      row(`Navigation to the first painted dialog, median of ${RUNS}`, v(median(web.map((r) => r.ms)), ms(median(web.map((r) => r.ms)))),
        v(median(plain.map((r) => r.ms)), ms(median(plain.map((r) => r.ms)))), 'static page'),
      row(`Main thread busy until then (TaskDuration), median of ${RUNS}`, v(median(web.map((r) => r.task)), ms(median(web.map((r) => r.task)))),
        v(median(plain.map((r) => r.task)), ms(median(plain.map((r) => r.task)))), 'static page'),
    ];
    console.log(`Uncompressed: script + wasm ${kb(code.raw)}, static page ${kb(twin.raw)}`);
    console.log(lines.join('\n'));
  } finally {
    await env.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
