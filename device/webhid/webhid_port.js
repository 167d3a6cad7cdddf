// The page's side of the WebHID port (WebHidPort.cpp): the devices this site
// may use, opening them, one report out and one report in with a time limit,
// and connect/disconnect as arrival and removal.
var ReaderHid = (function () {
  'use strict';
  const FILTERS = [{ vendorId: 0x016c, productId: 0x04f3 }];
  const ids = new WeakMap(); // HIDDevice -> number
  let nextId = 1;
  let known = []; // HIDDevice objects granted and attached
  const handles = new Map(); // handle -> { device, queue, waiter, listener }
  let nextHandle = 1;

  function hid() {
    return navigator.hid;
  }
  function idOf(device) {
    if (!ids.has(device)) ids.set(device, nextId++);
    return ids.get(device);
  }
  // Longest report of a kind, in bytes with the report id in front.
  function reportLength(device, kind) {
    let longest = 0;
    for (const c of device.collections || [])
      for (const r of c[kind] || []) {
        let bits = 0;
        for (const item of r.items || []) bits += (item.reportSize || 0) * (item.reportCount || 0);
        longest = Math.max(longest, Math.ceil(bits / 8) + 1);
      }
    return longest;
  }
  function isKeyboard(device) {
    return (device.collections || []).some((c) => c.usagePage === 1 && (c.usage === 6 || c.usage === 7));
  }
  function list() {
    return known.map((d) => ({
      path: 'webhid:' + idOf(d),
      instance: String(idOf(d)),
      vendorId: d.vendorId,
      productId: d.productId,
      inputLength: reportLength(d, 'inputReports'),
      outputLength: reportLength(d, 'outputReports'),
      keyboard: isKeyboard(d),
    }));
  }
  function find(path) {
    return known.find((d) => 'webhid:' + idOf(d) === path);
  }
  async function refresh() {
    if (!hid()) return;
    known = (await hid().getDevices()).filter((d) =>
      FILTERS.some((f) => d.vendorId === f.vendorId && d.productId === f.productId));
  }

  async function open(path) {
    const device = find(path);
    if (!device) return -1;
    try {
      if (!device.opened) await device.open();
    } catch (e) {
      return e && (e.name === 'NotAllowedError' || e.name === 'SecurityError') ? -2 : -3;
    }
    if (!known.includes(device)) return -1;
    const h = { device, queue: [], waiter: null, gone: false };
    h.listener = (event) => {
      const report = new Uint8Array(event.data.byteLength + 1);
      report[0] = event.reportId;
      report.set(new Uint8Array(event.data.buffer, event.data.byteOffset, event.data.byteLength), 1);
      h.queue.push(report);
      if (h.waiter) h.waiter();
    };
    device.addEventListener('inputreport', h.listener);
    const handle = nextHandle++;
    handles.set(handle, h);
    return handle;
  }
  function close(handle) {
    const h = handles.get(handle);
    if (!h) return;
    h.device.removeEventListener('inputreport', h.listener);
    handles.delete(handle);
    if (h.waiter) h.waiter();
  }
  function timeout(ms, value) {
    return new Promise((resolve) => setTimeout(() => resolve(value), ms));
  }
  async function write(handle, report, ms) {
    const h = handles.get(handle);
    if (!h || h.gone) return -1;
    // A report that has not gone out in time is left to the browser.
    const sent = h.device.sendReport(report[0], report.subarray(1)).then(() => 1, () => -1);
    return Promise.race([sent, timeout(ms, 0)]);
  }
  // The next report of the handle, null when none came in time, false when
  // the device went away.
  async function read(handle, ms) {
    const h = handles.get(handle);
    if (!h || h.gone) return false;
    if (!h.queue.length) {
      let timer;
      await new Promise((resolve) => {
        h.waiter = resolve;
        timer = setTimeout(resolve, ms);
      });
      clearTimeout(timer);
      h.waiter = null;
    }
    if (h.gone) return false;
    return h.queue.length ? h.queue.shift() : null;
  }

  // read() into the module's memory at ptr: bytes stored, 0 when nothing
  // came in time, -1 when the device went away.
  async function readInto(handle, ptr, capacity, ms) {
    const got = await read(handle, ms);
    if (!got) return got === null ? 0 : -1;
    const n = Math.min(got.length, capacity);
    HEAPU8.set(got.subarray(0, n), ptr);
    return n;
  }

  // Asks the browser for the reader: only from a user's click.
  async function request() {
    if (!hid()) return false;
    const chosen = await hid().requestDevice({ filters: FILTERS });
    const before = known.length;
    await refresh();
    if (chosen.length && known.length > before) Module._web_hid_changed(1);
    return chosen.length > 0;
  }

  // Call before the program starts: the devices granted earlier, and their
  // comings and goings from then on.
  async function start() {
    if (!hid()) return;
    await refresh();
    hid().addEventListener('connect', async (e) => {
      await refresh();
      if (known.includes(e.device)) Module._web_hid_changed(1);
    });
    hid().addEventListener('disconnect', (e) => {
      const was = known.includes(e.device);
      known = known.filter((d) => d !== e.device);
      for (const h of handles.values())
        if (h.device === e.device) {
          h.gone = true;
          if (h.waiter) h.waiter();
        }
      if (was) Module._web_hid_changed(0);
    });
  }

  return { list, open, close, write, readInto, request, start, available: () => !!hid() };
})();
