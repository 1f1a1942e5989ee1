// Measures how soon the browser page shows its first menu against a floor:
// a page with nothing but the same xterm.js (and its fit add-on), xterm.js's
// CSS and the page's font, which writes the program's banner and menu at
// once. Both mark the moment the menu is written and the next frame is due
// (performance mark "tavro-menu"); the loads alternate, each in a fresh
// browser context. Chromium at 1x and 4x CPU throttling (the 4x one at a
// phone's 390x844), Firefox at 1x; prints each median and the ratio, and a
// warning where the page takes more than BUDGET times the floor. Each load
// then types w as soon as the menu shows and measures until the display
// page's first line is on the screen (the floor writes it at once). In
// Chromium and Firefox at 1x, each page then checks a table of 1000 sizes
// (pasted anew, so read and checked) five times: the median time until they
// are shown, the longest task meanwhile (where the browser reports long
// tasks), told apart into the paste's (the browser laying out the field)
// and the check's, the page's longest script and the longest time between
// two frames. A noisy machine gives noisy figures: the status is 0 unless a
// browser fails.
// Usage: node bench/page.mjs [--loads=N] [--budget=X] NATIVE PAGE...
//   NATIVE: the Linux program, whose banner and menu the floor writes; PAGE:
//   a built tavro.html (more than one: each measured in turn, an older one
//   against the new, with the same floor); N: loads of each page per row
//   (at least 7, the default); X: 1.2
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const options = process.argv.slice(2).filter((a) => a.startsWith('--'));
const [native, ...pagePaths] = process.argv.slice(2).filter((a) => !a.startsWith('--'));
const option = (name, fallback) =>
  Number(options.find((o) => o.startsWith(`--${name}=`))?.split('=')[1] ?? fallback);
const loads = Math.max(7, option('loads', 7));
const budget = option('budget', 1.2);
if (!native || pagePaths.length === 0 || !(budget > 0) ||
    options.some((o) => !/^--(loads|budget)=/.test(o))) {
  console.error('usage: node bench/page.mjs [--loads=N] [--budget=X] NATIVE PAGE...');
  process.exit(2);
}
const web = new URL('../web/', import.meta.url);
const require = createRequire(new URL('package.json', web));
const puppeteer = require('puppeteer-core');
const modules = new URL('node_modules/', web);
const part = (path) => readFileSync(new URL(path, modules));

// What the program shows first: its banner and menu, up to its first wait.
const shown = execFileSync(native, { input: 'q' }).toString('utf8');
const menu = shown.slice(0, shown.indexOf('F8 q Exit\n') + 'F8 q Exit\n'.length);
// And what it shows for w: its display page.
const display = execFileSync(native, { input: 'w' }).toString('utf8').slice(menu.length);

const work = mkdtempSync(join(tmpdir(), 'tavro-floor-'));
const floorPath = join(work, 'floor.html');
const floorUrl = pathToFileURL(floorPath).href;
const font = part('@fontsource/jetbrains-mono/files/jetbrains-mono-latin-400-normal.woff2')
  .toString('base64');
const floorScript = `
document.fonts.load('15px "JetBrains Mono"').then(() => {
  const term = new Terminal({ convertEol: true, scrollback: 10000,
                              fontFamily: '"JetBrains Mono", monospace', fontSize: 15 });
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.open(document.getElementById('terminal'));
  fit.fit();
  term.focus();
  term.onData((data) => {
    if (data === 'w') {
      term.write(${JSON.stringify(display)}, () => requestAnimationFrame(() => performance.mark('tavro-key')));
    }
  });
  term.write(${JSON.stringify(menu)}, () => requestAnimationFrame(() => performance.mark('tavro-menu')));
});`;
writeFileSync(floorPath, `<!DOCTYPE html><html><head><meta charset="utf-8">
<style>${part('@xterm/xterm/css/xterm.css')}
@font-face { font-family: "JetBrains Mono"; font-display: block;
  src: url(data:font/woff2;base64,${font}) format("woff2"); }
html, body { margin: 0; background: #000; } #terminal { height: 70vh; padding: 4px; }</style>
</head><body><div id="terminal"></div>
<script>${part('@xterm/xterm/lib/xterm.js')}</script>
<script>${part('@xterm/addon-fit/lib/addon-fit.js')}</script>
<script>${floorScript}</script></body></html>`);

