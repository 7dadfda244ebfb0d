#!/usr/bin/env bash
# The comparison end to end under valgrind's memcheck: the real host and plug-in compare both
# designs of a small generated run with every map and both residual runs on. Fails on any invalid
# read or write, any use of an uninitialised value, and any block definitely or indirectly lost.
#   tests/hardening/valgrind_comparison.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/make_demo_data" --out "$work" --dims 12 12 6 --volumes 30 >/dev/null
switches=()
for name in tSNR1 tSNR2 tSNR3 R2adj1 R2adj2 R2adj3 Fmap residuals1 residuals2; do
    switches+=(--set "$name=1")
done

status=0
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
    --log-file="$work/memcheck.log" \
    "$build/quorvis" --set "sdmfile1=$work/demo_task.sdm" --set "sdmfile2=$work/demo_full.sdm" \
    "${switches[@]}" --task start "$work/demo_run.nii.gz" >"$work/out.log" 2>&1 || status=$?

grep -E "ERROR SUMMARY|definitely lost|indirectly lost|in use at exit" "$work/memcheck.log" \
    | sed 's/^==[0-9]*== */valgrind: /'
if [ "$status" -ne 0 ]; then
    echo "valgrind: quorvis exited with status $status (99: memcheck found errors)" >&2
    cat "$work/memcheck.log" "$work/out.log" >&2
    exit 1
fi
maps=$(find "$work" -name '*.map' | wc -l)
if [ "$maps" -eq 0 ]; then
    echo "valgrind: the comparison wrote no maps" >&2
    cat "$work/out.log" >&2
    exit 1
fi
echo "valgrind: clean; the comparison wrote $maps maps"
