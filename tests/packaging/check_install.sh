#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the layout, and runs both installed programs
# from an unrelated folder: the window program must find its probe library and say so in its log.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
pid=""
cleanup() {
  if [[ -n "$pid" ]]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$prefix"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix/usr" >/dev/null
root="$prefix/usr"
for f in bin/velora09 bin/velora lib/velora09/libprobix.so lib/velora09/libvelora09.so \
         share/velora09/data/pci.db share/velora09/data/vendor.pci share/velora09/Velora09.txt \
         share/velora09/Probix.txt share/applications/velora09.desktop \
         share/velora09/template/text/Standard.txt share/velora09/template/text/Full.txt \
         share/velora09/template/text/Forum.txt share/velora09/template/html/Standard.html \
         share/velora09/template/html/Full.html \
         share/icons/hicolor/scalable/apps/velora09.svg \
         share/icons/hicolor/48x48/apps/velora09.png share/icons/hicolor/128x128/apps/velora09.png \
         share/icons/hicolor/256x256/apps/velora09.png share/man/man1/velora.1.gz; do
  [[ -e "$root/$f" ]] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$root/share/applications/velora09.desktop"
gzip -t "$root/share/man/man1/velora.1.gz"
for program in velora09 velora; do
  readelf -d "$root/bin/$program" | grep -q 'RUNPATH.*\[\$ORIGIN/\.\./lib/velora09\]' ||
    { echo "$program: no RUNPATH to lib/velora09"; exit 1; }
done

cd /
out="$("$root/bin/velora" info info)"
grep -q '^libprobix.so | Release 275 | ' <<<"$out" || { echo "velora info info: $out"; exit 1; }
grep -q '^libvelora09.so | ' <<<"$out" || { echo "velora info info: $out"; exit 1; }

# The window program, on the offscreen platform, with its user folders and lock in the prefix.
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$prefix/config" XDG_STATE_HOME="$prefix/state"
export XDG_RUNTIME_DIR="$prefix/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
"$root/bin/velora09" >/dev/null 2>&1 &
pid=$!
log="$XDG_STATE_HOME/velora09/velora09.log"
for _ in $(seq 600); do
  grep -q 'Velora Initialize OK!!' "$log" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
grep -q 'Probix.dll Init OK!!' "$log" || { echo "log:"; cat "$log" 2>/dev/null; exit 1; }
grep -q 'Velora Initialize OK!!' "$log" || { echo "log:"; cat "$log"; exit 1; }
[[ -f "$XDG_CONFIG_HOME/velora09/velora09.ini" ]] || { echo "no settings file"; exit 1; }
[[ ! -e "$root/bin/velora09.ini" && ! -e "$root/bin/velora09.log" ]] ||
  { echo "wrote into its bin folder"; exit 1; }
echo "installed layout OK"
