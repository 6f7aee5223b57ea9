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
import pathlib
import re
import subprocess
import sys
import tempfile

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
RUN_CASES = SOURCE_DIR / "tests" / "data" / "run"

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
    try:
        return tuple(float(n) for n in found[1].decode().split("#")[:4])
    except ValueError:  # a frame of words: its picture is compared by its counts only
        return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--write-documents", help="the tool that writes generated documents")
    parser.add_argument("--seeds", type=int, default=0, help="how many generated documents")
    args = parser.parse_args()

    # Each document: its name, how the command line names it, its answers.
    documents = [(case["name"], ["--example", case["example"]], case.get("answers", ""))
                 for case in read_cases(RUN_CASES / "examples.txt")]
    documents += [(case["name"], [str(RUN_CASES / "documents" / case["document"])],
                   case.get("answers", "")) for case in read_cases(RUN_CASES / "documents.txt")]
    counts = {"compared": 0, "identical": 0, "drawings": 0, "different": 0, "random": 0,
              "to complete": 0, "endless": 0, "not clean": 0, "counts of the algorithm": 0}
    failures = []
    with tempfile.TemporaryDirectory(prefix="tortuval-python-") as work:
        work = pathlib.Path(work)
        if args.seeds:
            generated = work / "generated"
            generated.mkdir()
            subprocess.run([args.write_documents, str(generated), "1", str(args.seeds)],
                           check=True)
            # Numbers that any read takes, a word read included.
            answers = "\n".join(str(1 + k % 9) for k in range(200))
            documents += [(f"generated_{seed}", [str(generated / f"generated_{seed}.alg")],
                           answers) for seed in range(1, args.seeds + 1)]

        programs = []
        for name, source, answers in documents:
            program = work / f"{name}.py"
            subprocess.run([args.cli, "--python", *source, "-o", str(program)], check=True,
                           stderr=subprocess.DEVNULL)
            (work / f"{name}.answers").write_text(answers + "\n", encoding="utf-8")
            programs.append(program)

        # Every program compiles and pyflakes has nothing to say: in one process each.
        for check in (["-m", "py_compile"], ["-m", "pyflakes"]):
            found = subprocess.run([sys.executable, *check, *map(str, programs)],
                                   capture_output=True, text=True)
            if found.returncode != 0:
                unclean = {line.split(":")[0] for line in (found.stdout + found.stderr).split("\n")
                           if line.startswith(str(work))}
                counts["not clean"] += len(unclean)
                failures.append(found.stdout[-2000:] + found.stderr[-2000:])

        jobs, compared = [], []
        for (name, source, _), program in zip(documents, programs):
            text = program.read_text(encoding="utf-8")
            if "# À compléter" in text:
                counts["to complete"] += 1
                continue
            if "import random" in text:
                counts["random"] += 1
                continue
            picture, answers = work / f"{name}.svg", work / f"{name}.answers"
            # A counted loop of the algorithm makes no pass when its end is below its start;
            # the LOGO program counts the passes of a loop from 0, 1 or -1 with ABS, and so runs
            # it downwards (docs/dialect.md). The Python program keeps the algorithm's meaning:
            # it is compared with the LOGO program run with the algorithm's counts.
            logo = work / f"{name}.lgo"
            subprocess.run([args.cli, *source, "-o", str(logo)], check=True,
                           stderr=subprocess.DEVNULL)
            logo_text = logo.read_text(encoding="utf-8")
            frame = document_frame(args.cli, source, work)
            run_source = source
            if "REPETE ABS " in logo_text:
                logo.write_text(logo_text.replace("REPETE ABS ", "REPETE "), encoding="utf-8")
                run_source, frame = [str(logo)], None  # a program alone: its frame fits it
                counts["counts of the algorithm"] += 1
            run = subprocess.run([args.cli, "--run", *run_source, "--input-file", str(answers),
                                  "--drawing", str(picture), "--max-steps", "5000000"],
                                 capture_output=True, text=True)
            if "il ne s'arrête pas" in run.stderr:
                counts["endless"] += 1
                continue
            jobs.append({"program": str(program), "answers": str(answers)})
            compared.append((name, frame, text, run, picture))
        (work / "jobs.json").write_text(json.dumps(jobs), encoding="utf-8")
        subprocess.run([sys.executable, str(pathlib.Path(__file__).parent / "run_programs.py"),
                        str(work / "jobs.json"), str(work / "results.json")], check=True)
        results = json.loads((work / "results.json").read_text(encoding="utf-8"))

        for (name, frame, text, run, picture), python in zip(compared, results):
            counts["compared"] += 1
            draws = "import matplotlib" in text
            difference = None
            if not same_tokens(run.stdout, python["output"]):
                difference = (f"the run wrote {run.stdout[-300:]!r}, Python "
                              f"{python['output'][-300:]!r} ({python['error'][-300:]!r})")
            elif (run.returncode == 0) != (python["status"] == 0):
                difference = (f"the run ended with status {run.returncode} "
                              f"({run.stderr[-200:]!r}), Python with {python['status']} "
                              f"({python['error'][-300:]!r})")
            elif draws and run.returncode == 0:
                if python["drawn"] is None or not picture.exists():
                    difference = "no drawing shown"
                else:
                    difference = drawing_difference(picture.read_text(encoding="utf-8"),
                                                    python["drawn"], frame)
            if difference is None:
                counts["identical"] += 1
                counts["drawings"] += draws
            else:
                counts["different"] += 1
                failures.append(f"{name}: {difference}")
    print(f"{len(documents)} programs: " + ", ".join(f"{count} {what}"
                                                     for what, count in counts.items()))
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
