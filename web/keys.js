// The key bar for touch screens and narrow windows: every key the program
// needs, as buttons that type exactly the bytes the keyboard sends (in
// data-key) and never open the phone's own keyboard. CSS shows the bar.
'use strict';
(() => {
  // [label, bytes, name for a screen reader where the label is a sign]
  const keys = [
    ...[...'iabcdewgqx'].map((k) => [k, k]),
    ...[...'0123456789'].map((k) => [k, k]),
    [',', ','], ['.', '.'], ['-', '-'],
    ['⌫', '\x7f', 'Rücktaste'],
    ['⏎', '\r', 'Eingabe'],
    ['weiter', ' ', 'weiter (Leertaste)'],
    ['Wert behalten', null],  // types the value the prompt's field held
  ];
  const bar = document.getElementById('keys');
  for (const [label, bytes, name] of keys) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = label;
    if (bytes !== null) button.dataset.key = bytes;
    if (name) button.setAttribute('aria-label', name);
    if (bytes === ' ') button.className = 'wide';
    if (bytes === '\r') button.className = 'enter';
    if (bytes === null) button.className = 'keep';
    // Keeps the focus where it is: the terminal's input would open the
    // phone's keyboard.
    button.addEventListener('pointerdown', (event) => event.preventDefault());
    button.addEventListener('click', () => (bytes === null ? window.tavro.keep() : window.tavro.send(bytes)));
    bar.append(button);
  }
})();
