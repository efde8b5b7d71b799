#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: a normal build, then the tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer. The reports are checked by
# opening them in LibreOffice Calc, which this installs (without its GUI); one window is tested
# under a decimal-comma locale, generated into the build folder from the locales package. The
# desktop tests (tests/desktop) run the built program on Xvfb with openbox, driven by xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh libreoffice-calc-nogui locales xvfb xdotool xclip openbox x11-utils imagemagick python3
source scripts/jobs.sh
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAKIN_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVAKIN_SANITIZE=ON -DTOVAKIN_BENCH=OFF -DTOVAKIN_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
# Fuzz targets: built and replayed over their corpora only, so the command gives the same answer every run.
FUZZ_SECONDS=0 bash scripts/fuzz.sh
