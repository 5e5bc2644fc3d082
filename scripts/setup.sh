# Shared by the scripts beside it: installs the Debian packages the build needs, then configures and builds.
# Usage: source scripts/setup.sh; ochre_install_packages; ochre_build BUILD_DIR [extra cmake arguments...]

OCHRE_PACKAGES=(cmake ninja-build ccache g++ qt6-base-dev libsdl2-dev libxcb1-dev fonts-liberation xvfb xauth
    at-spi2-core dbus-daemon python3-pyatspi python3-xlib xdotool openbox x11-xserver-utils)
# Packaging test: dpkg-shlibdeps for the package's dependencies, lintian, and the desktop entry and
# AppStream validators.
OCHRE_PACKAGES+=(dpkg-dev lintian desktop-file-utils appstream)
# The Linux tests in a Debian system of another release (scripts/debian-release.sh).
OCHRE_PACKAGES+=(debootstrap)

# Sound servers for the tests against real servers (tests/sound_server_test.sh), one group per kind
# of server. Optional: a group that cannot be installed without removing a package is left out with
# a line saying so, and the tests of that kind are skipped. PipeWire's PulseAudio service is not
# installed: beside pulseaudio it would compete for the session's sound socket (later Debian releases
# make the two conflict). The test fixtures run it from its configuration, unpacked here from the package.
OCHRE_SOUND_GROUPS=(
    "pipewire: pipewire pipewire-bin wireplumber dbus pulseaudio-utils"
    "pulseaudio: pulseaudio pulseaudio-utils"
    "alsa: gcc libasound2-dev"
)

# Wayland desktops for the end-to-end tests (tests/e2e/run_e2e.sh mutter|kwin): GNOME's and KDE's
# compositors with their Xwayland and KDE's window decoration, and Qt's Wayland platform, which a
# Wayland session offers the program. Optional in the same way: the tests of a group left out are skipped.
OCHRE_DESKTOP_GROUPS=(
    "mutter: mutter xwayland qt6-wayland"
    "kwin: kwin-wayland kwin-style-breeze xwayland qt6-wayland"
)

# The Windows build, optional like the groups above (Debian's testing suite has no Wine at times): Debian's MinGW-w64 cross compiler, the host's Qt tools for Qt built for Windows from
# Debian's own source (scripts/windows-qt.sh), Wine to run the Windows tests with Wine's own Windows fonts
# (MS Sans Serif, Tahoma, Marlett), NSIS for the installer, osslsigncode to sign a release when given a
# certificate (openssl makes the installer test's throwaway one).
OCHRE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix dpkg-dev qt6-base-dev qt6-base-dev-tools
    wine64 libwine fonts-wine nsis file osslsigncode openssl)
# The wave player's test under Wine: Wine's PulseAudio driver needs the PulseAudio client library, and the
# test plays into a private PulseAudio server whose sink it records (tests/windows/waveout_server_test.sh).
OCHRE_WINDOWS_PACKAGES+=(libpulse0 pulseaudio pulseaudio-utils python3)
# The program's end-to-end test under Wine plays into a private PipeWire's PulseAudio service.
OCHRE_WINDOWS_PACKAGES+=(pipewire pipewire-bin wireplumber dbus)

ochre_install_packages() {
    ochre_apt_install "${OCHRE_PACKAGES[@]}" "$@"
}

# Installs the packages not yet installed, never removing one.
ochre_apt_install() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
}

# Installs each optional group that can be installed. Usage: ochre_install_groups KIND "NAME: PACKAGES..."...
ochre_install_groups() {
    local kind=$1 group
    shift
    for group in "$@"; do
        ochre_install_group "$kind" "$group" || true
    done
}

# Installs one optional group, or says why it cannot and fails. Usage: ochre_install_group KIND "NAME: PACKAGES..."
ochre_install_group() {
    local packages package absent=() why
    read -r -a packages <<<"${2#*:}"
    ochre_apt_install "${packages[@]}" && return 0
    for package in "${packages[@]}"; do
        apt-cache show "$package" >/dev/null 2>&1 || absent+=("$package")
    done
    why="a package would have to be removed, or apt-get failed"
    [ ${#absent[@]} -eq 0 ] || why="this release has no ${absent[*]}"
    echo "$1 ${2%%:*}: ${packages[*]} could not be installed ($why); its tests will be skipped"
    return 1
}

ochre_install_windows() {
    ochre_install_group "Windows" "build: ${OCHRE_WINDOWS_PACKAGES[*]}"
}

ochre_install_desktops() {
    ochre_install_groups "Desktop" "${OCHRE_DESKTOP_GROUPS[@]}"
}

ochre_install_sound_servers() {
    ochre_install_groups "Sound server" "${OCHRE_SOUND_GROUPS[@]}"
    local cache
    cache=$(ochre_sound_cache)
    if ! ochre_pipewire_pulse_conf >/dev/null; then
        mkdir -p "$cache"
        (cd "$cache" && apt-get download pipewire-pulse >/dev/null 2>&1 && dpkg-deb -x pipewire-pulse_*.deb .) \
            || echo "Sound server pipewire: pipewire-pulse could not be unpacked into $cache; its tests will be skipped"
    fi
}

# Where packages the sound servers need but that are not installed are unpacked.
ochre_sound_cache() {
    echo "${SOUND_TEST_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/sound-test}"
}

# PipeWire's PulseAudio service configuration: the installed one, else the one unpacked from its
# package by ochre_install_sound_servers. Prints its path; fails when there is none.
ochre_pipewire_pulse_conf() {
    local conf
    for conf in {/usr,"$(ochre_sound_cache)"/usr}/share/pipewire/pipewire-pulse.conf; do
        if [ -f "$conf" ]; then
            echo "$conf"
            return 0
        fi
    done
    return 1
}

# The sound-server test fixtures (start-sound-server.sh, record-sink.py); prints their folder.
ochre_sound_harness() {
    echo "$OCHRE_ROOT/tests/sound-fixtures"
}

# What the fixtures' sound server KIND needs and this machine lacks; prints nothing when it can run.
ochre_sound_server_missing() {
    local missing=() tool
    local tools=(python3)
    case $1 in
        pipewire*) tools+=(pipewire wireplumber dbus-daemon pactl parec) ;;
        pulseaudio*) tools+=(pulseaudio pactl parec) ;;
    esac
    case $1 in *alsa) tools+=(gcc) ;; esac
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    case $1 in *alsa) [ -f /usr/include/alsa/pcm_external.h ] || missing+=(libasound2-dev) ;; esac
    case $1 in pipewire*) ochre_pipewire_pulse_conf >/dev/null || missing+=("pipewire-pulse's configuration") ;; esac
    echo "${missing[*]}"
}

