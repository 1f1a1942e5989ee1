// The kept case: the running case is kept in the tab's session storage, so
// a reload (or a phone bringing a discarded tab back) starts with it, and
// the last case other than the example in local storage, for "Letzten Fall
// laden" in a new tab. Nothing of it leaves the browser; a browser that
// keeps no storage just does not offer it.
'use strict';
window.tavroKept = (() => {
  const storage = (kind) => {
    try {
      return window[kind] ?? null;
    } catch {
      return null;  // storage closed to a page from a file, or in a sandbox
    }
  };

  // Written once the first menu is up and the browser is idle: a first
  // write to storage can cost a first menu some milliseconds, and a case is
  // written soon enough after it.
  let toKeep = null;
  const keep = (data) => {
    if (toKeep === null) {
      tavroBoot.menuShown.then(() => setTimeout(() => {
        try {
          storage('sessionStorage')?.setItem('tavro.case',
            JSON.stringify({ link: toKeep.link, fragment: toKeep.fragment, example: toKeep.example }));
          if (!toKeep.example) storage('localStorage')?.setItem('tavro.lastCase', toKeep.link);
        } catch {
          // full or forbidden: the case is only not kept
        }
        toKeep = null;
      }, 0));
    }
    // Kept against the address the case had when it came: one changed
    // before the write (a link put into the address) is not this case's.
    toKeep = { ...data, fragment: location.hash };
  };

  // The case this tab ran before a reload ({link, fragment, example}), null
  // when there is none, or 'unreadable' for a stored case that is no such
  // record, which is dropped.
  const kept = () => {
    const text = storage('sessionStorage')?.getItem('tavro.case') ?? null;
    if (text === null) return null;
    try {
      const record = JSON.parse(text);
      if (typeof record?.link === 'string' && typeof record.fragment === 'string') return record;
    } catch {
      // not JSON: dropped below
    }
    storage('sessionStorage')?.removeItem('tavro.case');
    return 'unreadable';
  };

  return {
    // Keeps the case message `data` ({link, example}) as the tab's case.
    keep,
    kept,
    // The last case other than the example that any tab kept, as a link's
    // fragment, or null.
    last: () => storage('localStorage')?.getItem('tavro.lastCase') ?? null,
  };
})();
