#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (under Xvfb when there is no display).
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
ochre_build "$OCHRE_ROOT/build"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$OCHRE_ROOT/build/ochreline" "$@"
fi
echo "No display: starting under Xvfb."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$OCHRE_ROOT/build/ochreline" "$@"
