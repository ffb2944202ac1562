#!/usr/bin/env bash
# Refuses the old form designer's names in the sources: event handlers named control, underscore,
# event (mnuExec_Click, Timer1_Timer, Form_Load), numbered controls (Text1, Picture2, Option2_0,
# frame1_) and the designer's control prefixes (mnuFileOpen, cmdOK, lblTitle, tbToolBar). Widgets
# and commands are named by their role instead. Each finding is named by file and line.
set -euo pipefail
src="${1:?usage: old_names.sh SRC_DIR}"

events='Click|DblClick|Timer|Resize|Load|Unload|QueryUnload|Activate|Deactivate|Change|GotFocus'
events+='|LostFocus|KeyPress|KeyDown|KeyUp|MouseDown|MouseUp|MouseMove|Paint|Scroll|ButtonClick'
controls='Text|Command|Frame|Label|Option|Check|Combo|Picture|Shape|Line|Timer|List|Image|Dialog'
controls+='|StatusBar|Form|Panel'
prefixes='mnu|cmd|lbl|chk|cbo|fra|tmr|dlg|shp|iml|tb'
pattern="_($events)\\b"
pattern+="|\\b($controls)[0-9]+(\\b|_)"
pattern+="|\\b(${controls,,})[0-9]+_"
pattern+="|\\b($prefixes)[A-Z]"

[[ -d "$src" ]] || { echo "$src: no such folder" >&2; exit 2; }
status=0
found=$(cd "$src" && grep -rnIE "$pattern" .) || status=$?
if [[ $status -gt 1 ]]; then exit "$status"; fi  # grep itself failed
if [[ $status -eq 0 ]]; then
  echo "$found" | sed 's|^\./||' >&2
  echo "$(echo "$found" | wc -l) line(s) use the form designer's names; name them by their role" >&2
  exit 1
fi
echo "no form designer's names"
