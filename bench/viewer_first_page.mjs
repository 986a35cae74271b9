// Time to the listing's first page on screen in headless Chromium: from asking for the run to page 1's picture
// drawn, and to the whole run done. Usage: node viewer_first_page.mjs URL   (the viewer_listing address)
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

const profile = mkdtempSync(join(tmpdir(), 'vob-viewer-bench-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  viewport: { width: 1280, height: 900 },
});
try {
  const page = await browser.newPage();
  page.setDefaultTimeout(600000);
  await page.goto(process.argv[2]);
  await page.locator('#start h2').first().waitFor();
  await page.evaluate(async () => {
    const token = new URLSearchParams(location.search).get('token');
    window.benchStart = performance.now();
    const response = await fetch(`/api/runs?token=${token}`, { method: 'POST', body: '{"key":"listing"}' });
    location.hash = `run=${(await response.json()).id}`;
  });
  await page.waitForFunction(() => {
    const image = document.querySelector('.page[data-number="1"] img');
    const isDrawn = Boolean(image && image.complete && image.naturalWidth > 0);
    if (isDrawn && !window.benchFirst) window.benchFirst = performance.now();
    return isDrawn;
  }, null, { polling: 'raf' });
  const firstPage = await page.evaluate(() => window.benchFirst - window.benchStart);
  await page.locator('#download-pdf[aria-disabled="false"]').waitFor();
  const done = await page.evaluate(() => performance.now() - window.benchStart);
  const pages = await page.locator('.page').count();
  console.log(`browser: first page on screen ${(firstPage / 1000).toFixed(3)} s, ` +
              `all ${pages} pages done ${(done / 1000).toFixed(3)} s`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
