// The runs of the program: each run is a new instance (createTavro) reading
// from the page's terminal (terminal.js); after it ends, the next key starts
// another. A run starts with the case of a link's fragment (#TLN=159&...;
// '' for the example). It hands over its case after every command, its
// check at every compute and what it waits for before every wait; the panel
// (panel.js), the help at prompts (help.js), the size chooser (sizes.js)
// and the kept case (kept.js) are told. "Letzten Fall laden" starts a run
// with the case the last ended run left, at any time until the page is
// closed.
'use strict';
window.tavroRuns = (() => {
  const terminal = tavroTerminal;
  const { parse } = tavroCommon;  // the run's JSON
  const encoder = new TextEncoder();
  const restore = document.getElementById('restore');

  // Tells two cases apart to the last bit (String keeps NaN and infinities).
  const caseKey = (data) => JSON.stringify(Object.values(data).map(String));
  let running = false;   // a run is going on
  let current = null;    // the case as the last command left it, with its texts
  let lastEnded = null;  // the case the last ended run left, with its texts
  let check = null;      // the last check computed
  let waitingFor = null;  // what the run waits for: 'menu', 'key', 'page', 'number'

  const tavroCase = (bytes) => {
    current = parse(bytes);
    tavroKept.keep(current);
    window.tavroSizes?.setCase(current);
    window.tavroPanel?.setStale(check !== null && caseKey(current.case) !== caseKey(check.case));
  };
  let firstWait = true;
  const tavroWaiting = (bytes) => {
    const waiting = parse(bytes);
    waitingFor = waiting.wait;
    tavroHelp.show(waiting);
    if (firstWait) {  // the rest of the page is made once the first menu is up
      firstWait = false;
      terminal.write('', () => requestAnimationFrame(tavroBoot.menuIsUp));
    }
  };
  const tavroCheck = (bytes) => {
    check = parse(bytes);
    window.tavroPanel?.show(check);
    document.getElementById('print').disabled = false;
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
      tavroBar.show(`Aus ${from} nicht übernommen: ` +
        `${parts.map((p) => (p.length > 40 ? `${p.slice(0, 40)}…` : p)).join(', ')} – ` +
        'dafür gelten die Werte des Beispielfalls.');
      return;
    }
    tavroBar.show(startNotice, startAction);
    startAction = null;
  };

  // The run ended with `status` (a number), or with an error.
  const ended = (status) => {
    running = false;
    waitingFor = null;
    terminal.end();
    tavroHelp.show(null);
    lastEnded = current;
    restore.hidden = lastEnded === null;
    const transcript = terminal.transcript();
    const atLineStart = transcript === '' || transcript.endsWith('\n');
    const how = typeof status === 'number' ? `(Status ${status})` : `mit dem Fehler ${status}`;
    terminal.write(`${atLineStart ? '' : '\r\n'}TAVRO ist beendet ${how}. ` +
                   'Eine beliebige Taste startet es neu.\r\n' +
                   '„Letzten Fall laden“ startet es mit dem Fall dieses Laufs.\r\n');
  };

  // Starts a run with the case of `link` (a fragment, '' for the example);
  // `origin` ({notice, action, from}, each optional) is what the top bar
  // says of its start. A run still going is left behind: it waits for keys
  // it never gets, and nothing it does reaches the page any more.
  let runs = 0;
  const start = (link = '', origin = {}) => {
    if (origin.notice !== undefined) startNotice = origin.notice;
    if (origin.action !== undefined) startAction = origin.action;
    if (origin.from !== undefined) startFrom = origin.from;
    const run = ++runs;
    const own = (f) => (...args) => (run === runs ? f(...args) : undefined);
    if (running) terminal.write('\r\n');
    tavroHelp.show(null);
    running = true;
    terminal.begin();
    // main's promise settles when the run ends: with its return value, or
    // with the ExitStatus of an exit() inside it (Ctrl-C).
    createTavro({
      tavroTyped: (size, waitMs) => (run === runs ? terminal.read(size, waitMs) : new Promise(() => {})),
      tavroShow: own(terminal.show), tavroCase: own(tavroCase), tavroCheck: own(tavroCheck),
      tavroWaiting: own(tavroWaiting),
      tavroIgnored: own(ignored), tavroStartLink: encoder.encode(link),
      instantiateWasm: tavroBoot.instantiateWasm,
    })
      .then((program) => program.ccall('main', 'number', ['number', 'number'], [0, 0],
                                       { async: true }))
      .then(own(ended), own((error) => ended(error && error.name === 'ExitStatus' ? error.status : error)));
  };
  terminal.connect({ noRun: () => start(), waits: () => {} });

  // The exact values, not the printed ones: the new run goes on exactly. A
  // running case of its own is not given up without asking.
  restore.addEventListener('click', () => {
    const losing = running && !current.example && current.link !== lastEnded.link;
    if (!losing || window.confirm('Der Fall des laufenden Programms geht dabei verloren. Trotzdem laden?')) {
      start(lastEnded.link);
    }
    terminal.focus();
  });
  // A new tab offers the last case an earlier one kept.
  const offerLast = (link) => {
    if (lastEnded !== null) return;
    lastEnded = { link, example: false, stored: true };
    restore.hidden = false;
  };

  // "Wert behalten" types what a user would to keep the prompt's value.
  const keep = () => {
    const bytes = tavroHelp.keepBytes();
    if (running && bytes) terminal.send(bytes);
  };
  document.getElementById('keep').addEventListener('click', () => {
    keep();
    terminal.focus();
  });

  return {
    start,
    keep,
    offerLast,
    // The case as the last command left it, with its texts ({case, link,
    // example, file, ...}), or null before the first.
    current: () => current,
    // The case the last ended run left, or null.
    lastEnded: () => lastEnded,
    // The last check computed, or null.
    check: () => check,
    // True when the case differs from the one the last check computed.
    stale: () => current !== null && check !== null && caseKey(current.case) !== caseKey(check.case),
    // True while a run waits at its menu.
    atMenu: () => running && waitingFor === 'menu',
    running: () => running,
  };
})();
