#!/usr/bin/env bash
# The whole test suite built once with AddressSanitizer and UndefinedBehaviorSanitizer (clang) into
# build-sanitize/, any report failing it, then every fuzz target replaying its corpus and fuzzing for a
# bounded time. CI runs it after the README's test command; run it yourself before a change that touches
# memory or parsing. The server cases run against PostgreSQL servers that ctest starts, as
# in the main build. FUZZ_SECONDS sets the time per target (20 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSURIBALL_TESTS=ON -DSURIBALL_BENCHES=OFF -DSURIBALL_FUZZ=ON -DSURIBALL_WEBENGINE=OFF "${launcher[@]}" >/dev/null
cmake --build build-sanitize -j "$(nproc)"

# Qt and the system libraries are not instrumented; their own allocations at exit are not ours to judge.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"

seconds=${FUZZ_SECONDS:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in build-sanitize/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    mkdir -p "$work/$name"
    echo "Fuzzing $name for ${seconds}s"
    # New inputs go to a scratch folder; the corpus in the repository stays as it is.
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/$name-" "$work/$name" "fuzz/corpus/$name" 2>"$work/$name.log" || {
        tail -n 60 "$work/$name.log"
        echo "$name found a crash; the input is kept in fuzz/crashes/" >&2
        mkdir -p fuzz/crashes && cp "$work/$name"-* fuzz/crashes/ 2>/dev/null || true
        exit 1
    }
    grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$work/$name.log" | tail -n 1
done
