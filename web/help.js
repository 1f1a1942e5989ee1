// The help at the program's number prompts: one line under the terminal
// names the field asked for and what it holds now, and "Wert behalten"
// (here and on the key bar) types the value the field held when the dialog
// began. After it, what the value means and where it comes from: on a
// desktop in full, on a phone behind the "?" beside the line, which shows
// it in the line's place (the dock keeps its height). Where the program
// read the last line typed at a prompt otherwise than it looks ("48o",
// "1.480"), the line says first what was read; that stays until the next
// line is typed. Every word and number comes from the program
// (window.tavroHelp.show gets what it waits for); the page computes nothing.
'use strict';
window.tavroHelp = (() => {
  const { element } = tavroCommon;
  const help = document.getElementById('help');
  const line = document.getElementById('prompt-help');
  // The phone's switch between the line and the explanation; the focus
  // stays where it is, as on the key bar, so no keyboard opens.
  const why = element('button', { id: 'why', type: 'button', 'aria-label': 'Erklärung zum Feld',
                                  'aria-expanded': 'false', hidden: '' }, '?');
  why.addEventListener('pointerdown', (event) => event.preventDefault());
  const explain = (open) => {
    help.classList.toggle('why-open', open);
    why.setAttribute('aria-expanded', String(open));
  };
  why.addEventListener('click', () => explain(!help.classList.contains('why-open')));
  line.after(why);

  let prompt = null;  // the prompt waiting, as the program described it
  let notice = null;  // what the program said of the last line typed

  const show = (waiting) => {
    const field = prompt?.field;
    prompt = waiting?.prompt ?? null;
    notice = waiting?.notice ?? null;
    for (const button of document.querySelectorAll('#keep, #keys .keep')) button.disabled = prompt === null;
    why.hidden = prompt === null;
    if (prompt?.field !== field) explain(false);  // a new field shows its value first
    const said = notice === null ? [] : [element('span', { class: 'read' }, `${notice} `)];
    if (prompt === null) {
      line.replaceChildren(...said);
      return;
    }
    const unit = prompt.unit ? ` ${prompt.unit}` : '';
    const what = prompt.switch ? prompt.description : `${prompt.field} – ${prompt.description}`;
    line.replaceChildren(...said, element('span', { class: 'what' }, `${what}, jetzt ${prompt.printed}${unit}. ` +
      'Zahl und Enter ändert den Wert; „Wert behalten“ lässt ihn.'),
      element('span', { class: 'why' }, ` ${prompt.explanation}`));
  };

  return {
    // Shows what the program waits for ({wait, prompt, notice}; null: nothing).
    show,
    // What the program said of the last line typed, or null.
    notice: () => notice,
    // The prompt waiting as window.tavro.prompt() gives it, or null.
    prompt: () => (prompt && { field: prompt.field, value: prompt.value, printed: prompt.printed }),
    // What the help says of the value asked for (its meaning, where it
    // comes from), or null while no prompt waits.
    explanation: () => prompt?.explanation ?? null,
    // What "Wert behalten" types: the line cleared (Ctrl-U), the value the
    // field held when the dialog began in its shortest exact text, Enter;
    // null while no prompt waits.
    keepBytes: () => (prompt && `\x15${prompt.keep}\r`),
  };
})();
