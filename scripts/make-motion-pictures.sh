#!/usr/bin/env bash
# Renders the nine motions with kinetta-render as the small looping GIFs the README opens with,
# from the pictures kept beside them in docs/motions (the flip's is a day over a night face, the
# cut-out's a picture over its stencil). Run after `make build`; the GIFs are committed.
# KINETTA_RENDER names another kinetta-render to use.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
render="${KINETTA_RENDER:-$root/build/app/kinetta-render}"
docs="$root/docs/motions"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every setting given, so that mivet.ini in the program folder changes nothing.
common=(--quiet --width-mode 2 --width 120 --frames 16 --background '#FFFFFF' --delay 0.12
  --seed 7)
for shape in plane disk sphere cylinder flag water flip cutout fadein; do
  case "$shape" in
    flip) picture="$docs/picture-flip.bmp" ;;
    cutout) picture="$docs/picture-cutout.bmp" ;;
    *) picture="$docs/picture.bmp" ;;
  esac
  "$render" "${common[@]}" --shape "$shape" --shade 1 --output "$work/$shape" \
    --gif "$docs/$shape.gif" "$picture"
done
du -ch "$docs"/*.gif | tail -n 1
