# The test pictures of the animation benchmarks, sourced by them. `make_picture NAME SIZE OUT`
# writes OUT as a 24-bit BMP of SIZE (WxH): `testcard` is ffmpeg's testsrc2 card (flat colours,
# fine detail), `mandelbrot` its Mandelbrot picture (smooth gradients), `plasma` ImageMagick's
# fractal plasma (noise all over, like a photo's texture; seeded, so every run draws the same),
# `drawing` a drawing of a few flat colours with soft (antialiased) edges, as stickers are drawn.
make_picture() {
  case "$1" in
    drawing)
      local w=${2%x*} h=${2#*x}
      convert -size "$2" xc:'#fdf3d8' \
        -fill '#e8553e' -stroke '#3a2a20' -strokewidth $((w / 64 + 1)) \
        -draw "circle $((w / 2)),$((h / 2)) $((w / 2)),$((h / 8))" \
        -fill '#ffd23f' -draw "ellipse $((w * 3 / 8)),$((h * 2 / 5)) $((w / 10)),$((h / 8)) 0,360" \
        -fill '#ffd23f' -draw "ellipse $((w * 5 / 8)),$((h * 2 / 5)) $((w / 10)),$((h / 8)) 0,360" \
        -fill '#3a2a20' -stroke none \
        -draw "circle $((w * 3 / 8)),$((h * 2 / 5)) $((w * 3 / 8 + w / 24)),$((h * 2 / 5))" \
        -draw "circle $((w * 5 / 8)),$((h * 2 / 5)) $((w * 5 / 8 + w / 24)),$((h * 2 / 5))" \
        -fill none -stroke '#3a2a20' -strokewidth $((w / 48 + 1)) \
        -draw "arc $((w * 3 / 8)),$((h / 2)) $((w * 5 / 8)),$((h * 3 / 4)) 20,160" \
        -fill '#4a9d5b' -stroke none \
        -draw "polygon 0,$((h * 7 / 8)) $((w / 4)),$((h * 3 / 4)) $((w / 2)),$((h * 7 / 8)) $((w * 3 / 4)),$((h * 3 / 4)) $w,$((h * 7 / 8)) $w,$h 0,$h" \
        -type TrueColor "BMP3:$3" ;;
    testcard|mandelbrot)
      local source=testsrc2
      [ "$1" = mandelbrot ] && source=mandelbrot
      ffmpeg -loglevel error -y -f lavfi -i "${source}=size=$2:rate=1" -frames:v 1 \
        -pix_fmt bgr24 "$3" ;;
    plasma)
      convert -seed 7 -size "$2" plasma:fractal -type TrueColor "BMP3:$3" ;;
    *) echo "unknown picture $1" >&2; return 1 ;;
  esac
}

# `render_animation RENDER PICTURE SHAPE SIZE OUT` writes PICTURE (as make_picture) of SIZE as
# OUT and renders its 40 frames of SHAPE beside it with the kinetta-render RENDER (width mode 0,
# shading on).
render_animation() {
  make_picture "$2" "$4" "$5"
  "$1" --shape "$3" --frames 40 --width-mode 0 --shade 1 "$5" >/dev/null 2>&1
}

# `report_rows TOOL WORK NAME SIZE ROW...` measures each file of an animation of NAME's 40 frames
# in WORK with `TOOL compare` and prints its line; a ROW is "LABEL FILE SECONDS".
report_rows() {
  local tool=$1 work=$2 name=$3 size=$4
  shift 4
  local row count bytes psnr
  for row in "$@"; do
    set -- $row
    read -r count bytes psnr < <("$tool" compare "$work/$2" "$work/$name.bmp")
    [ "$count" = 40 ] || { echo "$1 wrote $count frames" >&2; exit 1; }
    printf '%-22s %-13s %9.2f %11d %9s\n' "$name $size" "$1" "$3" "$bytes" "$psnr"
  done
}
