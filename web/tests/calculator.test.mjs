// The calculator in the page, driven as a user drives it, against the answers of the
// native workflow (IZOL_EXPECTED, written by web/native).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';
import { launch, openPage, chooseKind, typeInto, readBoxes, pick, siteDir, typeWorkedExample } from './page.mjs';

const cases = JSON.parse(fs.readFileSync(process.env.IZOL_EXPECTED, 'utf8'));
let browser;
let kinds;
before(async () => {
  browser = await launch();
  const page = await openPage(browser);
  kinds = await page.evaluate(() => Izol.ctx.module.kinds().map((k) => k.caption));
  await page.context().close();
});
after(async () => browser?.close());

test('every case of every kind gives the native answers', async () => {
  const page = await openPage(browser);
  for (const [i, c] of cases.entries()) {
    await page.reload();
    await page.waitForSelector('body[data-ready=true]');
    await chooseKind(page, kinds[c.kind]);
    const boxes = [];
    for (const step of c.steps) {
      if (step.type) {
        await typeInto(page, step.type, step.text);
        await readBoxes(page, boxes);
      } else {
        await pick(page, step.pick, step.text);
      }
    }
    // Half the cases are calculated with Enter in a field, half with the button.
    // The cases are calculated with Enter in a field, Enter in a list and the button in turn.
    if (i % 3 === 0) await page.locator('#RzNumericEdit' + { 0: 1, 1: 6, 2: 11, 3: 16, 4: 25 }[c.kind]).press('Enter');
    else if (i % 3 === 1) await page.locator('#RzComboBox1').press('Enter');
    else await page.getByRole('button', { name: 'Рассчитать' }).click();
    await readBoxes(page, boxes);
    const shown = await page.evaluate(() => ({
      result: document.getElementById('RzLabel4').textContent,
      stale: document.getElementById('RzLabel4').classList.contains('stale'),
      check: document.getElementById('checkLine').hidden ? null : document.getElementById('checkLine').textContent,
      focus: document.activeElement.id,
    }));
    const fields = {};
    for (const name of Object.keys(c.fields)) fields[name] = await page.locator('#' + name).inputValue();
    assert.deepEqual(
      { result: shown.result, stale: shown.stale, messages: boxes, fields, focus: shown.focus, check: shown.check },
      { result: c.result, stale: false, messages: c.messages, fields: c.fields, focus: c.focus, check: c.check },
      c.name
    );
    // The report prints what the desktop's prints for the same inputs and result.
    if (c.report.length) {
      await page.getByRole('button', { name: 'Отчёт' }).click();
      const boxes = await page.locator('#ReportSheet .box').allTextContents();
      assert.deepEqual(boxes, c.report, c.name + ': report');
      await page.getByRole('button', { name: 'Закрыть' }).click();
    }
  }
  assert.deepEqual(page.errors, []);
});

test('a result goes grey once an input it came from changes, and the check line goes', async () => {
  const page = await openPage(browser);
  await typeWorkedExample(page);
  await page.getByRole('button', { name: 'Рассчитать' }).click();
  const result = page.locator('#RzLabel4');
  const stale = () => result.evaluate((e) => e.classList.contains('stale'));
  assert.equal(await stale(), false);
  assert.equal(await page.locator('#checkLine').isVisible(), true);
  // Typing alone makes it stale, before the field is left.
  await page.locator('#RzNumericEdit7').click();
  await page.keyboard.type('1');
  assert.equal(await stale(), true);
  assert.match(await result.getAttribute('title'), /Исходные данные изменены/);
  assert.equal(await page.locator('#checkLine').isVisible(), false);
  // Back to what it was computed from: current again.
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Tab');
  assert.equal(await stale(), false);
  await pick(page, 'RzRadioGroup3', 'Не металл');
  assert.equal(await stale(), true);
});

test('text pasted or typed into a number field is refused with a reason, and the value stays', async () => {
  const page = await openPage(browser);
  await chooseKind(page, kinds[1]);
  await typeInto(page, 'RzNumericEdit7', '150');
  const field = page.locator('#RzNumericEdit7');
  const paste = (text) =>
    field.evaluate((e, t) => {
      const data = new DataTransfer();
      data.setData('text/plain', t);
      e.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
    }, text);
  await field.click();
  await field.press('Control+A');
  await paste('сто пятьдесят');
  assert.equal(await field.inputValue(), '150');
  assert.equal(await page.locator('#RzNumericEdit7Why').textContent(), 'Вставленный текст — не число');
  await paste(' 1 234,5\n');
  assert.equal(await field.inputValue(), '1234,5');
  assert.equal(await page.locator('#RzNumericEdit7Why').textContent(), '');
  await field.press('Control+A');
  await page.keyboard.type('a');
  assert.equal(await field.inputValue(), '1234,5');
  assert.match(await page.locator('#RzNumericEdit7Why').textContent(), /Здесь вводится число/);
  await field.press('Tab');
  // An integer field rounds what it is left with, and says so under the field.
  assert.equal(await field.inputValue(), '1235');
  assert.equal(await page.locator('#RzNumericEdit7Why').textContent(), 'округлено: 1235');
  assert.deepEqual(page.errors, []);
});

test('the whole calculation by keyboard alone, a message box and the focus it leaves', async () => {
  const page = await openPage(browser, { width: 390, height: 844 });
  const focused = () => page.evaluate(() => document.activeElement.id);
  // Tabs first, then the kinds: arrows choose among them.
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'tabCalc');
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'RGCalc_0');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  assert.equal(await focused(), 'RGCalc_4');
  assert.match(await page.locator('#StaticText').textContent(), /замерзания воды/);
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'RzComboBox2');
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'RzNumericEdit25');
  await page.keyboard.type('5'); // "-40" gave way on entry
  await page.keyboard.press('Enter');
  const box = page.getByRole('dialog', { name: 'Ошибка ввода данных' });
  await box.waitFor();
  assert.equal(await focused(), 'messageOk');
  await page.keyboard.press('Enter');
  await page.locator('#calcForm:not([aria-busy])').waitFor();
  assert.equal(await box.count(), 0);
  assert.equal(await focused(), 'RzNumericEdit25');
  assert.equal(await page.locator('#RzLabel4').textContent(), '0');
});

test('the zip unpacked into a folder of its own is the page, and calculates', async () => {
  const zips = fs.readdirSync(path.dirname(siteDir)).filter((f) => /^izolcalc-web-[\d.]+\.zip$/.test(f));
  assert.equal(zips.length, 1, zips.join(', '));
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'izol-zip-'));
  execFileSync('python3', ['-m', 'zipfile', '-e', path.join(path.dirname(siteDir), zips[0]), dir]);
  const index = path.join(dir, 'izolcalc-web', 'index.html');
  const page = await openPage(browser, { url: pathToFileURL(index).href });
  await typeWorkedExample(page);
  await page.locator('#RzNumericEdit8').press('Enter');
  await page.locator('#calcForm:not([aria-busy])').waitFor();
  assert.equal(await page.locator('#RzLabel4').textContent(), '30,0');
  assert.deepEqual(page.errors, []);
  fs.rmSync(dir, { recursive: true });
});
