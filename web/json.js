// The program's JSON as the page reads it: a number JSON has no word for
// comes as an object of its own, {"nonFinite": "NaN"} ("Infinity",
// "-Infinity"), and is revived into JavaScript's own value; no string is
// ever taken for a number.
'use strict';
window.tavroParse = (() => {
  const nonFinite = new Map([['NaN', NaN], ['Infinity', Infinity], ['-Infinity', -Infinity]]);
  const decoder = new TextDecoder();
  return (bytes) => JSON.parse(decoder.decode(bytes), (key, value) => (
    value !== null && typeof value === 'object' && Object.keys(value).length === 1 &&
    nonFinite.has(value.nonFinite) ? nonFinite.get(value.nonFinite) : value));
})();
