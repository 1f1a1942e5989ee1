// The section "Baugröße wählen": a maker's series of coupling sizes, pasted,
// typed or opened from a file, each size checked for the current case by
// the program's own check in a second instance that only computes (the
// running one waits suspended for its keys). The page computes no formula:
// it shows what the program answers and types "übernehmen" into the run.
// A long table is checked in parts of a few milliseconds, the page given its
// turn between them, so that keys reach the running program meanwhile; the
// rows in view (and only they) are drawn at most once a frame.
'use strict';
window.tavroSizes = (() => {
  const area = document.getElementById('series');
  const info = document.getElementById('series-info');
  const ignoredList = document.getElementById('series-ignored');
  const box = document.querySelector('.series-box');
  const table = document.getElementById('series-table');
  const file = document.getElementById('series-file');
  const stored = 'tavro.series';
  const limit = 2 * 1024 * 1024;  // bytes of a table; a maker's has far fewer
  const partMs = 8;               // what one call of the computing instance may take
  // What the check may hold the page before giving it a turn, less where
  // the browser can tell that a key or click waits: a part starts only
  // where it still fits the turn, so that with the frame drawn after it a
  // task stays under 50 ms.
  const inputWaits = navigator.scheduling?.isInputPending
    ? () => navigator.scheduling.isInputPending() : null;
  const turnMs = 24;
  const frameMs = 50;  // the longest the rows in view may wait for their frame

  let link = '';        // the case, as a link's fragment: exact values
  let forCase = null;   // the program's case, as its last message gave it
  let checkedFor = null;  // the case the sizes shown were checked for: what the first line names
  let shownText = null;   // the text of the table whose rows are drawn
  let example = false;  // the table is the built-in example
  let taken = null;     // the size "übernehmen" typed last: {name, values, fields}
  let typer = null;     // {typeDialog, focus, say}: the running program, from page.js
  let mostRows = 0;     // a test's limit on the sizes one slice checks; 0: none

  // The check as it stands: how the table was read, the sizes checked so
  // far, the first of them that passes, and whether all are checked.
  let head = null;
  let sizes = [];
  let smallest = null;
  let complete = false;

  const encoder = new TextEncoder();
  const { ask } = tavroCommon;

  const save = (text) => {
    try {
      localStorage.setItem(stored, text);
    } catch { /* a browser without storage keeps the table until the page closes */ }
  };

  const { element } = tavroCommon;
  // A count or a line number with the thousands grouped by points, as in
  // German. Not by toLocaleString: its first call loads the locale's data,
  // which held the page well over 50 ms in the middle of a check.
  const count = (n) => String(n).replace(/\B(?=(\d{3})+$)/g, '.');

  // "übernehmen": dialog d with the size's six values, each typed when the
  // program asks for its field (runs.js), then the program's case compared
  // with the size: "übernommen" only where the case holds exactly the six
  // values, else the fields that differ. What it did is said in the top bar
  // too, which comes into view with the terminal (on a phone both are far
  // above the table). The size's name goes to the program with the dialog:
  // the case is named by it while it holds the size's values. `index` is
  // the size's place in the series the computing instance holds.
  const takeOver = async (size, index) => {
    if (!typer) return;
    const { fields } = head;
    typer.focus();
    const [link = null] = await ask('_tavroSizeLink', {}, index);
    const result = await typer.typeDialog('d', Object.fromEntries(fields.map((f, k) => [f, size.exact[k]])), link);
    let text;
    if (result.refused === 'menu') {
      text = `„${size.name}“ nicht übernommen: das Programm wartet nicht in seinem Menü ` +
        '(eine Seite endet mit x, ein Dialog mit seinem letzten Wert).';
    } else if (result.refused === 'ended') {
      text = `„${size.name}“ nicht übernommen: das Programm lief nicht oder endete vorher.`;
    } else {
      taken = { name: size.name, values: size.values, fields };
      const other = fields.flatMap((f, k) => (result.case[f] === size.values[k] ? []
        : [`${f} ${result.printed[f]} statt ${size.exact[k]}`]));
      const times = result.rounds === 1 ? '' : result.rounds === 2 ? ' zweimal' : ` ${result.rounds}-mal`;
      text = other.length === 0
        ? `„${size.name}“ übernommen – Dialog d${times} getippt` +
          `${times ? ', da das Programm noch Eingaben hielt' : ''}; g prüft den Fall damit.`
        : `„${size.name}“ nicht ganz übernommen – im Programm anders: ${other.join(', ')}.`;
    }
    info.textContent = text;
    typer.say(text);
    window.tavroPanel?.retitle();
  };

  const notes = () => {
    const said = [];
    if (checkedFor && checkedFor.link !== forCase.link) {
      said.push('Der Fall im Programm hat sich geändert; die Reihe wird für ihn neu geprüft.');
    } else if (checkedFor && head.count > 0) {
      said.push(checkedFor.example ? 'Geprüft für den Beispielfall.'
        : `Geprüft für den Fall im Programm: ${checkedFor.drive}.`);
    }
    if (example) said.push('Beispielreihe mit erfundenen Werten, keines Herstellers.');
    if (head.header === 'byName') said.push('Die erste Zeile nennt die Spalten.');
    if (head.header === 'inOrder') said.push(head.columns);  // which title became which value
    if (head.count === 0 && head.header !== 'none' && head.ignored.length === 0) {
      said.push('Unter der Kopfzeile steht keine Baugröße.');
    }
    if (head.count > 0) {
      said.push(head.decimalComma ? 'Zahlen mit Dezimalkomma gelesen, Punkte trennen Tausender.'
        : 'Zahlen mit Dezimalpunkt gelesen.');
      if (!complete) said.push(`Geprüft: ${count(sizes.length)} von ${count(head.count)} Baugrößen …`);
      else if (smallest === null) said.push('Keine Baugröße besteht alle sechs Prüfungen.');
      else said.push(`Kleinste passende Baugröße: ${sizes[smallest].name}.`);
    }
    return said.join(' ');
  };

  // While a newer table or case is read, the rows drawn are of the one
  // before: they stay in sight, dimmed, but none can be taken over.
  let outdated = false;
  const outdate = () => {
    outdated = true;
    table.classList.add('outdated');
    for (const button of table.querySelectorAll('button[data-size]')) button.disabled = true;
  };

  // The rows: a grid rather than a table element, of rows of one height,
  // and only those in view (and a few around) are in the document.
  const rowsBox = element('div', { role: 'rowgroup', class: 'sizes-body' });
  let rowHeight = 0;
  const cell = (attributes, ...children) => element('span', { role: 'cell', ...attributes }, ...children);
  const row = (size, k) => {
    const computable = size.checks.every((c) => !Number.isNaN(c.value));
    return element('div', { role: 'row', 'aria-rowindex': String(k + 2),
                            class: `size${k === smallest ? ' smallest' : ''}` },
      element('span', { role: 'rowheader' }, size.name,
              ...(k === smallest ? [element('span', { class: 'mark' }, 'kleinste passende Baugröße')] : [])),
      ...size.checks.map((c) => cell({ class: c.okay ? 'okay' : 'not-okay' }, c.share)),
      cell({ class: size.okay ? 'okay' : 'not-okay' },
           size.okay ? 'passt' : computable ? 'passt nicht' : 'nicht berechenbar'),
      cell({}, element('button', { type: 'button', 'data-size': String(k), ...(outdated ? { disabled: '' } : {}) },
                       'übernehmen')));
  };
  // The rows of a new table start at the top. Moved where they are drawn,
  // since moving the box lays the page out at once (a long text just put
  // into the field too), and only once the box is shown: a hidden box
  // cannot move.
  let toTop = false;
  // A row drawn stays in the document while it is in view and shows the
  // same: a row built anew under the pointer between its press and release
  // takes no click, and a focused button built anew loses the focus. A
  // focused row scrolled out of view stays too, so that the focus is not
  // lost to the page. `shown` holds what each row drawn shows, by its
  // size's place; the document holds them in that order.
  const shown = new Map();
  // The rows of a table checked again for a new case keep the table's
  // height meanwhile, and the box its place in it.
  let holding = false;
  const clearRows = () => {
    rowsBox.replaceChildren();
    shown.clear();
  };
  const moveToTop = () => {
    if (toTop && box.offsetParent !== null) {
      toTop = false;
      box.scrollTop = 0;
    }
  };
  const drawRows = () => {
    if (sizes.length === 0) {
      moveToTop();
      return;
    }
    // Measured in one layout, before any change (the box moved too): each
    // read after a change would lay the page out again.
    let probe = null;
    if (rowHeight === 0) {
      probe = row(sizes[0], 0);
      probe.style.visibility = 'hidden';
      rowsBox.append(probe);
      rowHeight = probe.offsetHeight;
    }
    const { clientHeight } = box;
    moveToTop();
    const { scrollTop } = box;  // laid out already: read, not laid out again
    probe?.remove();
    if (rowHeight === 0) return;  // not laid out (hidden): drawn when shown (redraw)
    // Rows are drawn beyond the view on either side, ten for a smooth scroll
    // and for Tab held down, which moves on faster than rows are drawn; a
    // table's first rows with four only, so that their frame stays short (the
    // next draw adds the rest).
    const margin = shown.size === 0 ? 4 : 10;
    const first = Math.max(0, Math.floor(scrollTop / rowHeight) - margin);
    const last = Math.min(sizes.length, first + Math.ceil(clientHeight / rowHeight) + 2 * margin);
    rowsBox.style.height = `${(holding ? head.count : sizes.length) * rowHeight}px`;
    const looks = (k) => `${k === smallest} ${outdated} ${rowHeight}`;
    for (const [k, { r, look }] of shown) {
      const away = (k < first || k >= last) && !r.contains(document.activeElement);
      if (away || look !== looks(k)) {
        r.remove();
        shown.delete(k);
      }
    }
    // Each new row goes before the first row kept that comes after it.
    const place = (r) => Number(r.getAttribute('aria-rowindex')) - 2;
    let next = rowsBox.firstElementChild;
    for (let k = first; k < last; ++k) {
      while (next && place(next) < k) next = next.nextElementSibling;
      if (next && place(next) === k) continue;
      const r = row(sizes[k], k);
      r.style.top = `${k * rowHeight}px`;
      rowsBox.insertBefore(r, next);
      shown.set(k, { r, look: looks(k) });
    }
  };
  // Scrolled, or shown again or resized (the print layout hides the box,
  // a new window size may change how many rows are in view, a zoom their
  // height): the rows now in view drawn.
  let drawing = 0;
  const redraw = () => {
    drawing ||= requestAnimationFrame(() => { drawing = 0; drawRows(); });
  };
  box.addEventListener('scroll', redraw);
  new ResizeObserver(() => {
    rowHeight = 0;
    redraw();
  }).observe(box);

  const draw = () => {
    info.textContent = notes();
    table.setAttribute('aria-rowcount', String(head.count + 1));
    if (sizes.length === 0) {
      table.replaceChildren();
      return;
    }
    if (table.childElementCount === 0) {
      table.replaceChildren(element('div', { role: 'row', class: 'head', 'aria-rowindex': '1' },
        element('span', { role: 'columnheader' }, 'Baugröße'),
        ...head.names.map(({ title, brief }) => element('span', { role: 'columnheader', title },
                                                         element('abbr', { title }, brief))),
        element('span', { role: 'columnheader' }, 'Ergebnis'),
        element('span', { role: 'columnheader' }, element('span', { class: 'visually-hidden' }, 'Übernehmen'))),
      rowsBox);
    }
    drawRows();
  };
  // Drawn with the next frame, however many parts are checked before it;
  // `framed` is when that was asked for, `afterFrame` who waits for it. Those
  // waiting go on even if the drawing failed; the check then fails with what
  // it threw (`drawFailed`).
  let frame = 0;
  let framed = 0;
  let afterFrame = [];
  let drawFailed = null;
  // Draws, and gives back what resumes those who waited for it (null: none).
  const drawFor = () => {
    const waiting = afterFrame;
    afterFrame = [];
    try {
      if (head) draw();
    } catch (error) {
      drawFailed = error;
    }
    return waiting.length === 0 ? null : () => { for (const resume of waiting) resume(); };
  };
  const drawSoon = () => {
    if (frame) return;
    framed = performance.now();
    frame = requestAnimationFrame(() => {
      frame = 0;
      const resume = drawFor();
      if (resume) resumeAfter(resume);
    });
  };
  const drawNow = () => {
    cancelAnimationFrame(frame);
    frame = 0;
    drawFor()?.();
  };
  table.addEventListener('click', (event) => {
    const index = event.target.closest?.('button[data-size]')?.dataset.size;
    if (index !== undefined && !outdated) takeOver(sizes[Number(index)], Number(index));
  });

  // The check: the table read (again only when its text changed), then its
  // sizes checked slice by slice; a newer table or case ends a check under
  // way. Each caller is answered when the newest check is complete, or has
  // failed.
  let generation = 0;
  let readText = null;   // the text the computing instance holds read to its end; null: none known
  let waiting = [];      // {resolve, reject} of callers of check(), answered when a check ends
  // The page's turn: the browser's own yield where it has one, else a
  // message to the page itself, which no browser holds back as it holds a
  // timer set within timers (to 4 ms).
  const channel = new MessageChannel();
  const turns = [];
  channel.port1.onmessage = () => turns.shift()();
  const resumeAfter = (resume) => {
    turns.push(resume);
    channel.port2.postMessage(null);
  };
  const yieldToPage = () => (globalThis.scheduler?.yield ? scheduler.yield()
    : new Promise(resumeAfter));
  // A long text just put into the field is laid out by the next frame, for
  // tens of milliseconds of its own: its check starts after that frame, so
  // that no task does both. A hidden page draws no frame and waits for
  // none; 100 ms at most where a frame does not come.
  let textPut = false;
  const putText = (text) => {
    area.value = text;
    textPut = true;
  };
  const textLaidOut = () => new Promise((resolve) => {
    if (document.visibilityState !== 'visible') {
      resolve();
      return;
    }
    const late = setTimeout(resolve, 100);
    requestAnimationFrame(() => {
      clearTimeout(late);
      resumeAfter(resolve);
    });
  });
  // Gives the page its turn once the check held it for its time, or at once
  // when a key or click waits; `since` is when the page last had it. A
  // test's limit on a part stands for a slow machine: a turn after each.
  // Where the rows wait for a frame that is due, the turn lasts until it is
  // drawn: a browser may put its frames after turns given one after another.
  // A hidden page draws no frame, and none waits longer than 100 ms for one.
  let since = 0;
  const maybeYield = async () => {
    const now = performance.now();
    if (mostRows === 0 && now - since + partMs <= turnMs && !inputWaits?.()) return;
    if (mostRows !== 0) {
      await new Promise((resolve) => { setTimeout(resolve, 0); });  // a slow machine's pace
    } else if (frame && now - framed > frameMs && document.visibilityState === 'visible') {
      await new Promise((resolve) => {
        afterFrame.push(resolve);
        setTimeout(resolve, 100);
      });
    } else {
      await yieldToPage();
    }
    since = performance.now();
  };
  // How many to do in the next part, after `done` took `ms`: as many as fit
  // a part's time, at most four times as many as before.
  const fitted = (done, ms) => Math.max(1, Math.min(4 * done, Math.floor(done * partMs / Math.max(ms, 1))));
  const summary = () => ({
    sizes: sizes.map(({ name, values, checks, okay }) => ({
      name, values, checks: checks.map(({ value, limit: l, okay: o, share }) => ({ value, limit: l, okay: o, share })), okay,
    })),
    smallest,
    ignored: head.ignored,
  });
  const run = async (own) => {
    if (textPut) {
      textPut = false;
      await textLaidOut();
      if (own !== generation) return;
    }
    const text = area.value;
    const checking = forCase;  // the case of `link`, which the engine reads first
    const tooLarge = encoder.encode(text).length > limit;
    const fresh = text !== readText;
    // Read in slices too: a long table takes its time to split and read.
    let lines = 200;
    const read = async (what) => {
      const started = performance.now();
      const part = Math.min(lines, mostRows || lines);
      const answer = await ask('_tavroSeriesRead', what === 1 ? { tavroLink: encoder.encode(link),
        tavroTable: encoder.encode(text) } : { tavroLink: encoder.encode(link) }, what, part);
      lines = fitted(part, performance.now() - started);
      return answer;
    };
    // How the table was read; the rows drawn keep theirs until it is done.
    let got = null;
    if (tooLarge) {
      got = { decimalComma: false, header: 'none', fields: [], names: [], count: 0,
              ignored: [{ line: 1, reason: `die Tabelle ist größer als ${limit / 1048576} MB` }] };
    } else {
      // From the first slice on, the instance holds the new text half read:
      // a check ended meanwhile must not take it for the one read before.
      if (fresh) readText = null;
      since = performance.now();
      got = await read(fresh ? 1 : 0);
      if (got === null) info.textContent = 'Die Tabelle wird gelesen …';
      while (got === null) {
        await maybeYield();
        if (own !== generation) return;
        got = await read(2);
      }
      readText = text;
    }
    if (own !== generation) return;
    checkedFor = checking;
    // The same table for a new case: its rows are drawn where they were.
    holding = text === shownText;
    shownText = text;
    head = got;
    outdated = false;
    table.classList.remove('outdated');
    sizes = [];
    smallest = null;
    complete = head.count === 0;
    ignoredList.replaceChildren(...head.ignored.map(({ line, reason }) =>
      element('li', {}, `Zeile ${count(line)}: ${reason}`)));
    if (!holding) table.replaceChildren();
    clearRows();
    drawFailed = null;
    rowHeight = 0;
    toTop = !holding;
    let rows = 20;  // sizes in the next part, fitted to the time they take
    while (sizes.length < head.count) {
      // The table read and its rows cleared took their time too: the first
      // part may need a turn of its own.
      await maybeYield();
      if (own !== generation) return;  // a newer table or case came meanwhile
      const started = performance.now();
      const part = Math.min(rows, mostRows || rows);
      const answer = await ask('_tavroSeriesCheck', {}, sizes.length, sizes.length + part);
      sizes.push(...answer.sizes);
      smallest = answer.smallest;
      complete = sizes.length >= head.count;
      if (complete) break;
      drawSoon();
      rows = fitted(part, performance.now() - started);
    }
    // The last part's rows are drawn with the next frame too, so that no
    // task both checks and lays rows out; a hidden page draws no frame.
    if (document.visibilityState === 'visible') {
      await new Promise((resolve) => {
        const late = setTimeout(() => { if (frame) drawNow(); }, 100);
        afterFrame.push(() => {
          clearTimeout(late);
          resolve();
        });
        drawSoon();
      });
      if (own !== generation) return;
    } else {
      drawNow();
    }
    if (drawFailed) throw drawFailed;
    const answered = waiting;
    waiting = [];
    for (const { resolve } of answered) resolve(summary());
  };
  // A check that failed (the computing instance out of memory, say) is
  // said, and its callers learn it; the next check reads the table afresh.
  const fail = (own, error) => {
    readText = null;
    if (own !== generation) return;  // the newer check answers the callers
    complete = true;
    info.textContent = `Die Reihe ließ sich nicht prüfen: ${error?.message ?? error}`;
    const answered = waiting;
    waiting = [];
    for (const { reject } of answered) reject(error);
  };
  let pending = Promise.resolve();
  const check = () => {
    const own = ++generation;
    outdate();
    const done = new Promise((resolve, reject) => { waiting.push({ resolve, reject }); });
    done.catch(() => {});  // a caller that does not wait has the failure said in the section
    // One check runs at a time, as the computing instance holds one series;
    // one that fails does not stop those after it.
    pending = pending.then(() => (own === generation ? run(own) : undefined))
      .catch((error) => fail(own, error));
    return done;
  };

  // A table file's bytes, read as UTF-8 (coupling/text.h decodes them).
  const openFile = async (chosen) => {
    if (chosen.size > limit) {
      info.textContent = `„${chosen.name}“ ist größer als ${limit / 1048576} MB.`;
      return;
    }
    const [text] = await ask('_tavroFileText', { tavroTable: new Uint8Array(await chosen.arrayBuffer()) });
    replace(text);
  };

  // A new table, as a paste gives it: kept for the next visit.
  const replace = (text) => {
    putText(text);
    tableIn = true;
    example = false;
    save(text);
    return check();
  };

  let timer = 0;
  area.addEventListener('input', () => {
    outdate();
    tableIn = true;
    example = false;
    save(area.value);
    clearTimeout(timer);
    timer = setTimeout(check, 150);
  });
  document.getElementById('series-open').addEventListener('click', () => file.click());
  file.addEventListener('change', async () => {
    const chosen = file.files[0];
    file.value = '';
    if (chosen) openFile(chosen);
    typer?.focus();
  });
  // A file dropped on the section is a table, like one opened.
  const section = document.getElementById('sizes');
  section.addEventListener('dragover', (event) => event.preventDefault());
  section.addEventListener('drop', (event) => {
    const [dropped] = event.dataTransfer?.files ?? [];
    if (!dropped) return;
    event.preventDefault();
    event.stopPropagation();
    openFile(dropped);
  });
  document.getElementById('series-clear').addEventListener('click', () => {
    area.value = '';
    tableIn = true;
    example = false;
    try {
      localStorage.removeItem(stored);
    } catch { /* nothing kept */ }
    check();
    typer?.focus();
  });

  // The table of the last visit, else the example.
  let tableIn = false;  // the table is in place: a new case checks it
  const start = async () => {
    let text = null;
    try {
      text = localStorage.getItem(stored);
    } catch { /* no storage */ }
    const fromExample = text === null;
    if (fromExample) [text] = await ask('_tavroExampleSeries', {});
    if (tableIn) return check();  // a table given while the example was fetched stays
    putText(text);
    example = fromExample;
    tableIn = true;
    return check();
  };

  return {
    start,
    // The running program: {typeDialog(key, answers) (runs.js), focus(), say(text)}.
    connect: (program) => { typer = program; },
    // The case changed: the table is checked again.
    setCase: (caseMessage) => {
      if (caseMessage.link === link) return;
      link = caseMessage.link;
      forCase = caseMessage;
      if (tableIn) check();
    },
    // window.tavro.sizes(): the table replaced by `text` (none: as it is),
    // then checked; resolves once the newest check is complete, rejects
    // when it failed.
    sizes: (text) => (text === undefined ? check() : replace(text)),
    // A test's hook: at most `rows` sizes checked in one slice (0: as many
    // as fit its time), so a long check lasts on a fast machine too.
    slice: (rows) => { mostRows = rows; },
    // True while a check is under way.
    busy: () => !complete || waiting.length > 0,
    // The size "übernehmen" typed last: {name, fields, values}, or null.
    taken: () => taken,
  };
})();