# Runs COMMAND everyEmbeddedSoundPlaysCompletely:NAME for each embedded sound under record-sink.py, with
# the variables of a server started by the sound fixtures. The sink must get nine tenths of the sound
# file's non-silent samples by the recorder's measure (above 512 of 32768), allowing for the server's
# resampling, and no more segments (runs of them with gaps under 40 ms) than the file has: a stream that
# a server fills with the wrong silence when the device closes adds a segment of tens of milliseconds
# after the sound. Usage: ochre_record_embedded_sounds COMMAND...
ochre_record_embedded_sounds() {
    local sound samples parts
    for sound in HIT SHOTGUN EXPLOSION; do
        echo "== $sound"
        read -r samples parts < <(python3 "$(ochre_sound_harness)/record-sink.py" --wave-figures \
            "$OCHRE_ROOT/resources/$sound.wav")
        python3 "$(ochre_sound_harness)/record-sink.py" --quiet-segments --expect "$samples" \
            --most-segments "$parts" -- "$@" "everyEmbeddedSoundPlaysCompletely:$sound"
    done
}

ochre_build() {
    ochre_configure "$@"
    ochre_compile "$1"
}

# Usage: ochre_configure BUILD_DIR [extra cmake arguments...]
ochre_configure() {
    local dir=$1
    shift
    cmake -S "$OCHRE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(ochre_compiler_cache) "$@" >/dev/null
}

# CMake's arguments that compile through ccache where it is installed: a later run, in this clone or
# another (CCACHE_BASEDIR below), compiles only what changed. The objects hold no path of the tree
# (-ffile-prefix-map), so a hit is the same object a compile would give.
ochre_compiler_cache() {
    command -v ccache >/dev/null || return 0
    echo -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
}

# Builds a configured tree at a lower priority than the tests beside it (this machine's beside debian_13's
# and the other way round), which take the processor first. Qt for Windows is built lower still, on what
# they leave: these builds are short and each starts a CTest run, while the Windows tests wait for the
# Linux ones anyway.
ochre_compile() {
    nice -n 5 cmake --build "$@"
}

# Runs the tests of the build tree in the current folder under Xvfb. Usage: ochre_ctest [ctest arguments...]
ochre_ctest() {
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600 "$@"
}

# Configures the Linux program and its tests in BUILD_DIR-asan with AddressSanitizer and UndefinedBehaviorSanitizer
# (any report fails a test) and in BUILD_DIR, both with warnings as errors; BUILD_DIR's ctest runs the tests
# of both, and those of a Windows build tree WINDOWS_DIR when given.
# Usage: ochre_configure_linux BUILD_DIR WINDOWS_DIR|"" [extra cmake arguments for BUILD_DIR...]
ochre_configure_linux() {
    local dir=$1 windows=$2
    shift 2
    ochre_configure "$dir-asan" -DOCHRELINE_WERROR=ON -DOCHRELINE_SANITIZE=ON -DOCHRELINE_BENCH=OFF
    ochre_configure "$dir" -DOCHRELINE_WERROR=ON -DOCHRELINE_MORE_TESTS="$dir-asan${windows:+;$windows}" "$@"
}

# Builds the trees ochre_configure_linux configured and runs their tests (and the Windows tree's, built
# before) in one ctest run. Usage: ochre_test_linux BUILD_DIR
ochre_test_linux() {
    local dir=$1 status=0
    ochre_compile "$dir-asan"
    ochre_compile "$dir"
    (cd "$dir" && ochre_ctest) || status=1
    # Why tests were skipped (a sound server or desktop that could not be installed).
    grep -h '^SKIP: ' "$dir/Testing/Temporary/LastTest.log" || true
    return $status
}

# Builds the Windows program and its tests in BUILD_DIR with Debian's MinGW-w64 and Qt built for Windows
# (scripts/windows-qt.sh, which builds it first if it is not in its cache yet).
# Usage: ochre_build_windows BUILD_DIR [extra cmake arguments...]
ochre_build_windows() {
    local dir=$1 qt
    shift
    qt=$("$OCHRE_ROOT/scripts/windows-qt.sh" | tail -1)
    cmake -S "$OCHRE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release $(ochre_compiler_cache) \
        -DCMAKE_TOOLCHAIN_FILE="$OCHRE_ROOT/cmake/MinGW-w64-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" -DQT_HOST_PATH=/usr "$@" >/dev/null
    ochre_compile "$dir"
}

OCHRE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CCACHE_BASEDIR=$OCHRE_ROOT
