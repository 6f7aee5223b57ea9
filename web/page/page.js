// Tortuval's page: the examples, the two panes, the check and the run, over the converter and the
// runtime compiled to WebAssembly (tortuval-module.js, loaded after this script). Everything the
// desktop computes is computed there; this script only shows it and passes the user's actions on.
"use strict";

var Module = {};  // filled by tortuval-module.js

(function () {
  const $ = (id) => document.getElementById(id);
  const checkLine = $("check-line");
  const findingsBox = $("findings");

  // ---- The module's functions, the one place the page calls them from. Each is called through
  // Module.callNow, so that a call made while a run waits gets its value (calls_while_waiting.js).
  // The shapes they return are declared in web/page_bindings.h:
  //   runView()        -> RunView {phase, panelShown, state, error, logoLine, algorithmLine,
  //                       algorithmText, logoText, question, answerLive, continueLive, stepLive,
  //                       stopLive, restartLive, speed, variablesShown, variablesVersion,
  //                       drawingShown, drawingVersion, transcriptWaiting}
  //   runAction(action, text, number) -> ActionOutcome {resume, start, stepping}
  //   runVariables()   -> [ShownVariable {name, value, local, changed, note}]
  //   runTranscript()  -> TranscriptUpdate {clearFirst, pieces: [TranscriptPiece {text, typed}]}
  //   runDrawingSvg(width, height) -> the drawing's SVG text, "" when none
  //   findings()       -> [PageFinding {line, column, algorithmLine, message, description}]
  //   incomingBuffer(size) -> a Uint8Array over the module's memory, for the bytes that
  //                       openFile and editProgram take: see giveBytes
  //   openFile(name)   -> OpenOutcome {refused, message}
  //   runSpeeds()      -> [PageRunSpeed {name, delayMs}]
  //   exampleCaptions(), listing(), summary(), saveName() -> strings
  //   vocabulary()     -> the dialect's words, for the program pane's colours
  //   pythonProgram()  -> {text, findings: [{line, pythonLine, message}]}: the document's
  //                       algorithm in Python
  //   linesToReview(), shownExample(), checkDelayMs(), keptOutputBytes() -> numbers
  //   programBytes() -> Uint8Array
  //   openExample(index), editProgram()
  const api = {};
  for (const name of ["runView", "runAction", "runVariables", "runTranscript", "runDrawingSvg",
                      "findings", "incomingBuffer", "openFile", "runSpeeds", "exampleCaptions", "listing",
                      "vocabulary", "pythonProgram", "summary", "saveName", "linesToReview", "shownExample",
                      "programBytes", "openExample", "editProgram", "checkDelayMs",
                      "keptOutputBytes"]) {
    api[name] = (...args) => Module.callNow(() => Module[name](...args));
  }

  // ---- Small helpers.

  // Hands bytes to the module for the next openFile or editProgram: written straight into its
  // memory, at once (the view is good only until the module allocates again).
  function giveBytes(bytes) { api.incomingBuffer(bytes.length).set(bytes); }

  function paneText(text) { return text.replace(/\r\n?/g, "\n"); }

  // The program's text, from its saved bytes: the browser's own decoder is much quicker than
  // handing a long string over from the module.
  const cp1252 = new TextDecoder("windows-1252");
  const utf8 = new TextEncoder();
  function programText() { return paneText(cp1252.decode(api.programBytes())); }

  // The code panes (editor.js): the listing to read, the program to read and edit, and the
  // algorithm in Python, shown instead of the program when chosen above it.
  let listing = null;
  let program = null;
  let python = null;
  let pythonShown = false;

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
  let checkDelayMs = 0;  // the session's pause in the typing before an edit is checked again

  // The check of what the program pane shows: from the page's session when a program is opened,
  // from the checker's worker after an edit (checker.js), so that typing never waits for it.
  function showCheck(summary = api.summary(), findings = api.findings()) {
    program.mark({ findings: findings.map((finding) => ({ line: finding.line,
                                                          message: finding.description })),
                   chosen: 0 });
    if (pythonShown) return;  // the check line speaks of the Python program then
    checkLine.textContent = summary;
    checkLine.title = "";
    findingsBox.textContent = "";
    listing.mark({ chosen: 0 });
    for (const finding of findings) {
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
        listing.mark({ chosen: finding.algorithmLine }, finding.algorithmLine);
        program.mark({ chosen: finding.line }, finding.line);
      };
      findingsBox.appendChild(button);
    }
  }

  function showSession() {
    listing.setText(paneText(api.listing()));
    program.setText(programText());
    checker.shown(program.text());
    run.shownLine = 0;  // the panes' marks went with their texts
    edited = sessionBehind = false;
    showCheck();
    if (pythonShown) showPython();
    checkShownExample();
  }

  // ---- The algorithm in Python, instead of the LOGO program: written from the document (the
  // LOGO program's edits do not change it); its lines left to complete are its findings.

  function chooseLanguage(toPython) {
    pythonShown = toPython;
    $("program").hidden = toPython;
    $("python").hidden = !toPython;
    $("logo-heading").textContent = toPython ? "Programme Python." : "Programme LOGO.";
    $("save").textContent = toPython ? "Enregistrer le programme Python."
                                     : "Enregistrer le programme LOGO.";
    if (toPython) showPython(); else showCheck();
  }

  function showPython() {
    const written = api.pythonProgram();
    python.setText(written.text);
    findingsBox.textContent = "";
    listing.mark({ chosen: 0 });
    checkLine.title = "";
    if (!written.text) {
      checkLine.textContent =
        "Ce programme a été ouvert sans son document : il n'a pas de version Python.";
      return;
    }
    const count = written.findings.length;
    checkLine.textContent = "Programme Python : " + (count === 0 ? "aucune ligne à compléter."
      : count + (count === 1 ? " ligne" : " lignes") + " à compléter.");
    python.mark({ findings: written.findings.map((finding) => ({
      line: finding.pythonLine, message: finding.message })), chosen: 0 });
    for (const finding of written.findings) {
      const button = document.createElement("button");
      button.type = "button";
      button.className = "finding";
      button.dataset.line = finding.pythonLine;
      button.dataset.algorithmLine = finding.line;
      button.textContent = "ligne " + finding.line + " de l'algorithme : " + finding.message;
      button.title = button.textContent;
      button.onclick = () => {
        checkLine.textContent = button.textContent;
        listing.mark({ chosen: finding.line }, finding.line);
        python.mark({ chosen: finding.pythonLine }, finding.pythonLine);
      };
      findingsBox.appendChild(button);
    }
  }

  function savePython() {
    const name = api.saveName().replace(/\.lgo$/i, "") + ".py";
    download(name, utf8.encode(python.text()), "text/x-python");
  }

  // A user's edit: the run of the program before it ends, and the edit is checked once the typing
  // pauses.
  function programEdited(changes) {
    checker.edited(changes);
    edited = true;
    sessionBehind = true;
    if (run.active) act("programChanged");
    clearTimeout(recheckTimer);
    recheckTimer = setTimeout(recheck, checkDelayMs);
  }

  let checker = null;
  // The pane holds edits that the page's session has not been given yet: it is given them when
  // it needs them (a run, a save), not at each pause in the typing, which a long program would
  // hold up for a tenth of a second.
  let sessionBehind = false;

  function giveSessionTheEdits() {
    if (!sessionBehind) return;
    sessionBehind = false;
    giveBytes(utf8.encode(program.text()));
    api.editProgram();
  }

  function recheck() {
    clearTimeout(recheckTimer);
    recheckTimer = 0;
    checker.check((answer) => {
      if (answer) {
        showCheck(answer.summary, answer.findings);
      } else {  // no worker: the session checks
        giveSessionTheEdits();
        showCheck();
      }
    });
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
    giveSessionTheEdits();
    download(api.saveName(), api.programBytes(), "application/octet-stream");
    edited = false;
  }

  function checkShownExample() {
    for (const radio of document.querySelectorAll("input[name=example]")) {
      radio.checked = Number(radio.value) === api.shownExample();
    }
  }

  async function chooseExample(index) {
    // Kept edits keep the example they were made on checked, and stay edits.
    if (!(await keepOrDropEdits())) { checkShownExample(); return; }
    await endRun();
    api.openExample(index);
    showSession();
  }

  async function openBytes(name, bytes) {
    await endRun();
    // A long document takes a moment: the page says so before it starts.
    const before = checkLine.textContent;
    checkLine.textContent = "Conversion…";
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    giveBytes(bytes);
    const opened = api.openFile(name);
    if (opened.refused) checkLine.textContent = before;
    if (!opened.refused) showSession();
    return opened;
  }

  async function openFile(file) {
    if (!file || !(await keepOrDropEdits())) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    const opened = await openBytes(file.name, bytes);
    if (opened.message) await tell(opened.message);
  }

  // ---- The run.
  // What to show and what each action does is the run model's, in the module (web/page_run.cpp):
  // this part passes the user's actions on, resumes the run when the module says so, and draws
  // the model's view once a frame.

  const run = {
    active: null,         // the promise of the run going on
    resume: null,         // lets the waiting run go on
    drawnVariables: -1,   // the view's versions last drawn
    drawnDrawing: -1,
    drawingSize: null,
    lastSvg: "",
    frame: 0,
  };
  const state = $("run-state");
  const transcript = $("transcript");
  const answerField = $("answer");
  const question = $("question");
  const speed = $("speed");

  // What the module calls while it runs (web/page_run.cpp): waits and news.
  Module.pageRun = {
    // Waits until resumed, or `delayMs` when not negative.
    wait(delayMs) {
      return new Promise((resolve) => {
        run.resume = resolve;
        if (delayMs >= 0) setTimeout(() => { if (run.resume === resolve) goOn(); }, delayMs);
      });
    },
    // Gives the page its turn: a message to itself comes back faster than a timer.
    letPageRun() {
      return new Promise((resolve) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(0);
      });
    },
    changed() { if (!run.frame) run.frame = requestAnimationFrame(drawRun); },
  };

  function goOn() {
    const resume = run.resume;
    run.resume = null;
    if (resume) resume();
  }

  // A user's action on the run, as the model takes it; the model's orders are carried out.
  async function act(action, text, number) {
    const outcome = api.runAction(action, text || "", number || 0);
    if (outcome.resume) goOn();
    if (outcome.start) {
      if (run.active) await run.active;
      startRun(outcome.stepping);
    }
    drawRun();
  }

  // Ends the run going on, if any, and waits for its end: it belongs to the program it started
  // with, and another one is about to be shown.
  async function endRun() {
    await act("programChanged");
    if (run.active) await run.active;
  }

  // "Lancer" or "Pas à pas" from the menu.
  function launch(stepping) { return act(stepping ? "launchStepping" : "launch"); }

  function startRun(stepping) {
    if (recheckTimer) recheck();
    giveSessionTheEdits();  // the program shown, as typed
    document.body.classList.add("running");
    $("run-panel").hidden = false;
    run.drawingSize = null;
    run.drawnDrawing = -1;
    // The run stops itself before the browser's stack ends; should the browser stop it all the
    // same, its end is told, and the stack it left is taken back.
    const stack = Module.stackSave();
    let active;
    try {
      active = Promise.resolve(Module.ccall("page_run", null, ["number"], [stepping ? 1 : 0],
                                            { async: true }));
    } catch (error) {
      active = Promise.reject(error);
    }
    run.active = active.catch((error) => {
      Module.stackRestore(stack);
      setState("Erreur : le navigateur a arrêté le programme (" + error.message +
               ") ; rechargez la page avant de le relancer.", true);
    }).then(() => {
      run.active = null;
      drawRun();
    });
  }

  function setState(text, error) {
    state.textContent = text;
    state.classList.toggle("error", !!error);
  }

  // The model's view, drawn.
  function drawRun() {
    if (run.frame) cancelAnimationFrame(run.frame);
    run.frame = 0;
    const view = api.runView();
    if (!view.panelShown) {
      if (run.shownLine) {
        listing.mark({ current: 0 });
        program.mark({ current: 0 });
        run.shownLine = 0;
      }
      $("run-panel").hidden = true;
      document.body.classList.remove("running");
      return;
    }
    setState(view.state, view.error);
    $("current-algorithm").textContent = view.algorithmText;
    $("current-algorithm").hidden = !view.algorithmText;
    $("current-logo").textContent = view.logoText;
    $("current-lines").hidden = view.logoLine === 0;
    if (view.logoLine !== run.shownLine) {
      listing.mark({ current: view.algorithmLine }, view.algorithmLine);
      program.mark({ current: view.logoLine }, view.logoLine);
    }
    run.shownLine = view.logoLine;
    question.textContent = view.question;
    answerField.disabled = !view.answerLive;
    $("continue").disabled = !view.continueLive;
    $("step").disabled = !view.stepLive;
    $("stop").disabled = !view.stopLive;
    $("restart").disabled = !view.restartLive;
    speed.selectedIndex = view.speed;
    if (view.transcriptWaiting) drawTranscript(api.runTranscript());
    if (view.variablesVersion !== run.drawnVariables) {
      run.drawnVariables = view.variablesVersion;
      drawVariables(view.variablesShown ? api.runVariables() : null);
    }
    if (view.drawingVersion !== run.drawnDrawing) {
      run.drawnDrawing = view.drawingVersion;
      const size = drawingSize();
      drawDrawing(view.drawingShown ? api.runDrawingSvg(size[0], size[1]) : "");
    }
    // A question keeps the keyboard until it is answered.
    if (view.answerLive && document.activeElement !== answerField) answerField.focus();
  }

  // What the transcript keeps: the model's measure. It is laid out in blocks of whole lines, so
  // that new output lays out its own block only, blocks out of view are not drawn, and the
  // oldest go whole.
  let kKeptOutput = 0;
  const kBlockSize = 1 << 14;
  let shownOutput = 0;

  let blockLength = 0;      // of the last block
  let atLineStart = true;   // the transcript's last line is ended

  function appendToBlock(text, typed) {
    if (!text) return;
    let block = transcript.lastElementChild;
    if (!block) {
      block = document.createElement("div");
      transcript.appendChild(block);
      blockLength = 0;
    }
    const last = block.lastChild;
    if (!typed && last && last.nodeType === Node.TEXT_NODE) {
      last.appendData(text);
    } else {
      const node = typed ? document.createElement("span") : document.createTextNode(text);
      if (typed) { node.className = "typed"; node.textContent = text; }
      block.appendChild(node);
    }
    blockLength += text.length;
    shownOutput += text.length;
    atLineStart = text.endsWith("\n");
  }

  function appendToTranscript(text, typed) {
    while (text) {
      if (blockLength >= kBlockSize) {
        // A full block ends with its line; the next line starts a new block.
        if (!atLineStart) {
          const end = text.indexOf("\n");
          if (end < 0) { appendToBlock(text, typed); return; }
          appendToBlock(text.slice(0, end + 1), typed);
          text = text.slice(end + 1);
        }
        transcript.appendChild(document.createElement("div"));
        blockLength = 0;
        continue;
      }
      const room = kBlockSize - blockLength;
      if (text.length <= room) { appendToBlock(text, typed); return; }
      // The block takes the whole lines it has room for, or a longer line whole.
      let end = text.lastIndexOf("\n", room - 1);
      if (end < 0) end = text.indexOf("\n", room);
      if (end < 0) { appendToBlock(text, typed); return; }
      appendToBlock(text.slice(0, end + 1), typed);
      text = text.slice(end + 1);
      blockLength = kBlockSize;
    }
  }

  function drawTranscript(update) {
    if (update.clearFirst) {
      transcript.textContent = "";
      shownOutput = blockLength = 0;
      atLineStart = true;
    }
    for (const piece of update.pieces) appendToTranscript(piece.text, piece.typed);
    while (shownOutput > kKeptOutput + kBlockSize &&
           transcript.firstElementChild !== transcript.lastElementChild) {
      shownOutput -= transcript.firstElementChild.textContent.length;
      transcript.removeChild(transcript.firstElementChild);
    }
    transcript.scrollTop = transcript.scrollHeight;
  }

  function drawVariables(variables) {
    const table = $("variables");
    const body = table.tBodies[0];
    body.textContent = "";
    table.hidden = !variables;
    for (const variable of variables || []) {
      const row = body.insertRow();
      const name = row.insertCell();
      const value = row.insertCell();
      name.className = "name";
      value.className = "value";
      name.textContent = variable.name;
      name.title = variable.note;
      value.textContent = variable.value;
      // A long value is cut with "…"; a click shows it whole, another cuts it again.
      value.title = variable.value;
      value.onclick = () => value.classList.toggle("whole");
      if (variable.changed) value.classList.add("changed");
    }
  }

  // The size of the drawing's numbers in its own pixels (kNumberSize, drawing/frame.h): the
  // drawing spaces them for that size.
  const kDrawingNumberSize = 11;

  // The drawing's size in its own pixels, kept from the start of the run so that it does not
  // change under the eyes. It fills the room it has beside the output (4:3, as the desktop's),
  // scaled up so that its numbers come out at the text's size: it is made that much smaller.
  function drawingSize() {
    if (!run.drawingSize) {
      const body = document.querySelector(".run-body");
      const zoom = Math.max(1, parseFloat(getComputedStyle(body).fontSize) / kDrawingNumberSize);
      const width = Math.max(200, Math.min(1200, Math.round(body.clientWidth * 0.45)));
      const height = Math.max(150, Math.min(Math.round(width * 0.75), body.clientHeight - 4));
      run.drawingSize = [Math.round(Math.min(height / 0.75, width) / zoom),
                         Math.round(height / zoom)];
    }
    return run.drawingSize;
  }

  function drawDrawing(svg) {
    run.lastSvg = svg;
    const box = $("drawing");
    box.innerHTML = svg;
    box.hidden = !svg;
    $("save-svg").disabled = $("save-png").disabled = !svg;
    scaleDrawingNumbers();
  }

  // The drawing is scaled to its box: page.css sizes its numbers in its own pixels, through the
  // scale on screen and the scale on paper (printed 16 cm wide), to keep them at the text's size.
  function scaleDrawingNumbers() {
    const box = $("drawing");
    const svg = box.querySelector("svg");
    if (!svg || !svg.viewBox.baseVal || !svg.viewBox.baseVal.width) return;
    const view = svg.viewBox.baseVal;
    const scale = Math.min(svg.clientWidth / view.width, svg.clientHeight / view.height);
    if (scale > 0) box.style.setProperty("--drawing-scale", scale);
    box.style.setProperty("--drawing-print-scale", (16 / 2.54 * 96) / view.width);
  }

  // The drawing's file name: the program's, as saved, with the picture's extension.
  function drawingName(extension) {
    return api.saveName().replace(/\.lgo$/i, "") + extension;
  }

  // A picture of at least 800 × 600, whatever the size on screen.
  function saveDrawingPng() {
    const image = new Image();
    image.onload = () => {
      const width = image.width || 800;
      const height = image.height || 600;
      const scale = Math.max(1, 800 / width, 600 / height);
      const canvas = document.createElement("canvas");
      canvas.width = Math.round(width * scale);
      canvas.height = Math.round(height * scale);
      const context = canvas.getContext("2d");
      context.fillStyle = "#fff";
      context.fillRect(0, 0, canvas.width, canvas.height);
      context.drawImage(image, 0, 0, canvas.width, canvas.height);
      canvas.toBlob((blob) => download(drawingName(".png"), blob, "image/png"), "image/png");
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
    $("save").onclick = () => (pythonShown ? savePython() : saveProgram());
    for (const radio of document.querySelectorAll("input[name=language]")) {
      radio.onchange = () => chooseLanguage(radio.value === "python");
    }
    // The menu's buttons act on the pane last used, as the window's menu acts on the focused one.
    let lastPane = program;
    for (const pane of [listing, program]) pane.dom.addEventListener("focusin", () => { lastPane = pane; });
    $("copy").onclick = async () => {
      const text = lastPane.selectedText();
      try {
        await navigator.clipboard.writeText(text);
      } catch (error) {
        // Pages opened from a folder may not reach the clipboard's interface: the pane copies.
        lastPane.focus();
        document.execCommand("copy");
      }
    };
    $("select-all").onclick = () => lastPane.selectAll();
    $("run").onclick = () => launch(false);
    $("run-step").onclick = () => launch(true);
    $("print").onclick = () => window.print();
    window.addEventListener("beforeprint", fillPrintCopies);
    new ResizeObserver(scaleDrawingNumbers).observe($("drawing"));
    $("about").onclick = () => showDialog($("about-box"));


    // A file dropped anywhere on the page opens as the file picker would open it.
    document.addEventListener("dragover", (event) => event.preventDefault());
    document.addEventListener("drop", (event) => {
      event.preventDefault();
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (file) openFile(file);
    });

    // Entrée answers, steps or ends a pause, as the model says; Échap stops the run.
    answerField.addEventListener("keydown", (event) => {
      if (event.key !== "Enter") return;
      event.preventDefault();
      const text = answerField.value;
      act("enter", text).then(() => { if (answerField.disabled) answerField.value = ""; });
    });
    $("continue").onclick = () => act("continue");
    $("step").onclick = () => act("step");
    $("restart").onclick = () => act("restart");
    $("stop").onclick = () => act("stop");
    $("close-run").onclick = () => act("close");
    speed.onchange = () => act("speed", "", speed.selectedIndex);
    $("save-svg").onclick = () => download(drawingName(".svg"), run.lastSvg, "image/svg+xml");
    $("save-png").onclick = saveDrawingPng;
    document.addEventListener("keydown", (event) => {
      if ($("run-panel").hidden || document.querySelector("dialog[open]")) return;
      if (event.key === "Escape") { event.preventDefault(); act("stop"); }
      if (event.key === "Enter" && event.target !== answerField &&
          !(event.target instanceof HTMLButtonElement) && !program.dom.contains(event.target)) {
        event.preventDefault();
        act("enter", answerField.value);
      }
    });
    window.addEventListener("beforeunload", (event) => {
      if (edited) event.preventDefault();
    });
  }

  // Printed panes are copies of the panes' texts, whole: a pane draws only what it shows.
  function fillPrintCopies() {
    const copyOf = (pane, numbered) => {
      let copy = pane.dom.closest(".pane").querySelector(".print-copy");
      if (!copy) {
        copy = document.createElement("pre");
        copy.className = "print-copy";
        pane.dom.closest(".pane").appendChild(copy);
      }
      copy.textContent = "";
      pane.text().split("\n").forEach((line, i) => {
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
    api.exampleCaptions().forEach((caption, index) => {
      const label = document.createElement("label");
      const radio = document.createElement("input");
      radio.type = "radio";
      radio.name = "example";
      radio.value = index;
      radio.onchange = () => chooseExample(index);
      label.appendChild(radio);
      // A long caption may go on the next line after a "_", as between words; whole on hover.
      label.title = caption;
      (" " + caption).split(/(?<=_)/).forEach((piece, i) => {
        if (i > 0) label.appendChild(document.createElement("wbr"));
        label.appendChild(document.createTextNode(piece));
      });
      box.appendChild(label);
    });
    for (const entry of api.runSpeeds()) speed.add(new Option(entry.name));
  }

  Module.onRuntimeInitialized = () => {
    checkDelayMs = api.checkDelayMs();
    kKeptOutput = api.keptOutputBytes();
    TortuvalEditor.setVocabulary(api.vocabulary());
    listing = TortuvalEditor.create($("listing"), { readOnly: true, label: "Programme Pseudal." });
    program = TortuvalEditor.create($("program"), {
      colour: "logo", findings: true, label: "Programme LOGO.", onEdit: programEdited });
    python = TortuvalEditor.create($("python"), {
      colour: "python", readOnly: true, findings: true, label: "Programme Python." });
    checker = TortuvalChecker.start(tortuvalModule);
    showExamples();
    wire();
    showCheck();
    window.tortuvalPage.readyAtMs = performance.now();
    document.body.dataset.ready = "yes";
  };

  function paneOf(id) { return { listing, program, python }[id]; }

  // For the browser tests and the measurement script.
  window.tortuvalPage = {
    get module() { return Module; },
    openBytes,
    // Runs the program shown; the promise gives the run's view once it has ended.
    async run(options) {
      await launch(!!(options && options.stepByStep));
      if (run.active) await run.active;
      return api.runView();
    },
    runView: () => api.runView(),
    // A pane's text, its marked lines ({current, chosen, findings}), and its line's text.
    paneText: (id) => paneOf(id).text(),
    paneMarks: (id) => paneOf(id).marks(),
    paneLine: (id, line) => paneOf(id).lineText(line),
    paneSelection: (id) => paneOf(id).selection(),
    convertTimed(name, bytes) {
      const start = performance.now();
      giveBytes(bytes);
      api.openFile(name);
      api.linesToReview();
      return performance.now() - start;
    },
  };
})();
