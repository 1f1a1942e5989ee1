// Whether Asyncify makes every function of the program's WebAssembly that
// can be on the stack while a read waits safe to unwind and rewind.
//
// The page's build instruments the functions in web/asyncify_add.txt, and
// those that reach a waiting import by direct calls, which Binaryen finds on
// its own; with ASYNCIFY_IGNORE_INDIRECT it takes every indirect call for
// one that cannot wait, except in a function of the list. A function that
// reaches a wait through a pointer and is not on the list, though Binaryen
// may instrument it for its direct calls, runs on after that call instead of
// saving its state, and the session goes wrong only for the inputs that wait
// there. So this reads the linked tavro.wasm itself: a function can be on the
// stack of a wait when it calls an import that can wait (any but those of
// NEVER_WAITING, so that a new import cannot slip past), or a function that
// can, directly or indirectly; an indirect call can reach any function in the
// table of the same type (the engine traps on any other), so the answer holds
// whatever the program's pointers hold. Each function that can must match a
// line of the list (names as in the symbol map, demangled; * for any text)
// and touch Asyncify's state, which only the instrumented do; every line of
// the list must match a function of the program (Binaryen only warns of one
// that matches none). And no export but main and the dynCall_ ones may reach
// a wait: the page calls the others on a second instance as plain calls,
// whose answer it reads as soon as they return (web/common.js).
//
// It assumes that no import calls back into the same instance through
// JavaScript (a wait under such a call would unwind through functions this
// does not see on the stack), and that the table does not change at run time
// (it takes the table's functions from the module's element segments).
//
// Usage: node asyncify_check.mjs tavro.wasm tavro.js tavro.js.symbols asyncify_add.txt
// Exits 0 when all is well, else 1, naming what is wrong.
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

// The imports, by their names in the program, known to return at once: the
// page's EM_JS functions, and Emscripten's for memory, exceptions and the
// program's end. An import not named here is taken for one that can wait.
export const NEVER_WAITING = new Set([
  'pageHand', 'pageHasText', 'pageText', 'pageTextSize', 'pageWrite',
  'abort', 'exit', '__cxa_allocate_exception', '__cxa_throw',
  'emscripten_memcpy_big', 'emscripten_resize_heap',
]);

class Reader {
  constructor(bytes, at, end) {
    this.b = bytes;
    this.at = at;
    this.end = end;
  }
  byte() {
    if (this.at >= this.end) throw new Error(`wasm ends early at ${this.at}`);
    return this.b[this.at++];
  }
  u32() {
    let value = 0;
    for (let shift = 0; ; shift += 7) {
      const b = this.byte();
      value += (b & 0x7f) * 2 ** shift;
      if ((b & 0x80) === 0) return value;
    }
  }
  // Signed numbers are only passed over: their values do not matter here.
  skipLeb() {
    while (this.byte() & 0x80);
  }
  name() {
    const n = this.u32();
    this.at += n;
    return Buffer.from(this.b.subarray(this.at - n, this.at)).toString('utf8');
  }
  vec(read) {
    const n = this.u32();
    for (let i = 0; i < n; i++) read();
  }
}

// Exceptions' and tail calls' instructions, and calls through references.
const UNREAD = new Set([0x06, 0x07, 0x08, 0x09, 0x12, 0x13, 0x14, 0x15, 0x18, 0x19]);

// Reads instructions up to the reader's end, or with `constant`, up to the
// end of a constant expression (which nests no blocks), telling `on` of the
// calls, indirect calls (by type index), global reads and taken functions.
function instructions(r, on, constant = false) {
  while (r.at < r.end) {
    const op = r.byte();
    if (op === 0x0b && constant) return;
    if (op === 0x02 || op === 0x03 || op === 0x04) r.skipLeb();  // block type
    else if (op === 0x0c || op === 0x0d) r.u32();
    else if (op === 0x0e) {
      r.vec(() => r.u32());
      r.u32();
    } else if (op === 0x10) on.call?.(r.u32());
    else if (op === 0x11) {
      on.indirect?.(r.u32());
      r.u32();
    } else if (op === 0x1c) r.vec(() => r.byte());
    else if (op === 0x23) on.globalGet?.(r.u32());
    else if (op === 0x24) on.globalSet?.(r.u32());
    else if (op >= 0x20 && op <= 0x26) r.u32();
    else if (op >= 0x28 && op <= 0x3e) {
      r.u32();
      r.u32();
    } else if (op === 0x3f || op === 0x40) r.u32();
    else if (op === 0x41 || op === 0x42) r.skipLeb();
    else if (op === 0x43) r.at += 4;
    else if (op === 0x44) r.at += 8;
    else if (op === 0xd0) r.byte();
    else if (op === 0xd2) on.refFunc?.(r.u32());
    else if (op === 0xfc) {
      const sub = r.u32();
      if (sub === 8 || sub === 10 || sub === 12 || sub === 14) {
        r.u32();
        r.u32();
      } else if (sub >= 9 && sub <= 17) r.u32();
    } else if (op >= 0xfd || UNREAD.has(op)) {
      // Calls this does not follow, or immediates it does not know.
      throw new Error(`instruction 0x${op.toString(16)} is not read by this check`);
    }
    // All others have no immediates.
  }
}

