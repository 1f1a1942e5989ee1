// The check of what Asyncify instruments (asyncify_check.mjs): on the linked
// program, every function a wait can unwind through is on web/asyncify_add.txt
// and instrumented, every line of the list names a function, and no export
// the page calls outright can wait; and on small modules built here, the
// check finds what reaches a wait by calls and by indirect calls of the same
// type, and misses none of these faults.
// TAVRO_WASM: the built tavro.wasm, its script and symbol map beside it;
// TAVRO_ASYNCIFY_ADD: the list.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { analyse, checkProgram, readList, readModule } from './asyncify_check.mjs';

test('the linked program: each function a read can wait in listed and instrumented', () => {
  const wasm = process.env.TAVRO_WASM;
  const script = wasm.replace(/\.wasm$/, '.js');
  const result = checkProgram(wasm, script, `${script}.symbols`, process.env.TAVRO_ASYNCIFY_ADD);
  assert.ok(result.waits.includes('pageRead'), `waits: ${result.waits}`);
  assert.deepEqual(result.unlisted, [], 'add these to web/asyncify_add.txt');
  assert.deepEqual(result.uninstrumented, []);
  assert.deepEqual(result.unmatched, [], 'lines of web/asyncify_add.txt that name nothing');
  assert.deepEqual(result.exported, [], 'exports the page calls outright that can wait');
});

test('the list is read as the build hands it to emcc, and emcc to Binaryen', () => {
  const text = '# all comment\nmain\n\n  f(int)  # why\n\t\nnamespace.f?g\n#\n';
  assert.deepEqual(readList(text), ['main', 'f(int)', 'namespace f,g']);
});

// A module of the imports `imports` (functions 0 on, of type 0), Asyncify's
// state (global 0), its start_unwind (the last function, exported as "x")
// and the functions `defined`: {type, table (whether in the table), body:
// bytes, name (else f and its index), export (its name there)}.
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
const SCRIPT = 'var _main=Module["_main"]=Module["asm"]["m"];' +
  'var _asyncify_start_unwind=Module["_asyncify_start_unwind"]=Module["asm"]["x"];';

function moduleOf(imports, defined) {
  const unwind = { type: 0, body: [0x41, 0x01, 0x24, 0x00] };  // state = 1
  const all = [...defined, unwind];
  const first = imports.length;
  const table = all.flatMap((f, i) => (f.table ? [first + i] : []));
  const exported = all.flatMap((f, i) => (
    f.export ? [[...name(f.export), 0x00, ...leb(first + i)]] : []));
  const bytes = [
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,
    ...section(1, vec(TYPES.map(([p, r]) => [0x60, ...vec(p), ...vec(r)]))),
    ...section(2, vec(imports.map((n) => [...name('a'), ...name(n), 0x00, 0x00]))),
    ...section(3, vec(all.map((f) => [f.type]))),
    ...section(4, vec([[0x70, 0x00, ...leb(table.length + 1)]])),
    ...section(6, vec([[I32, 0x01, 0x41, 0x00, 0x0b]])),
    ...section(7, vec([...exported, [...name('x'), 0x00, ...leb(first + defined.length)]])),
    ...section(9, vec([[0x00, 0x41, 0x01, 0x0b, ...vec(table.map(leb))]])),
    ...section(10, vec(all.map((f) => vec([0x00, ...f.body, 0x0b])))),
  ];
  const names = new Map(imports.map((n, i) => [i, n]));
  defined.forEach((f, i) => names.set(first + i, f.name ?? `f${first + i}`));
  return { module: readModule(new Uint8Array(bytes)), names };
}

// Function 0, pageRead, waits unless a case says otherwise; defined
// functions are numbered after the imports. Each case states the parts of the
// answer it is about.
const cases = [
  {
    what: 'a caller of a caller of the wait, not instrumented',
    defined: [
      { type: 0, body: [...instrumented, ...call(0)] },
      { type: 0, body: [...instrumented, ...call(1)] },
      { type: 0, body: call(2) },
      { type: 0, body: [] },
    ],
    list: ['f1', 'f2', 'f3'],
    reaching: ['f1', 'f2', 'f3'], uninstrumented: ['f3'], unlisted: [],
  },
  {
    what: 'an indirect call of the type of a waiting function in the table',
    defined: [
      { type: 0, table: true, body: [...instrumented, ...call(0)] },
      { type: 0, body: [0x20, 0x00, 0x41, 0x00, ...callIndirect(0)] },
    ],
    list: ['f1', 'f2'],
    reaching: ['f1', 'f2'], uninstrumented: ['f2'],
  },
  {
    what: 'indirect calls that cannot wait: another type, or the waiting one not in the table',
    defined: [
      { type: 0, body: [...instrumented, ...call(0)] },
      { type: 1, table: true, body: [0x41, 0x00] },
      { type: 0, body: [0x41, 0x00, 0x41, 0x00, 0x41, 0x00, ...callIndirect(1), 0x1a] },
      { type: 0, body: [0x41, 0x00, 0x41, 0x00, ...callIndirect(0)] },
    ],
    list: ['f1'],
    reaching: ['f1'], uninstrumented: [], unlisted: [],
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
    list: ['f*'],
    reaching: ['f1', 'f2', 'f3'], uninstrumented: [], unlisted: [], unmatched: [],
  },
  {
    what: 'instrumented for its direct call of the wait, off the list: its indirect one is not',
    defined: [
      { type: 0, table: true, body: [...instrumented, ...call(0)] },
      { type: 0, body: [...instrumented, ...call(1), 0x41, 0x00, ...callIndirect(0)] },
    ],
    list: ['f1'],
    uninstrumented: [], unlisted: ['f2'],
  },
  {
    what: 'lines that name nothing: no function, only an import, a name read as a pattern',
    defined: [
      {
        type: 0, name: '(anonymous namespace)::$_3::__invoke(S&)',
        body: [...instrumented, ...call(0)],
      },
      { type: 0, name: 'g(int) const', body: [...instrumented, ...call(1)] },
    ],
    list: ['(anonymous namespace)::$_*::__invoke(S&)', 'g(int) const', 'gone()', 'pageRead',
      'g(int)', 'g(int) cons.', 'g(int|x) const'],
    unlisted: [], unmatched: ['gone()', 'pageRead', 'g(int)', 'g(int) cons.', 'g(int|x) const'],
  },
  {
    what: 'an import not known to return at once is taken for one that can wait',
    imports: ['pageRead', 'abort', 'pageText', 'pageNew'],
    defined: [
      { type: 0, body: [...call(1), ...call(2)] },
      { type: 0, body: call(3) },
    ],
    list: [],
    waits: ['pageRead', 'pageNew'], reaching: ['f5'], unlisted: ['f5'],
  },
  {
    what: 'no export but main and dynCall_ can reach a wait',
    defined: [
      { type: 0, export: 'm', body: [...instrumented, ...call(0)] },
      { type: 0, export: 'dynCall_vi', body: [0x41, 0x00, ...instrumented, ...call(0)] },
      { type: 0, export: '_tavroSeriesRead', body: [...instrumented, ...call(1)] },
      { type: 0, export: '_tavroSizeLink', body: [] },
    ],
    list: ['f*'],
    exported: ['_tavroSeriesRead'],
  },
];

for (const { what, imports = ['pageRead'], defined, list, ...expected } of cases) {
  test(what, () => {
    const { module, names } = moduleOf(imports, defined);
    const result = analyse(module, SCRIPT, names, list);
    for (const [key, value] of Object.entries(expected)) assert.deepEqual(result[key], value, key);
  });
}
