// Puts the page together: the template with xterm.js's CSS, the page's own
// monospace font (a WOFF2 file, inline as a data: URL, with its licence in a
// comment beside it), and each script inline in an element of its own,
// allowed by the Content-Security-Policy through its SHA-256. The result
// loads nothing else.
// Usage: node assemble.mjs TEMPLATE OUTPUT CSS FONT FONT_LICENCE SCRIPT...
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';

const [template, output, css, font, fontLicence, ...scripts] = process.argv.slice(2);
if (!template || !output || !css || !font || !fontLicence || scripts.length === 0) {
  console.error('usage: node assemble.mjs TEMPLATE OUTPUT CSS FONT FONT_LICENCE SCRIPT...');
  process.exit(2);
}

// A source map would be fetched by a browser's developer tools.
const withoutSourceMap = (text) => text.replace(/\n\/\/# sourceMappingURL=\S+\s*$/, '\n');

const bodies = scripts.map((file) => {
  const body = withoutSourceMap(readFileSync(file, 'utf8'));
  if (/<\/script/i.test(body)) throw new Error(`${file} would end its script element`);
  return body;
});
const hashes = bodies.map(
  (body) => `'sha256-${createHash('sha256').update(body, 'utf8').digest('base64')}'`);
const csp = [
  "default-src 'none'",
  `script-src ${hashes.join(' ')} 'wasm-unsafe-eval'`,
  "style-src 'unsafe-inline'",
  'font-src data:',
  // The runtime reads the inline WebAssembly with fetch() of its data: URL.
  'connect-src data:',
].join('; ');

const licence = readFileSync(fontLicence, 'utf8');
if (licence.includes('*/')) throw new Error(`${fontLicence} would end its comment`);
const fontFace = `/*\n${licence.trim()}\n*/\n@font-face {\n` +
  '  font-family: "JetBrains Mono"; font-style: normal; font-weight: 400; font-display: block;\n' +
  `  src: url(data:font/woff2;base64,${readFileSync(font).toString('base64')}) format("woff2");\n}`;

const page = readFileSync(template, 'utf8')
  .replace('@CSP@', () => csp)
  .replace('@XTERM_CSS@', () => readFileSync(css, 'utf8'))
  .replace('@FONT_FACE@', () => fontFace)
  .replace('@SCRIPTS@', () => bodies.map((body) => `<script>${body}</script>`).join('\n'));
writeFileSync(output, page);
