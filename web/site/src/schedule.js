// The schedule's page: the calculations kept as rows, as the desktop's schedule keeps them.
// The rows, their changes, the file, the CSV and the import are the compiled workflow's
// (web/bindings/Schedule.cpp); this script shows them, keeps the file's text in the
// browser's storage (IndexedDB) and moves files in and out as downloads and uploads.
'use strict';

(() => {
  const CAPTION = 'Ведомость расчётов';
  const DB = 'izolcalc';
  const STORE = 'schedule';
  const KEY = 'file';
  // The import calculates this many lines at a time for this long, then repaints its bar.
  const IMPORT_STEP = 25;
  const IMPORT_SLICE_MS = 50;
  // The columns shown, by their place among the export's headings, and what each sorts by.
  const COLUMNS = [
    { heading: 0, key: 'number', sort: 'number', cls: 'num' },
    { heading: 1, key: 'tag', sort: 'text' },
    { heading: 2, key: 'kindCaption', sort: 'kind' },
    { heading: 3, key: 'objectText', sort: 'text' },
    { heading: 6, key: 'material', sort: 'text' },
    { heading: 7, key: 'inputs', sort: 'text', cls: 'inputs' },
    { heading: 8, key: 'required', sort: 'requiredMm', cls: 'num' },
    { heading: 9, key: 'accepted', sort: 'acceptedMm', cls: 'num' },
    { heading: 10, key: 'checkText', sort: 'checkState', cls: 'check' },
  ];

  let M = null;
  let ctx = null;
  let rows = []; // as the module gives them, in the user's order
  let headings = [];
  const selected = new Set(); // ids
  let sortBy = { column: 0, descending: false };
  let db = null;
  let channel = null;
  let storedVersion = 0; // of the text this tab holds
  // A long schedule is shown a part at a time, more as the table is scrolled to its end:
  // a browser lays out ten thousand rows of wrapped text for many seconds.
  const SHOWN_AT_ONCE = 200;
  let shownCount = SHOWN_AT_ONCE;
  let printing = false;

  const $ = (id) => document.getElementById(id);
  const el = (tag, props = {}, ...children) => {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(props)) {
      if (k === 'class') e.className = v;
      else if (k.startsWith('data-') || k.startsWith('aria-') || k === 'role') e.setAttribute(k, v);
      else e[k] = v;
    }
    e.append(...children);
    return e;
  };

  // ---- Storage ------------------------------------------------------------------------------

  function openDb() {
    return new Promise((resolve) => {
      if (!window.indexedDB) return resolve(null);
      const request = indexedDB.open(DB, 1);
      request.onupgradeneeded = () => request.result.createObjectStore(STORE);
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(null);
    });
  }

  function dbGet(key) {
    return new Promise((resolve) => {
      if (!db) return resolve(undefined);
      const request = db.transaction(STORE).objectStore(STORE).get(key);
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    });
  }

  function dbPut(key, value) {
    return new Promise((resolve, reject) => {
      if (!db) return resolve();
      const tx = db.transaction(STORE, 'readwrite');
      tx.objectStore(STORE).put(value, key);
      tx.oncomplete = () => resolve();
      tx.onerror = () => reject(tx.error);
      tx.onabort = () => reject(tx.error);
    });
  }

  // One change at a time across the browser's tabs of this page.
  function exclusive(work) {
    if (navigator.locks) return navigator.locks.request('izolcalc-schedule', work);
    return work();
  }

  function giveBytes(bytes) {
    const place = M.scheduleIncoming(bytes.length);
    if (!place) return false;
    place.set(bytes);
    return true;
  }

  // Takes what another tab wrote since this one last read or wrote.
  async function catchUp() {
    const stored = await dbGet(KEY);
    if (!stored || stored.version === storedVersion) return;
    giveBytes(new Uint8Array(stored.bytes));
    const problem = M.scheduleRestore();
    storedVersion = stored.version;
    if (problem) await setAside(stored, problem);
  }

  // A stored text the program cannot read is kept under a key of its own, never overwritten.
  async function setAside(stored, problem) {
    const key = 'unreadable-' + new Date().toISOString();
    await dbPut(key, stored).catch(() => {});
    await ctx.showMessage(problem + ' Её текст сохранён в хранилище браузера отдельно.', CAPTION);
  }

  async function store() {
    const bytes = M.scheduleJsonBytes().slice();
    storedVersion = Date.now() + Math.random();
    try {
      await dbPut(KEY, { version: storedVersion, bytes: bytes.buffer });
      channel?.postMessage('changed');
    } catch (e) {
      await ctx.showMessage(
        'Ведомость не сохранена в хранилище браузера: ' + (e?.message || e) +
          '. Сохраните её в файл командой «Сохранить как...».',
        CAPTION
      );
    }
  }

  // Every change: the rows as stored now, the change, the rows stored and shown.
  let pending = Promise.resolve();
  function change(apply) {
    const done = exclusive(async () => {
      await catchUp();
      const result = apply();
      await store();
      show();
      return result;
    });
    pending = done.catch(() => {});
    return done;
  }

  // ---- Files ----------------------------------------------------------------------------

  function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const a = el('a', { href: url, download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function chooseFile(input) {
    return new Promise((resolve) => {
      input.value = '';
      input.onchange = () => resolve(input.files[0] || null);
      input.click();
    });
  }

  async function readFile(file) {
    try {
      return new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      await ctx.showMessage(`Не удалось прочитать файл «${file.name}»: ${e?.message || e}.`, CAPTION);
      return null;
    }
  }

  function now() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return (
      `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())}` +
      `T${two(d.getHours())}:${two(d.getMinutes())}:${two(d.getSeconds())}`
    );
  }

  // ---- Questions and progress -------------------------------------------------------------

  function ask(text) {
    return new Promise((resolve) => {
      const box = $('scheduleAsk');
      $('scheduleAskText').textContent = text;
      box.returnValue = '';
      box.addEventListener('close', () => resolve(box.returnValue === 'yes'), { once: true });
      box.showModal();
      $('scheduleAskNo').focus();
    });
  }

  // ---- Commands -----------------------------------------------------------------------------

  async function add() {
    await ctx.settleEditedField();
    const why = await change(() => M.scheduleAdd(ctx.calculator, now()));
    if (why) await ctx.showMessage(why, CAPTION);
    else announce('Расчёт добавлен в ведомость (строка ' + rows.length + ')');
  }

  function selectedIds() {
    return rows.filter((r) => selected.has(r.id)).map((r) => r.id);
  }

  async function deleteSelected() {
    const ids = selectedIds();
    if (!ids.length) return;
    const first = rows.findIndex((r) => selected.has(r.id));
    await change(() => M.scheduleDelete(ids));
    selected.clear();
    if (rows.length) select(rows[Math.min(first, rows.length - 1)].id);
  }

  async function move(direction) {
    const ids = selectedIds();
    if (ids.length !== 1) return;
    // Moving is about the user's order, which the number column shows.
    sortBy = { column: 0, descending: false };
    await change(() => M.scheduleMove(ids[0], direction));
    focusRow(ids[0]);
  }

  async function clearAll() {
    if (!rows.length) return;
    const yes = await ask(
      `Удалить все строки ведомости (${rows.length})? Их можно вернуть командой «Отменить» (Ctrl+Z).`
    );
    if (yes) await change(() => M.scheduleClear());
  }

  async function undo() {
    if (!M.scheduleCanUndo()) return;
    await change(() => M.scheduleUndo());
  }

  async function open() {
    const file = await chooseFile($('ScheduleOpenFile'));
    if (!file) return;
    if (rows.length && !(await ask(`Заменить строки ведомости (${rows.length}) строками из файла?`))) return;
    const bytes = await readFile(file);
    if (!bytes) return;
    if (!giveBytes(bytes)) return ctx.showMessage(M.scheduleTooLarge(file.name), CAPTION);
    const problem = await change(() => M.scheduleOpen(file.name));
    if (problem) await ctx.showMessage(problem, CAPTION);
  }

  const saveAs = () => download(M.scheduleJsonBytes().slice(), 'Ведомость.json', 'application/json');
  const exportCsv = () => download(M.scheduleCsvBytes().slice(), 'Ведомость.csv', 'text/csv;charset=utf-8');
  const saveTemplate = () =>
    download(M.scheduleTemplateBytes().slice(), 'Шаблон для импорта.csv', 'text/csv;charset=utf-8');

  // The import reads the file whole, then calculates it a few lines at a time, the bar
  // repainted between; its rows join the schedule as one change at the end.
  async function importCsv(file) {
    file = file || (await chooseFile($('ScheduleImportFile')));
    if (!file) return;
    const box = $('scheduleProgress');
    const bar = $('scheduleProgressBar');
    const label = $('scheduleProgressText');
    let cancelled = false;
    $('scheduleProgressCancel').onclick = () => (cancelled = true);
    box.oncancel = (ev) => {
      ev.preventDefault();
      cancelled = true;
    };
    label.textContent = 'Чтение файла...';
    bar.value = 0;
    box.showModal();
    try {
      const bytes = await readFile(file);
      if (!bytes) return;
      if (!giveBytes(bytes)) return void (await ctx.showMessage(M.scheduleTooLarge(file.name), CAPTION));
      const { total } = M.scheduleImportBegin(now());
      bar.max = Math.max(total, 1);
      // Lines are calculated for a slice of time, then the bar is repainted.
      let done = 0;
      while (done < total) {
        if (cancelled) {
          M.scheduleImportCancel();
          return;
        }
        const slice = performance.now() + IMPORT_SLICE_MS;
        while (done < total && performance.now() < slice) done = M.scheduleImportStep(IMPORT_STEP);
        bar.value = done;
        label.textContent = `Расчёт строк таблицы: ${done} из ${total}`;
        await new Promise((resolve) => setTimeout(resolve, 0));
      }
      const told = await change(() => M.scheduleImportEnd(file.name));
      box.close();
      await ctx.showMessage(told.problem || told.summary, CAPTION);
    } finally {
      if (box.open) box.close();
    }
  }

  // ---- The table --------------------------------------------------------------------------

  const announce = (text) => ($('scheduleStatus').textContent = text);

  function sortedRows() {
    const { column, descending } = sortBy;
    const c = COLUMNS[column];
    const shown = rows.slice();
    if (c.sort !== 'number') {
      const collator = new Intl.Collator('ru', { numeric: true });
      const key = c.sort === 'text' ? c.key : c.sort;
      shown.sort((a, b) =>
        c.sort === 'text' ? collator.compare(a[key], b[key]) : a[key] - b[key] || a.number - b.number
      );
    }
    if (descending) shown.reverse();
    return shown;
  }

  function cellText(row, key) {
    if (key === 'objectText') return [row.object, row.location, row.covering && 'покрытие: ' + lowerFirst(row.covering)].filter(Boolean).join(', ');
    if (key === 'checkText') return row.figures + ' — ' + row.verdict;
    return String(row[key]);
  }
  const lowerFirst = (s) => s.charAt(0).toLocaleLowerCase('ru') + s.slice(1);

  function show() {
    rows = M.scheduleRows();
    for (const id of [...selected]) if (!rows.some((r) => r.id === id)) selected.delete(id);
    const ordered = sortedRows();
    const upTo = printing ? ordered.length : Math.min(ordered.length, Math.max(shownCount, SHOWN_AT_ONCE));
    const fragment = document.createDocumentFragment();
    for (let i = 0; i < upTo; i++) fragment.append(rowElement(ordered[i]));
    $('ScheduleBody').replaceChildren(fragment);
    const more = $('ScheduleMore');
    more.hidden = upTo >= ordered.length;
    more.textContent = `Показать ещё (показано ${upTo} из ${ordered.length})`;
    $('ScheduleEmpty').hidden = rows.length > 0;
    $('ScheduleCount').textContent = rows.length ? `Строк: ${rows.length}` : '';
    $('ScheduleUndo').disabled = !M.scheduleCanUndo();
    document.querySelectorAll('#ScheduleTable th').forEach((th, i) => {
      th.setAttribute('aria-sort', i === sortBy.column ? (sortBy.descending ? 'descending' : 'ascending') : 'none');
    });
    tabCount();
  }

  function showMore() {
    shownCount = $('ScheduleBody').rows.length + SHOWN_AT_ONCE;
    show();
  }

  function rowElement(row) {
    const tr = el('tr', { 'data-id': String(row.id), 'aria-selected': String(selected.has(row.id)) });
    if (!row.calculated) tr.classList.add('rejected');
    for (const c of COLUMNS) {
      let td;
      if (c.key === 'tag') {
        const input = el('input', {
          type: 'text',
          value: row.tag,
          class: 'tag',
          'aria-label': `${headings[1]}, строка ${row.number}`,
        });
        input.addEventListener('change', () => change(() => M.scheduleTag(row.id, input.value.trim())));
        td = el('td', {}, input, el('span', { class: 'print-only' }, row.tag));
      } else if (c.key === 'number') {
        const box = el('input', { type: 'checkbox', checked: selected.has(row.id), 'aria-label': `Выбрать строку ${row.number}` });
        box.addEventListener('change', () => toggle(row.id, box.checked));
        td = el('td', { class: 'num' }, el('label', { class: 'pick' }, box, String(row.number)));
      } else {
        td = el('td', { class: c.cls || '' }, cellText(row, c.key));
        if (c.key === 'checkText' && row.accented) td.classList.add('accented');
      }
      tr.append(td);
    }
    return tr;
  }

  function tabCount() {
    const tab = $('tabSchedule');
    if (tab) tab.textContent = rows.length ? `Ведомость (${rows.length})` : 'Ведомость';
  }

  function toggle(id, on) {
    if (on) selected.add(id);
    else selected.delete(id);
    const tr = document.querySelector(`#ScheduleBody tr[data-id="${id}"]`);
    tr?.setAttribute('aria-selected', String(on));
    const box = tr?.querySelector('input[type=checkbox]');
    if (box) box.checked = on;
  }

  function select(id) {
    for (const other of [...selected]) toggle(other, false);
    toggle(id, true);
  }

  function focusRow(id) {
    select(id);
    document.querySelector(`#ScheduleBody tr[data-id="${id}"] input[type=checkbox]`)?.focus();
  }

  function build(page) {
    headings = M.scheduleHeadings();
    const button = (id, text, title, run) => {
      const b = el('button', { type: 'button', id, title }, text);
      b.addEventListener('click', run);
      return b;
    };
    const tools = el(
      'div',
      { class: 'schedule-tools' },
      button('ScheduleUp', 'Вверх', 'Передвинуть строку вверх', () => move(-1)),
      button('ScheduleDown', 'Вниз', 'Передвинуть строку вниз', () => move(+1)),
      button('ScheduleDelete', 'Удалить', 'Удалить выбранные строки (Del)', deleteSelected),
      button('ScheduleClear', 'Очистить...', 'Удалить все строки ведомости', clearAll),
      el('span', { class: 'spacer' }),
      button('ScheduleImport', 'Импорт CSV...', 'Рассчитать строки таблицы CSV и добавить их в ведомость', () => importCsv()),
      button('ScheduleTemplate', 'Шаблон для импорта...', 'Сохранить таблицу CSV с нужными столбцами и примером каждого вида расчёта', saveTemplate)
    );
    const head = el('tr');
    COLUMNS.forEach((c, i) => {
      const th = el('th', { scope: 'col', class: c.cls || '' });
      const sortButton = el('button', { type: 'button', class: 'sort', title: 'Упорядочить по этому столбцу' }, headings[c.heading]);
      sortButton.addEventListener('click', () => {
        sortBy = { column: i, descending: sortBy.column === i ? !sortBy.descending : false };
        shownCount = SHOWN_AT_ONCE;
        show();
      });
      // A button in a heading the browser repeats on every printed sheet is printed only
      // on the first: the sheets get the heading as text.
      th.append(sortButton, el('span', { class: 'print-only' }, headings[c.heading]));
      head.append(th);
    });
    const table = el(
      'table',
      { id: 'ScheduleTable', class: 'schedule' },
      el('caption', { class: 'print-only' }, el('span', { id: 'SchedulePrintTitle' }), el('span', { id: 'SchedulePrintDate' })),
      el('thead', {}, head),
      el('tbody', { id: 'ScheduleBody' })
    );
    const files = el(
      'div',
      { class: 'schedule-tools' },
      button('ScheduleUndo', 'Отменить', 'Отменить последнее изменение ведомости (Ctrl+Z)', undo),
      button('ScheduleOpen', 'Открыть...', 'Открыть ведомость из файла', open),
      button('ScheduleSaveAs', 'Сохранить как...', 'Сохранить ведомость в файл', saveAs),
      button('SchedulePrint', 'Печать...', 'Напечатать ведомость на листах A4 или сохранить в PDF', print),
      button('ScheduleCsv', 'Экспорт CSV...', 'Таблица для электронных таблиц (Excel, LibreOffice)', exportCsv),
      el('span', { class: 'spacer' }),
      el('span', { id: 'ScheduleCount', class: 'count' })
    );
    page.append(
      tools,
      el(
        'div',
        { class: 'schedule-wrap' },
        table,
        el('p', { id: 'ScheduleEmpty', class: 'empty' }, 'Ведомость пуста. Добавьте расчёт кнопкой «В ведомость» или Ctrl+D на странице «Расчёт».'),
        button('ScheduleMore', 'Показать ещё', 'Показать следующие строки ведомости', showMore)
      ),
      files,
      el('p', { id: 'scheduleStatus', class: 'status', role: 'status' }),
      el('input', { type: 'file', id: 'ScheduleOpenFile', accept: '.json,application/json', hidden: true }),
      el('input', { type: 'file', id: 'ScheduleImportFile', accept: '.csv,.txt,text/csv', hidden: true })
    );

    // The dialogs sit beside the page's own message box.
    const ask = el(
      'dialog',
      { id: 'scheduleAsk', role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': 'scheduleAskCaption', 'aria-describedby': 'scheduleAskText' },
      el(
        'form',
        { method: 'dialog' },
        el('h2', { id: 'scheduleAskCaption' }, CAPTION),
        el('p', { id: 'scheduleAskText' }),
        el('div', { class: 'buttons' }, el('button', { value: 'yes', id: 'scheduleAskYes' }, 'Да'), el('button', { value: 'no', id: 'scheduleAskNo' }, 'Нет'))
      )
    );
    const progress = el(
      'dialog',
      { id: 'scheduleProgress', role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': 'scheduleProgressCaption' },
      el('h2', { id: 'scheduleProgressCaption' }, CAPTION),
      el('p', { id: 'scheduleProgressText', role: 'status' }),
      el('progress', { id: 'scheduleProgressBar', max: 1, value: 0, 'aria-labelledby': 'scheduleProgressText' }),
      el('div', { class: 'buttons' }, el('button', { type: 'button', id: 'scheduleProgressCancel' }, 'Отмена'))
    );
    document.body.append(ask, progress);
    // The next part comes as the end of the table scrolls into view.
    if ('IntersectionObserver' in window)
      new IntersectionObserver((seen) => seen.some((e) => e.isIntersecting) && !$('ScheduleMore').hidden && showMore(), {
        root: page.querySelector('.schedule-wrap'),
        rootMargin: '200px',
      }).observe($('ScheduleMore'));

    page.addEventListener('keydown', (ev) => {
      if (ev.target.matches('input.tag')) return;
      if (ev.key === 'Delete') {
        ev.preventDefault();
        deleteSelected();
      }
    });
    const calcButtons = document.querySelector('#calcForm .buttons');
    if (calcButtons)
      calcButtons.append(button('ScheduleAdd', 'В ведомость', 'Добавить этот расчёт в ведомость (Ctrl+D)', add));
  }

  // ---- Printing: the table on A4 sheets, its heading on every sheet -------------------------

  function print() {
    preparePrint();
    window.print();
  }

  function preparePrint() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    $('SchedulePrintTitle').textContent = 'Ведомость толщин тепловой изоляции';
    $('SchedulePrintDate').textContent = `от ${two(d.getDate())}.${two(d.getMonth() + 1)}.${d.getFullYear()}`;
    document.body.classList.add('print-schedule');
    // Every row is printed, however many are shown.
    printing = true;
    show();
  }
  window.addEventListener('afterprint', () => {
    document.body.classList.remove('print-schedule');
    printing = false;
    show();
  });

  // ---- Start --------------------------------------------------------------------------------

  async function start(context) {
    ctx = context;
    M = ctx.module;
    build($('SchedulePage'));
    document.addEventListener('keydown', (ev) => {
      if (ev.ctrlKey && !ev.altKey && ev.code === 'KeyD') {
        ev.preventDefault();
        add();
      } else if (ev.ctrlKey && !ev.altKey && ev.code === 'KeyZ' && !$('SchedulePage').hidden &&
                 !ev.target.matches('input.tag')) {
        ev.preventDefault();
        undo();
      }
    });
    db = await openDb();
    if ('BroadcastChannel' in window) {
      channel = new BroadcastChannel('izolcalc-schedule');
      channel.onmessage = () => exclusive(catchUp).then(show);
    }
    await exclusive(catchUp);
    show();
    $('SchedulePage').dataset.loaded = 'true';
  }

  // Tests wait for the last change to be stored.
  Izol.schedule = { preparePrint, idle: () => pending };
  Izol.register({ name: 'schedule', start });
})();
