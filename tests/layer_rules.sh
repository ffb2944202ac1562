#!/usr/bin/env bash
# Checks that every source folder includes headers only from itself and the folders below it,
# so the layers cannot lean on each other again: the engine never includes the desktop program,
# and no two folders include each other.
set -euo pipefail
src="${1:?usage: layer_rules.sh SRC_DIR}"

# Each folder and the folders it may include, lowest layer first.
declare -A allowed=(
  [base]="base"
  [render]="render base"
  [image]="image render base ui_support"
  [preview]="preview image render base ui_support"
  [export]="export image render base ui_support"
  [cli]="cli export preview image render base"
  [ui_support]="ui_support base"
  [settings]="settings image render base ui_support"
  [app]="app settings export preview image render base ui_support"
)
# The Qt-free engine files of a folder that also holds dialogs must not reach the Qt support.
engine_only=(image/bmp_file image/conversion image/frame_files image/frame_reader
  image/image_messages image/picture_file image/png_frame image/recent_files preview/frame_sequence
  export/animation_file export/animation_encoder export/export_messages export/gif_writer
  export/html_page export/palette_map export/webp_writer)

faults=0
while IFS= read -r file; do
  rel="${file#"$src"/}"
  folder="${rel%%/*}"
  if [[ -z "${allowed[$folder]+set}" ]]; then
    echo "$rel: folder '$folder' has no place in the layers" >&2
    faults=$((faults + 1))
    continue
  fi
  stem="${rel%.*}"
  while IFS= read -r included; do
    target="${included%%/*}"
    ok=0
    for a in ${allowed[$folder]}; do [[ "$target" == "$a" ]] && ok=1; done
    for e in "${engine_only[@]}"; do
      [[ "$stem" == "$e" && "$target" == ui_support ]] && ok=0
    done
    if [[ $ok -eq 0 ]]; then
      echo "$rel includes \"$included\": $folder may not use $target" >&2
      faults=$((faults + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [[ $faults -gt 0 ]]; then
  echo "$faults include(s) point upward or across" >&2
  exit 1
fi
echo "every include points downward"
