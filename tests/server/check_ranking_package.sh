#!/usr/bin/env bash
# Packs the ranking service's Debian package and checks what it holds: the program, the unit
# (hardened: systemd's own exposure score must stay low), the maintainer scripts, libpq.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack --config CPackRankingConfig.cmake >/dev/null)
deb="$(ls "$build"/velora-ranking_*_amd64.deb)"
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/velora-ranking usr/lib/systemd/system/velora-ranking.service; do
  [[ -e "$work/root/$f" ]] || { echo "not in the package: $f"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q 'libpq5' || { echo "no libpq5 dependency"; exit 1; }
dpkg-deb -I "$deb" postinst >/dev/null
unit="$work/root/usr/lib/systemd/system/velora-ranking.service"
for key in DynamicUser=yes ProtectSystem=strict StateDirectory=velora-ranking NoNewPrivileges=yes; do
  grep -qx "$key" "$unit" || { echo "unit lacks $key"; exit 1; }
done
if command -v systemd-analyze >/dev/null; then
  systemd-analyze security --offline=true --threshold=20 --root="$work/root" \
    /usr/lib/systemd/system/velora-ranking.service >/dev/null ||
    { echo "the unit's exposure is above 2.0"; exit 1; }
fi
"$work/root/usr/bin/velora-ranking" --help | grep -q -- '--trusted-proxy'
echo "ranking package OK"
