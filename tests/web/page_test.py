"""The page (build-web/index.html) driven in a browser engine, opened from file://: the panes,
files in and out, the check's findings and the run panel, against the examples and the native
command line. The same tests in each engine (browsers.py):

    /usr/bin/python3 page_test.py --engine chromium --page build-web/index.html \
        --cli build/cli/pseudal2logo
(or the environment's TORTUVAL_PAGE and TORTUVAL_CLI)."""

import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import browsers  # noqa: E402
from browsers import BACKSPACE, CONTROL, END, ENTER, ESCAPE, HOME, as_uint8_array_script  # noqa: E402

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = SOURCE_DIR / "examples"
PAGE = os.environ.get("TORTUVAL_PAGE", str(SOURCE_DIR / "build-web" / "index.html"))
CLI = os.environ.get("TORTUVAL_CLI", str(SOURCE_DIR / "build" / "cli" / "pseudal2logo"))
ENGINE = "chromium"

EUCLID = 7  # the radio of example 8
CURVE = 6   # the radio of example 7
RECURSIVE_GCD = 13  # the radio of example 14
# Example 16's program has two lines to review.
EXAMPLE_WITH_FINDINGS = 15


def pane_text(path):
    """A file of the examples (UTF-8 in the repository) as the panes show it."""
    return path.read_bytes().decode("utf-8").replace("\r\n", "\n")


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tortuval-page-")
        cls.downloads = pathlib.Path(cls.folder.name) / "downloads"
        cls.downloads.mkdir()
        cls.browser = browsers.start(ENGINE, download_dir=cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.folder.cleanup()

    def setUp(self):
        self.browser.open_page(PAGE)

    # ---- Helpers.

    def script(self, body, *arguments):
        return self.browser.script(body, *arguments)

    def click(self, element_id):
        self.browser.click(f"#{element_id}")

    def enabled(self, element_id):
        return not self.script("return document.getElementById(arguments[0]).disabled",
                               element_id)

    def displayed(self, element_id):
        return self.script("return document.getElementById(arguments[0]).checkVisibility()",
                           element_id)

    def opened(self, dialog_id):
        return self.script("return document.getElementById(arguments[0]).open", dialog_id)

    def pane(self, pane_id):
        """The text a code pane holds, "listing" or "program"."""
        return self.script("return tortuvalPage.paneText(arguments[0])", pane_id)

    def text(self, element_id):
        return self.script("return document.getElementById(arguments[0]).textContent",
                           element_id)

    def wait_for(self, condition, message):
        return self.browser.wait(condition, message)

    def wait_for_text(self, element_id, expected):
        try:
            self.wait_for(lambda: self.text(element_id) == expected, element_id)
        except Exception:
            self.assertEqual(self.text(element_id), expected)

    def click_example(self, radio_value):
        self.browser.click(f"input[name=example][value='{radio_value}']")

    def checked_example(self):
        return self.script("return document.querySelector('input[name=example]:checked')?.value")

    def choose_example(self, radio_value):
        self.click_example(radio_value)
        self.wait_for(lambda: self.checked_example() == str(radio_value), "the example's radio")

    def open_file(self, path):
        self.browser.set_files("#file-input", path)

    def write_file(self, name, data):
        path = pathlib.Path(self.folder.name) / name
        path.write_bytes(data)
        return path

    def drop_file(self, name, data):
        """A file dropped on the page, as the browser hands it over."""
        self.script(
            as_uint8_array_script("bytes", data)
            + "const transfer = new DataTransfer();"
              "transfer.items.add(new File([bytes], arguments[0]));"
              "document.getElementById('listing').dispatchEvent(new DragEvent('drop',"
              " {dataTransfer: transfer, bubbles: true, cancelable: true}));", name)

    def answer(self, text):
        self.wait_for(lambda: self.enabled("answer"), "the answer line")
        self.browser.keys("#answer", text, (ENTER,))

    def run_state(self):
        return self.text("run-state")

    def marked(self, pane_id, mark):
        """The line a pane draws marked, "current" (the run's) or "chosen" (a finding's),
        once it is drawn: the pane shows only the lines in view."""
        return self.wait_for(lambda: self.script(
            "const line = document.querySelector(`#${arguments[0]} .cm-${arguments[1]}-line`);"
            "return line && [line.textContent];", pane_id, {"current": "current-run",
                                                             "chosen": "chosen"}[mark]),
            f"the {mark} line of {pane_id}")[0]

    # ---- The panes and files.

    def test_example_shows_its_listing_and_program(self):
        self.choose_example(EUCLID)
        self.assertEqual(self.pane("program"), pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"))
        self.assertEqual(self.pane("listing"), pane_text(EXAMPLES / "08-prof_pgdc_Euclide.txt"))
        self.assertEqual(self.text("check-line"), "Programme vérifié : aucune remarque.")

    def test_files_opened_refused_and_saved(self):
        # A document: its program and listing, as the examples' files hold them. This one's
        # program has accented letters: the saved bytes tell Windows-1252 from UTF-8.
        document = EXAMPLES / "02-prof_tribulle.alg"
        self.open_file(document)
        expected_program = pane_text(EXAMPLES / "02-prof_tribulle.lgo")
        self.wait_for(lambda: self.pane("program") == expected_program, "the opened program")
        self.assertEqual(self.pane("listing"), pane_text(EXAMPLES / "02-prof_tribulle.txt"))

        # Saved: the bytes the command line writes for the same document.
        self.click("save")
        saved = self.downloads / "02-prof_tribulle.lgo"
        self.wait_for(saved.exists, f"the download {saved.name}, got {os.listdir(self.downloads)}")
        native = pathlib.Path(self.folder.name) / "native.lgo"
        subprocess.run([CLI, "--encoding", "cp1252", str(document), "-o", str(native)], check=True)
        self.wait_for(lambda: saved.read_bytes() == native.read_bytes(), "the saved bytes")

        # No document: the desktop's message, and the panes stay as they were.
        notes = self.write_file("notes.txt", "Bonjour,\nvoici mes notes.\n".encode("cp1252"))
        self.open_file(notes)
        self.wait_for(lambda: self.opened("message-box"), "the message box")
        self.assertEqual(self.text("message-text"),
                         "\"notes.txt\" ne contient aucune instruction Pseudal : ce n'est pas un "
                         "document de l'éditeur.")
        self.click("message-ok")
        self.assertEqual(self.pane("program"), expected_program)
        self.assertEqual(self.pane("listing"), pane_text(EXAMPLES / "02-prof_tribulle.txt"))

        # A document dropped on the page opens as a chosen one does.
        self.drop_file("euclide.alg", (EXAMPLES / "08-prof_pgdc_Euclide.alg").read_bytes())
        self.wait_for(lambda: self.pane("program")
                      == pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"), "the dropped document")

        # A program saved before opens as the program it is, with no listing, and is checked.
        logo = self.write_file("réponse.lgo", b"ECRIS 6 * 7\r\nECRIS :zz\r\n")
        self.open_file(logo)
        self.wait_for(lambda: self.pane("program") == "ECRIS 6 * 7\nECRIS :zz\n",
                      "the opened .lgo")
        self.assertEqual(self.pane("listing"), "")
        self.assertEqual(self.text("check-line"), "Programme vérifié : 1 ligne à revoir.")
        self.assertFalse(self.opened("message-box"))

    def test_a_long_document_opens_drawn_where_seen_and_stays_editable(self):
        # Euclid's algorithm written 6,000 times over: a 6 MB document, a 100,000-line program.
        euclid = (EXAMPLES / "08-prof_pgdc_Euclide.alg").read_bytes()
        start = euclid.index(b'<item algoitem="DEBUT_ALGORITHME"')
        body_start = euclid.index(b">", start) + 1
        body_end = euclid.index(b'<item algoitem="FIN_ALGORITHME"')
        body_end = euclid.rindex(b"</item>", body_start, body_end)
        document = self.write_file(
            "long.alg", euclid[:body_start] + euclid[body_start:body_end] * 6000 + euclid[body_end:])
        native = pathlib.Path(self.folder.name) / "long.lgo"
        subprocess.run([CLI, str(document), "-o", str(native)], check=True)
        expected = pane_text(native)
        self.assertGreater(expected.count("\n"), 100000)

        # The page says it converts before it starts, then shows the program, checked.
        self.script(
            "window.checkLines = [];"
            "const line = document.getElementById('check-line');"
            "new MutationObserver(() => checkLines.push(line.textContent))"
            ".observe(line, {childList: true, characterData: true, subtree: true});")
        self.open_file(document)
        self.wait_for(lambda: self.text("check-line") == "Programme vérifié : aucune remarque.",
                      "the long program checked")
        self.assertEqual(self.script("return checkLines")[0], "Conversion…")
        self.assertEqual(self.pane("program"), expected)
        # Only the lines in view are drawn.
        self.assertLess(self.script("return document.querySelectorAll('#program .cm-line')"
                                    ".length"), 300)

        # Typed at its end, a line is checked as in a short program.
        self.browser.keys("#program .cm-content", (CONTROL, END), "\nECRIS :inconnue")
        self.wait_for_text("check-line", "Programme vérifié : 1 ligne à revoir.")
        self.assertEqual(self.pane("program"), expected + "\nECRIS :inconnue")
        # Searched from the top, the word is found on that last line.
        self.browser.keys(None, (CONTROL, HOME), (CONTROL, "f"))
        self.wait_for(lambda: self.script(
            "return !!document.activeElement.closest('#program .cm-search')"), "the search field")
        self.browser.keys(None, "inconnue\n")
        last_line = self.pane("program").count("\n") + 1
        self.wait_for(lambda: self.script("return tortuvalPage.paneSelection('program')")
                      == [last_line, "inconnue"], "the word found")

    def test_the_algorithm_in_python_is_shown_saved_and_its_lines_to_complete_found(self):
        self.choose_example(EUCLID)
        self.browser.click("input[name=language][value='python']")
        native = subprocess.run([CLI, "--python", "--example", str(EUCLID + 1)],
                                capture_output=True, check=True).stdout
        self.wait_for(lambda: self.pane("python") == native.decode("utf-8"), "the Python program")
        # Coloured as Python: its keywords alike, its comments and texts apart.
        colours = {}
        for text, colour in self.script(
                "return [...document.querySelectorAll('#python .cm-line span')]"
                ".map((span) => [span.textContent, getComputedStyle(span).color]);"):
            colours.setdefault(text, set()).add(colour)
        self.assertEqual(colours["def"], colours["while"])
        self.assertEqual(len({*colours["def"], *colours['"Le PGCD de "'],
                              *colours["# PGCD de deux entiers positifs par la méthode d'Euclide"]}),
                         3, colours)
        self.assertEqual(self.text("logo-heading"), "Programme Python.")
        self.assertEqual(self.text("check-line"), "Programme Python : aucune ligne à compléter.")
        self.assertEqual(self.text("save"), "Enregistrer le programme Python.")
        # Saved as the command line writes it, under the program's name.
        self.click("save")
        saved = self.downloads / "prof_pgdc_Euclide.py"
        self.wait_for(lambda: saved.exists() and saved.read_bytes() == native,
                      f"the saved Python program, got {os.listdir(self.downloads)}")

        # A document with a function the editor does not have: its line is left to complete,
        # and found from the check line.
        self.open_program("calcul.alg", (
            '<Algo><item algoitem="DEBUT_ALGORITHME" code="101#debutalgo">'
            '<item algoitem="AFFICHER CALCUL" code="20#hypot(3,4)#1"/></item></Algo>'
        ).encode("cp1252"), first_line="# calcul.alg")
        self.wait_for_text("check-line", "Programme Python : 1 ligne à compléter.")
        self.browser.click("#findings button.finding")
        self.assertEqual(self.text("check-line"), "ligne 2 de l'algorithme : la fonction "
                                                  "« hypot » n'est pas encore écrite en Python")
        self.assertEqual(self.marked("python", "chosen"), "# À compléter : AFFICHER CALCUL")
        self.assertEqual(self.marked("listing", "chosen"), "AFFICHER CALCUL")

        # Back to LOGO: its program, its check.
        self.browser.click("input[name=language][value='logo']")
        self.wait_for_text("logo-heading", "Programme LOGO.")
        self.assertTrue(self.text("check-line").startswith("Programme vérifié"))
        self.assertTrue(self.displayed("program"))
        self.assertFalse(self.displayed("python"))

    def test_the_dialects_words_are_coloured_by_kind(self):
        self.open_program("couleurs.lgo",
                          b'POUR carre :n\r\nrends :n * :n\r\nFIN\r\n// un commentaire\r\n'
                          b'SOIT "x carre 3\r\nECRIS [ a // b ]\r\nECRIS :x\r\n')
        colours = {}
        for text, colour in self.script(
                "return [...document.querySelectorAll('#program .cm-line span')]"
                ".map((span) => [span.textContent, getComputedStyle(span).color]);"):
            colours.setdefault(text, set()).add(colour)
        colour = {text: found.pop() for text, found in colours.items() if len(found) == 1}
        kinds = {
            "frame": ["POUR", "FIN"],
            "primitive": ["rends", "SOIT", "ECRIS"],
            "procedure": ["carre"],  # where it is defined and where it is called
            "variable": [":n", ":x"],
            "word or text": ['"x', "[ a // b ]"],  # a printed list is text, "//" and all
            "number": ["3"],
            "comment": ["// un commentaire"],
        }
        kind_colours = {}
        for kind, words in kinds.items():
            self.assertEqual({colour.get(word) for word in words}, {colour[words[0]]},
                             (kind, colours))
            kind_colours[kind] = colour[words[0]]
        self.assertEqual(len(set(kind_colours.values())), len(kinds), kind_colours)

    def test_a_finding_clicked_selects_its_lines_in_both_panes(self):
        self.choose_example(EXAMPLE_WITH_FINDINGS)
        findings = self.script(
            "return [...document.querySelectorAll('#findings button.finding')]"
            ".map((finding) => [finding.dataset.line, finding.dataset.algorithmLine]);")
        self.assertEqual(len(findings), 2)
        # The command line gives each finding's algorithm line and LOGO line.
        check = subprocess.run([CLI, "--check", "--example", str(EXAMPLE_WITH_FINDINGS + 1)],
                               capture_output=True, text=True).stdout
        native = re.findall(
            r"^exemple-\d+:(\d+): (.*) \(programme LOGO, ligne (\d+), colonne \d+\)$",
            check, re.MULTILINE)
        self.assertEqual(len(native), 2, check)
        algorithm_line, message, logo_line = native[1]
        self.assertEqual(findings[1], [logo_line, algorithm_line])
        self.browser.click(f"#findings button.finding[data-line='{logo_line}']")
        self.assertEqual(self.text("check-line"), f"ligne {logo_line} : {message}")
        program_lines = self.pane("program").split("\n")
        listing_lines = self.pane("listing").split("\n")
        # Marked whatever has the focus: here the finding's button keeps it.
        self.assertEqual(self.marked("program", "chosen"), program_lines[int(logo_line) - 1])
        self.assertEqual(self.marked("listing", "chosen"), listing_lines[int(algorithm_line) - 1])
        self.assertTrue(self.marked("program", "chosen").strip())
        self.assertEqual(self.script("return document.activeElement.className"), "finding")
        # Every finding has its mark in the program's gutter, on its line.
        marks = self.script(
            "return [...document.querySelectorAll('#program .cm-finding-mark')].map((mark) =>"
            " mark.closest('.cm-gutterElement').getBoundingClientRect().top)")
        self.assertTrue(marks)
        self.assertEqual(marks, self.script(
            "return [...document.querySelectorAll('#program .cm-finding-line')].map((line) =>"
            " line.getBoundingClientRect().top)"))
        # Another long program shown starts at its top, whatever the last one showed.
        self.open_program("long.lgo", b"".join(b"ECRIS %d\r\n" % n for n in range(1, 400)))
        self.wait_for(lambda: self.script(
            "return [...document.querySelectorAll('#program .cm-scroller')].map((pane) =>"
            " [pane.scrollTop, pane.scrollLeft])") == [[0, 0]], "the program at its top")

    def test_typing_checks_again_and_edits_are_not_lost_without_a_question(self):
        self.choose_example(EUCLID)
        original = self.pane("program")
        self.browser.keys("#program .cm-content", (CONTROL, END), "\nECRIS :inconnue")
        self.wait_for_text("check-line", "Programme vérifié : 1 ligne à revoir.")
        # Undone, then typed again with a word deleted on the way: the check follows the pane
        # (its worker keeps a copy of the text, brought up to date by the edits).
        self.browser.keys(None, (CONTROL, "z"))
        self.wait_for(lambda: self.pane("program") == original, "the edit undone")
        self.wait_for_text("check-line", "Programme vérifié : aucune remarque.")
        self.browser.keys(None, "\nECRIS :inconnue :autre", (CONTROL, BACKSPACE))
        self.wait_for_text("check-line", "Programme vérifié : 1 ligne à revoir.")
        self.assertEqual(self.pane("program"), original + "\nECRIS :inconnue :")
        edited = self.pane("program")

        # Another example: the question comes first; "Annuler" keeps the edits.
        self.click_example(0)
        self.wait_for(lambda: self.opened("edits-box"), "the question about edits")
        self.click("edits-cancel")
        self.assertEqual(self.pane("program"), edited)
        self.assertEqual(self.checked_example(), str(EUCLID))

        # "Abandonner" lets the example replace them.
        self.click_example(0)
        self.wait_for(lambda: self.opened("edits-box"), "the question about edits")
        self.click("edits-discard")
        self.wait_for(lambda: self.pane("program")
                      == pane_text(EXAMPLES / "01-prof_dichotomie.lgo"), "the first example")

    # ---- The run panel.

    def test_euclid_refuses_a_word_then_finds_the_gcd(self):
        self.choose_example(EUCLID)
        self.click("run")
        self.wait_for(lambda: self.displayed("run-panel"), "the run panel")
        self.answer("douze")
        self.wait_for_text("question", "« douze » n'est pas un nombre : tapez un nombre.")
        self.answer("12")
        self.answer("18")
        self.wait_for_text("run-state", "Programme terminé.")
        transcript = self.text("transcript")
        self.assertTrue(transcript.startswith(
            "Tape un nombre. douze\n« douze » n'est pas un nombre : tapez un nombre. 12\n"
            "Tape un nombre. 18\n"), transcript)
        self.assertTrue(transcript.rstrip().endswith("Le PGCD de 12 et 18 est : 6"), transcript)
        self.assertFalse(self.enabled("answer"))
        self.assertFalse(self.enabled("stop"))

    def run_view(self):
        return self.script("return tortuvalPage.runView();")

    def step_view(self):
        """Waits for the stepped run to stop before a line, ask, or end: "stop", "ask", "end"."""
        phases = {"stepping": "stop", "asking": "ask", "ended": "end"}
        self.wait_for(lambda: self.run_view()["phase"] in phases, "a stop, a question or the end")
        # The panel draws the model's view once a frame: the test reads it once drawn.
        view = self.run_view()
        self.wait_for(lambda: self.run_state() == view["state"], "the view drawn")
        return phases[view["phase"]]

    def take_step(self, by_enter=False):
        """One step, by "Pas à pas" or Entrée; returns once the run has moved on."""
        before = self.run_view()["variablesVersion"]
        if by_enter:
            self.browser.keys("body", (ENTER,))
        else:
            self.click("step")
        self.wait_for(lambda: (lambda view: view["variablesVersion"] != before
                               or view["phase"] in ("asking", "ended"))(self.run_view()),
                      "the step taken")

    def variables(self):
        return self.script(
            "return [...document.querySelectorAll('#variables tbody tr')].map((row) => "
            "[row.querySelector('td.name').textContent, row.querySelector('td.value')"
            ".textContent, row.querySelector('td.value').classList.contains('changed')]);")

    def test_euclid_steps_once_at_each_algorithm_line_that_runs(self):
        self.choose_example(EUCLID)
        listing_lines = self.pane("listing").split("\n")
        self.click("run-step")
        lines, answers = [], ["12", "18"]
        while True:
            shown = self.step_view()
            if shown == "end":
                break
            if shown == "ask":
                # The question keeps the keyboard; Entrée answers and the run keeps stepping.
                self.assertEqual(self.script("return document.activeElement.id"), "answer")
                self.browser.keys(None, answers.pop(0), (ENTER,))
                self.wait_for(lambda: self.run_view()["phase"] != "asking", "the answer taken")
                continue
            line = int(re.match(r"Algorithme, ligne (\d+) : ", self.text("current-algorithm"))[1])
            self.assertEqual(self.text("current-algorithm"),
                             f"Algorithme, ligne {line} : {listing_lines[line - 1].strip()}")
            self.assertEqual(self.marked("listing", "current"), listing_lines[line - 1], lines)
            lines.append(line)
            if line == 17 and lines.count(17) == 1:
                # R has just taken A % B: its new value is marked.
                self.assertEqual(self.variables(),
                                 [["A", "12", False], ["B", "18", False], ["R", "12", True]])
            # Entrée makes the next step as "Pas à pas" does.
            self.take_step(by_enter=len(lines) % 2 == 0)
        self.assertEqual(lines, [7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18,
                                 14, 16, 17, 18, 14, 16, 17, 18, 14, 20])
        self.assertEqual(self.run_state(), "Programme terminé.")
        self.assertTrue(self.text("transcript").rstrip().endswith(" 6"))
        self.assertFalse(self.displayed("current-lines"))

    def test_a_run_waits_from_every_place_a_program_can_wait(self):
        # A read three calls deep, inside an expression, inside two loops; stepped into, slowed
        # down, then a pause: every wait unwinds the run's stack and winds it again.
        program = (b'POUR lu :n\r\nTESTE :n > 0 SIVRAI [ rends :n + lu :n - 1 ]\r\n'
                   b'ECL [Un nombre ?] EFFL\r\nrends LISNOMBRE\r\nFIN\r\n'
                   b'SOIT "s 0\r\nREPETE 2 [ TANT QUE :s < 1000 [ soit "s :s + lu 2 ] ]\r\n'
                   b'ECRIS :s\r\ntant que non(touche?) []\r\nECRIS [ fin]\r\n')
        self.open_program("partout.lgo", program)
        self.click("run-step")
        for _ in range(12):  # into the recursion
            self.assertEqual(self.step_view(), "stop")
            self.take_step()
        self.assertEqual(self.step_view(), "stop")
        self.browser.choose("#speed", index=1)
        self.click("continue")
        for reply in ("500", "500"):
            self.answer(reply)
        self.wait_for_text("run-state", "Pause : cliquez sur « Continuer » ou appuyez sur Entrée.")
        self.browser.keys("body", (ENTER,))
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.text("transcript").endswith("1006fin"), self.text("transcript"))

    # ---- Recursion as deep as the algorithm needs.

    def open_program(self, name, program, first_line=None):
        """A file opened; the pane shown waits for its first line (the program's by default)."""
        self.script(as_uint8_array_script("bytes", program)
                    + f"tortuvalPage.openBytes('{name}', bytes);")
        pane = "program" if first_line is None else "python"
        if first_line is None:
            first_line = program.split(b"\r\n")[0].decode("cp1252")
        self.wait_for(lambda: self.pane(pane).startswith(first_line), "the program")

    def test_recursion_goes_100000_calls_deep(self):
        self.choose_example(RECURSIVE_GCD)
        self.click("run")
        self.answer("2")
        self.answer("100000")  # 50,000 nested calls
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.text("transcript").rstrip().endswith("\n2"), self.text("transcript"))

        sum_of = b'POUR somme :n\r\nsi :n = 0 [ rends 0 ]\r\nrends :n + somme :n - 1\r\nFIN\r\n'
        self.open_program("somme.lgo", sum_of + b'ECRIS somme 100000\r\n')
        self.click("run")
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertEqual(self.text("transcript").strip(), "5000050000")

        # A recursion that never ends fills the memory set aside for the run, and is told so.
        self.open_program("sans_fin.lgo", b'POUR p :n\r\nrends 1 + p :n + 1\r\nFIN\r\nECRIS p 1\r\n')
        self.click("run")
        self.wait_for(lambda: self.run_view()["phase"] == "ended", "the run's end")
        self.assertRegex(self.run_state(),
                         r"^Erreur à la ligne 2 : Trop d'appels imbriqués de « p » \(\d{6}\) : "
                         r"la mémoire prévue pour l'exécution est pleine\.$")

    def test_a_run_waits_and_steps_100000_calls_deep(self):
        # The read at the bottom waits with 100,001 calls open; stepped from there, each call
        # stops as it returns, with its own local; slowed, then let go, the run ends with the sum.
        self.open_program("somme_lue.lgo",
                          b'POUR somme :n\r\nsi :n = 0 [ soit "r LISNOMBRE ECRIS :r rends :r ]\r\n'
                          b'soit "s :n + somme :n - 1\r\nrends :s\r\nFIN\r\n'
                          b'ECRIS somme 100000\r\n')
        self.click("run")
        self.wait_for(lambda: self.enabled("answer"), "the question")
        self.click("step")  # taken once the question has its answer
        self.answer("7")
        stops = []
        for _ in range(5):
            self.assertEqual(self.step_view(), "stop")
            stops.append((self.run_view()["logoLine"], self.variables()[1:]))
            self.take_step()
        self.assertEqual(stops, [
            (2, [["s", "", False], ["n (locale)", "0", False]]),  # ECRIS :r, then rends :r
            (2, [["s", "", False], ["n (locale)", "0", False]]),
            (4, [["s", "8", True], ["n (locale)", "1", False]]),
            (4, [["s", "10", True], ["n (locale)", "2", False]]),
            (4, [["s", "13", True], ["n (locale)", "3", False]])])
        self.browser.choose("#speed", index=1)
        self.click("continue")
        self.wait_for(lambda: self.run_view()["phase"] == "running", "the slowed run")
        self.browser.choose("#speed", "instantanée")
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.text("transcript").rstrip().endswith("5000050007"),
                        self.text("transcript")[-200:])

    # ---- Nothing disturbs a waiting run.

    def wait_in_the_curve(self, over_edits=False):
        """Example 7 stepped five times, then slowed to 2 lines a second and let go on."""
        self.browser.choose("#speed", "instantanée")
        if over_edits:
            # Hand edits on the curve are asked about first, and dropped for another example.
            self.click_example(EUCLID)
            self.wait_for(lambda: self.opened("edits-box"),
                          "the question about edits")
            self.click("edits-discard")
            self.wait_for(lambda: self.pane("program")
                          == pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"), "Euclid")
        self.choose_example(CURVE)
        self.wait_for(lambda: self.pane("program")
                      == pane_text(EXAMPLES / "07-prof_courbe_fonction.lgo"), "the curve")
        self.click("run-step")
        for _ in range(5):
            self.assertEqual(self.step_view(), "stop")
            self.take_step()
        self.assertEqual(self.step_view(), "stop")
        self.browser.choose("#speed", "2 instructions par seconde")
        self.click("continue")
        self.wait_for(lambda: self.run_state().startswith("Exécution au ralenti"), "a slowed line")

    def test_speed_and_saving_while_a_run_waits(self):
        self.wait_in_the_curve()
        # Saving downloads the program, and the run still answers.
        self.click("save")
        saved = self.downloads / "prof_courbe_fonction.lgo"
        native = pathlib.Path(self.folder.name) / "courbe.lgo"
        subprocess.run([CLI, "--encoding", "cp1252", "--example", "7", "-o", str(native)],
                       check=True)
        self.wait_for(lambda: saved.exists() and saved.read_bytes() == native.read_bytes(),
                      f"the saved program, got {os.listdir(self.downloads)}")
        self.assertTrue(self.run_state().startswith("Exécution au ralenti"), self.run_state())
        # Full speed: the slowed line passes at once and the run ends.
        self.browser.choose("#speed", "instantanée")
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.displayed("drawing"))
        # The drawing saved as a picture named after the program, at least 800 × 600.
        self.click("save-png")
        picture = self.downloads / "prof_courbe_fonction.png"
        self.wait_for(lambda: picture.exists() and picture.stat().st_size > 1000, picture.name)
        header = picture.read_bytes()[:24]
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        width, height = int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")
        self.assertTrue(width >= 800 and height >= 600, (width, height))
        numbers = self.script(
            "return [...document.querySelectorAll('#drawing svg text')].map((t) => t.textContent)")
        self.assertTrue(numbers and all(re.fullmatch(r"-?[0-9]+(,[0-9]+)?", n) for n in numbers),
                        numbers)

    def test_another_program_shown_ends_the_waiting_run_first(self):
        stopped = "Programme arrêté : un autre programme est affiché."
        # Typing in the LOGO pane: the run ends, the edit is checked, Relancer runs the edit.
        self.wait_in_the_curve()
        self.browser.keys("#program .cm-content", (CONTROL, END), "\nECRIS [ fin]")
        self.wait_for_text("run-state", stopped)
        self.wait_for_text("check-line", "Programme vérifié : aucune remarque.")
        self.browser.choose("#speed", "instantanée")
        self.click("restart")
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.text("transcript").endswith("fin"), self.text("transcript"))

        # Choosing an example: the run ends, the panes show the example, Lancer runs it.
        self.wait_in_the_curve(over_edits=True)
        self.choose_example(EUCLID)
        self.wait_for_text("run-state", stopped)
        self.assertEqual(self.pane("program"), pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"))
        self.click("run")
        self.wait_for_text("question", "Tape un nombre.")
        self.click("stop")
        self.wait_for_text("run-state", "Programme arrêté.")

        # A file dropped on the page: the same.
        self.wait_in_the_curve()
        self.drop_file("euclide.alg", (EXAMPLES / "08-prof_pgdc_Euclide.alg").read_bytes())
        self.wait_for_text("run-state", stopped)
        self.wait_for(lambda: self.pane("program")
                      == pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"), "the dropped document")
        self.click("restart")
        self.wait_for_text("question", "Tape un nombre.")

    def test_a_long_list_leaves_the_drawing_its_room_at_1024_by_768(self):
        self.browser.set_viewport(1024, 768)
        numbers = " ".join(str(1000 + n) for n in range(200)).encode()
        program = (b'SOIT "L [ ' + numbers + b' ]\r\ninitgraph faux\r\n'
                   b'SEGMENT3D [ 0 0 0 ] [ 1 1 0 ]\r\nECRIS 1\r\nECRIS 2\r\n')
        self.open_program("liste.lgo", program)
        self.click("run-step")
        for _ in range(3):  # past the segment: the list and the drawing on view
            self.assertEqual(self.step_view(), "stop")
            self.take_step()
        self.assertEqual(self.step_view(), "stop")
        widths = self.script(
            "const cell = document.querySelector('#variables td.value');"
            "return [document.getElementById('run-panel').clientWidth,"
            " document.getElementById('drawing').clientWidth,"
            " document.getElementById('transcript').clientWidth,"
            " cell.clientWidth, cell.scrollWidth];")
        panel, drawing, transcript, cell, value = widths
        self.assertGreaterEqual(drawing, panel / 3, widths)
        self.assertGreater(transcript, panel / 5, widths)
        self.assertLess(cell, value, "the long value is cut")
        # Clicked, it is shown whole, on as many lines as it takes.
        self.browser.click("#variables td.value")
        self.assertTrue(self.script(
            "const cell = document.querySelector('#variables td.value');"
            "return cell.classList.contains('whole') && cell.scrollWidth <= cell.clientWidth;"))

    # ---- On a projector.

    def visible_pane_lines(self, pane_id):
        """The lines of text a pane shows: the height of the box that scrolls its text (the text's
        element or, in an editor, the one inside it that scrolls), within its padding and above
        its scroll bar, over the text's line height."""
        return self.script(
            "const text = document.getElementById(arguments[0]);"
            "const pane = text.closest('.pane');"
            "const scrolls = (e) => /auto|scroll/.test(getComputedStyle(e).overflowY);"
            "const box = [text, ...text.querySelectorAll('*')].filter((e) => pane.contains(e)"
            " && scrolls(e)).sort((a, b) => b.clientHeight - a.clientHeight)[0] || text;"
            "const style = getComputedStyle(box);"
            "const height = box.clientHeight - parseFloat(style.paddingTop)"
            " - parseFloat(style.paddingBottom);"
            "const textStyle = getComputedStyle(text);"
            "const line = parseFloat(textStyle.lineHeight) || 1.2 * parseFloat(textStyle.fontSize);"
            "return height / line;", pane_id)

    def test_a_stepped_drawing_run_on_a_projector_screen(self):
        # The sizes of classrooms' projectors at 100 %, and 1024 × 768 at 150 %: the panes must
        # keep 12 lines at 100 % only.
        for width, height, full_size in ((1024, 768, True), (683, 512, False),
                                         (1366, 768, True), (1920, 1080, True)):
            with self.subTest(size=f"{width}x{height}"):
                self.browser.open_page(PAGE)
                self.browser.set_viewport(width, height)
                self.choose_example(CURVE)
                self.click("run-step")
                for _ in range(6):  # the axes drawn, the first segments on their way
                    self.assertEqual(self.step_view(), "stop")
                    self.take_step()
                self.assertEqual(self.step_view(), "stop")
                self.assertTrue(self.displayed("drawing"))

                # Every button of the menu and of the run's row is on screen, under no other.
                hidden = self.script(
                    "return [...document.querySelectorAll('.menu button, #step, #answer')]"
                    ".filter((element) => { const box = element.getBoundingClientRect();"
                    " const x = box.x + box.width / 2, y = box.y + box.height / 2;"
                    " return box.left < 0 || box.top < 0 || box.right > innerWidth"
                    " || box.bottom > innerHeight || document.elementFromPoint(x, y) !== element;"
                    "}).map((element) => element.id);")
                self.assertEqual(hidden, [])

                if full_size:
                    for pane in ("listing", "program"):
                        self.assertGreaterEqual(self.visible_pane_lines(pane), 12, pane)

                # The drawing's numbers, as drawn on screen, are no smaller than the text.
                text_size, numbers = self.script(
                    "const text = parseFloat(getComputedStyle(document.body).fontSize);"
                    "return [text, [...document.querySelectorAll('#drawing svg text')].map("
                    "(number) => parseFloat(getComputedStyle(number).fontSize)"
                    " * number.getScreenCTM().a)];")
                self.assertTrue(numbers)
                self.assertGreaterEqual(min(numbers), text_size - 0.05, f"text {text_size}px")

                # The examples' captions are shown whole.
                cut = self.script(
                    "return [...document.querySelectorAll('#examples label')].filter((label) =>"
                    " label.scrollWidth > label.clientWidth || !label.title).map((label) =>"
                    " label.textContent);")
                self.assertEqual(cut, [])

    def test_stop_and_escape_end_a_loop_that_prints_without_end_at_once(self):
        program = b'soit "i 0\r\nTANT QUE :i >= 0 [ soit "i :i + 1 ECRISLIGNE :i ]\r\n'
        self.open_program("sans-fin.lgo", program)
        for how in ("Arrêter", "Échap"):
            self.click("restart" if how == "Échap" else "run")
            time.sleep(1.5)  # well into the loop, the transcript full
            self.assertEqual(self.run_state(), "Exécution en cours...")
            # Timed in the page, from the click or the key to the state line that says it is done:
            # the driver's own calls wait their turn behind the run.
            self.script(
                "const times = window.stopTimes = {};"
                "const asked = () => { times.asked = times.asked || performance.now(); };"
                "document.addEventListener('click', asked, true);"
                "document.addEventListener('keydown', asked, true);"
                "const state = document.getElementById('run-state');"
                "new MutationObserver(() => { if (state.textContent === 'Programme arrêté.')"
                " times.done = times.done || performance.now(); })"
                ".observe(state, {childList: true, characterData: true, subtree: true});")
            if how == "Arrêter":
                self.click("stop")
            else:
                self.browser.keys(None, (ESCAPE,))
            self.wait_for(lambda: self.run_state() == "Programme arrêté.", "the stopped run")
            times = self.script("return window.stopTimes;")
            # The user's action must be answered at once, however much the program prints.
            self.assertLess(times["done"] - times["asked"], 500, how)
            self.assertFalse(self.enabled("stop"))
            self.assertTrue(self.enabled("restart"))
        self.assertIn("\n", self.text("transcript"))


def main():
    global PAGE, CLI, ENGINE
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--engine", choices=browsers.ENGINES, default=ENGINE)
    parser.add_argument("--page", default=PAGE)
    parser.add_argument("--cli", default=CLI)
    known, rest = parser.parse_known_args()
    PAGE, CLI, ENGINE = known.page, known.cli, known.engine
    unittest.main(argv=[sys.argv[0]] + rest)


if __name__ == "__main__":
    main()
