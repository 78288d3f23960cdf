#!/usr/bin/env python3
"""Instructions per steady-state paint of one peers benchmark, by callgrind.

Runs the benchmark twice under callgrind with different run lengths,
collecting only inside the paint (--toggle-collect), and divides the
difference of the totals by the difference of the paint counts: the first
paints (shaping the labels, building indexes) cancel out. With --top N it
also prints the N functions whose inclusive cost per paint is largest.

  QT_QPA_PLATFORM=offscreen python3 scripts/paint-instructions.py \
      build-bench/bin/sextant_peers_bench 'FullChart/ours/1000$' --top 25

For the benchmarks of sextant_bench, name what to collect and count:

  python3 scripts/paint-instructions.py build-bench/bin/sextant_bench \
      'DemoChart/recording$' --collect '*HostPaint*' --count 'TCustomPanelNoCaption::HostPaint'
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

PAINTS = {"ours": "*TOurChart::Paint*", "qcustomplot": "*TQcpChart::Paint*"}
COUNTED = {"ours": "TCustomPanelNoCaption::HostPaint", "qcustomplot": "QCustomPlot::toPainter"}


def run(binary, bench, kind, min_time, out):
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}",
                    f"--toggle-collect={PAINTS[kind]}", binary,
                    f"--benchmark_filter={bench}", f"--benchmark_min_time={min_time}"],
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def paints(out, kind):
    """Calls of the counted paint function (from the call records)."""
    ids = set()
    total = 0
    with open(out) as f:
        lines = f.read().splitlines()
    for i, line in enumerate(lines):
        # Names appear once, with the first fn= or cfn= of their id.
        m = re.match(r"(c?)fn=\((\d+)\)(.*)", line)
        if not m:
            continue
        if COUNTED[kind] in m.group(3):
            ids.add(m.group(2))
        if m.group(1) and m.group(2) in ids and i + 1 < len(lines) and lines[i + 1].startswith("calls="):
            total += int(lines[i + 1].split("=")[1].split()[0])
    return total


def inclusive(out):
    text = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                          check=True, capture_output=True, text=True).stdout
    costs = {}
    for line in text.splitlines():
        m = re.match(r"\s*([\d,]+) \([^)]*\)\s+(\S.*)$", line)
        if m:
            costs[m.group(2)] = int(m.group(1).replace(",", ""))
    return costs


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("binary")
    ap.add_argument("benchmark", help="a --benchmark_filter matching one benchmark")
    ap.add_argument("--kind", choices=sorted(PAINTS), default="ours")
    ap.add_argument("--top", type=int, default=0)
    ap.add_argument("--collect", help="callgrind --toggle-collect pattern (default: the kind's paint)")
    ap.add_argument("--count", help="function whose calls count the paints (default: the kind's)")
    a = ap.parse_args()
    if a.collect:
        PAINTS[a.kind] = a.collect
    if a.count:
        COUNTED[a.kind] = a.count
    with tempfile.TemporaryDirectory() as d:
        short, long_ = os.path.join(d, "short.out"), os.path.join(d, "long.out")
        run(a.binary, a.benchmark, a.kind, 0.05, short)
        run(a.binary, a.benchmark, a.kind, 0.5, long_)
        n1, n2 = paints(short, a.kind), paints(long_, a.kind)
        if n2 <= n1:
            sys.exit(f"paint counts {n1} and {n2}: run longer")
        c1, c2 = inclusive(short), inclusive(long_)
        total = lambda c: c.get("PROGRAM TOTALS", 0)
        per_paint = (total(c2) - total(c1)) / (n2 - n1)
        print(f"{a.benchmark}: {per_paint / 1e6:.3f} million instructions per paint "
              f"({n2 - n1} paints)")
        if a.top:
            rows = sorted(((c2.get(k, 0) - c1.get(k, 0)) / (n2 - n1), k) for k in c2)
            for cost, name in reversed(rows[-a.top:]):
                print(f"{cost / 1e3:10.1f} k  {name[:150]}")


if __name__ == "__main__":
    main()
