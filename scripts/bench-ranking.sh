#!/usr/bin/env bash
# make bench-ranking: the ranking service's entry pages and registrations per second at
# concurrency 1, 8 and 64, over a database of ENTRIES made-up entries, beside nginx serving the
# same entry page saved as a file (the ceiling of HTTP on this machine). Loopback only. Needs
# nginx-light and apache2-utils (scripts/install-deps.sh --with-bench). Not a test: the figures
# depend on how busy the machine is.
set -euo pipefail
build="${1:-build}"
entries="${ENTRIES:-100000}"
port="${RANKING_PORT:-18009}"
nginx_port="${NGINX_PORT:-18080}"
requests="${REQUESTS:-5000}"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
for tool in nginx ab curl; do
  command -v "$tool" >/dev/null || { echo "bench-ranking: $tool is missing (install-deps.sh --with-bench)"; exit 1; }
done
body_model="$(dirname "$0")/../tests/server/fuzz/seeds/client_body"

echo "filling a database with $entries entries..."
"$build/bin/velora-ranking-seed" "$work/ranking.sqlite" "$entries" "$body_model"
"$build/bin/velora-ranking" --listen "127.0.0.1:$port" --db "$work/ranking.sqlite" --rate 0 \
  2>"$work/service.log" &
pids+=($!)
service="http://127.0.0.1:$port"
for _ in $(seq 100); do curl -sf "$service/api/entries?per_page=1" >/dev/null && break; sleep 0.1; done

page="/Velora/09en/ranking.php?ID=$((entries / 2))"
mkdir -p "$work/www"
curl -sf "$service$page" >"$work/www/entry.html"
cat >"$work/nginx.conf" <<CONF
worker_processes 2;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  default_type text/html;
  server { listen 127.0.0.1:$nginx_port; root $work/www; }
}
CONF
nginx -p "$work" -c "$work/nginx.conf" -g 'daemon off;' &
pids+=($!)
for _ in $(seq 100); do curl -sf "http://127.0.0.1:$nginx_port/entry.html" >/dev/null && break; sleep 0.1; done

rate() { ab -q "$@" | awk '/Requests per second/ { print $4 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
# Distinct entry pages, each drawn from the database rather than kept from an earlier request.
distinct() {
  local c="$1" n="$2" start end
  start=$(date +%s.%N)
  shuf -i 1-"$entries" -n "$n" | sed "s|.*|$service/Velora/09en/ranking.php?ID=&|" |
    xargs -P "$c" -n 20 curl -s -o /dev/null -o /dev/null -o /dev/null -o /dev/null \
      -o /dev/null -o /dev/null -o /dev/null -o /dev/null -o /dev/null -o /dev/null \
      -o /dev/null -o /dev/null -o /dev/null -o /dev/null -o /dev/null -o /dev/null \
      -o /dev/null -o /dev/null -o /dev/null -o /dev/null
  end=$(date +%s.%N)
  awk -v n="$n" -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", n / (e - s) }'
}
# Registrations, each its own machine, posted as the client posts them.
register() {
  local c="$1" n="$2" start end
  for i in $(seq "$n"); do
    sed "s/^UserName=[^&]*/UserName=post $c-$i/" "$body_model" >"$work/post-$c-$i"
  done
  start=$(date +%s.%N)
  seq "$n" | xargs -P "$c" -I{} curl -s -o /dev/null -H 'Content-Type: application/x-www-form-urlencoded' \
    --data-binary "@$work/post-$c-{}" "$service/Velora/09/regist.php"
  end=$(date +%s.%N)
  awk -v n="$n" -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", n / (e - s) }'
}

echo "per second, $entries entries; ratio = service / nginx serving the page as a file"
printf '%-40s %10s %10s %8s\n' "" service nginx ratio
declare -A ceiling
for c in 1 8 64; do
  s=$(rate -n "$requests" -c "$c" "$service$page")
  n=$(rate -n "$requests" -c "$c" "http://127.0.0.1:$nginx_port/entry.html")
  ceiling[$c]="$n"
  printf '%-40s %10s %10s %8s\n' "same entry page, c=$c" "$s" "$n" "$(ratio "$s" "$n")"
done
s=$(rate -k -n "$requests" -c 8 "$service$page")
n=$(rate -k -n "$requests" -c 8 "http://127.0.0.1:$nginx_port/entry.html")
printf '%-40s %10s %10s %8s\n' "same entry page, c=8, keep-alive" "$s" "$n" "$(ratio "$s" "$n")"
for c in 1 8 64; do
  s=$(distinct "$c" 200)
  n="${ceiling[$c]}"
  printf '%-40s %10s %10s %8s\n' "distinct entry pages, c=$c" "$s" "$n" "$(ratio "$s" "$n")"
done
for c in 1 8 64; do
  printf '%-40s %10s\n' "registrations, c=$c" "$(register "$c" $((c < 8 ? 8 : c)))"
done
# A post that waited in the queue beyond its deadline is answered 503, to be sent again later.
for status in 200 503; do
  printf 'registrations answered %s: %s\n' "$status" \
    "$(grep -c " POST /Velora/09/regist.php $status " "$work/service.log" || true)"
done
