#!/usr/bin/env bash
# Times whole runs of kinetta-render side by side with ffmpeg and with plain file copies:
# 40 frames of a 512 x 512 and of a 1920 x 1080 picture.
#  - the disk against ffmpeg's rotate filter writing 24-bit BMP frames;
#  - every shape against the floor: the time cp takes to copy one finished frame file of that
#    shape (frames differ in size from shape to shape) to 40 names.
# Each figure is the best of RUNS runs (default 3). Usage: bench/vs-ffmpeg.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
runs=${RUNS:-3}
[ -x "$render" ] || { echo "build first: $render is missing" >&2; exit 1; }
if ! command -v ffmpeg >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ffmpeg >/dev/null
  else
    echo "ffmpeg is missing: sudo apt-get install -y ffmpeg" >&2
    exit 1
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/timing.sh"
before_each() { rm -rf "$work/out" && mkdir -p "$work/out"; }

copy_floor() {  # copy one finished frame to 40 names, one cp each
  for i in $(seq -w 0 39); do cp "$work/frame.bmp" "$work/out/f$i.bmp"; done
}

printf '%-10s %-10s %10s %10s %8s\n' size shape kinetta reference ratio
for size in 512x512 1920x1080; do
  w=${size%x*}; h=${size#*x}
  src="$work/src-$size"
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=${size}:rate=1" -frames:v 1 -pix_fmt bgr24 "$src.bmp"
  # ffmpeg's rotate: 40 frames, one turn, 24-bit BMP files.
  t_ff=$(best ffmpeg -loglevel error -y -loop 1 -i "$src.bmp" -frames:v 40 \
           -vf "rotate=2*PI*n/40,format=bgr24" "$work/out/%02d.bmp")
  for shape in plane disk sphere cylinder flag water flip cutout fadein; do
    cp "$src.bmp" "$work/out-src.bmp"
    t=$(best "$render" --shape "$shape" --frames 40 --width-mode 0 --shade 1 --seed 1 \
          "$work/out-src.bmp")
    # The floor: one finished frame of this shape copied to 40 names.
    cp "$work/out-src00.bmp" "$work/frame.bmp"
    t_floor=$(best copy_floor)
    if [ "$shape" = disk ]; then
      printf '%-10s %-10s %9.3fs %9.3fs %7.2fx  (ffmpeg rotate / kinetta)\n' "$size" "$shape" \
        "$t" "$t_ff" "$(echo "$t_ff $t" | awk '{print $1/$2}')"
    fi
    printf '%-10s %-10s %9.3fs %9.3fs %7.2fx  (kinetta / cp floor)\n' "$size" "$shape" \
      "$t" "$t_floor" "$(echo "$t $t_floor" | awk '{print $1/$2}')"
  done
done
