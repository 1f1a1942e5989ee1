// Puts the page together: the template with xterm.js's CSS, the page's own
// monospace font (a WOFF2 file, inline as a data: URL, with its licence in a
// comment beside it), the program's WebAssembly as a data block, gzipped
// and in base64 (web/boot.js compiles it), and each script inline in an
// element of its own, allowed by the Content-Security-Policy through its
// SHA-256. The scripts after "--" are gzipped data blocks too, which boot.js
// runs once the first menu is on the screen (the policy allows them by
// their hashes as well). Fewer bytes before the first menu's scripts are
// fewer for the browser to read before it can start them. The program's
// first screen (its banner and menu, all it writes before it first waits
// for a key), as the native program NATIVE writes it, is a data block too:
// the page draws it while the WebAssembly is still compiled (terminal.js).
// The result loads nothing else.
// Usage: node assemble.mjs TEMPLATE OUTPUT CSS FONT FONT_LICENCE WASM NATIVE SCRIPT... [-- LATER...]
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { basename } from 'node:path';
import { gzipSync } from 'node:zlib';

const [template, output, css, font, fontLicence, wasm, native, ...parts] = process.argv.slice(2);
const cut = parts.includes('--') ? parts.indexOf('--') : parts.length;
const scripts = parts.slice(0, cut);
const later = parts.slice(cut + 1);
if (!template || !output || !css || !font || !fontLicence || !wasm || !native || scripts.length === 0) {
  console.error('usage: node assemble.mjs TEMPLATE OUTPUT CSS FONT FONT_LICENCE WASM NATIVE SCRIPT... [-- LATER...]');
  process.exit(2);
}

// A source map would be fetched by a browser's developer tools.
const withoutSourceMap = (text) => text.replace(/\n\/\/# sourceMappingURL=\S+\s*$/, '\n');

// Bytes as a data block holds them: gzipped, in base64.
const packed = (bytes) => gzipSync(bytes, { level: 9 }).toString('base64');

// With nothing to read, the program writes its first screen and ends at
// its first wait, as at the end of its input.
const firstScreen = execFileSync(native, { input: '' });
if (firstScreen.length === 0) throw new Error(`${native} wrote nothing before its first wait`);

const bodyOf = (file) => {
  const body = withoutSourceMap(readFileSync(file, 'utf8'));
  if (/<\/script/i.test(body)) throw new Error(`${file} would end its script element`);
  return body;
};
const bodies = scripts.map(bodyOf);
const laterBodies = later.map(bodyOf);
const hashes = [...bodies, ...laterBodies].map(
  (body) => `'sha256-${createHash('sha256').update(body, 'utf8').digest('base64')}'`);
const csp = [
  "default-src 'none'",
  `script-src ${hashes.join(' ')} 'wasm-unsafe-eval'`,
  "style-src 'unsafe-inline'",
  'font-src data:',
  // boot.js reads the WebAssembly's block with fetch() of a data: URL.
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
  .replace('@SCRIPTS@', () => [
    `<script type="application/gzip" id="tavro-wasm">${packed(readFileSync(wasm))}</script>`,
    `<script type="application/octet-stream" id="tavro-first">${firstScreen.toString('base64')}</script>`,
    ...bodies.map((body) => `<script>${body}</script>`),
    ...laterBodies.map((body, k) => `<script type="application/gzip" class="tavro-later" ` +
      `data-part="${basename(later[k]).replace(/\.[^.]*$/, '')}">${packed(Buffer.from(body, 'utf8'))}</script>`),
  ].join('\n'));
writeFileSync(output, page);
