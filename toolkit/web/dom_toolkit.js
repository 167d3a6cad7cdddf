// The DOM side of the web toolkit (WebSurface): builds the dialog's elements,
// shows modal boxes and menus, and reports what the user does to the
// WebAssembly side through its exported web_* functions. It keeps no dialog
// state of its own beyond what the elements hold.
var ReaderDom = (function () {
  'use strict';
  const KIND = ['button', 'check', 'radio', 'group', 'static', 'edit', 'multiline'];
  const TEXTS = {
    en: { ok: 'OK', yes: 'Yes', no: 'No', save: 'Save', cancel: 'Cancel', name: 'File name:' },
    'zh-CN': { ok: '确定', yes: '是', no: '否', save: '保存', cancel: '取消', name: '文件名：' },
  };
  let root, client, menubar, titleText, shield, layer;
  const controls = new Map(); // id -> { kind, el, input, text }
  let language = 'en';
  let busy = false;
  let box = null; // the open modal box: { keys(e) }
  const heldKeys = []; // keys pressed while an operation ran
  let wake = null;
  let wakeSignalled = false;
  let contextMenu = null;
  let windowMenu = []; // About entries and window entries
  let ended = false;

  function call(name, ...args) {
    return Module['_' + name](...args);
  }
  function str(s) {
    return allocateUTF8(s);
  }
  function withStrings(fn, ...strings) {
    const ptrs = strings.map(str);
    try {
      return fn(...ptrs);
    } finally {
      ptrs.forEach((p) => _free(p));
    }
  }
  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function colour(v) {
    return v < 0 ? '' : '#' + v.toString(16).padStart(6, '0');
  }
  function idOf(node) {
    for (let n = node; n && n !== root; n = n.parentNode)
      if (n.dataset && n.dataset.id) return Number(n.dataset.id);
    return 0;
  }
  function texts() {
    return TEXTS[language] || TEXTS.en;
  }

  // The font's base units, measured as the platforms do: the average width of
  // the Latin letters and the height of the font's em box (which the other
  // toolkits read from the font's tables; for the CJK fonts the dialog uses
  // it is the font size).
  function baseUnits() {
    const probe = el('span', 'reader-font-probe', 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    document.body.appendChild(probe);
    const width = probe.getBoundingClientRect().width;
    const em = parseFloat(getComputedStyle(probe).fontSize);
    probe.remove();
    return { cx: Math.max(1, Math.floor((Math.round(width) / 26 + 1) / 2)), cy: Math.max(1, Math.round(em)) };
  }

  function begin(title, width, height) {
    root = document.getElementById('dialog');
    root.textContent = '';
    root.classList.add('reader-window');
    const bar = el('div', 'reader-titlebar');
    titleText = el('span', 'reader-title', title);
    const close = el('button', 'reader-close', '×');
    close.type = 'button';
    close.tabIndex = -1;
    close.setAttribute('aria-label', 'Close');
    close.addEventListener('click', () => call('web_close'));
    bar.append(titleText, close);
    menubar = el('div', 'reader-menubar');
    menubar.setAttribute('role', 'menubar');
    client = el('div', 'reader-client');
    client.style.width = width + 'px';
    client.style.height = height + 'px';
    shield = el('div', 'reader-shield');
    root.append(bar, menubar, client, shield);
    layer = document.getElementById('modal-layer');
    document.title = title;
    client.addEventListener('click', onClick);
    client.addEventListener('input', onInput);
    root.addEventListener('focusin', onFocusIn);
    root.addEventListener('contextmenu', onContextMenu);
    document.addEventListener('keydown', onKeyDown, true);
    document.addEventListener('keyup', onKeyUp, true);
    document.addEventListener('click', (e) => {
      if (contextMenu && !contextMenu.contains(e.target)) closeContextMenu();
      if (!menubar.contains(e.target)) closeMenus();
    });
    window.addEventListener('blur', () => call('web_blur'));
  }

  function addControl(id, kind, caption, x, y, w, h, shown, disabled, group, centred, fg, bg) {
    const k = KIND[kind];
    let node, input;
    switch (k) {
      case 'button':
        node = input = el('button', 'reader-button', caption);
        node.type = 'button';
        break;
      case 'check':
      case 'radio':
        node = el('label', 'reader-' + k);
        input = el('input');
        input.type = k === 'check' ? 'checkbox' : 'radio';
        if (k === 'radio') input.name = group ? 'group' + group : 'radio' + id;
        node.append(input, el('span', '', caption));
        break;
      case 'group':
        node = el('fieldset', 'reader-group');
        node.append(el('legend', '', caption));
        break;
      case 'static':
        node = el('div', 'reader-static', caption);
        break;
      case 'edit':
        node = input = el('input', 'reader-edit');
        input.type = 'text';
        input.value = caption;
        input.spellcheck = false;
        break;
      default:
        node = input = el('textarea', 'reader-multiline');
        input.value = caption;
        input.spellcheck = false;
        break;
    }
    node.dataset.id = id;
    Object.assign(node.style, { left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px' });
    if (centred) node.style.textAlign = 'center';
    if (fg >= 0) node.style.color = colour(fg);
    if (bg >= 0) node.style.background = colour(bg);
    if (!shown) node.hidden = true;
    if (input && disabled) input.disabled = true;
    if (k === 'group' || k === 'static') node.classList.toggle('reader-disabled', !!disabled);
    controls.set(id, { kind: k, node, input });
    client.appendChild(node);
  }

  function captionNode(c) {
    if (c.kind === 'check' || c.kind === 'radio') return c.node.lastChild;
    if (c.kind === 'group') return c.node.firstChild;
    return c.node;
  }

  // A static text that does not fit takes a smaller size of the dialog
  // font, down to 9 px, as on the other toolkits, rather than being cut.
  // Cut: wider than its control, or more lines than fit in its height (a
  // control lower than one line holds one).
  function textCut(node) {
    if (node.scrollWidth > node.clientWidth) return true;
    const range = document.createRange();
    range.selectNodeContents(node);
    const rects = [...range.getClientRects()];
    if (rects.length === 0) return false;
    const lines = new Set(rects.map((r) => Math.round(r.top))).size;
    return lines > Math.max(1, Math.floor(node.clientHeight / rects[0].height));
  }
  function fitStatic(node) {
    node.style.fontSize = '';
    let size = parseFloat(getComputedStyle(node).fontSize);
    while (size > 9 && textCut(node)) {
      size -= 1;
      node.style.fontSize = size + 'px';
    }
  }

  function setCaption(id, text) {
    const c = controls.get(id);
    captionNode(c).textContent = text.replace(/\t/g, '  ');
    if (c.kind === 'static') fitStatic(c.node);
  }
  function setValue(id, text) {
    const c = controls.get(id);
    c.input.value = text;
    c.input.setSelectionRange(0, 0);
  }
  function appendValue(id, text) {
    const c = controls.get(id);
    const atEnd = c.input.scrollTop + c.input.clientHeight >= c.input.scrollHeight - 2;
    c.input.value += text;
    if (atEnd) c.input.scrollTop = c.input.scrollHeight;
  }
  function caretToEnd(id) {
    const c = controls.get(id);
    const n = c.input.value.length;
    c.input.setSelectionRange(n, n);
    c.input.scrollTop = c.input.scrollHeight;
  }
  function setEnabled(id, on) {
    const c = controls.get(id);
    if (c.input) c.input.disabled = !on;
    else c.node.classList.toggle('reader-disabled', !on);
  }
  function setVisible(id, on) {
    const c = controls.get(id);
    c.node.hidden = !on;
    // Its text may have been set while it was hidden, and unmeasured.
    if (on && c.kind === 'static') fitStatic(c.node);
  }
  function setLabel(id, name, description) {
    const c = controls.get(id);
    const target = c.input || c.node;
    if (name) target.setAttribute('aria-label', name);
    else target.removeAttribute('aria-label');
    if (description) target.setAttribute('aria-description', description);
    else target.removeAttribute('aria-description');
  }
  function focus(id) {
    const c = controls.get(id);
    (c.input || c.node).focus();
  }

  // --- What the user does. ---
  function onClick(e) {
    const id = idOf(e.target);
    const c = controls.get(id);
    if (!c || !c.input || e.target !== c.input) return;
    call('web_clicked', id);
  }
  function onInput(e) {
    const id = idOf(e.target);
    if (id) call('web_input', id);
  }
  function onFocusIn(e) {
    const id = idOf(e.target);
    if (id) call('web_focus', id);
  }

  // The key as the shortcut texts of the window entries spell it.
  function shortcutOf(e) {
    let key = e.code.startsWith('Key') ? e.code.slice(3) : e.code.startsWith('Digit') ? e.code.slice(5) : e.key;
    if (['Control', 'Shift', 'Alt', 'Meta'].includes(e.key)) return '';
    if (!e.ctrlKey && !e.altKey) return '';
    return (e.ctrlKey ? 'Ctrl+' : '') + (e.altKey ? 'Alt+' : '') + (e.shiftKey ? 'Shift+' : '') + key;
  }
  function typesText(e) {
    return e.key.length === 1 && !e.ctrlKey && !e.metaKey && !e.altKey;
  }
  // The key's default action applied to the element that had the focus when
  // it was pressed (the hook may have moved the focus meanwhile).
  function applyKey(target, e) {
    if (!target || !('value' in target) || target.disabled) return;
    const s = target.selectionStart, t = target.selectionEnd;
    if (typesText(e)) target.setRangeText(e.key, s, t, 'end');
    else if (e.key === 'Backspace' && s === t && s > 0) target.setRangeText('', s - 1, s, 'end');
    else if (e.key === 'Backspace' || e.key === 'Delete') target.setRangeText('', s, s === t && e.key === 'Delete' ? s + 1 : t, 'end');
    else return;
    target.dispatchEvent(new Event('input', { bubbles: true }));
  }
  function deliverKey(e, replayed) {
    const before = document.activeElement;
    const consumed = withStrings(
      (code, shortcut) => call('web_key', 1, code, e.repeat ? 1 : 0, typesText(e) ? 1 : 0, shortcut),
      e.code, shortcutOf(e));
    if (consumed) return true;
    const textarea = before && before.tagName === 'TEXTAREA';
    if (e.key === 'Escape') {
      call('web_close');
      return true;
    }
    // No default button: Enter outside a multi-line edit does nothing.
    if (e.key === 'Enter' && !textarea) return true;
    if (replayed || document.activeElement !== before) {
      applyKey(before, e);
      return true;
    }
    return false;
  }
  // Keys belong to the dialog unless another part of the page has the focus.
  function forDialog() {
    const a = document.activeElement;
    return !a || a === document.body || root.contains(a);
  }
  function onKeyDown(e) {
    if (ended) return;
    if (box) {
      box.keys(e);
      return;
    }
    if (!forDialog()) return;
    if (contextMenu) closeContextMenu();
    // Held keys go first: a key pressed later waits behind them.
    if (busy || heldKeys.length) {
      e.preventDefault();
      heldKeys.push({ code: e.code, key: e.key, repeat: e.repeat, ctrlKey: e.ctrlKey, altKey: e.altKey, shiftKey: e.shiftKey, metaKey: e.metaKey, up: false });
      return;
    }
    if (deliverKey(e, false)) e.preventDefault();
  }
  function onKeyUp(e) {
    if (ended || box || !forDialog()) return;
    if (busy || heldKeys.length) {
      heldKeys.push({ code: e.code, up: true });
      return;
    }
    withStrings((code) => call('web_key', 0, code, 0, 0, 0), e.code);
  }
  function replayHeldKeys() {
    while (!busy && !box && heldKeys.length) {
      const k = heldKeys.shift();
      if (k.up) withStrings((code) => call('web_key', 0, code, 0, 0, 0), k.code);
      else deliverKey(k, true);
    }
  }

  // --- Menus. ---
  function closeMenus() {
    if (menubar) menubar.querySelectorAll('.reader-popup').forEach((p) => p.remove());
  }
  function menuList(items, onChoose, cls) {
    const list = el('div', cls);
    list.setAttribute('role', 'menu');
    for (const item of items) {
      const entry = el('button', 'reader-menuitem', item.text.replace(/\t/g, '  '));
      entry.type = 'button';
      entry.setAttribute('role', item.checkable ? 'menuitemcheckbox' : 'menuitem');
      if (item.checkable) {
        entry.setAttribute('aria-checked', item.checked ? 'true' : 'false');
        entry.classList.toggle('reader-checked', !!item.checked);
      }
      if (item.shortcut) entry.append(el('span', 'reader-shortcut', item.shortcut));
      entry.disabled = !item.enabled;
      entry.dataset.command = item.id;
      if (item.sub && item.sub.length) {
        entry.classList.add('reader-submenu');
        entry.append(menuList(item.sub, onChoose, 'reader-subitems'));
      } else {
        entry.addEventListener('click', (e) => {
          e.stopPropagation();
          onChoose(item.id);
        });
      }
      list.appendChild(entry);
    }
    return list;
  }
  function setMenu(json) {
    const items = JSON.parse(json);
    menubar.textContent = '';
    for (const item of items) {
      const top = el('button', 'reader-menutop', item.text);
      top.type = 'button';
      top.tabIndex = -1;
      top.disabled = !item.enabled;
      top.dataset.command = item.id;
      top.addEventListener('click', (e) => {
        e.stopPropagation();
        if (item.sub.length) {
          const open = top.querySelector('.reader-popup');
          closeMenus();
          if (!open)
            top.appendChild(menuList(item.sub, (id) => { closeMenus(); call('web_menu', id); }, 'reader-popup'));
        } else {
          closeMenus();
          call('web_menu', item.id);
        }
      });
      menubar.appendChild(top);
    }
  }
  function setWindowMenu(json) {
    windowMenu = JSON.parse(json);
  }
  function closeContextMenu() {
    if (contextMenu) contextMenu.remove();
    contextMenu = null;
  }
  // The window's own menu: the page has no system menu, so the dialog's
  // background and the output pane offer it on the context-menu click.
  function onContextMenu(e) {
    if (busy || box || !windowMenu.length) return;
    const c = controls.get(idOf(e.target));
    if (c && c.kind !== 'multiline' && c.kind !== 'group' && c.kind !== 'static') return;
    e.preventDefault();
    closeContextMenu();
    contextMenu = menuList(windowMenu, (id) => {
      closeContextMenu();
      if (id === -1) call('web_about');
      else call('web_window_entry', id);
    }, 'reader-context');
    contextMenu.style.left = e.pageX + 'px';
    contextMenu.style.top = e.pageY + 'px';
    document.body.appendChild(contextMenu);
  }

  // --- Modal boxes. ---
  function answer(value, name) {
    layer.textContent = '';
    layer.hidden = true;
    box = null;
    // The operation that opened the box goes on until it returns.
    busy = true;
    withStrings((n) => call('web_box_answer', value, n), name || '');
  }
  function showBox(kind, caption, body, buttons, keys) {
    closeContextMenu();
    closeMenus();
    layer.textContent = '';
    layer.hidden = false;
    layer.dataset.kind = kind;
    const frame = el('div', 'reader-box');
    frame.setAttribute('role', 'dialog');
    frame.setAttribute('aria-modal', 'true');
    frame.setAttribute('aria-label', caption);
    const row = el('div', 'reader-box-buttons');
    for (const b of buttons) {
      const button = el('button', 'reader-box-button', b.text);
      button.type = 'button';
      button.dataset.answer = b.value;
      button.addEventListener('click', b.act || (() => answer(b.value)));
      row.appendChild(button);
    }
    frame.append(el('div', 'reader-box-title', caption), body, row);
    layer.appendChild(frame);
    const all = [...frame.querySelectorAll('button, input')];
    box = {
      keys(e) {
        if (e.type !== 'keydown') return;
        if (keys(e)) {
          e.preventDefault();
          return;
        }
        // Tab stays inside the box.
        if (e.key === 'Tab') {
          e.preventDefault();
          const at = all.indexOf(document.activeElement);
          all[(at + (e.shiftKey ? all.length - 1 : 1)) % all.length].focus();
        }
      },
    };
    (frame.querySelector('input') || row.firstChild).focus();
  }
  // MsgBoxResult: 0 Ok, 1 Yes, 2 No.
  function messageBox(text, caption, yesNo) {
    const t = texts();
    const body = el('div', 'reader-box-text', text.replace(/\r\n/g, '\n'));
    const buttons = yesNo ? [{ text: t.yes, value: 1 }, { text: t.no, value: 2 }] : [{ text: t.ok, value: 0 }];
    showBox('message', caption, body, buttons, (e) => {
      const k = e.key.toLowerCase();
      if (e.key === 'Enter' && document.activeElement && document.activeElement.dataset.answer)
        answer(Number(document.activeElement.dataset.answer));
      else if (e.key === 'Escape') answer(yesNo ? 2 : 0);
      else if (yesNo && k === 'y') answer(1);
      else if (yesNo && k === 'n') answer(2);
      else if (e.key === ' ' && document.activeElement.dataset.answer) answer(Number(document.activeElement.dataset.answer));
      else return e.key !== 'Tab';
      return true;
    });
  }
  function aboutBox(title, ok, line1, line2) {
    const body = el('div', 'reader-box-text');
    body.append(el('p', '', line1), el('p', '', line2));
    showBox('about', title, body, [{ text: ok, value: 0 }], (e) => {
      if (e.key === 'Enter' || e.key === 'Escape' || e.key === ' ') answer(0);
      else return e.key !== 'Tab';
      return true;
    });
  }
  // Save: the page asks for the name the download gets.
  function saveBox(title, suggested) {
    const t = texts();
    const body = el('label', 'reader-box-text', t.name);
    const input = el('input', 'reader-box-name');
    input.type = 'text';
    input.value = suggested;
    body.appendChild(input);
    const save = () => answer(1, input.value.trim());
    showBox('save', title, body, [{ text: t.save, value: 1, act: save }, { text: t.cancel, value: 0 }], (e) => {
      if (e.key === 'Enter') save();
      else if (e.key === 'Escape') answer(0, '');
      else return false;
      return true;
    });
    input.select();
  }
  // Open: the browser's file picker; the file is copied into the module's
  // file system, where the dialog reads it as any file.
  function openBox(extension) {
    const picker = el('input');
    picker.type = 'file';
    picker.accept = '.' + extension;
    box = { keys: (e) => e.preventDefault() };
    layer.textContent = '';
    layer.hidden = false;
    layer.dataset.kind = 'open';
    picker.addEventListener('cancel', () => answer(0, ''));
    picker.addEventListener('change', async () => {
      const file = picker.files[0];
      if (!file) return answer(0, '');
      const bytes = new Uint8Array(await file.arrayBuffer());
      const dir = '/uploads';
      try { FS.mkdir(dir); } catch (_) { /* there already */ }
      const path = dir + '/' + file.name.replace(/\//g, '_');
      FS.writeFile(path, bytes);
      answer(1, path);
    });
    picker.click();
  }

  function download(path) {
    // The module's umask leaves files it writes unreadable to FS.readFile.
    FS.chmod(path, 0o600);
    const bytes = FS.readFile(path);
    FS.unlink(path);
    const url = URL.createObjectURL(new Blob([bytes]));
    const a = el('a');
    a.href = url;
    a.download = path.slice(path.lastIndexOf('/') + 1);
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function setBusy(on) {
    busy = !!on;
    root.classList.toggle('reader-busy', busy);
    // From the page's own turn, not from inside the module's call.
    if (!busy && heldKeys.length) setTimeout(replayHeldKeys);
  }

  function signal() {
    if (wake) {
      const w = wake;
      wake = null;
      w();
    } else {
      wakeSignalled = true;
    }
  }
  function wait() {
    if (wakeSignalled) {
      wakeSignalled = false;
      return Promise.resolve();
    }
    return new Promise((resolve) => { wake = resolve; });
  }

  // The program has ended: the page cannot close itself, so it says so.
  function end(note) {
    ended = true;
    root.classList.add('reader-ended');
    root.textContent = '';
    root.appendChild(el('p', 'reader-ended-note', note));
  }

  return {
    baseUnits, begin, addControl, setCaption, setValue, appendValue, caretToEnd, setEnabled,
    setVisible, setLabel, focus, setMenu, setWindowMenu, messageBox, aboutBox, saveBox, openBox,
    download, setBusy, signal, wait, end,
    setTitle(t) { titleText.textContent = t; document.title = t; },
    value(id) { return controls.get(id).input.value; },
    checked(id) { const c = controls.get(id); return c.input && c.input.checked ? 1 : 0; },
    setChecked(id, on) { const c = controls.get(id); if (c.input) c.input.checked = !!on; },
    setLanguage(tag) { language = tag; document.documentElement.lang = tag; },
    startTimer(id, ms) { setInterval(() => { if (!ended) call('web_timer', id); }, ms); },
    isBusy: () => busy,
    holdingKeys: () => heldKeys.length > 0,
    boxOpen: () => !!box,
  };
})();
