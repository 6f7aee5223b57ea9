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
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
RUN_CASES = SOURCE_DIR / "tests" / "data" / "run"

# Runs a program with its answers as the run takes them: each read takes the next line, with no
# prompt written (the run writes none on its output); a pause takes none. A drawing is made with
# matplotlib's Agg backend and, where the program shows it, its lines are written to a file:
# each segment's ends and colour, each point.
PYTHON_WRAPPER = r"""
import builtins, json, runpy, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
def show():
    drawn = [{"x": [float(v) for v in line.get_xdata()], "y": [float(v) for v in line.get_ydata()],
              "colour": line.get_color(), "point": line.get_marker() == "o"}
             for line in plt.gca().get_lines()]
    with open(sys.argv[3], "w", encoding="utf-8") as out:
        json.dump(drawn, out)
plt.show = show
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
SVG_LINE = re.compile(r'<line x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)"/>')
SVG_GRID = re.compile(r'<line class="grille" x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" '
                      r'y2="([-\d.]+)"/>')
SVG_POINT = re.compile(r'<circle cx="([-\d.]+)" cy="([-\d.]+)"')
# The editor's colours, as the Python program names them.
COLOURS = {"rouge": "red", "bleu": "blue", "vert": "green", "noir": "black"}


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


def clipped(x1, y1, x2, y2, box):
    """The part of a segment inside box (xmin, xmax, ymin, ymax), or None (Liang-Barsky)."""
    xmin, xmax, ymin, ymax = box
    dx, dy, t0, t1 = x2 - x1, y2 - y1, 0.0, 1.0
    for p, q in ((-dx, x1 - xmin), (dx, xmax - x1), (-dy, y1 - ymin), (dy, ymax - y1)):
        if p == 0:
            if q < 0:
                return None
            continue
        t = q / p
        if p < 0:
            t0 = max(t0, t)
        else:
            t1 = min(t1, t)
    if t0 > t1:
        return None
    return (x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy)


def drawing_difference(svg, drawn, frame):
    """Why the run's picture and Python's drawing differ, or None. With the document's frame
    active, the segments are cut at it and placed as the picture places them; without, the
    picture fits what was drawn and only the counts are compared."""
    body = svg.split('stroke="#1a1a80"', 1)
    run_segments = [tuple(map(float, m)) for m in SVG_LINE.findall(body[1].split("</g>")[0])] \
        if len(body) > 1 else []
    run_points = [tuple(map(float, m)) for m in SVG_POINT.findall(svg)]
    segments = [d for d in drawn if not d["point"]]
    points = [d for d in drawn if d["point"]]
    if frame is None:
        if (len(run_segments), len(run_points)) != (len(segments), len(points)):
            return (f"{len(run_segments)} segments and {len(run_points)} points in the run's "
                    f"picture, {len(segments)} and {len(points)} in Python's")
        return None
    grid = [tuple(map(float, m)) for m in SVG_GRID.findall(svg)]
    left = min(g[0] for g in grid if g[0] == g[2])
    right = max(g[0] for g in grid if g[0] == g[2])
    top = min(g[1] for g in grid if g[1] == g[3])
    bottom = max(g[1] for g in grid if g[1] == g[3])
    xmin, xmax, ymin, ymax = frame

    def pixel(x, y):
        return (left + (x - xmin) * (right - left) / (xmax - xmin),
                bottom - (y - ymin) * (bottom - top) / (ymax - ymin))
    expected = []
    for segment in segments:
        cut = clipped(segment["x"][0], segment["y"][0], segment["x"][1], segment["y"][1], frame)
        if cut is not None:
            expected.append(pixel(cut[0], cut[1]) + pixel(cut[2], cut[3]))
    if len(expected) != len(run_segments):
        return f"{len(run_segments)} segments in the run's picture, {len(expected)} in Python's"
    for a, b in zip(run_segments, expected):
        if max(abs(u - v) for u, v in zip(a, b)) > 0.02:
            return f"a segment at {a} in the run's picture, at {b} in Python's"
    inside = [pixel(p["x"][0], p["y"][0]) for p in points
              if xmin <= p["x"][0] <= xmax and ymin <= p["y"][0] <= ymax]
    if len(inside) != len(run_points) or any(
            max(abs(u - v) for u, v in zip(a, b)) > 0.02 for a, b in zip(run_points, inside)):
        return f"{len(run_points)} points in the run's picture, {len(inside)} in Python's"
    return None


def document_frame(cli, source, work):
    """The document's frame (xmin, xmax, ymin, ymax) when it is active, else None."""
    if source[0] == "--example":
        text = subprocess.run([cli, "--example-source", source[1]], capture_output=True).stdout
    else:
        text = pathlib.Path(source[0]).read_bytes()
    found = re.search(rb'<repere repetat="actif" repcode="([^"]*)"', text)
    if not found:
        return None
    numbers = [float(n) for n in found[1].decode().split("#")[:4]]
    return tuple(numbers)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    args = parser.parse_args()

    cases = [(case, ["--example", case["example"]]) for case in read_cases(RUN_CASES / "examples.txt")]
    cases += [(case, [str(RUN_CASES / "documents" / case["document"])])
              for case in read_cases(RUN_CASES / "documents.txt")]
    counts = {"compared": 0, "identical": 0, "drawings": 0, "different": 0, "random": 0,
              "to complete": 0, "not clean": 0}
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
            picture, drawn = work / f"{name}.svg", work / f"{name}.json"
            run = subprocess.run([args.cli, "--run", *source, "--input-file", str(answers),
                                  "--drawing", str(picture)], capture_output=True, text=True)
            python = subprocess.run([sys.executable, str(wrapper), str(program), str(answers),
                                     str(drawn)], capture_output=True, text=True,
                                    env=dict(os.environ, PYTHONIOENCODING="utf-8"))
            counts["compared"] += 1
            difference = None
            if "import matplotlib" in text:
                if not drawn.exists() or not picture.exists():
                    difference = "no drawing shown"
                else:
                    difference = drawing_difference(
                        picture.read_text(encoding="utf-8"),
                        json.loads(drawn.read_text(encoding="utf-8")),
                        document_frame(args.cli, source, work))
            if difference is None and same_tokens(run.stdout, python.stdout) and (
                    run.returncode == 0) == (python.returncode == 0):
                counts["identical"] += 1
                counts["drawings"] += "import matplotlib" in text
            elif difference is not None:
                counts["different"] += 1
                failures.append(f"{name}: {difference}")
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