function limits(s) {
  const flags = s.byte();
  s.u32();
  if (flags & 1) s.u32();
}

// The module's functions, indexed as the module does (imports first): each
// with its type (as text), whom it calls, the types it calls indirectly and
// the globals it reads; the imports with their names; the exports; and the
// functions whose address is taken (the table's).
export function readModule(bytes) {
  const r = new Reader(bytes, 8, bytes.length);
  const types = [];
  const functions = [];
  const exports = new Map();
  const addressed = new Set();
  const fn = (type, imported) => ({
    type, imported, calls: new Set(), indirect: new Set(), reads: new Set(), sets: [],
  });
  const constant = (s) => instructions(s, { refFunc: (f) => addressed.add(f) }, true);
  while (r.at < r.end) {
    const id = r.byte();
    const size = r.u32();
    const s = new Reader(bytes, r.at, r.at + size);
    r.at += size;
    if (id === 1) {
      s.vec(() => {
        if (s.byte() !== 0x60) throw new Error('a type that is no function type');
        const params = [];
        const results = [];
        s.vec(() => params.push(s.byte()));
        s.vec(() => results.push(s.byte()));
        types.push(`${params.join(',')}->${results.join(',')}`);
      });
    } else if (id === 2) {
      s.vec(() => {
        const module = s.name();
        const field = s.name();
        const kind = s.byte();
        if (kind === 0) functions.push(fn(types[s.u32()], `${module}.${field}`));
        else if (kind === 1) {
          s.byte();
          limits(s);
        } else if (kind === 2) limits(s);
        else {
          s.byte();
          s.byte();
        }
      });
    } else if (id === 3) {
      s.vec(() => functions.push(fn(types[s.u32()], null)));
    } else if (id === 6) {
      s.vec(() => {
        s.byte();
        s.byte();
        constant(s);
      });
    } else if (id === 7) {
      s.vec(() => {
        const name = s.name();
        const kind = s.byte();
        const index = s.u32();
        if (kind === 0) exports.set(name, index);
      });
    } else if (id === 9) {
      s.vec(() => {
        const flags = s.u32();
        if ((flags & 3) === 2) s.u32();  // table index
        if ((flags & 1) === 0) constant(s);  // offset
        if (flags & 3) s.byte();  // element kind or reference type
        if (flags & 4) s.vec(() => constant(s));
        else s.vec(() => addressed.add(s.u32()));
      });
    } else if (id === 10) {
      let index = functions.findIndex((f) => !f.imported);
      s.vec(() => {
        const bodySize = s.u32();
        const body = new Reader(bytes, s.at, s.at + bodySize);
        s.at += bodySize;
        body.vec(() => {
          body.u32();
          body.byte();
        });
        const f = functions[index++];
        instructions(body, {
          call: (g) => f.calls.add(g),
          indirect: (t) => f.indirect.add(types[t]),
          globalGet: (g) => f.reads.add(g),
          globalSet: (g) => f.sets.push(g),
          refFunc: (g) => addressed.add(g),
        });
      });
    }
  }
  return { functions, exports, addressed };
}

