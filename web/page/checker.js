// Checks the program pane's edits off the page's thread: a worker runs its own copy of the module
// (tortuval-module.js wraps it in one function, whose text the worker is made from) and answers
// with the check's summary and findings. A long program takes a second or more to check, and
// typing must not wait for it; nor for the program's text to cross to the worker (20 to 40 ms
// for 17 MB): the worker keeps its own copy, given whole when a program is shown, then only the
// edits. Where a browser refuses the worker, the page checks on its own thread, as before.
"use strict";

var TortuvalChecker = (function () {
  // The worker's side: `Module` is its module, not yet loaded when this runs.
  function workerMain(Module) {
    const utf8 = new TextEncoder();
    let text = "";
    let ready = false;
    let asked = null;  // the last check asked for before the module was ready
    function answer(id) {
      const bytes = utf8.encode(text);
      Module.incomingBuffer(bytes.length).set(bytes);
      Module.editProgram();
      postMessage({ id, summary: Module.summary(), findings: Module.findings() });
    }
    Module.onRuntimeInitialized = () => {
      ready = true;
      if (asked !== null) answer(asked);
    };
    onmessage = (event) => {
      const message = event.data;
      if (message.text !== undefined) text = message.text;
      for (const changes of message.edits || []) {
        for (const [from, to, inserted] of changes) {
          text = text.slice(0, from) + inserted + text.slice(to);
        }
      }
      if (message.check === undefined) return;
      if (ready) answer(message.check); else asked = message.check;
    };
  }

  function start(moduleFunction) {
    let worker = null;
    try {
      const source = "var Module = {};\n(" + workerMain.toString() + ")(Module);\n(" +
                     moduleFunction.toString() + ")(Module);\n";
      worker = new Worker(URL.createObjectURL(new Blob([source], { type: "text/javascript" })));
    } catch (error) {
      worker = null;
    }
    let lastId = 0;
    let show = null;
    let edits = [];  // the pane's edits since the worker's copy was last brought up to date
    if (worker) {
      worker.onmessage = (event) => {
        // An answer to an older program, or to one since replaced by an opened one, is dropped.
        if (event.data.id === lastId && show) show(event.data);
      };
      // A worker that fails leaves the check to the page, starting with the program asked for.
      worker.onerror = () => {
        worker = null;
        if (show) show(null);
      };
    }
    return {
      // A program shown: the worker's copy. Any answer on its way is no longer about it.
      shown(text) {
        ++lastId;
        edits = [];
        if (worker) worker.postMessage({ text });
      },
      // An edit of the pane, as the pane tells it (editor.js).
      edited(changes) { if (worker) edits.push(changes); },
      // The check of the pane as it is now: `showAnswer` is called with {summary, findings}, or
      // with null when the page must check it itself.
      check(showAnswer) {
        ++lastId;
        show = showAnswer;
        if (!worker) { showAnswer(null); return; }
        worker.postMessage({ edits, check: lastId });
        edits = [];
      },
    };
  }

  return { start };
})();
