#!/usr/bin/env bash
# MP4 and APNG from 40 rendered frames, Kinetta beside the ffmpeg program making the same files
# from the same BMP frames:
#   MP4    kinetta_animation encode mp4   vs  ffmpeg -c:v libx264 -crf 18 -pix_fmt yuv420p
#   APNG   kinetta_animation encode apng  vs  ffmpeg -f apng -plays 0
# for a 512 x 512 sphere and a 1920 x 1080 water animation, each of a test card and of a
# Mandelbrot picture (the pictures of bench/vs-gif-tools.sh). For each: seconds (best of RUNS,
# default 3), file size, and PSNR in dB against the BMP frames over every frame as a player
# shows it ("inf" when every pixel is exact).
# Usage: bench/vs-video-tools.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
tool="$build/bench/kinetta_animation"
runs=${RUNS:-3}
for exe in "$render" "$tool"; do
  [ -x "$exe" ] || { echo "build first: $exe is missing" >&2; exit 1; }
done
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing: sudo apt-get install -y ffmpeg" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

here=$(dirname "$0")
source "$here/timing.sh"
source "$here/pictures.sh"

ffmpeg_mp4() { ffmpeg -loglevel error -y -framerate 5 -i "$1" -c:v libx264 -crf 18 -pix_fmt yuv420p "$2"; }
ffmpeg_apng() { ffmpeg -loglevel error -y -framerate 5 -i "$1" -f apng -plays 0 "$2"; }

printf '%-22s %-13s %9s %11s %9s\n' animation tool seconds bytes PSNR
for picture in testcard mandelbrot; do
  for case in sphere:512x512 water:1920x1080; do
    shape=${case%%:*}; size=${case#*:}
    name="$picture-$shape"
    render_animation "$render" "$picture" "$shape" "$size" "$work/$name.bmp"

    t_km=$(best "$tool" encode mp4 "$work/$name.bmp" "$work/k.mp4")
    t_fm=$(best ffmpeg_mp4 "$work/$name%02d.bmp" "$work/f.mp4")
    t_ka=$(best "$tool" encode apng "$work/$name.bmp" "$work/k.apng")
    t_fa=$(best ffmpeg_apng "$work/$name%02d.bmp" "$work/f.apng")
    report_rows "$tool" "$work" "$name" "$size" "kinetta-mp4 k.mp4 $t_km" \
      "ffmpeg-mp4 f.mp4 $t_fm" "kinetta-apng k.apng $t_ka" "ffmpeg-apng f.apng $t_fa"
  done
done
