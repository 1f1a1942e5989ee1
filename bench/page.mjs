// Measures how soon the browser page shows its first menu against a floor:
// a page with nothing but the same xterm.js (and its fit add-on), xterm.js's
// CSS and the page's font, which writes the program's banner and menu at
// once. Both mark the moment the menu is written and the next frame is due
// (performance mark "tavro-menu"); the loads alternate, each in a fresh
// browser context. Chromium at 1x and 4x CPU throttling (the 4x one at a
// phone's 390x844), Firefox at 1x; prints each median and the ratio, and a
// warning where the page takes more than BUDGET times the floor. A noisy
// machine gives noisy figures: the status is 0 unless a browser fails.
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

const work = mkdtempSync(join(tmpdir(), 'tavro-floor-'));
const floorPath = join(work, 'floor.html');
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
  { name: 'Chromium 1x', options: chromium, throttle: 1, viewport: { width: 1400, height: 900 } },
  { name: 'Chromium 4x', options: chromium, throttle: 4,
    viewport: { width: 390, height: 844, isMobile: true, hasTouch: true } },
  { name: 'Firefox 1x', options: firefox, throttle: 1, viewport: { width: 1400, height: 900 } },
];

// One load of `url`: milliseconds from the navigation's start to the mark.
const load = async (browser, row, url) => {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport(row.viewport);
    if (row.throttle !== 1) await page.emulateCPUThrottling(row.throttle);
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName('tavro-menu').length > 0,
                               { timeout: 60000 });
    return await page.evaluate(() => performance.getEntriesByName('tavro-menu')[0].startTime);
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
try {
  for (const row of rows) {
    const browser = await puppeteer.launch({ headless: true, ...row.options });
    try {
      const floorTimes = [];
      const pageTimes = pagePaths.map(() => []);
      await load(browser, row, pathToFileURL(floorPath).href);  // warms the browser's own start
      for (let k = 0; k < loads; ++k) {
        floorTimes.push(await load(browser, row, pathToFileURL(floorPath).href));
        for (const [p, path] of pagePaths.entries()) {
          pageTimes[p].push(await load(browser, row, pathToFileURL(path).href));
        }
      }
      const floor = median(floorTimes);
      for (const [p, times] of pageTimes.entries()) {
        const page = median(times);
        const name = pagePaths.length > 1 ? `${row.name}, ${p + 1}` : row.name;
        lines.push({ name, floor, page, ratio: page / floor });
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

console.log(`first menu, median of ${loads} loads each (ms)`);
if (pagePaths.length > 1) pagePaths.forEach((path, p) => console.log(`page ${p + 1}: ${path}`));
console.log('                    floor     page    ratio');
for (const { name, floor, page, ratio } of lines) {
  console.log(`${name.padEnd(17)} ${floor.toFixed(0).padStart(7)} ${page.toFixed(0).padStart(8)} ` +
              `${ratio.toFixed(2).padStart(8)}${ratio > budget ? `  warning: above ${budget}x the floor` : ''}`);
}
process.exit(status);
