#!/usr/bin/env bash
# old_names.sh on a planted folder: each old name is refused, named by file and line, while the
# engine's own names that look alike pass.
set -uo pipefail
check="$(dirname "$0")/old_names.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/app"
faults=0

printf 'int Distan1, Distan2, Shade3D, FrameCount;\nQImage frame0;\nvoid StartRun();\n' >"$dir/app/a.h"
bash "$check" "$dir" >/dev/null 2>&1 || { echo "refused the engine's names" >&2; faults=1; }

for planted in 'void mnuExec_Click();' 'void Form_Load();' 'QLineEdit* Text1;' 'Option2_0' \
  'QRect frame1_;' 'QAction* mnuFileOpen;' 'QLabel* lblTitle;'; do
  printf 'int ok;\n%s\n' "$planted" >"$dir/app/b.h"
  if out=$(bash "$check" "$dir" 2>&1) || ! grep -q '^app/b.h:2:' <<<"$out"; then
    echo "not refused at app/b.h:2: $planted" >&2
    faults=1
  fi
done
exit "$faults"
