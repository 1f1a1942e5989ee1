import puppeteer from 'puppeteer-core';
const which = process.argv[2] || 'chrome';
const browser = await puppeteer.launch(which === 'chrome' ? { headless: true, browser: 'chrome', executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] } : { headless: true, browser: 'firefox', executablePath: '/usr/bin/firefox-esr' });
const page = await browser.newPage();
page.on('pageerror', (e) => console.log('pageerror', e.message));
await page.goto('file:///work/main/build/web/tavro.html');
await page.waitForFunction(() => window.tavro?.transcript().endsWith('F8 q Exit\n'));
await page.evaluate(() => window.tavro.sizes());
for (const n of [1000, 10000]) {
  let table = 'Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n';
  for (let k = 1; k <= n; ++k) table += `G${k};${k};${2 * k};${k};${10 * k};0,8;${k}\n`;
  const r = await page.evaluate(async (t) => {
    document.getElementById('series').value = t; document.getElementById('series').offsetHeight;
    // The longest time the page did not answer: gaps between timer ticks.
    let longest = 0; let last = performance.now(); let on = true;
    const tick = () => { const now = performance.now(); longest = Math.max(longest, now - last); last = now; if (on) setTimeout(tick, 0); };
    setTimeout(tick, 0);
    const t0 = performance.now();
    const s = await window.tavro.sizes(t);
    await new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0)));
    const took = performance.now() - t0;
    on = false;
    return { sizes: s.sizes.length, took: Math.round(took), longest: Math.round(longest) };
  }, table);
  console.log(which, n, r);
}
await browser.close();
