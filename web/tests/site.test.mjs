// The folder as a site: installable and working offline when served over http, and the
// reference document a page of it whose links all lead somewhere.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { launch, openPage, siteDir, typeWorkedExample } from './page.mjs';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

let browser;
let server;
let origin;
before(async () => {
  browser = await launch();
  // Any static web server will do, as on an intranet.
  server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).replace(/\/$/, '/index.html');
    const file = path.join(siteDir, path.normalize(name));
    if (!file.startsWith(siteDir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    res.end(fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
});
after(async () => {
  await browser?.close();
  server?.close();
});

test('served over http the page is installable and calculates offline', async () => {
  const page = await openPage(browser, { url: origin + '/index.html' });
  await page.waitForFunction(() => navigator.serviceWorker?.controller || navigator.serviceWorker.ready.then(() => true));
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.context().newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  // The test's browser profile is a private one, where nothing is ever installed; anything
  // else the browser would hold against the page is told here.
  assert.deepEqual(installabilityErrors.filter((e) => e.errorId !== 'in-incognito'), []);
  const { errors } = await cdp.send('Page.getAppManifest');
  assert.deepEqual(errors, []);
  const manifest = await page.evaluate(async () => (await fetch(document.querySelector('link[rel=manifest]').href)).json());
  assert.equal(manifest.name, 'Расчёт толщины тепловой изоляции');

  // The first visit has filled the cache once the worker runs; then the network goes.
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  await page.waitForFunction(() => !!navigator.serviceWorker.controller);
  await page.context().setOffline(true);
  server.closeAllConnections();
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  await typeWorkedExample(page);
  await page.locator('#RzBmpButton1').click();
  assert.equal(await page.locator('#RzLabel4').textContent(), '30,0');
  await page.locator('#ReferenceLink').click();
  await page.waitForSelector('h1');
  assert.equal(await page.locator('h1').textContent(), 'Справочные материалы');
  // The page's own server is the only one asked.
  assert.deepEqual(page.errors.filter((e) => !e.startsWith(`fetched ${origin}/`)), []);
});

test('the reference document opened from the page has every link and picture', async () => {
  const page = await openPage(browser);
  await page.locator('#ReferenceLink').click();
  await page.waitForLoadState('load');
  assert.match(page.url(), /reference\/index\.html$/);
  const broken = await page.evaluate(() => {
    const missing = [];
    for (const a of document.querySelectorAll('a[href]')) {
      const href = a.getAttribute('href');
      if (href.startsWith('#') && !document.getElementById(href.slice(1))) missing.push(href);
    }
    for (const img of document.querySelectorAll('img'))
      if (!img.complete || img.naturalWidth === 0) missing.push(img.getAttribute('src'));
    for (const link of document.querySelectorAll('link[rel=stylesheet]')) if (!link.sheet) missing.push(link.href);
    return missing;
  });
  assert.deepEqual(broken, []);
  assert.ok((await page.locator('a[href^="#"]').count()) > 10);
  // A link of the contents leads to its section.
  await page.locator('nav a[href="#materials"]').click();
  assert.match(page.url(), /#materials$/);
  assert.ok(await page.locator('#materials').isVisible());
  await page.goBack();
  await page.goBack();
  await page.waitForSelector('body[data-ready=true]');
});
