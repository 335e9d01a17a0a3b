// The calculator's page. Every rule comes from the compiled workflow (izolcalc.js): the
// page builds its controls from the workflow's tables, hands each value on as the user
// leaves a field, and carries out the effects the calculate command returns, in order.
//
// Other parts of the page (src/schedule.js, src/report.js…) register with Izol.register
// before the module has loaded; each part's start(ctx) is called once the calculator runs.
'use strict';

const Izol = (window.Izol = window.Izol || {});
Izol.parts = Izol.parts || [];
Izol.register = (part) => Izol.parts.push(part);

(() => {
  const $ = (id) => document.getElementById(id);
  const REFUSED_TYPING = 'Здесь вводится число: цифры, минус перед ними и десятичная запятая';
  const REFUSED_PASTE = 'Вставленный текст — не число';
  const NO_KIND = 'Выберите вид расчёта';

  let M = null; // the compiled module
  let calc = null; // its Calculator: the inputs, the engine and the shown result
  let tables = null;
  const controls = new Map(); // objectName -> {wrap, input, spec, kind: 'field'|'choice'|...}

  // ---- The message box: one at a time, in order, each waits for its OK ----------------

  let boxChain = Promise.resolve();
  function showMessage(text, caption) {
    boxChain = boxChain.then(
      () =>
        new Promise((resolve) => {
          const box = $('messageBox');
          $('messageCaption').textContent = caption;
          $('messageText').textContent = text;
          box.addEventListener('close', () => resolve(), { once: true });
          box.showModal();
          $('messageOk').focus();
        })
    );
    return boxChain;
  }
  Izol.showMessage = showMessage;

  // ---- Building the controls from the tables --------------------------------------------

  function labelled(id, caption, input) {
    const wrap = document.createElement('div');
    wrap.className = 'row';
    wrap.dataset.control = id;
    const label = document.createElement('label');
    label.htmlFor = id;
    label.id = id + 'Label';
    label.textContent = tidyCaption(caption);
    wrap.append(label, input);
    return wrap;
  }

  // The window leads the eye from a caption to its control with dots or underlines; a
  // page's column does that by itself.
  function tidyCaption(caption) {
    return caption.replace(/[._]{3,}$/, '').trim();
  }

  function makeField(spec) {
    const input = document.createElement('input');
    input.id = spec.control;
    input.type = 'text';
    input.inputMode = spec.integer ? 'numeric' : 'decimal';
    input.autocomplete = 'off';
    input.spellcheck = false;
    if (spec.use !== 'input') input.readOnly = true;
    if (spec.use === 'disabled') input.disabled = true;
    input.value = M.fieldText(spec.control, spec.defaultValue);
    const wrap = labelled(spec.control, spec.caption, input);
    const why = document.createElement('span');
    why.className = 'refused';
    why.id = spec.control + 'Why';
    why.setAttribute('aria-live', 'polite');
    wrap.append(why);
    input.setAttribute('aria-describedby', why.id);
    const entry = { wrap, input, spec, kind: 'field', value: spec.defaultValue, shown: input.value };
    controls.set(spec.control, entry);
    if (spec.use === 'input') wireField(entry);
    return wrap;
  }

  function makeRadioGroup(spec) {
    const set = document.createElement('fieldset');
    set.className = 'radios';
    set.id = spec.control;
    set.dataset.control = spec.control;
    const legend = document.createElement('legend');
    legend.textContent = tidyCaption(spec.caption);
    set.append(legend);
    spec.rows.forEach((text, i) => {
      const id = `${spec.control}_${i}`;
      const radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = spec.control;
      radio.id = id;
      radio.value = String(i);
      radio.checked = i === spec.defaultRow;
      radio.addEventListener('change', () => choiceChanged(spec.control, i));
      const label = document.createElement('label');
      label.htmlFor = id;
      label.textContent = text;
      const line = document.createElement('div');
      line.className = 'radio';
      line.append(radio, label);
      set.append(line);
    });
    controls.set(spec.control, { wrap: set, spec, kind: 'radio' });
    return set;
  }

  function makeList(control, caption, rows, chosen, onChange) {
    const select = document.createElement('select');
    select.id = control;
    fillList(select, rows, chosen);
    select.addEventListener('change', () => onChange(select.selectedIndex));
    return labelled(control, caption, select);
  }

  function fillList(select, rows, chosen) {
    select.replaceChildren(
      ...rows.map((text, i) => {
        const option = document.createElement('option');
        option.value = String(i);
        option.textContent = text;
        return option;
      })
    );
    select.selectedIndex = chosen;
  }

  function makeChoice(spec) {
    if (spec.control.startsWith('RzRadioGroup')) return makeRadioGroup(spec);
    const rows = spec.control === 'RzComboBox2' ? spec.rows.map((_, i) => M.layingText(i)) : spec.rows;
    const wrap = makeList(spec.control, spec.caption, rows, spec.defaultRow, (i) =>
      choiceChanged(spec.control, i)
    );
    controls.set(spec.control, { wrap, input: wrap.querySelector('select'), spec, kind: 'list' });
    return wrap;
  }

  function makeMaterialList() {
    const t = tables.texts;
    const wrap = makeList(t.materialControl, t.materialCaption, [], -1, (i) => {
      calc.chooseMaterial(i);
      showResultState();
    });
    controls.set(t.materialControl, { wrap, input: wrap.querySelector('select'), kind: 'material' });
    return wrap;
  }

  function showMaterials() {
    const entry = controls.get(tables.texts.materialControl);
    const rows = calc.materialRows();
    fillList(entry.input, rows.map((r) => r.text), calc.chosenMaterial());
  }

  function build() {
    const kindSet = $('RGCalc');
    tables.kinds.forEach((kind, i) => {
      const id = `RGCalc_${i}`;
      const line = document.createElement('div');
      line.className = 'radio';
      const radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = 'RGCalc';
      radio.id = id;
      radio.value = String(i);
      radio.addEventListener('change', () => chooseKind(i));
      const label = document.createElement('label');
      label.htmlFor = id;
      label.textContent = kind.caption;
      line.append(radio, label);
      kindSet.append(line);
    });

    // Each kind's page holds its own fields and lists; the common panel holds the rest.
    const pages = $('kindPage');
    tables.kinds.forEach((kind, method) => {
      const page = document.createElement('div');
      page.className = 'page';
      page.id = kind.page;
      page.hidden = true;
      for (const spec of tables.choices) if (spec.method === method) page.append(makeChoice(spec));
      for (const spec of tables.fields) if (spec.method === method) page.append(makeField(spec));
      pages.append(page);
    });
    const common = $('commonPanel');
    for (const spec of tables.choices) if (spec.method === -1) common.append(makeChoice(spec));
    common.append(makeMaterialList());
    common.hidden = true;
    showMaterials();
  }

  // ---- Number fields: typing, pasting, leaving ------------------------------------------

  let edited = null; // the field being edited, whose text is not yet its value

  function wireField(entry) {
    const { input, spec } = entry;
    let before = input.value;
    input.addEventListener('focus', () => {
      edited = entry;
      const text = M.textOnEntry(spec.control, input.value);
      if (text !== input.value) input.value = text;
      before = input.value;
    });
    input.addEventListener('beforeinput', () => {
      before = input.value;
    });
    input.addEventListener('paste', (ev) => {
      const text = (ev.clipboardData || window.clipboardData).getData('text');
      ev.preventDefault();
      const pasted = M.pastedNumber(text);
      const start = input.selectionStart ?? input.value.length;
      const end = input.selectionEnd ?? input.value.length;
      const joined = pasted === null ? null : input.value.slice(0, start) + pasted + input.value.slice(end);
      if (joined === null || !M.isTypable(joined)) return refuse(entry, REFUSED_PASTE);
      input.value = joined;
      input.setSelectionRange(start + pasted.length, start + pasted.length);
      refused(entry, '');
      showResultState();
    });
    input.addEventListener('input', () => {
      // A "." typed is the decimal comma, as in the desktop's field.
      const text = input.value.replace('.', ',');
      if (!M.isTypable(text)) {
        input.value = before;
        return refuse(entry, REFUSED_TYPING);
      }
      if (text !== input.value) input.value = text;
      before = text;
      refused(entry, '');
      showResultState();
    });
    input.addEventListener('blur', () => leave(entry));
  }

  function refuse(entry, why) {
    refused(entry, why);
    entry.input.classList.remove('flash');
    void entry.input.offsetWidth; // restart the flash
    entry.input.classList.add('flash');
  }
  function refused(entry, why) {
    const line = entry.wrap.querySelector('.refused');
    line.textContent = why;
    line.classList.remove('note');
  }

  // Leaving a field settles its value; a range message comes before the value is taken.
  function leave(entry) {
    if (edited !== entry) return boxChain;
    edited = null;
    const left = M.leaveField(entry.spec.control, entry.input.value, entry.value);
    if (left.message) showMessage(left.message.text, left.message.caption);
    setFieldValue(entry, left.value);
    calc.setField(entry.spec.control, left.value);
    refused(entry, '');
    if (left.note) noted(entry, left.note);
    showResultState();
    return boxChain;
  }

  // A fraction rounded away is said under the field for a moment, where a refusal would be.
  function noted(entry, note) {
    const line = entry.wrap.querySelector('.refused');
    line.textContent = note;
    line.classList.add('note');
    setTimeout(() => {
      if (line.textContent === note) line.textContent = '';
    }, 3000);
  }

  function setFieldValue(entry, value) {
    entry.value = value;
    entry.input.value = M.fieldText(entry.spec.control, value);
  }

  function settleEditedField() {
    return edited ? leave(edited) : boxChain;
  }

  // ---- Choices and kinds -----------------------------------------------------------------

  function choiceChanged(control, row) {
    calc.setChoice(control, row);
    if (control === 'RzRadioGroup1') objectChanged();
    if (control === 'RzRadioGroup1' || control === 'RzComboBox3') showMaterials();
    showResultState();
  }

  function objectChanged() {
    const object = chosenRow('RzRadioGroup1');
    const visible = M.diameterGroupVisible(object);
    for (const name of tables.diameterGroup) {
      const entry = controls.get(name);
      if (entry) entry.wrap.hidden = !visible;
    }
    const norm = controls.get('RzNumericEdit3');
    if (norm) norm.wrap.querySelector('label').textContent = tidyCaption(M.normCaption(object));
  }

  function chosenRow(control) {
    const entry = controls.get(control);
    if (entry.kind === 'radio') {
      const checked = entry.wrap.querySelector('input:checked');
      return checked ? Number(checked.value) : -1;
    }
    return entry.input.selectedIndex;
  }

  function setRow(control, row) {
    const entry = controls.get(control);
    if (!entry) return;
    if (entry.kind === 'radio') {
      entry.wrap.querySelectorAll('input').forEach((r, i) => (r.checked = i === row));
    } else {
      entry.input.selectedIndex = row;
    }
  }

  function chooseKind(method) {
    settleEditedField();
    const kind = tables.kinds[method];
    document.querySelectorAll('#kindPage .page').forEach((p) => (p.hidden = p.id !== kind.page));
    $('commonPanel').hidden = false;
    $('RGCalc_' + method).checked = true;
    $('StaticText').textContent = tables.texts.headerPrefix + kind.caption.toLocaleLowerCase('ru');
    for (const change of calc.chooseKind(method)) {
      const entry = controls.get(change.control);
      if (!entry) continue;
      if (change.action === 'show') entry.wrap.hidden = false;
      else if (change.action === 'hide') entry.wrap.hidden = true;
      else if (change.action === 'enable') setEnabled(entry, true);
      else if (change.action === 'disable') setEnabled(entry, false);
      else if (change.action === 'chooseRow') setRow(change.control, change.value);
      else if (change.action === 'setValue') setFieldValue(entry, change.value);
    }
    objectChanged();
    showMaterials();
    $('loading').hidden = true;
    $('RzLabel4').textContent = calc.resultState('', '').text;
    showResultState();
  }

  function setEnabled(entry, enabled) {
    entry.wrap.querySelectorAll('input, select').forEach((e) => (e.disabled = !enabled));
  }

  // ---- Calculating -----------------------------------------------------------------------

  async function calculate() {
    const button = $('RzBmpButton1');
    const form = $('calcForm');
    form.setAttribute('aria-busy', 'true');
    try {
      await calculateNow(button);
    } finally {
      form.removeAttribute('aria-busy');
    }
  }

  async function calculateNow(button) {
    await settleEditedField();
    if (calc.method() < 0) return showMessage(NO_KIND, tables.texts.inputErrorCaption);
    button.focus();
    let focus = null;
    for (const e of calc.calculate()) {
      if (e.type === 'message') await showMessage(e.text, e.caption);
      else if (e.type === 'field') setFieldValue(controls.get(e.control), e.value);
      else if (e.type === 'result') $('RzLabel4').textContent = e.text;
      else if (e.type === 'focus') focus = controls.get(e.control).input;
    }
    showResultState();
    (focus || button).focus();
  }

  function showResultState() {
    const state = edited
      ? calc.resultState(edited.spec.control, edited.input.value)
      : calc.resultState('', '');
    const result = $('RzLabel4');
    result.classList.toggle('stale', state.stale);
    result.title = state.stale ? tables.texts.staleHint : '';
    const norm = controls.get('RzNumericEdit3');
    if (norm) {
      norm.input.classList.toggle('stale', state.normStale);
      norm.input.title = state.normStale ? tables.texts.staleHint : '';
    }
    const line = $('checkLine');
    line.hidden = !state.check;
    line.textContent = state.check ? state.check.line : '';
    line.dataset.state = state.check ? state.check.state : '';
    line.classList.toggle('accented', !!(state.check && state.check.accented));
  }

  // ---- Tabs ------------------------------------------------------------------------------

  function wireTabs() {
    const tabs = [...document.querySelectorAll('[role=tab]')];
    const select = (tab) => {
      for (const t of tabs) {
        const on = t === tab;
        t.setAttribute('aria-selected', String(on));
        t.tabIndex = on ? 0 : -1;
        $(t.getAttribute('aria-controls')).hidden = !on;
      }
      tab.focus();
    };
    tabs.forEach((tab, i) => {
      tab.addEventListener('click', () => select(tab));
      tab.addEventListener('keydown', (ev) => {
        const step = { ArrowRight: 1, ArrowLeft: -1 }[ev.key];
        if (step) select(tabs[(i + step + tabs.length) % tabs.length]);
      });
    });
    Izol.showTab = (panelId) => select(tabs.find((t) => t.getAttribute('aria-controls') === panelId));
  }

  // ---- Start -----------------------------------------------------------------------------

  async function start() {
    M = await createIzolModule();
    calc = new M.Calculator();
    tables = {
      kinds: M.kinds(),
      choices: M.choices(),
      fields: M.numberFields(),
      diameterGroup: M.diameterGroup(),
      texts: M.texts(),
    };
    build();
    wireTabs();
    $('calcForm').addEventListener('submit', (ev) => {
      ev.preventDefault();
      calculate();
    });
    // Enter calculates from a list or a radio button too, as in the window; a button keeps
    // its own Enter.
    $('calcForm').addEventListener('keydown', (ev) => {
      if (ev.key !== 'Enter' || ev.target.tagName === 'BUTTON' || ev.target.type === 'text') return;
      ev.preventDefault();
      calculate();
    });
    $('loading').textContent = NO_KIND;
    const ctx = {
      module: M,
      calculator: calc,
      settleEditedField,
      showMessage,
    };
    Izol.ctx = ctx;
    for (const part of Izol.parts) part.start(ctx);
    Izol.readyAt = performance.now(); // from the start of navigation
    document.body.dataset.ready = 'true';
  }

  Izol.ready = new Promise((resolve, reject) => {
    window.addEventListener('DOMContentLoaded', () => start().then(resolve, reject));
  });
})();
