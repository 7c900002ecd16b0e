#!/usr/bin/env bash
# Builds the fuzz preset, runs every fuzz target once over its kept crash
# inputs (tests/fuzz/regressions/<target>/), then for SECONDS seconds from a
# copy of its seed corpus. A new crashing input is kept beside the old ones, to
# be committed with its fix. Exits non-zero when any target fails.
# Needs, besides the usual build tools: clang and libclang-rt-14-dev (libFuzzer,
# ASan and UBSan runtimes; only recommended by clang, so not always there).
set -euo pipefail

if [ $# -ne 1 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 SECONDS" >&2
    exit 2
fi
seconds=$1

cd "$(dirname "$0")/../.."
# Builds and runs never overlap with other builds on this machine.
lock=/tmp/karvel-build.lock
targets=(fuzz_profile fuzz_names fuzz_uri_list fuzz_journal fuzz_capture)
# Seeds beyond corpus/<target>/: the capture tests' sample of every format.
declare -A more_seeds=([fuzz_capture]=tests/data/capture)
options=(-rss_limit_mb=2048 -timeout=30)

flock "$lock" cmake --preset fuzz >/dev/null
flock "$lock" cmake --build --preset fuzz -j2

# On tmpfs when there is one: fuzz_profile writes its settings file below it.
base=${TMPDIR:-/tmp}
[ -w /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/karvel-fuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
export KARVEL_FUZZ_SCRATCH=$work

failed=0
for target in "${targets[@]}"; do
    binary=build-fuzz/tests/fuzz/$target
    regressions=tests/fuzz/regressions/$target

    shopt -s nullglob
    kept=("$regressions"/*)
    shopt -u nullglob
    if [ ${#kept[@]} -gt 0 ]; then
        if flock "$lock" "$binary" "${options[@]}" "${kept[@]}" >"$work/$target-regressions.log" 2>&1; then
            echo "$target: ${#kept[@]} kept crash inputs pass"
        else
            echo "$target: a kept crash input fails again" >&2
            tail -n 40 "$work/$target-regressions.log" >&2
            failed=1
        fi
    fi

    # Copies, so that inputs the fuzzer adds stay out of the repository.
    corpus=$work/$target/corpus
    artifacts=$work/$target/artifacts
    mkdir -p "$corpus" "$artifacts"
    cp -R "tests/fuzz/corpus/$target/." "$corpus"
    if [ -n "${more_seeds[$target]:-}" ]; then cp -R "${more_seeds[$target]}/." "$corpus"; fi
    log=$work/$target.log
    status=0
    # Timed once the lock is held, so that waiting for another build does not count.
    exec {lockfd}>>"$lock"
    flock "$lockfd"
    start=$(date +%s%N)
    "$binary" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 {lockfd}>&- || status=$?
    elapsed_ms=$((($(date +%s%N) - start) / 1000000))
    exec {lockfd}>&-
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 || true)
    printf '%s: %s executions in %d.%03d s (%s, exit %d)\n' "$target" "${executions:-?}" \
        $((elapsed_ms / 1000)) $((elapsed_ms % 1000)) "${coverage:-cov: ?}" "$status"

    if [ "$status" -ne 0 ]; then
        failed=1
        grep -E -A 30 'ERROR|invariant broken|runtime error|terminate called' "$log" | head -n 60 >&2 || tail -n 40 "$log" >&2
        mkdir -p "$regressions"
        for input in "$artifacts"/*; do
            [ -e "$input" ] || continue
            cp "$input" "$regressions/"
            echo "$target: crashing input kept as $regressions/$(basename "$input")" >&2
        done
    fi
done

exit "$failed"
