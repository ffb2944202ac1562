# Timing for the bench scripts, sourced by them. `best CMD...` prints the best wall-clock
# seconds of running CMD $runs times (output discarded); a run that fails stops the script with
# its messages, so no failure passes for a fast run. A script that needs a clean slate before
# each run defines `before_each`.
now() { date +%s.%N; }

best() {
  local best_t=""
  for _ in $(seq "$runs"); do
    if declare -F before_each >/dev/null; then before_each; fi
    local t0 t1
    t0=$(now)
    if ! "$@" >/dev/null 2>"${TMPDIR:-/tmp}/best.$$.err"; then
      echo "failed: $*" >&2
      cat "${TMPDIR:-/tmp}/best.$$.err" >&2
      rm -f "${TMPDIR:-/tmp}/best.$$.err"
      return 1
    fi
    t1=$(now)
    best_t=$(echo "$t0 $t1 ${best_t:-1e9}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  rm -f "${TMPDIR:-/tmp}/best.$$.err"
  echo "$best_t"
}
