// The first screen the page draws before its program has started, in
// headless Chromium and Firefox: the one the build took from the Linux
// program is the one the page's program writes, a first screen that is not
// is drawn again as the program writes it, and keys typed before the
// program waits reach it in order. TAVRO_PAGE: the built tavro.html;
// TAVRO_NATIVE: the Linux program.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { linux } from './sessions.mjs';

const built = readFileSync(process.env.TAVRO_PAGE, 'utf8');
const block = /(<script type="application\/octet-stream" id="tavro-first">)([^<]*)(<\/script>)/;
const captured = Buffer.from(built.match(block)[2], 'base64').toString('utf8');
const work = mkdtempSync(join(tmpdir(), 'tavro-first-'));
after(() => rmSync(work, { recursive: true, force: true }));

// The page with `first` as its first screen.
const pageWith = (name, first) => {
  const path = join(work, `${name}.html`);
  writeFileSync(path, built.replace(block, (_, open, __, close) =>
    `${open}${Buffer.from(first, 'utf8').toString('base64')}${close}`));
  return pathToFileURL(path).href;
};

// The screen a terminal shows for `text`: lines without trailing blanks.
const screenOf = (text) => text.split('\n').map((line) => line.trimEnd()).join('\n').trimEnd();

const keys = 'w   ';  // the display's three pages, then the menu again
const firstScreens = [
  ['as the build took it', captured, 'same'],
  ['one byte other', captured.replace('Exit', 'Exiz'), 'redrawn'],
  ['longer than what the program writes', `${captured}F9 z Mehr\n`, 'redrawn'],
  ['shorter than what the program writes', captured.slice(0, captured.lastIndexOf('F8')), 'redrawn'],
];

const browsers = {
  chromium: { browser: 'chrome', executablePath: '/usr/bin/chromium',
              args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync'] },
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr' },
};

for (const [name, options] of Object.entries(browsers)) {
  describe(name, () => {
    test('the first screen drawn at once, the program\'s own output kept, keys typed before it waits answered', async () => {
      const browser = await puppeteer.launch({ headless: true, ...options });
      try {
        const expected = linux(keys);
        assert.ok(expected.startsWith(captured), 'the build took what the program writes first');
        for (const [what, first, outcome] of firstScreens) {
          const page = await browser.newPage();
          const errors = [];
          page.on('pageerror', (error) => errors.push(error.message));
          // The program starts only once the keys are typed.
          await page.evaluateOnNewDocument(() => {
            const { instantiate } = WebAssembly;
            const typed = new Promise((resolve) => { window.typed = resolve; });
            WebAssembly.instantiate = (...args) => typed.then(() => instantiate(...args));
          });
          await page.goto(pageWith(what.replaceAll(' ', '-'), first));
          await page.waitForFunction(() => performance.getEntriesByName('tavro-menu').length > 0);
          assert.equal(await page.evaluate(() => window.tavro.transcript()), '', `${what}: the program wrote already`);
          assert.equal(await page.evaluate(() => window.tavro.screen()), screenOf(first), what);
          await page.focus('.xterm-helper-textarea');
          await page.keyboard.type(keys);
          await page.evaluate(() => window.typed());
          await page.waitForFunction((n) => window.tavro.transcript().length >= n, {}, expected.length);
          await new Promise((resolve) => { setTimeout(resolve, 200); });  // nothing more comes
          const [transcript, screen, firstScreen] = await page.evaluate(
            () => [window.tavro.transcript(), window.tavro.screen(), window.tavro.firstScreen()]);
          assert.deepEqual([transcript, screen, firstScreen, errors], [expected, screenOf(expected), outcome, []], what);
          await page.close();
        }
      } finally {
        await browser.close();
      }
    });
  });
}
