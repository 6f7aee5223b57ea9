// The page's code panes: a code editor component, bundled at build time into one classic
// script (editor.js beside the page) that defines `TortuvalEditor`. The page keeps its texts and
// its logic; a pane shows a text with its line numbers, the dialect's words coloured, the run's
// current line and the check's lines marked whatever has the focus, and the findings in the
// gutter. Large texts are drawn only where they are seen.

import { EditorState, RangeSetBuilder, StateEffect, StateField } from "@codemirror/state";
import {
  Decoration, EditorView, GutterMarker, drawSelection, gutter, highlightSpecialChars, keymap,
  lineNumbers,
} from "@codemirror/view";
import { HighlightStyle, StreamLanguage, syntaxHighlighting } from "@codemirror/language";
import { python } from "@codemirror/legacy-modes/mode/python";
import { defaultKeymap, history, historyKeymap } from "@codemirror/commands";
import { highlightSelectionMatches, search, searchKeymap } from "@codemirror/search";
import { tags } from "@lezer/highlight";

// ---- The dialect's words, coloured.

// The primitives come from the module (its vocabulary, set once it is ready); the words of a
// procedure's frame and of declarations are the reader's own.
const primitives = new Set();
const textWords = new Set();  // their list is text: ECRIS [ a // b ] prints "a // b"
const FRAME_WORDS = new Set(["pour", "fin"]);
const TYPE_WORDS = new Set(["nombre", "mot", "liste"]);

// A word runs to a space, a bracket or a parenthesis; two-word primitives ("TANT QUE") are
// coloured word by word, so both halves are looked up.
const WORD = /^[^\s[\]()"]+/;

const logoLanguage = StreamLanguage.define({
  name: "logo",
  startState: () => ({ afterFrameWord: false, afterTextWord: false, procedures: new Set() }),
  copyState: (state) => ({ ...state }),
  token(stream, state) {
    if (stream.sol()) state.afterFrameWord = state.afterTextWord = false;
    if (stream.eatSpace()) return null;
    const textFollows = state.afterTextWord;
    state.afterTextWord = false;
    if (textFollows && stream.peek() === "[") {
      stream.next();
      stream.match(/^[^\]]*\]?/);
      return "string";
    }
    if (stream.match("//")) {
      stream.skipToEnd();
      return "comment";
    }
    const next = stream.peek();
    if (next === "[" || next === "]") { stream.next(); return "squareBracket"; }
    if (next === "(" || next === ")") { stream.next(); return "paren"; }
    if (next === ":") {
      stream.next();
      stream.match(WORD);
      return "variableName";
    }
    if (next === "\"") {
      stream.next();
      stream.match(WORD);
      return "string";
    }
    if (stream.match(/^-?\d+(\.\d+)?(?=[\s[\]()]|$)/)) return "number";
    if (stream.match(/^(<=|>=|<>|[-+*/%^=<>])/)) return "operator";
    const word = stream.match(WORD);
    if (!word) { stream.next(); return null; }
    const key = word[0].toLowerCase();
    if (state.afterFrameWord) {
      state.afterFrameWord = false;
      state.procedures.add(key);
      return "procedureDefinition";
    }
    if (FRAME_WORDS.has(key)) {
      state.afterFrameWord = key === "pour";
      return "keyword";
    }
    if (textWords.has(key)) state.afterTextWord = true;
    if (primitives.has(key) || TYPE_WORDS.has(key) || key === "tant" || key === "que") {
      return "primitive";
    }
    if (state.procedures.has(key)) return "procedure";
    return null;
  },
  tokenTable: {
    procedureDefinition: tags.definition(tags.function(tags.variableName)),
    procedure: tags.function(tags.variableName),
    primitive: tags.standard(tags.name),
  },
  languageData: { commentTokens: { line: "//" } },
});

// The algorithm written in Python, coloured with the same colours by kind.
const pythonLanguage = StreamLanguage.define(python);

