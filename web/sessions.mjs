// The typed sessions the page's tests run in every browser, and the Linux
// program they are compared with. TAVRO_NATIVE: the Linux program.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';

const native = process.env.TAVRO_NATIVE;
if (!native) throw new Error('TAVRO_NATIVE must name the Linux program');

// Named keys: what a browser driver presses, and the bytes a Linux terminal sends.
export const named = {
  '<enter>': ['Enter', '\n'], '<bs>': ['Backspace', '\x7f'], '<up>': ['ArrowUp', '\x1b[A'],
  '<f1>': ['F1', '\x1bOP'], '<c-c>': ['c', '\x03'], '<c-d>': ['d', '\x04'], '<c-u>': ['u', '\x15'],
};
export const tokens = (text) => text.match(/<[a-z0-9-]+>|[^]/gu);

// A session: steps typed one after the other, each once the program waits.
// A step is one key, or a line ending in <enter>. `input` is what the Linux
// program reads for the same typing (the lines as corrected), `echoes` what
// the page's terminal echoes of each line.
export const session = (steps) => {
  let input = '';
  const echoes = [];
  for (const step of steps) {
    if (!step.endsWith('<enter>')) {
      input += named[step]?.[1] ?? step;
      continue;
    }
    let line = '';
    let echo = '';
    for (const t of tokens(step)) {
      if (t === '<bs>') { line = [...line].slice(0, -1).join(''); echo += '\b \b'; }
      else if (t === '<enter>') { line += '\n'; echo += '\n'; }
      else { line += t; echo += t; }
    }
    input += line;
    echoes.push(echo);
  }
  return { steps, input, echoes };
};

export const sessions = {
  "README's script": session(['a', '100 1200 3<enter>', 'b', '2.3 1 1 0<enter>',
    'w', ' ', ' ', ' ', 'g', ' ', ' ', ' ', 'q']),
  'all dialogs, corrections, decimal commas, x': session([
    'a', '1,5 12x<bs>00 3<enter>', 'c', '239 80<enter>', '477 10<enter>',
    'd', '150 300 40 2689 0,8 12<enter>', 'e', '1.4 1.8 1<enter>',
    'b', '2.3 1<enter>', '7<enter>', '1<enter>', '-1<enter>', 'abc<enter>', '1<enter>',
    'g', ' ', 'x', 'i', 'q', 'Q', 'w', 'x', 'q']),
  'undefined results, F1, an arrow, ä': session([
    '<f1>', '<up>', 'ä', 'b', '2.3 0 0 0<enter>', 'd', '0 0 0 0 0 0<enter>',
    'g', ' ', ' ', ' ', 'q']),
};

// The Linux program's output for `input` read from a pipe.
export const linux = (input) => spawnSync(native, { input }).stdout.toString('utf8');

// What the transcript holds besides the echoes, taken out in order.
export const withoutEchoes = (transcript, echoes) => {
  let rest = transcript;
  let kept = '';
  for (const echo of echoes) {
    const at = rest.indexOf(echo);
    assert.notEqual(at, -1, `echo ${JSON.stringify(echo)} missing`);
    kept += rest.slice(0, at);
    rest = rest.slice(at + echo.length);
  }
  return kept + rest;
};

