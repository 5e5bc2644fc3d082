#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test through CTest.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
ochre_build "$OCHRE_ROOT/build" -DOCHRELINE_WERROR=ON
cd "$OCHRE_ROOT/build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600
