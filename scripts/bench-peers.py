#!/usr/bin/env python3
"""Runs the peer benchmark programs and prints one comparison table.

The Qt 6 program (our chart, Qt Charts, QCustomPlot for Qt 6, the QPainter
floors) and the Qt 5 program (QCustomPlot and Qwt as Debian builds them, the
floors under Qt 5) run one after the other with Google Benchmark's JSON
output. Every benchmark runs several times (--repetitions); the table gives
the median CPU time per paint (or load) of those repetitions, and the ratios
of ours to the best peer and to the floors. The tables are printed and
written to bench/results/peers.md. `make bench-peers` builds both programs
and runs this script; python3 standard library only.
"""

import argparse
import datetime
import json
import os
import platform
import re
import statistics
import subprocess
import sys

SIZES = [1000, 100000, 1000000, 10000000]

# (row label, benchmark name without the size) of the line table.
OURS = [
    ("ours, `daMinMax`", "Line/ours_daMinMax"),
    ("ours, default segments", "Line/ours_segments"),
]
PEERS = [
    ("QCustomPlot, adaptive sampling (Qt 6)", "Line/qcustomplot_qt6"),
    ("QCustomPlot, adaptive sampling (Qt 5)", "Line/qcustomplot_qt5"),
    ("Qwt, `FilterPoints` (Qt 5)", "Line/qwt"),
    ("Qt Charts, `QLineSeries` (Qt 6)", "Line/qtcharts"),
]
FLOORS = [
    ("min/max floor (Qt 6)", "Line/floor_minmax_qt6"),
    ("polyline floor (Qt 6)", "Line/floor_polyline_qt6"),
    ("min/max floor (Qt 5)", "Line/floor_minmax_qt5"),
    ("polyline floor (Qt 5)", "Line/floor_polyline_qt5"),
]

SUFFIX = re.compile(r"(/(iterations|repeats|min_time|real_time|manual_time)(:[^/]*)?)+$")


def base_name(run_name):
    """The benchmark's name without the options Google Benchmark appends."""
    return SUFFIX.sub("", run_name)


class Results:
    """Median times (ms) and skip reasons by benchmark name, from JSON files."""

    def __init__(self, clock):
        self.clock = clock
        self.times = {}  # name -> list of ms, one per repetition
        self.errors = {}  # name -> message
        self.contexts = []  # (program, context)
        self.busy = set()  # names whose wall-clock time exceeded CPU time by 20 %

    def load(self, program, path):
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        self.contexts.append((program, data.get("context", {})))
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
        for b in data.get("benchmarks", []):
            name = base_name(b.get("run_name", b["name"]))
            if b.get("error_occurred"):
                self.errors[name] = b.get("error_message", "error")
                continue
            if b.get("run_type", "iteration") != "iteration":
                continue
            unit = scale[b.get("time_unit", "ns")]
            cpu = b["cpu_time"] * unit
            real = b["real_time"] * unit
            self.times.setdefault(name, []).append(cpu if self.clock == "cpu" else real)
            if real > 1.2 * cpu:
                self.busy.add(name)

    def median(self, name):
        values = self.times.get(name)
        return statistics.median(values) if values else None

    def cell(self, name):
        value = self.median(name)
        if value is not None:
            return fmt_ms(value)
        if name in self.errors:
            return self.errors[name]
        return "not run"


def fmt_ms(ms):
    if ms >= 1000:
        return f"{ms:,.0f} ms"
    if ms >= 100:
        return f"{ms:.0f} ms"
    if ms >= 10:
        return f"{ms:.1f} ms"
    if ms >= 1:
        return f"{ms:.2f} ms"
    return f"{ms:.3f} ms"


def fmt_ratio(a, b):
    if a is None or b is None or b <= 0:
        return "–"
    return f"{a / b:.2f} x"


def size_label(n):
    return f"{n:,}"


