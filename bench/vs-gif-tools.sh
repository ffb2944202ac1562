#!/usr/bin/env bash
# Animated GIF from 40 rendered frames, side by side with the usual one-liners:
#   kinetta    the desktop program's animation file (kinetta_animation encode gif)
#   ffmpeg     two passes: palettegen, then paletteuse (its default dithering)
#   magick     ImageMagick's convert FRAMES -layers Optimize
# for a 512 x 512 sphere and a 1920 x 1080 water animation, each of a test card (flat colours
# and fine detail) and of a Mandelbrot picture (smooth gradients). For each: seconds (best of
# RUNS, default 3), file size, and PSNR in dB against the BMP frames over every frame as a
# viewer shows it. Kinetta's lossless WebP is listed for comparison.
# Usage: bench/vs-gif-tools.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
tool="$build/bench/kinetta_animation"
runs=${RUNS:-3}
for exe in "$render" "$tool"; do
  [ -x "$exe" ] || { echo "build first: $exe is missing" >&2; exit 1; }
done
for cmd in ffmpeg convert; do
  if ! command -v "$cmd" >/dev/null; then
    echo "$cmd is missing: sudo apt-get install -y ffmpeg imagemagick" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Debian's ImageMagick policy allows 256 MiB of memory and 1 GiB of disk, less than 40 frames
# of 1920 x 2160 take; this policy lets it finish.
mkdir -p "$work/policy"
cat >"$work/policy/policy.xml" <<'EOF'
<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="8GiB"/>
  <policy domain="resource" name="disk" value="16GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
</policymap>
EOF
export MAGICK_CONFIGURE_PATH="$work/policy"

source "$(dirname "$0")/timing.sh"

ffmpeg_gif() {  # ffmpeg_gif FRAMES-PATTERN OUT
  ffmpeg -loglevel error -y -framerate 5 -i "$1" -vf palettegen "$work/palette.png" &&
    ffmpeg -loglevel error -y -framerate 5 -i "$1" -i "$work/palette.png" -lavfi paletteuse "$2"
}

printf '%-22s %-8s %9s %11s %9s\n' animation tool seconds bytes PSNR
for picture in testcard mandelbrot; do
  for case in sphere:512x512 water:1920x1080; do
    shape=${case%%:*}; size=${case#*:}
    name="$picture-$shape"
    if [ "$picture" = testcard ]; then
      ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=${size}:rate=1" -frames:v 1 \
        -pix_fmt bgr24 "$work/$name.bmp"
    else
      ffmpeg -loglevel error -y -f lavfi -i "mandelbrot=size=${size}:rate=1" -frames:v 1 \
        -pix_fmt bgr24 "$work/$name.bmp"
    fi
    "$render" --shape "$shape" --frames 40 --width-mode 0 --shade 1 "$work/$name.bmp" \
      >/dev/null 2>&1
    frames=("$work/$name"[0-9][0-9].bmp)

    t_k=$(best "$tool" encode gif "$work/$name.bmp" "$work/k.gif")
    t_f=$(best ffmpeg_gif "$work/$name%02d.bmp" "$work/f.gif")
    t_m=$(best convert "${frames[@]}" -layers Optimize "$work/m.gif")
    t_w=$(best "$tool" encode webp "$work/$name.bmp" "$work/k.webp")
    for row in "kinetta k.gif $t_k" "ffmpeg f.gif $t_f" "magick m.gif $t_m" \
               "webp k.webp $t_w"; do
      set -- $row
      read -r count bytes psnr < <("$tool" compare "$work/$2" "$work/$name.bmp")
      [ "$count" = 40 ] || { echo "$1 wrote $count frames" >&2; exit 1; }
      printf '%-22s %-8s %9.2f %11d %9s\n' "$name $size" "$1" "$3" "$bytes" "$psnr"
    done
  done
done
