#!/usr/bin/env bash
# Checks that the C++ files follow .clang-format, with the one clang-format version the tree was
# formatted with (another version breaks some lines differently). With a revision, only the files
# changed since it are checked; without, every tracked file. --fix formats them in place instead.
# Lists the files that differ and fails when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=clang-format-14
if ! command -v "$formatter" >/dev/null; then
  echo "$formatter is missing: run 'make deps'" >&2
  exit 2
fi

fix=0
if [[ "${1:-}" == --fix ]]; then
  fix=1
  shift
fi
patterns=('*.cpp' '*.h')
if [[ $# -gt 0 ]]; then
  mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- "${patterns[@]}")
else
  mapfile -t files < <(git ls-files -- "${patterns[@]}")
fi
[[ ${#files[@]} -gt 0 ]] || exit 0

if [[ $fix -eq 1 ]]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
unformatted=()
for f in "${files[@]}"; do
  "$formatter" --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [[ ${#unformatted[@]} -gt 0 ]]; then
  echo "Not formatted as .clang-format says (fix with 'make format'):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"
