#!/usr/bin/env bash
# Takes docs/screenshot.png: the real main window under Xvfb, mid-way through a three-player match.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
ochre_build "$OCHRE_ROOT/build"
SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    "$OCHRE_ROOT/build/tools/ochreline_screenshot" "$OCHRE_ROOT/docs/screenshot.png"
echo "Wrote docs/screenshot.png"
