#!/usr/bin/env bash
# The exported page in a real browser: kinetta-render writes a few frames and the page with
# --html, headless Chromium opens it with virtual time, and the DOM it dumps must show the
# script playing the frames in order and wrapping back to frame 00, with the page's times.
# Then the MP4 and the WebM play in a <video> element (their time advances, a screenshot shows
# the picture)
# and the APNG in an <img> (it loads, the browser finds all its frames and endless play, and in
# a browser window two screenshots at different times differ).
# Screenshots of the playing page and files are left in OUT for a person to look at.
#
# usage: browser_test.sh KINETTA_RENDER CHROMIUM OUT
set -euo pipefail

render=$1
chromium=$2
out=$3

if [ ! -x "$chromium" ]; then
  # scripts/setup-deps.sh installs Debian's chromium; without it this test cannot pass.
  echo "FAIL: no Chromium found (install the chromium package)" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kinetta-browser.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/pics" "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A source picture with shapes that show the slide: 96 x 64, white with a red bar and a blue
# square. Without ImageMagick the repository's small test picture serves.
source_picture="$work/pics/cat.bmp"
if ! convert -size 96x64 xc:white -fill red -draw 'rectangle 8,8 40,56' \
    -fill blue -draw 'rectangle 56,20 80,44' "BMP3:$source_picture" 2>/dev/null; then
  cp "$(dirname "$0")/../data/good.bmp" "$source_picture"
fi

# Four frames of the plane at 0.1 s each.
"$render" --shape plane --width-mode 0 --frames 4 --shade 1 --background '#FFFFFF' \
  --seed 1 --html 0.1 "$source_picture" >"$work/render.log" 2>&1 ||
  fail "kinetta-render: $(cat "$work/render.log")"
for f in cat00.bmp cat01.bmp cat02.bmp cat03.bmp animate.htm vorrel.class vorrel.js; do
  [ -f "$work/pics/$f" ] || fail "$f was not written"
done

# Headless Chromium on a page; $1 the page, $2 the virtual time budget in ms, then extra flags.
browse() {
  local page=$1 budget=$2
  shift 2
  local profile
  profile=$(mktemp -d "$work/profile.XXXXXX")
  timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --virtual-time-budget="$budget" "$@" "file://$page" \
    2>"$work/chromium.log"
}

# The value of data attribute $2 of the viewer's canvas in the DOM dump $1.
attribute() {
  sed -n "s/.*<canvas[^>]*class=\"vorrel\"[^>]*$2=\"\\([^\"]*\\)\".*/\\1/p" "$1" | head -n 1
}

# 1. The page as exported: frames 00 01 02 03, then 00 again, each shown 100 ms.
browse "$work/pics/animate.htm" 2000 --dump-dom >"$work/dom.html" ||
  fail "chromium: $(cat "$work/chromium.log")"
grep -q '<canvas' "$work/dom.html" || fail "no canvas in the page: $(cat "$work/dom.html")"
grep -q '<applet' "$work/dom.html" && fail "the applet element was not replaced"
shown=$(attribute "$work/dom.html" data-vorrel-shown)
waits=$(attribute "$work/dom.html" data-vorrel-waits)
echo "shown: $shown"
case "$shown" in
  "00 01 02 03 00 01"*) ;;
  *) fail "frames shown out of order or without wrapping: '$shown'" ;;
esac
case "$waits" in
  "100 100 100 100 100"*) ;;
  *) fail "frame times '$waits', expected 100 each" ;;
esac
grep -q 'width="96" height="64"' "$work/dom.html" || fail "canvas not at the frame size 96 x 64"

# 2. Different first, middle and last times (the applet's Time0, Time1, Time9).
sed -e "s/NAME='Time0' value=' 100'/NAME='Time0' value=' 300'/" \
    -e "s/NAME='Time9' value=' 100'/NAME='Time9' value=' 500'/" \
    "$work/pics/animate.htm" >"$work/pics/times.htm"
browse "$work/pics/times.htm" 3000 --dump-dom >"$work/times-dom.html" ||
  fail "chromium: $(cat "$work/chromium.log")"
