# Shared by run.sh and test.sh: install the Debian packages the build needs, then configure and build.
# Usage: source scripts/setup.sh; ochre_setup BUILD_DIR [extra cmake arguments...]

OCHRE_PACKAGES=(cmake ninja-build g++ qt6-base-dev libsdl2-dev libxcb1-dev fonts-liberation xvfb xauth
    at-spi2-core dbus-daemon python3-pyatspi python3-xlib xdotool openbox)
# Packaging test: dpkg-shlibdeps for the package's dependencies, and the desktop entry and AppStream validators.
OCHRE_PACKAGES+=(dpkg-dev desktop-file-utils appstream)

ochre_install_packages() {
    local missing=()
    local pkg
    for pkg in "${OCHRE_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

ochre_build() {
    local dir=$1
    shift
    cmake -S "$OCHRE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}

OCHRE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
