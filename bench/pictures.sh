# The test pictures of the animation benchmarks, sourced by them. `make_picture NAME SIZE OUT`
# writes OUT as a 24-bit BMP of SIZE (WxH): `testcard` is ffmpeg's testsrc2 card (flat colours,
# fine detail), `mandelbrot` its Mandelbrot picture (smooth gradients), `plasma` ImageMagick's
# fractal plasma (noise all over, like a photo's texture; seeded, so every run draws the same).
make_picture() {
  case "$1" in
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
