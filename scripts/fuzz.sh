#!/usr/bin/env bash
# Runs a libFuzzer campaign on one reader and grows its committed corpus:
#   scripts/fuzz.sh TARGET SECONDS     (TARGET: bmp, highscores, psd or wav)
# Builds the target with clang and sanitizers in build-fuzz/ (FUZZ_BUILD to
# change), fuzzes for SECONDS from tests/fuzz/TARGET/corpus (and seeds/),
# then minimises everything back into that corpus with -merge=1. Findings go
# to build-fuzz/findings/TARGET/, never into the source tree. Exits 1 on a
# finding. Each campaign's executions are added to build-fuzz/executions.tsv.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: $0 bmp|highscores|psd|wav SECONDS" >&2; exit 2; }
[ $# -eq 2 ] || usage
target=$1 seconds=$2
case $target in bmp | highscores | psd | wav) ;; *) usage ;; esac
[[ $seconds =~ ^[0-9]+$ ]] || usage

build=${FUZZ_BUILD:-build-fuzz}
source=tests/fuzz/$target
corpus=$source/corpus
work=$build/campaign/$target
findings=$build/findings/$target
exe=$build/tests/fuzz/$target/fuzz_$target
run=(nice -n "${FUZZ_NICE:-15}")

CC=clang CXX=clang++ "${run[@]}" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTZ_FUZZ=ON -DTZ_SANITIZE=ON -DTZ_BENCH=OFF -DTZ_WERROR=OFF >/dev/null
"${run[@]}" cmake --build "$build" --target "fuzz_$target" -j "$(nproc)"

rm -rf "$work"
mkdir -p "$work/new" "$work/merged" "$findings" "$corpus"
inputs=("$corpus")
[ -d "$source/seeds" ] && inputs+=("$source/seeds")
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# Huge pages for the shadow memory: a forged sound size asks for a buffer of up
# to 256 MB, and poisoning its shadow page by page costs more than the run.
export ASAN_OPTIONS=detect_leaks=1:no_huge_pages_for_shadow=0 UBSAN_OPTIONS=print_stacktrace=1

echo "== fuzzing $target for $seconds s (log: $work/fuzz.log)"
status=0
"${run[@]}" "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work/new" "${inputs[@]}" >"$work/fuzz.log" 2>&1 || status=$?
# 72 is libFuzzer's status when SIGINT reaches it alone (pkill -INT fuzz_wav):
# the campaign ends early, and what it ran still counts and is merged.
[ "$status" -eq 72 ] && status=0
executions=$(awk '/stat::number_of_executed_units/ { n = $2 } END { print n + 0 }' "$work/fuzz.log")
printf '%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$target" "$seconds" "$executions" "$status" \
    >>"$build/executions.tsv"

echo "== minimising the corpus"
"${run[@]}" "$exe" -merge=1 -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$findings/" \
    "$work/merged" "${inputs[@]}" "$work/new" >"$work/merge.log" 2>&1 || status=$?
if [ -n "$(ls -A "$work/merged")" ]; then
    rm -rf "$corpus"
    mv "$work/merged" "$corpus"
fi

total=$(awk -v t="$target" '$2 == t { n += $4 } END { print n + 0 }' "$build/executions.tsv")
echo "target:      $target"
echo "executions:  $executions (all campaigns in $build: $total)"
echo "corpus:      $(ls "$corpus" | wc -l) files, $(du -sh "$corpus" | cut -f1)"
if [ "$status" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
    echo "findings:    YES (exit status $status), see $findings/ and $work/fuzz.log"
    ls -l "$findings"
    exit 1
fi
echo "findings:    none"
