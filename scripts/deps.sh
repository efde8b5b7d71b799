#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any named on the command line; quiet when
# all are present. The windows need Qt 6 with its Japanese translations (Qt's own buttons and
# file dialog), a Japanese face and the desktop's tools for opening files and web pages.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      libgtest-dev libgmock-dev libbenchmark-dev
      libsqlite3-dev libicu-dev libzip-dev libpugixml-dev libxlsxwriter-dev
      qt6-base-dev qt6-translations-l10n fonts-noto-cjk xdg-utils "$@")
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
