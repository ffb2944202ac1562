#!/usr/bin/env bash
# Times whole runs of kinetta-render on large pictures beside the two floors and ffmpeg, with the
# peak memory of each run (GNU time's maximum resident set):
#  - every shape (the fade-in both with its dots and as the cross-fade) against the cp floor,
#    one finished frame of that shape copied to the run's frame names with one cp each, and the
#    write floor, one process writing that frame to the same names in 1 MiB pieces;
#  - the plane against ffmpeg's scroll, the disk against its rotate and the cross-fade against
#    its fade, each writing the same number of 24-bit BMP frames from the same picture.
# Width mode 0, shading on. Each time is the median of RUNS runs (default 3), measured in one
# run of this script so that the ratios compare like with like on a shared machine.
# Usage: bench/vs-floors.sh [build-dir]; SIZES (default "1920x1080 3840x2160 8192x8192"),
# FRAMES (default 40; pictures of more than 20 megapixels take 10), SHAPES to pick some.
set -euo pipefail

build=${1:-build}
render="$build/app/kinetta-render"
runs=${RUNS:-3}
sizes=${SIZES:-1920x1080 3840x2160 8192x8192}
shapes=${SHAPES:-plane disk sphere cylinder flag water flip cutout fadein crossfade}
[ -x "$render" ] || { echo "build first: $render is missing" >&2; exit 1; }
missing=()
command -v ffmpeg >/dev/null || missing+=(ffmpeg)
[ -x /usr/bin/time ] || missing+=(time)
command -v python3 >/dev/null || missing+=(python3)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "missing: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# `measure CMD...` prints the median wall seconds of RUNS runs and the largest peak memory in
# MiB. Every run starts with the frames of the run before deleted, kinetta-render's beside the
# picture as well as the others' in the output folder: the system hands the memory of deleted
# files back to the next writer far faster than memory never used, which favoured the floors
# (their old frames were deleted before each run, kinetta-render's replaced only as it wrote).
measure() {
  local times=() peak=0 line t m
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" "$work"/pic[0-9]*.bmp && mkdir -p "$work/out"
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1
    line=$(tail -n 1 "$work/time")
    t=${line% *}; m=${line#* }
    times+=("$t")
    [ "$m" -gt "$peak" ] && peak=$m
  done
  printf '%s %d\n' "$(printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" \
    $((peak / 1024))
}

copy_floor() {  # one cp per frame name
  for i in $(seq -w 0 $(($1 - 1))); do cp "$work/frame.bmp" "$work/out/f$i.bmp"; done
}
export -f copy_floor
export work

write_floor() {  # one process, the frame written to every name in 1 MiB pieces
  python3 - "$work/frame.bmp" "$work/out" "$1" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
view = memoryview(data)
for i in range(int(sys.argv[3])):
    with open(f"{sys.argv[2]}/f{i:02d}.bmp", "wb", buffering=0) as f:
        for at in range(0, len(data), 1 << 20):
            f.write(view[at:at + (1 << 20)])
EOF
}
export -f write_floor

ratio() { echo "$1 $2" | awk '{printf "%.2f", $1 / $2}'; }

echo "# $(date -u '+%F %H:%M') UTC, $(nproc) cores, load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %-10s %4s %9s %7s | %9s %6s | %9s %6s | %s\n' size shape n kinetta MiB \
  cp-floor ratio write ratio ffmpeg
for size in $sizes; do
  w=${size%x*}; h=${size#*x}
  n=${FRAMES:-$(( w * h > 20000000 ? 10 : 40 ))}
  src="$work/src-$size.bmp"
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=${size}:rate=1" -frames:v 1 \
    -pix_fmt bgr24 "$src"
  declare -A ff=()
  ff[plane]="scroll=horizontal=1/$n"
  ff[disk]="rotate=2*PI*n/$n"
  ff[crossfade]="fade=t=in:st=0:n=$n"
  for shape in $shapes; do
    args=(--shape "$shape" --shade 1)
    [ "$shape" = crossfade ] && args=(--shape fadein --shade 0)
    cp "$src" "$work/pic.bmp"
    read -r t mib < <(measure "$render" "${args[@]}" --frames "$n" --width-mode 0 --seed 1 \
                        "$work/pic.bmp")
    cp "$work/pic00.bmp" "$work/frame.bmp"
    rm -f "$work"/pic[0-9]*.bmp
    read -r t_cp _ < <(measure bash -c "copy_floor $n")
    read -r t_wr _ < <(measure bash -c "write_floor $n")
    reference=""
    if [ -n "${ff[$shape]:-}" ]; then
      read -r t_ff ff_mib < <(measure ffmpeg -loglevel error -y -loop 1 -i "$src" -frames:v "$n" \
                                -vf "${ff[$shape]},format=bgr24" "$work/out/%02d.bmp")
      reference="${ff[$shape]%%=*} ${t_ff}s ${ff_mib} MiB: ffmpeg takes $(ratio "$t_ff" "$t")x"
    fi
    printf '%-10s %-10s %4d %8ss %7d | %8ss %5sx | %8ss %5sx | %s\n' "$size" "$shape" "$n" \
      "$t" "$mib" "$t_cp" "$(ratio "$t" "$t_cp")" "$t_wr" "$(ratio "$t" "$t_wr")" "$reference"
  done
done