const logoColours = HighlightStyle.define([
  { tag: tags.comment, color: "#6a737d", fontStyle: "italic" },
  { tag: tags.keyword, color: "#7a1fa2", fontWeight: "bold" },
  { tag: tags.standard(tags.name), color: "#0b5cad" },
  { tag: [tags.definition(tags.function(tags.variableName)), tags.function(tags.variableName)],
    color: "#a8460b" },
  { tag: tags.variableName, color: "#116329" },
  { tag: tags.string, color: "#8a2d2d" },
  { tag: tags.number, color: "#005cc5" },
  { tag: [tags.squareBracket, tags.paren], color: "#555" },
]);

// ---- Marked lines: the run's current line, a finding chosen, and every finding's line.

const setMarks = StateEffect.define();

class FindingMarker extends GutterMarker {
  constructor(message) { super(); this.message = message; }
  eq(other) { return other.message === this.message; }
  toDOM() {
    const mark = document.createElement("span");
    mark.className = "cm-finding-mark";
    mark.textContent = "!";
    mark.title = this.message;
    return mark;
  }
}

// The marks as the page sets them: {current, chosen: line numbers (0: none), findings: [{line,
// message}]}. Kept as line numbers and made into decorations of the lines that exist.
const marksField = StateField.define({
  create: () => ({ current: 0, chosen: 0, findings: [] }),
  update(marks, transaction) {
    for (const effect of transaction.effects) {
      if (effect.is(setMarks)) marks = { ...marks, ...effect.value };
    }
    return marks;
  },
});

function lineDecorations(state) {
  const marks = state.field(marksField);
  const byLine = new Map();
  const add = (line, className) => {
    if (line < 1 || line > state.doc.lines) return;
    byLine.set(line, (byLine.get(line) || "") + " " + className);
  };
  for (const finding of marks.findings) add(finding.line, "cm-finding-line");
  add(marks.chosen, "cm-chosen-line");
  add(marks.current, "cm-current-run-line");
  const builder = new RangeSetBuilder();
  for (const line of [...byLine.keys()].sort((a, b) => a - b)) {
    builder.add(state.doc.line(line).from, state.doc.line(line).from,
                Decoration.line({ class: byLine.get(line).trim() }));
  }
  return builder.finish();
}

const markedLines = StateField.define({
  create: lineDecorations,
  update(decorations, transaction) {
    const marksChanged = transaction.effects.some((effect) => effect.is(setMarks));
    if (marksChanged) return lineDecorations(transaction.state);
    return transaction.docChanged ? decorations.map(transaction.changes) : decorations;
  },
  provide: (field) => EditorView.decorations.from(field),
});

function findingMarkers(state) {
  const builder = new RangeSetBuilder();
  const lines = new Map();
  for (const finding of state.field(marksField).findings) {
    if (finding.line >= 1 && finding.line <= state.doc.lines && !lines.has(finding.line)) {
      lines.set(finding.line, finding.message);
    }
  }
  for (const line of [...lines.keys()].sort((a, b) => a - b)) {
    builder.add(state.doc.line(line).from, state.doc.line(line).from,
                new FindingMarker(lines.get(line)));
  }
  return builder.finish();
}

const findingsGutter = gutter({
  class: "cm-findings-gutter",
  markers: (view) => findingMarkers(view.state),
});

// ---- A pane.

const paneTheme = EditorView.theme({
  "&": { height: "100%", backgroundColor: "#fff" },
  ".cm-scroller": { fontFamily: "inherit", lineHeight: "inherit" },
  ".cm-gutters": { backgroundColor: "#ececec", color: "#777", borderRight: "1px solid #d0d0d0" },
  ".cm-finding-line": { backgroundColor: "#fff3d6" },
  ".cm-chosen-line": { backgroundColor: "#ffd98a", outline: "1px solid #c08000" },
  ".cm-current-run-line": { backgroundColor: "#b9e0ff", outline: "1px solid #2a7ab8" },
  ".cm-findings-gutter": { width: "1.1em" },
  ".cm-finding-mark": { color: "#b06000", fontWeight: "bold", cursor: "help" },
});

