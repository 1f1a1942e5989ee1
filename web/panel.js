// The panel "Auswertung" beside the terminal and the printed report: both
// draw the check that the program hands over (window.tavroPanel.show) and
// compute none of it. Every number is the program's own text ("printed");
// only the chart's axes are d3's.
'use strict';
window.tavroPanel = (() => {
  // The bar of a row spans 0 to 150 % of the limit; its mark stands at 100 %.
  const barTop = 150;

  const panel = document.getElementById('panel');
  const summary = document.getElementById('summary');
  const note = document.getElementById('panel-note');
  const report = document.getElementById('report');
  const title = document.getElementById('panel-title');
  const { element, share: shareOf } = tavroCommon;
  // Where the keys go after the Rechenweg's button, and the case named as
  // the page's field names it (its "heading" heads the report): page.js says.
  let connection = { focus: () => {}, labelled: () => null };

  // What one row shows: texts as the program prints them, and the verdict
  // the program gave.
  const describe = (check, k) => {
    const c = check.checks[k];
    const { title: name, unit } = check.names[k];
    const computable = !Number.isNaN(c.value);
    const share = shareOf(c);
    return {
      title: name,
      value: `${c.valueName} = ${check.printed[c.valueName]} ${unit}`,
      limit: `${c.limitName} = ${check.printed[c.limitName]} ${unit}`,
      okay: c.okay,
      verdict: c.okay ? 'okay' : computable ? 'nicht okay' : 'nicht berechenbar',
      percent: c.share,
      share,
      note: c.note,
      bar: computable && Number.isFinite(share) ? Math.min(Math.max(share, 0), barTop) / barTop
        : 1,
    };
  };

  const verdicts = (check) => check.names.map((n, k) => `${n.title}: ${describe(check, k).verdict}`)
    .join('; ');

  // Why a case has no curve, in the user's words.
  const noCurve = (check) => {
    if (!(check.case.n > 0)) return 'Keine Kurve: die Drehzahl n ist nicht größer als 0.';
    if (check.case.i === 0) return 'Keine Kurve: die Ordnungszahl i ist 0, es gibt keine Resonanzdrehzahl.';
    if (check.curve.length === 0) {
      return `Keine Kurve: die Resonanzdrehzahl nR = ${check.printed.nR} 1/min ` +
        (Number.isFinite(check.results.nR) ? 'liegt nicht über 0.' : 'ist nicht endlich.');
    }
    return 'Keine Kurve: TWimax ist bei keiner Drehzahl berechenbar.';
  };

  // The chart of TWimax over the speed as an SVG element, or null when the
  // case has no curve to draw.
  const chart = (check) => {
    const points = check.curve.filter(([, t]) => Number.isFinite(t));
    if (points.length < 2) return null;
    const width = 460;
    const height = 270;
    const margin = { top: 22, right: 34, bottom: 40, left: 56 };
    const { n, TKW } = check.case;
    const { nR } = check.results;

    // The resonance peak is cut where it would squash the rest: the scale
    // then ends at twice what is left away from resonance.
    const top = Math.max(...points.map(([, t]) => t));
    const rest = Math.max(0, ...points.filter(([s]) => Math.abs(s - nR) > 0.25 * nR)
      .map(([, t]) => t), Number.isFinite(TKW) ? TKW : 0);
    const cut = rest > 0 && top > 4 * rest;
    const bottom = Math.min(0, ...points.map(([, t]) => t));
    const x = d3.scaleLinear().domain([0, points[points.length - 1][0]])
      .range([margin.left, width - margin.right]);
    const y = d3.scaleLinear().domain([bottom, cut ? 2 * rest : top]).nice()
      .range([height - margin.bottom, margin.top]);

    const svg = d3.create('svg').attr('viewBox', `0 0 ${width} ${height}`)
      .attr('class', 'chart').attr('role', 'img');
    svg.append('title').text(
      `Dauerwechselmoment TWimax über der Drehzahl n, von 0 bis zum Doppelten der größeren ` +
      `von n und nR. Betriebsdrehzahl n = ${check.printed.n} 1/min mit TWimax = ` +
      `${check.printed.TWimax} Nm, Resonanzdrehzahl nR = ${check.printed.nR} 1/min, ` +
      `zulässig TKW = ${check.printed.TKW} Nm` + (cut ? '; die Resonanzspitze ist abgeschnitten. ' : '. ') +
      `Urteile: ${verdicts(check)}.`);
    const clip = `plot-${Math.random().toString(36).slice(2)}`;
    svg.append('clipPath').attr('id', clip).append('rect')
      .attr('x', margin.left).attr('y', margin.top)
      .attr('width', width - margin.left - margin.right)
      .attr('height', height - margin.top - margin.bottom);

    svg.append('g').attr('transform', `translate(0,${height - margin.bottom})`)
      .call(d3.axisBottom(x).ticks(6, '~f'));
    svg.append('g').attr('transform', `translate(${margin.left},0)`)
      .call(d3.axisLeft(y).ticks(6, '~f'));
    svg.append('text').attr('class', 'label').attr('x', width - margin.right)
      .attr('y', height - 6).attr('text-anchor', 'end').text('n [1/min]');
    svg.append('text').attr('class', 'label').attr('x', 4).attr('y', 12).text('TWimax [Nm]');

    const plot = svg.append('g').attr('clip-path', `url(#${clip})`);
    plot.append('path').attr('class', 'curve')
      .attr('d', d3.line().defined(([, t]) => Number.isFinite(t)).x(([s]) => x(s))
        .y(([, t]) => y(t))(check.curve));
    if (Number.isFinite(TKW)) {
      plot.append('line').attr('class', 'limit').attr('x1', margin.left)
        .attr('x2', width - margin.right).attr('y1', y(TKW)).attr('y2', y(TKW));
      svg.append('text').attr('class', 'mark').attr('x', width - margin.right + 3)
        .attr('y', y(TKW) + 4).text('TKW');
    }
    for (const [speed, name] of [[n, 'n'], [nR, 'nR']]) {
      plot.append('line').attr('class', `speed ${name}`).attr('x1', x(speed)).attr('x2', x(speed))
        .attr('y1', margin.top).attr('y2', height - margin.bottom);
      svg.append('text').attr('class', 'mark').attr('x', x(speed)).attr('y', margin.top - 4)
        .attr('text-anchor', 'middle').text(name);
    }
    if (cut) {
      svg.append('text').attr('class', 'cut').attr('x', x(nR) + 6).attr('y', margin.top + 12)
        .text('Resonanzspitze abgeschnitten');
    }
    return svg.node();
  };

  const figure = (check) =>
    chart(check) ?? element('p', { class: 'chart-note' }, noCurve(check));

  // The way to every result: each step as the program writes it (MathML
  // and words), then the six checks as comparisons. A step's three pieces
  // (formula, values, result) go to the next line as a whole.
  const derivation = (check) => {
    const list = element('ol', { class: 'steps' });
    for (const step of check.steps) {
      const pieces = step.mathml.map((mathml) => {
        const piece = element('span', { class: 'piece' });
        piece.innerHTML = mathml;  // the program's own MathML, numbers and symbols only
        return piece;
      });
      list.append(element('li', {}, ...(step.condition ? [`${step.condition}: `] : []),
                          ...pieces.flatMap((p) => [p, ' '])));
    }
    const comparisons = element('ul', { class: 'comparisons' });
    check.checks.forEach((c, k) => {
      const { unit } = check.names[k];
      const relation = c.okay ? '≤' : Number.isNaN(c.value) || Number.isNaN(c.limit) ? 'nicht vergleichbar mit' : '>';
      comparisons.append(element('li', { class: c.okay ? 'okay' : 'not-okay' },
        `${c.valueName} = ${check.printed[c.valueName]} ${unit} ${relation} ` +
        `${c.limitName} = ${check.printed[c.limitName]} ${unit} → `,
        element('span', { class: 'verdict' }, c.okay ? 'okay!' : 'nicht okay!'),
        ...(c.note ? [element('br'), c.note] : [])));
    });
    return [list, comparisons];
  };

  // A piece wider than its line is set smaller, down to 12 px, so that no
  // step scrolls or is cut; measured again when the panel's width changes.
  const fitPieces = () => {
    if (stepsBox.hidden) return;  // fitted when the section opens
    for (const piece of stepsBox.querySelectorAll('.piece')) {
      piece.style.fontSize = '';
      const room = piece.parentElement.clientWidth;
      const width = piece.getBoundingClientRect().width;
      if (width > room && room > 0) {
        const size = parseFloat(getComputedStyle(piece).fontSize);
        piece.style.fontSize = `${Math.max(12, Math.floor(size * room / width * 10) / 10)}px`;
      }
    }
  };

  // The Rechenweg's section opens and closes with its button; it stays as
  // the user left it while the page is open.
  let stepsOpen = false;
  const toggle = element('button', { type: 'button', id: 'steps-toggle', 'aria-expanded': 'false',
                                     'aria-controls': 'steps' }, 'Rechenweg');
  const stepsBox = element('div', { id: 'steps', hidden: '' });
  toggle.addEventListener('click', () => {
    stepsOpen = !stepsOpen;
    toggle.setAttribute('aria-expanded', String(stepsOpen));
    stepsBox.hidden = !stepsOpen;
    fitPieces();
    connection.focus();
  });
  let fittedWidth = 0;
  new ResizeObserver(() => {
    if (stepsBox.clientWidth !== fittedWidth) {
      fittedWidth = stepsBox.clientWidth;
      fitPieces();
    }
  }).observe(stepsBox);
  const stepsSection = element('section', { class: 'derivation', 'aria-label': 'Rechenweg' },
                               element('h3', {}, toggle), stepsBox);

  let shown = null;   // the check on the panel
  let stale = false;  // the case has changed since

  const drawPanel = () => {
    const table = element('table', { class: 'rows' },
      element('caption', { class: 'visually-hidden' }, 'Die sechs Prüfungen'),
      element('colgroup', {}, ...[32, 41, 10, 17].map((w) => element('col', { style: `width: ${w}%` }))));
    shown.checks.forEach((c, k) => {
      const d = describe(shown, k);
      const fill = element('span', { class: 'fill', style: `width: ${d.bar * 100}%` });
      table.append(element('tr', { class: d.okay ? 'okay' : 'not-okay' },
        element('th', { scope: 'row' }, d.title, element('br'),
                element('span', { class: 'verdict' }, d.verdict)),
        element('td', {}, d.value, element('br'), d.limit,
                ...(d.note ? [element('br'), element('span', { class: 'note' }, d.note)] : [])),
        element('td', { class: 'percent' }, d.percent),
        element('td', { class: 'bar', 'aria-hidden': 'true' }, fill,
                element('span', { class: 'hundred', style: `left: ${100 / barTop * 100}%` }))));
    });
    note.textContent = stale ? 'Eingaben geändert – g rechnet neu' : '';
    note.hidden = !stale;
    panel.classList.toggle('stale', stale);
    stepsBox.replaceChildren(...derivation(shown));
    panel.querySelector('.content').replaceChildren(table, figure(shown), stepsSection);
    fitPieces();
  };

  // The size last taken over from the series, while the case of the check
  // shown holds exactly its six values; else the size the case's label
  // names (the program keeps it while the case holds that size's values: a
  // size taken over before a reload), while the check is the case's; else
  // null.
  const takenSize = () => {
    const taken = window.tavroSizes?.taken();
    if (taken && shown && taken.fields.every((field, k) => Object.is(shown.case[field], taken.values[k]))) {
      return taken.name;
    }
    const size = connection.labelled()?.size;
    return shown && !stale && size ? size : null;
  };
  const retitle = () => {
    const size = takenSize();
    title.textContent = size === null ? 'Auswertung' : `Auswertung – Baugröße ${size}`;
  };
  const sizeNote = () => {
    const size = takenSize();
    return size === null ? [] : [element('p', {}, `Kupplung: Baugröße „${size}“ aus der Reihe.`)];
  };

  let drawnHeading = '';  // the heading the report was last drawn with
  // The one-page print of the check: the case's name and size, the case and
  // every result as the program's pages print them, the six rows and the
  // chart. A size the case's label names is not named twice.
  const drawReport = () => {
    const now = new Date();
    const label = connection.labelled();
    drawnHeading = `${label?.heading}`;
    const heading = (label?.heading ?? '').split('\n').filter((line) => line !== '')
      .map((line) => element('p', { class: 'heading' }, line));
    const pages = (texts) => element('div', { class: 'pages' },
      ...texts.map((text) => element('pre', {}, text)));
    const table = element('table', { class: 'rows' },
      element('tr', {}, ...['Prüfung', 'Wert', 'Grenze', 'Auslastung', 'Urteil']
        .map((t) => element('th', { scope: 'col' }, t))));
    shown.checks.forEach((c, k) => {
      const d = describe(shown, k);
      table.append(element('tr', {}, element('th', { scope: 'row' }, d.title),
        element('td', {}, d.value), element('td', {}, d.limit),
        element('td', {}, d.percent), element('td', {}, d.verdict)));
    });
    report.replaceChildren(
      element('h1', {}, 'Prüfung einer elastischen Wellenkupplung nach DIN 740'),
      ...heading,
      element('p', {}, `${now.toLocaleDateString('de-DE')}, ${now.toLocaleTimeString('de-DE')} – ` +
              `berechnet mit TAVRO ${shown.version}`),
      ...(label?.size ? [] : sizeNote()),
      ...(stale ? [element('p', { class: 'warning' },
        'Die Eingaben wurden nach dieser Berechnung geändert; der Bericht zeigt den berechneten Fall.')]
        : []),
      element('h2', {}, 'Eingaben'), pages(shown.pages.values),
      element('h2', {}, 'Ergebnisse'), pages(shown.pages.results),
      element('h2', {}, 'Prüfungen'), table, figure(shown),
      element('section', { class: 'derivation' }, element('h2', {}, 'Rechenweg'), ...derivation(shown)));
  };

  // The verdicts in one line, for the bottom of a phone's screen; when all
  // pass, the one nearest its limit.
  const drawSummary = () => {
    const rows = shown.checks.map((c, k) => describe(shown, k));
    const failing = rows.filter((d) => !d.okay);
    const all = shown.checks.length;
    const tightest = rows.filter((d) => Number.isFinite(d.share))
      .reduce((a, d) => (a === null || d.share > a.share ? d : a), null);
    summary.textContent = (failing.length === 0 ? `Alle ${all} okay` +
      (tightest ? ` – am knappsten: ${tightest.title} ${tightest.percent}` : '')
      : `${failing.length} von ${all} nicht okay: ` + failing.map((d) =>
        `${d.title} ${d.verdict === 'nicht berechenbar' ? d.verdict : d.percent}`).join(', ')) +
      (stale ? ' – Eingaben geändert' : '');
    summary.className = `${failing.length === 0 ? 'okay' : 'not-okay'}${stale ? ' stale' : ''}`;
    summary.hidden = false;
  };
  summary.addEventListener('click', () => {
    panel.scrollIntoView({ behavior: 'smooth' });
    connection.focus();
  });

  const draw = () => {
    retitle();
    drawPanel();
    drawSummary();
    drawReport();
  };
  window.addEventListener('beforeprint', () => shown && drawReport());

  return {
    // The name or the size of the case changed: the report's head follows.
    relabel: () => {
      const label = connection.labelled();
      if (shown) retitle();
      if (shown && `${label?.heading}` !== drawnHeading) drawReport();
    },
    // Takes {focus, labelled}: gives the keys back to the terminal; the
    // case named (runs.js).
    connect: (page) => { connection = page; },
    // Shows a check the program handed over.
    show: (check) => {
      shown = check;
      stale = false;
      draw();
    },
    // A size was taken over: the title names it once a check shows it.
    retitle,
    // The case differs (or not) from the one of the check shown.
    setStale: (changed) => {
      if (shown && changed !== stale) {
        stale = changed;
        draw();
      }
    },
  };
})();
