// The page in headless Chromium and Firefox, typed at as a person would,
// against the Linux program for the same keys. TAVRO_PAGE: the built
// tavro.html; TAVRO_NATIVE: the Linux program.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, afterEach, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { isDeepStrictEqual } from 'node:util';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { linux, named, session, sessions, tokens, withoutEchoes } from './sessions.mjs';

const pagePath = process.env.TAVRO_PAGE;
if (!pagePath) throw new Error('TAVRO_PAGE must name the built page');
const pageUrl = pathToFileURL(pagePath).href;
const downloads = mkdtempSync(join(tmpdir(), 'tavro-downloads-'));
after(() => rmSync(downloads, { recursive: true, force: true }));
const sleep = (ms) => new Promise((resolve) => { setTimeout(resolve, ms); });

// The file the browser downloaded as `name`, once it is complete; removed.
const downloaded = async (name, complete = (text) => text !== '') => {
  const file = join(downloads, name);
  let text = '';
  for (let k = 0; k < 100 && !complete(text); ++k) {
    await sleep(50);
    text = existsSync(file) ? readFileSync(file, 'utf8') : '';
  }
  rmSync(file, { force: true });
  return text;
};

// Waits until `read()` gives `expected` (the page answers a little later
// than it shows), then asserts it does.
const eventually = async (read, expected) => {
  let value = await read();
  for (let k = 0; k < 200 && !isDeepStrictEqual(value, expected); ++k) {
    await sleep(50);
    value = await read();
  }
  assert.deepEqual(value, expected);
};

const browsers = {
  chromium: {
    browser: 'chrome',
    executablePath: '/usr/bin/chromium',
    // This machine has no network; without these Chromium keeps trying.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    downloadBehavior: { policy: 'allow', downloadPath: downloads },
  },
  firefox: {
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    extraPrefsFirefox: {
      'browser.download.folderList': 2,
      'browser.download.dir': downloads,
      'browser.download.useDownloadDir': true,
      'browser.download.always_ask_before_handling_new_types': false,
      'browser.helperApps.neverAsk.saveToDisk': 'text/plain',
    },
  },
};

