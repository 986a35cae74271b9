#!/usr/bin/env bash
# Runs the viewer's browser test: installs playwright-core from the lock file into BUILD_DIR/browser (again
# only when the lock file changed), then drives headless Chromium through tests/browser/viewer_test.mjs (or
# the script VOB_BROWSER_TEST names, such as print_test.mjs).
#   tests/browser/run_browser_test.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
modules=$build/browser
mkdir -p "$modules"
if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" || [[ ! -d "$modules/node_modules" ]]; then
  cp "$here/package.json" "$here/package-lock.json" "$modules/"
  (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
# The script resolves playwright-core from where it stands, so it runs from the installed copy's folder.
script=${VOB_BROWSER_TEST:-viewer_test.mjs}
cp "$here/$script" "$here/view_server.mjs" "$modules/"
exec node "$modules/$script" "$build" "${2:-}"
