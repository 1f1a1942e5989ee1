// The page around TAVRO, put together: the terminal and its transport
// (terminal.js), the runs of the program (runs.js), the kept case
// (kept.js), the top bar (bar.js) and the case files (case_files.js), made
// at once; the panel (panel.js) and the size chooser (sizes.js) once the
// first menu is on the screen (boot.js). The first run starts with the case
// this tab ran before a reload, else with the case of the address's
// fragment (#TLN=159&n=1500&...). window.tavro offers the run's transcript,
// the screen, the case, its name, the check, the prompt, the sizes and a link
// to the case. A link pasted into the open tab starts its case.
'use strict';
// xterm.js measures its cell once, when it opens: so it opens only once the
// page's own font (tavro.html.in) is loaded, which boot.js started along
// with the program's compile. It shows the program's first screen at once;
// the first run starts as the compile ends, and keys typed meanwhile wait
// for it in order.
tavroBoot.font.then(() => {
  const terminal = tavroTerminal;
  const runs = tavroRuns;
  const { focus } = terminal;
  terminal.open();
  terminal.drawFirst(tavroBoot.firstScreen, tavroBoot.firstWritten);

  // The address of the page with the case `data` (a case message; the
  // current case named as the field names it), each value exact.
  const link = (data = runs.labelled()) => `${location.href.split('#')[0]}#${data?.link ?? ''}`;
  tavroBar.connect({ focus, link, named: runs.named });

  // The panel and the size chooser, once made, are handed what happened so
  // far; a new tab then offers the last case of an earlier one.
  let offerLast = false;
  tavroBoot.menuShown.then(tavroBoot.runLater).then(() => {
    tavroSizes.connect({ typeDialog: runs.typeDialog, focus, say: tavroBar.say });
    tavroPanel.connect({ focus, labelled: runs.labelled });
    const check = runs.check();
    if (check) {
      tavroPanel.show(check);
      tavroPanel.setStale(runs.stale());
    }
    const current = runs.current();
    if (current) tavroSizes.setCase(current);
    tavroSizes.start();
    // Looked up after the first menu, when local storage costs it nothing.
    const last = offerLast ? tavroKept.last() : null;
    if (last) runs.offerLast(last);
  });

  // A case other than the example, running or left by the last run, is not
  // lost to a closed tab or a reload without the browser asking first.
  window.addEventListener('beforeunload', (event) => {
    const lastEnded = runs.lastEnded();  // a name typed is the user's too
    if (runs.losing(null) || (lastEnded && !lastEnded.example && !lastEnded.stored)) {
      event.preventDefault();
      event.returnValue = '';
    }
  });

  window.tavro = {
    // Every character written since the current run started, "\n" line ends.
    transcript: terminal.transcript,
    // The run as saved by "Protokoll speichern".
    saved: () => tavroCaseFiles.saved(runs.labelled()),
    // null before the first compute; else {case, results, checks, curve}
    // and the texts the program prints for them (printed, pages).
    check: runs.check,
    // The case's twenty fields as the last line read left them.
    case: () => runs.current()?.case ?? null,
    // The text of the field "Bezeichnung", which names the case.
    name: runs.name,
    // The terminal's lines, scrollback included, without trailing blanks;
    // a line wrapped at the width counts as one.
    screen: terminal.screen,
    // Types `data` as the keyboard would.
    send: terminal.send,
    // null while no number prompt waits; else {field, value, printed}: the
    // field asked for by its name in case(), what it holds now, and that
    // as the display pages print it.
    prompt: () => tavroHelp.prompt(),
    // What the help line says of the last line typed at a prompt where the
    // program read it otherwise than it looks; null when read as typed.
    notice: () => tavroHelp.notice(),
    // Keeps the value of the field asked for, as "Wert behalten" does.
    keep: runs.keep,
    // Replaces the table of sizes by `text` (none: keeps it) and checks
    // it; resolves to {sizes, smallest, ignored}.
    sizes: (text) => tavroBoot.runLater().then(() => tavroSizes.sizes(text)),
    // The address "Link kopieren" copies: the case named by the field.
    link: () => link(),
    // null until the first run wrote its first screen, or where none was
    // drawn before; 'same' when the run wrote what the page drew before it
    // started, 'redrawn' when the page drew it again as the run wrote it.
    firstScreen: terminal.firstScreen,
    // Opens a case file's `text` as "Fall öffnen" does; resolves once asked.
    openCase: (text, name = 'fall.txt') => tavroCaseFiles.open(new File([text], name)),
  };

  // The first run: the case this tab ran before a reload, unless the
  // address now names another (a new link opened in the tab); else the
  // address's case. A new tab offers the last case of an earlier one.
  focus();
  const kept = tavroKept.kept();
  if (kept && kept !== 'unreadable' && !kept.example && kept.fragment === location.hash) {
    runs.start(kept.link, { kind: 'kept' });
  } else {
    offerLast = kept === null;
    const link = location.hash.slice(1);
    runs.start(link, { kind: link === '' ? 'example' : 'link',
      note: kept === 'unreadable' ? 'Der gespeicherte Fall dieses Tabs war nicht lesbar und ist verworfen.' : '' });
  }
  // Keys typed before the terminal opened are the first the run reads.
  const early = tavroBoot.earlyKeys();
  if (early !== '') terminal.send(early);

  // A link pasted into the address of the open tab (only the fragment
  // changes) starts its case; a running case that would be lost (changed
  // since its start, or the tab's kept case) is not given up without
  // asking, and one kept against the link stays the tab's case for a
  // reload too.
  window.addEventListener('hashchange', () => {
    const fragment = location.hash.slice(1);
    if (runs.running() && runs.current()?.link === fragment) return;
    if (runs.changed() && !window.confirm('Der Fall des laufenden Programms geht dabei verloren. ' +
                                          'Den Fall des Links starten?')) {
      runs.relabel();  // kept again, with the fragment it was kept against
      return;
    }
    runs.start(fragment);
    focus();
  });
}).catch(tavroBoot.failed);
