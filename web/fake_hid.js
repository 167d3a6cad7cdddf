// A navigator.hid of virtual readers, for ?simulate=KIND,... and the browser
// tests: each reader is two HIDDevices as a real one is (its keyboard
// interface and its settings interface with 64-byte reports), answering
// through the virtual reader models compiled into the module (SimulatedHid.cpp).
var ReaderFakeHid = (function () {
  'use strict';
  const FRAME = 64;
  const MAX_ANSWERS = 8;
  function reports(bytes) {
    return [{ reportId: 0, items: [{ reportSize: 8, reportCount: bytes }] }];
  }
  const SETTINGS = [{ usagePage: 0xff00, usage: 1, inputReports: reports(FRAME), outputReports: reports(FRAME) }];
  const KEYBOARD = [{ usagePage: 1, usage: 6, inputReports: reports(8), outputReports: reports(1) }];

  class FakeDevice extends EventTarget {
    constructor(slot, keyboard) {
      super();
      this.slot = slot;
      this.vendorId = 0x016c;
      this.productId = 0x04f3;
      this.productName = 'Card reader';
      this.collections = keyboard ? KEYBOARD : SETTINGS;
      this.keyboard = keyboard;
      this.opened = false;
      this.attached = true;
    }
    async open() {
      if (!this.attached) throw new DOMException('The device was disconnected.', 'NotFoundError');
      this.opened = true;
    }
    async close() {
      this.opened = false;
    }
    async sendReport(reportId, data) {
      await null; // the module is not re-entered from inside its own call
      if (!this.attached || !this.opened) throw new DOMException('Failed to write the report.', 'NotAllowedError');
      if (this.keyboard) return;
      const frame = new Uint8Array(FRAME);
      frame.set(new Uint8Array(data.buffer || data, data.byteOffset || 0, Math.min(FRAME, data.byteLength)));
      const inPtr = Module._malloc(FRAME);
      const outPtr = Module._malloc(FRAME * MAX_ANSWERS);
      HEAPU8.set(frame, inPtr);
      const count = Module._web_sim_frame(this.slot.model, inPtr, outPtr, MAX_ANSWERS);
      const answers = [];
      for (let i = 0; i < count; ++i) answers.push(HEAPU8.slice(outPtr + i * FRAME, outPtr + (i + 1) * FRAME));
      Module._free(inPtr);
      Module._free(outPtr);
      if (!answers.length) return;
      setTimeout(() => {
        for (const a of answers) {
          if (!this.attached || !this.opened) return;
          const event = new Event('inputreport');
          Object.assign(event, { device: this, reportId: 0, data: new DataView(a.buffer) });
          this.dispatchEvent(event);
        }
      }, Module._web_sim_delay(this.slot.model));
    }
  }

  class FakeHid extends EventTarget {
    constructor() {
      super();
      this.slots = [];
    }
    devices() {
      return this.slots.flatMap((s) => s.devices).filter((d) => d.attached);
    }
    async getDevices() {
      return this.devices();
    }
    async requestDevice(options) {
      const filters = (options && options.filters) || [];
      return this.devices().filter((d) =>
        !filters.length || filters.some((f) => (!f.vendorId || f.vendorId === d.vendorId) && (!f.productId || f.productId === d.productId)));
    }
    attach(slot, quietly) {
      slot.devices = [new FakeDevice(slot, true), new FakeDevice(slot, false)];
      if (!quietly)
        for (const d of slot.devices) this.dispatchEvent(Object.assign(new Event('connect'), { device: d }));
    }
    // A virtual reader of the kind; false for a name that is no kind.
    plug(kind, quietly) {
      const model = withName(kind, (p) => Module._web_sim_create(p));
      if (model < 0) return false;
      const slot = { kind, model, devices: [] };
      this.slots.push(slot);
      this.attach(slot, quietly);
      return true;
    }
    unplug(i) {
      const slot = this.slots[i];
      if (!slot || !slot.devices.some((d) => d.attached)) return;
      for (const d of slot.devices) {
        d.attached = false;
        d.opened = false;
        this.dispatchEvent(Object.assign(new Event('disconnect'), { device: d }));
      }
    }
    // The same reader, with what it stored, as new HIDDevices.
    plugBack(i) {
      const slot = this.slots[i];
      if (slot && !slot.devices.some((d) => d.attached)) this.attach(slot, false);
    }
    plugFresh(i) {
      const slot = this.slots[i];
      if (!slot) return;
      this.unplug(i);
      slot.model = withName(slot.kind, (p) => Module._web_sim_create(p));
      this.attach(slot, false);
    }
  }
  function withName(name, fn) {
    const p = allocateUTF8(name);
    try {
      return fn(p);
    } finally {
      Module._free(p);
    }
  }

  // Replaces navigator.hid with virtual readers of the kinds named.
  function install(kinds) {
    const fake = new FakeHid();
    for (const kind of kinds) if (!fake.plug(kind, true)) return null;
    Object.defineProperty(navigator, 'hid', { value: fake, configurable: true });
    return fake;
  }
  return { install };
})();
