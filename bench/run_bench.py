#!/usr/bin/python3
"""run_bench.py - the voxel-loop benchmark beside the numpy peer, on the same workloads.

Runs tandrel_bench (every instruction-set path and the one-voxel-at-a-time reference) and the
numpy peer (GEMM over all voxels, float64 and float32) for W1 and W2, then prints per workload
the analysis times, GFLOP/s, the ratio to the one-core limit and the numpy ratios (numpy time /
our time), with the targets: W1 <= 10 ms, W2 <= 150 ms, numpy float64 / ours >= 25.

  run_bench.py --bench BUILD/bench/tandrel_bench --peer ../shared/bench/peer_numpy.py
"""
import argparse
import json
import os
import subprocess
import sys

TARGET_SECONDS = {"W1": 0.010, "W2": 0.150}
TARGET_NUMPY_RATIO = 25.0


def run_json(cmd):
    out = subprocess.run(cmd, capture_output=True, text=True, check=True).stdout
    return [json.loads(line) for line in out.splitlines() if line.startswith("{")]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--bench", required=True, help="the tandrel_bench program")
    ap.add_argument("--peer", required=True, help="peer_numpy.py")
    ap.add_argument("--repeat", type=int, default=5, help="repetitions; the best time counts")
    ap.add_argument("--workload", default="all", choices=["W1", "W2", "all"])
    a = ap.parse_args()

    ours = run_json([a.bench, "--json", "--workload", a.workload, "--repeat", str(a.repeat)])
    peer_ok = os.path.exists(a.peer)
    if not peer_ok:
        print(f"numpy peer not found at {a.peer}: numpy ratios left out", file=sys.stderr)

    failures = []
    for w in ours:
        name = w["workload"]
        numpy = {}
        if peer_ok:
            runs = run_json([sys.executable, a.peer, "--workload", name, "--json",
                             "--repeat", str(min(a.repeat, 3))])[0]
            numpy = {dt: r["best_s"] for dt, r in runs["runs"].items()}
            blas = runs["blas"]
        limit = w["limit_s"]
        print(f"\n{name}: {w['analysed']} of {w['voxels']} voxels analysed, {w['gflop']:.2f} GFLOP "
              f"in the matrix-vector products, one-core limit {limit * 1e3:.1f} ms")
        if numpy:
            print(f"  numpy peer ({', '.join(blas['libraries'])}, {blas['blas_threads']} threads): "
                  f"float64 {numpy['float64'] * 1e3:.0f} ms, float32 {numpy['float32'] * 1e3:.0f} ms")
        print("  | path | time | processor time | GFLOP/s | x limit | numpy f64 / ours | "
              "numpy f32 / ours | maps |")
        print("  |---|---|---|---|---|---|---|---|")
        for path, r in w["paths"].items():
            s = r["seconds"]
            f64 = f"{numpy['float64'] / s:.1f}x" if numpy else "-"
            f32 = f"{numpy['float32'] / s:.1f}x" if numpy else "-"
            maps = "reference" if path == "reference" else (
                "bit-identical" if r["identical"] else "DIFFER")
            print(f"  | {path} | {s * 1e3:.1f} ms | {r['cpu_seconds'] * 1e3:.1f} ms | "
                  f"{w['gflop'] / s:.1f} | {s / limit:.2f} | {f64} | {f32} | {maps} |")
            if not r["identical"]:
                failures.append(f"{name} {path}: maps differ from the reference")
        print(f"  analyseVoxels: {w['allocations']} allocations; peak {w['peak_mb']:.1f} MB "
              f"(maps included); with both residuals kept {w['peak_mb_kept']:.1f} MB for "
              f"{w['residual_mb']:.1f} MB of residuals")

        engine = {p: r for p, r in w["paths"].items() if p != "reference"}
        best_path, best = min(engine.items(), key=lambda item: item[1]["seconds"])
        verdict = "met" if best["seconds"] <= TARGET_SECONDS[name] else "NOT met"
        print(f"  target {TARGET_SECONDS[name] * 1e3:.0f} ms: {verdict} "
              f"({best_path} {best['seconds'] * 1e3:.1f} ms)")
        if numpy:
            ratio = numpy["float64"] / best["seconds"]
            verdict = "met" if ratio >= TARGET_NUMPY_RATIO else "NOT met"
            print(f"  target numpy float64 / ours >= {TARGET_NUMPY_RATIO:.0f}: {verdict} ({ratio:.1f}x)")
    for f in failures:
        print(f"error: {f}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
