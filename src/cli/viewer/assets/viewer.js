// The vobreports viewer page: start page, report form, and the run view (pages, contents, search, links).
// Requests carry the access token as the cookie the server set when the page was opened with it; the token
// leaves the address at once. State lives in the address's hash so that Back works.
'use strict';

if (location.search) history.replaceState(null, '', location.pathname + location.hash);
const $ = (id) => document.getElementById(id);
const SVG_NS = 'http://www.w3.org/2000/svg';

function api(path, params = {}) {
  const query = new URLSearchParams(params).toString();
  return query ? `${path}?${query}` : path;
}

async function getJson(path, params) {
  const response = await fetch(api(path, params));
  const body = await response.json().catch(() => ({}));
  return { status: response.status, body };
}

async function postJson(path, body) {
  const response = await fetch(api(path), { method: 'POST', body: JSON.stringify(body) });
  return { status: response.status, body: await response.json().catch(() => ({})) };
}

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === 'text') node.textContent = value;
    else if (name.startsWith('on')) node.addEventListener(name.slice(2), value);
    else node.setAttribute(name, value);
  }
  node.append(...children);
  return node;
}

function notice(message, isError = false, detail = '', ...extra) {
  const box = $('notice');
  box.hidden = !message;
  box.className = isError ? 'error' : '';
  box.replaceChildren(message);
  if (detail) box.append(element('pre', { text: detail }));
  box.append(...extra);
}

// A notice for the view the next hash change shows (the change itself would clear it).
let pendingNotice = null;

// The values each report's form was last run with, by key, so that a form comes back as it was sent.
const formValues = {};

// Shows one of the three views, or none (a run that failed or was dropped leaves only its notice).
function show(view) {
  for (const id of ['start', 'form-view', 'viewer']) $(id).hidden = id !== view;
  $('run-tools').hidden = view !== 'viewer';
}

// ---- Start page and form ----

async function showStart() {
  stopRun();
  show('start');
  $('run-title').textContent = '';
  const { body } = await getJson('/api/reports');
  const start = $('start');
  start.replaceChildren(element('h1', { text: 'Reports' }));
  for (const family of body) {
    const list = element('ul');
    for (const report of family.reports) {
      list.append(element('li', {},
        element('a', { href: `#report=${report.key}`, text: report.title || report.key }),
        element('span', { class: 'key', text: report.key })));
    }
    start.append(element('h2', { text: family.family }), list);
  }
}

// Dates go to the report as the host writes them: MM/DD/YYYY; periods as YYYYPP.
function hostDate(isoDate) {
  const [year, month, day] = isoDate.split('-');
  return `${month}/${day}/${year}`;
}
function isoDate(hostText) {
  const match = /^(\d{1,2})\/(\d{1,2})\/(\d{4})$/.exec(hostText || '');
  return match ? `${match[3]}-${match[1].padStart(2, '0')}-${match[2].padStart(2, '0')}` : '';
}
function hostPeriod(month) { return month.replace('-', ''); }
function isoPeriod(period) { return /^\d{6}$/.test(period || '') ? `${period.slice(0, 4)}-${period.slice(4)}` : ''; }
const isYes = (value) => /^(y|yes|true|1|-1)$/i.test(value || '');

