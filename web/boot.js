// What the first menu waits for starts at once, before xterm.js and the
// program's script are even read: the page's font is decoded and the
// program's WebAssembly compiled, side by side. Every instance of the
// program is made from that one compiled module. The parts the first menu
// does not need (the chart's d3, the panel and Rechenweg, the size chooser)
// wait as data blocks (gzipped, in base64: web/assemble.mjs) until it is on
// the screen; each part marks when it was made (performance marks
// "tavro-menu", "tavro-d3", "tavro-panel", "tavro-sizes", "tavro-engine"
// for the second instance). The program's first screen, as the build took
// it from the native program, is drawn as soon as xterm.js opens.
'use strict';
window.tavroBoot = (() => {
  const font = document.fonts.load('15px "JetBrains Mono"').catch(() => []);
  // A data block's bytes, unpacked, as a Response.
  const unpacked = async (block) => {
    const packed = await fetch(`data:application/gzip;base64,${block.textContent}`);
    return new Response(packed.body.pipeThrough(new DecompressionStream('gzip')),
                        { headers: { 'Content-Type': 'application/wasm' } });
  };
  const block = document.getElementById('tavro-wasm');
  const module = unpacked(block).then((response) => (WebAssembly.compileStreaming
    ? WebAssembly.compileStreaming(response)
    : response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes))));
  block.remove();
  const first = document.getElementById('tavro-first');
  const firstScreen = Uint8Array.from(atob(first.textContent), (c) => c.charCodeAt(0));
  first.remove();

  // The panel beside or below the terminal is laid out only from the frame
  // after the first menu's: its text in the system's font is the largest
  // part of the page's own first layout, which a slow phone otherwise pays
  // before the menu shows (the panel is held a screen high meanwhile).
  const showPanel = () => document.documentElement.classList.remove('starting');

  // Keys typed while the page is still being made, before the terminal
  // opens, are kept in order for the first run (page.js): characters,
  // Enter, Backspace, Tab and Esc as the terminal sends them. Keys for a
  // control that has the focus, and those with Ctrl, Alt or Meta, are the
  // browser's.
  const early = [];
  const named = { Enter: '\r', Backspace: '\x7f', Tab: '\t', Escape: '\x1b' };
  const keepEarly = (event) => {
    const free = document.activeElement === null || document.activeElement === document.body;
    if (!free || event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    const data = [...event.key].length === 1 ? event.key : named[event.key];
    if (data === undefined) return;
    early.push(data);
    event.preventDefault();
  };
  window.addEventListener('keydown', keepEarly, true);

  // A page that cannot run says so where the notices go.
  const failed = (error) => {
    showPanel();
    window.removeEventListener('keydown', keepEarly, true);  // Tab reaches the buttons
    document.getElementById('notice').textContent =
      `TAVRO ließ sich in diesem Browser nicht starten: ${error?.message ?? error}`;
  };
  module.catch(failed);

  // The first screen is drawn (page.js), or 100 ms passed since xterm.js
  // had it (a hidden page draws no frame): only then is an instance made,
  // whose start would otherwise come before the frame that shows it.
  let drawn = null;
  const firstDrawn = new Promise((resolve) => { drawn = resolve; });

  // Emscripten's hook for making an instance: the compiled module with the
  // runtime's imports.
  const instantiateWasm = (imports, receive) => {
    Promise.all([module, firstDrawn]).then(([compiled]) => WebAssembly.instantiate(compiled, imports)
      .then((instance) => receive(instance, compiled)))
      .catch(failed);
    return {};
  };

  // Runs the later parts, once, after the frame that shows the first menu;
  // resolves when they are all made.
  // The later parts stand at the end of the document: a call before it is
  // all read would find none of them and make nothing.
  const read = new Promise((resolve) => {
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', resolve);
    else resolve();
  });
  let later = null;
  const runLater = () => {
    later ??= read.then(() => new Promise((resolve) => { setTimeout(resolve, 0); })).then(async () => {
      const parts = [...document.querySelectorAll('script.tavro-later')];
      const texts = await Promise.all(parts.map((part) => unpacked(part).then((r) => r.text())));
      parts.forEach((part, k) => {
        const script = document.createElement('script');
        script.textContent = texts[k];
        part.replaceWith(script);
        performance.mark(`tavro-${part.dataset.part}`);
      });
    });
    return later;
  };

  // Resolves once the program waits at its first menu (runs.js says when).
  let menuIsUp = null;
  const menuShown = new Promise((resolve) => { menuIsUp = resolve; });
  // The first menu on the screen: drawn from the first screen, or by the
  // program where that was not drawn.
  const markMenu = () => {
    if (performance.getEntriesByName('tavro-menu').length > 0) return;
    performance.mark('tavro-menu');
    requestAnimationFrame(showPanel);
  };

  return {
    // Resolves once the page's font is ready to draw with.
    font,
    // Resolves to the program's compiled WebAssembly module.
    module,
    // Give as `instantiateWasm` to createTavro.
    instantiateWasm,
    // The keys typed before the terminal opened, as one string; from now
    // on the terminal takes them.
    earlyKeys: () => {
      window.removeEventListener('keydown', keepEarly, true);
      return early.splice(0).join('');
    },
    // Says in the top bar that the page cannot run.
    failed,
    runLater,
    menuShown,
    // The program's banner and menu, as it writes them before its first wait.
    firstScreen,
    // xterm.js has the first screen: the next frame shows it (performance
    // mark "tavro-menu"), and the first instance is made after that frame.
    firstWritten: () => {
      requestAnimationFrame(() => {
        markMenu();
        setTimeout(drawn, 0);
      });
      setTimeout(drawn, 100);
    },
    // The program waits at its first menu, which is on the screen.
    menuIsUp: () => {
      markMenu();
      menuIsUp();
    },
  };
})();
