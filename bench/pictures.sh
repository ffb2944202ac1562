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