// A name of the symbol map as the program has it: the map escapes
// characters as \XX.
function readable(name) {
  return name.replace(/\\([0-9a-f]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
}

// Emscripten's symbol map ("index:name" a line): the functions' names by
// index, readable.
export function readSymbols(text) {
  const names = new Map();
  for (const line of text.split('\n')) {
    const colon = line.indexOf(':');
    if (colon > 0) names.set(Number(line.slice(0, colon)), readable(line.slice(colon + 1)));
  }
  return names;
}

// The names of the Asyncify list as Binaryen gets them: without the text from
// # on, each line trimmed and blank ones left out, as web.cmake hands the list
// to emcc; and with emcc's stand-ins for what a command line makes hard, a
// "." for a space and a "?" for a comma, which it replaces in a file's lines
// too.
export function readList(text) {
  return text.split('\n').map((line) => line.replace(/#.*/, '').trim()).filter((line) => line)
    .map((line) => line.replaceAll('.', ' ').replaceAll('?', ','));
}

// A line of the list as a pattern for whole names: * stands for any text,
// every other character for itself.
function pattern(line) {
  const parts = line.split('*').map((part) => part.replace(/[\\^$.+?()[\]{}|]/g, '\\$&'));
  return new RegExp(`^${parts.join('.*')}$`, 's');
}

// The script's names of the WebAssembly's exports, by their minified names
// ("v" gives "_main"): the names the page calls them by.
export function readExports(script) {
  const names = new Map();
  const assigned = /([\w$]+)=Module\["\1"\]=Module\["asm"\]\["([\w$]+)"\]/g;
  for (const [, name, field] of script.matchAll(assigned)) names.set(field, name);
  return names;
}

// The exports a wait may unwind through: the program's run, and the calls
// through the table that Asyncify's runtime makes on rewinding.
const WAITING_EXPORT = /^(_main|dynCall_.*)$/;

// What the module tells of its waits, all by name (`names`, the symbol map's,
// by index): the imports taken for ones that can wait; the functions that can
// be on the stack of a wait, and of them those no line of `list` (readList's)
// names and those left uninstrumented; the lines that name no function; the
// exports but main and dynCall_ that can reach a wait (by the script's
// names); and the instrumented functions that cannot.
export function analyse(module, script, names, list) {
  const { functions, exports, addressed } = module;
  const name = (i) => names.get(i) ?? `function ${i}`;
  const waits = functions.flatMap((f, i) => (
    f.imported && !NEVER_WAITING.has(names.get(i)) ? [i] : []));
  if (waits.length === 0) throw new Error('no import that can wait: is this the page\'s program?');
  // Asyncify's state is the global its start_unwind sets first; the
  // instrumented functions read it after every call that can wait.
  const exportNames = readExports(script);
  const unwindField = [...exportNames].find(([, n]) => n === '_asyncify_start_unwind')?.[0];
  const unwind = exports.get(unwindField ?? 'asyncify_start_unwind');
  if (unwind === undefined) throw new Error('not built with Asyncify');
  const state = functions[unwind].sets[0];
  const byType = new Map();
  for (const f of addressed) {
    const type = functions[f].type;
    if (!byType.has(type)) byType.set(type, []);
    byType.get(type).push(f);
  }
  // Grows the set of functions that can reach a wait until it stays.
  const reaching = new Set(waits);
  for (let grown = true; grown;) {
    grown = false;
    functions.forEach((f, i) => {
      if (reaching.has(i) || f.imported) return;
      if ([...f.calls].some((g) => reaching.has(g)) ||
          [...f.indirect].some((t) => (byType.get(t) ?? []).some((g) => reaching.has(g)))) {
        reaching.add(i);
        grown = true;
      }
    });
  }
  const defined = [...reaching].filter((i) => !functions[i].imported).sort((a, b) => a - b);
  const instrumented = functions.map((f) => !f.imported && f.reads.has(state));
  const patterns = list.map(pattern);
  const ownNames = functions.flatMap((f, i) => (f.imported ? [] : [name(i)]));
  return {
    waits: waits.map(name),
    reaching: defined.map(name),
    unlisted: defined.filter((i) => !patterns.some((p) => p.test(name(i)))).map(name),
    uninstrumented: defined.filter((i) => !instrumented[i]).map(name),
    unmatched: list.filter((line, k) => !ownNames.some((n) => patterns[k].test(n))),
    exported: [...exports].flatMap(([field, i]) => {
      const called = exportNames.get(field) ?? field;
      return reaching.has(i) && !WAITING_EXPORT.test(called) ? [called] : [];
    }),
    needless: instrumented.flatMap((yes, i) => (yes && !reaching.has(i) ? [name(i)] : [])),
  };
}

// The linked program's analysis against the list in the file `list`.
export function checkProgram(wasm, script, symbols, list) {
  return analyse(readModule(readFileSync(wasm)), readFileSync(script, 'utf8'),
                 readSymbols(readFileSync(symbols, 'utf8')), readList(readFileSync(list, 'utf8')));
}

const FAULTS = {
  unlisted: 'Can reach a wait, to be added to the list:',
  uninstrumented: 'Can reach a wait, not instrumented:',
  unmatched: 'Lines of the list that name no function of the program:',
  exported: 'Exports the page calls outright that can reach a wait:',
};

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [wasm, script, symbols, list] = process.argv.slice(2);
  if (!list) {
    console.error('usage: node asyncify_check.mjs tavro.wasm tavro.js tavro.js.symbols ' +
                  'asyncify_add.txt');
    process.exit(2);
  }
  const result = checkProgram(wasm, script, symbols, list);
  console.log(`${result.reaching.length} functions can be on the stack of a wait ` +
              `(in ${result.waits.join(', ')}); ${result.needless.length} others are instrumented`);
  let faults = 0;
  for (const [key, heading] of Object.entries(FAULTS)) {
    if (result[key].length === 0) continue;
    console.log(heading);
    for (const name of result[key]) console.log(`  ${name}`);
    faults += result[key].length;
  }
  process.exit(faults > 0 ? 1 : 0);
}
