// The runs of the program: each run is a new instance (createTavro) reading
// from the page's terminal (terminal.js); after it ends, the next key starts
// another. A run starts with the case of a link's fragment (#TLN=159&...;
// '' for the example), and where that came from (the example, a link, the
// tab's kept case, a file, the last case) is its origin: once the program's
// own case is there, the top bar says what the start gave, and a new run
// ends what the bar said of the one before. A run hands over its case after
// every command and every line read, its check at every compute and what it
// waits for before every wait; the panel (panel.js), the help at prompts
// (help.js), the size chooser (sizes.js) and the kept case (kept.js) are
// told. "Letzten Fall laden" starts a run with the case the last ended run
// left, at any time until the page is closed. The field "Bezeichnung" names
// the case: a run fills it with its case's name, and what is typed into it
// goes to the run (Module.tavroName, read at every command's end) and at once
// to the case kept, linked, saved and printed.
'use strict';
window.tavroRuns = (() => {
  const terminal = tavroTerminal;
  const { parse, ask } = tavroCommon;  // the run's JSON; the computing instance
  const encoder = new TextEncoder();
  const restore = document.getElementById('restore');
  const nameField = document.getElementById('case-name');

  // Tells two cases apart to the last bit (String keeps NaN and infinities).
  const caseKey = (data) => JSON.stringify(Object.values(data).map(String));
  let running = false;   // a run is going on
  let current = null;    // the case as the last line read left it, with its texts
  let lastEnded = null;  // the case the last ended run left, with its texts
  let check = null;      // the last check computed
  let waiting = null;    // what the run waits for, as the program said last
  let waits = 0;         // the waits announced so far
  let run = null;        // the run on the screen: {origin, ignored, first}
  let program = null;    // the run's Module, which the program reads the page's texts from
  let labelled = null;   // current named as the field names it (named()), once answered
  let labelledFor = '';  // the field's text labelled was named with

  // The case as the last line read left it, named as the field names it
  // now: its case message with "refused" (null, or why the field's text is
  // no name, the case then keeping its own); null before the first case.
  // The computing instance is asked only when the field differs.
  const named = async (data = current) => {
    if (data === null) return null;
    if (nameField.value === data.name) return { ...data, refused: null };
    return ask('_tavroNamedCase', { tavroLink: encoder.encode(data.link),
                                    tavroName: encoder.encode(nameField.value) });
  };
  // The case named is what the tab keeps for a reload (and, after the run
  // ended, what "Letzten Fall laden" starts); the report's head follows.
  // Resolves to it, or to null when a newer case came meanwhile.
  const relabel = async () => {
    const [data, id, text] = [current, runs, nameField.value];
    const answer = await named(data);
    if (id !== runs || data !== current || answer === null) return null;
    labelled = answer;
    labelledFor = text;
    tavroKept.keep(answer);
    if (!running) lastEnded = answer;  // the case the ended run left
    window.tavroPanel?.relabel();
    return answer;
  };

  const tavroCase = (bytes) => {
    current = parse(bytes);
    if (run.first === null) {
      run.first = current;
      nameField.value = current.name;
      startSaid();
    }
    relabel();
    window.tavroSizes?.setCase(current);
    window.tavroPanel?.setStale(check !== null && caseKey(current.case) !== caseKey(check.case));
  };
  let firstWait = true;
  const tavroWaiting = (bytes) => {
    waiting = parse(bytes);
    ++waits;
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

  // The fields two links (fragments a program wrote) set to different
  // values: the same number in another text (an earlier program's "1e+04"
  // for 10000) is the same value.
  const differing = (a, b) => {
    const values = (link) => new Map(link.split('&').map((part) => part.split('=')));
    const [x, y] = [values(a), values(b)];
    const same = (u, v) => u === v || (u !== undefined && v !== undefined && u !== '' && v !== '' &&
                                       !Number.isNaN(Number(u)) && Object.is(Number(u), Number(v)));
    return [...new Set([...x.keys(), ...y.keys()])].filter((name) => !same(x.get(name), y.get(name)));
  };
  const from = { link: 'dem Link', kept: 'dem gespeicherten Fall', file: 'der Datei', last: 'dem letzten Fall' };
  // What the top bar says of the run's start, once the program's first
  // case is there: what it did not take of the link it was given (it names
  // that itself), else what it gave compared with what was meant.
  const startSaid = () => {
    const { origin, ignored, first } = run;
    const said = origin.note ? [origin.note] : [];
    let action = null;
    const other = ['kept', 'file', 'last'].includes(origin.kind) ? differing(origin.link, first.link) : [];
    const list = other.join(', ');
    if (ignored.length > 0) {
      said.push(`Aus ${from[origin.kind] ?? from.link} nicht übernommen: ` +
        `${ignored.map((p) => (p.length > 40 ? `${p.slice(0, 40)}…` : p)).join(', ')} – ` +
        'dafür gelten die Werte des Beispielfalls.');
    } else if (origin.kind === 'kept') {
      said.push(other.length === 0 ? 'Der Fall dieses Tabs vor dem Neuladen ist wieder da.'
        : `Der Fall dieses Tabs vor dem Neuladen ist nicht ganz wieder da – im Programm anders: ${list}.`);
    } else if (origin.kind === 'file') {
      said.push(other.length > 0
        ? `Fall aus „${origin.name}“ geöffnet, doch im Programm anders als in der Datei: ${list}.`
        : `Fall aus „${origin.name}“ geöffnet` + (origin.missing.length === 0 ? '.'
          : `; ohne Wert in der Datei, wie im Beispielfall: ${origin.missing.join(', ')}.`));
    } else if (other.length > 0) {
      said.push(`Der letzte Fall ist geladen, doch im Programm anders: ${list}.`);
    }
    if (origin.kind === 'kept') action = ['Mit dem Beispielfall beginnen', () => start()];
    tavroBar.show(said.join(' '), action);
  };

  // The run ended with `status` (a number), or with an error.
  const ended = (status) => {
    running = false;
    waiting = null;
    typist?.({ ended: true });
    terminal.end();
    tavroHelp.show(null);
    // The case the run left, with the name typed last once the instance
    // answered (unless the last case was started meanwhile).
    const left = current;
    lastEnded = left;
    named(left).then((answer) => {
      if (answer && lastEnded === left) lastEnded = answer;
    });
    restore.hidden = lastEnded === null;
    const transcript = terminal.transcript();
    const atLineStart = transcript === '' || transcript.endsWith('\n');
    const how = typeof status === 'number' ? `(Status ${status})` : `mit dem Fehler ${status}`;
    terminal.write(`${atLineStart ? '' : '\r\n'}TAVRO ist beendet ${how}. ` +
                   'Eine beliebige Taste startet es neu.\r\n' +
                   '„Letzten Fall laden“ startet es mit dem Fall dieses Laufs.\r\n');
  };

  // Starts a run with the case of `link` (a fragment, '' for the example)
  // that came from `origin`: {kind: 'example', 'link', 'kept', 'file' or
  // 'last'; name and missing (a file's name and the fields it left out);
  // note (said first)}. A run still going is left behind: it waits for keys
  // it never gets, and nothing it does reaches the page any more.
  let runs = 0;
  const start = (link = '', origin = { kind: link === '' ? 'example' : 'link' }) => {
    const id = ++runs;
    const own = (f) => (...args) => (id === runs ? f(...args) : undefined);
    if (running) terminal.write('\r\n');
    typist?.({ ended: true });
    tavroHelp.show(null);
    tavroBar.show('');
    running = true;
    waiting = null;
    run = { origin: { ...origin, link }, ignored: [], first: null };
    labelled = null;
    labelledFor = '';
    terminal.begin();
    // main's promise settles when the run ends: with its return value, or
    // with the ExitStatus of an exit() inside it (Ctrl-C).
    // The object given becomes the run's Module (MODULARIZE): a name typed
    // while the instance is made reaches the program too.
    program = {
      tavroTyped: (size, waitMs) => (id === runs ? terminal.read(size, waitMs) : new Promise(() => {})),
      tavroShow: own(terminal.show), tavroCase: own(tavroCase), tavroCheck: own(tavroCheck),
      tavroWaiting: own(tavroWaiting),
      tavroIgnored: own((bytes) => { run.ignored = parse(bytes); }), tavroStartLink: encoder.encode(link),
      instantiateWasm: tavroBoot.instantiateWasm,
    };
    createTavro(program)
      .then((made) => made.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true }))
      .then(own(ended), own((error) => ended(error && error.name === 'ExitStatus' ? error.status : error)));
  };

  // Types into the run as a user would, each line only when the program
  // asks for it: dialog `key` once the program waits at its menu, then at
  // each prompt the answer of the field it names (`answers`, by name), so
  // nothing the program still holds (the rest of the last line, keys typed
  // but not read yet) can shift a value to another field. Where held input
  // filled one of the fields without the program asking, the dialog runs
  // once more, until a round asks for them all. Resolves to {case, printed
  // (the program's case after, and its texts), rounds}, or {refused: 'menu'}
  // when the program waits elsewhere, {refused: 'ended'} when no run goes
  // on to the end. `size`, a size's link (_tavroSizeLink), goes to the
  // program as the dialog starts: it names the case while the case holds
  // that size's values.
  let typist = null;  // hears of each wait while a dialog is typed
  const mostRounds = 8;
  const typeOnce = (key, answers, size) => new Promise((resolve) => {
    const finish = (result) => {
      typist = null;
      resolve(result);
    };
    if (!running) return finish({ refused: 'ended' });
    let rounds = 0;
    let asked = null;  // the fields the program asked for this round; null at the menu
    let answered = -1;  // the last wait answered
    const done = () => ({ case: current.case, printed: current.printed, rounds });
    typist = (event) => {
      if (event.ended) return finish({ refused: 'ended' });
      if (event.count === answered) return undefined;
      answered = event.count;
      const { wait, prompt } = event.waiting;
      if (wait === 'number' && asked !== null && prompt && prompt.field in answers) {
        asked.add(prompt.field);
        return terminal.send(`${answers[prompt.field]}\r`);
      }
      if (wait !== 'menu') return finish(rounds === 0 ? { refused: 'menu' } : done());
      const again = rounds === 0 || (asked !== null && asked.size < Object.keys(answers).length);
      if (!again || rounds === mostRounds) return finish(done());
      ++rounds;
      asked = new Set();
      if (size && rounds === 1) program.tavroSize = encoder.encode(size);
      return terminal.send(key);
    };
    // Waiting now with nothing typed: at once; else the wait the keys
    // typed before lead to decides.
    if (terminal.waiting() && waiting) typist({ waiting, count: waits });
    return undefined;
  });
  // One dialog typed at a time: a second waits for the first to end.
  let typing = Promise.resolve();
  const typeDialog = (key, answers, size = null) => {
    typing = typing.then(() => typeOnce(key, answers, size));
    return typing;
  };

  terminal.connect({
    noRun: () => start(),
    waits: () => typist?.({ waiting, count: waits }),
  });

  // True while the field holds a text the running case was not named with
  // yet (typed while the run is made, or not answered yet).
  const nameTyped = () => running &&
    nameField.value !== (run.first === null ? '' : labelled ? labelledFor : current.name);
  // True when a run goes on whose case, as the field names it, another run
  // of `link` (null: none) would lose: it is not the example and not that
  // case, or the field holds a name not yet taken.
  const losing = (link) => {
    const data = labelled ?? current;
    if (nameTyped()) return true;
    return running && run.first !== null && !data.example && data.link !== link;
  };

  // The exact values, not the printed ones: the new run goes on exactly. A
  // running case of its own is not given up without asking.
  restore.addEventListener('click', () => {
    if (!losing(lastEnded.link) || window.confirm('Der Fall des laufenden Programms geht dabei verloren. Trotzdem laden?')) {
      start(lastEnded.link, { kind: 'last' });
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

  // The field "Bezeichnung": its text goes to the run, which names its case
  // with it at the end of the command under way; the case kept, linked and
  // printed takes it at once. A text that is no name is said in the top bar
  // (the case keeps its name) until the field holds a name again. Enter
  // gives the keys back to the terminal.
  let refusal = null;  // what the top bar says of the field's text, if anything
  nameField.addEventListener('input', async () => {
    if (program) program.tavroName = encoder.encode(nameField.value);
    const answer = await relabel();
    if (answer === null) return;
    if (answer.refused) tavroBar.show(answer.refused);
    else if (refusal !== null && document.getElementById('notice').textContent === refusal) tavroBar.show('');
    refusal = answer.refused;
  });
  nameField.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    nameField.blur();
    terminal.focus();
  });

  return {
    start,
    keep,
    offerLast,
    // The case as the last line read left it, with its texts ({case, link,
    // example, file, ...}), or null before the first.
    current: () => current,
    // The same named as the field "Bezeichnung" names it now (asked afresh:
    // for a save or a copy), and as last answered (at once: a link, the
    // report's head), null before the first case; with "refused".
    named,
    labelled: () => labelled ?? current,
    // The field's text.
    name: () => nameField.value,
    relabel,
    // The case the last ended run left, or null.
    lastEnded: () => lastEnded,
    // The last check computed, or null.
    check: () => check,
    // True when the case differs from the one the last check computed.
    stale: () => current !== null && check !== null && caseKey(current.case) !== caseKey(check.case),
    running: () => running,
    losing,
    // True while the running case would be lost to another run: it is not
    // the example, and it was changed since its run started, or it is the
    // tab's kept case, which no link or file holds. A name typed is a change.
    changed: () => {
      const data = labelled ?? current;
      return nameTyped() || (running && data !== null && !data.example &&
        (run.origin.kind === 'kept' || data.link !== run.first?.link));
    },
    typeDialog,
  };
})();