const chromium = {
  browser: 'chrome', executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};
const firefox = { browser: 'firefox', executablePath: '/usr/bin/firefox-esr' };
const rows = [
  { name: 'Chromium 1x', options: chromium, throttle: 1, viewport: { width: 1400, height: 900 }, sizes: true },
  { name: 'Chromium 4x', options: chromium, throttle: 4,
    viewport: { width: 390, height: 844, isMobile: true, hasTouch: true } },
  { name: 'Firefox 1x', options: firefox, throttle: 1, viewport: { width: 1400, height: 900 }, sizes: true },
];

// The page's mark "tavro-key": the first frame after the display page's
// first line is on the screen (the floor marks it itself).
const markKey = () => {
  const seen = () => {
    if (window.tavro?.transcript().includes('momentan def. Werte 1:')) performance.mark('tavro-key');
    else requestAnimationFrame(seen);
  };
  seen();
};

// One load of `url`: milliseconds from the navigation's start to the first
// menu's mark, and to the answer of w typed as soon as it showed. With
// `sizes`, the page is handed back open for checkSizes.
const load = async (browser, row, url, sizes = false) => {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport(row.viewport);
    if (row.throttle !== 1) await page.emulateCPUThrottling(row.throttle);
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName('tavro-menu').length > 0,
                               { timeout: 60000, polling: 'raf' });
    await page.focus('.xterm-helper-textarea');
    await page.keyboard.type('w');
    if (url !== floorUrl) await page.evaluate(markKey);
    await page.waitForFunction(() => performance.getEntriesByName('tavro-key').length > 0,
                               { timeout: 60000 });
    const times = await page.evaluate(() => ['tavro-menu', 'tavro-key'].map(
      (name) => performance.getEntriesByName(name)[0].startTime));
    if (sizes) return { context, page };
    return times;
  } finally {
    if (!sizes) await context.close();
  }
};

// Five checks of 1000 sizes on a page just loaded, each table pasted anew:
// the median milliseconds until all are shown; the longest task (null where
// the browser reports none), told apart: those until the first frame after
// the paste (the browser laying out the field's 1000 new lines, which the
// page waits for before it checks) and those after it (the check and its
// rows); the longest script of the page in a frame over 50 ms (where the
// browser reports long animation frames) and the longest time between frames.
const checkSizes = async (browser, row, url) => {
  const { context, page } = await load(browser, row, url, true);
  try {
    return await page.evaluate(async () => {
      await window.tavro.sizes('A;1;2;3;4;0,8;5\n');  // the computing instance made
      const frame = () => new Promise((resolve) => { requestAnimationFrame(resolve); });
      const times = [];
      const tasks = [];    // [start, duration] of each long task
      const pastes = [];   // [start, first frame after] of each paste
      const observes = (type) => PerformanceObserver.supportedEntryTypes?.includes(type);
      if (observes('longtask')) {
        new PerformanceObserver((list) => {
          for (const e of list.getEntries()) tasks.push([e.startTime, e.duration]);
        }).observe({ type: 'longtask' });
      }
      // Scripts of 5 ms and more, in frames over 50 ms; none: "-".
      let longestScript = null;
      if (observes('long-animation-frame')) {
        new PerformanceObserver((list) => {
          for (const e of list.getEntries()) {
            for (const s of e.scripts) longestScript = Math.max(longestScript ?? 0, s.duration);
          }
        }).observe({ type: 'long-animation-frame' });
      }
      let longestFrame = 0;
      for (let round = 0; round < 5; ++round) {
        let table = 'Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n';
        for (let k = 1; k <= 1000; ++k) table += `G${k};${k + round};${2 * k};${k};${10 * k};0,8;${k}\n`;
        await frame();
        // Pasted in a task of its own, as a paste is, not in a frame; that
        // task is the paste's too (it starts before it can tell the time).
        const paste = [performance.now(), Infinity];
        pastes.push(paste);
        await new Promise((resolve) => { setTimeout(resolve, 0); });
        let last = performance.now();
        let going = true;
        const beat = () => {
          const now = performance.now();
          longestFrame = Math.max(longestFrame, now - last);
          last = now;
          if (going) requestAnimationFrame(beat);
        };
        requestAnimationFrame(beat);
        const started = performance.now();
        requestAnimationFrame(() => { paste[1] = performance.now(); });
        const { sizes } = await window.tavro.sizes(table);
        if (sizes.length !== 1000) throw new Error(`${sizes.length} sizes checked`);
        await frame();
        times.push(performance.now() - started);
        going = false;
      }
      await new Promise((resolve) => { setTimeout(resolve, 100); });  // the last long tasks reported
      times.sort((a, b) => a - b);
      const ofPaste = ([start]) => pastes.some(([from, to]) => start >= from && start <= to);
      const longest = (some) => (observes('longtask') ? Math.max(0, ...some.map(([, d]) => d)) : null);
      return { time: times[2], pasteTask: longest(tasks.filter(ofPaste)),
               checkTask: longest(tasks.filter((t) => !ofPaste(t))), longestScript, longestFrame };
    });
  } finally {
    await context.close();
  }
};

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

