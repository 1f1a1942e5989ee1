// The help at the program's number prompts: one line under the terminal
// names the field asked for and what it holds now, and "Wert behalten"
// (here and on the key bar) types the value the field held when the dialog
// began. Every word and number comes from the program (window.tavroHelp.show
// gets what it waits for); the page computes nothing.
'use strict';
window.tavroHelp = (() => {
  const line = document.getElementById('prompt-help');
  let prompt = null;  // the prompt waiting, as the program described it

  const show = (waiting) => {
    prompt = waiting?.prompt ?? null;
    for (const button of document.querySelectorAll('#keep, #keys .keep')) button.disabled = prompt === null;
    if (prompt === null) {
      line.textContent = '';
      return;
    }
    const unit = prompt.unit ? ` ${prompt.unit}` : '';
    const what = prompt.switch ? prompt.description : `${prompt.field} – ${prompt.description}`;
    line.textContent = `${what}, jetzt ${prompt.printed}${unit}. ` +
      'Zahl und Enter ändert ihn; „Wert behalten“ lässt ihn.';
  };

  return {
    // Shows what the program waits for ({wait, prompt}; null: nothing).
    show,
    // The prompt waiting as window.tavro.prompt() gives it, or null.
    prompt: () => (prompt && { field: prompt.field, value: prompt.value, printed: prompt.printed }),
    // What "Wert behalten" types: the line cleared (Ctrl-U), the value the
    // field held when the dialog began in its shortest exact text, Enter;
    // null while no prompt waits.
    keepBytes: () => (prompt && `\x15${prompt.keep}\r`),
  };
})();
