#!/usr/bin/env bash
# Starts the desktop program from the assembled program folder, or says how to when there is no display.
set -euo pipefail
app_dir=${1:-build/app}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start it with 'xvfb-run make run', or render from the command line with $app_dir/kinetta-render --help." >&2
  exit 1
fi
if [ -x "$app_dir/kinetta" ]; then
  exec "$app_dir/kinetta"
fi
exec "$app_dir/kinetta-render" --help