// The input for one parameter, holding `value` (as the report takes it) when one is given.
function paramInput(param, value) {
  const name = `param-${param.index}`;
  const required = param.required ? { required: '' } : {};
  if (param.kind === 'choice') {
    const select = element('select', { name, id: name, ...required });
    if (!param.required) select.append(element('option', { value: '', text: '' }));
    const values = param.values || [];
    for (const code of values) select.append(element('option', { value: code, text: code }));
    // The value given, else the example, else the first code: a choice never starts empty.
    const chosen = [value, param.example, values[0]].find((code) => code !== undefined && values.includes(code));
    if (chosen !== undefined) select.value = chosen;
    return select;
  }
  if (param.kind === 'yesno') {
    const box = element('input', { type: 'checkbox', name, id: name, class: 'check' });
    box.checked = isYes(value === undefined ? param.example : value);
    return box;
  }
  if (param.kind === 'date') {
    const input = element('input', { type: 'date', name, id: name, ...required });
    if (value) input.value = isoDate(value);
    return input;
  }
  if (param.kind === 'period') {
    const input = element('input', { type: 'month', name, id: name, ...required });
    if (value) input.value = isoPeriod(value);
    return input;
  }
  const input = element('input', { type: 'text', name, id: name, placeholder: param.example || '', ...required });
  if (value) input.value = value;
  return input;
}

// What an input holds, as the report takes it.
function paramValue(param, input) {
  if (param.kind === 'yesno') return input.checked ? 'Y' : 'N';
  if (param.kind === 'date') return input.value ? hostDate(input.value) : '';
  if (param.kind === 'period') return input.value ? hostPeriod(input.value) : '';
  return input.value;
}

async function showForm(key) {
  stopRun();
  show('form-view');
  $('form-view').replaceChildren();  // no other report's form meanwhile
  const used = formValues[key] || {};
  const { status, body } = await getJson(`/api/params/${key}`);
  const view = $('form-view');
  if (status !== 200) {
    view.replaceChildren();
    notice(`Report ${key} cannot run`, true, body.error || '');
    return;
  }
  const title = (await reportTitles())[key] || key;
  $('run-title').textContent = title;
  const form = element('form', { id: 'run-form' }, element('h1', { text: title }));
  for (const param of body) {
    const hint = param.example ? `e.g. ${param.example}` : '';
    const label = param.index === 'd' ? `${param.label} (drill-down)` : `${param.index}. ${param.label}`;
    const value = param.index === 'd' ? used.drilldown : (used.params || {})[param.index];
    const caption = element('label', { for: `param-${param.index}`, text: label });
    if (param.required) caption.append(element('span', { class: 'required', text: ' *', title: 'Required' }));
    form.append(caption, paramInput(param, value), element('div', { class: 'hint', text: hint }));
  }
  if (body.some((param) => param.required)) {
    form.append(element('div', { class: 'hint', text: '* the report cannot run without it' }));
  }
  const settings = element('details', {}, element('summary', { text: 'Title, logo and formats' }));
  for (const [name, label, placeholder] of [
    ['title', 'Title', title], ['logo', 'Logo OPTION[,FILE[,WIDTH,HEIGHT]]', '0'],
    ['date_format', 'Date format', 'mm/dd/yy'], ['currency_format', 'Currency format', '$#,##0.00;($#,##0.00)'],
    ['price_format', 'Price format', '#,##0.00']]) {
    const input = element('input', { type: 'text', name, id: name, placeholder });
    if (used[name]) input.value = used[name];
    settings.append(element('label', { for: name, text: label }), input);
  }
  if (['title', 'logo', 'date_format', 'currency_format', 'price_format'].some((name) => used[name])) {
    settings.open = true;
  }
  form.append(settings, element('button', { type: 'submit', text: 'Run' }));
  form.addEventListener('submit', async (event) => {
    event.preventDefault();
    const request = { key, params: {} };
    for (const param of body) {
      const input = form.elements[`param-${param.index}`];
      const value = paramValue(param, input);
      if (param.required && !value.trim()) {
        input.focus();
        return notice(`${param.label}: the report cannot run without it.`, true);
      }
      if (param.index === 'd') request.drilldown = value;
      else if (value !== '') request.params[param.index] = value;
    }
    for (const name of ['title', 'logo', 'date_format', 'currency_format', 'price_format']) {
      request[name] = form.elements[name].value;
    }
    formValues[key] = request;
    const started = await postJson('/api/runs', request);
    if (started.status !== 200) return notice('The run could not start', true, started.body.error);
    location.hash = `run=${started.body.id}`;
  });
  view.replaceChildren(form);
}