waits=$(attribute "$work/times-dom.html" data-vorrel-waits)
case "$waits" in
  "300 100 100 500 300 100 100 500"*) ;;
  *) fail "frame times '$waits', expected 300 100 100 500 repeating" ;;
esac

# 3. Count -1 (no frames): an empty canvas, nothing shown.
sed -e "s/NAME='Count' value=' 3'/NAME='Count' value='-1'/" \
    "$work/pics/animate.htm" >"$work/pics/none.htm"
browse "$work/pics/none.htm" 1000 --dump-dom >"$work/none-dom.html" ||
  fail "chromium: $(cat "$work/chromium.log")"
grep -q '<canvas' "$work/none-dom.html" || fail "no canvas for Count -1"
[ -z "$(attribute "$work/none-dom.html" data-vorrel-shown)" ] || fail "frames shown for Count -1"

# 4. A picture named with Japanese letters, a blank and '#': the page escapes File1 and the
#    script asks for the right files.
mkdir -p "$work/named"
cp "$source_picture" "$work/named/ねこ #1.bmp"
"$render" --shape plane --width-mode 0 --frames 2 --shade 0 --html 0.1 \
  "$work/named/ねこ #1.bmp" >"$work/render.log" 2>&1 ||
  fail "kinetta-render: $(cat "$work/render.log")"
grep -q "NAME='File1' value='&#12397;&#12371; #1'" "$work/named/animate.htm" ||
  fail "File1 not escaped: $(grep File1 "$work/named/animate.htm")"
browse "$work/named/animate.htm" 1000 --dump-dom >"$work/named-dom.html" ||
  fail "chromium: $(cat "$work/chromium.log")"
case "$(attribute "$work/named-dom.html" data-vorrel-shown)" in
  "00 01 00"*) ;;
  *) fail "frames of 'ねこ #1' not shown: '$(attribute "$work/named-dom.html" data-vorrel-shown)'" ;;
esac

# The screenshot, for a person to look at.
browse "$work/pics/animate.htm" 1150 --screenshot="$out/animate.png" --window-size=480,360 \
  --hide-scrollbars >/dev/null || fail "screenshot: $(cat "$work/chromium.log")"
[ -s "$out/animate.png" ] || fail "no screenshot written"

# 5. The MP4, the WebM and the APNG of a sphere on the picture, 0.2 s a frame.
"$render" --shape sphere --width-mode 0 --frames 6 --background '#000000' --delay 0.2 \
  --mp4 "$work/pics/cat.mp4" --webm "$work/pics/cat.webm" --apng "$work/pics/cat-anim.png" \
  "$source_picture" \
  >"$work/render.log" 2>&1 || fail "kinetta-render: $(cat "$work/render.log")"
cat >"$work/pics/video.htm" <<'HTML'
<!DOCTYPE html><html><body style="margin:0;background:#000">
<video id="v" autoplay muted loop style="width:384px"></video>
<p id="t" style="color:#000">-1</p>
<script>
  // The furthest time the video named after '?' reached.
  const v = document.getElementById('v');
  v.src = location.search.slice(1);
  let furthest = 0;
  v.addEventListener('canplay', () => v.play());
  setInterval(() => {
    furthest = Math.max(furthest, v.currentTime);
    document.getElementById('t').dataset.time = furthest;
  }, 50);
</script></body></html>
HTML
for video in cat.mp4 cat.webm; do
  browse "$work/pics/video.htm?$video" 5000 --autoplay-policy=no-user-gesture-required \
    --dump-dom >"$work/video-dom.html" ||
    fail "chromium: $(cat "$work/chromium.log")"
  played=$(sed -n 's/.*data-time="\([0-9.]*\)".*/\1/p' "$work/video-dom.html" | head -n 1)
  echo "$video time: ${played:-none}"
  awk -v t="${played:-0}" 'BEGIN { exit !(t > 0.2) }' ||
    fail "$video did not play (currentTime '${played}')"