def run_program(program, out_json, log, args):
    cmd = [
        program,
        f"--benchmark_out={out_json}",
        "--benchmark_out_format=json",
        f"--benchmark_repetitions={args.repetitions}",
        "--benchmark_display_aggregates_only=true",
        f"--benchmark_min_time={args.min_time}",
    ]
    if args.filter:
        cmd.append(f"--benchmark_filter={args.filter}")
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    print(f"bench-peers: running {' '.join(cmd)} (console output: {log})", flush=True)
    with open(log, "w", encoding="utf-8") as f:
        result = subprocess.run(cmd, stdout=f, stderr=subprocess.STDOUT, env=env, check=False)
    if result.returncode != 0:
        sys.exit(f"bench-peers: {program} failed with exit code {result.returncode}; see {log}")


def check_checksums(results):
    """Both programs must have drawn the same walks."""
    seen = {}
    for program, context in results.contexts:
        for n in SIZES:
            key = f"walk_{n}"
            if key not in context:
                sys.exit(f"bench-peers: {program} reports no checksum for {n} points")
            if key in seen and seen[key][1] != context[key]:
                sys.exit(
                    f"bench-peers: the walks of {n} points differ: "
                    f"{seen[key][0]} {seen[key][1]}, {program} {context[key]}"
                )
            seen[key] = (program, context[key])
    return {k: v[1] for k, v in seen.items()}


def best_peer(results, n):
    """(time, label) of the fastest peer at size n, or (None, None)."""
    best = (None, None)
    for label, name in PEERS:
        t = results.median(f"{name}/{n}")
        if t is not None and (best[0] is None or t < best[0]):
            best = (t, label.split(",")[0] + (" (Qt 5)" if "Qt 5" in label else " (Qt 6)"))
    return best


def line_table(results):
    lines = ["| | " + " | ".join(size_label(n) for n in SIZES) + " |", "|---" * (len(SIZES) + 1) + "|"]
    for label, name in OURS + PEERS + FLOORS:
        lines.append(f"| {label} | " + " | ".join(results.cell(f"{name}/{n}") for n in SIZES) + " |")
    bests = [best_peer(results, n) for n in SIZES]
    lines.append(
        "| best peer | "
        + " | ".join(f"{fmt_ms(t)} ({who})" if t is not None else "–" for t, who in bests)
        + " |"
    )
    ratio_rows = [
        ("ours `daMinMax` / best peer", "Line/ours_daMinMax", None),
        ("ours segments / best peer", "Line/ours_segments", None),
        ("ours `daMinMax` / min/max floor (Qt 6)", "Line/ours_daMinMax", "Line/floor_minmax_qt6"),
        ("ours segments / polyline floor (Qt 6)", "Line/ours_segments", "Line/floor_polyline_qt6"),
    ]
    for label, ours, floor in ratio_rows:
        cells = []
        for i, n in enumerate(SIZES):
            mine = results.median(f"{ours}/{n}")
            other = bests[i][0] if floor is None else results.median(f"{floor}/{n}")
            cells.append(fmt_ratio(mine, other))
        lines.append(f"| **{label}** | " + " | ".join(cells) + " |")
    return lines


