// The page around TAVRO: xterm.js draws the terminal, and a thin transport
// hands it the program's output and the program the bytes typed into it.
// Each run is a new instance of the program (createTavro); after it ends,
// the next key starts another. The run hands over its case after every
// command and its check at every compute; the panel (panel.js) draws them.
// window.tavro offers the run's transcript, the screen, the case and the
// check.
'use strict';
(() => {
  const term = new Terminal({
    convertEol: true,  // the program ends its lines with LF alone
    scrollback: 10000,
    fontFamily: 'monospace',
    fontSize: 15,
  });
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.open(document.getElementById('terminal'));

  // The terminal fills the window, but is never narrower than 80 columns.
  const resize = () => {
    const size = fit.proposeDimensions();
    if (size) term.resize(Math.max(80, size.cols), Math.max(10, size.rows));
  };
  new ResizeObserver(resize).observe(document.getElementById('terminal'));
  resize();

  const encoder = new TextEncoder();
  let typed = [];             // byte arrays typed, not yet read by the run
  let wake = null;            // ends the run's wait for typed bytes
  let running = false;        // a run is going on
  let transcript = '';        // everything the run wrote, echo included
  let decoder = null;         // the run's UTF-8 decoder, across writes

  const show = (bytes) => {
    term.write(bytes);
    transcript += decoder.decode(bytes, { stream: true });
  };

  // The run's JSON: numbers JSON has no words for come as these strings.
  const special = { NaN, Infinity, '-Infinity': -Infinity };
  const parse = (bytes) => JSON.parse(new TextDecoder().decode(bytes),
                                      (key, value) => special[value] ?? value);
  // Tells two cases apart to the last bit (String keeps NaN and infinities).
  const caseKey = (data) => JSON.stringify(Object.values(data).map(String));
  let current = null;  // the case as the last command left it, with its texts
  let check = null;    // the last check computed
  const tavroCase = (bytes) => {
    current = parse(bytes);
    tavroPanel.setStale(check !== null && caseKey(current.case) !== caseKey(check.case));
  };
  const tavroCheck = (bytes) => {
    check = parse(bytes);
    tavroPanel.show(check);
    document.getElementById('print').disabled = false;
  };

  // The run as the screen shows it: what Backspace erased ("\b \b" per
  // cell) is gone, and no control character but the line end is left.
  const asShown = (text) => {
    const chars = Array.from(text);
    let line = [];
    let out = '';
    for (let k = 0; k < chars.length; ++k) {
      if (chars[k] === '\b' && chars[k + 1] === ' ' && chars[k + 2] === '\b') {
        line.pop();
        k += 2;
      } else if (chars[k] === '\n') {
        out += line.join('') + '\n';
        line = [];
      } else if (!/[\x00-\x1f\x7f-\x9f]/.test(chars[k])) {
        line.push(chars[k]);
      }
    }
    return out + line.join('');
  };

  // Up to `size` typed bytes, in the order typed.
  const take = (size) => {
    const bytes = new Uint8Array(Math.min(size, typed.reduce((n, b) => n + b.length, 0)));
    let filled = 0;
    while (filled < bytes.length) {
      const first = typed[0];
      const part = first.subarray(0, bytes.length - filled);
      bytes.set(part, filled);
      filled += part.length;
      if (part.length === first.length) typed.shift(); else typed[0] = first.subarray(part.length);
    }
    return bytes;
  };

  // The run's read: typed bytes, or null when `waitMs` (if not negative)
  // passed first.
  const tavroTyped = (size, waitMs) => new Promise((resolve) => {
    if (typed.length > 0) return resolve(take(size));
    const timer = waitMs >= 0 ? setTimeout(() => { wake = null; resolve(null); }, waitMs) : 0;
    wake = () => { clearTimeout(timer); wake = null; resolve(take(size)); };
  });

  // The run ended with `status` (a number), or with an error.
  const ended = (status) => {
    running = false;
    wake = null;
    const atLineStart = transcript === '' || transcript.endsWith('\n');
    const how = typeof status === 'number' ? `(Status ${status})` : `mit dem Fehler ${status}`;
    term.write(`${atLineStart ? '' : '\r\n'}TAVRO ist beendet ${how}. ` +
               'Eine beliebige Taste startet es neu.\r\n');
  };

  const start = () => {
    running = true;
    typed = [];
    transcript = '';
    decoder = new TextDecoder();
    // main's promise settles when the run ends: with its return value, or
    // with the ExitStatus of an exit() inside it (Ctrl-C).
    createTavro({ tavroTyped, tavroShow: show, tavroCase, tavroCheck,
                  tavroIgnored: () => {}, tavroStartLink: '' })
      .then((program) => program.ccall('main', 'number', ['number', 'number'], [0, 0],
                                       { async: true }))
      .then(ended, (error) => ended(error && error.name === 'ExitStatus' ? error.status : error));
  };

  term.onData((data) => {
    if (!running) return start();  // the key that starts a run is not passed on
    typed.push(encoder.encode(data));
    if (wake) wake();
  });

  // Ctrl-C copies the selection, if there is one, as in Windows Terminal;
  // xterm.js then leaves the key to the browser's own copy.
  term.attachCustomKeyEventHandler((event) => !(
    event.type === 'keydown' && event.ctrlKey && !event.altKey && !event.metaKey &&
    event.key.toLowerCase() === 'c' && term.hasSelection()));

  document.getElementById('save').addEventListener('click', () => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([asShown(transcript)], { type: 'text/plain;charset=utf-8' }));
    link.download = 'tavro-protokoll.txt';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    term.focus();
  });
  document.getElementById('print').addEventListener('click', () => window.print());
  document.getElementById('terminal').addEventListener('click', () => term.focus());

  window.tavro = {
    // Every character written since the current run started, "\n" line ends.
    transcript: () => transcript,
    // The run as saved by "Protokoll speichern".
    saved: () => asShown(transcript),
    // null before the first compute; else {case, results, checks, curve}
    // and the texts the program prints for them (printed, pages).
    check: () => check,
    // The case's twenty fields as the last command left them.
    case: () => current?.case ?? null,
    // The terminal's lines, scrollback included, without trailing blanks.
    screen: () => {
      const buffer = term.buffer.active;
      const lines = [];
      for (let y = 0; y < buffer.length; ++y) lines.push(buffer.getLine(y).translateToString(true));
      while (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
      return lines.join('\n');
    },
  };

  term.focus();
  start();
})();
