// The top bar: its notice line, which says what happened to the case (what a
// link or a file did not give, a kept case back, a size taken over), with a
// button when there is something to do about it; and its buttons "Link
// kopieren" and "Bericht drucken".
'use strict';
window.tavroBar = (() => {
  const notice = document.getElementById('notice');
  const bar = document.getElementById('bar');
  let focus = () => {};

  // Shows `text`, and a button [label, what it does] after it if given.
  const show = (text, action = null) => {
    notice.textContent = text;
    if (action) {
      const [label, act] = action;
      const button = tavroCommon.element('button', { type: 'button' }, label);
      button.addEventListener('click', () => {
        act();
        focus();
      });
      notice.append(' ', button);
    }
  };
  // Shows `text` and brings the bar into view, with the terminal below it
  // (on a phone both are far above the size chooser).
  const say = (text) => {
    show(text);
    bar.scrollIntoView({ block: 'start' });
  };

  // `named()` resolves to the current case named as the field names it,
  // `link(named)` gives the address of the page with it.
  const connect = (handlers) => {
    focus = handlers.focus;
    document.getElementById('copy').addEventListener('click', async () => {
      const named = await handlers.named();
      if (named?.refused) {  // no link with a name other than the field's
        show(named.refused);
        focus();
        return;
      }
      const text = handlers.link(named);
      const copied = () => show('Link mit dem aktuellen Fall kopiert.');
      const byHand = () => {  // where the clipboard is closed to the page
        const field = Object.assign(document.createElement('textarea'), { value: text });
        document.body.append(field);
        field.select();
        const done = document.execCommand('copy');
        field.remove();
        if (done) copied(); else show(`Link zum Kopieren: ${text}`);
      };
      if (navigator.clipboard) navigator.clipboard.writeText(text).then(copied, byHand); else byHand();
      focus();
    });
    document.getElementById('print').addEventListener('click', () => {
      window.print();
      focus();
    });
    window.addEventListener('afterprint', focus);
  };

  return { show, say, connect };
})();
