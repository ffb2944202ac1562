#!/usr/bin/env bash
# What writing the APNG adds to a run's peak memory, beside the ffmpeg program's whole peak
# making the same APNG from the same frames: kinetta-render renders 12 frames of the plane of
# a fractal plasma (photo-like, so the file is large) at 1920 x 1080 and at 3840 x 2160, once
# with --apng and once without; ffmpeg then makes the APNG from those BMP frames. Peak resident
# memory from /usr/bin/time -v, in MB.
# Usage: bench/apng-memory.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
[ -x "$render" ] || { echo "build first: $render is missing" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing: sudo apt-get install -y ffmpeg" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing: sudo apt-get install -y time" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

here=$(dirname "$0")
source "$here/pictures.sh"

# Peak resident memory of a command in MB.
peak() {
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1
  awk '{printf "%.0f", $1 / 1024}' "$work/peak"
}

printf '%-10s %12s %12s %12s %12s\n' size frames-only with-apng added ffmpeg-apng
for size in 1920x1080 3840x2160; do
  make_picture plasma "$size" "$work/p.bmp"
  run=("$render" -q --shape plane --frames 12 --width-mode 0 --shade 0 "$work/p.bmp")
  without=$(peak "${run[@]}")
  with=$(peak "${run[@]}" --apng "$work/k.png")
  ffmpeg_peak=$(peak ffmpeg -loglevel error -y -framerate 5 -i "$work/p%02d.bmp" -f apng \
    -plays 0 "$work/f.png")
  printf '%-10s %12s %12s %12s %12s\n' "$size" "$without" "$with" $((with - without)) \
    "$ffmpeg_peak"
done
