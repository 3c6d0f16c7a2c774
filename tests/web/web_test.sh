#!/usr/bin/env bash
# Runs the page's end-to-end test in one browser, against velnorka-cli under
# a Czech locale compiled for the test. WebKit (Debian's WebKitGTK) runs on a
# private Xvfb.
# usage: web_test.sh chromium|firefox|webkit PAGE CLI
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/../cli/locales.sh"
make_locales "$work/locales" cs_CZ
if [[ $1 == webkit ]]; then
    "$here/../qt/on_xvfb.sh" /usr/bin/python3 "$here/webkit_end_to_end.py" "${@:2}"
    exit
fi
if [[ ! -d $here/node_modules/puppeteer-core ]]; then
    echo "puppeteer-core is missing: scripts/install-deps installs it (npm ci in tests/web)" >&2
    exit 1
fi
node "$here/end_to_end.mjs" "$@"
