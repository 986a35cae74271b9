// The viewer end to end in headless Chromium, on books holding Latin-1 bytes, control characters and script
// payloads: open it from its launch file (the token on no command line), run the receivable aging from its
// form, follow a customer link and come back, jump through the contents, search and step through hits,
// download the PDF, and be refused without the token; then the form's required fields and choices, a failed
// run and a cancelled one coming back to their forms, the logo limits, search past 5,000 hits, the page box
// and fit-width with the contents toggled. Usage: node viewer_test.mjs BUILD_DIR [SCREENSHOT_DIR]
import { spawn, execFileSync } from 'node:child_process';
import { chmodSync, existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { serverUrl } from './view_server.mjs';

const [buildDir, screenshotDir] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'vob-viewer-test-'));
let server, browser;

// Every process's command line, as any user of the machine reads them.
function commandLines() {
  const lines = [];
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      lines.push(readFileSync(`/proc/${pid}/cmdline`, 'utf8').replaceAll('\0', ' '));
    } catch { /* ended meanwhile */ }
  }
  return lines;
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
  // The demo database of the test's own, made by the command as `make demo` makes it, then given what real
  // books hold: a group in Latin-1, names with control characters and script payloads.
  const books = join(work, 'demo.sqlite');
  execFileSync(join(buildDir, 'vobreports'), ['demo-db', books], { stdio: 'ignore' });
  execFileSync('python3', ['-c', `
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("UPDATE Customers SET BillGroup = CAST(X'436166E9' AS TEXT) WHERE CustomerID LIKE 'B%'")
db.execute("""UPDATE Customers SET Name = '<img src=x onerror="window.pwned=1">' || char(1) || char(27) || 'Acme'
              WHERE CustomerID = 'ACME0021'""")
db.execute("UPDATE Customers SET Address1 = '<script>window.pwned=2</script>' || CAST(X'FF' AS TEXT)")
db.commit()`, books]);

  // xdg-open stands in for the browser: it notes the launch file it was given and stays a while, so that its
  // command line can be read.
  const bin = join(work, 'bin');
  const scratch = join(work, 'tmp');  // the server's temporary folder, to see what it leaves there
  execFileSync('mkdir', ['-p', scratch]);
  execFileSync('mkdir', ['-p', bin]);
  writeFileSync(join(bin, 'xdg-open'), `#!/bin/sh\nprintf '%s' "$1" > '${join(work, 'opening')}'\nmv '${join(work, 'opening')}' '${join(work, 'opened')}'\nsleep 3\n`);
  chmodSync(join(bin, 'xdg-open'), 0o755);
  server = spawn(join(buildDir, 'vobreports'), ['view', '--today', '2024-06-30', '--db', books],
                 { stdio: ['ignore', 'pipe', 'inherit'],
                   env: { ...process.env, PATH: `${bin}:${process.env.PATH}`, TMPDIR: scratch } });
  const url = await serverUrl(server);
  const origin = new URL(url).origin;
  const token = new URL(url).searchParams.get('token');

  let launchFile = '';
  let journalRun = '';
  await step('the browser opens on a launch file, and no command line holds the token', async () => {
    assert.match(token || '', /^[0-9a-f]{32}$/, 'a private standard output shows the tokened address');
    for (let wait = 0; wait < 100 && !existsSync(join(work, 'opened')); ++wait) await new Promise((r) => setTimeout(r, 50));
    launchFile = readFileSync(join(work, 'opened'), 'utf8');
    assert.match(launchFile, /vobreports-launch-\w+\/open\.html$/);
    assert.equal((await import('node:fs')).statSync(launchFile).mode & 0o077, 0, 'only its user reads the launch file');
    const leaks = commandLines().filter((line) => line.includes(token));
    assert.deepEqual(leaks, []);
  });

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

  await step('the launch file signs the browser in and is spent', async () => {
    await page.goto(`file://${launchFile}`);
    await page.locator('#start h1').waitFor();
    assert.equal(new URL(page.url()).search, '', 'the token leaves the address');
    assert.equal(existsSync(launchFile), false);
    assert.equal(await page.evaluate(() => document.cookie), '', 'no script reads the token');
  });

  await step('run the receivable aging from its form', async () => {
    await page.goto(`${origin}/`);
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
  const pwned = () => page.evaluate(() => window.pwned);

  await step('a group in Latin-1 and markup in names show as text, every page a picture that loads', async () => {
    await page.goto(`${origin}/#report=custlist`);
    const sort = page.locator('#param-1');
    assert.equal(await sort.inputValue(), 'name', 'a choice starts at a code, never blank');
    await sort.selectOption('group');
    await page.locator('summary').click();
    await page.locator('#title').fill('<script>window.pwned=3</script>');
    await page.getByRole('button', { name: 'Run' }).click();
    await page.waitForFunction(() => document.getElementById('run-title').textContent.includes('pwned=3') &&
                                     /^of \d+$/.test(document.getElementById('page-count').textContent));
    assert.equal(await page.locator('script').count(), 1, 'only the viewer\'s own script');
    await page.waitForFunction(() => /Sort order.*: group/.test(document.getElementById('run-params').textContent));
    const pages = await page.locator('.page').count();
    for (let number = 1; number <= pages; ++number) {
      await page.locator('#page-number').fill(String(number));
      await page.locator('#page-number').press('Enter');
      const image = page.locator(`.page[data-number="${number}"] img`);
      await image.waitFor();
      await page.waitForFunction((n) => {
        const img = document.querySelector(`.page[data-number="${n}"] img`);
        return img.complete;
      }, number);
      assert.ok(await image.evaluate((img) => img.naturalWidth > 0), `page ${number} loads as a picture`);
    }
    await page.locator('#search').fill('caf\u00e9');
    await page.locator('#search').press('Enter');
    await page.locator('#search').fill('caf');
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => /^1 of /.test(document.getElementById('hit-count').textContent));
    assert.equal(await pwned(), undefined);
    await snap(page, '7-hostile-books');
  });

  await step('the page box takes only pages that exist, and fit-width follows the contents panel', async () => {
    for (const typed of ['99', 'abc', '0']) {
      await pageNumber.fill(typed);
      await pageNumber.press('Enter');
      assert.match(await pageNumber.inputValue(), /^[1-9]\d*$/, typed);
    }
    const fits = () => page.evaluate(() => {
      const view = document.getElementById('pages');
      const box = document.querySelector('.page').getBoundingClientRect();
      return Math.abs(box.width - (view.clientWidth - 40)) < 2;
    });
    await page.locator('#fit-width').click();
    for (let toggle = 0; toggle < 2; ++toggle) {
      await page.locator('#toc-toggle').click();
      assert.ok(await fits(), `fit-width after toggling the contents (${toggle + 1})`);
    }
  });

  await step('a form refuses to run without what the report needs', async () => {
    await page.goto(`${origin}/#report=invoice`);
    await page.locator('#run-form').waitFor();
    assert.equal(await page.locator('#run-form label .required').count(), 1);
    await page.getByRole('button', { name: 'Run' }).click();
    assert.equal(await page.locator('#param-1').evaluate((input) => input.matches(':invalid')), true);
    assert.match(page.url(), /#report=invoice$/);
  });

  await step('a logo that is no picture fails the run, whose form comes back as it was', async () => {
    await page.goto(`${origin}/#report=chaccts`);
    await page.locator('#run-form').waitFor();
    await page.locator('summary').click();
    await page.locator('#logo').fill('1,/dev/zero,1440,1080');
    await page.getByRole('button', { name: 'Run' }).click();
    await page.locator('#notice.error').waitFor();
    assert.match(await page.locator('#notice').textContent(), /Invalid picture: \/dev\/zero \(not a picture file of at most 20 MB\)/);
    await page.getByRole('link', { name: 'Edit and run again' }).click();
    await page.locator('#run-form').waitFor();
    assert.equal(await page.locator('#logo').inputValue(), '1,/dev/zero,1440,1080');
  });

  // The journal over every year of the books: hundreds of pages, long enough to search and to cancel.
  async function runLongJournal() {
    await page.goto(`${origin}/#report=journal`);
    await page.locator('#run-form').waitFor();
    await page.locator('#param-1').fill('01/01/1990');
    await page.locator('#param-2').fill('2030-12-31');
    await page.locator('#param-3').fill('*');
    await page.locator('#param-4').fill('Ref No:');
    await page.getByRole('button', { name: 'Run' }).click();
  }

  await step('search finds every hit of a long journal and says how many', async () => {
    await runLongJournal();
    // Done: hundreds of pages, and no "+" for more to come.
    await page.waitForFunction(() => /^of \d{3,}$/.test(document.getElementById('page-count').textContent));
    const pages = await page.locator('.page').count();
    journalRun = new URLSearchParams(new URL(page.url()).hash.slice(1)).get('run');
    await page.locator('#search').fill('0');
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => /^1 of [\d,]+$/.test(document.getElementById('hit-count').textContent));
    const total = Number((await page.locator('#hit-count').textContent()).split(' of ')[1].replaceAll(',', ''));
    assert.ok(total > 5000, `${total} hits`);
    await page.locator('#hit-prev').click();  // from the first hit back to the last
    await page.waitForFunction((n) => Number(document.getElementById('page-number').value) >= n - 1, pages);
  });

  await step('Cancel keeps its notice and offers the form with the values just used', async () => {
    await runLongJournal();
    await page.locator('#cancel').click({ timeout: 5000 });
    await page.locator('#run-form').waitFor();
    assert.match(await page.locator('#notice').textContent(), /cancelled/);
    assert.equal(await page.locator('#param-1').inputValue(), '01/01/1990');
    assert.equal(await page.locator('#param-2').inputValue(), '2030-12-31');
    assert.equal(await pwned(), undefined);
  });
  await step('a stop signal during a download leaves nothing in the temporary folder', async () => {
    const download = fetch(`${origin}/api/runs/${journalRun}/download.pdf?token=${token}`).catch(() => null);
    await new Promise((resolve) => setTimeout(resolve, 150));
    const ended = new Promise((resolve) => server.once('exit', (code, signal) => resolve(signal)));
    server.kill('SIGTERM');
    assert.equal(await ended, 'SIGTERM');
    server = null;
    await download;
    assert.deepEqual(readdirSync(scratch), []);
  });
  console.log('viewer end to end: passed');
} finally {
  if (browser) await browser.close();
  if (server) server.kill('SIGTERM');
  rmSync(work, { recursive: true, force: true });
}