let titles = null;
async function reportTitles() {
  if (!titles) {
    titles = {};
    for (const family of (await getJson('/api/reports')).body) {
      for (const report of family.reports) titles[report.key] = report.title;
    }
  }
  return titles;
}

// ---- The run view ----

// The run's parameters as its form would send them again.
function rememberRun(status) {
  const previous = formValues[status.key] || {};
  formValues[status.key] = { ...previous, key: status.key, params: { ...(status.params || {}) },
                             drilldown: status.drilldown || '' };
}

// The run's parameters, labelled as its form labels them, above its pages.
async function showParams(status) {
  const box = $('run-params');
  const entries = Object.entries(status.params || {});
  if (status.drilldown) entries.push(['d', status.drilldown]);
  if (!entries.length) { box.hidden = true; return; }
  if (box.dataset.run === String(status.id)) return;
  box.dataset.run = String(status.id);
  const { body } = await getJson(`/api/params/${status.key}`);
  const labels = {};
  for (const param of Array.isArray(body) ? body : []) labels[param.index] = param.label;
  box.replaceChildren(...entries.map(([index, value]) => element('span', { class: 'param' },
    element('span', { class: 'name', text: `${labels[index] || `Parameter ${index}`}: ` }),
    element('span', { class: 'value', text: value }))));
  box.hidden = false;
}

const run = {
  id: 0, status: null, pages: [], scale: 1, zoom: 'width', pollTimer: 0, observer: null,
  hits: [], hitIndex: -1, query: '',
};

function stopRun() {
  clearTimeout(run.pollTimer);
  if (run.observer) run.observer.disconnect();
  run.id = 0;
  run.status = null;
  run.pages = [];
  run.hits = [];
  run.hitIndex = -1;
  $('pages').replaceChildren();
  $('toc').replaceChildren();
  $('run-params').hidden = true;
  $('run-params').replaceChildren();
  delete $('run-params').dataset.run;
}

async function showRun(id, page) {
  if (run.id !== id) {
    stopRun();
    run.id = id;
    run.observer = new IntersectionObserver(onPagesVisible, { root: $('pages'), rootMargin: '150% 0px' });
    $('search').value = '';
    $('hit-count').textContent = '';
  }
  show('viewer');
  const downloads = { 'download-pdf': 'pdf', 'download-txt': 'txt', 'download-json': 'json',
                      'download-csv': 'csv', 'download-xlsx': 'xlsx' };
  for (const [linkId, kind] of Object.entries(downloads)) $(linkId).href = api(`/api/runs/${id}/download.${kind}`);
  await poll(page);
}

async function poll(pageToShow) {
  const id = run.id;
  const { status, body } = await getJson(`/api/runs/${id}`);
  if (id !== run.id) return;
  if (status === 410) {
    notice(`Run ${id} was dropped: the viewer keeps runs within its memory bound and drops the oldest first. ` +
           'Run the report again from the start page.', true);
    show('');
    return;
  }
  if (status !== 200) return notice(`Run ${id}: ${body.error || 'not found'}`, true);
  run.status = body;
  $('run-title').textContent = body.title + (body.drilldown ? ` \u2014 ${body.drilldown}` : '');
  showParams(body);
  if (body.state === 'failed') {
    const again = element('a', { href: `#report=${body.key}`, class: 'again', text: 'Edit and run again' });
    again.addEventListener('click', () => rememberRun(body));
    notice(`${body.key} failed:`, true, `vobreports: ${body.error}`, again);
    show('');
    return;
  }
  notice('');
  addPages(body);
  const isRunning = body.state === 'running';
  $('progress').hidden = !isRunning;
  $('progress-text').textContent = `${body.pages} pages so far`;
  for (const link of $('downloads').querySelectorAll('a')) link.setAttribute('aria-disabled', String(isRunning));
  $('print').disabled = isRunning;
  $('page-count').textContent = `of ${body.pages}${isRunning ? '+' : ''}`;
  if (pageToShow && body.pages >= pageToShow) {
    goToPage(pageToShow);
    pageToShow = 0;
  }
  if (isRunning) {
    // Often until the first page is there, so that it shows as soon as it exists; then gently.
    run.pollTimer = setTimeout(() => poll(pageToShow), body.pages ? 250 : 40);
  } else {
    fillToc(body.toc || []);
    // Pages drawn while the run went on still had "of M" open; draw them again now that it is known.
    for (const page of run.pages) if (page.isLoaded) loadPage(page);
    if (run.query) search(run.query);
  }
  updateCounter();
}

