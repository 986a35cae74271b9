// The viewer's Print button in headless Chromium against the throwaway CUPS server: the dialog lists the
// destinations with the default chosen, prints the kept run (the PDF download's bytes) and follows the job to
// its end; a printer that refuses shows why. Usage (under scripts/with-cups): node print_test.mjs BUILD_DIR
// [SCREENSHOT_DIR]
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { serverUrl } from './view_server.mjs';

const [buildDir, screenshotDir] = process.argv.slice(2);
if (!process.env.CUPS_SERVER || !process.env.VOB_TEST_CUPS_SPOOL) {
  console.log('viewer print: skipped, not under scripts/with-cups');
  process.exit(77);
}
const work = mkdtempSync(join(tmpdir(), 'vob-print-test-'));
let server, browser;

try {
  execFileSync(join(buildDir, 'vobreports'), ['demo-db', join(work, 'demo.sqlite')], { stdio: 'ignore' });
  server = spawn(join(buildDir, 'vobreports'),
                 ['view', 'check', '--param', '1=1010', '--param', '2=00001001', '--param', '3=00001005',
                  '--no-browser', '--today', '2024-06-30', '--db', join(work, 'demo.sqlite')],
                 { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await serverUrl(server);
  browser = await chromium.launchPersistentContext(join(work, 'profile'), {
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 1280, height: 900 },
  });
  const page = await browser.newPage();
  page.setDefaultTimeout(30000);
  await page.goto(url);
  await page.locator('#download-pdf[aria-disabled="false"]').waitFor();

  await page.getByRole('button', { name: 'Print', exact: true }).first().click();
  const printer = page.locator('#print-printer');
  await page.locator('#print-printer option[value="vobtest"]').waitFor({ state: 'attached' });
  assert.equal(await printer.inputValue(), 'vobtest', 'the default destination is chosen');
  assert.match(await printer.locator('option[value="vobstopped"]').textContent(), /stopped/);

  await page.locator('#print-copies').fill('2');
  await page.locator('#print-submit').click();
  const status = page.locator('#print-status');
  await page.waitForFunction(() => /completed/.test(document.getElementById('print-status').textContent));
  const job = Number((await status.textContent()).match(/Job (\d+) on vobtest/)[1]);
  if (screenshotDir) await page.screenshot({ path: join(screenshotDir, 'print.png') });

  // The kept run is printed as it is downloaded: the same bytes, no second run.
  // Through the page's own context, which holds the viewer's cookie: the link carries no token.
  const pdf = await (await page.request.get(await page.locator('#download-pdf').evaluate((link) => link.href))).body();
  const spooled = readFileSync(join(process.env.VOB_TEST_CUPS_SPOOL, `d${String(job).padStart(5, '0')}-001`));
  assert.ok(Buffer.from(pdf).equals(spooled), 'the spooled document is the PDF download');

  await printer.selectOption('vobstopped');
  await page.locator('#print-submit').click();
  await page.waitForFunction(() => /rejects jobs/.test(document.getElementById('print-status').textContent));
  assert.match(await status.textContent(), /Out of paper/);
  console.log('viewer print: passed');
} finally {
  await browser?.close();
  server?.kill();
  rmSync(work, { recursive: true, force: true });
}