for (const [name, options] of Object.entries(browsers)) {
  describe(name, () => {
    let browser;
    let page;
    let requests;
    const errors = [];  // uncaught errors of every page opened
    before(async () => {
      browser = await puppeteer.launch({ headless: true, ...options });
    });
    after(async () => browser?.close());

    // Opens the page afresh (`prepare(page)` first, if given) and waits for
    // the first menu; returns the time that took in milliseconds.
    const open = async (url = pageUrl, viewport = null, prepare = null) => {
      await page?.close();
      page = await browser.newPage();
      if (viewport) await page.setViewport(viewport);
      await prepare?.(page);
      requests = [];
      page.on('request', (request) => requests.push(request.url()));
      page.on('pageerror', (error) => errors.push(error.message));
      await page.evaluateOnNewDocument(() => {
        window.violations = [];
        document.addEventListener('copy', (event) => {
          window.copied = event.clipboardData.getData('text/plain');
        });
        document.addEventListener('securitypolicyviolation',
                                  (event) => window.violations.push(event.blockedURI));
      });
      const start = Date.now();
      await page.goto(url);
      await menu();
      return Date.now() - start;
    };
    // Waits until `tab` shows the first menu of a run.
    const menu = (tab = page) =>
      tab.waitForFunction(() => window.tavro?.transcript().endsWith('F8 q Exit\n'));
    const transcript = () => page.evaluate(() => window.tavro.transcript());
    // Waits until two frames are drawn: what a frame's callbacks did is on the screen.
    const frames = () => page.evaluate(() => new Promise((resolve) => {
      requestAnimationFrame(() => requestAnimationFrame(resolve));
    }));
    // Waits until the screen shows `text`.
    const shows = (text) =>
      page.waitForFunction((t) => window.tavro.screen().includes(t), {}, text);

    // Waits until the page has shown nothing new for a while: the program
    // waits for the next key or line. (What is typed earlier waits in order,
    // so this paces the typing but decides no result.)
    const settle = async () => {
      let last = -1;
      for (let same = 0; same < 3;) {
        await new Promise((resolve) => setTimeout(resolve, 25));
        const length = (await transcript()).length;
        same = length === last ? same + 1 : 0;
        last = length;
      }
    };

    const press = async (token) => {
      const [key] = named[token] ?? [];
      if (token.startsWith('<c-')) {
        await page.keyboard.down('Control');
        await page.keyboard.press(key);
        await page.keyboard.up('Control');
      } else if (key) {
        await page.keyboard.press(key);
      } else {
        await page.keyboard.type(token);
      }
    };
    const type = async (step) => {
      for (const token of tokens(step)) await press(token);
      await settle();
    };
    // Waits until the size `button` can be taken over: no check under way,
    // whose rows (dimmed) take no click.
    const takeable = (button) => page.waitForFunction((b) => !window.tavroSizes.busy() &&
      document.querySelector(b)?.disabled === false, {}, button);
    const ended = (status) =>
      shows(`TAVRO ist beendet (Status ${status}). Eine beliebige Taste startet es neu.`);
    const topBar = () => page.$eval('#notice', (e) => e.textContent);
    const notice = () => page.evaluate(() => window.tavro.notice());
    const caseNow = () => page.evaluate(() => window.tavro.case());

    // Does `action` while recording the page's questions (window.confirm,
    // the browser's own before the page is left), answered in turn as
    // `answers` says (true: yes); resolves to their kinds.
    const asked = async (answers, action) => {
      const kinds = [];
      const answer = (dialog) => {
        kinds.push(dialog.type());
        return answers[kinds.length - 1] ? dialog.accept() : dialog.dismiss();
      };
      page.on('dialog', answer);
      try {
        await action();
      } finally {
        page.off('dialog', answer);
      }
      return kinds;
    };
    // Reloads the tab, asserting the browser asks first exactly when the
    // case would be lost (and letting it go on), and waits for the first menu.
    const reload = async (question = true) => {
      const kinds = await asked([true], async () => {
        await page.reload();
        await menu();
      });
      assert.deepEqual(kinds, question ? ['beforeunload'] : []);
    };

    // Clears what a test left in local storage (a table of sizes, the last
    // case), failed or not, so that no later page meets it.
    afterEach(async () => {
      await page?.evaluate(() => localStorage.clear()).catch(() => {});
    });

    test('opens from disk within the budget, under a policy that lets nothing out', async () => {
      const size = statSync(pagePath).size;
      const gzipped = gzipSync(readFileSync(pagePath), { level: 9 }).length;
      assert.ok(size <= 900 * 1024 && gzipped <= 300 * 1024, `${size} bytes, ${gzipped} gzipped`);
      const ms = await open();
      console.log(`${name}: first menu ${ms} ms after opening the file`);
      assert.ok(ms < 3000, `first menu after ${ms} ms`);
      const csp = await page.$eval('meta[http-equiv="Content-Security-Policy"]',
                                   (meta) => meta.content);
      assert.match(csp, /^default-src 'none'; script-src ('sha256-[^']+' )+'wasm-unsafe-eval'/);
      assert.equal(await page.title(), 'TAVRO – Kupplungsberechnung nach DIN 740');
      // The menu was on the screen before the rest of the page was made.
      await page.waitForFunction(() => performance.getEntriesByName('tavro-engine').length > 0);
      const marks = await page.evaluate(() => Object.fromEntries(
        performance.getEntriesByType('mark').map((m) => [m.name, m.startTime])));
      for (const part of ['tavro-d3', 'tavro-panel', 'tavro-sizes', 'tavro-engine']) {
        assert.ok(marks['tavro-menu'] < marks[part], JSON.stringify(marks));
      }
      // The panel's content, held back for the first menu's frame, is shown.
      await page.waitForFunction(() => document.getElementById('case-name').checkVisibility());
    });

    test('the terminal is fitted anew whenever its box changes size; a reload keeps the page where it was', async () => {
      await open(pageUrl, { width: 1400, height: 900 });
      const grid = () => page.$eval('.xterm-screen', (screen) => ({
        rows: screen.querySelectorAll('.xterm-rows > div').length,
        width: Math.round(screen.getBoundingClientRect().width) }));
      const fitted = (expected) => page.waitForFunction((e) => {
        const screen = document.querySelector('.xterm-screen');
        return JSON.stringify({ rows: screen.querySelectorAll('.xterm-rows > div').length,
                                width: Math.round(screen.getBoundingClientRect().width) }) === e;
      }, {}, JSON.stringify(expected));
      const wide = await grid();
      await page.setViewport({ width: 1400, height: 600 });  // only the height
      await page.waitForFunction((r) => document.querySelectorAll('.xterm-rows > div').length < r, {}, wide.rows);
      await page.setViewport({ width: 390, height: 844 });
      await page.waitForFunction((w) => document.querySelector('.xterm-screen')
        .getBoundingClientRect().width < w, {}, Math.min(wide.width, 390));
      await page.setViewport({ width: 1400, height: 900 });
      await fitted(wide);
      // Narrower, the panel is under the terminal: scrolled down to it, a
      // reload comes back there, as the page is as long from its start.
      await page.setViewport({ width: 1000, height: 900 });
      await page.evaluate(() => window.scrollTo(0, 600));
      await page.reload();
      await menu();
      assert.ok(await page.evaluate(() => window.scrollY) > 0, 'a reload went back to the top');
    });

    test('keys typed while the page is still being made are the first the program reads', async () => {
      // Typed the moment the page's first script has run, long before the
      // terminal opens: "w" and three pages on, then the menu again.
      await open(pageUrl, null, (tab) => tab.evaluateOnNewDocument(() => {
        let boot;
        Object.defineProperty(window, 'tavroBoot', { configurable: true, get: () => boot, set: (value) => {
          boot = value;
          for (const key of 'w   ') document.body.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
        } });
      }));
      await page.waitForFunction(() => window.tavro.transcript().split('F8 q Exit').length === 3);
      assert.equal(await transcript(), linux('w   '));
    });

    for (const [title, s] of Object.entries(sessions)) {
      test(`${title}: the Linux program's bytes plus the echo`, async () => {
        await open();
        for (const step of s.steps) await type(step);
        await ended(0);
        assert.equal(withoutEchoes(await transcript(), s.echoes), linux(s.input));
      });
    }

    test('a line typed ahead is echoed when its prompt takes it', async () => {
      await open();
      await page.keyboard.type('a7 8 9\r');
      await shows('Ordnungszahl= ');
      assert.match(await transcript(), /F8 q Exit\nNennmoment TLN\[Nm\]= 7 8 9\n\nDrehzahl/);
    });

    for (const [how, keys, end, status] of [
      ['q', 'q', 'F8 q Exit\n', 0],
      ['Ctrl-C at a prompt', 'a<c-c>', 'TLN[Nm]= ^C', 130],
      ['Ctrl-D at a prompt', 'a<c-d>', 'TLN[Nm]= \n', 0],
    ]) {
      test(`${how} ends the run, a key starts a new one`, async () => {
        await open();
        for (const token of tokens(keys)) await type(token);
        await ended(status);
        assert.ok((await transcript()).endsWith(end));
        await press('q');  // starts the new run and is not taken as its q
        await menu();
        assert.equal(await transcript(), linux(''));
      });
    }

    test('a timed read an ended run left does not keep the next run\'s read from waking', async () => {
      await open();
      await type('q');
      await ended(0);
      // The terminal as two runs use it: the first left a timed read (an Esc
      // waiting for the rest of its key), the second waits for a key.
      const woke = await page.evaluate(async () => {
        const terminal = window.tavroTerminal;
        terminal.begin();
        terminal.read(1, 30);
        terminal.begin();
        const read = terminal.read(1, -1);
        await new Promise((resolve) => setTimeout(resolve, 100));
        terminal.send('x');
        return Promise.race([read.then((bytes) => String.fromCharCode(...bytes)),
          new Promise((resolve) => setTimeout(() => resolve('not woken'), 1000))]);
      });
      assert.equal(woke, 'x');
    });

    test('the terminal draws with the page\'s own font', async () => {
      await open();
      assert.match(await page.$eval('.xterm-rows', (e) => getComputedStyle(e).fontFamily),
                   /^"?JetBrains Mono"?,/);
      assert.ok(await page.evaluate(() => document.fonts.check('15px "JetBrains Mono"')));
    });

    test('the grid at 800x600 is the same whatever monospace font the machine prefers', async () => {
      const conf = join(downloads, 'fonts.conf');
      const script = fileURLToPath(new URL('other-monospace.sh', import.meta.url));
      const other = spawnSync('sh', [script, conf], { encoding: 'utf8' });
      assert.equal(other.status, 0, other.stderr);
      const grids = [];
      for (const env of [process.env, { ...process.env, FONTCONFIG_FILE: conf }]) {
        const second = await puppeteer.launch({ headless: true, ...options, env });
        try {
          const tab = await second.newPage();
          await tab.setViewport({ width: 800, height: 600 });
          await tab.goto(pageUrl);
          await menu(tab);
          grids.push(await tab.$eval('.xterm-screen', (screen) => {
            const rows = screen.querySelectorAll('.xterm-rows > div');
            return { rows: rows.length, rowHeight: rows[0].getBoundingClientRect().height,
                     width: screen.getBoundingClientRect().width };
          }));
        } finally {
          await second.close();
        }
      }
      console.log(`${name}: grid ${JSON.stringify(grids[0])}; other font ${other.stdout.trim()}`);
      assert.deepEqual(grids[1], grids[0]);
    });

    test('Ctrl-C with text selected copies instead of ending the run', async () => {
      await open();
      // Drags over the start of the menu's line "F7 g Compute", found on the
      // screen wherever it is.
      const box = await page.$$eval('.xterm-rows > div', (rows) => rows
        .find((row) => row.textContent.startsWith('F7 g Compute')).getBoundingClientRect().toJSON());
      const screen = await page.$eval('.xterm-screen', (e) => e.getBoundingClientRect().toJSON());
      const middle = box.y + box.height / 2;
      await page.mouse.move(screen.x + 2, middle);
      await page.mouse.down();
      await page.mouse.move(screen.x + 60, middle, { steps: 5 });
      await page.mouse.up();
      await press('<c-c>');
      await page.waitForFunction(() => window.copied !== undefined);
      assert.match(await page.evaluate(() => window.copied), /^F7/);
      await press('g');
      await shows('Ergebnisse 1.Teil');
    });

    test('the saved protocol is the run as shown: corrections made, no control characters', async () => {
      await open();
      for (const step of ['a', '99<c-u>12x<bs>00 1500 2<enter>']) await type(step);
      await page.click('#save');
      const expected = await page.evaluate(() => window.tavro.saved());
      const saved = await downloaded('tavro-protokoll.txt', (text) => text === expected);
      assert.equal(saved, expected);
      assert.match(saved, /^Nennmoment TLN\[Nm\]= 1200 1500 2$/m);
      assert.doesNotMatch(saved, /[\x00-\x09\x0b-\x1f\x7f]/);
    });

    test('"Fall speichern" gives the Linux program the case; "Fall öffnen" of its template gives the example', async () => {
      await open();
      for (const step of ['a', '480 1480 3<enter>', 'b', '2,5 1,25 1 1<enter>']) await type(step);
      await page.click('#case-save');
      const saved = await downloaded('tavro-fall.txt');
      await type('w   ');
      await menu();
      const shown = await transcript();
      const display = (text) => text.slice(text.indexOf('momentan def. Werte 1:'), text.lastIndexOf('weiter mit bel.Taste..'));
      const typed = spawnSync('bash', ['-c', 'f=$(mktemp); cat > "$f"; printf "w   q" | "$0" "$f"; rm "$f"',
                                       process.env.TAVRO_NATIVE], { input: saved });
      assert.equal(display(typed.stdout.toString()), display(shown));

      const template = spawnSync(process.env.TAVRO_NATIVE, ['--template']).stdout.toString();
      // The running case is not the example: the page asks first.
      assert.deepEqual(await asked([true], () => page.evaluate((t) => window.tavro.openCase(t), template)),
                       ['confirm']);
      await page.waitForFunction(() => window.tavro.case()?.TLN === 159);
      const example = await caseNow();
      assert.deepEqual([example.TLN, example.n, example.i, example.JA, example.startLoaded], [159, 1500, 2, 2.3, 0]);
      await eventually(topBar, 'Fall aus „fall.txt“ geöffnet.');
    });

    // Waits until `file` in the downloads holds a whole text, and takes it.
    const downloaded = async (file) => {
      const path = join(downloads, file);
      let text = '';
      for (let k = 0; k < 100 && !text.endsWith('\n'); ++k) {
        await new Promise((resolve) => setTimeout(resolve, 50));
        text = existsSync(path) ? readFileSync(path, 'utf8') : '';
      }
      rmSync(path, { force: true });
      return text;
    };

    test('the name typed goes with the case: its file, the size taken over, the report, the session, a reload', async () => {
      const name = 'Pumpe P-101, Motor 90 kW';
      await open();
      assert.equal(await page.$eval('#case-name', (e) => e.value), '');
      await page.type('#case-name', name);
      await page.keyboard.press('Enter');  // the keys go to the terminal again
      assert.equal(await page.evaluate(() => window.tavro.name()), name);
      await page.waitForFunction(() => window.tavro.link().includes('&name='));
      const link = new URL(await page.evaluate(() => window.tavro.link()));
      assert.equal(new URLSearchParams(link.hash.slice(1)).get('name'), name);

      // A size taken over names the case while the case holds its values.
      const size = ['310', '620', '75', '2900.5', '0.9', '14'];
      await page.evaluate((t) => window.tavro.sizes(t), `Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\nS1;${size.join(';')}\n`);
      await takeable('#series-table button[data-size="0"]');
      await page.$eval('#series-table button[data-size="0"]', (b) => b.click());
      await page.waitForFunction(() => /übernommen/.test(document.getElementById('notice').textContent));
      await page.click('#case-save');
      const file = await downloaded('tavro-pumpe-p-101-motor-90-kw.txt');
      assert.match(file, new RegExp(`^Bezeichnung = ${name}\nBaugröße = S1$`, 'm'));
      assert.match(file, /^TKN = 310$/m);
      const checked = spawnSync('bash', ['-c', 'f=$(mktemp); cat > "$f"; "$0" --check "$f"; rm "$f"',
                                         process.env.TAVRO_NATIVE], { input: file }).stdout.toString();
      assert.match(checked, new RegExp(`^Bezeichnung: ${name}\nBaugroesse: S1\n`, 'm'));

      // The report and the saved session begin with the name and the size.
      await type('g');
      await type('x');
      await page.waitForFunction(() => document.querySelectorAll('#report p').length > 2);
      const head = await page.$$eval('#report > p', (ps) => ps.slice(0, 3).map((p) => p.textContent));
      assert.deepEqual(head.slice(0, 2), [`Bezeichnung: ${name}`, 'Baugröße: S1']);
      assert.match(head[2], /^\d+\.\d+\.\d{4}, .* – berechnet mit TAVRO /);
      const saved = await page.evaluate(() => window.tavro.saved());
      assert.ok(saved.startsWith(`Bezeichnung: ${name}\nBaugröße: S1\n\nTAVRO`), saved.slice(0, 80));

      // A text that is no name is said, and saves nothing; a new name, kept over a reload.
      const edit = (text) => page.$eval('#case-name', (e, t) => {
        e.value = t;
        e.dispatchEvent(new Event('input'));
      }, text);
      await edit('Pumpe\x07');
      await page.waitForFunction(() => /ohne Steuerzeichen/.test(document.getElementById('notice').textContent));
      await edit('Pumpe P-102');
      await page.waitForFunction(() => document.getElementById('notice').textContent === '' &&
                                 sessionStorage.getItem('tavro.case')?.includes('name=Pumpe%20P-102'));
      await reload();
      assert.equal(await page.evaluate(() => window.tavro.name()), 'Pumpe P-102');
      assert.match(await page.evaluate(() => window.tavro.link()), /&name=Pumpe%20P-102&size=S1$/);
      await type('g');
      await type('x');
      await page.waitForFunction(() => document.getElementById('panel-title').textContent ===
                                 'Auswertung – Baugröße S1');
      await page.evaluate(() => window.tavro.sizes(''));

      // A name typed into the example makes it the user's case: a file does
      // not replace it unasked, even before the program has taken the name.
      await open();
      await edit('Pumpe P-103');
      assert.deepEqual(await asked([false], () => page.evaluate(() => window.tavro.openCase('TLN = 159\n'))),
                       ['confirm']);
      assert.equal(await page.evaluate(() => window.tavro.name()), 'Pumpe P-103');
      // Ended at once, the run leaves its case with the name for "Letzten Fall laden".
      await type('q');
      await ended(0);
      await page.click('#restore');
      await menu();
      await page.waitForFunction(() => window.tavro.name() === 'Pumpe P-103');
    });

    // The example, a changed case and one that cannot be computed, each
    // through all three result pages.
    for (const [title, keys] of [
      ['the example case', ['g', ' ', ' ', ' ']],
      ['a slow case excited on the load side',
        ['a', '100 500 3<enter>', 'b', '2.3 1 1 1<enter>', 'c', '239 80 477 50<enter>',
          'g', ' ', ' ', ' ']],
      ['a case without values', ['b', '2.3 0 0 0<enter>', 'd', '0 0 0 0 0 0<enter>', 'g', 'x']],
    ]) {
      test(`${title}: check() and the panel show what the Linux program prints`, async () => {
        await open();
        assert.equal(await page.evaluate(() => window.tavro.check()), null);
        for (const step of keys) await type(step);
        await page.waitForFunction(() => window.tavro.check() !== null);
        const s = session([...keys.slice(0, keys.indexOf('g')), 'g', ' ', ' ', ' ']);
        const printed = linux(s.input);
        // NaN and the infinities cross as strings: puppeteer's Chromium
        // gives them back as null.
        const check = JSON.parse(await page.evaluate(() => JSON.stringify(window.tavro.check(),
          (key, value) => (typeof value === 'number' && !Number.isFinite(value) ? `${value}` : value))),
        (key, value) => ({ NaN, Infinity, '-Infinity': -Infinity })[value] ?? value);
        const values = [...printed.matchAll(/^(\w+) *= ?(\S+)/gm)]
          .filter(([, name]) => name in check.results);
        assert.equal(values.length, 12);
        for (const [, name, value] of values) assert.equal(check.printed[name], value, name);
        const verdicts = [...printed.matchAll(/(nicht )?okay!$/gm)].map(([, not]) => !not);
        assert.deepEqual(check.checks.map((c) => c.okay), verdicts);
        assert.ok(check.curve.every(([n, t]) => typeof n === 'number' && typeof t === 'number'));

        const rows = await page.$$eval('#panel .rows tr',
                                       (trs) => trs.map((tr) => `${tr.innerText.replace(/\s+/g, ' ')} `));
        check.checks.forEach((c, k) => {
          assert.ok(rows[k].includes(`= ${check.printed[c.valueName]} `), rows[k]);
          assert.ok(rows[k].includes(`${c.limitName} = ${check.printed[c.limitName]} `), rows[k]);
          const verdict = Number.isNaN(c.value) ? 'nicht berechenbar' : c.okay ? 'okay' : 'nicht okay';
          assert.ok(rows[k].includes(verdict), rows[k]);
        });
        if (title === 'a case without values') assert.ok(rows.some((r) => r.includes('nicht berechenbar')));
        if (name !== 'chromium') return;

        // The report: a first A4 page that holds every verdict, then the
        // Rechenweg on a page of its own.
        const pdf = join(downloads, 'report.pdf');
        await page.pdf({ path: pdf, format: 'A4' });
        const info = spawnSync('pdfinfo', [pdf]).stdout.toString();
        assert.match(info, /^Pages: +2$/m);
        assert.match(info, /^Page size: +595(\.\d+)? x 841(\.\d+)? pts \(A4\)$/m);
        const pageText = (k) => spawnSync('pdftotext', ['-layout', '-f', k, '-l', k, pdf, '-'])
          .stdout.toString();
        const text = pageText('1');
        assert.match(pageText('2'), /^\s*Rechenweg\n/);
        rmSync(pdf);
        for (const row of rows) {
          const verdict = row.match(/nicht berechenbar|nicht okay|okay/)[0];
          assert.match(text, new RegExp(`${verdict}\\s*$`, 'm'));
        }
        assert.ok(text.includes('Stoss L:TKmax'), 'result pages in the report');
      });
    }

    test('the Rechenweg shows every step the program hands over, and the six comparisons', async () => {
      await open();
      for (const step of ['b', '2.3 1 1 1<enter>', 'g', 'x']) await type(step);
      await page.waitForFunction(() => window.tavro.check() !== null);
      const steps = await page.evaluate(() => window.tavro.check().steps
        .map(({ symbol, condition }) => ({ symbol, condition })));
      assert.deepEqual(steps.map((s) => s.symbol), ['TLNmax', 'rJ', 'TL0', 'TSA', 'TSAmax', 'TSL',
        'TSLmax', 'TIK', 'VR', 'TSi', 'TSmax', 'fe', 'nR', 'fn', 'ferr', 'psi2', 'Vfi', 'Sf', 'TWi',
        'TWimax', 'PWi', 'PWimax']);
      assert.equal(await page.$eval('#steps', (e) => e.hidden), true);  // closed at first
      await page.click('#steps-toggle');
      const lines = await page.$$eval('#steps .steps li', (items) => items.map((li) => ({
        text: li.textContent, math: li.querySelector('math') !== null })));
      assert.equal(lines.length, steps.length);
      lines.forEach((line, k) => {
        assert.ok(line.math, steps[k].symbol);
        assert.ok(line.text.startsWith(steps[k].condition), line.text);
      });
      assert.ok(lines[2].text.startsWith('Anfahren mit Last: '));
      assert.ok(lines[7].text.startsWith('Anregung auf der Lastseite: '));
      assert.deepEqual(await page.$$eval('#steps .comparisons li', (items) => items.map((li) => li.textContent)),
        ['TLNmax = 190.8 Nm ≤ TKN = 265 Nm → okay!', 'TSAmax = 347.236 Nm ≤ TKmax = 530 Nm → okay!',
         'TSLmax = 908.902 Nm > TKmax = 530 Nm → nicht okay!', 'TSmax = 190.8 Nm ≤ TKmax = 530 Nm → okay!',
         'TWimax = 0 Nm ≤ TKW = 69 Nm → okay!', 'PWimax = 0 W ≤ PKW = 12 W → okay!']);
    });

    for (const viewport of [{ width: 1400, height: 900 }, { width: 390, height: 844 }]) {
      test(`the Rechenweg at ${viewport.width}x${viewport.height}: every result in sight, nothing scrolls`, async () => {
        await open(pageUrl, viewport);
        for (const step of ['g', 'x']) await type(step);
        await page.click('#steps-toggle');
        const layout = await page.$eval('#steps', (section) => {
          const box = section.getBoundingClientRect();
          const scrolling = [...section.querySelectorAll('*')].filter((e) =>
            ['auto', 'scroll'].includes(getComputedStyle(e).overflowX) || e.scrollWidth > e.clientWidth + 1)
            .filter((e) => e.clientWidth > 0).map((e) => e.outerHTML.slice(0, 60));
          const outside = [...section.querySelectorAll('.steps li')].filter((li) => {
            const result = li.querySelector('.piece:last-of-type').getBoundingClientRect();
            return result.left < box.left - 0.5 || result.right > box.right + 0.5;
          }).map((li) => li.textContent);
          return { scrolling, outside, pieces: section.querySelectorAll('.steps li math').length };
        });
        assert.deepEqual(layout, { scrolling: [], outside: [], pieces: 3 * 22 });
      });
    }

    test('the help line says what was read of "48o", "w480" and "1.480"; a reload keeps the case', async () => {
      await open();
      await type('a');
      await type('48o<enter>');
      await eventually(notice, '„48o“: TLN = 48 Nm gelesen; „o“ ist keine Zahl, n bleibt 1500 1/min.');
      assert.ok((await page.$eval('#prompt-help', (e) => e.textContent)).startsWith(await notice()));
      await type('w480<enter>');
      await eventually(notice, '„w480“: keine Zahl, i bleibt 2.');
      await type('a');  // the notice stays at the menu and until the next line
      assert.equal(await notice(), '„w480“: keine Zahl, i bleibt 2.');
      await type('50<enter>');
      await eventually(notice, null);  // a line read as typed ends it
      await type('1.480<enter>');
      await page.waitForFunction(() => window.tavro.notice() !== null);
      assert.match(await notice(), /^„1\.480“: n = 1,48 1\/min gelesen – Tausenderpunkte/);
      await type('3<enter>');
      await page.waitForFunction(() => window.tavro.case().i === 3);
      const changed = await caseNow();
      assert.deepEqual([changed.TLN, changed.n, changed.i], [50, 1.48, 3]);

      await reload();
      assert.deepEqual(await caseNow(), changed);
      assert.match(await topBar(), /vor dem Neuladen ist wieder da/);
      await page.click('#notice button');  // the example instead
      await page.waitForFunction(() => window.tavro.case()?.TLN === 159 &&
                                 JSON.parse(sessionStorage.getItem('tavro.case')).example);
      await page.evaluate(() => sessionStorage.setItem('tavro.case', '{"link": 5'));
      await reload(false);  // an unreadable kept case is named and dropped
      assert.match(await topBar(), /nicht lesbar und ist verworfen/);
      assert.equal((await caseNow()).TLN, 159);
    });

    test('a reload in the middle of dialog c keeps what was typed; q and a key end what the bar said', async () => {
      await open();
      for (const step of ['c', '900<enter>', '300<enter>']) await type(step);
      await page.waitForFunction(() => window.tavro.prompt()?.field === 'TLS' &&
                                 sessionStorage.getItem('tavro.case')?.includes('TAS=900&TAI=300&'));
      await reload();
      const kept = await caseNow();
      assert.deepEqual([kept.TAS, kept.TAI, kept.TLS], [900, 300, 477]);
      await eventually(topBar, 'Der Fall dieses Tabs vor dem Neuladen ist wieder da. Mit dem Beispielfall beginnen');
      await type('q');
      await ended(0);
      await type('x');  // starts a run with the example case
      await page.waitForFunction(() => window.tavro.transcript().endsWith('F8 q Exit\n') &&
                                 window.tavro.case().TAS === 239);
      await eventually(topBar, '');
    });

    test('a link pasted into the open tab starts its case, asking first when the case was changed', async () => {
      await open();
      // Pastes `fragment`, answering the questions as `answers` says, and
      // waits for `done` in the page; resolves to the questions' kinds.
      const paste = (fragment, answers, done) => asked(answers, async () => {
        await page.evaluate((f) => { location.hash = f; }, fragment);
        await page.waitForFunction(done);
      });
      // The example, unchanged: no question.
      assert.deepEqual(await paste('TLN=77', [], () => window.tavro.case()?.TLN === 77), []);
      await type('a');
      await type('50 1500 2<enter>');
      assert.deepEqual(await paste('TLN=88', [false],
        () => sessionStorage.getItem('tavro.case')?.includes('"fragment":"#TLN=88"')), ['confirm']);
      assert.equal((await caseNow()).TLN, 50);  // kept, as answered
      assert.deepEqual(await paste('TLN=99', [true], () => window.tavro.case()?.TLN === 99), ['confirm']);
      await eventually(topBar, '');
    });

    // The display pages, as the program prints them, in a transcript.
    const display = (text) => text.match(/momentan def\. Werte 1:[^]*?PKW {2}= .*\n/)[0];
    const showValues = async () => {
      for (const key of ['w', ' ', ' ', ' ']) await type(key);
      return display(await transcript());
    };

    test('the case lives on: "Letzten Fall laden" after q and one key more, a link opened anew, a new tab', async () => {
      await open();
      for (const step of ['a', '100 1200 3<enter>', 'c', '239 80 477 12,5<enter>']) await type(step);
      const expected = display(linux('a100 1200 3\nc239 80 477 12,5\nw   q'));
      const link = await page.evaluate(() => window.tavro.link());
      assert.ok(link.startsWith(`${pageUrl}#TLN=100&n=1200&i=3&JA=2.3&`), link);
      await type('q');
      await ended(0);
      await type('x');  // one key too many starts a run with the example case
      await menu();
      await page.click('#restore');
      await menu();
      assert.equal(await transcript(), linux(''));  // the same banner and menu
      assert.equal(await showValues(), expected);

      await open(link);
      assert.equal(await showValues(), expected);
      assert.equal(await page.$eval('#notice', (e) => e.textContent), '');

      // A new tab, with no case of its own from before, offers the last.
      await page.waitForFunction(() => localStorage.getItem('tavro.lastCase') === window.tavro.link().split('#')[1]);
      await open();
      await page.waitForFunction(() => !document.getElementById('restore').hidden);
      assert.equal((await caseNow()).TLN, 159);
      await page.click('#restore');
      await page.waitForFunction(() => window.tavro.case()?.TLN === 100);
      await menu();
      assert.equal(await showValues(), expected);
      await eventually(topBar, '');
    });

    test('a kept case of the wrong shape is dropped, one with bad parts named; a new link in the tab wins', async () => {
      await open();
      const unreadable = 'Der gespeicherte Fall dieses Tabs war nicht lesbar und ist verworfen.';
      for (const [record, bar, TLN] of [
        ['null', unreadable, 159],
        ['["TLN=60"]', unreadable, 159],
        ['{"link":5,"fragment":""}', unreadable, 159],
        ['{"link":"TLN=60"}', unreadable, 159],
        ['{"link":"TLN=60&n=abc&foo=1","fragment":"","example":false}',
          'Aus dem gespeicherten Fall nicht übernommen: n=abc, foo=1 – dafür gelten die Werte des Beispielfalls. ' +
          'Mit dem Beispielfall beginnen', 60],
      ]) {
        // The page writes its record of the example a moment after the
        // menu: written over only once it is there.
        await page.waitForFunction(() => {
          try {
            return JSON.parse(sessionStorage.getItem('tavro.case'))?.example === true;
          } catch {
            return false;
          }
        });
        await page.evaluate((r) => sessionStorage.setItem('tavro.case', r), record);
        await reload(false);  // the example ran: nothing to lose
        await eventually(topBar, bar);
        assert.equal((await caseNow()).TLN, TLN, record);
      }
      // The tab's kept case (TLN 60) against a link loaded in the same tab
      // (the address changed without the page seeing it, then loaded).
      // (The page's own record of it: every field, none bad.)
      await page.waitForFunction(() => sessionStorage.getItem('tavro.case')?.includes('"link":"TLN=60&n=1500&'));
      await page.evaluate(() => history.replaceState(null, '', '#TLN=77'));
      await type('ä');  // a key the menu ignores: the browser asks only once the page was used
      await reload();
      await page.waitForFunction(() => window.tavro.case()?.TLN === 77);
      assert.equal((await caseNow()).n, 1500);
      await eventually(topBar, '');
    });

    test('"Fall öffnen": a file too large or unreadable is named and changes nothing, as does a declined question', async () => {
      const template = spawnSync(process.env.TAVRO_NATIVE, ['--template']).stdout.toString();
      const fields = [...template.matchAll(/^(\w+) = /gm)].map(([, field]) => field);
      assert.equal(fields.length, 20);
      await open();
      for (const step of ['a', '50 1500 2<enter>']) await type(step);
      await page.waitForFunction(() => window.tavro.case().TLN === 50);
      const changed = await caseNow();
      const typed = await transcript();
      const openCase = (text, answers, file = 'fall.txt') =>
        asked(answers, () => page.evaluate((t, f) => window.tavro.openCase(t, f), text, file));
      for (const [text, answers, questions, bar] of [
        [`# ${'x'.repeat(64 * 1024)}\n`, [], [], '„fall.txt“ nicht geladen: die Datei ist größer als 64 KB.'],
        ['# nur Kommentar\n', [], [], '„fall.txt“ nicht geladen: kein Fall in der Datei: keine Zeile FELD = WERT.'],
        ['TLN = abc\nfoo = 1\n', [], [],
          '„fall.txt“ nicht geladen: Zeile 1: TLN: "abc" ist keine Zahl; Zeile 2: unbekannter Name "foo".'],
        ['TLN = 70\n', [false], ['confirm'], null],
      ]) {
        const before = await topBar();
        assert.deepEqual(await openCase(text, answers), questions);
        await eventually(topBar, bar ?? before);
        await settle();
        assert.deepEqual(await caseNow(), changed);
        assert.equal(await transcript(), typed);  // the run goes on
      }
      // Yes: the file's case, and the fields it left out named.
      assert.deepEqual(await openCase('TLN = 70\nn = 1200\n', [true], 'teil.txt'), ['confirm']);
      await page.waitForFunction(() => window.tavro.case()?.TLN === 70);
      assert.deepEqual([(await caseNow()).n, (await caseNow()).i], [1200, 2]);
      await eventually(topBar, 'Fall aus „teil.txt“ geöffnet; ohne Wert in der Datei, wie im Beispielfall: ' +
                       `${fields.slice(2).join(', ')}.`);
    });

    // Sizes G1, G2, …: G_k with TKN = k Nm.
    const growing = (count) => {
      let table = 'Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n';
      for (let k = 1; k <= count; ++k) table += `G${k};${k};${2 * k};${k};${10 * k};0,8;${k}\n`;
      return table;
    };

    test('a case changed in the middle of a check: the sizes shown are checked for the new case', async () => {
      await open();
      await page.waitForFunction(() => window.tavroSizes);
      const table = growing(5000);
      const example = await page.evaluate((t) => window.tavro.sizes(t), table);
      // Slices of five sizes: the check lasts seconds on any machine.
      const answer = page.evaluate(() => { window.tavroSizes.slice(5); return window.tavro.sizes(); });
      await page.waitForFunction(() => window.tavroSizes.busy());
      // The count under way, grouped in thousands as German writes them.
      await page.waitForFunction(() => / Geprüft: \d{1,3}(\.\d{3})* von 5\.000 Baugrößen …$/
        .test(document.getElementById('series-info').textContent));
      for (const step of ['a', '600 1500 2<enter>']) await type(step);
      await page.waitForFunction(() => window.tavro.case().TLN === 600);
      assert.ok(await page.evaluate(() => window.tavroSizes.busy()), 'the check ended before the case changed');
      await page.evaluate(() => window.tavroSizes.slice(0));
      const checked = await answer;
      assert.ok(!await page.evaluate(() => window.tavroSizes.busy()), 'answered before the newest check ended');
      assert.notDeepEqual(checked.sizes[0].checks, example.sizes[0].checks);
      assert.deepEqual(checked, await page.evaluate(() => window.tavro.sizes()));  // checked anew
      assert.match(await page.$eval('#series-info', (e) => e.textContent), /^Geprüft für den Fall im Programm: /);
    });

    test('a table given while the page is being made is checked, and the example does not replace it', async () => {
      const table = growing(3);
      // The table is given the moment window.tavro is made, before the size
      // chooser looks for a table of its own.
      await open(pageUrl, null, (tab) => tab.evaluateOnNewDocument((t) => {
        let made;
        Object.defineProperty(window, 'tavro', { configurable: true, get: () => made,
          set: (value) => { made = value; window.given = value.sizes(t); } });
      }, table));
      const series = await page.evaluate(() => window.given);
      assert.deepEqual(series.sizes.map((size) => size.name), ['G1', 'G2', 'G3']);
      await page.waitForFunction(() => !window.tavroSizes.busy());
      assert.equal(await page.$eval('#series', (e) => e.value), table);
    });

    test('a link holds the case exactly: nine digits give the typed case\'s result pages', async () => {
      const steps = ['a', '220.833612 1500 2<enter>', 'd', '265.000412 530 69 2689 0.8 12<enter>'];
      const results = async () => {
        for (const key of ['g', ' ', ' ', ' ']) await type(key);
        const text = await transcript();
        return text.slice(text.lastIndexOf('Ergebnisse 1.Teil'));
      };
      await open();
      for (const step of steps) await type(step);
      const link = await page.evaluate(() => window.tavro.link());
      assert.ok(link.includes('TLN=220.833612&') && link.includes('TKN=265.000412&'), link);
      const typed = await results();
      assert.match(typed, /TKN okay!/);
      await open(link);
      assert.equal(await results(), typed);
    });

    test('a link that is no case names its parts and leaves the program running', async () => {
      for (const [fragment, parts] of [['NaN', ['NaN']],
        ['constructor&__proto__&toString', ['constructor', '__proto__', 'toString']],
        ['Infinity&NaN&TLN=5', ['Infinity', 'NaN']]]) {
        await open(`${pageUrl}#${fragment}`);
        await eventually(topBar, `Aus dem Link nicht übernommen: ${parts.join(', ')} – ` +
                         'dafür gelten die Werte des Beispielfalls.');
      }
      assert.equal(await page.evaluate(() => window.tavro.case().TLN), 5);
    });

    test('after "Bericht drucken" the next key reaches the program', async () => {
      await open();
      await type('g');
      await type('x');
      if (name === 'firefox') {  // headless Firefox would wait at a print dialog nobody sees
        await page.evaluate(() => { window.print = () => window.dispatchEvent(new Event('afterprint')); });
      }
      await page.click('#print');
      await page.keyboard.press('w');
      await shows('momentan def. Werte 1:');
    });

    test('at each prompt of dialog d the line names the field; "Wert behalten" keeps it exactly', async () => {
      const fields = [['TKN', '265 Nm'], ['TKmax', '530 Nm'], ['TKW', '69 Nm'], ['Cdyn', '2689 Nm/rad'],
        ['psi', '0.8'], ['PKW', '12 W']];
      await open();
      assert.equal(await page.evaluate(() => window.tavro.prompt()), null);
      await type('a');
      await type('0.1<enter>');  // a value "%g" prints short: kept exactly all the same
      await page.click('#keep');
      await page.click('#keep');
      await shows('F8 q Exit');
      const before = await page.evaluate(() => window.tavro.case());
      const helpLine = () => page.$eval('#prompt-help', (e) => e.textContent);
      for (const round of [0, 1]) {
        await type('d');
        for (const [k, [field, printed]] of fields.entries()) {
          const shown = round === 1 && k === 0 ? '300 Nm' : printed;
          await page.waitForFunction((f) => window.tavro.prompt()?.field === f, {}, field);
          assert.ok((await helpLine()).includes(`, jetzt ${shown}. `), await helpLine());
          assert.equal((await page.evaluate(() => window.tavro.prompt())).printed, shown.split(' ')[0]);
          if (round === 0 && k === 0) await type('300<enter>');
          else await page.click('#keep');
        }
        await page.waitForFunction(() => window.tavro.prompt() === null);
        assert.equal(await helpLine(), '');
      }
      assert.deepEqual(await page.evaluate(() => window.tavro.case()), { ...before, TKN: 300 });
      // Exactly what a user typing the values would have typed.
      const dialogD = ['d', ...['300', '530', '69', '2689', '0.8', '12'].map((v) => `${v}<enter>`)];
      const typed = session(['a', '0.1<enter>', '1500<enter>', '2<enter>', ...dialogD, ...dialogD]);
      assert.equal(withoutEchoes(await transcript(), typed.echoes), linux(typed.input));
    });

    test('each prompt explains its value: beside the line on a desktop, a tap away on a phone', async () => {
      const parts = () => page.$eval('#prompt-help', (e) => ({
        what: e.querySelector('.what')?.offsetParent !== null, why: e.querySelector('.why')?.offsetParent !== null,
        text: e.textContent, whole: e.scrollHeight <= e.clientHeight + 2 }));  // a descender's pixel
      for (const width of [700, 1400]) {
        await open(pageUrl, { width, height: 900 });
        await type('e');
        await page.waitForFunction(() => window.tavro.prompt()?.field === 'ST');
        const shown = await parts();  // ST's explanation is the longest
        assert.ok(shown.what && shown.why && shown.whole, JSON.stringify(shown));
        assert.ok(shown.text.includes('1 bei Raumtemperatur'), shown.text);
      }
      if (name !== 'chromium') return;  // touch as Chromium emulates it
      await open(pageUrl, { width: 390, height: 844, isMobile: true, hasTouch: true });
      const dock = () => page.$eval('#dock', (e) => e.getBoundingClientRect().height);
      const height = await dock();
      assert.equal(await page.$eval('#why', (e) => e.hidden), true);
      await page.tap('#keys button[data-key="e"]');
      await page.waitForFunction(() => window.tavro.prompt()?.field === 'ST');
      assert.deepEqual({ ...(await parts()), text: '' }, { what: true, why: false, text: '', whole: true });
      await page.tap('#why');
      const opened = await parts();
      assert.ok(!opened.what && opened.why, JSON.stringify(opened));
      assert.equal(await dock(), height);
      assert.equal(await page.evaluate(() => document.activeElement.tagName), 'BODY');
      await page.tap('#keys .keep');  // the next field shows its value first
      await page.waitForFunction(() => window.tavro.prompt()?.field === 'SS');
      assert.deepEqual({ ...(await parts()), text: '' }, { what: true, why: false, text: '', whole: true });
    });

    test('a pasted series: each size checked as the Linux program checks it, "übernehmen" types it', async () => {
      const drive = ['a', '200 1000 3<enter>', 'c', '300 90 500 0<enter>'];
      const table = 'Typ\tTKN [kNm]\tTKmax [kNm]\tTKW\tCdyn [Nm/rad]\tpsi\tPKW [W]\n' +
        '"S 1"\t0,2\t0,4\t50\t1.500\t0,9\t8\n\nS 2\t0,3\t1,2\t90\t3.000\t0,9\t12\n' +
        'S 3\t0,45\t1,5\t140\t5.000,5\t0,9\t20\nkaputt\t1\t2\n';
      await open();
      for (const step of drive) await type(step);
      const series = await page.evaluate((t) => window.tavro.sizes(t), table);
      assert.deepEqual(series.ignored, [{ line: 6, reason: 'zu wenige Spalten (3 statt 7)' }]);
      assert.deepEqual(series.sizes.map((s) => s.name), ['S 1', 'S 2', 'S 3']);
      assert.deepEqual(series.sizes[2].values, [450, 1500, 140, 5000.5, 0.9, 20]);
      const typed = (values) => session([...drive, 'd', `${values.join(' ')}<enter>`, 'g', ' ', ' ', ' ']);
      series.sizes.forEach((size, k) => {
        const printed = linux(typed(size.values).input);
        const verdicts = [...printed.matchAll(/(nicht )?okay!$/gm)].map(([, not]) => !not);
        assert.deepEqual(size.checks.map((c) => c.okay), verdicts, size.name);
        const values = ['TLNmax', 'TSAmax', 'TSLmax', 'TSmax', 'TWimax']
          .map((name) => Number(printed.match(new RegExp(`^${name} *= ?(\\S+)`, 'm'))[1]));
        values.forEach((v, c) => assert.ok(Math.abs(size.checks[c].value - v) <= 5e-6 * Math.abs(v),
                                           `${size.name} ${c}: ${size.checks[c].value} ${v}`));
        assert.equal(size.okay, verdicts.every((v) => v));
        if (size.okay && series.smallest === null) assert.fail('a passing size not marked');
        if (series.smallest === k) assert.ok(size.okay);
      });
      assert.equal(series.smallest, series.sizes.findIndex((s) => s.okay));

      // "übernehmen" then g: the result pages of the size typed into dialog d.
      await page.waitForFunction(() => document.querySelectorAll('#series-table button').length === 3);
      const marked = await page.$$eval('#series-table .smallest [role="rowheader"]', (e) => e.map((h) => h.textContent));
      assert.deepEqual(marked, series.smallest === null ? []
        : [`${series.sizes[series.smallest].name}kleinste passende Baugröße`]);
      // A row in view stays while the window changes: its button keeps the
      // focus (and a click between press and release is not lost).
      await page.$eval('#series-table button[data-size="2"]', (button) => { window.kept = button; button.focus(); });
      const { width, height } = page.viewport();
      const boxWidth = await page.$eval('.series-box', (box) => box.clientWidth);
      await page.setViewport({ width: width - 100, height });
      await page.waitForFunction((w) => document.querySelector('.series-box').clientWidth < w, {}, boxWidth);
      await frames();
      assert.ok(await page.evaluate(() => window.kept.isConnected && document.activeElement === window.kept),
                'the rows were drawn anew: the focus is lost');
      await page.setViewport({ width, height });
      // The button's own click: a row off screen is drawn only once it is
      // scrolled to, which a mouse click at once could miss.
      await page.$eval('#series-table button[data-size="2"]', (button) => button.click());
      await shows('PKW    [W]= ');
      await menu();
      for (const key of ['g', ' ', ' ', ' ']) await type(key);
      const pages = (text) => text.slice(text.lastIndexOf('Ergebnisse 1.Teil'));
      assert.equal(pages(await transcript()), pages(linux(typed(['450', '1500', '140', '5000.5', '0.9', '20']).input)));

      await open();  // a reload keeps the table
      assert.equal(await page.$eval('#series', (e) => e.value), table);
    });

    // Each value typed when the program asks for its field: neither numbers
    // the program holds from the last line nor keys it has not read yet
    // shift a value; where they filled a field, dialog d runs once more.
    for (const [title, before, times] of [
      ['nothing held', (p) => p.keyboard.type('a600 1500 2\r'), ''],
      ['"a600 1500 2 5" Enter', (p) => p.keyboard.type('a600 1500 2 5\r'), ' zweimal'],
      ['"a600 1500 2 5 7" Enter', (p) => p.keyboard.type('a600 1500 2 5 7\r'), ' zweimal'],
      ['the same keys typed but not read yet', null, ' zweimal'],
    ]) {
      test(`"übernehmen" after ${title}: the case holds exactly the size's six values`, async () => {
        await open();
        const size = ['310', '620', '75', '2900.5', '0.9', '14'];
        await page.evaluate((t) => window.tavro.sizes(t), `Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\nS1;${size.join(';')}\n`);
        const button = '#series-table button[data-size="0"]';
        await takeable(button);
        if (before) {
          await before(page);
          await page.waitForFunction(() => window.tavro.case().TLN === 600 &&
                                     window.tavro.transcript().endsWith('F8 q Exit\n'));
          await takeable(button);  // the changed case is checked anew first
          await page.$eval(button, (b) => b.click());
        } else {  // the click comes while the keys wait for the program
          await page.$eval(button, (b) => { window.tavro.send('a600 1500 2 5\r'); b.click(); });
        }
        await page.waitForFunction(() => /übernommen/.test(document.getElementById('notice').textContent));
        assert.equal(await topBar(), `„S1“ übernommen – Dialog d${times} getippt` +
                     `${times ? ', da das Programm noch Eingaben hielt' : ''}; g prüft den Fall damit.`);
        const data = await page.evaluate(() => window.tavro.case());
        assert.deepEqual(['TLN', 'n', 'i', 'TKN', 'TKmax', 'TKW', 'Cdyn', 'psi', 'PKW'].map((f) => data[f]),
                         [600, 1500, 2, ...size.map(Number)]);
        assert.ok((await transcript()).endsWith('F8 q Exit\n'));
        });
    }

    test('a table of 20,000 rows: the first 10,000 checked in slices, the program answers meanwhile', async () => {
      await open();
      let table = 'Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n';
      for (let k = 1; k <= 20000; ++k) table += `G${k};${k};${2 * k};${k};${10 * k};0,8;${k}\n`;
      // Slices of five sizes: the check lasts seconds on any machine. (The
      // size chooser is made after the first menu.)
      await page.waitForFunction(() => window.tavroSizes);
      await page.evaluate((t) => { window.tavroSizes.slice(5); window.tavro.sizes(t); }, table);
      await page.waitForFunction(() => window.tavroSizes.busy());
      await type('w');
      await shows('momentan def. Werte 1:');
      assert.ok(await page.evaluate(() => window.tavroSizes.busy()), 'the check ended before the page came');
      await type('x');
      const series = await page.evaluate(() => { window.tavroSizes.slice(0); return window.tavro.sizes(); });
      assert.equal(series.sizes.length, 10000);
      assert.deepEqual(series.ignored,
                       [{ line: 10002, reason: 'diese und 9999 weitere Zeilen nicht gelesen: mehr als 10000 Baugrößen' }]);
      assert.equal(series.smallest, series.sizes.findIndex((s) => s.okay));
      // Only the rows in view are in the document.
      const drawn = await page.$$eval('#series-table .size', (rows) => rows.length);
      assert.ok(drawn > 0 && drawn < 100, `${drawn} rows drawn`);

      // Each row in view is drawn, wherever the box is scrolled to.
      const gaps = () => page.evaluate(() => {
        const box = document.querySelector('.series-box').getBoundingClientRect();
        const top = document.querySelector('#series-table .head').getBoundingClientRect().bottom;
        const rows = [...document.querySelectorAll('#series-table .size')].map((r) => r.getBoundingClientRect());
        const missing = [];
        for (let y = top + 1; y < box.bottom - 1; y += 4) {
          if (!rows.some((r) => r.top <= y && y < r.bottom)) missing.push(Math.round(y - box.top));
        }
        return missing;
      });
      await page.$eval('.series-box', (box) => { box.scrollTop = 4000; });
      await frames();
      assert.deepEqual(await gaps(), [], 'scrolled to 4000: no row drawn there');
      // A focused row stays while scrolled out of view; checked again for a
      // new case, the table stays where it was scrolled to.
      await page.$eval('#series-table .size:nth-child(10) button', (b) => { window.kept = b; b.focus(); });
      await page.$eval('.series-box', (box) => { box.scrollTop = 20000; });
      await frames();
      assert.ok(await page.evaluate(() => document.activeElement === window.kept), 'scrolled away, the focus is lost');
      assert.deepEqual(await gaps(), [], 'scrolled to 20000: no row drawn there');
      await page.focus('.xterm-helper-textarea');
      await type('a170 1500 2<enter>');
      await page.waitForFunction(() => !window.tavroSizes.busy());
      assert.equal(await page.$eval('.series-box', (box) => box.scrollTop), 20000);
    });

    test('a newer table while one is read gives the latest table; a check that fails stops none after it', async () => {
      await open();
      const short = 'A;1;2;3;4;0,8;5\nB;2;4;6;8;0,8;10\n';
      const long = Array.from({ length: 2000 }, (_, k) => `L${k};1;2;3;4;0,8;5\n`).join('');
      await page.evaluate((t) => window.tavro.sizes(t), short);
      // Back to the short table between two slices (of five lines) of reading
      // the long one; meanwhile the short table's rows take nothing over.
      const enabled = await page.evaluate((l, t) => new Promise((resolve) => {
        const info = document.getElementById('series-info');
        new MutationObserver((_, observer) => {
          if (!info.textContent.startsWith('Die Tabelle wird gelesen')) return;
          observer.disconnect();
          resolve(document.querySelectorAll('#series-table button:not([disabled])').length);
          window.tavro.sizes(t);
        }).observe(info, { childList: true });
        window.tavroSizes.slice(5);
        window.tavro.sizes(l);
      }), long, short);
      await page.evaluate(() => window.tavroSizes.slice(0));
      await page.waitForFunction(() => !window.tavroSizes.busy());
      assert.deepEqual([enabled, await page.$$eval('#series-table [role="rowheader"]', (e) => e.map((h) => h.textContent))],
                       [0, ['A', 'B']]);
      // A step that throws (the table's encoding, here) is said; the next check runs as ever.
      await assert.rejects(page.evaluate((l) => {
        const { encode } = TextEncoder.prototype;
        TextEncoder.prototype.encode = () => { TextEncoder.prototype.encode = encode; throw new Error('provoked'); };
        return window.tavro.sizes(l);
      }, long), /provoked/);
      assert.equal(await page.$eval('#series-info', (e) => e.textContent), 'Die Reihe ließ sich nicht prüfen: provoked');
      assert.equal((await page.evaluate((t) => window.tavro.sizes(t), short)).sizes.length, 2);
      await page.evaluate(() => window.tavro.sizes(''));
    });

    test('on a phone the dock is above the size table, whose names stay in view when it scrolls sideways', async () => {
      await open(pageUrl, { width: 390, height: 844 });
      await page.evaluate((t) => window.tavro.sizes(t), 'G;1;2;3;4;0,8;5\n'.repeat(30));
      const layout = await page.evaluate(() => {
        const box = document.querySelector('.series-box');
        const inBox = (e) => e.getBoundingClientRect().left >= box.getBoundingClientRect().left - 0.5 &&
          e.getBoundingClientRect().right <= box.getBoundingClientRect().right + 0.5;
        // Each key with the table's head (below where that can go, its rows) under its middle.
        const missed = [...document.querySelectorAll('#dock button')].filter((key) => key.offsetParent).filter((key) => {
          const k = key.getBoundingClientRect();
          const y = k.top + k.height / 2;
          window.scrollBy(0, box.getBoundingClientRect().top - y + 2);
          const b = box.getBoundingClientRect();
          return !(b.top <= y && y <= b.bottom && key.contains(document.elementFromPoint(k.left + k.width / 2, y)));
        }).map((key) => key.textContent);
        box.scrollIntoView();
        box.scrollLeft = box.scrollWidth;
        const first = document.querySelector('#series-table .size');
        return [missed, box.scrollLeft > 0, inBox(first.firstChild), inBox(first.querySelector('button'))];
      });
      assert.deepEqual(layout, [[], true, true, true]);
      await page.evaluate(() => window.tavro.sizes(''));
    });

    test('on a phone the line typed at stays in sight above the key bar', async () => {
      // Touch where the browser emulates it; a narrow window gives the same layout.
      const touch = name === 'chromium' ? { isMobile: true, hasTouch: true } : {};
      await open(pageUrl, { width: 390, height: 844, ...touch });
      // At the first menu, at the prompt "a" opens, and after a number typed there.
      for (const keys of ['', 'a', '12']) {
        for (const key of keys) await page.$eval(`#keys button[data-key="${key}"]`, (b) => b.click());
        await settle();
        // The cursor's row: the last one written, or the one after it where a line ended.
        const [row, dockTop] = await page.evaluate(() => {
          const rows = [...document.querySelectorAll('.xterm-rows > div')];
          const last = rows.findLastIndex((r) => r.textContent.trim() !== '') +
            (window.tavro.transcript().endsWith('\n') ? 1 : 0);
          return [rows[last].getBoundingClientRect().toJSON(), document.getElementById('dock').getBoundingClientRect().top];
        });
        assert.ok(row.top >= 0 && row.bottom <= dockTop,
                  `after "${keys}": cursor row ${row.top}–${row.bottom}, dock from ${dockTop}`);
      }
    });

    test('a bad link is reported and ignored, and the page goes on', async () => {
      await open(`${pageUrl}#TLN=1e2&n=abc&foo=1&startLoaded=2&i=1.5&JA`);
      await page.waitForFunction(() => document.getElementById('notice').textContent !== '');
      const notice = await topBar();
      for (const part of ['n=abc', 'foo=1', 'i=1.5', 'JA']) {
        assert.ok(notice.includes(part), notice);
      }
      assert.ok(!notice.includes('startLoaded'), notice);  // a switch holds any integer
      const data = await page.evaluate(() => window.tavro.case());
      assert.deepEqual([data.TLN, data.n, data.startLoaded, data.i, data.JA], [100, 1500, 2, 2, 2.3]);
    });

    if (name === 'chromium') {
      test('on a phone: the key bar types as the keyboard does, nothing runs off the side', async () => {
        const keys = [...'a12x\x7f00 1500 2\rg   i q'];
        await open(pageUrl, { width: 390, height: 844, isMobile: true, hasTouch: true });
        const buttons = {};
        for (const button of await page.$$('#keys button')) {
          const [key, width, height] = await button.evaluate((b) => {
            const box = b.getBoundingClientRect();
            return [b.dataset.key, box.width, box.height];
          });
          assert.ok(width >= 44 && height >= 44, `${JSON.stringify(key)}: ${width}x${height}`);
          buttons[key] = button;
        }
        for (const key of keys) {
          await buttons[key].tap();
          await settle();
        }
        await ended(0);
        assert.equal(await page.evaluate(() => document.activeElement.tagName), 'BODY');
        const tapped = await transcript();

        await open();
        for (const key of keys) await type({ '\x7f': '<bs>', '\r': '<enter>' }[key] ?? key);
        assert.equal(tapped, await transcript());

        for (const width of [390, 360, 320]) {
          await open(pageUrl, { width, height: 740, isMobile: true, hasTouch: true });
          await page.tap('#keys button[data-key="g"]');
          await shows('weiter mit bel.Taste..');
          assert.ok(await page.evaluate(() => document.documentElement.scrollWidth) <= width);
          const font = await page.$eval('.xterm-rows', (e) => parseFloat(getComputedStyle(e).fontSize));
          assert.ok(font >= 12, `${font}px at ${width}`);
        }
      });

      test('on a phone the verdicts stay in sight above the key bar', async () => {
        await open(pageUrl, { width: 390, height: 844, isMobile: true, hasTouch: true });
        await page.tap('#keys button[data-key="g"]');
        await shows('weiter mit bel.Taste..');
        const inView = (selector) => page.$eval(selector, (e) => {
          const box = e.getBoundingClientRect();
          return box.height > 0 && box.top >= 0 && box.bottom <= window.innerHeight;
        });
        assert.equal(await page.$eval('#summary', (e) => e.textContent),
                     '1 von 6 nicht okay: II Stoß von der Lastseite 171 %');
        assert.ok(await inView('#summary') && await inView('#keys'));
        await page.tap('#summary');
        await page.waitForFunction(() => document.getElementById('panel').getBoundingClientRect().top < 300);
        assert.ok(await inView('#summary') && await inView('#keys'));
      });

      test('a screen reader hears the output and a name for every button', async () => {
        await open();
        await page.click('#reader');
        assert.equal(await page.$eval('#reader', (e) => e.getAttribute('aria-pressed')), 'true');
        await page.waitForFunction(() => document.querySelector('.xterm-accessibility-tree')
          ?.textContent.includes('F8 q Exit'));
        const names = [];
        const walk = (node) => {
          names.push([node.role, node.name]);
          for (const child of node.children ?? []) walk(child);
        };
        walk(await page.accessibility.snapshot({ interestingOnly: false }));
        assert.ok(names.some(([, text]) => text?.includes('F8 q Exit')));
        assert.ok(names.filter(([role]) => role === 'button').every(([, text]) => text));
        assert.equal(await page.$eval('html', (e) => e.lang), 'de');
      });
    }

    test('no request left the page, none was refused, nothing raised an error', async () => {
      assert.deepEqual(errors, []);
      assert.deepEqual(requests.filter((url) => url.split('#')[0] !== pageUrl && !/^(data|blob):/.test(url)),
                       []);
      assert.deepEqual(await page.evaluate(() => window.violations), []);
    });
  });
}
