// The schedule in the page, used as a user uses it: rows added, kept over a reload,
// imported from CSV with their reasons, exported and read back, bad files refused.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launch, openPage, typeWorkedExample } from './page.mjs';

let browser;
let dir;
before(async () => {
  browser = await launch();
  dir = fs.mkdtempSync(path.join(os.tmpdir(), 'izol-schedule-'));
});
after(async () => {
  await browser?.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

const SURFACE = 'По заданной температуре на поверхности изоляции';

async function openSchedulePage() {
  const page = await openPage(browser);
  await loaded(page);
  return page;
}
const loaded = (page) => page.waitForSelector('#SchedulePage[data-loaded=true]', { state: 'attached' });

async function calculateWorkedExample(page) {
  await typeWorkedExample(page);
  await page.locator('#RzBmpButton1').click();
}

async function shownRows(page) {
  return page.$$eval('#ScheduleBody tr', (trs) =>
    trs.map((tr) => [...tr.cells].map((td) => (td.querySelector('input.tag')?.value ?? td.textContent).trim()))
  );
}

function writeFile(name, content) {
  const file = path.join(dir, name);
  fs.writeFileSync(file, content);
  return file;
}

async function importAndRead(page, file) {
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#ScheduleImport').click();
  await (await chooser).setFiles(file);
  await page.locator('#messageBox[open]').waitFor();
  const text = await page.locator('#messageText').textContent();
  await page.locator('#messageOk').click();
  return text;
}

const settled = (page) => page.evaluate(() => Izol.schedule.idle());

async function clearAll(page) {
  await page.locator('#ScheduleClear').click();
  await page.locator('#scheduleAskYes').click();
  await page.waitForFunction(() => document.querySelectorAll('#ScheduleBody tr').length === 0);
}

async function downloaded(page, buttonId) {
  const download = page.waitForEvent('download');
  await page.locator('#' + buttonId).click();
  const d = await download;
  return { name: d.suggestedFilename(), bytes: fs.readFileSync(await d.path()) };
}

test('a calculation added with Ctrl+D and the button is found again after a reload', async () => {
  const page = await openSchedulePage();
  await calculateWorkedExample(page);
  await page.keyboard.press('Control+D');
  await page.locator('#ScheduleAdd').click();
  await page.locator('#tabSchedule').click();
  let rows = await shownRows(page);
  assert.equal(rows.length, 2);
  assert.equal(rows[0][2], SURFACE);
  assert.equal(rows[0][7], '30');

  // A tag typed into the table, then the page reloaded: the rows are the same.
  await page.locator('#ScheduleBody tr').first().locator('input.tag').fill('Т1-108');
  await page.locator('#ScheduleBody tr').first().locator('input.tag').press('Tab');
  await settled(page);
  const before = await shownRows(page);
  await page.reload();
  await loaded(page);
  rows = await shownRows(page);
  assert.deepEqual(rows, before);
  assert.equal(rows[0][1], 'Т1-108');

  // Moved, deleted, undone: each change is kept as it is made.
  await page.locator('#tabSchedule').click();
  await page.getByLabel('Выбрать строку 2').check();
  await page.locator('#ScheduleUp').click();
  await settled(page);
  assert.equal((await shownRows(page))[0][1], '');
  await page.locator('#ScheduleDelete').click();
  await settled(page);
  assert.equal((await shownRows(page)).length, 1);
  await page.locator('#ScheduleUndo').click();
  await settled(page);
  assert.equal((await shownRows(page)).length, 2);
  await page.reload();
  await loaded(page);
  assert.deepEqual((await shownRows(page)).map((r) => r[1]), ['', 'Т1-108']);
  assert.deepEqual(page.errors, []);
});

test('a CSV with a bad line tells its reason; the export reads back the same', async () => {
  const page = await openSchedulePage();
  await page.locator('#tabSchedule').click();
  const template = await downloaded(page, 'ScheduleTemplate');
  assert.equal(template.name, 'Шаблон для импорта.csv');
  const lines = template.bytes.toString('utf8').split('\r\n');
  lines.splice(2, 0, '"Т2";7');
  const told = await importAndRead(page, writeFile('bad line.csv', lines.join('\r\n')));
  assert.match(told, /Импорт из файла «bad line\.csv»: 6 строк: 5 рассчитано, 0 отклонено, 1 не прочитано/);
  assert.match(told, /Строка 3: неизвестный вид расчёта «7»/);
  assert.equal((await shownRows(page)).length, 5);

  const csv = await downloaded(page, 'ScheduleCsv');
  assert.equal(csv.name, 'Ведомость.csv');
  assert.deepEqual([...csv.bytes.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
  const text = csv.bytes.toString('utf8');
  assert.match(text.split('\r\n')[0], /^\uFEFF"№";"Обозначение";"Вид расчёта";/);
  assert.match(text, /;49,9;50;/); // the decimal comma, numbers unquoted

  // The export imported again gives the same rows, and so the same export.
  await clearAll(page);
  await importAndRead(page, writeFile('export.csv', csv.bytes));
  const again = await downloaded(page, 'ScheduleCsv');
  const withoutDates = (b) => b.toString('utf8').replace(/"\d{4}-\d\d-\d\dT[\d:]+"/g, '');
  assert.equal(withoutDates(again.bytes), withoutDates(csv.bytes));

  // And the schedule's file, saved and opened, is the same file.
  const json = await downloaded(page, 'ScheduleSaveAs');
  assert.equal(json.name, 'Ведомость.json');
  assert.match(json.bytes.toString('utf8'), /^\{"format": "izolcalc-schedule", "version": 3/);
  await clearAll(page);
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#ScheduleOpen').click();
  await (await chooser).setFiles(writeFile('Ведомость.json', json.bytes));
  await page.waitForFunction(() => document.querySelectorAll('#ScheduleBody tr').length === 5);
  // Rows opened from a file are new rows of this schedule, with ids of its own.
  const reopened = await downloaded(page, 'ScheduleSaveAs');
  const withoutIds = (b) => b.toString('utf8').replace(/"(id|nextId)": \d+, /g, '');
  assert.equal(withoutIds(reopened.bytes), withoutIds(json.bytes));
  assert.deepEqual(page.errors, []);
});

test('a file not in UTF-8, a file of 10 MB and a damaged schedule lose no row', async () => {
  const page = await openSchedulePage();
  await calculateWorkedExample(page);
  await page.keyboard.press('Control+D');
  await page.locator('#tabSchedule').click();
  const rowsBefore = await shownRows(page);

  // «Вид расчета», then a line of kind 1 and nothing else, as Excel saves it in Windows-1251:
  // read in that code page, and its line told for want of its columns.
  const cp1251 = Buffer.from([0xc2, 0xe8, 0xe4, 0x20, 0xf0, 0xe0, 0xf1, 0xf7, 0xe5, 0xf2, 0xe0, 0x0d, 0x0a, 0x31]);
  let told = await importAndRead(page, writeFile('cp1251.csv', cp1251));
  assert.equal(
    told,
    'Импорт из файла «cp1251.csv»: 1 строка: 0 рассчитано, 0 отклонено, 1 не прочитано; ' +
      'файл прочитан в кодировке Windows-1251.\n\nНе прочитаны и не добавлены:\nСтрока 2: нет столбца «Объект»\n'
  );
  assert.deepEqual(await shownRows(page), rowsBefore);

  // Ten megabytes of one unreadable line after another: told, and nothing added.
  const junk = 'Вид расчёта;Обозначение\r\n' + ('9;' + 'x'.repeat(98) + '\r\n').repeat(100_000);
  assert.ok(junk.length >= 10_000_000);
  told = await importAndRead(page, writeFile('big.csv', junk));
  assert.match(told, /^Импорт из файла «big\.csv»: 100000 строк: 0 рассчитано, 0 отклонено, 100000 не прочитано\./);
  assert.match(told, /…и ещё 99980 строк/);
  assert.deepEqual(await shownRows(page), rowsBefore);

  const chooser = page.waitForEvent('filechooser');
  await page.locator('#ScheduleOpen').click();
  await (await chooser).setFiles(writeFile('broken.json', '{"format": "izolcalc-schedule", "version": 3, "rows": [{'));
  await page.locator('#scheduleAskYes').click();
  await page.locator('#messageBox[open]').waitFor();
  assert.equal(await page.locator('#messageText').textContent(), 'Файл ведомости «broken.json» повреждён и не может быть прочитан.');
  await page.locator('#messageOk').click();
  assert.deepEqual(await shownRows(page), rowsBefore);
  assert.deepEqual(page.errors, []);
});

test('the printed schedule repeats its heading on every A4 sheet and ends with its last row', async () => {
  const page = await openSchedulePage();
  await page.locator('#tabSchedule').click();
  const template = await downloaded(page, 'ScheduleTemplate');
  const [head, ...lines] = template.bytes.toString('utf8').split('\r\n').filter(Boolean);
  let table = head + '\r\n';
  // More rows than the page shows at once: the printout has them all.
  for (let i = 0; i < 250; i++) table += lines[i % lines.length].replace(/^"[^"]*"/, `"П-${i + 1}"`) + '\r\n';
  await importAndRead(page, writeFile('many.csv', table));
  await page.evaluate(() => Izol.schedule.preparePrint());
  await page.emulateMedia({ media: 'print' });
  const pdf = path.join(dir, 'schedule.pdf');
  await page.pdf({ path: pdf, preferCSSPageSize: true });
  const { execFileSync } = await import('node:child_process');
  const text = execFileSync('pdftotext', ['-layout', pdf, '-'], { encoding: 'utf8' });
  const sheets = text.split('\f').filter((s) => s.trim());
  assert.ok(sheets.length >= 20, `${sheets.length} sheets`);
  for (const sheet of sheets) assert.match(sheet, /Вид расчёта/);
  assert.match(sheets[0], /Ведомость толщин тепловой изоляции/);
  assert.match(sheets.at(-1), /П-250/);
  for (let i = 1; i <= 250; i++) assert.match(text, new RegExp(`П-${i}\\b`));
  const size = execFileSync('pdfinfo', [pdf], { encoding: 'utf8' }).match(/Page size:\s+([\d.]+) x ([\d.]+)/);
  assert.deepEqual([Math.round(size[1]), Math.round(size[2])], [842, 595]); // A4 across
});
