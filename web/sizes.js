// The section "Baugröße wählen": a maker's series of coupling sizes, pasted,
// typed or opened from a file, each size checked for the current case by
// the program's own check in a second instance that only computes (the
// running one waits suspended for its keys). The page computes no formula:
// it shows what the program answers and types "übernehmen" into the run.
'use strict';
window.tavroSizes = (() => {
  const area = document.getElementById('series');
  const info = document.getElementById('series-info');
  const ignoredList = document.getElementById('series-ignored');
  const table = document.getElementById('series-table');
  const file = document.getElementById('series-file');
  const stored = 'tavro.series';
  const limit = 2 * 1024 * 1024;  // bytes of a table; a maker's has far fewer
  // The six checks' columns: short titles, and the panel's words for them.
  const titles = [['I', 'I Nennmoment'], ['II A', 'II Stoß von der Antriebsseite'],
    ['II L', 'II Stoß von der Lastseite'], ['III', 'III Resonanzdurchfahrt'],
    ['Wechs.', 'Dauerwechselmoment'], ['Dämpf.', 'Dämpfungsleistung']];

  let engine = null;    // the instance that computes: a promise of it
  let link = '';        // the case, as a link's fragment: exact values
  let current = null;   // the case's fields
  let answer = null;    // what the last table gave
  let example = false;  // the table is the built-in example
  let taken = null;     // the size "übernehmen" typed last: {name, values}
  let typer = null;     // {send, atMenu}: the running program, from page.js

  const encoder = new TextEncoder();
  const computing = () => {
    engine ??= createTavro({ tavroAnswer: null, tavroTable: null, tavroLink: null });
    return engine;
  };
  // Asks the computing instance: `call` is one of its exports.
  const ask = async (call, fields) => {
    const program = await computing();
    Object.assign(program, fields);
    let reply = null;
    program.tavroAnswer = (bytes) => { reply = bytes; };
    program[call]();
    return tavroCommon.parse(reply);
  };

  const save = (text) => {
    try {
      localStorage.setItem(stored, text);
    } catch { /* a browser without storage keeps the table until the page closes */ }
  };

  const { element, percent } = tavroCommon;

  // "übernehmen": dialog d with the size's six values, typed as a user
  // would, while the program waits at its menu.
  const takeOver = (size) => {
    if (!typer?.atMenu()) {
      info.textContent = `„${size.name}“ nicht übernommen: das Programm wartet nicht in seinem Menü ` +
        '(eine Seite endet mit x, ein Dialog mit seinem letzten Wert).';
      return;
    }
    taken = { name: size.name, values: size.values, fields: answer.fields };
    typer.send(`d${size.exact.map((v) => `${v}\r`).join('')}`);
    typer.focus();
    info.textContent = `„${size.name}“ in Dialog d übernommen; g prüft den Fall damit.`;
  };

  const draw = () => {
    const notes = [];
    if (example) notes.push('Beispielreihe mit erfundenen Werten, keines Herstellers.');
    if (answer.header === 'byName') notes.push('Die erste Zeile nennt die Spalten.');
    if (answer.header === 'inOrder') {
      notes.push('Die erste Zeile ist eine Kopfzeile; sie nennt nicht alle sechs Werte, die Spalten ' +
                 'gelten in der Reihenfolge von Dialog d.');
    }
    if (answer.sizes.length > 0) {
      notes.push(answer.decimalComma ? 'Zahlen mit Dezimalkomma gelesen, Punkte trennen Tausender.'
        : 'Zahlen mit Dezimalpunkt gelesen.');
      notes.push(answer.smallest === null ? 'Keine Baugröße besteht alle sechs Prüfungen.'
        : `Kleinste passende Baugröße: ${answer.sizes[answer.smallest].name}.`);
    }
    info.textContent = notes.join(' ');
    ignoredList.replaceChildren(...answer.ignored.map(({ line, reason }) =>
      element('li', {}, `Zeile ${line}: ${reason}`)));
    if (answer.sizes.length === 0) {
      table.replaceChildren();
      return;
    }
    // A grid of rows rather than a table element: a row off screen is
    // neither laid out nor drawn (content-visibility), so a long series
    // shows at once.
    const cell = (attributes, ...children) => element('span', { role: 'cell', ...attributes }, ...children);
    const head = element('div', { role: 'row', class: 'head' },
      element('span', { role: 'columnheader' }, 'Baugröße'),
      ...titles.map(([t, full]) => element('span', { role: 'columnheader', title: full },
                                            element('abbr', { title: full }, t))),
      element('span', { role: 'columnheader' }, 'Ergebnis'),
      element('span', { role: 'columnheader' }, element('span', { class: 'visually-hidden' }, 'Übernehmen')));
    const body = answer.sizes.map((size, k) => {
      const computable = size.checks.every((c) => !Number.isNaN(c.value));
      return element('div', { role: 'row', class: k === answer.smallest ? 'smallest' : '' },
        element('span', { role: 'rowheader' }, size.name,
                ...(k === answer.smallest ? [element('span', { class: 'mark' }, 'kleinste passende Baugröße')] : [])),
        ...size.checks.map((c) => cell({ class: c.okay ? 'okay' : 'not-okay' }, percent(c))),
        cell({ class: size.okay ? 'okay' : 'not-okay' },
             size.okay ? 'passt' : computable ? 'passt nicht' : 'nicht berechenbar'),
        cell({}, element('button', { type: 'button', 'data-size': String(k) }, 'übernehmen')));
    });
    table.replaceChildren(head, ...body);
  };
  table.addEventListener('click', (event) => {
    const index = event.target.closest?.('button[data-size]')?.dataset.size;
    if (index !== undefined) takeOver(answer.sizes[Number(index)]);
  });

  // Checks the table as it stands for the current case.
  let pending = Promise.resolve();
  const check = () => {
    const text = area.value;
    pending = pending.then(async () => {
      answer = encoder.encode(text).length > limit
        ? { decimalComma: false, header: 'none', fields: [], sizes: [], smallest: null,
            ignored: [{ line: 1, reason: `die Tabelle ist größer als ${limit / 1048576} MB` }] }
        : await ask('_tavroSeries', { tavroLink: encoder.encode(link), tavroTable: encoder.encode(text) });
      draw();
    });
    return pending.then(() => ({
      sizes: answer.sizes.map(({ name, values, checks, okay }) => ({
        name, values, checks: checks.map(({ value, limit: l, okay: o }) => ({ value, limit: l, okay: o })), okay,
      })),
      smallest: answer.smallest,
      ignored: answer.ignored,
    }));
  };

  // A new table, as a paste gives it: kept for the next visit.
  const replace = (text) => {
    area.value = text;
    example = false;
    save(text);
    return check();
  };

  let timer = 0;
  area.addEventListener('input', () => {
    example = false;
    save(area.value);
    clearTimeout(timer);
    timer = setTimeout(check, 150);
  });
  document.getElementById('series-open').addEventListener('click', () => file.click());
  file.addEventListener('change', async () => {
    const chosen = file.files[0];
    file.value = '';
    if (!chosen) return;
    if (chosen.size > limit) {
      info.textContent = `„${chosen.name}“ ist größer als ${limit / 1048576} MB.`;
      return;
    }
    const [text] = await ask('_tavroTableText', { tavroTable: new Uint8Array(await chosen.arrayBuffer()) });
    replace(text);
  });
  document.getElementById('series-clear').addEventListener('click', () => {
    area.value = '';
    example = false;
    try {
      localStorage.removeItem(stored);
    } catch { /* nothing kept */ }
    check();
  });

  // The table of the last visit, else the example.
  const start = async () => {
    let text = null;
    try {
      text = localStorage.getItem(stored);
    } catch { /* no storage */ }
    if (text === null) {
      [text] = await ask('_tavroExampleSeries', {});
      example = true;
    }
    area.value = text;
    return check();
  };

  return {
    start,
    // The running program: {send(bytes), focus(), atMenu()}.
    connect: (program) => { typer = program; },
    // The case changed: the table is checked again.
    setCase: (caseMessage) => {
      if (caseMessage.link === link) return;
      link = caseMessage.link;
      current = caseMessage.case;
      check();
    },
    // window.tavro.sizes(): the table replaced by `text` (none: as it is),
    // then checked.
    sizes: (text) => (text === undefined ? check() : replace(text)),
    // The size "übernehmen" typed last, and whether the case still has its
    // values; null when none was taken over.
    taken: () => taken && {
      name: taken.name,
      matches: taken.fields.every((field, k) => Object.is(current?.[field], taken.values[k])),
    },
  };
})();
