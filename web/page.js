// The page around TAVRO: xterm.js draws the terminal, and a thin transport
// hands it the program's output and the program the bytes typed into it.
// Each run is a new instance of the program (createTavro); after it ends,
// the next key starts another. "Letzten Fall laden" starts one with the case
// the last ended run left, at any time until the page is closed. A run
// starts with the case of the address's fragment (#TLN=159&n=1500&...), the
// first run only. The run hands over its case after every command, its
// check at every compute and what it waits for before every wait; the panel
// (panel.js), the help at prompts (help.js) and the choice of a size
// (sizes.js) show them. "Fall speichern" saves the case as a case file that
// the console program reads too; "Fall öffnen" and a file dropped on the
// terminal start a run with the case of one. window.tavro offers the
// run's transcript, the screen, the case, the check, the prompt, the sizes
// and a link to the case.
'use strict';
// xterm.js measures its cell once, when it opens: so it opens only once the
// page's own font (tavro.html.in) is loaded, which boot.js started along
// with the program's compile. The panel and the size chooser are made after
// the first menu is on the screen (boot.js); until then what they show is
// only kept here.
Promise.all([tavroBoot.font, tavroBoot.module]).then(() => {
  const term = new Terminal({
    convertEol: true,  // the program ends its lines with LF alone
    scrollback: 10000,
    fontFamily: '"JetBrains Mono", monospace',
    fontSize: 15,
  });
  // A phone or tablet: its own keyboard opens only when the user taps the
  // terminal, never by the page's doing. What a button does ends with
  // focus(): the keys go to the terminal again (on a touch screen the button
  // only lets go of the focus, as the key bar's never take it).
  const touch = matchMedia('(pointer: coarse)').matches;
  const focus = () => {
    if (!touch) term.focus();
    else if (document.activeElement instanceof HTMLButtonElement) document.activeElement.blur();
  };
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.open(document.getElementById('terminal'));

  // The terminal fills its box. Where 80 columns do not fit at 15 px, the
  // font shrinks down to 12 px, and lines longer than the width then wrap.
  // A hidden terminal (the print layout) keeps its size.
  const box = document.getElementById('terminal');
  const resize = () => {
    if (box.offsetParent === null) return;
    term.options.fontSize = 15;
    let size = fit.proposeDimensions();
    if (size && size.cols < 80) {
      term.options.fontSize = Math.max(12, Math.floor(15 * size.cols / 80));
      size = fit.proposeDimensions();
    }
    if (size && Number.isFinite(size.cols) && Number.isFinite(size.rows)) {
      term.resize(Math.max(20, size.cols), Math.max(10, size.rows));
    }
  };
  new ResizeObserver(resize).observe(box);
  // On a phone the dock (help, summary, key bar) stays at the bottom of the
  // screen: the page ends that much lower, so nothing stays hidden under it.
  const dock = document.getElementById('dock');
  new ResizeObserver(() => {
    document.body.style.paddingBottom =
      getComputedStyle(dock).position === 'fixed' ? `${dock.offsetHeight}px` : '';
  }).observe(dock);
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

  const { parse } = tavroCommon;  // the run's JSON
  // Tells two cases apart to the last bit (String keeps NaN and infinities).
  const caseKey = (data) => JSON.stringify(Object.values(data).map(String));
  let current = null;  // the case as the last command left it, with its texts
  let lastEnded = null;  // the case the last ended run left, with its texts
  let check = null;    // the last check computed
  const tavroCase = (bytes) => {
    current = parse(bytes);
    keepCase(current);
    window.tavroSizes?.setCase(current);
    window.tavroPanel?.setStale(check !== null && caseKey(current.case) !== caseKey(check.case));
  };
  let waitingFor = null;  // what the run waits for: 'menu', 'key', 'page', 'number'
  let laterStarted = false;
  let menuIsUp = null;
  const menuShown = new Promise((resolve) => { menuIsUp = resolve; });
  const tavroWaiting = (bytes) => {
    const waiting = parse(bytes);
    waitingFor = waiting.wait;
    tavroHelp.show(waiting);
    if (!laterStarted) {  // the rest of the page is made once the first menu is up
      laterStarted = true;
      term.write('', () => requestAnimationFrame(() => {
        performance.mark('tavro-menu');
        menuIsUp();
        tavroBoot.runLater().then(attach);
      }));
    }
  };
  const tavroCheck = (bytes) => {
    check = parse(bytes);
    window.tavroPanel?.show(check);
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
  const restore = document.getElementById('restore');
  const notice = document.getElementById('notice');
  const ended = (status) => {
    running = false;
    waitingFor = null;
    wake = null;
    tavroHelp.show(null);
    lastEnded = current;
    restore.hidden = lastEnded === null;
    const atLineStart = transcript === '' || transcript.endsWith('\n');
    const how = typeof status === 'number' ? `(Status ${status})` : `mit dem Fehler ${status}`;
    term.write(`${atLineStart ? '' : '\r\n'}TAVRO ist beendet ${how}. ` +
               'Eine beliebige Taste startet es neu.\r\n' +
               '„Letzten Fall laden“ startet es mit dem Fall dieses Laufs.\r\n');
  };

  // The running case is kept in the tab's session storage after every
  // command, so a reload (or a phone bringing a discarded tab back) starts
  // with it, and the last case other than the example in local storage, for
  // "Letzten Fall laden" in a new tab. Nothing of it leaves the browser; a
  // browser that keeps no storage just does not offer it.
  const storage = (kind) => {
    try {
      return window[kind] ?? null;
    } catch {
      return null;  // storage closed to a page from a file, or in a sandbox
    }
  };
  // Written once the first menu is up and the browser is idle: a first
  // write to storage can cost a first menu some milliseconds, and a
  // command's case is written soon enough after it.
  let toKeep = null;
  const keepCase = (data) => {
    if (toKeep === null) {
      menuShown.then(() => setTimeout(() => {
        try {
          storage('sessionStorage')?.setItem('tavro.case',
            JSON.stringify({ link: toKeep.link, fragment: location.hash, example: toKeep.example }));
          if (!toKeep.example) storage('localStorage')?.setItem('tavro.lastCase', toKeep.link);
        } catch {
          // full or forbidden: the case is only not kept
        }
        toKeep = null;
      }, 0));
    }
    toKeep = data;
  };
  // The case this tab ran before a reload, or null; a stored case that is no
  // such record is named in the top bar and dropped.
  const keptCase = () => {
    const text = storage('sessionStorage')?.getItem('tavro.case') ?? null;
    if (text === null) return null;
    try {
      const kept = JSON.parse(text);
      if (typeof kept?.link === 'string' && typeof kept.fragment === 'string') return kept;
    } catch {
      // not JSON: dropped below
    }
    storage('sessionStorage')?.removeItem('tavro.case');
    startNotice = 'Der gespeicherte Fall dieses Tabs war nicht lesbar und ist verworfen.';
    return null;
  };

  // What the program did not take of a link (or of the kept case), said in
  // the top bar; else what started the run, if that is worth a word, with
  // a button when there is something to do about it.
  let startNotice = '';
  let startAction = null;  // [label, what it does] or null
  let startFrom = 'dem Link';
  const ignored = (bytes) => {
    const parts = parse(bytes);
    const from = startFrom;
    startFrom = 'dem Link';
    if (parts.length > 0) {
      notice.textContent = `Aus ${from} nicht übernommen: ` +
        `${parts.map((p) => (p.length > 40 ? `${p.slice(0, 40)}…` : p)).join(', ')} – ` +
        'dafür gelten die Werte des Beispielfalls.';
      return;
    }
    notice.textContent = startNotice;
    if (startAction) {
      const [label, action] = startAction;
      const button = tavroCommon.element('button', { type: 'button' }, label);
      button.addEventListener('click', () => {
        action();
        focus();
      });
      notice.append(' ', button);
    }
    startAction = null;
  };

  // Starts a run with the case of `link` (a fragment, '' for the example).
  // A run still going is left behind: it waits for keys it never gets, and
  // nothing it does reaches the page any more.
  let runs = 0;
  const start = (link = '') => {
    const run = ++runs;
    const own = (f) => (...args) => (run === runs ? f(...args) : undefined);
    if (running) term.write('\r\n');
    tavroHelp.show(null);
    running = true;
    wake = null;
    typed = [];
    transcript = '';
    decoder = new TextDecoder();
    // main's promise settles when the run ends: with its return value, or
    // with the ExitStatus of an exit() inside it (Ctrl-C).
    createTavro({
      tavroTyped: (size, waitMs) => (run === runs ? tavroTyped(size, waitMs) : new Promise(() => {})),
      tavroShow: own(show), tavroCase: own(tavroCase), tavroCheck: own(tavroCheck),
      tavroWaiting: own(tavroWaiting),
      tavroIgnored: own(ignored), tavroStartLink: encoder.encode(link),
      instantiateWasm: tavroBoot.instantiateWasm,
    })
      .then((program) => program.ccall('main', 'number', ['number', 'number'], [0, 0],
                                       { async: true }))
      .then(own(ended), own((error) => ended(error && error.name === 'ExitStatus' ? error.status : error)));
  };

  // Bytes typed on the keyboard or the key bar (keys.js).
  const send = (data) => {
    if (!running) return start();  // the key that starts a run is not passed on
    typed.push(encoder.encode(data));
    if (wake) wake();
  };
  term.onData(send);
  // What the size chooser did, in the top bar, brought into view with the
  // terminal below it.
  const say = (text) => {
    notice.textContent = text;
    document.getElementById('bar').scrollIntoView({ block: 'start' });
  };
  // The panel and the size chooser, once made, are handed what happened so
  // far; a new tab then offers the last case of an earlier one.
  let offerLast = false;
  const attach = () => {
    tavroSizes.connect({ send, focus, say, atMenu: () => running && waitingFor === 'menu' });
    tavroPanel.connect({ focus });
    if (check) {
      tavroPanel.show(check);
      tavroPanel.setStale(current !== null && caseKey(current.case) !== caseKey(check.case));
    }
    if (current) tavroSizes.setCase(current);
    tavroSizes.start();
    // Looked up after the first menu, when local storage costs it nothing.
    const last = offerLast ? storage('localStorage')?.getItem('tavro.lastCase') : null;
    if (last && lastEnded === null) {
      lastEnded = { link: last, example: false, stored: true };
      restore.hidden = false;
    }
  };
  // "Wert behalten" types what a user would to keep the prompt's value.
  const keep = () => {
    const bytes = tavroHelp.keepBytes();
    if (running && bytes) send(bytes);
  };
  document.getElementById('keep').addEventListener('click', () => {
    keep();
    focus();
  });
  // The exact values, not the printed ones: the new run goes on exactly. A
  // running case of its own is not given up without asking.
  restore.addEventListener('click', () => {
    const losing = running && !current.example && current.link !== lastEnded.link;
    if (!losing || window.confirm('Der Fall des laufenden Programms geht dabei verloren. Trotzdem laden?')) {
      start(lastEnded.link);
    }
    focus();
  });

  // Ctrl-C copies the selection, if there is one, as in Windows Terminal;
  // xterm.js then leaves the key to the browser's own copy.
  term.attachCustomKeyEventHandler((event) => !(
    event.type === 'keydown' && event.ctrlKey && !event.altKey && !event.metaKey &&
    event.key.toLowerCase() === 'c' && term.hasSelection()));

  // Saves `text` as a download called `name`; nothing leaves the browser.
  const download = (text, name) => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'text/plain;charset=utf-8' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  };
  document.getElementById('save').addEventListener('click', () => {
    download(asShown(transcript), 'tavro-protokoll.txt');
    focus();
  });

  // The running case as a case file, which the console program reads too
  // (tavro tavro-fall.txt); opening one starts a run with its case, as a
  // link does, after asking if the running case would be lost.
  document.getElementById('case-save').addEventListener('click', () => {
    if (current) download(current.file, 'tavro-fall.txt');
    focus();
  });
  const openCase = async (chosen) => {
    const read = chosen.size > 64 * 1024
      ? { link: null, problems: [`die Datei ist größer als 64 KB`], missing: [] }
      : await tavroCommon.ask('_tavroCaseFile', { tavroTable: new Uint8Array(await chosen.arrayBuffer()) });
    if (read.link === null) {
      notice.textContent = `„${chosen.name}“ nicht geladen: ${read.problems.join('; ')}.`;
      return;
    }
    const losing = running && current && !current.example && current.link !== read.link;
    if (losing && !window.confirm('Der Fall des laufenden Programms geht dabei verloren. Trotzdem öffnen?')) return;
    startNotice = `Fall aus „${chosen.name}“ geöffnet` + (read.missing.length === 0 ? '.'
      : `; ohne Wert in der Datei, wie im Beispielfall: ${read.missing.join(', ')}.`);
    startFrom = 'der Datei';
    start(read.link);
  };
  const caseFile = document.getElementById('case-file');
  document.getElementById('case-open').addEventListener('click', () => caseFile.click());
  caseFile.addEventListener('change', () => {
    const [chosen] = caseFile.files;
    caseFile.value = '';
    if (chosen) openCase(chosen).finally(focus);
  });
  // A file dropped on the terminal is a case; elsewhere (but on the size
  // chooser, whose drop is a table) the browser does not open it instead.
  box.addEventListener('dragover', (event) => event.preventDefault());
  box.addEventListener('drop', (event) => {
    const [dropped] = event.dataTransfer?.files ?? [];
    event.preventDefault();
    if (dropped) openCase(dropped).finally(focus);
  });
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => event.preventDefault());
  document.getElementById('print').addEventListener('click', () => {
    window.print();
    focus();
  });
  window.addEventListener('afterprint', focus);

  // The address of the page with the current case, each value exact.
  const link = () => `${location.href.split('#')[0]}#${current?.link ?? ''}`;
  document.getElementById('copy').addEventListener('click', () => {
    const text = link();
    const copied = () => { notice.textContent = 'Link mit dem aktuellen Fall kopiert.'; };
    const byHand = () => {  // where the clipboard is closed to the page
      const field = Object.assign(document.createElement('textarea'), { value: text });
      document.body.append(field);
      field.select();
      const done = document.execCommand('copy');
      field.remove();
      if (done) copied(); else notice.textContent = `Link zum Kopieren: ${text}`;
    };
    if (navigator.clipboard) navigator.clipboard.writeText(text).then(copied, byHand); else byHand();
    focus();
  });

  // xterm.js's screen-reader mode puts the output into the accessibility tree.
  const reader = document.getElementById('reader');
  reader.addEventListener('click', () => {
    const on = reader.getAttribute('aria-pressed') !== 'true';
    reader.setAttribute('aria-pressed', String(on));
    term.options.screenReaderMode = on;
    focus();
  });

  // A case other than the example, running or left by the last run, is not
  // lost to a closed tab or a reload without the browser asking first.
  window.addEventListener('beforeunload', (event) => {
    if ((current && !current.example) || (lastEnded && !lastEnded.example && !lastEnded.stored)) {
      event.preventDefault();
      event.returnValue = '';
    }
  });
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
    // The terminal's lines, scrollback included, without trailing blanks;
    // a line wrapped at the width counts as one.
    screen: () => {
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
    },
    // Types `data` as the keyboard would.
    send,
    // null while no number prompt waits; else {field, value, printed}: the
    // field asked for by its name in case(), what it holds now, and that
    // as the display pages print it.
    prompt: () => tavroHelp.prompt(),
    // What the help line says of the last line typed at a prompt where the
    // program read it otherwise than it looks; null when read as typed.
    notice: () => tavroHelp.notice(),
    // Keeps the value of the field asked for, as "Wert behalten" does.
    keep,
    // Replaces the table of sizes by `text` (none: keeps it) and checks
    // it; resolves to {sizes, smallest, ignored}.
    sizes: (text) => tavroBoot.runLater().then(() => tavroSizes.sizes(text)),
    // The address "Link kopieren" copies.
    link,
    // Opens a case file's `text` as "Fall öffnen" does; resolves once asked.
    openCase: (text, name = 'fall.txt') => openCase(new File([text], name)),
  };

  // The first run: the case this tab ran before a reload, unless the
  // address now names another (a new link opened in the tab); else the
  // address's case. A new tab offers the last case of an earlier one.
  focus();
  const kept = keptCase();
  if (kept && !kept.example && kept.fragment === location.hash) {
    startNotice = 'Der Fall dieses Tabs vor dem Neuladen ist wieder da.';
    startAction = ['Mit dem Beispielfall beginnen', () => {
      startNotice = '';
      start();
    }];
    startFrom = 'dem gespeicherten Fall';
    start(kept.link);
  } else {
    offerLast = kept === null;
    start(location.hash.slice(1));
  }
}).catch(tavroBoot.failed);
