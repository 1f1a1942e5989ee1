// The page in WebKit, the engine of Safari and of every iPhone browser:
// WebKitGTK's WebDriver drives its MiniBrowser, which needs a display (run
// under xvfb-run). The typed sessions, "Letzten Fall laden" and a link,
// against the Linux program for the same keys; the kept case of a reload,
// each case in a tab of its own. TAVRO_PAGE: the built
// tavro.html; TAVRO_NATIVE: the Linux program.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';
import { after, afterEach, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { Builder, By, Key } from 'selenium-webdriver';
import { linux, session, sessions, tokens, withoutEchoes } from './sessions.mjs';

const pagePath = process.env.TAVRO_PAGE;
if (!pagePath) throw new Error('TAVRO_PAGE must name the built page');
const pageUrl = pathToFileURL(pagePath).href;

// What WebDriver sends for the named keys of the sessions.
const keys = { '<enter>': Key.ENTER, '<bs>': Key.BACK_SPACE, '<up>': Key.ARROW_UP, '<f1>': Key.F1 };

// A free port on this machine for the driver.
const freePort = () => new Promise((resolve, reject) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  }).on('error', reject);
});

describe('webkit', () => {
  let service;
  let driver;
  before(async () => {
    const port = await freePort();
    service = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore' });
    const builder = new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { args: ['--automation'] },
    });
    // The driver takes a moment to listen.
    for (let attempt = 0; !driver; ++attempt) {
      try {
        driver = await builder.build();
      } catch (error) {
        if (attempt === 50) throw error;
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
  });
  after(async () => {
    await driver?.quit();
    service?.kill();
  });

  const script = (code, ...args) => driver.executeScript(code, ...args);
  // The last case a test left in local storage would be offered to every
  // later tab: cleared, failed or not.
  afterEach(() => script('localStorage.clear()').catch(() => {}));
  const transcript = () => script('return window.tavro.transcript()');
  const until = (code, ...args) => driver.wait(() => script(code, ...args), 30000, `waited 30 s for: ${code}`);
  // Opens the page afresh and waits for the first menu; returns the time
  // that took in milliseconds.
  const menu = () => until('return window.tavro && window.tavro.transcript().endsWith("F8 q Exit\\n")');
  const open = async (url = pageUrl) => {
    // A new tab, whose session storage is its own; the one before closes.
    const before = await driver.getWindowHandle();
    await driver.switchTo().newWindow('tab');
    const opened = await driver.getWindowHandle();
    await driver.switchTo().window(before);
    await driver.close();
    await driver.switchTo().window(opened);
    const start = Date.now();
    await driver.get(url);
    await menu();
    return Date.now() - start;
  };
  // Loads the tab's page again. (MiniBrowser under automation asks nothing
  // before a page is left: Chromium's and Firefox's tests check the question.)
  const reload = async () => {
    await driver.navigate().refresh();
    await menu();
  };
  // Types one step into the terminal and waits until the page shows
  // nothing new for a while: the program waits for the next key or line.
  const type = async (step) => {
    const input = await driver.findElement(By.css('.xterm-helper-textarea'));
    for (const token of tokens(step)) await input.sendKeys(keys[token] ?? token);
    let last = -1;
    for (let same = 0; same < 3;) {
      await driver.sleep(25);
      const length = (await transcript()).length;
      same = length === last ? same + 1 : 0;
      last = length;
    }
  };
  const ended = () => until('return window.tavro.screen().includes("TAVRO ist beendet (Status 0).")');

  test('opens its first menu in time, drawn with the page\'s own font', async () => {
    const ms = await open();
    console.log(`webkit: first menu ${ms} ms after opening the file`);
    assert.ok(ms < 3000, `first menu after ${ms} ms`);
    assert.ok(await script('return document.fonts.check(\'15px "JetBrains Mono"\')'));
  });

  for (const [title, s] of Object.entries(sessions)) {
    test(`${title}: the Linux program's bytes plus the echo`, async () => {
      await open();
      for (const step of s.steps) await type(step);
      await ended();
      assert.equal(withoutEchoes(await transcript(), s.echoes), linux(s.input));
    });
  }

  test('the case lives on: "Letzten Fall laden" after q, and a link opened anew', async () => {
    const changes = ['a', '100 1200 3<enter>', 'c', '239 80 477 12,5<enter>'];
    const values = session([...changes, 'w', ' ', ' ', ' ', 'q']);
    const display = (text) => text.slice(text.indexOf('momentan def. Werte 1:'));
    const expected = display(linux(values.input));

    await open();
    for (const step of changes) await type(step);
    const link = await script('return window.tavro.link()');
    await type('q');
    await ended();
    await driver.findElement(By.id('restore')).click();
    await menu();
    for (const step of ['w', ' ', ' ', ' ', 'q']) await type(step);
    assert.equal(display(await transcript()), expected);

    await open(link);
    for (const step of ['w', ' ', ' ', ' ', 'q']) await type(step);
    assert.equal(display(await transcript()), expected);
  });

  test('the restore: a reload keeps the case, a link loaded in the tab wins, a new tab offers the last case', async () => {
    const topBar = () => script('return document.getElementById("notice").textContent');
    const TLN = () => script('return window.tavro.case().TLN');
    await open();
    for (const step of ['a', '60 1500 2<enter>']) await type(step);
    await until('return (sessionStorage.getItem("tavro.case") || "").includes("TLN=60&")');
    await reload();
    assert.equal(await TLN(), 60);
    assert.match(await topBar(), /^Der Fall dieses Tabs vor dem Neuladen ist wieder da\./);

    await script('history.replaceState(null, "", "#TLN=77")');
    await reload();
    await until('return window.tavro.case().TLN === 77');
    assert.equal(await topBar(), '');

    await until('return localStorage.getItem("tavro.lastCase") === window.tavro.link().split("#")[1]');
    await open();
    await until('return !document.getElementById("restore").hidden');
    assert.equal(await TLN(), 159);
    await driver.findElement(By.id('restore')).click();
    await until('return window.tavro.case().TLN === 77');
  });
});