def other_table(results):
    header = ["Operation", "ours", "QCustomPlot (Qt 6)", "QCustomPlot (Qt 5)", "Qt Charts (Qt 6)", "Qwt (Qt 5)",
              "ours / best peer"]
    rows = [
        ("load 1,000,000 points (ours: `AddXY` in an update block; QCustomPlot `setData`; "
         "Qt Charts `replace`; Qwt `setSamples`)",
         "Load/ours_addxy/1000000",
         ["Load/qcustomplot_qt6/1000000", "Load/qcustomplot_qt5/1000000", "Load/qtcharts/1000000",
          "Load/qwt/1000000"]),
        ("bulk load of 1,000,000 ordered points (ours: `AddArrays`)",
         "Load/ours_bulk/1000000",
         ["Load/qcustomplot_qt6/1000000", "Load/qcustomplot_qt5/1000000", "Load/qtcharts/1000000",
          "Load/qwt/1000000"]),
        ("paint of 100,000,000 points (ours: `daMinMax`; QCustomPlot adaptive sampling)",
         "Line/ours_daMinMax/100000000",
         ["Line/qcustomplot_qt6/100000000", "Line/qcustomplot_qt5/100000000", None, None]),
        ("one right-button pan step over 100,000,000 points (ours) against their paint (QCustomPlot)",
         "Pan/ours_daMinMax/100000000",
         ["Line/qcustomplot_qt6/100000000", "Line/qcustomplot_qt5/100000000", None, None]),
        ("append 1,000 points to 10,000,000 and repaint (ours: `AddArrays`; QCustomPlot `addData`, `replot`)",
         "Stream/ours_daMinMax/10000000",
         ["Stream/qcustomplot_qt6/10000000", "Stream/qcustomplot_qt5/10000000", None, None]),
        ("1,000-point chart with axes, labels, grid and title, aliased",
         "FullChart/ours/1000", ["FullChart/qcustomplot_qt6/1000", "FullChart/qcustomplot_qt5/1000", None, None]),
        ("the same, our default canvas (slanted strokes antialiased)",
         "FullChart/ours_antialiased/1000",
         ["FullChart/qcustomplot_qt6/1000", "FullChart/qcustomplot_qt5/1000", None, None]),
    ]
    lines = ["| " + " | ".join(header) + " |", "|---" * len(header) + "|"]
    for label, ours, peers in rows:
        cells = [results.cell(ours)]
        times = []
        for p in peers:
            if p is None:
                cells.append("–")
                continue
            cells.append(results.cell(p))
            t = results.median(p)
            if t is not None:
                times.append(t)
        ratio = fmt_ratio(results.median(ours), min(times) if times else None)
        lines.append(f"| {label} | " + " | ".join(cells) + f" | {ratio} |")
    return lines


def target_table(results):
    def m(name):
        return results.median(name)

    def qcp(name_tail):
        ts = [t for t in (m(f"Line/qcustomplot_qt6/{name_tail}"), m(f"Line/qcustomplot_qt5/{name_tail}")) if t]
        return min(ts) if ts else None

    rows = []

    def add(label, value, limit, text):
        if value is None:
            rows.append(f"| {label} | not measured | – |")
            return
        rows.append(f"| {label} | {text} | {'met' if value <= limit else '**not met**'} |")

    ours1m = m("Line/ours_daMinMax/1000000")
    floor1m = m("Line/floor_minmax_qt6/1000000")
    if ours1m and floor1m:
        add("`daMinMax` 1,000,000: at most 1.2 x the min/max floor", ours1m / floor1m, 1.2,
            f"{fmt_ms(ours1m)} / {fmt_ms(floor1m)} = {ours1m / floor1m:.2f} x")
    else:
        add("`daMinMax` 1,000,000: at most 1.2 x the min/max floor", None, 0, "")
    q = qcp("1000000")
    if ours1m and q:
        add("`daMinMax` 1,000,000: at least 1.5 x faster than QCustomPlot (the faster of its two builds)",
            1.5 * ours1m / q, 1.0, f"QCustomPlot {fmt_ms(q)} / ours {fmt_ms(ours1m)} = {q / ours1m:.2f} x faster")
    else:
        add("`daMinMax` 1,000,000: at least 1.5 x faster than QCustomPlot", None, 0, "")
    ours10m = m("Line/ours_daMinMax/10000000")
    floor10m = m("Line/floor_minmax_qt6/10000000")
    if ours10m and floor10m:
        add("`daMinMax` 10,000,000: at most 1.3 x the min/max floor", ours10m / floor10m, 1.3,
            f"{fmt_ms(ours10m)} / {fmt_ms(floor10m)} = {ours10m / floor10m:.2f} x")
    else:
        add("`daMinMax` 10,000,000: at most 1.3 x the min/max floor", None, 0, "")
    seg = m("Line/ours_segments/1000000")
    poly = m("Line/floor_polyline_qt6/1000000")
    if seg and poly:
        add("default segments 1,000,000: at most 1.5 x the polyline floor", seg / poly, 1.5,
            f"{fmt_ms(seg)} / {fmt_ms(poly)} = {seg / poly:.2f} x")
    else:
        add("default segments 1,000,000: at most 1.5 x the polyline floor", None, 0, "")
    full = m("FullChart/ours/1000")
    fq = [t for t in (m("FullChart/qcustomplot_qt6/1000"), m("FullChart/qcustomplot_qt5/1000")) if t]
    if full and fq:
        add("1,000-point chart with axes etc.: faster than QCustomPlot's (the faster of its two builds)",
            full / min(fq), 0.999999, f"ours {fmt_ms(full)}, QCustomPlot {fmt_ms(min(fq))}")
    else:
        add("1,000-point chart with axes etc.: faster than QCustomPlot's", None, 0, "")
    return ["| Target | Measured | |", "|---|---|---|"] + rows


