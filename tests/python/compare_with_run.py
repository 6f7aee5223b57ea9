"""The algorithm's Python program against the run of its LOGO program: for each document, both
are given the same answers and the same random numbers, and what they print is compared, token
by token (numbers within a relative 1e-9, as the run writes them, with a decimal comma), with
how each ended and what each drew. Every program written must also compile and pass pyflakes.

    /usr/bin/python3 compare_with_run.py --cli build/cli/pseudal2logo \
        [--write-documents build/tests/write_documents --seeds N] [--runnable N]

The documents are the built-in examples and the run's case documents (tests/data/run), with the
answers their case files give; then N documents of the benchmarks' generator (every statement
kind, most of them stopping on an error early) and N that run to their end
(runnable_documents.py). A program that draws random numbers is given the run's numbers for the
same seed (run_random.py); one with lines left to complete is counted apart. The script ends
with the counts and fails when a program differs, does not compile or is not clean."""

import argparse
import json
import pathlib
import re
import subprocess
import sys
import tempfile

import runnable_documents

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]
RUN_CASES = SOURCE_DIR / "tests" / "data" / "run"

NUMBER = re.compile(r"^-?\d+(,\d+)?(E-?\d+)?$")
SVG_LINE = re.compile(r'<line x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)"/>')
SVG_GRID = re.compile(r'<line class="grille" x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" '
                      r'y2="([-\d.]+)"/>')
SVG_POINT = re.compile(r'<circle cx="([-\d.]+)" cy="([-\d.]+)"')
# The test of the span still to run that ends each pass of a counted loop.
PASS_END_TEST = re.compile(r"TESTE [^\n]* >= 0(\r?\n[ \t]*SIVRAI INC :)")
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
            # Relative, except next to 0 (the run's inverse normal law of 0,5 is -1,9E-18).
            if abs(u - v) <= max(1e-9 * max(abs(u), abs(v)), 1e-15):
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


def fitted_difference(run_segments, run_points, segments, points):
    """With no frame, the run's picture fits what was drawn: each axis of the drawing is mapped
    onto the picture by a scale and a shift (y downwards). Both are worked out from the extents
    of the two drawings, then every end and point must fall where they put it."""
    drawn = [(s["x"][k], s["y"][k]) for s in segments for k in (0, 1)] + \
        [(p["x"][0], p["y"][0]) for p in points]
    placed = [(s[k], s[k + 1]) for s in run_segments for k in (0, 2)] + \
        [(p[0], p[1]) for p in run_points]
    if not drawn:
        return None
    axes = []
    for axis, direction in ((0, 1), (1, -1)):
        low, high = min(d[axis] for d in drawn), max(d[axis] for d in drawn)
        first, last = min(p[axis] for p in placed), max(p[axis] for p in placed)
        scale = (last - first) / (high - low) if high > low else 0.0
        start = first if direction > 0 else last
        axes.append((low, direction * scale, start))
    for d, p in zip(drawn, placed):
        for axis, (low, scale, start) in enumerate(axes):
            if abs(start + (d[axis] - low) * scale - p[axis]) > 0.02:
                return f"a point at {p} in the run's picture, {d} in Python's drawing"
    return None


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
        return fitted_difference(run_segments, run_points, segments, points)
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