function addPages(status) {
  const container = $('pages');
  while (run.pages.length < status.pages) {
    const number = run.pages.length + 1;
    const box = element('div', { class: 'page', 'data-number': number },
                        element('div', { class: 'loading', text: `Page ${number}` }));
    const page = { number, box, width: status.width || 612, height: status.height || 792, isLoaded: false };
    run.pages.push(page);
    sizePage(page);
    container.append(box);
    run.observer.observe(box);
  }
  if (run.pages.length && run.zoom !== 'custom') applyZoom(run.zoom, false);
}

function onPagesVisible(entries) {
  for (const entry of entries) {
    const page = run.pages[Number(entry.target.dataset.number) - 1];
    if (entry.isIntersecting && page && !page.isLoaded && !page.isLoading) loadPage(page);
  }
}

// One request per page: the SVG shows as a picture, and its text layer becomes the overlay that selection,
// search and links use.
async function loadPage(page) {
  page.isLoading = true;
  const id = run.id;
  const response = await fetch(api(`/api/runs/${id}/pages/${page.number}.svg`));
  page.isLoading = false;
  if (id !== run.id || !response.ok) return;
  const svgText = await response.text();
  const documentSvg = new DOMParser().parseFromString(svgText, 'image/svg+xml').documentElement;
  const viewBox = documentSvg.getAttribute('viewBox') || `0 0 ${page.width} ${page.height}`;
  const [, , width, height] = viewBox.split(/\s+/).map(Number);
  page.width = width;
  page.height = height;
  sizePage(page);
  if (page.url) URL.revokeObjectURL(page.url);
  page.url = URL.createObjectURL(new Blob([svgText], { type: 'image/svg+xml' }));
  const image = element('img', { src: page.url, alt: `Page ${page.number}`, draggable: 'false' });
  const overlay = document.createElementNS(SVG_NS, 'svg');
  overlay.setAttribute('class', 'overlay');
  overlay.setAttribute('viewBox', viewBox);
  const layer = documentSvg.querySelector('g.text-layer');
  if (layer) overlay.append(document.importNode(layer, true));
  const links = document.createElementNS(SVG_NS, 'g');
  for (const text of overlay.querySelectorAll('text[data-link]')) {
    const box = document.createElementNS(SVG_NS, 'rect');
    box.setAttribute('class', 'link');
    box.setAttribute('x', text.getAttribute('x'));
    box.setAttribute('y', text.dataset.top);
    box.setAttribute('width', text.getAttribute('textLength'));
    box.setAttribute('height', text.dataset.height);
    box.dataset.link = text.dataset.link;
    box.addEventListener('click', () => followLink(text.dataset.link, page.number));
    links.append(box);
  }
  const hits = document.createElementNS(SVG_NS, 'g');
  hits.setAttribute('class', 'hits');
  overlay.append(hits, links);
  page.box.replaceChildren(image, overlay);
  page.isLoaded = true;
  drawHits(page);
}

function sizePage(page) {
  page.box.style.width = `${page.width * run.scale}px`;
  page.box.style.height = `${page.height * run.scale}px`;
}