let status = 0;
const lines = [];
const sizeLines = [];
try {
  for (const row of rows) {
    const browser = await puppeteer.launch({ headless: true, ...row.options });
    try {
      const floorTimes = [];
      const pageTimes = pagePaths.map(() => []);
      await load(browser, row, floorUrl);  // warms the browser's own start
      for (let k = 0; k < loads; ++k) {
        floorTimes.push(await load(browser, row, floorUrl));
        for (const [p, path] of pagePaths.entries()) {
          pageTimes[p].push(await load(browser, row, pathToFileURL(path).href));
        }
      }
      const nameOf = (p) => (pagePaths.length > 1 ? `${row.name}, ${p + 1}` : row.name);
      const floor = median(floorTimes.map(([menuMs]) => menuMs));
      const floorKey = median(floorTimes.map(([, keyMs]) => keyMs));
      for (const [p, times] of pageTimes.entries()) {
        const page = median(times.map(([menuMs]) => menuMs));
        const key = median(times.map(([, keyMs]) => keyMs));
        lines.push({ name: nameOf(p), floor, page, ratio: page / floor, floorKey, key });
      }
      if (row.sizes) {
        for (const [p, path] of pagePaths.entries()) {
          sizeLines.push({ name: nameOf(p), ...await checkSizes(browser, row, pathToFileURL(path).href) });
        }
      }
    } finally {
      await browser.close();
    }
  }
} catch (error) {
  console.error(`bench/page.mjs: ${error.message}`);
  status = 1;
} finally {
  if (!process.env.KEEP) rmSync(work, { recursive: true, force: true });
}

console.log(`first menu and w answered (key), median of ${loads} loads each (ms)`);
if (pagePaths.length > 1) pagePaths.forEach((path, p) => console.log(`page ${p + 1}: ${path}`));
console.log('                    floor     page    ratio   floor key  page key');
for (const { name, floor, page, ratio, floorKey, key } of lines) {
  console.log(`${name.padEnd(17)} ${floor.toFixed(0).padStart(7)} ${page.toFixed(0).padStart(8)} ` +
              `${ratio.toFixed(2).padStart(8)} ${floorKey.toFixed(0).padStart(11)} ${key.toFixed(0).padStart(9)}` +
              `${ratio > budget ? `  warning: above ${budget}x the floor` : ''}`);
}
if (sizeLines.length > 0) {
  console.log('1000 sizes checked and shown, median of 5 (ms)');
  console.log('                            longest task');
  console.log('                     time  paste  check  longest script  longest frame');
  const ms = (value, width) => (value === null ? '-' : value.toFixed(0)).padStart(width);
  for (const { name, time, pasteTask, checkTask, longestScript, longestFrame } of sizeLines) {
    console.log(`${name.padEnd(17)} ${time.toFixed(0).padStart(8)} ${ms(pasteTask, 6)} ${ms(checkTask, 6)} ` +
                `${ms(longestScript, 15)} ${longestFrame.toFixed(0).padStart(14)}` +
                `${time > 500 ? '  warning: above 0.5 s' : ''}` +
                `${checkTask > 50 ? '  warning: a task of the check above 50 ms' : ''}`);
  }
}
process.exit(status);
