#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with the installed clang and runs each of them over
# its committed corpus, then fuzzes each for a few seconds from it. Fails when a target does not
# build, when an input of the corpus crashes it, or when the short run finds a crash. Called by
# scripts/test.sh; run it alone to check the targets after a change to a reader.
#   FUZZ_SECONDS  seconds of fuzzing per target after the corpus (default 3; 0 only replays)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang libclang-rt-dev  # clang with libFuzzer and the sanitizers' runtimes
seconds=${FUZZ_SECONDS:-3}
source scripts/jobs.sh
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAKIN_FUZZ=ON \
  -DTOVAKIN_BENCH=OFF -DTOVAKIN_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "$jobs" --target tovakin_fuzz

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
for corpus in tests/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  target=build-fuzz/fuzz_$name
  [[ -x $target ]] || { echo "fuzz.sh: no target for corpus $corpus" >&2; exit 1; }
  mapfile -t inputs < <(find "$corpus" -type f | sort)
  echo "== $name: ${#inputs[@]} corpus inputs"
  if ((${#inputs[@]})); then
    "$target" -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$scratch/" "${inputs[@]}" >"$scratch/$name.log" 2>&1 ||
      { cat "$scratch/$name.log" >&2; echo "fuzz.sh: $name failed on its corpus" >&2; exit 1; }
  fi
  if ((seconds > 0)); then
    mkdir -p "$scratch/$name"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$scratch/" \
      "$scratch/$name" "$corpus" >"$scratch/$name.log" 2>&1 ||
      { tail -n 60 "$scratch/$name.log" >&2; echo "fuzz.sh: $name found a crash (above)" >&2; exit 1; }
    grep -E "^#[0-9]+ *DONE" "$scratch/$name.log" || tail -n 1 "$scratch/$name.log"
  fi
done
