// The check of what Asyncify instruments (asyncify_check.mjs): on the linked
// program, every function a wait can unwind through is instrumented; and on
// small modules built here, the check finds what reaches a wait by calls and
// by indirect calls of the same type, and misses no function left out.
// TAVRO_WASM: the built tavro.wasm, its script and symbol map beside it.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { analyse, checkProgram, readModule } from './asyncify_check.mjs';

test('every function a read can wait in is instrumented in the linked program', () => {
  const wasm = process.env.TAVRO_WASM;
  const script = wasm.replace(/\.wasm$/, '.js');
  const result = checkProgram(wasm, script, `${script}.symbols`);
  assert.ok(result.waits.includes('pageRead'), `waits: ${result.waits}`);
  assert.deepEqual(result.missing, [], 'add these to web/asyncify_add.txt');
});

// A module of one waiting import (function 0, of type 0), Asyncify's state
// (global 0), its start_unwind (the last function, exported as "x") and the
// functions `defined`: {type, table (whether in the table), body: bytes}.
const leb = (n) => {
  const out = [];
  do {
    out.push((n & 0x7f) | (n > 0x7f ? 0x80 : 0));
    n >>>= 7;
  } while (n);
  return out;
};
const vec = (items) => [...leb(items.length), ...items.flat()];
const section = (id, bytes) => [id, ...leb(bytes.length), ...bytes];
const name = (text) => vec([...Buffer.from(text)]);
const I32 = 0x7f;
const TYPES = [[[I32], []], [[I32, I32], [I32]]];  // 0: (i32), 1: (i32, i32) -> i32
const call = (f) => [0x10, ...leb(f)];
const callIndirect = (type) => [0x11, type, 0x00];
const instrumented = [0x23, 0x00, 0x1a];  // global.get of the state, dropped
const SCRIPT = 'var asmLibraryArg={"a":__asyncjs__pageRead,"b":_abort};' +
  'var _asyncify_start_unwind=Module["_asyncify_start_unwind"]=Module["asm"]["x"];';

function moduleOf(defined) {
  const unwind = { type: 0, body: [0x41, 0x01, 0x24, 0x00] };  // state = 1
  const all = [...defined, unwind];
  const table = all.flatMap((f, i) => (f.table ? [i + 1] : []));
  const bytes = [
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,
    ...section(1, vec(TYPES.map(([p, r]) => [0x60, ...vec(p), ...vec(r)]))),
    ...section(2, vec([[...name('a'), ...name('a'), 0x00, 0x00]])),
    ...section(3, vec(all.map((f) => [f.type]))),
    ...section(4, vec([[0x70, 0x00, ...leb(table.length + 1)]])),
    ...section(6, vec([[I32, 0x01, 0x41, 0x00, 0x0b]])),
    ...section(7, vec([[...name('x'), 0x00, ...leb(all.length)]])),
    ...section(9, vec([[0x00, 0x41, 0x01, 0x0b, ...vec(table.map(leb))]])),
    ...section(10, vec(all.map((f) => vec([0x00, ...f.body, 0x0b])))),
  ];
  return readModule(new Uint8Array(bytes));
}

// Function 0 waits; defined functions are numbered from 1.
const cases = [
  {
    what: 'a caller of a caller of the wait, not instrumented',
    defined: [
      { type: 0, body: [...instrumented, ...call(0)] },
      { type: 0, body: [...instrumented, ...call(1)] },
      { type: 0, body: call(2) },
      { type: 0, body: [] },
    ],
    reaching: [1, 2, 3], missing: [3],
  },
  {
    what: 'an indirect call of the type of a waiting function in the table',
    defined: [
      { type: 0, table: true, body: [...instrumented, ...call(0)] },
      { type: 0, body: [0x20, 0x00, 0x41, 0x00, ...callIndirect(0)] },
    ],
    reaching: [1, 2], missing: [2],
  },
  {
    what: 'indirect calls that cannot wait: another type, or the waiting one not in the table',
    defined: [
      { type: 0, body: [...instrumented, ...call(0)] },
      { type: 1, table: true, body: [0x41, 0x00] },
      { type: 0, body: [0x41, 0x00, 0x41, 0x00, 0x41, 0x00, ...callIndirect(1), 0x1a] },
      { type: 0, body: [0x41, 0x00, 0x41, 0x00, ...callIndirect(0)] },
    ],
    reaching: [1], missing: [],
  },
  {
    what: 'all instrumented, within blocks and after constants that look like calls',
    defined: [
      {
        type: 0,
        body: [0x02, 0x40, 0x42, 0x90, 0x20, 0x1a, 0x44, 0x10, 0, 0, 0, 0, 0, 0, 0x11,
          ...instrumented, ...call(0), 0x0b],
      },
      { type: 0, table: true, body: [0x03, 0x40, ...instrumented, ...call(1), 0x0b] },
      { type: 0, body: [0x41, 0x00, ...instrumented, 0x41, 0x00, ...callIndirect(0)] },
    ],
    reaching: [1, 2, 3], missing: [],
  },
];

for (const { what, defined, reaching, missing } of cases) {
  test(what, () => {
    const result = analyse(moduleOf(defined), SCRIPT);
    assert.deepEqual(result.waits, [0]);
    assert.deepEqual(result.reaching, reaching);
    assert.deepEqual(result.missing, missing);
  });
}
