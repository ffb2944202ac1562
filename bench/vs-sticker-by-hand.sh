#!/usr/bin/env bash
# A LINE animated sticker (APNG within 320 x 270, 5 to 20 frames, plays x length at most 4 s, at
# most 300 KB) of the flag waving a picture, made two ways:
#   kinetta  kinetta-render --shape flag --frames 24 --background transparent
#              --sticker line OUT PICTURE
#            timed from the picture to the sticker, as the user runs it.
#   by hand  from the 24 full-size frame files of the same run (made beforehand, not timed), as
#            a careful person does it:
#              ffmpeg -framerate 5 -i FRAMES%02d.png
#                -vf "fps=20/4.8,scale=320:270:force_original_aspect_ratio=decrease:flags=area"
#                hand%02d.png                          (20 frames evenly through the 4.8 s loop)
#              pngquant --force --ext .png COLOURS hand*.png   (in place; its default dithering)
#              apngasm OUT hand01.png 1 5 -l1          (0.2 s a frame, one play: 4 s; its
#                                                       default 7-Zip deflate, 15 iterations)
#            with COLOURS 256, then 128, 64, ... until the file is within 300 KB.
# For each: seconds, bytes, PSNR in dB against the frames scaled with every colour (each way's
# own: Kinetta's tells its own; the hand file's against its scaled frames before pngquant), and
# both against ffmpeg's scaled frames where the sizes agree ("vs ffmpeg"), all laid over black;
# and whether kinetta-render --check-sticker line passes every rule.
# Needs ffmpeg, pngquant and apngasm (scripts/setup-deps.sh installs them).
# Usage: bench/vs-sticker-by-hand.sh [build-dir] [picture]   (default /tmp/e2e/photo.jpg)
set -euo pipefail

build=${1:-build}
picture=${2:-/tmp/e2e/photo.jpg}
render="$build/app/kinetta-render"
[ -x "$render" ] || { echo "build first: $render is missing" >&2; exit 1; }
for cmd in ffmpeg pngquant apngasm; do
  command -v "$cmd" >/dev/null || { echo "$cmd is missing: bash scripts/setup-deps.sh" >&2; exit 1; }
done
[ -f "$picture" ] || { echo "no picture: $picture" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ext=${picture##*.}
cp "$picture" "$work/pic.$ext"
limit=$((300 * 1024))

# dB of the APNG $1's frames against the PNG frames $2 (a pattern), over black.
psnr() {
  ffmpeg -v error -i "$1" -i "$2" -filter_complex \
    "[0]settb=1/5,setpts=N,format=rgba,premultiply=inplace=1,format=rgb24[a];[1]settb=1/5,setpts=N,format=rgba,premultiply=inplace=1,format=rgb24[b];[a][b]psnr=stats_file=-" \
    -f null - 2>&1 | awk '{for (i = 1; i <= NF; ++i) if ($i ~ /^mse_avg:/) {split($i, v, ":"); s += v[2]; n++}}
      END {if (s == 0) print "inf"; else printf "%.2f", 10 * log(255 * 255 / (s / n)) / log(10)}'
}

check() { "$render" --check-sticker line "$1" >/dev/null 2>&1 && echo pass || echo fail; }

# Kinetta, from the picture.
start=$(date +%s.%N)
kinetta_said=$("$render" --shape flag --frames 24 --background transparent --sticker line \
  "$work/kinetta.png" "$work/pic.$ext" 2>/dev/null | tail -1)
kinetta_s=$(echo "$(date +%s.%N) - $start" | bc)
kinetta_psnr=$(echo "$kinetta_said" | sed -n 's/.*PSNR \([0-9.∞]*\) dB.*/\1/p')

# By hand, from the full-size frames.
mkdir "$work/full" "$work/hand"
cp "$picture" "$work/full/pic.$ext"
"$render" --quiet --shape flag --frames 24 --background transparent "$work/full/pic.$ext"
hand_start=$(date +%s.%N)
ffmpeg -v error -framerate 5 -i "$work/full/pic%02d.png" \
  -vf "fps=20/4.8,scale=320:270:force_original_aspect_ratio=decrease:flags=area" \
  "$work/hand/hand%02d.png"
colours=256
tries=""
while :; do
  rm -rf "$work/q" "$work/hand.png"
  mkdir "$work/q"
  cp "$work/hand/"hand??.png "$work/q/"
  pngquant --force --ext .png "$colours" "$work/q/"hand??.png
  apngasm "$work/hand.png" "$work/q/hand01.png" 1 5 -l1 >/dev/null
  size=$(stat -c %s "$work/hand.png")
  tries="$tries $colours:$size"
  [ "$size" -le "$limit" ] || [ "$colours" -le 2 ] && break
  colours=$((colours / 2))
done
hand_end=$(date +%s.%N)
hand_s=$(echo "$hand_end - $hand_start" | bc)
hand_psnr=$(psnr "$work/hand.png" "$work/hand/hand%02d.png")
# Both against the same frames, ffmpeg's scaled ones, where the sizes agree.
kinetta_cross=$(psnr "$work/kinetta.png" "$work/hand/hand%02d.png" || true)

printf '%s, %s\n' "$(basename "$picture")" "$(identify -format '%w x %h' "$picture" 2>/dev/null || echo '?')"
printf '%-8s %8s %9s %8s %9s %6s  %s\n' way seconds bytes "PSNR dB" "vs ffmpeg" rules chosen
printf '%-8s %8.2f %9d %8s %9s %6s  %s\n' kinetta "$kinetta_s" "$(stat -c %s "$work/kinetta.png")" \
  "$kinetta_psnr" "${kinetta_cross:--}" "$(check "$work/kinetta.png")" \
  "$(echo "$kinetta_said" | sed 's/.*(line: //; s/)$//')"
printf '%-8s %8.2f %9d %8s %9s %6s  %s\n' "by hand" "$hand_s" "$(stat -c %s "$work/hand.png")" \
  "$hand_psnr" "$hand_psnr" "$(check "$work/hand.png")" "colours:bytes tried:$tries"