function applyZoom(zoom, keepsPlace = true) {
  const current = currentPage();
  const container = $('pages');
  const first = run.pages[0] || { width: 612, height: 792 };
  if (zoom === 'width') run.scale = (container.clientWidth - 40) / first.width;
  else if (zoom === 'page') run.scale = Math.min((container.clientWidth - 40) / first.width,
                                                 (container.clientHeight - 24) / first.height);
  else run.scale = zoom;
  run.zoom = typeof zoom === 'number' ? 'custom' : zoom;
  $('fit-width').classList.toggle('active', run.zoom === 'width');
  $('fit-page').classList.toggle('active', run.zoom === 'page');
  for (const page of run.pages) sizePage(page);
  if (keepsPlace && current) goToPage(current);
}

function pageTop(page) { return page.box.offsetTop - $('pages').offsetTop - 12; }

function currentPage() {
  const container = $('pages');
  const middle = container.scrollTop + container.clientHeight / 3;
  let low = 0, high = run.pages.length - 1, found = 0;
  while (low <= high) {
    const mid = (low + high) >> 1;
    if (pageTop(run.pages[mid]) <= middle) { found = mid; low = mid + 1; } else high = mid - 1;
  }
  return run.pages.length ? found + 1 : 0;
}

function goToPage(number) {
  const page = run.pages[Math.max(1, Math.min(number, run.pages.length)) - 1];
  if (!page) return;
  $('pages').scrollTop = pageTop(page);
  updateCounter();
}

function updateCounter() {
  const input = $('page-number');
  if (document.activeElement !== input) input.value = String(currentPage());
}

function fillToc(entries) {
  const toc = $('toc');
  toc.replaceChildren();
  for (const entry of entries) {
    const link = element('a', { href: '#', text: entry.text, title: `${entry.text} (page ${entry.page})` });
    link.style.paddingLeft = `${10 + entry.level * 14}px`;
    link.addEventListener('click', (event) => { event.preventDefault(); goToPage(entry.page); });
    toc.append(link);
  }
  toc.classList.toggle('closed', entries.length === 0);
  refit();
}

// Fit-width and fit-page follow the room the pages have, which the contents panel takes from.
function refit() {
  if (run.zoom !== 'custom' && run.pages.length) applyZoom(run.zoom);
}

// ---- Links and Back ----

const trail = [];  // the hashes links were followed from, for the Back button

async function followLink(link, fromPage) {
  const from = `run=${run.id}&page=${fromPage}`;
  const { status, body } = await postJson(`/api/runs/${run.id}/follow`, { link });
  if (status !== 200) return notice(body.error || `The link ${link} leads nowhere`, true);
  history.replaceState(null, '', `#${from}`);
  trail.push(from);
  location.hash = `run=${body.id}`;
}

// ---- Search ----

async function search(query) {
  run.query = query;
  for (const page of run.pages) if (page.isLoaded) clearHits(page);
  run.hits = [];
  run.hitIndex = -1;
  if (!query) { $('hit-count').textContent = ''; return; }
  const { body } = await getJson(`/api/runs/${run.id}/search`, { q: query });
  for (const line of body) {
    for (let occurrence = 0; occurrence < line.count; ++occurrence) run.hits.push({ ...line, occurrence });
  }
  $('hit-count').textContent = run.hits.length ? `${run.hits.length.toLocaleString('en-US')} hits` : 'no hits';
  for (const page of run.pages) if (page.isLoaded) drawHits(page);
  if (run.hits.length) stepHit(1);
}

// Text as search compares it (ASCII case folded, each run of blanks one blank), with where each of its
// characters starts in the text, as the server's search does.
function searchForm(text) {
  let form = '';
  const starts = [];
  for (let i = 0; i < text.length; ++i) {
    const c = text[i];
    const isBlank = c === ' ' || c === '\t';
    if (isBlank && form.endsWith(' ')) continue;
    form += isBlank ? ' ' : (c >= 'A' && c <= 'Z' ? c.toLowerCase() : c);
    starts.push(i);
  }
  return { form, starts };
}

