"""The algorithm's Python program against the run of its LOGO program: for each document, both
are given the same answers and what they print is compared, token by token (numbers within a
relative 1e-9, as the run writes them, with a decimal comma). Every program written must also
compile and pass pyflakes.

    /usr/bin/python3 compare_with_run.py --cli build/cli/pseudal2logo

The documents are the built-in examples and the run's case documents (tests/data/run), with the
answers their case files give. A program that draws random numbers is compiled and checked but
not compared; one with lines left to complete is counted apart. The script ends with the counts
and fails when a program differs, does not compile or is not clean."""

import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
RUN_CASES = SOURCE_DIR / "tests" / "data" / "run"

# Runs a program with its answers as the run takes them: each read takes the next line, with no
# prompt written (the run writes none on its output); a pause takes none.
PYTHON_WRAPPER = r"""
import builtins, runpy, sys
answers = open(sys.argv[2], encoding="utf-8").read().split("\n")
def answer(prompt=""):
    if prompt.startswith("Appuyez sur Entrée"):
        return ""
    if not answers or (len(answers) == 1 and answers[0] == ""):
        raise EOFError
    return answers.pop(0)
builtins.input = answer
runpy.run_path(sys.argv[1], run_name="__main__")
"""

NUMBER = re.compile(r"^-?\d+(,\d+)?(E-?\d+)?$")


def read_cases(path):
    """The sections of a case file: name, then its fields ("key: value" or "key:<<<" … ">>>")."""
    cases, case, lines = [], None, path.read_text(encoding="utf-8").split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if line.startswith("#") or not line.strip():
            continue
        if line.startswith("[") and line.endswith("]"):
            case = {"name": line[1:-1]}
            cases.append(case)
            continue
        key, _, value = line.partition(":")
        if value == "<<<":
            block = []
            while lines[i] != ">>>":
                block.append(lines[i])
                i += 1
            i += 1
            case[key] = "\n".join(block)
        else:
            case[key] = value.strip()
    return cases


def tokens(text):
    return text.split()


def same_tokens(run_output, python_output):
    a, b = tokens(run_output), tokens(python_output)
    if len(a) != len(b):
        return False
    for x, y in zip(a, b):
        if x == y:
            continue
        if NUMBER.match(x) and NUMBER.match(y):
            u = float(x.replace(",", ".").replace("E", "e"))
            v = float(y.replace(",", ".").replace("E", "e"))
            if abs(u - v) <= 1e-9 * max(abs(u), abs(v)):
                continue
        return False
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    args = parser.parse_args()

    cases = [(case, ["--example", case["example"]]) for case in read_cases(RUN_CASES / "examples.txt")]
    cases += [(case, [str(RUN_CASES / "documents" / case["document"])])
              for case in read_cases(RUN_CASES / "documents.txt")]
    counts = {"compared": 0, "identical": 0, "different": 0, "random": 0, "to complete": 0,
              "not clean": 0}
    failures = []
    with tempfile.TemporaryDirectory(prefix="tortuval-python-") as work:
        work = pathlib.Path(work)
        wrapper = work / "with_answers.py"
        wrapper.write_text(PYTHON_WRAPPER, encoding="utf-8")
        for case, source in cases:
            name = case["name"]
            program = work / f"{name}.py"
            answers = work / f"{name}.answers"
            answers.write_text(case.get("answers", "") + "\n", encoding="utf-8")
            subprocess.run([args.cli, "--python", *source, "-o", str(program)], check=True,
                           stderr=subprocess.DEVNULL)
            text = program.read_text(encoding="utf-8")
            compiled = subprocess.run([sys.executable, "-m", "py_compile", str(program)],
                                      capture_output=True, text=True)
            flakes = subprocess.run([sys.executable, "-m", "pyflakes", str(program)],
                                    capture_output=True, text=True)
            if compiled.returncode != 0 or flakes.returncode != 0:
                counts["not clean"] += 1
                failures.append(f"{name}: {compiled.stderr}{flakes.stdout}{flakes.stderr}")
                continue
            if "# À compléter" in text:
                counts["to complete"] += 1
                continue
            if "import random" in text:
                counts["random"] += 1
                continue
            run = subprocess.run([args.cli, "--run", *source, "--input-file", str(answers)],
                                 capture_output=True, text=True)
            python = subprocess.run([sys.executable, str(wrapper), str(program), str(answers)],
                                    capture_output=True, text=True,
                                    env=dict(os.environ, PYTHONIOENCODING="utf-8"))
            counts["compared"] += 1
            if same_tokens(run.stdout, python.stdout) and (run.returncode == 0) == (
                    python.returncode == 0):
                counts["identical"] += 1
            else:
                counts["different"] += 1
                failures.append(f"{name}: the run wrote {run.stdout[-300:]!r}"
                                f" (status {run.returncode}), Python {python.stdout[-300:]!r}"
                                f" (status {python.returncode}, {python.stderr[-300:]!r})")
    print(f"{len(cases)} programs: " + ", ".join(f"{count} {what}" for what, count in counts.items()))
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
