#!/bin/bash
# Runs a command on a private Xvfb, for the tests that need a real X server.
# usage: on_xvfb.sh command [arguments...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_start_xvfb
"$@"
status=$?
exit "$status"