function clearHits(page) {
  const group = page.box.querySelector('g.hits');
  if (group) group.replaceChildren();
}

function drawHits(page) {
  const group = page.box.querySelector('g.hits');
  if (!group || !run.query) return;
  group.replaceChildren();
  const needle = searchForm(run.query).form;
  run.hits.forEach((hit, index) => {
    if (hit.page !== page.number) return;
    const text = page.box.querySelector(`text[data-line="${hit.line}"]`);
    if (!text) return;
    const content = text.textContent;
    const { form, starts } = searchForm(content);
    let at = -1;
    for (let k = 0; k <= hit.occurrence; ++k) at = form.indexOf(needle, at + (k ? needle.length : 1));
    if (at < 0) return;
    const first = starts[at];
    const last = starts[at + needle.length - 1];
    const x = Number(text.getAttribute('x'));
    const length = Number(text.getAttribute('textLength'));
    let left = x + (length * first) / content.length;
    let right = x + (length * (last + 1)) / content.length;
    try {
      left = text.getStartPositionOfChar(first).x;
      right = text.getEndPositionOfChar(last).x;
    } catch (error) { /* proportional estimate above */ }
    const box = document.createElementNS(SVG_NS, 'rect');
    box.setAttribute('class', index === run.hitIndex ? 'hit current' : 'hit');
    box.setAttribute('x', left);
    box.setAttribute('y', text.dataset.top);
    box.setAttribute('width', Math.max(1, right - left));
    box.setAttribute('height', text.dataset.height);
    box.dataset.hit = index;
    group.append(box);
  });
}

async function stepHit(direction) {
  if (!run.hits.length) return;
  run.hitIndex = (run.hitIndex + direction + run.hits.length) % run.hits.length;
  const hit = run.hits[run.hitIndex];
  $('hit-count').textContent = `${(run.hitIndex + 1).toLocaleString('en-US')} of ${
    run.hits.length.toLocaleString('en-US')}`;
  const page = run.pages[hit.page - 1];
  if (!page) return;
  if (!page.isLoaded) await loadPage(page);
  for (const other of run.pages) {
    if (other.isLoaded) {
      for (const box of other.box.querySelectorAll('rect.hit')) {
        box.classList.toggle('current', Number(box.dataset.hit) === run.hitIndex);
      }
    }
  }
  const current = page.box.querySelector('rect.hit.current');
  if (current) current.scrollIntoView({ block: 'center' });
  else goToPage(hit.page);
  updateCounter();
}

// ---- Wiring ----

async function route() {
  const state = new URLSearchParams(location.hash.slice(1));
  $('back').hidden = trail.length === 0;
  if (state.has('run')) return showRun(Number(state.get('run')), Number(state.get('page')) || 0);
  notice(...(pendingNotice || ['']));
  pendingNotice = null;
  if (state.has('report')) return showForm(state.get('report'));
  return showStart();
}

window.addEventListener('hashchange', () => {
  const hash = location.hash.slice(1);
  if (trail.length && trail[trail.length - 1] === hash) trail.pop();
  route();
});

