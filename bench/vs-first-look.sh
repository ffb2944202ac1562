#!/usr/bin/env bash
# From the open request to a picture the window can show, for a 24-megapixel photo: a 6000 x 4000
# JPEG (quality 92, 4:2:0, ImageMagick's seeded fractal plasma with noise over it, about 8 MB).
# Side by side in one run (interleaved at random, so that a busy machine slows both alike):
#  - whole: the picture decoded whole and reduced to what a 1920 x 1080 screen shows, as every
#    picture opened before the first look;
#  - first look: the JPEG decoded at 1/2, 1/4 or 1/8 and reduced the same way;
#  - first look, then whole: all the window does now, until a run may start;
# each the median of RUNS runs (default 5), the ratio of the first two, and each one's peak
# memory in MiB (GNU time's maximum resident set, in a process of its own).
# Usage: bench/vs-first-look.sh [build-dir]
set -euo pipefail

build=${1:-build}
bench="$build/bench/kinetta_open_bench"
runs=${RUNS:-5}
[ -x "$bench" ] || { echo "build first: $bench is missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing: apt-get install time" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -seed 7 -size 6000x4000 plasma:fractal -attenuate 0.4 +noise Gaussian \
  -quality 92 -sampling-factor 2x2 "$work/photo.jpg"
export KINETTA_OPEN_PICTURE="$work/photo.jpg"
echo "picture: 6000 x 4000 JPEG, $(( $(stat -c %s "$work/photo.jpg") / 1024 )) KiB"

"$bench" --benchmark_repetitions="$runs" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null \
  | awk -F, '/_median"/ { gsub(/"/, ""); sub(/\/real_time_median/, "", $1); print $1, $3, $8 }' \
  > "$work/medians"

# `peak NAME` runs one benchmark alone and prints its peak memory in MiB.
peak() {
  /usr/bin/time -f %M -o "$work/time" "$bench" --benchmark_filter="^$1/" \
    --benchmark_min_time=0.01 >/dev/null 2>&1
  echo $(( $(tail -n 1 "$work/time") / 1024 ))
}

printf '%-30s %10s %10s  %s\n' case ms "peak MiB" ""
while read -r name ms label; do
  printf '%-30s %10.1f %10s  %s\n' "$name" "$ms" "$(peak "$name")" "$label"
done < "$work/medians"
awk '$1 == "BM_WholePicture" { w = $2 } $1 == "BM_FirstLook" { f = $2 }
     END { printf "first look %.1f times sooner than the whole picture\n", w / f }' "$work/medians"