def algorithms_counts(logo_text):
    """The LOGO program with the algorithm's counted loops (docs/dialect.md). A counted loop of
    the algorithm makes no pass when its end is below its start, and counts upwards: the LOGO
    program counts the passes of a loop from 0, 1 or -1 with ABS, and so runs it downwards, and
    steps each pass up or down as the end then stands, downwards once the body has brought the
    end below the start. The Python program keeps the algorithm's meaning; it is compared with
    the LOGO program run with the algorithm's counts: REPETE without ABS, every step upwards."""
    text = logo_text.replace("REPETE ABS ", "REPETE ")
    return PASS_END_TEST.sub(r"TESTE 0 >= 0\1", text)


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
    parser.add_argument("--runnable", type=int, default=0,
                        help="how many documents that run to their end (runnable_documents.py)")
    args = parser.parse_args()

    # Each document: its name, how the command line names it, its answers.
    documents = [(case["name"], ["--example", case["example"]], case.get("answers", ""))
                 for case in read_cases(RUN_CASES / "examples.txt")]
    documents += [(case["name"], [str(RUN_CASES / "documents" / case["document"])],
                   case.get("answers", "")) for case in read_cases(RUN_CASES / "documents.txt")]
    counts = {"compared": 0, "identical": 0, "the same up to a LOGO line to retouch": 0,
              "drawings": 0, "random numbers": 0, "ended on an error": 0, "different": 0,
              "to complete": 0, "endless": 0, "not clean": 0, "counts of the algorithm": 0}
    failures = []
    # Numbers that any read takes, a word read included.
    answers_for_any_read = "\n".join(str(1 + k % 9) for k in range(200))
    with tempfile.TemporaryDirectory(prefix="tortuval-python-") as work:
        work = pathlib.Path(work)
        if args.seeds:
            generated = work / "generated"
            generated.mkdir()
            subprocess.run([args.write_documents, str(generated), "1", str(args.seeds)],
                           check=True)
            documents += [(f"generated_{seed}", [str(generated / f"generated_{seed}.alg")],
                           answers_for_any_read) for seed in range(1, args.seeds + 1)]

        if args.runnable:
            runnable = work / "runnable"
            runnable.mkdir()
            for seed in range(1, args.runnable + 1):
                (runnable / f"runnable_{seed}.alg").write_text(
                    runnable_documents.Writer(seed).document(), encoding="utf-8")
            documents += [(f"runnable_{seed}", [str(runnable / f"runnable_{seed}.alg")],
                           answers_for_any_read) for seed in range(1, args.runnable + 1)]

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
        for seed, ((name, source, _), program) in enumerate(zip(documents, programs), 1):
            text = program.read_text(encoding="utf-8")
            if "# À compléter" in text:
                counts["to complete"] += 1
                continue
            picture, answers = work / f"{name}.svg", work / f"{name}.answers"
            logo = work / f"{name}.lgo"
            subprocess.run([args.cli, *source, "-o", str(logo)], check=True,
                           stderr=subprocess.DEVNULL)
            logo_text = logo.read_text(encoding="utf-8")
            frame = document_frame(args.cli, source, work)
            run_source = source
            algorithm_counts = algorithms_counts(logo_text)
            if algorithm_counts != logo_text:
                logo.write_text(algorithm_counts, encoding="utf-8")
                run_source, frame = [str(logo)], None  # a program alone: its frame fits it
                counts["counts of the algorithm"] += 1
            # A program that draws random numbers draws the run's: both start from one seed.
            run = subprocess.run([args.cli, "--run", *run_source, "--input-file", str(answers),
                                  "--drawing", str(picture), "--max-steps", "50000000",
                                  "--seed", str(seed)],
                                 capture_output=True, text=True)
            if "il ne s'arrête pas" in run.stderr:
                counts["endless"] += 1
                continue
            jobs.append({"program": str(program), "answers": str(answers), "seed": seed})
            compared.append((name, frame, text, run, picture))
        (work / "jobs.json").write_text(json.dumps(jobs), encoding="utf-8")
        subprocess.run([sys.executable, str(pathlib.Path(__file__).parent / "run_programs.py"),
                        str(work / "jobs.json"), str(work / "results.json")], check=True)
        results = json.loads((work / "results.json").read_text(encoding="utf-8"))

        for (name, frame, text, run, picture), python in zip(compared, results):
            counts["compared"] += 1
            draws = "import matplotlib" in text
            difference = None
            # A line the LOGO conversion could not write (the checker points at it, "à retoucher
            # pour votre LOGO") stops the run, where Python goes on: what the run wrote before
            # must be what Python wrote first.
            retouch = "n'est pas du LOGO" in run.stderr
            if retouch:
                if not same_tokens(run.stdout, " ".join(tokens(python["output"])[
                        :len(tokens(run.stdout))])):
                    difference = (f"the run wrote {run.stdout[-300:]!r} before the line to "
                                  f"retouch, Python {python['output'][-300:]!r}")
            elif not same_tokens(run.stdout, python["output"]):
                difference = (f"the run wrote {run.stdout[-300:]!r}, Python "
                              f"{python['output'][-300:]!r} ({python['error'][-300:]!r})")
            elif (run.returncode == 0) != (python["status"] == 0):
                difference = (f"the run ended with status {run.returncode} "
                              f"({run.stderr[-200:]!r}), Python with {python['status']} "
                              f"({python['error'][-300:]!r})")
            elif draws and run.returncode == 0:
                if python["drawn"] is None:
                    difference = "no drawing shown"
                elif not picture.exists():  # the run had nothing to draw
                    if python["drawn"]:
                        difference = f"{len(python['drawn'])} lines drawn by Python, none by the run"
                else:
                    difference = drawing_difference(picture.read_text(encoding="utf-8"),
                                                    python["drawn"], frame)
            if difference is None and retouch:
                counts["the same up to a LOGO line to retouch"] += 1
            elif difference is None:
                counts["identical"] += 1
                counts["ended on an error"] += run.returncode != 0
                counts["drawings"] += draws
                counts["random numbers"] += "import random" in text
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
