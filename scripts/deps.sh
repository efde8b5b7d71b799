#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any named on the command line; quiet when
# all are present.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      libgtest-dev libgmock-dev libbenchmark-dev
      libsqlite3-dev libicu-dev libzip-dev libpugixml-dev libxlsxwriter-dev "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
