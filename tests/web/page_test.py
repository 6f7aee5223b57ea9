"""The page (build-web/index.html) driven in headless Chromium, opened from file://: the panes,
files in and out, the check's findings and the run panel, against the examples and the native
command line.

    /usr/bin/python3 page_test.py --page build-web/index.html --cli build/cli/pseudal2logo
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
from chromium import as_uint8_array_script, open_page, start_chromium, wait_until  # noqa: E402

from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = SOURCE_DIR / "examples"
PAGE = os.environ.get("TORTUVAL_PAGE", str(SOURCE_DIR / "build-web" / "index.html"))
CLI = os.environ.get("TORTUVAL_CLI", str(SOURCE_DIR / "build" / "cli" / "pseudal2logo"))

EUCLID = 7  # the radio of example 8
CURVE = 6   # the radio of example 7
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
        cls.driver = start_chromium(download_dir=cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.folder.cleanup()

    def setUp(self):
        open_page(self.driver, PAGE)

    # ---- Helpers.

    def element(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def value(self, element_id):
        return self.driver.execute_script(
            "return document.getElementById(arguments[0]).value", element_id)

    def text(self, element_id):
        return self.driver.execute_script(
            "return document.getElementById(arguments[0]).textContent", element_id)

    def wait_for(self, condition, message):
        return wait_until(self.driver, lambda _: condition(), message=message)

    def wait_for_text(self, element_id, expected):
        try:
            self.wait_for(lambda: self.text(element_id) == expected, element_id)
        except Exception:
            self.assertEqual(self.text(element_id), expected)

    def choose_example(self, radio_value):
        self.driver.find_element(
            By.CSS_SELECTOR, f"input[name=example][value='{radio_value}']").click()
        self.wait_for(lambda: self.driver.execute_script(
            "return document.querySelector('input[name=example]:checked')?.value")
            == str(radio_value), "the example's radio")

    def open_file(self, path):
        self.element("file-input").send_keys(str(path))

    def write_file(self, name, data):
        path = pathlib.Path(self.folder.name) / name
        path.write_bytes(data)
        return path

    def answer(self, text):
        self.wait_for(lambda: self.element("answer").is_enabled(), "the answer line")
        self.element("answer").send_keys(text, Keys.ENTER)

    def run_state(self):
        return self.text("run-state")

    def selected(self, element_id):
        return self.driver.execute_script(
            "const area = document.getElementById(arguments[0]);"
            "return area.value.substring(area.selectionStart, area.selectionEnd);", element_id)

    # ---- The panes and files.

    def test_example_shows_its_listing_and_program(self):
        self.choose_example(EUCLID)
        self.assertEqual(self.value("program"), pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"))
        self.assertEqual(self.value("listing"), pane_text(EXAMPLES / "08-prof_pgdc_Euclide.txt"))
        self.assertEqual(self.text("check-line"), "Programme vérifié : aucune remarque.")

    def test_files_opened_refused_and_saved(self):
        # A document: its program and listing, as the examples' files hold them. This one's
        # program has accented letters: the saved bytes tell Windows-1252 from UTF-8.
        document = EXAMPLES / "02-prof_tribulle.alg"
        self.open_file(document)
        expected_program = pane_text(EXAMPLES / "02-prof_tribulle.lgo")
        self.wait_for(lambda: self.value("program") == expected_program, "the opened program")
        self.assertEqual(self.value("listing"), pane_text(EXAMPLES / "02-prof_tribulle.txt"))

        # Saved: the bytes the command line writes for the same document.
        self.element("save").click()
        saved = self.downloads / "02-prof_tribulle.lgo"
        self.wait_for(saved.exists, f"the download {saved.name}, got {os.listdir(self.downloads)}")
        native = pathlib.Path(self.folder.name) / "native.lgo"
        subprocess.run([CLI, "--encoding", "cp1252", str(document), "-o", str(native)], check=True)
        self.wait_for(lambda: saved.read_bytes() == native.read_bytes(), "the saved bytes")

        # No document: the desktop's message, and the panes stay as they were.
        notes = self.write_file("notes.txt", "Bonjour,\nvoici mes notes.\n".encode("cp1252"))
        self.open_file(notes)
        self.wait_for(lambda: self.element("message-box").get_attribute("open") is not None,
                      "the message box")
        self.assertEqual(self.text("message-text"),
                         "\"notes.txt\" ne contient aucune instruction Pseudal : ce n'est pas un "
                         "document de l'éditeur.")
        self.element("message-ok").click()
        self.assertEqual(self.value("program"), expected_program)
        self.assertEqual(self.value("listing"), pane_text(EXAMPLES / "02-prof_tribulle.txt"))

        # A document dropped on the page opens as a chosen one does.
        dropped = (EXAMPLES / "08-prof_pgdc_Euclide.alg").read_bytes()
        self.driver.execute_script(
            as_uint8_array_script("bytes", dropped)
            + "const transfer = new DataTransfer();"
              "transfer.items.add(new File([bytes], 'euclide.alg'));"
              "document.getElementById('listing').dispatchEvent(new DragEvent('drop',"
              " {dataTransfer: transfer, bubbles: true, cancelable: true}));")
        self.wait_for(lambda: self.value("program")
                      == pane_text(EXAMPLES / "08-prof_pgdc_Euclide.lgo"), "the dropped document")

        # A program saved before opens as the program it is, with no listing, and is checked.
        logo = self.write_file("réponse.lgo", b"ECRIS 6 * 7\r\nECRIS :zz\r\n")
        self.open_file(logo)
        self.wait_for(lambda: self.value("program") == "ECRIS 6 * 7\nECRIS :zz\n",
                      "the opened .lgo")
        self.assertEqual(self.value("listing"), "")
        self.assertEqual(self.text("check-line"), "Programme vérifié : 1 ligne à revoir.")
        self.assertIsNone(self.element("message-box").get_attribute("open"))

    def test_a_finding_clicked_selects_its_lines_in_both_panes(self):
        self.choose_example(EXAMPLE_WITH_FINDINGS)
        findings = self.driver.find_elements(By.CSS_SELECTOR, "#findings button.finding")
        self.assertEqual(len(findings), 2)
        # The command line gives each finding's algorithm line and LOGO line.
        check = subprocess.run([CLI, "--check", "--example", str(EXAMPLE_WITH_FINDINGS + 1)],
                               capture_output=True, text=True).stdout
        native = re.findall(
            r"^exemple-\d+:(\d+): (.*) \(programme LOGO, ligne (\d+), colonne \d+\)$",
            check, re.MULTILINE)
        self.assertEqual(len(native), 2, check)
        algorithm_line, message, logo_line = native[1]
        finding = findings[1]
        self.assertEqual(finding.get_attribute("data-line"), logo_line)
        self.assertEqual(finding.get_attribute("data-algorithm-line"), algorithm_line)
        finding.click()
        self.assertEqual(self.text("check-line"), f"ligne {logo_line} : {message}")
        program_lines = self.value("program").split("\n")
        listing_lines = self.value("listing").split("\n")
        self.assertEqual(self.selected("program"), program_lines[int(logo_line) - 1])
        self.assertEqual(self.selected("listing"), listing_lines[int(algorithm_line) - 1])
        self.assertTrue(self.selected("program").strip())

    def test_typing_checks_again_and_edits_are_not_lost_without_a_question(self):
        self.choose_example(EUCLID)
        program = self.element("program")
        program.send_keys(Keys.CONTROL, Keys.END)
        program.send_keys("\nECRIS :inconnue")
        self.wait_for_text("check-line", "Programme vérifié : 1 ligne à revoir.")
        edited = self.value("program")

        # Another example: the question comes first; "Annuler" keeps the edits.
        self.driver.find_element(By.CSS_SELECTOR, "input[name=example][value='0']").click()
        self.wait_for(lambda: self.element("edits-box").get_attribute("open") is not None,
                      "the question about edits")
        self.element("edits-cancel").click()
        self.assertEqual(self.value("program"), edited)
        self.assertEqual(self.driver.execute_script(
            "return document.querySelector('input[name=example]:checked').value"), str(EUCLID))

        # "Abandonner" lets the example replace them.
        self.driver.find_element(By.CSS_SELECTOR, "input[name=example][value='0']").click()
        self.wait_for(lambda: self.element("edits-box").get_attribute("open") is not None,
                      "the question about edits")
        self.element("edits-discard").click()
        self.wait_for(lambda: self.value("program")
                      == pane_text(EXAMPLES / "01-prof_dichotomie.lgo"), "the first example")

    # ---- The run panel.

    def test_euclid_refuses_a_word_then_finds_the_gcd(self):
        self.choose_example(EUCLID)
        self.element("run").click()
        self.wait_for(lambda: self.element("run-panel").is_displayed(), "the run panel")
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
        self.assertFalse(self.element("answer").is_enabled())
        self.assertFalse(self.element("stop").is_enabled())

    def test_step_by_step_through_euclid_shows_lines_and_variables(self):
        self.choose_example(EUCLID)
        program_lines = self.value("program").split("\n")

        def line_of(text):
            return next(n for n, line in enumerate(program_lines, 1) if line.strip() == text)

        def stopped_before(line):
            self.wait_for_text("run-state",
                               f"Pas à pas : le programme s'arrête avant la ligne {line}.")
            self.assertEqual(self.text("current-logo"),
                             f"LOGO, ligne {line} : {program_lines[line - 1].strip()}")
            self.assertEqual(self.selected("program"), program_lines[line - 1])

        def variables():
            return self.driver.execute_script(
                "return [...document.querySelectorAll('#variables tbody tr')].map((row) => "
                "[row.querySelector('td.name').textContent, row.querySelector('td.value')"
                ".textContent, row.querySelector('td.value').classList.contains('changed')]);")

        self.element("run-step").click()
        # The first stop: the first instruction, past the opening comment.
        first_line = next(n for n, line in enumerate(program_lines, 1)
                          if line.strip() and not line.startswith("//"))
        stopped_before(first_line)
        # Step on until each read, and answer it.
        for reply in ("12", "18"):
            for _ in range(20):
                if self.element("answer").is_enabled():
                    break
                self.element("step").click()
                self.wait_for(lambda: self.run_state().startswith("Pas à pas")
                              or self.element("answer").is_enabled(), "a stop or a read")
            self.answer(reply)
        # After the second read: the line that echoes B, then each line down to the loop.
        stopped_before(line_of("ECL :B"))
        # B has just been read: its new value is marked.
        self.assertEqual(variables(), [["A", "12", False], ["B", "18", True], ["R", "0", False]])
        self.assertTrue(self.element("current-lines").is_displayed())
        for line in range(line_of("ECL :B") + 1, line_of("TANT QUE :B <> 0 [") + 1):
            if program_lines[line - 1].strip():
                self.element("step").click()
                stopped_before(line)
        # Each pass: R takes A % B, A takes B, B takes R; the value that changed is marked.
        body = [line_of('soit "R :A % :B'), line_of('soit "A :B'), line_of('soit "B :R')]
        expected = [
            (body[0], [["A", "12", False], ["B", "18", False], ["R", "0", False]]),
            (body[1], [["A", "12", False], ["B", "18", False], ["R", "12", True]]),
            (body[2], [["A", "18", True], ["B", "18", False], ["R", "12", False]]),
            (body[0], [["A", "18", False], ["B", "12", True], ["R", "12", False]]),
        ]
        for line, values in expected:
            self.element("step").click()
            stopped_before(line)
            self.assertEqual(variables(), values)
        self.assertEqual(self.selected("listing"), "R PREND_LA_VALEUR A%B")
        self.assertEqual(self.text("current-algorithm"),
                         "Algorithme, ligne 16 : R PREND_LA_VALEUR A%B")

        self.element("continue").click()
        self.wait_for_text("run-state", "Programme terminé.")
        self.assertTrue(self.text("transcript").rstrip().endswith(" 6"))
        self.assertFalse(self.element("current-lines").is_displayed())
        # The panel's own step, with no run going on, starts a stepped run again.
        self.element("step").click()
        stopped_before(first_line)
        self.assertEqual(self.text("transcript"), "")

    def test_the_curve_is_drawn_with_its_graduations(self):
        self.choose_example(CURVE)
        self.element("run").click()
        self.wait_for_text("run-state", "Programme terminé.")
        svg = self.driver.find_elements(By.CSS_SELECTOR, "#drawing svg")
        self.assertEqual(len(svg), 1)
        self.assertTrue(svg[0].is_displayed())
        numbers = [t.text for t in self.driver.find_elements(By.CSS_SELECTOR, "#drawing svg text")]
        self.assertTrue(numbers and all(re.fullmatch(r"-?[0-9]+([.,][0-9]+)?", n) for n in numbers),
                        numbers)
        # Saved as a picture: the drawing rendered into a PNG file.
        self.element("save-png").click()
        picture = self.downloads / "dessin.png"
        self.wait_for(lambda: picture.exists() and picture.stat().st_size > 1000, "dessin.png")
        self.assertEqual(picture.read_bytes()[:8], b"\x89PNG\r\n\x1a\n")

    def test_stop_ends_an_endless_loop_at_once(self):
        program = b'soit "x 0\r\nTANT QUE 1 = 1 [ soit "x :x + 1 ]\r\n'
        refused = self.driver.execute_script(
            as_uint8_array_script("bytes", program)
            + "return tortuvalPage.openBytes('boucle.lgo', bytes).refused;")
        self.assertFalse(refused)
        self.assertEqual(self.value("program"), program.decode("cp1252").replace("\r\n", "\n"))
        self.element("run").click()
        time.sleep(0.5)  # well into the loop
        self.assertEqual(self.run_state(), "Exécution en cours...")
        stop = self.element("stop")
        # The click goes in as a user's does, through the browser's input: WebElement.click()
        # would add the driver's own round trips to the page (scrolling, visibility checks)
        # to the time measured.
        x, y = self.driver.execute_script(
            "const box = arguments[0].getBoundingClientRect();"
            "return [box.x + box.width / 2, box.y + box.height / 2];", stop)
        clicked = time.monotonic()
        for event in ("mousePressed", "mouseReleased"):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                "type": event, "x": x, "y": y, "button": "left", "clickCount": 1})
        self.wait_for(lambda: self.run_state() == "Programme arrêté.", "the stopped run")
        elapsed = time.monotonic() - clicked
        # The user's click must be answered at once, however busy the program is.
        self.assertLess(elapsed, 0.5)
        self.assertFalse(stop.is_enabled())
        self.assertTrue(self.element("restart").is_enabled())

        # Escape stops it as well.
        self.element("restart").click()
        self.wait_for(lambda: self.element("stop").is_enabled(), "the run started again")
        self.driver.find_element(By.TAG_NAME, "body").send_keys(Keys.ESCAPE)
        self.wait_for_text("run-state", "Programme arrêté.")


def main():
    global PAGE, CLI
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--page", default=PAGE)
    parser.add_argument("--cli", default=CLI)
    known, rest = parser.parse_known_args()
    PAGE, CLI = known.page, known.cli
    unittest.main(argv=[sys.argv[0]] + rest)


if __name__ == "__main__":
    main()
