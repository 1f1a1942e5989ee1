// Whether Asyncify instrumented every function of the program's WebAssembly
// that can be on the stack while a read waits.
//
// The page's build instruments only the functions in web/asyncify_add.txt and
// takes every indirect call elsewhere for one that cannot wait
// (ASYNCIFY_IGNORE_INDIRECT). A function left off the list that a wait
// unwinds through runs on instead of saving its state, and the session goes
// wrong only for the inputs that wait there. So this reads the linked
// tavro.wasm itself: a function can be on the stack of a wait when it calls a
// waiting import, or a function that can, directly or indirectly; an indirect
// call can reach any function in the table of the same type (the engine traps
// on any other), so the answer holds whatever the program's pointers hold.
// Each such function must touch Asyncify's state, which only the instrumented
// do. That suffices as Binaryen instruments a listed function: every
// indirect call in it and every call of an instrumented function is taken
// for one that can wait.
//
// Usage: node asyncify_check.mjs tavro.wasm tavro.js tavro.js.symbols
// Exits 0 when all are instrumented, else 1, naming the others.
import { readFileSync } from 'node:fs';

// The imports a read waits in: the page's EM_ASYNC_JS functions (named
// __asyncjs__NAME) and the waiting functions Emscripten provides.
export const WAITING = new RegExp(`^(${[
  '__asyncjs__.*', 'emscripten_sleep', 'emscripten_wget.*', 'emscripten_idb_.*',
  'emscripten_scan_registers', 'emscripten_lazy_load_code', 'emscripten_fiber_swap', 'SDL_Delay',
  'invoke_.*', '_emval_await', '_dlopen_js', '__wasi_fd_sync', 'fd_sync',
].join('|')})$`);

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

// Emscripten's symbol map: "index:name" a line.
export function readSymbols(text) {
  const names = new Map();
  for (const line of text.split('\n')) {
    const colon = line.indexOf(':');
    if (colon > 0) names.set(Number(line.slice(0, colon)), line.slice(colon + 1));
  }
  return names;
}

// The JavaScript functions behind the imports (by their minified names), as
// the program's script hands them to the WebAssembly.
export function readImports(script) {
  const table = /asmLibraryArg\s*=\s*\{([^}]*)\}/.exec(script);
  if (!table) throw new Error('no asmLibraryArg in the script');
  const imports = new Map();
  for (const [, field, js] of table[1].matchAll(/"?([\w$]+)"?\s*:\s*([\w$]+)/g)) {
    imports.set(field, js);
  }
  return imports;
}

// The minified name of the WebAssembly's export `name`, as the script reads it.
function exportField(script, name) {
  const assigned = `_${name}=Module\\["_${name}"\\]=Module\\["asm"\\]\\["([\\w$]+)"\\]`;
  const read = new RegExp(assigned).exec(script);
  return read ? read[1] : name;
}

// The functions (indices) that can be on the stack while a read waits, and
// of them those Asyncify left as they were.
export function analyse(module, script) {
  const imports = readImports(script);
  const { functions, exports, addressed } = module;
  const waits = [];
  functions.forEach((f, i) => {
    const js = f.imported && imports.get(f.imported.slice(f.imported.indexOf('.') + 1));
    if (js && (WAITING.test(js) || WAITING.test(js.replace(/^_/, '')))) waits.push(i);
  });
  if (waits.length === 0) throw new Error('no waiting import: is this the page\'s program?');
  // Asyncify's state is the global its start_unwind sets first; the
  // instrumented functions read it after every call that can wait.
  const unwind = exports.get(exportField(script, 'asyncify_start_unwind'));
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
  return {
    waits,
    reaching: defined,
    missing: defined.filter((i) => !instrumented[i]),
    needless: instrumented.flatMap((yes, i) => (yes && !reaching.has(i) ? [i] : [])),
  };
}

// A name of the symbol map as the program has it: the map escapes
// characters as \XX.
function readable(name) {
  return name.replace(/\\([0-9a-f]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
}

// The linked program's analysis, with readable names.
export function checkProgram(wasm, script, symbols) {
  const names = readSymbols(readFileSync(symbols, 'utf8'));
  const name = (i) => readable(names.get(i) ?? `function ${i}`);
  const result = analyse(readModule(readFileSync(wasm)), readFileSync(script, 'utf8'));
  return {
    waits: result.waits.map(name),
    reaching: result.reaching.map(name),
    missing: result.missing.map(name),
    needless: result.needless.map(name),
  };
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [wasm, script, symbols] = process.argv.slice(2);
  if (!symbols) {
    console.error('usage: node asyncify_check.mjs tavro.wasm tavro.js tavro.js.symbols');
    process.exit(2);
  }
  const result = checkProgram(wasm, script, symbols);
  console.log(`${result.reaching.length} functions can be on the stack of a wait ` +
              `(${result.waits.join(', ')}); ${result.needless.length} others are instrumented`);
  if (result.missing.length > 0) {
    console.log('Not instrumented, to be added to web/asyncify_add.txt:');
    for (const name of result.missing) console.log(name);
    process.exit(1);
  }
}
