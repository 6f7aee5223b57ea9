// Checks the program pane's edits off the page's thread: a worker runs its own copy of the module
// (tortuval-module.js wraps it in one function, whose text the worker is made from) and answers
// each program with the check's summary and findings. A long program takes a second or more to
// check, and typing must not wait for it. Where a browser refuses the worker, the page checks on
// its own thread, as before.
"use strict";

var TortuvalChecker = (function () {
  // The worker's side: `Module` is its module, not yet loaded when this runs.
  function workerMain(Module) {
    const waiting = [];
    let ready = false;
    function answer(request) {
      Module.editProgram(request.bytes);
      postMessage({ id: request.id, summary: Module.summary(), findings: Module.findings() });
    }
    Module.onRuntimeInitialized = () => {
      ready = true;
      // Only the last program asked for is still worth checking.
      if (waiting.length) answer(waiting[waiting.length - 1]);
      waiting.length = 0;
    };
    onmessage = (event) => {
      if (ready) answer(event.data); else waiting.push(event.data);
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
    if (worker) {
      worker.onmessage = (event) => {
        // An answer to an older program, or to one since replaced by an opened one, is dropped.
        if (event.data.id === lastId && show) show(event.data.summary, event.data.findings);
      };
      // A worker that fails leaves the check to the page, starting with the program asked for.
      worker.onerror = () => {
        worker = null;
        if (show) show();
      };
    }
    return {
      // The program's UTF-8 bytes, as the page's session was just given them; `showCheck`
      // (summary, findings) is called with the answer.
      check(bytes, showCheck) {
        ++lastId;
        show = showCheck;
        if (!worker) { showCheck(); return; }  // the session's own check of the same program
        worker.postMessage({ id: lastId, bytes }, [bytes.buffer]);  // handed over, not copied
      },
      // A program shown since: any answer on its way is no longer about it.
      forget() { ++lastId; },
    };
  }

  return { start };
})();
