#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools use. Safe to run again:
# packages already present are skipped without touching the network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  googletest libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpng-dev zlib1g-dev
  libcurl4-openssl-dev
  libsqlite3-dev libsodium-dev libpq-dev
  postgresql postgresql-common
  clang libclang-rt-dev
  nlohmann-json3-dev
  libfontconfig-dev
  libcairo2-dev
  libsdl2-dev
  libegl-dev libepoxy-dev libgl1-mesa-dri
  libx11-dev libxrandr-dev
  pciutils pci.ids
  iso-codes
  xvfb xauth fonts-ipafont-gothic desktop-file-utils python3-jsonschema
  qt6-translations-l10n
  librsvg2-bin
  fio glmark2-x11
)

# For looking at the ranking service's pages and the HTML reports by hand; CI needs no browser.
# For `make bench-ranking`: nginx as the ceiling of HTTP on the machine, and ab to load both.
for option in "$@"; do
  case "$option" in
    --with-browser) packages+=(chromium) ;;
    --with-bench) packages+=(nginx-light apache2-utils) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