def package_versions():
    names = ["libqt6core6", "libqt5core5a", "libqt6charts6", "libqcustomplot2.1", "libqcustomplot2.1-qt6",
             "libqwt-qt5-6", "libbenchmark1debian"]
    out = []
    for n in names:
        r = subprocess.run(["dpkg-query", "-W", "-f=${Version}", n], capture_output=True, text=True, check=False)
        if r.returncode == 0 and r.stdout:
            out.append(f"{n} {r.stdout}")
    return ", ".join(out)


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown CPU"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--qt6", default="build-bench/bin/sextant_peers_bench", help="the Qt 6 program")
    parser.add_argument("--qt5", default="build-bench-peers5/bin/sextant_peers_qt5_bench", help="the Qt 5 program")
    parser.add_argument("--results", default="bench/results", help="folder for the JSON files, logs and peers.md")
    parser.add_argument("--repetitions", type=int, default=5, help="runs of every benchmark (median taken)")
    parser.add_argument("--min-time", type=float, default=0.3, help="seconds each run lasts at least")
    parser.add_argument("--filter", default="", help="--benchmark_filter for both programs")
    parser.add_argument("--clock", choices=["cpu", "real"], default="cpu", help="CPU or wall-clock time")
    parser.add_argument("--no-run", action="store_true", help="only build the tables from the last JSON files")
    args = parser.parse_args()

    os.makedirs(args.results, exist_ok=True)
    programs = [("Qt 6 program", args.qt6, "peers-qt6"), ("Qt 5 program", args.qt5, "peers-qt5")]
    load_before = os.getloadavg()
    started = datetime.datetime.now()
    if not args.no_run:
        for _, program, stem in programs:
            if not os.access(program, os.X_OK):
                sys.exit(f"bench-peers: {program} is not built (make bench-peers builds it)")
            run_program(program, os.path.join(args.results, stem + ".json"),
                        os.path.join(args.results, stem + ".log"), args)
    load_after = os.getloadavg()
    minutes = (datetime.datetime.now() - started).total_seconds() / 60

    results = Results(args.clock)
    for label, _, stem in programs:
        results.load(label, os.path.join(args.results, stem + ".json"))
    checksums = check_checksums(results)

    out = [
        "# Our chart against the Qt peers",
        "",
        f"- Date: {started:%Y-%m-%d %H:%M}; {os.cpu_count()} cores, {cpu_model()}; "
        f"load average {load_before[0]:.1f} before, {load_after[0]:.1f} after"
        + ("" if args.no_run else f"; the run took {minutes:.1f} min") + ".",
        f"- Packages: {package_versions()}.",
        f"- {args.clock.upper()} time per operation, median of {args.repetitions} runs of at least "
        f"{args.min_time} s each (one paint per run where a paint takes seconds); image 817 x 433 "
        "ARGB32 premultiplied, 1-pixel solid pen in our line colour, nothing antialiased.",
        "- Same random walks in both programs (checksums "
        + ", ".join(f"{n:,}: {checksums[f'walk_{n}'][:8]}" for n in SIZES)
        + ").",
    ]
    if results.busy:
        out.append(
            f"- Wall-clock time exceeded CPU time by more than 20 % in {len(results.busy)} benchmarks "
            "(the machine was busy)."
        )
    out += ["", "## One line of N random-walk points, full repaint", ""]
    out += line_table(results)
    out += ["", "## Loading and a small chart", ""]
    out += other_table(results)
    out += ["", "## Targets", ""]
    out += target_table(results)
    text = "\n".join(out) + "\n"
    print()
    print(text)
    path = os.path.join(args.results, "peers.md")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    print(f"bench-peers: tables written to {path}")


if __name__ == "__main__":
    main()
