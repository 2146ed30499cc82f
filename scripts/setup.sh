#!/usr/bin/env bash
# Installs every Debian package Quillmere needs to build, test and run.
# Safe to run again: packages already present are left alone.
set -euo pipefail

PACKAGES=(
  build-essential dpkg-dev cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  libgl-dev
  zlib1g-dev libdeflate-dev libjpeg62-turbo-dev libsodium-dev
  libenchant-2-dev hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-fr
  libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev
  clang libclang-rt-14-dev
  fonts-liberation2 fonts-material-design-icons-iconfont fonts-noto-color-emoji
  xdg-utils
  desktop-file-utils appstream file lintian
  xvfb xdotool
  cmark poppler-utils python3-html5lib
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
