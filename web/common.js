// What the page's scripts share: the program's JSON read, an element built,
// a check's share of its limit for a bar, and the instance that computes.
'use strict';
window.tavroCommon = (() => {
  // A number JSON has no word for comes as an object of its own,
  // {"nonFinite": "NaN"} ("Infinity", "-Infinity"), and is revived into
  // JavaScript's own value; no string is ever taken for a number.
  const nonFinite = new Map([['NaN', NaN], ['Infinity', Infinity], ['-Infinity', -Infinity]]);
  const decoder = new TextDecoder();
  const parse = (bytes) => JSON.parse(decoder.decode(bytes), (key, value) => (
    value !== null && typeof value === 'object' && Object.keys(value).length === 1 &&
    nonFinite.has(value.nonFinite) ? nonFinite.get(value.nonFinite) : value));

  // An element with its attributes and children.
  const element = (tag, attributes = {}, ...children) => {
    const e = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) e.setAttribute(name, value);
    e.append(...children);
    return e;
  };

  // The value's share of the limit of a check ({value, limit}) in percent,
  // for the length of a bar; its text comes from the program (share).
  const share = (c) => c.value / c.limit * 100;

  // The page's second instance of the program, which only computes (the
  // running one waits suspended for its keys); made when first asked.
  // ask(call, fields, ...args) sets `fields` on it, calls the export `call`
  // and resolves to the JSON it answers in Module.tavroAnswer.
  let engine = null;
  const ask = async (call, fields, ...args) => {
    if (engine === null) {
      engine = createTavro({ tavroAnswer: null, tavroTable: null, tavroLink: null,
                             instantiateWasm: tavroBoot.instantiateWasm });
      performance.mark('tavro-engine');
    }
    const program = await engine;
    Object.assign(program, fields);
    let reply = null;
    program.tavroAnswer = (bytes) => { reply = bytes; };
    program[call](...args);
    return parse(reply);
  };

  return { parse, element, share, ask };
})();
