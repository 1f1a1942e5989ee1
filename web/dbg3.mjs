import puppeteer from 'puppeteer-core';
const browser = await puppeteer.launch({ headless: true, browser: 'chrome', executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const page = await browser.newPage();
await page.goto('file:///work/main/build/web/tavro.html');
await page.waitForFunction(() => window.tavro?.transcript().endsWith('F8 q Exit\n'));
await page.evaluate(() => window.tavro.sizes());
let table = 'Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n';
for (let k = 1; k <= 10000; ++k) table += `G${k};${k};${2 * k};${k};${10 * k};0,8;${k}\n`;
for (const w of ['soft', 'off']) { const r = await page.evaluate(async (t, process_wrap) => {
  const out = {};
  let t0 = performance.now();
  document.getElementById('series').setAttribute('wrap', process_wrap); document.getElementById('series').value = t;
  document.getElementById('series').offsetHeight;
  out.setValue = performance.now() - t0;
  t0 = performance.now();
  const e = new TextEncoder().encode(t);
  out.encode = performance.now() - t0;
  const program = await createTavro({ tavroAnswer: null, tavroTable: e, tavroLink: new Uint8Array() });
  let reply;
  program.tavroAnswer = (b) => { reply = b; };
  t0 = performance.now();
  program._tavroSeriesRead(1);
  out.read = performance.now() - t0;
  t0 = performance.now();
  program._tavroSeriesCheck(0, 500);
  out.check500 = performance.now() - t0;
  t0 = performance.now();
  JSON.parse(new TextDecoder().decode(reply));
  out.parse500 = performance.now() - t0;
  return out;
}, table, w); console.log(w, r.setValue); }

await browser.close();
