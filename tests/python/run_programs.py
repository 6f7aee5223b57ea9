"""Runs Python programs written by pseudal2logo --python, one after another in this process (so
that Python and matplotlib start once), each as a class would run it but with its answers given
in advance: each read takes the next line, no prompt is written, a pause takes no answer, and the
random numbers are the run's for the job's seed (run_random.py). A drawing is made on
matplotlib's Agg backend; where the program shows it, its lines are kept.

    /usr/bin/python3 run_programs.py JOBS.json RESULTS.json
JOBS: [{"program": path, "answers": path, "seed": n}]; RESULTS: [{"output", "status", "error", "drawn"}],
"drawn" null or [{"x": [...], "y": [...], "colour", "point"}]."""

import builtins
import contextlib
import io
import json
import random
import runpy
import signal
import sys
import traceback

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

from run_random import RunRandom  # noqa: E402

SECONDS = 20  # a program still running then is stopped, and counts as failed


class TimeOut(Exception):
    pass


def on_alarm(signum, frame):
    raise TimeOut()


def run(job):
    answers = open(job["answers"], encoding="utf-8").read().split("\n")
    if answers and answers[-1] == "":
        answers.pop()
    shown = []

    def answer(prompt=""):
        if prompt.startswith("Appuyez sur Entrée"):
            return ""
        if not answers:
            raise EOFError("plus de réponse")
        return answers.pop(0)

    def show():
        shown.append([{"x": [float(v) for v in line.get_xdata()],
                       "y": [float(v) for v in line.get_ydata()],
                       "colour": line.get_color(), "point": line.get_marker() == "o"}
                      for line in plt.gca().get_lines()])

    builtins.input = answer
    drawn = RunRandom(job["seed"])
    random.random, random.randint = drawn.random, drawn.randint
    plt.show = show
    plt.close("all")
    output = io.StringIO()
    status, error = 0, ""
    signal.alarm(SECONDS)
    try:
        with contextlib.redirect_stdout(output):
            runpy.run_path(job["program"], run_name="__main__")
    except SystemExit as stop:
        status = 0 if stop.code in (None, 0) else 1
        error = str(stop.code)
    except BaseException:
        status = 1
        error = traceback.format_exc(limit=-3)
    finally:
        signal.alarm(0)
    return {"output": output.getvalue(), "status": status, "error": error,
            "drawn": shown[-1] if shown else None}


def main():
    jobs = json.load(open(sys.argv[1], encoding="utf-8"))
    signal.signal(signal.SIGALRM, on_alarm)
    results = [run(job) for job in jobs]
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        json.dump(results, out)


if __name__ == "__main__":
    main()
