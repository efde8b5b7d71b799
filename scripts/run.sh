#!/usr/bin/env bash
# Builds the application folder and starts the program from it. It builds in a folder of its
# own, build-run/: the test command configures build/ with other warning flags, so sharing that
# folder would recompile everything each time one runs after the other.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program shows windows: without a display Qt would end with its platform plug-in error, so
# that is said before anything is installed or built.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'TEXT'
Tovakin は画面(デスクトップ)で使うプログラムです。表示できる画面(X11 または Wayland)が見つかりません。
デスクトップの中から起動して下さい。画面のない環境では Xvfb の下で起動できます(Debian のパッケージ xvfb):
  xvfb-run -a bash scripts/run.sh
Tovakin is a desktop program and found no display (X11 or Wayland) it can show its windows on.
Start it from a desktop session, or, where there is none, under Xvfb (Debian package xvfb):
  xvfb-run -a bash scripts/run.sh
TEXT
  exit 3
fi
bash scripts/deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAKIN_WERROR=OFF >/dev/null
source scripts/jobs.sh
cmake --build build-run -j "$jobs" --target tovakin
exec build-run/Tovakin/tovakin "$@"
