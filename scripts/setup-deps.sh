#!/usr/bin/env bash
# Installs the Debian packages Kinetta needs to build, test and run, when any is missing.
# As root it runs apt-get; otherwise it prints the apt-get line to run and stops.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk qt6-translations-l10n xvfb xauth imagemagick openbox xdotool ffmpeg webp
  pngquant apngasm
  default-jdk-headless chromium
  libimagequant-dev libgif-dev zlib1g-dev libdeflate-dev libwebp-dev libjpeg62-turbo-dev libspng-dev libheif-dev valgrind
  libexif-dev liblcms2-dev colord-data
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  clang libclang-rt-14-dev clang-format-14
  dpkg-dev appstream desktop-file-utils man-db qt6-tools-dev qt6-l10n-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Kinetta needs these Debian packages: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
