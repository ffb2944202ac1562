#!/usr/bin/env bash
# Animated GIF from 40 rendered frames, side by side with the usual one-liners:
#   kinetta    the desktop program's animation file (kinetta_animation encode gif)
#   ffmpeg     two passes: palettegen, then paletteuse (its default dithering)
#   magick     ImageMagick's convert FRAMES -layers Optimize
#   gifski     gifski 1.7.1 -Q 90 (its default quality), from PNG copies of the frames made
#              beforehand (it reads no BMP; the copying is not timed)
# for a 512 x 512 sphere and a 1920 x 1080 water animation, each of a test card (flat colours
# and fine detail), a Mandelbrot picture (smooth gradients) and a fractal plasma (noise, like a
# photo's texture). For each: seconds (best of RUNS, default 3), file size, and PSNR in dB
# against the BMP frames over every frame as a viewer shows it. Kinetta's lossless WebP is
# listed for comparison. TOOLS (default "kinetta ffmpeg magick gifski webp") picks the columns.
# gifski comes from the npm registry into ~/.cache/kinetta-bench; without npm or the network
# its column is left out.
# Usage: bench/vs-gif-tools.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
tool="$build/bench/kinetta_animation"
runs=${RUNS:-3}
tools=${TOOLS:-kinetta ffmpeg magick gifski webp}
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

here=$(dirname "$0")
source "$here/timing.sh"
source "$here/pictures.sh"

gifski=""
if [[ " $tools " == *" gifski "* ]]; then
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/kinetta-bench
  gifski="$cache/node_modules/gifski/bin/debian/gifski"
  if [ ! -x "$gifski" ] &&
     ! { command -v npm >/dev/null &&
         npm install --silent --prefix "$cache" gifski@1.7.1 >/dev/null 2>&1; }; then
    echo "gifski left out: it could not be installed from the npm registry" >&2
    gifski=""
  fi
  [ -x "${gifski:-/nonexistent}" ] || gifski=""
fi

ffmpeg_gif() {  # ffmpeg_gif FRAMES-PATTERN OUT
  ffmpeg -loglevel error -y -framerate 5 -i "$1" -vf palettegen "$work/palette.png" &&
    ffmpeg -loglevel error -y -framerate 5 -i "$1" -i "$work/palette.png" -lavfi paletteuse "$2"
}

gifski_gif() {  # gifski_gif PNG-PREFIX WIDTH HEIGHT OUT
  "$gifski" -q -Q 90 --fps 5 -W "$2" -H "$3" -o "$4" "$1"[0-9][0-9].png
}

printf '%-22s %-13s %9s %11s %9s\n' animation tool seconds bytes PSNR
for picture in testcard mandelbrot plasma; do
  for case in sphere:512x512 water:1920x1080; do
    shape=${case%%:*}; size=${case#*:}
    name="$picture-$shape"
    render_animation "$render" "$picture" "$shape" "$size" "$work/$name.bmp"
    frames=("$work/$name"[0-9][0-9].bmp)

    rows=()
    for t in $tools; do
      case $t in
        kinetta) rows+=("kinetta k.gif $(best "$tool" encode gif "$work/$name.bmp" "$work/k.gif")") ;;
        ffmpeg) rows+=("ffmpeg f.gif $(best ffmpeg_gif "$work/$name%02d.bmp" "$work/f.gif")") ;;
        magick) rows+=("magick m.gif $(best convert "${frames[@]}" -layers Optimize "$work/m.gif")") ;;
        webp) rows+=("webp k.webp $(best "$tool" encode webp "$work/$name.bmp" "$work/k.webp")") ;;
        gifski)
          [ -n "$gifski" ] || continue
          ffmpeg -loglevel error -y -i "$work/$name%02d.bmp" "$work/png-$name%02d.png"
          read -r w h < <(identify -format '%w %h\n' "${frames[0]}")
          rows+=("gifski s.gif $(best gifski_gif "$work/png-$name" "$w" "$h" "$work/s.gif")")
          rm -f "$work/png-$name"[0-9][0-9].png ;;
      esac
    done
    report_rows "$tool" "$work" "$name" "$size" "${rows[@]}"
  done
done
