// Opens the built page in Debian's Chromium through playwright-core; every test file of
// the page starts here. IZOL_WEB_DIR names the built folder (build-web/izolcalc-web).
import { chromium } from 'playwright-core';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const siteDir = path.resolve(process.env.IZOL_WEB_DIR || path.join(here, '../../build-web/izolcalc-web'));
export const pageUrl = pathToFileURL(path.join(siteDir, 'index.html')).href;

export async function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    // The browser's own sandbox needs user namespaces, which containers often lack.
    args: ['--no-sandbox', '--disable-gpu', '--lang=ru-RU'],
  });
}

// A fresh page at the given size, with the calculator running; errors in the page fail
// the test that meets them.
export async function openPage(browser, { width = 1366, height = 768, url = pageUrl } = {}) {
  const context = await browser.newContext({ viewport: { width, height }, locale: 'ru-RU' });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  // Nothing is fetched from a network: the page works from a disk with none.
  page.on('request', (r) => /^(file|data|blob):/.test(r.url()) || errors.push('fetched ' + r.url()));
  page.errors = errors;
  await page.goto(url);
  await page.waitForSelector('body[data-ready=true]');
  return page;
}

// Chooses a kind as a user does: a click on its caption.
export async function chooseKind(page, caption) {
  await page.getByLabel(caption, { exact: true }).check();
}

// Types a value into a number field as a user does: click, select all, type, Tab.
export async function typeInto(page, control, text) {
  const field = page.locator('#' + control);
  await field.click();
  await field.press('Control+A');
  await field.pressSequentially(text);
  await field.press('Tab');
}

// The worked example: by the surface temperature, air 20 °C, carrier 150 °C, surface 45 °C
// (30,0 mm), typed field by field; the caller calculates.
export async function typeWorkedExample(page) {
  await chooseKind(page, 'По заданной температуре на поверхности изоляции');
  await typeInto(page, 'RzNumericEdit6', '20');
  await typeInto(page, 'RzNumericEdit7', '150');
  await typeInto(page, 'RzNumericEdit8', '45');
}

// Answers every message box the page shows with OK, as a user reads them, until the page
// is no longer busy; gives the boxes' texts and captions in order.
export async function readBoxes(page, boxes = []) {
  for (;;) {
    const box = page.getByRole('dialog');
    if (await box.count()) {
      boxes.push({
        text: await box.locator('p').textContent(),
        caption: await box.locator('h2').textContent(),
      });
      // OK has the focus, as in the desktop's box.
      await page.keyboard.press('Enter');
      continue;
    }
    if (!(await page.locator('#calcForm[aria-busy]').count())) return boxes;
    await page.waitForTimeout(5);
  }
}

// Picks a row of a choice by its text: a radio button's label or a list's option.
export async function pick(page, control, text) {
  const box = page.locator('#' + control);
  if ((await box.evaluate((e) => e.tagName)) === 'SELECT') await box.selectOption({ label: text });
  else await box.getByLabel(text, { exact: true }).check();
}
