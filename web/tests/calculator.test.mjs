// The calculator in the page, driven as a user drives it.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { launch, openPage, chooseKind, typeInto } from './page.mjs';

let browser;
before(async () => (browser = await launch()));
after(async () => browser?.close());

test('the worked example from file:// gives 30 mm', async () => {
  const page = await openPage(browser);
  await chooseKind(page, 'По заданной температуре на поверхности изоляции');
  await typeInto(page, 'RzNumericEdit6', '20');
  await typeInto(page, 'RzNumericEdit7', '150');
  await typeInto(page, 'RzNumericEdit8', '45');
  await page.locator('#RzBmpButton1').click();
  assert.equal(await page.locator('#RzLabel4').textContent(), '30,0');
  assert.deepEqual(page.errors, []);
});
