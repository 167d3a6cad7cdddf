// Starts the configurator in the page: with ?simulate=KIND,... virtual
// readers behind a fake navigator.hid and a panel that plugs them in and
// out, as the tool's --simulate does; otherwise the reader over WebHID, asked
// for with the page's button.
Module.noInitialRun = true;
Module.onRuntimeInitialized = async function () {
  performance.mark('reader-runtime-ready');
  const params = new URLSearchParams(location.search);
  const simulate = params.get('simulate');
  const status = document.getElementById('page-status');
  if (simulate !== null) {
    const kinds = (simulate || 'reader').split(',');
    const fake = ReaderFakeHid.install(kinds);
    if (!fake) {
      status.textContent = 'Unknown simulated device in "' + simulate + '": reader, keypad, old-reader or silent.';
      return;
    }
    ReaderPage.simulation = fake;
    ReaderPage.showSimulationPanel(fake);
  } else if (!ReaderHid.available()) {
    status.textContent = 'This browser has no WebHID: open the page in a Chromium-based browser (Chrome, Edge, Opera) over HTTPS or from localhost.';
  }
  await ReaderHid.start();
  callMain([]);
  performance.mark('reader-dialog-built');
  // The dialog is built when main first waits; the frame after next has
  // painted it (bench/web measures to this mark).
  requestAnimationFrame(() => requestAnimationFrame(() => performance.mark('reader-dialog-painted')));
};

var ReaderPage = {
  // The reports so far, in the trace format of the tool's --trace.
  trace() {
    return UTF8ToString(Module._web_trace());
  },
  showSimulationPanel(fake) {
    const panel = document.getElementById('simulation');
    panel.hidden = false;
    fake.slots.forEach((slot, i) => {
      const row = document.createElement('div');
      row.textContent = fake.slots.length > 1 ? '设备 ' + (i + 1) + '：' + slot.kind + ' (Device ' + (i + 1) + ': ' + slot.kind + ') ' : '';
      const actions = [
        { name: 'unplug', text: '拔出读卡器 (Unplug the reader)', act: () => fake.unplug(i) },
        { name: 'back', text: '重新插入读卡器 (Plug the reader back in)', act: () => fake.plugBack(i) },
        { name: 'fresh', text: '插入新的读卡器 (Plug in a fresh reader)', act: () => fake.plugFresh(i) },
      ];
      for (const action of actions) {
        const b = document.createElement('button');
        b.type = 'button';
        b.textContent = action.text;
        b.dataset.simulate = action.name;
        b.dataset.slot = i;
        b.addEventListener('click', action.act);
        row.appendChild(b);
      }
      panel.appendChild(row);
    });
  },
};

document.addEventListener('DOMContentLoaded', () => {
  const choose = document.getElementById('choose-reader');
  choose.addEventListener('click', async () => {
    try {
      await ReaderHid.request();
    } catch (e) {
      document.getElementById('page-status').textContent = String(e && e.message ? e.message : e);
    }
  });
});
