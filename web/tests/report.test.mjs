// The report printed by Chromium to PDF, read back as text.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launch, openPage, typeWorkedExample } from './page.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser?.close());

async function printed(page) {
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'izol-report-')), 'report.pdf');
  await page.pdf({ path: file, preferCSSPageSize: true, printBackground: true });
  const info = execFileSync('pdfinfo', [file], { encoding: 'utf8' });
  const text = execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' });
  fs.rmSync(path.dirname(file), { recursive: true });
  return { info, lines: text.split('\n').map((l) => l.trim().replace(/\s{2,}/g, ' | ')) };
}

test('the printed report is one A4 sheet with the typed inputs, the result and its check', async () => {
  const page = await openPage(browser);
  await typeWorkedExample(page);
  await page.getByRole('button', { name: 'Рассчитать' }).click();
  await page.getByRole('button', { name: 'Отчёт' }).click();
  assert.match(await page.title(), /^Толщина изоляции — по заданной температуре поверхности — \d{4}-\d\d-\d\d$/);
  const { info, lines } = await printed(page);
  assert.match(info, /Pages:\s+1\n/);
  assert.match(info, /Page size:\s+59[45][.\d]* x 84[12][.\d]* pts \(A4\)/);
  for (const line of [
    'Диаметр трубы, мм | 108',
    'Температура теплоносителя °С | 150',
    'Температура окружающего воздуха °С | 20',
    'Заданная температура поверхности °С | 45',
    'Принятая толщина тепловой изоляции, мм | 30,0',
    'Требование | обеспечено',
  ])
    assert.ok(lines.includes(line), `${line}\n--- printed:\n${lines.join('\n')}`);
  // The last line of the sheet is printed too.
  assert.equal(lines.filter(Boolean).at(-1), 'Требование | обеспечено');
});

test('a report of inputs changed after the calculation prints no thickness', async () => {
  const page = await openPage(browser);
  await typeWorkedExample(page);
  await page.getByRole('button', { name: 'Рассчитать' }).click();
  // Typed, not yet left: the report settles the field first.
  await page.locator('#RzNumericEdit7').click();
  await page.keyboard.press('Control+A');
  await page.keyboard.type('200');
  await page.getByRole('button', { name: 'Отчёт' }).click();
  const { lines } = await printed(page);
  assert.ok(lines.includes('Температура теплоносителя °С | 200'), lines.join('\n'));
  assert.ok(lines.includes('Расчёт для приведённых исходных данных не выполнен'), lines.join('\n'));
  assert.ok(!lines.some((l) => l.includes('30,0')), lines.join('\n'));
  await page.getByRole('button', { name: 'Закрыть' }).click();
  assert.equal(await page.evaluate(() => document.activeElement.id), 'RzBmpButton3');
});
