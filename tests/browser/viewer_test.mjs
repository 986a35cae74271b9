// The viewer end to end in headless Chromium: run the receivable aging from its form, follow a customer link
// and come back, jump through the contents, search and step through hits, download the PDF, and be refused
// without the token. Usage: node viewer_test.mjs BUILD_DIR [SCREENSHOT_DIR]
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';

const [buildDir, screenshotDir] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'vob-viewer-test-'));
let server, browser;

async function serverUrl() {
  let output = '';
  for await (const chunk of server.stdout) {
    output += chunk;
    const match = output.match(/serving at (http:\S+)/);
    if (match) return match[1];
  }
  throw new Error(`vobreports view ended without an address: ${output}`);
}

async function snap(page, name) {
  if (screenshotDir) await page.screenshot({ path: join(screenshotDir, `${name}.png`) });
}

async function step(name, action) {
  try {
    await action();
  } catch (error) {
    error.message = `${name}: ${error.message}`;
    throw error;
  }
}

try {
  // The demo database of the test's own, made by the command as `make demo` makes it.
  execFileSync(join(buildDir, 'vobreports'), ['demo-db', join(work, 'demo.sqlite')], { stdio: 'ignore' });
  server = spawn(join(buildDir, 'vobreports'),
                 ['view', '--no-browser', '--today', '2024-06-30', '--db', join(work, 'demo.sqlite')],
                 { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await serverUrl();
  const origin = new URL(url).origin;

  await step('a request without the token is refused', async () => {
    for (const path of ['/', '/api/reports', '/api/runs/1/pages/1.svg']) {
      assert.equal((await fetch(origin + path)).status, 403, path);
    }
    assert.equal((await fetch(`${origin}/api/reports?token=wrong`)).status, 403);
  });

  // A fresh profile, and nothing that reaches for the network: the machine may have none.
  browser = await chromium.launchPersistentContext(join(work, 'profile'), {
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    acceptDownloads: true,
    viewport: { width: 1280, height: 900 },
  });
  const page = await browser.newPage();
  page.setDefaultTimeout(30000);
  const runTitle = page.locator('#run-title');
  const pageNumber = page.locator('#page-number');

  await step('run the receivable aging from its form', async () => {
    await page.goto(url);
    await snap(page, '1-start');
    await page.getByRole('link', { name: 'Accounts Receivable Aging' }).click();
    await page.locator('#run-form').waitFor();
    await snap(page, '2-form');
    await page.getByRole('button', { name: 'Run' }).click();
    await page.locator('#download-pdf[aria-disabled="false"]').waitFor();
    await page.locator('.page[data-number="1"] img').waitFor();
    assert.equal(await page.locator('.page').count(), 3);
    assert.equal(await runTitle.textContent(), 'Accounts Receivable Aging');
    await snap(page, '3-aging');
  });

  await step('follow a customer link to the narrowed aging and come back', async () => {
    await page.locator('.page[data-number="1"] rect.link[data-link="ASHLEY0012"]').click();
    await page.waitForFunction(() => document.getElementById('run-title').textContent.includes('ASHLEY0012'));
    await page.locator('#download-pdf[aria-disabled="false"]').waitFor();
    await page.locator('.page[data-number="1"] text[data-link]').first().waitFor();
    const linked = await page.locator('.page text[data-link]').evaluateAll((texts) => texts.map((t) => t.dataset.link));
    assert.deepEqual([...new Set(linked)], ['ASHLEY0012']);
    await snap(page, '4-narrowed');
    await page.locator('#back').click();
    await page.waitForFunction(() => document.getElementById('run-title').textContent === 'Accounts Receivable Aging');
    assert.match(page.url(), /#run=1&page=1$/);
    await page.locator('.page[data-number="1"] img').waitFor();
  });

  await step('jump through the contents panel', async () => {
    const entries = page.locator('#toc a');
    const last = entries.last();
    const target = Number((await last.getAttribute('title')).match(/page (\d+)/)[1]);
    assert.ok(target > 1, 'the last customer starts after page 1');
    await last.click();
    await page.waitForFunction((n) => document.getElementById('page-number').value === String(n), target);
    await entries.first().click();
    await page.waitForFunction(() => document.getElementById('page-number').value === '1');
  });

  await step('search and step through the hits', async () => {
    await page.locator('#search').fill('harbor');
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => /^1 of \d+$/.test(document.getElementById('hit-count').textContent));
    const total = Number((await page.locator('#hit-count').textContent()).split(' of ')[1]);
    assert.ok(total >= 2, `${total} hits`);
    await page.locator('rect.hit.current').waitFor();
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => document.getElementById('hit-count').textContent.startsWith('2 of'));
    assert.equal(await page.locator('rect.hit.current').count(), 1);
    await snap(page, '5-search');
    await page.locator('#hit-prev').click();
    await page.waitForFunction(() => document.getElementById('hit-count').textContent.startsWith('1 of'));
  });

  await step('page with the keyboard and zoom', async () => {
    await page.locator('#pages').click({ position: { x: 5, y: 5 } });
    await page.keyboard.press('End');
    await page.waitForFunction(() => document.getElementById('page-number').value === '3');
    await page.keyboard.press('PageUp');
    await page.waitForFunction(() => document.getElementById('page-number').value === '2');
    await page.locator('#fit-page').click();
    const box = await page.locator('.page[data-number="2"]').boundingBox();
    const view = await page.locator('#pages').boundingBox();
    assert.ok(box.height <= view.height, `a fitted page (${box.height}px) fits the view (${view.height}px)`);
    await snap(page, '6-fit-page');
    await page.locator('#fit-width').click();
    assert.equal(await pageNumber.inputValue(), '2');
  });

  await step('download the PDF of the run', async () => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#download-pdf').click()]);
    const path = join(work, 'araging.pdf');
    await download.saveAs(path);
    const info = execFileSync('pdfinfo', [path], { encoding: 'utf8' });
    assert.match(info, /^Pages:\s+3$/m);
    assert.match(info, /^Title:\s+Accounts Receivable Aging$/m);
  });
  console.log('viewer end to end: passed');
} finally {
  if (browser) await browser.close();
  if (server) server.kill('SIGTERM');
  rmSync(work, { recursive: true, force: true });
}