done
browse "$work/pics/video.htm?cat.mp4" 1500 --screenshot="$out/video.png" --window-size=480,360 \
  --hide-scrollbars >/dev/null || fail "screenshot: $(cat "$work/chromium.log")"
# The picture's red bar and blue square on the black page: a share of the pixels is red.
red=$(convert "$out/video.png" -fuzz 30% -fill black +opaque red -fill white -opaque red \
  -format '%[fx:mean]' info:)
echo "red share of the video screenshot: $red"
awk -v r="$red" 'BEGIN { exit !(r > 0.01) }' || fail "the video screenshot does not show the picture"

# The APNG in an <img>: it loads at the frame size, and the browser's own decoder finds every
# frame (once the whole file is read) and endless play.
cat >"$work/pics/apng.htm" <<'HTML'
<!DOCTYPE html><html><body style="margin:0;background:#000">
<img id="i" src="cat-anim.png" style="width:384px;image-rendering:pixelated"><p id="t"></p>
<script>
  const img = document.getElementById('i'), t = document.getElementById('t');
  img.decode().then(() => {
    t.dataset.width = img.naturalWidth;
    return fetch('cat-anim.png');
  }).then(r => r.arrayBuffer()).then(b => new ImageDecoder({data: b, type: 'image/png'}))
    .then(d => d.tracks.ready.then(() => d.completed).then(() => {
      t.dataset.frames = d.tracks.selectedTrack.frameCount;
      t.dataset.plays = d.tracks.selectedTrack.repetitionCount;
    })).catch(e => { t.dataset.error = e; });
</script></body></html>
HTML
# The decoder works on another thread, which virtual time does not wait for: on a busy machine
# the page is asked again.
for attempt in 1 2 3; do
  browse "$work/pics/apng.htm" 5000 --allow-file-access-from-files --dump-dom \
    >"$work/apng-dom.html" || fail "chromium: $(cat "$work/chromium.log")"
  apng=$(grep -o '<p id="t"[^>]*>' "$work/apng-dom.html" || true)
  case "$apng" in *data-plays=*) break ;; esac
done
echo "APNG in the browser: $apng"
case "$apng" in
  *'data-width="96" data-frames="6" data-plays="Infinity"'*) ;;
  *) fail "the APNG does not load as 6 frames playing for ever: '$apng'" ;;
esac

# The APNG playing: headless Chromium does not advance image animations, so a windowed Chromium
# on a private X server shows the page, and screenshots 0.15 s apart must not all be the same
# (the frames change every 0.2 s). The image's part of each screenshot is kept in OUT.
cat >"$work/pics/apng-plain.htm" <<'HTML'
<!DOCTYPE html><html><body style="margin:0;background:#000">
<img src="cat-anim.png" style="width:384px;image-rendering:pixelated"></body></html>
HTML
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  chromium=$1 page=$2 profile=$3 out=$4
  "$chromium" --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --kiosk \
    --window-size=640,480 "file://$page" >/dev/null 2>&1 &
  browser=$!
  # Wait (up to 60 s on a busy machine) until the picture is on the screen.
  for wait in $(seq 120); do
    sleep 0.5
    lit=$(import -window root -crop 384x256+0+0 -format "%[fx:mean]" info: 2>/dev/null || echo 0)
    awk -v m="$lit" "BEGIN { exit !(m > 0.05) }" && break
  done
  for i in 1 2 3 4 5 6; do
    import -window root -crop 384x256+0+0 "$out/apng-$i.png"
    sleep 0.15
  done
  kill $browser; wait $browser 2>/dev/null || true
' _ "$chromium" "$work/pics/apng-plain.htm" "$work/profile-apng" "$out" ||
  fail "the windowed browser could not be started"
distinct=$(md5sum "$out"/apng-[1-6].png | cut -d' ' -f1 | sort -u | wc -l)
echo "APNG in a window: $distinct different screenshots of 6"
[ "$distinct" -ge 2 ] || fail "the APNG does not play in the browser window"

echo "PASS (screenshots: $out/animate.png, video.png, apng-1.png to apng-6.png)"