class Pane {
  // options: {readOnly, colour ("logo": the dialect's words, or "python"), findings (a findings
  // gutter), label, onEdit(changes) after each change the user makes: [[from, to, inserted text], …], places in
  // the text before the change, the last first, so that they apply one after another}
  constructor(parent, options) {
    this.options = options;
    this.settingText = false;
    this.view = new EditorView({
      parent,
      state: this.newState(""),
    });
  }

  newState(text) {
    const options = this.options;
    const extensions = [
      lineNumbers(),
      highlightSpecialChars(),
      history(),
      drawSelection(),
      search({ top: true }),
      highlightSelectionMatches(),
      keymap.of([...searchKeymap, ...historyKeymap, ...defaultKeymap]),
      marksField,
      markedLines,
      paneTheme,
      EditorView.contentAttributes.of({ "aria-label": options.label, spellcheck: "false" }),
      EditorView.updateListener.of((update) => {
        if (!update.docChanged || this.settingText || !options.onEdit) return;
        const changes = [];
        update.changes.iterChanges((from, to, _fromB, _toB, inserted) => {
          changes.push([from, to, inserted.toString()]);
        });
        options.onEdit(changes.reverse());
      }),
    ];
    if (options.findings) extensions.splice(1, 0, findingsGutter);
    if (options.colour) {
      const language = options.colour === "python" ? pythonLanguage : logoLanguage;
      extensions.push(language, syntaxHighlighting(logoColours));
    }
    if (options.readOnly) extensions.push(EditorState.readOnly.of(true));
    return EditorState.create({ doc: text, extensions });
  }

  // A new text: its own history and marks, scrolled to the top.
  setText(text) {
    this.settingText = true;
    try {
      this.view.setState(this.newState(text));
    } finally {
      this.settingText = false;
    }
    // A new state keeps the old one's scroll: a new text starts at its top.
    this.view.scrollDOM.scrollTop = 0;
    this.view.scrollDOM.scrollLeft = 0;
  }

  text() { return this.view.state.doc.toString(); }

  lineText(line) {
    const doc = this.view.state.doc;
    return line >= 1 && line <= doc.lines ? doc.line(line).text : "";
  }

  // marks: any of {current, chosen, findings}; a line is brought into view if `show` names it.
  mark(marks, show = 0) {
    const effects = [setMarks.of(marks)];
    const doc = this.view.state.doc;
    if (show >= 1 && show <= doc.lines) {
      // Across, to the line's first word (converted programs are indented deep), kept in the
      // pane's first third: two thirds for the line, and the less indented lines around it in
      // view as far as can be.
      const line = doc.line(show);
      const indent = /^\s*/.exec(line.text)[0].length;
      const third = Math.floor(this.view.scrollDOM.clientWidth / 3);
      effects.push(EditorView.scrollIntoView(line.from + indent, {
        y: "nearest", yMargin: 60, x: "start", xMargin: third }));
    }
    this.view.dispatch({ effects });
  }

  marks() { return this.view.state.field(marksField); }

  selectedText() {
    const { from, to } = this.view.state.selection.main;
    return this.view.state.sliceDoc(from, to);
  }

  // The selection's line (of its start) and text.
  selection() {
    const { from, to } = this.view.state.selection.main;
    return [this.view.state.doc.lineAt(from).number, this.view.state.sliceDoc(from, to)];
  }

  selectAll() {
    this.view.focus();
    this.view.dispatch({ selection: { anchor: 0, head: this.view.state.doc.length } });
  }

  focus() { this.view.focus(); }

  get dom() { return this.view.dom; }
}

window.TortuvalEditor = {
  create: (parent, options) => new Pane(parent, options),
  // The module's vocabulary(): {words, textWords}.
  setVocabulary(vocabulary) {
    for (const word of vocabulary.words) primitives.add(word.toLowerCase());
    for (const word of vocabulary.textWords) textWords.add(word.toLowerCase());
  },
};
