// The files of the top bar: "Protokoll speichern" saves the run as the
// screen shows it, under the case's name; "Fall speichern" saves the running
// case with its name as a case file named after it, which the console
// program reads too (tavro tavro-pumpe-p-101.txt); "Fall öffnen"
// and a file dropped on the terminal start a run with the case of one, as a
// link does, after asking if the running case would be lost. Nothing leaves
// the browser.
'use strict';
window.tavroCaseFiles = (() => {
  const terminal = tavroTerminal;
  const runs = tavroRuns;

  // Saves `text` as a download called `name`.
  const download = (text, name) => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'text/plain;charset=utf-8' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  };
  // The run as saved: the lines naming the case `named` (a case message;
  // none for an unnamed one) and a blank line, then the run as the screen
  // shows it.
  const saved = (named) => (named?.heading ? `${named.heading}\n` : '') + terminal.saved();
  document.getElementById('save').addEventListener('click', async () => {
    download(saved(await runs.named()), 'tavro-protokoll.txt');
    terminal.focus();
  });
  document.getElementById('case-save').addEventListener('click', async () => {
    const named = await runs.named();
    // A case holding a value that is not finite has no file: it could not
    // be read back, so the bar names the field instead. A name field whose
    // text is no name saves nothing either: the file would name the case
    // otherwise than the page shows.
    if (named?.refused) tavroBar.show(named.refused);
    else if (named?.file != null) download(named.file, named.fileName);
    else if (named) tavroBar.show(named.notSaved);
    terminal.focus();
  });

  // Opens the case file `chosen` (a File); resolves once done or refused.
  const open = async (chosen) => {
    const read = chosen.size > 64 * 1024
      ? { link: null, problems: [`die Datei ist größer als 64 KB`], missing: [] }
      : await tavroCommon.ask('_tavroCaseFile', { tavroTable: new Uint8Array(await chosen.arrayBuffer()) });
    if (read.link === null) {
      tavroBar.show(`„${chosen.name}“ nicht geladen: ${read.problems.join('; ')}.`);
      return;
    }
    if (runs.losing(read.link) && !window.confirm('Der Fall des laufenden Programms geht dabei verloren. Trotzdem öffnen?')) return;
    runs.start(read.link, { kind: 'file', name: chosen.name, missing: read.missing });
  };
  const caseFile = document.getElementById('case-file');
  document.getElementById('case-open').addEventListener('click', () => caseFile.click());
  caseFile.addEventListener('change', () => {
    const [chosen] = caseFile.files;
    caseFile.value = '';
    if (chosen) open(chosen).finally(terminal.focus);
  });
  // A file dropped on the terminal is a case; elsewhere (but on the size
  // chooser, whose drop is a table) the browser does not open it instead.
  terminal.box.addEventListener('dragover', (event) => event.preventDefault());
  terminal.box.addEventListener('drop', (event) => {
    const [dropped] = event.dataTransfer?.files ?? [];
    event.preventDefault();
    if (dropped) open(dropped).finally(terminal.focus);
  });
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => event.preventDefault());

  return { open, saved };
})();
