// The terminal on the page and the transport between it and a run of the
// program: xterm.js draws what the run writes, and the bytes typed into it
// (or on the key bar) wait in order until the run reads them. A key typed
// while no run reads is handed to runs.js, which starts one. The run's
// transcript (everything it wrote, echo included) is kept here, and the
// screen-reader mode and Ctrl-C's copy belong to the terminal too. The
// program's first screen is drawn before the first run has started
// (drawFirst); what the run then writes is held against it.
'use strict';
window.tavroTerminal = (() => {
  const box = document.getElementById('terminal');
  let term = null;

  // A phone or tablet: its own keyboard opens only when the user taps the
  // terminal, never by the page's doing. What a button does ends with
  // focus(): the keys go to the terminal again (on a touch screen the button
  // only lets go of the focus, as the key bar's never take it).
  const touch = matchMedia('(pointer: coarse)').matches;
  const focus = () => {
    if (!touch) term?.focus();
    else if (document.activeElement instanceof HTMLButtonElement) document.activeElement.blur();
  };

  // On a phone the dock (help, summary, key bar) is fixed at the bottom of
  // the screen, over the terminal's last rows while the page is at its top.
  const dock = document.getElementById('dock');
  const docked = () => getComputedStyle(dock).position === 'fixed';
  // Scrolls the page the least that brings the cursor's row, the line typed
  // at, into sight between the top of the screen and the dock; once a frame
  // at most. The terminal keeps its rows: the page moves, not the grid.
  let sighting = 0;
  const cursorInSight = () => {
    if (sighting !== 0 || term === null) return;
    sighting = requestAnimationFrame(() => {
      sighting = 0;
      if (box.offsetParent === null || !docked()) return;
      const screen = box.querySelector('.xterm-screen').getBoundingClientRect();
      const rowHeight = screen.height / term.rows;
      const top = screen.top + term.buffer.active.cursorY * rowHeight;
      const below = top + rowHeight - dock.getBoundingClientRect().top;
      if (below > 0) window.scrollBy(0, Math.ceil(below));
      else if (top < 0) window.scrollBy(0, Math.floor(top));
    });
  };

  const encoder = new TextEncoder();
  let typed = [];             // byte arrays typed, not yet read by the run
  let wake = null;            // ends the run's wait for typed bytes
  let reading = false;        // a run reads what is typed
  let transcript = '';        // everything the run wrote, echo included
  let decoder = null;         // the run's UTF-8 decoder, across writes
  let noRun = () => {};       // what a key does while no run reads
  let waits = () => {};       // told each time the run waits with nothing typed
  let expected = null;        // the first screen drawn, while the run has written less of it
  let matched = 0;            // the bytes of it the run wrote, the same
  let firstScreen = null;     // 'same': the run wrote the first screen drawn; 'redrawn': it did not

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

  // The run waits or ends, or the page writes, while the first screen drawn
  // holds more than the run wrote: the screen is drawn again with what it
  // wrote alone.
  const settle = () => {
    if (expected === null) return;
    const written = expected.subarray(0, matched);
    expected = null;
    firstScreen = 'redrawn';
    term.reset();
    term.write(written);
  };

  // A timed read's deadline is ended with its run: left running, it would
  // clear the wait of the next run's read, which then never wakes.
  let deadline = 0;
  const stopWaiting = () => {
    clearTimeout(deadline);
    deadline = 0;
    wake = null;
  };
  // The run's read: typed bytes, or null when `waitMs` (if not negative)
  // passed first.
  const read = (size, waitMs) => new Promise((resolve) => {
    settle();
    if (typed.length > 0) return resolve(take(size));
    if (waitMs >= 0) deadline = setTimeout(() => { stopWaiting(); resolve(null); }, waitMs);
    wake = () => { stopWaiting(); resolve(take(size)); };
    if (waitMs < 0) waits();
  });

  // Bytes typed on the keyboard or the key bar (keys.js).
  const send = (data) => {
    cursorInSight();
    if (!reading) return noRun();  // the key that starts a run is not passed on
    typed.push(encoder.encode(data));
    if (wake) wake();
    return undefined;
  };

  // What the run writes. Bytes the first screen drawn holds at that place
  // are not drawn again; any other is written after all the run wrote
  // before, on a terminal reset.
  const show = (bytes) => {
    transcript += decoder.decode(bytes, { stream: true });
    if (expected !== null) {
      const same = bytes.length <= expected.length - matched &&
        bytes.every((b, k) => b === expected[matched + k]);
      if (same) {
        matched += bytes.length;
        if (matched === expected.length) {
          expected = null;
          firstScreen = 'same';
        }
        return;
      }
      settle();
    }
    term.write(bytes);
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

  // The terminal's lines, scrollback included, without trailing blanks; a
  // line wrapped at the width counts as one.
  const screen = () => {
    const buffer = term.buffer.active;
    const lines = [];
    for (let y = 0; y < buffer.length; ++y) {
      const line = buffer.getLine(y);
      // Blanks before a wrap are part of the line; unwritten cells are not.
      const text = line.translateToString(!buffer.getLine(y + 1)?.isWrapped);
      if (line.isWrapped && lines.length > 0) lines[lines.length - 1] += text;
      else lines.push(text);
    }
    while (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
    return lines.join('\n');
  };

  // xterm.js measures its cell once, when it opens: so it opens only once
  // the page's own font is loaded (boot.js).
  const open = () => {
    term = new Terminal({
      convertEol: true,  // the program ends its lines with LF alone
      scrollback: 10000,
      fontFamily: '"JetBrains Mono", monospace',
      fontSize: 15,
    });
    const fit = new FitAddon.FitAddon();
    term.loadAddon(fit);
    term.open(box);

    // The terminal fills its box. Where 80 columns do not fit at 15 px, the
    // font shrinks down to 12 px, and lines longer than the width then wrap.
    // A hidden terminal (the print layout) keeps its size. A box of the size
    // fitted last is left as it is: the observer's first call comes right
    // after the page's own, and each change of the font size measures the
    // font anew (tens of milliseconds on a slow phone, before the first menu).
    let fitted = '';
    const resize = () => {
      if (box.offsetParent === null) return;
      const now = `${box.clientWidth}x${box.clientHeight}`;
      if (now === fitted) return;
      term.options.fontSize = 15;
      let size = fit.proposeDimensions();
      if (size && size.cols < 80) {
        term.options.fontSize = Math.max(12, Math.floor(15 * size.cols / 80));
        size = fit.proposeDimensions();
      }
      if (size && Number.isFinite(size.cols) && Number.isFinite(size.rows)) {
        term.resize(Math.max(20, size.cols), Math.max(10, size.rows));
        fitted = now;  // a fit that found no size is tried again
      }
    };
    new ResizeObserver(resize).observe(box);
    // The page ends as much lower as the dock is high, so that nothing stays
    // hidden under it; the line typed at is kept above it as the program
    // writes and as the dock grows.
    new ResizeObserver(() => {
      document.body.style.paddingBottom = docked() ? `${dock.offsetHeight}px` : '';
      cursorInSight();
    }).observe(dock);
    term.onWriteParsed(cursorInSight);
    resize();

    term.onData(send);
    // Ctrl-C copies the selection, if there is one, as in Windows Terminal;
    // xterm.js then leaves the key to the browser's own copy.
    term.attachCustomKeyEventHandler((event) => !(
      event.type === 'keydown' && event.ctrlKey && !event.altKey && !event.metaKey &&
      event.key.toLowerCase() === 'c' && term.hasSelection()));
    box.addEventListener('click', () => term.focus());

    // xterm.js's screen-reader mode puts the output into the accessibility tree.
    const reader = document.getElementById('reader');
    reader.addEventListener('click', () => {
      const on = reader.getAttribute('aria-pressed') !== 'true';
      reader.setAttribute('aria-pressed', String(on));
      term.options.screenReaderMode = on;
      focus();
    });
  };

  return {
    open,
    // Draws the program's first screen before its run started; `done` once drawn.
    drawFirst: (bytes, done) => {
      expected = bytes;
      matched = 0;
      term.write(bytes, done);
    },
    // null while the first screen drawn is not settled or none was drawn;
    // 'same' when the run wrote it, 'redrawn' when the run wrote otherwise.
    firstScreen: () => firstScreen,
    focus,
    // The terminal's box, where a case file may be dropped.
    box,
    // A new run reads from now on: nothing typed before reaches it.
    begin: () => {
      reading = true;
      stopWaiting();
      typed = [];
      transcript = '';
      decoder = new TextDecoder();
    },
    // The run ended: the next key goes to noRun.
    end: () => {
      settle();
      reading = false;
      stopWaiting();
    },
    // Give as the run's read (Module.tavroTyped).
    read,
    // Give as the run's write (Module.tavroShow).
    show,
    // Writes the page's own `text` (not the run's) and calls `done` once drawn.
    write: (text, done) => {
      settle();
      term.write(text, done);
    },
    send,
    // What a key does while no run reads; who hears that the run waits with
    // nothing typed for it (a read without a time limit).
    connect: (handlers) => { ({ noRun, waits } = handlers); },
    // True while bytes typed wait for the run to read them.
    queued: () => typed.length > 0,
    // True while the run waits for a key with nothing typed.
    waiting: () => wake !== null,
    transcript: () => transcript,
    saved: () => asShown(transcript),
    screen,
  };
})();
