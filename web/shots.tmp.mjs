import puppeteer from 'puppeteer-core';
import { pathToFileURL } from 'node:url';
const url = pathToFileURL(process.env.TAVRO_PAGE).href;
const browser = await puppeteer.launch({ headless: true, executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu'] });
const atSZ = async (viewport, tap) => {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForFunction(() => window.tavro?.transcript().endsWith('F8 q Exit\n'));
  if (tap) await page.tap('#keys button[data-key="e"]'); else await page.keyboard.press('e');
  for (const f of ['ST', 'SS']) {
    await page.waitForFunction((x) => window.tavro.prompt()?.field === x, {}, f);
    if (tap) await page.tap('#keys .keep'); else await page.click('#keep');
  }
  await page.waitForFunction(() => window.tavro.prompt()?.field === 'SZ');
  await page.type('#case-name', 'Pumpe P-101, Motor 90 kW');
  return page;
};
const desk = await atSZ({ width: 1400, height: 900 }, false);
await desk.screenshot({ path: '/tmp/i36p-shots/desktop-sz.png' });
console.log('desktop help:', await desk.$eval('#prompt-help', (e) => e.textContent));
console.log('desktop help box', await desk.$eval('#help', (e) => JSON.stringify(e.getBoundingClientRect())));
const phone = await atSZ({ width: 390, height: 844, isMobile: true, hasTouch: true }, true);
await phone.evaluate(() => document.activeElement.blur());
await phone.screenshot({ path: '/tmp/i36p-shots/phone-sz.png' });
const dock = () => phone.$eval('#dock', (e) => e.getBoundingClientRect().height);
console.log('phone dock before', await dock());
await phone.tap('#why');
await phone.screenshot({ path: '/tmp/i36p-shots/phone-sz-why.png' });
console.log('phone dock after', await dock());
console.log('phone help:', await phone.$eval('#prompt-help', (e) => e.innerText));
await phone.evaluate(() => document.getElementById('case-label').scrollIntoView());
await phone.screenshot({ path: '/tmp/i36p-shots/phone-name.png' });
await browser.close();
