// Tortuval's page: the examples, the two panes, the check and the run, over the converter and the
// runtime compiled to WebAssembly (tortuval-module.js, loaded after this script). Everything the
// desktop computes is computed there; this script only shows it and passes the user's actions on.
"use strict";

var Module = {};  // filled by tortuval-module.js

(function () {
  const $ = (id) => document.getElementById(id);
  const listing = $("listing");
  const program = $("program");
  const programLines = $("program-lines");
  const checkLine = $("check-line");
  const findingsBox = $("findings");

  // ---- Small helpers.

  function lineRange(text, line) {
    let start = 0;
    for (let n = 1; n < line; ++n) {
      const next = text.indexOf("\n", start);
      if (next < 0) return null;
      start = next + 1;
    }
    let end = text.indexOf("\n", start);
    if (end < 0) end = text.length;
    return [start, end];
  }

  function selectLine(area, line) {
    const range = line > 0 ? lineRange(area.value, line) : null;
    if (!range) return;
    area.focus();
    area.setSelectionRange(range[0], range[1]);
    // Brings the line into view: the pane scrolls by whole lines.
    const lineHeight = parseFloat(getComputedStyle(area).lineHeight) || 16;
    const wanted = (line - 1) * lineHeight;
    if (wanted < area.scrollTop || wanted > area.scrollTop + area.clientHeight - lineHeight) {
      area.scrollTop = Math.max(0, wanted - area.clientHeight / 3);
    }
  }

  function paneText(text) { return text.replace(/\r\n?/g, "\n"); }

  function download(name, bytes, type) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([bytes], { type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  // The page's dialogs answer through promises: nothing blocks the page.
  function showDialog(dialog) {
    return new Promise((resolve) => {
      const close = (value) => () => { dialog.close(); resolve(value); };
      for (const button of dialog.querySelectorAll("button")) button.onclick = close(button.id);
      dialog.oncancel = (event) => { event.preventDefault(); close("cancel")(); };
      dialog.showModal();
    });
  }

  function tell(message) {
    $("message-text").textContent = message;
    return showDialog($("message-box"));
  }

  // ---- The panes and the check.

  let edited = false;
  let recheckTimer = 0;

  function numberLines() {
    const count = program.value.split("\n").length;
    let numbers = "";
    for (let n = 1; n <= count; ++n) numbers += n + "\n";
    programLines.textContent = numbers;
    programLines.scrollTop = program.scrollTop;
  }

  function showCheck() {
    checkLine.textContent = Module.summary();
    findingsBox.textContent = "";
    for (const finding of Module.findings()) {
      const button = document.createElement("button");
      button.type = "button";
      button.className = "finding";
      button.dataset.line = finding.line;
      button.dataset.algorithmLine = finding.algorithmLine;
      button.textContent = finding.description;
      button.title = finding.description;
      button.onclick = () => {
        checkLine.textContent = "ligne " + finding.line + " : " + finding.message;
        checkLine.title = checkLine.textContent;
        if (finding.algorithmLine > 0) selectLine(listing, finding.algorithmLine);
        selectLine(program, finding.line);
      };
      findingsBox.appendChild(button);
    }
  }

  function showSession() {
    listing.value = paneText(Module.listing());
    program.value = paneText(Module.program());
    listing.scrollTop = program.scrollTop = 0;
    edited = false;
    numberLines();
    showCheck();
    checkShownExample();
  }

  function recheck() {
    clearTimeout(recheckTimer);
    recheckTimer = 0;
    Module.editProgram(program.value);
    showCheck();
  }

  // Hand edits are kept unless the user says otherwise: true when the page may go on.
  async function keepOrDropEdits() {
    if (!edited) return true;
    const choice = await showDialog($("edits-box"));
    if (choice === "edits-save") { saveProgram(); return true; }
    return choice === "edits-discard";
  }

  function saveProgram() {
    if (recheckTimer) recheck();
    download(Module.saveName(), Module.programBytes(), "application/octet-stream");
    edited = false;
  }

  function checkShownExample() {
    for (const radio of document.querySelectorAll("input[name=example]")) {
      radio.checked = Number(radio.value) === Module.shownExample();
    }
  }

  async function chooseExample(index) {
    // Kept edits keep the example they were made on checked, and stay edits.
    if (!(await keepOrDropEdits())) { checkShownExample(); return; }
    Module.openExample(index);
    showSession();
  }

  function openBytes(name, bytes) {
    const opened = Module.openFile(name, bytes);
    if (!opened.refused) showSession();
    return opened;
  }

  async function openFile(file) {
    if (!file || !(await keepOrDropEdits())) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    const opened = openBytes(file.name, bytes);
    if (opened.message) await tell(opened.message);
  }

  // ---- The run.

  const run = {
    active: null,        // the promise of the run going on
    stop: false,
    stepping: false,
    delayMs: 0,
    resume: null,        // lets the run go on from a wait
    answer: null,        // gives the answer that a read waits for
    shownVariables: [],
    lastSvg: "",
  };
  const state = $("run-state");
  const transcript = $("transcript");
  const answerField = $("answer");
  const question = $("question");
  const speed = $("speed");

  function setState(text, error) {
    state.textContent = text;
    state.classList.toggle("error", !!error);
  }

  // The strip over the output, and the two lines selected in the panes.
  function showCurrentLines(where) {
    $("current-algorithm").textContent = where.algorithmText;
    $("current-algorithm").hidden = !where.algorithmText;
    $("current-logo").textContent = where.logoText;
    $("current-lines").hidden = !where.logoText;
    if (where.algorithmLine > 0) selectLine(listing, where.algorithmLine);
    selectLine(program, where.line);
  }

  function showVariables(variables) {
    const table = $("variables");
    const body = table.tBodies[0];
    body.textContent = "";
    variables.forEach((variable, i) => {
      const before = run.shownVariables[i];
      const row = body.insertRow();
      const name = row.insertCell();
      const value = row.insertCell();
      name.className = "name";
      value.className = "value";
      name.textContent = variable.name + (variable.local ? " (locale)" : "");
      if (variable.local) name.title = "locale à la procédure en cours";
      value.textContent = variable.value;
      if (before && before.name === variable.name && before.value !== variable.value) {
        value.classList.add("changed");
      }
    });
    table.hidden = variables.length === 0 && run.shownVariables.length === 0;
    run.shownVariables = variables;
  }

  // The drawing's size in pixels: the room it has beside the output (4:3, as the desktop's),
  // kept from the start of the run so that it does not change under the eyes.
  function drawingSize() {
    if (!run.drawingSize) {
      const body = document.querySelector(".run-body");
      const width = Math.max(320, Math.min(1200, Math.round(body.clientWidth * 0.45)));
      const height = Math.max(240, Math.min(Math.round(width * 0.75), body.clientHeight - 4));
      run.drawingSize = [Math.round(height / 0.75) < width ? Math.round(height / 0.75) : width, height];
    }
    return run.drawingSize;
  }

  function showDrawing(svg) {
    run.lastSvg = svg;
    const box = $("drawing");
    box.innerHTML = svg;
    box.hidden = false;
    $("save-svg").disabled = $("save-png").disabled = false;
  }

  // What the transcript keeps, as the desktop keeps its last lines: a program printing without
  // end must not slow the page down.
  const kMaxShownOutput = 1 << 20;
  let pendingOutput = "";
  let outputFrame = 0;

  // Output is shown once a frame, in one piece: laying the transcript out again for each of a
  // program's writes would cost more than the program itself.
  function showPendingOutput() {
    if (outputFrame) cancelAnimationFrame(outputFrame);
    outputFrame = 0;
    if (!pendingOutput) return;
    const text = pendingOutput.slice(-kMaxShownOutput);
    pendingOutput = "";
    transcript.appendChild(document.createTextNode(text));
    run.shownOutput = (run.shownOutput || 0) + text.length;
    while (run.shownOutput > kMaxShownOutput && transcript.firstChild !== transcript.lastChild) {
      run.shownOutput -= transcript.firstChild.textContent.length;
      transcript.removeChild(transcript.firstChild);
    }
    transcript.scrollTop = transcript.scrollHeight;
  }

  function appendOutput(text, typed) {
    if (!typed) {
      pendingOutput += text;
      if (!outputFrame) outputFrame = requestAnimationFrame(showPendingOutput);
      return;
    }
    showPendingOutput();
    const span = document.createElement("span");
    span.className = "typed";
    span.textContent = text;
    transcript.appendChild(span);
    run.shownOutput = (run.shownOutput || 0) + text.length;
    transcript.scrollTop = transcript.scrollHeight;
  }

  function clearOutput() {
    pendingOutput = "";
    showPendingOutput();
    transcript.textContent = "";
    run.shownOutput = 0;
  }

  function setWaiting(continueAllowed) {
    $("continue").disabled = !continueAllowed;
  }

  function goOn() {
    const resume = run.resume;
    run.resume = null;
    if (resume) resume();
  }

  // What the C++ side of the run calls (web/page_run.cpp).
  Module.pageRun = {
    output(text) { appendOutput(text, false); },
    clearText() { clearOutput(); },
    drawing(svg) { showDrawing(svg); },
    control() {
      const size = drawingSize();
      return { stop: run.stop, stepping: run.stepping, delayMs: run.delayMs,
               drawingWidth: size[0], drawingHeight: size[1] };
    },
    stopped(where, variables, waiting) {
      showCurrentLines(where);
      showVariables(variables);
      setState(waiting ? "Pas à pas : le programme s'arrête avant la ligne " + where.line + "."
                       : "Exécution au ralenti : ligne " + where.line + ".");
      setWaiting(waiting);
      if (waiting) $("continue").focus();
    },
    paused(where, variables) {
      showCurrentLines(where);
      if (run.stepping || run.delayMs > 0) showVariables(variables);
    },
    waitAtStop(waiting, delayMs) {
      if (run.stop) return Promise.resolve();
      return new Promise((resolve) => {
        run.resume = resolve;
        if (!waiting) setTimeout(() => { if (run.resume === resolve) goOn(); }, delayMs);
      });
    },
    waitForContinue() {
      if (run.stop) return Promise.resolve();
      setState("Pause : cliquez sur « Continuer » ou appuyez sur Entrée.");
      setWaiting(true);
      $("continue").focus();
      return new Promise((resolve) => { run.resume = resolve; });
    },
    waitForAnswer(prompt) {
      if (run.stop) return Promise.resolve(null);
      question.textContent = prompt.trim() ? prompt : "Réponse :";
      setState("Le programme attend une réponse.");
      answerField.disabled = false;
      answerField.focus();
      return new Promise((resolve) => { run.answer = resolve; });
    },
    // Gives the page its turn: a message to itself comes back faster than a timer.
    letPageRun() {
      return new Promise((resolve) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(0);
      });
    },
    ended(end) {
      run.lastEnd = end;
    },
  };

  function giveAnswer() {
    if (!run.answer || answerField.disabled) return;
    const text = answerField.value;
    const give = run.answer;
    run.answer = null;
    // The question and its answer join the output, on a line of their own.
    showPendingOutput();
    const shown = transcript.textContent;
    appendOutput((shown && !shown.endsWith("\n") ? "\n" : "") + question.textContent + " ", false);
    appendOutput(text + "\n", true);
    answerField.value = "";
    answerField.disabled = true;
    setState("Exécution en cours...");
    give(text);
  }

  function finish(end) {
    showPendingOutput();
    answerField.disabled = true;
    question.textContent = "Réponse :";
    $("stop").disabled = true;
    $("continue").disabled = true;
    $("restart").disabled = false;
    if (end.svg) showDrawing(end.svg);
    if (end.variables.length || run.shownVariables.length) showVariables(end.variables);
    $("current-lines").hidden = true;
    switch (end.outcome) {
      case "completed": setState("Programme terminé."); break;
      case "stopped": setState("Programme arrêté."); break;
      default:
        setState(end.where.line > 0 ? "Erreur à la ligne " + end.where.line + " : " + end.message
                                    : "Erreur : " + end.message, true);
        if (end.where.line > 0) showCurrentLines(end.where);
    }
  }

  async function stopRun() {
    if (!run.active) return;
    run.stop = true;
    if (run.answer) { const give = run.answer; run.answer = null; give(null); }
    goOn();
    await run.active;
  }

  async function startRun(stepByStep) {
    await stopRun();
    if (recheckTimer) recheck();
    const panel = $("run-panel");
    panel.hidden = false;
    document.body.classList.add("running");
    clearOutput();
    $("drawing").hidden = true;
    $("drawing").textContent = "";
    $("save-svg").disabled = $("save-png").disabled = true;
    run.shownVariables = [];
    $("variables").hidden = true;
    $("variables").tBodies[0].textContent = "";
    $("current-lines").hidden = true;
    run.stop = false;
    run.drawingSize = null;
    run.stepping = stepByStep;
    run.delayMs = speedDelay();
    run.lastEnd = null;
    setState("Exécution en cours...", false);
    $("stop").disabled = false;
    $("restart").disabled = true;
    // The run stops itself before the browser's stack ends; should the browser stop it all the
    // same, its end is told, and the stack it left is taken back.
    const stack = Module.stackSave();
    const failed = (error) => {
      Module.stackRestore(stack);
      return { outcome: "error", where: { line: 0 }, variables: [],
               message: "le navigateur a arrêté le programme (" + error.message +
                        ") ; rechargez la page avant de le relancer." };
    };
    let active;
    try {
      active = Promise.resolve(Module.ccall("page_run", null, [], [], { async: true }));
    } catch (error) {
      active = Promise.reject(error);
    }
    run.active = active.then(() => run.lastEnd, failed).then((end) => {
      run.active = null;
      if (end) finish(end);
      return end;
    });
    return run.active;
  }

  function speedDelay() {
    return Module.runSpeeds()[speed.selectedIndex].delayMs;
  }

  function continueRun() {
    if ($("continue").disabled) return;
    $("continue").disabled = true;
    run.stepping = false;
    setState("Exécution en cours...");
    if (run.delayMs === 0) $("current-lines").hidden = true;
    goOn();
  }

  function stepRun() {
    if (!run.active) { startRun(true); return; }
    run.stepping = true;
    $("continue").disabled = true;
    goOn();
  }

  function saveDrawingPng() {
    const image = new Image();
    image.onload = () => {
      const canvas = document.createElement("canvas");
      canvas.width = image.width || 800;
      canvas.height = image.height || 600;
      const context = canvas.getContext("2d");
      context.fillStyle = "#fff";
      context.fillRect(0, 0, canvas.width, canvas.height);
      context.drawImage(image, 0, 0);
      canvas.toBlob((blob) => download("dessin.png", blob, "image/png"), "image/png");
    };
    image.src = "data:image/svg+xml;charset=utf-8," + encodeURIComponent(run.lastSvg);
  }

  // ---- Wiring.

  function wire() {
    $("open").onclick = () => $("file-input").click();
    $("file-input").onchange = (event) => {
      openFile(event.target.files[0]);
      event.target.value = "";
    };
    $("save").onclick = saveProgram;
    // The menu's buttons act on the pane last used, as the window's menu acts on the focused one.
    let lastPane = program;
    for (const pane of [listing, program]) pane.addEventListener("focus", () => { lastPane = pane; });
    $("copy").onclick = async () => {
      const text = lastPane.value.substring(lastPane.selectionStart, lastPane.selectionEnd);
      try {
        await navigator.clipboard.writeText(text);
      } catch (error) {
        // Pages opened from a folder may not reach the clipboard's interface: the pane copies.
        lastPane.focus();
        document.execCommand("copy");
      }
    };
    $("select-all").onclick = () => {
      lastPane.focus();
      lastPane.select();
    };
    $("run").onclick = () => startRun(false);
    $("run-step").onclick = () => startRun(true);
    $("print").onclick = () => window.print();
    window.addEventListener("beforeprint", fillPrintCopies);
    $("about").onclick = () => showDialog($("about-box"));

    program.addEventListener("input", () => {
      edited = true;
      numberLines();
      clearTimeout(recheckTimer);
      recheckTimer = setTimeout(recheck, 400);
    });
    program.addEventListener("scroll", () => { programLines.scrollTop = program.scrollTop; });

    // A file dropped anywhere on the page opens as the file picker would open it.
    document.addEventListener("dragover", (event) => event.preventDefault());
    document.addEventListener("drop", (event) => {
      event.preventDefault();
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (file) openFile(file);
    });

    answerField.addEventListener("keydown", (event) => {
      if (event.key === "Enter") { event.preventDefault(); giveAnswer(); }
    });
    $("continue").onclick = continueRun;
    $("step").onclick = stepRun;
    $("restart").onclick = () => startRun(false);
    $("stop").onclick = stopRun;
    $("close-run").onclick = async () => {
      await stopRun();
      $("run-panel").hidden = true;
      document.body.classList.remove("running");
    };
    speed.onchange = () => {
      run.delayMs = speedDelay();
      if (!run.stepping) goOn();  // a slowed run takes its new pace at once; a step still waits
    };
    $("save-svg").onclick = () => download("dessin.svg", run.lastSvg, "image/svg+xml");
    $("save-png").onclick = saveDrawingPng;
    document.addEventListener("keydown", (event) => {
      if (!run.active || document.querySelector("dialog[open]")) return;
      if (event.key === "Escape") { event.preventDefault(); stopRun(); }
      if (event.key === "Enter" && !$("continue").disabled && event.target !== answerField) {
        event.preventDefault();
        continueRun();
      }
    });
    window.addEventListener("beforeunload", (event) => {
      if (edited) event.preventDefault();
    });
  }

  // Printed panes are copies of the text areas, whole: a text area prints only what it shows.
  function fillPrintCopies() {
    const copyOf = (area, numbered) => {
      let copy = area.closest(".pane").querySelector(".print-copy");
      if (!copy) {
        copy = document.createElement("pre");
        copy.className = "print-copy";
        area.closest(".pane").appendChild(copy);
      }
      copy.textContent = "";
      area.value.split("\n").forEach((line, i) => {
        if (numbered) {
          const number = document.createElement("span");
          number.className = "number";
          number.textContent = i + 1;
          copy.appendChild(number);
        }
        copy.appendChild(document.createTextNode(line + "\n"));
      });
    };
    copyOf(listing, false);
    copyOf(program, true);
  }

  function showExamples() {
    const box = $("examples");
    Module.exampleCaptions().forEach((caption, index) => {
      const label = document.createElement("label");
      const radio = document.createElement("input");
      radio.type = "radio";
      radio.name = "example";
      radio.value = index;
      radio.onchange = () => chooseExample(index);
      label.appendChild(radio);
      label.appendChild(document.createTextNode(" " + caption));
      box.appendChild(label);
    });
    for (const entry of Module.runSpeeds()) speed.add(new Option(entry.name));
  }

  Module.onRuntimeInitialized = () => {
    showExamples();
    wire();
    showCheck();
    numberLines();
    document.body.dataset.ready = "yes";
  };

  // For the browser tests and the measurement script.
  window.tortuvalPage = {
    get module() { return Module; },
    openBytes,
    run: (options) => startRun(!!(options && options.stepByStep)),
    convertTimed(name, bytes) {
      const start = performance.now();
      Module.openFile(name, bytes);
      Module.linesToReview();
      return performance.now() - start;
    },
  };
})();
