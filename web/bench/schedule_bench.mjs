// The schedule's figures in headless Chromium, beside the desktop's: 10 000 lines of the
// import template imported through the page's module, and the whole import as a user sees
// it (the file chosen, the bar, the rows stored and shown, the summary).
// Usage: node schedule_bench.mjs [desktop workflow_bench JSON]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launch, openPage } from '../tests/page.mjs';

const LINES = 10_000;
let desktop = '';
if (process.argv[2]) {
  try {
    const b = JSON.parse(fs.readFileSync(process.argv[2], 'utf8')).benchmarks.find((x) => x.name.startsWith('BM_ImportLines'));
    desktop = `${b.real_time.toFixed(1).padStart(8)} ms`;
  } catch {
    // without the desktop's figure the page's stands alone
  }
}

const browser = await launch();
const page = await openPage(browser);
await page.waitForSelector('#SchedulePage[data-loaded=true]', { state: 'attached' });
const table = await page.evaluate((lines) => {
  const t = new TextDecoder().decode(Izol.ctx.module.scheduleTemplateBytes().slice());
  const [head, ...rows] = t.split('\r\n').filter(Boolean);
  let s = head + '\r\n';
  for (let i = 0; i < lines; i++) s += rows[i % rows.length] + '\r\n';
  return s;
}, LINES);

// The module alone: the same work as the desktop's figure, and the rows' file written.
const module = await page.evaluate((text) => {
  const M = Izol.ctx.module;
  const bytes = new TextEncoder().encode(text);
  const runs = [];
  for (let r = 0; r < 5; r++) {
    const t0 = performance.now();
    M.scheduleIncoming(bytes.length).set(bytes);
    const { total } = M.scheduleImportBegin('2026-12-10T16:20:05');
    while (M.scheduleImportStep(1000) < total);
    M.scheduleImportEnd('bench.csv');
    runs.push(performance.now() - t0);
    M.scheduleClear();
  }
  return runs.sort((a, b) => a - b)[2];
}, table);

// As a user imports: from the file chosen to the summary shown, rows stored and on screen.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'izol-bench-'));
const file = path.join(dir, 'bench.csv');
fs.writeFileSync(file, table);
await page.locator('#tabSchedule').click();
const chooser = page.waitForEvent('filechooser');
await page.locator('#ScheduleImport').click();
const t0 = Date.now();
await (await chooser).setFiles(file);
await page.locator('#messageBox[open]').waitFor({ timeout: 120_000 });
const whole = Date.now() - t0;
await browser.close();
fs.rmSync(dir, { recursive: true, force: true });

const f1 = (x) => x.toFixed(1).padStart(8);
console.log('                                           web       target    desktop');
console.log(`  ${LINES} imported lines, module     ${f1(module)} ms   ≤ 1000 ms ${desktop}`);
console.log(`  ${LINES} lines imported by a user   ${f1(whole)} ms   (the file chosen to the rows shown)`);
