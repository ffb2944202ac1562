#!/usr/bin/env bash
# Animated GIF from 40 rendered frames, side by side with the usual one-liners:
#   kinetta    the desktop program's animation file (kinetta_animation encode gif)
#   ffmpeg     two passes: palettegen, then paletteuse (its default dithering)
#   magick     ImageMagick's convert FRAMES -layers Optimize
#   gifski     gifski 1.7.1 -Q 90 (its default quality), from PNG copies of the frames made
#              beforehand (it reads no BMP; the copying is not timed)
# and the other files for the same frames beside them:
#   webp       Kinetta's lossless WebP (kinetta_animation encode webp)
#   img2webp   libwebp's img2webp -lossless at its default effort, from the PNG copies
#   apng       Kinetta's APNG (kinetta_animation encode apng)
#   ffmpeg-apng  ffmpeg's APNG of the frames (-f apng -plays 0)
# for a 512 x 512 sphere (shading on) of a flat-colour drawing with soft edges, and a 512 x 512
# sphere and a 1920 x 1080 water animation, each of a test card (flat colours and fine detail),
# a Mandelbrot picture (smooth gradients) and a fractal plasma (noise, like a photo's texture).
# For each: seconds (best of RUNS, default 3), file size, and PSNR in dB against the BMP frames
# over every frame as a viewer shows it ("inf" when every pixel is exact). TOOLS (default
# "kinetta ffmpeg magick gifski webp img2webp apng ffmpeg-apng") picks the rows; CASES (default
# all) the animations, as PICTURE:SHAPE:SIZE words.
# gifski comes from the npm registry into ~/.cache/kinetta-bench; without npm or the network
# its rows are left out, as are img2webp's without the webp package.
# Usage: bench/vs-gif-tools.sh [build-dir]
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
tool="$build/bench/kinetta_animation"
runs=${RUNS:-3}
tools=${TOOLS:-kinetta ffmpeg magick gifski webp img2webp apng ffmpeg-apng}
cases=${CASES:-drawing:sphere:512x512 testcard:sphere:512x512 testcard:water:1920x1080
  mandelbrot:sphere:512x512 mandelbrot:water:1920x1080 plasma:sphere:512x512
  plasma:water:1920x1080}
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

img2webp_webp() {  # img2webp_webp PNG-PREFIX OUT
  img2webp -loop 0 -d 200 -lossless "$1"[0-9][0-9].png -o "$2"
}

has_img2webp=""
[[ " $tools " == *" img2webp "* ]] && command -v img2webp >/dev/null && has_img2webp=1

gifski_gif() {  # gifski_gif PNG-PREFIX WIDTH HEIGHT OUT
  "$gifski" -q -Q 90 --fps 5 -W "$2" -H "$3" -o "$4" "$1"[0-9][0-9].png
}

printf '%-22s %-13s %9s %11s %9s\n' animation tool seconds bytes PSNR
for c in $cases; do
  picture=${c%%:*}; rest=${c#*:}; shape=${rest%%:*}; size=${rest#*:}
  name="$picture-$shape"
  render_animation "$render" "$picture" "$shape" "$size" "$work/$name.bmp"
  frames=("$work/$name"[0-9][0-9].bmp)
  # PNG copies for the tools that read no BMP, made once and not timed.
  if [ -n "$gifski" ] || [ -n "$has_img2webp" ]; then
    ffmpeg -loglevel error -y -i "$work/$name%02d.bmp" "$work/png-$name%02d.png"
  fi

  rows=()
  for t in $tools; do
    case $t in
      kinetta) rows+=("kinetta k.gif $(best "$tool" encode gif "$work/$name.bmp" "$work/k.gif")") ;;
      ffmpeg) rows+=("ffmpeg f.gif $(best ffmpeg_gif "$work/$name%02d.bmp" "$work/f.gif")") ;;
      magick) rows+=("magick m.gif $(best convert "${frames[@]}" -layers Optimize "$work/m.gif")") ;;
      webp) rows+=("webp k.webp $(best "$tool" encode webp "$work/$name.bmp" "$work/k.webp")") ;;
      img2webp)
        [ -n "$has_img2webp" ] || continue
        rows+=("img2webp i.webp $(best img2webp_webp "$work/png-$name" "$work/i.webp")") ;;
      apng) rows+=("apng k.png $(best "$tool" encode apng "$work/$name.bmp" "$work/k.png")") ;;
      ffmpeg-apng)
        rows+=("ffmpeg-apng f.png $(best ffmpeg -loglevel error -y -framerate 5 \
          -i "$work/$name%02d.bmp" -f apng -plays 0 "$work/f.png")") ;;
      gifski)
        [ -n "$gifski" ] || continue
        read -r w h < <(identify -format '%w %h\n' "${frames[0]}")
        rows+=("gifski s.gif $(best gifski_gif "$work/png-$name" "$w" "$h" "$work/s.gif")") ;;
    esac
  done
  rm -f "$work/png-$name"[0-9][0-9].png
  report_rows "$tool" "$work" "$name" "$size" "${rows[@]}"
done
