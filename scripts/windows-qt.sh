#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source of the host's Qt release, static and with
# only what the program and its tests use, with Debian's MinGW-w64 and the host's Qt tools. Built once
# into a cache folder outside the repository and reused while the release, its options and the toolchain
# file are unchanged. Prints the folder Qt was installed into on its last line.
# Usage: scripts/windows-qt.sh [--cached]   (OCHRE_WINDOWS_QT_CACHE chooses the cache folder)
#   --cached  only prints the folder of a Qt built already; fails at once when there is none
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"

ochre_apt_install "${OCHRE_WINDOWS_PACKAGES[@]}" >&2
# Exactly the release of the host's Qt tools, which generate code for it: 6.4.2 from 6.4.2+dfsg-21.1.
host_release=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
qt_version=${host_release%%[+~-]*}
cache=${OCHRE_WINDOWS_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ochreline-windows-qt}
# Off: everything the program does not use. Debian's repack drops wintab.h, so no tablet events.
# OpenGL stays dynamic: the Windows platform plugin needs it to compile, and at run time it needs only
# opengl32.dll, which every Windows has. Image formats: BMP (built in), JPEG and ICO.
configure=(
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_GENERATE_SBOM=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_icu=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_opengl_dynamic=ON -DFEATURE_opengl_desktop=OFF -DFEATURE_opengles2=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_gif=OFF -DFEATURE_jpeg=ON -DFEATURE_ico=ON
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
    -DINPUT_openssl=no
    # Qt keeps its installation folder in the library, and so in our program: a name of no machine's, the
    # files themselves installed into the cache folder (CMAKE_STAGING_PREFIX below).
    -DCMAKE_INSTALL_PREFIX=/qt-for-windows
)

# Fetches a source package into FOLDER through a private apt set-up of its own: the machine's configured
# Debian entries, each turned into a deb-src entry, with their own lists and caches inside FOLDER, so
# that nothing of the machine's apt changes. Usage: fetch_qt_source FOLDER PACKAGE=VERSION
fetch_qt_source() {
    local folder=$1 package=$2 apt=$1/apt list parts
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    # One-line entries: each "deb" line again as "deb-src".
    { cat "$list" "$parts"/*.list 2>/dev/null || true; } | sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' >"$apt/sources.list"
    # deb822 entries: each enabled paragraph of type deb again with the type deb-src.
    { cat "$parts"/*.sources 2>/dev/null || true; } | awk '
        function flush() {
            if (types && enabled) printf "%s\n", para
            para = ""; types = 0; enabled = 1
        }
        BEGIN { enabled = 1 }
        /^[[:space:]]*$/ { flush(); next }
        /^#/ { next }
        /^Types:/ { types = /[[:space:]]deb(-src)?([[:space:]]|$)/; $0 = "Types: deb-src" }
        /^Enabled:[[:space:]]*no/ { enabled = 0 }
        { para = para $0 "\n" }
        END { flush() }' >"$apt/sources.list.d/debian.sources"
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    # Root's downloads would run as apt's own user, which cannot write into root's cache folder.
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
    # An entry without source indices (a third party's) fails alone; the package is looked for afterwards.
    apt-get "${options[@]}" update -qq >&2 || true
    (cd "$folder" && apt-get "${options[@]}" source -qq "$package" >/dev/null)
}

# The build is keyed by these options and the toolchain file: a change to either builds Qt anew.
key=$( (echo "$qt_version ${configure[*]}"; cat "$root/cmake/MinGW-w64-x86_64.cmake") | sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-$key
if [ "${1:-}" = --cached ]; then
    [ -f "$prefix/.complete" ] && echo "$prefix"
    exit
fi
# One build at a time: a second caller waits for the first and then finds its Qt.
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# Earlier builds' leftovers: an unfinished build, a Qt of other options.
rm -rf "$cache"/work-* "$cache"/qt-*
work=$cache/work-$key
mkdir -p "$work"
fetch_qt_source "$work" "qt6-base=$host_release"
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -1)
[ -n "$src" ] || { echo "windows-qt: the qt6-base $qt_version source could not be unpacked" >&2; exit 1; }
# The toolchain file is copied beside Qt, which records its path.
cp "$root/cmake/MinGW-w64-x86_64.cmake" "$cache/toolchain-$key.cmake"
# What goes into the program is the same wherever the cache is: the source and build folders' paths are
# left out of the objects, and the times Qt's resource compiler records are the source release's.
export CFLAGS="-ffile-prefix-map=$work/=" CXXFLAGS="-ffile-prefix-map=$work/="
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)
export SOURCE_DATE_EPOCH
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain-$key.cmake" \
    -DCMAKE_STAGING_PREFIX="$prefix" "${configure[@]}" >"$work/configure.log" 2>&1 \
    || { tail -40 "$work/configure.log" >&2; exit 1; }
started=$(date +%s)
# Below the program's builds (ochre_compile): see there.
nice -n 10 cmake --build "$work/build" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >/dev/null
echo "windows-qt: Qt $qt_version for Windows built in $(($(date +%s) - started)) s" >&2
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
