// The web page's figures in headless Chromium, beside the desktop's: load to interactive
// from file://, one calculation of each kind through the page's module, the folder's size.
// Usage: node page_bench.mjs [desktop workflow_bench JSON]
import fs from 'node:fs';
import path from 'node:path';
import { launch, openPage, siteDir } from '../tests/page.mjs';

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

const desktop = {};
if (process.argv[2]) {
  try {
    for (const b of JSON.parse(fs.readFileSync(process.argv[2], 'utf8')).benchmarks)
      desktop[b.name.match(/kind:(\d)/)[1]] = b.cpu_time / 1000; // ns to µs
  } catch {
    // without the desktop's figures the page's stand alone
  }
}

function folderBytes(dir) {
  let bytes = 0;
  for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
    const p = path.join(dir, e.name);
    bytes += e.isDirectory() ? folderBytes(p) : fs.statSync(p).size;
  }
  return bytes;
}

const browser = await launch();
const loads = [];
for (let i = 0; i < 15; i++) {
  const page = await openPage(browser);
  loads.push(await page.evaluate(() => Izol.readyAt));
  await page.context().close();
}

const page = await openPage(browser);
const calcs = await page.evaluate(() => {
  const M = Izol.ctx.module;
  // The inputs of the desktop's workflow_bench, so that the figures compare.
  const inputs = [
    { RzNumericEdit1: 5, RzNumericEdit2: 150 },
    { RzNumericEdit6: 20, RzNumericEdit7: 150, RzNumericEdit8: 45 },
    { RzNumericEdit11: 20, RzNumericEdit12: 5, RzNumericEdit13: 60 },
    {},
    {},
  ];
  return inputs.map((fields, kind) => {
    const calc = new M.Calculator();
    calc.chooseKind(kind);
    for (const [name, value] of Object.entries(fields)) calc.setField(name, value);
    for (let i = 0; i < 200; i++) calc.calculate();
    const runs = [];
    for (let r = 0; r < 7; r++) {
      const n = 1000;
      const t0 = performance.now();
      for (let i = 0; i < n; i++) calc.calculate();
      runs.push(((performance.now() - t0) * 1000) / n);
    }
    calc.delete();
    runs.sort((a, b) => a - b);
    return [runs[3], runs[0]];
  });
});
await browser.close();

const folder = folderBytes(siteDir);
const f1 = (x) => x.toFixed(x < 10 ? 2 : 1).padStart(8);
console.log(`web page in headless Chromium (${siteDir})`);
// The best run beside the median: on a shared machine the median carries the others' load.
console.log('                                     web median     best      target    desktop');
console.log(
  `  load to interactive, file://      ${f1(median(loads))} ms ${f1(Math.min(...loads))} ms   ≤ 300 ms   (start-up: startup_bench above)`
);
calcs.forEach(([us, best], kind) => {
  const d = desktop[kind] !== undefined ? `${f1(desktop[kind])} µs` : '';
  console.log(`  one calculation, kind ${kind}          ${f1(us)} µs ${f1(best)} µs   ≤ 50 µs  ${d}`);
});
console.log(`  page folder                       ${f1(folder / 1e6)} MB                ≤ 1.5 MB`);