$('back').addEventListener('click', () => history.back());
$('toc-toggle').addEventListener('click', () => {
  $('toc').classList.toggle('closed');
  refit();
});
$('page-prev').addEventListener('click', () => goToPage(currentPage() - 1));
$('page-next').addEventListener('click', () => goToPage(currentPage() + 1));
// Only a whole page number that exists is taken; anything else puts the current page back in the box.
$('page-number').addEventListener('change', (event) => {
  const text = event.target.value.trim();
  const number = /^\d+$/.test(text) ? Number(text) : NaN;
  if (number >= 1 && number <= run.pages.length) goToPage(number);
  event.target.value = String(currentPage());
});
$('page-number').addEventListener('blur', (event) => { event.target.value = String(currentPage()); });
$('fit-width').addEventListener('click', () => applyZoom('width'));
$('fit-page').addEventListener('click', () => applyZoom('page'));
$('zoom-in').addEventListener('click', () => applyZoom(run.scale * 1.25));
$('zoom-out').addEventListener('click', () => applyZoom(run.scale / 1.25));
$('pages').addEventListener('scroll', updateCounter);
$('cancel').addEventListener('click', async () => {
  const status = run.status;
  await postJson(`/api/runs/${run.id}/cancel`, {});
  stopRun();
  if (status) rememberRun(status);
  pendingNotice = ['The run was cancelled; nothing of it is kept. Its form is below, as it was run.'];
  location.hash = status ? `report=${status.key}` : '';
});
$('search').addEventListener('keydown', (event) => {
  if (event.key !== 'Enter') return;
  event.preventDefault();
  if (event.target.value !== run.query) search(event.target.value);
  else stepHit(event.shiftKey ? -1 : 1);
});
$('hit-next').addEventListener('click', () => stepHit(1));
$('hit-prev').addEventListener('click', () => stepHit(-1));
window.addEventListener('resize', () => { if (run.zoom !== 'custom') applyZoom(run.zoom); });
document.addEventListener('keydown', (event) => {
  if ($('viewer').hidden || event.target.closest('input, select, textarea')) return;
  const moves = { PageDown: 1, ArrowRight: 1, n: 1, j: 1, PageUp: -1, ArrowLeft: -1, p: -1, k: -1 };
  if (event.key in moves) goToPage(currentPage() + moves[event.key]);
  else if (event.key === 'Home') goToPage(1);
  else if (event.key === 'End') goToPage(run.pages.length);
  else if (event.key === '/' || (event.key === 'f' && (event.ctrlKey || event.metaKey))) $('search').focus();
  else return;
  event.preventDefault();
});

// Print: the kept run goes to a CUPS destination as it is, and the job's state shows while the panel is open.
const printing = { job: null, timer: 0 };
async function openPrintPanel() {
  $('print-panel').hidden = false;
  $('print-status').textContent = '';
  const { status, body } = await getJson('/api/printers');
  if (status !== 200) {
    $('print-status').textContent = body.error || 'No printers.';
    return;
  }
  $('print-printer').replaceChildren(...body.map((printer) => element('option', {
    value: printer.name,
    text: `${printer.name}${printer.state === 'idle' ? '' : ` (${printer.state})`}`,
    ...(printer.is_default ? { selected: '' } : {}),
  })));
}
function closePrintPanel() {
  $('print-panel').hidden = true;
  clearTimeout(printing.timer);
  printing.job = null;
}
async function showJobState() {
  const job = printing.job;
  if (!job || $('print-panel').hidden) return;
  const { status, body } = await getJson(`/api/print-jobs/${job.job}`, { printer: job.printer });
  if (job !== printing.job) return;
  const state = status === 200 ? body.state : (body.error || 'unknown');
  $('print-status').textContent = `Job ${job.job} on ${job.printer}: ${state}` +
    (body.message ? ` \u2014 ${body.message}` : '');
  if (!['completed', 'aborted', 'canceled'].includes(state)) printing.timer = setTimeout(showJobState, 1000);
}
$('print').addEventListener('click', () => ($('print-panel').hidden ? openPrintPanel() : closePrintPanel()));
$('print-close').addEventListener('click', closePrintPanel);
$('print-submit').addEventListener('click', async () => {
  clearTimeout(printing.timer);
  $('print-status').textContent = 'Printing\u2026';
  const { status, body } = await postJson(`/api/runs/${run.id}/print`, {
    printer: $('print-printer').value, copies: Number($('print-copies').value) || 1,
  });
  if (status !== 200) {
    printing.job = null;
    $('print-status').textContent = body.error || 'The job was not printed.';
    return;
  }
  printing.job = body;
  showJobState();
});

route();
