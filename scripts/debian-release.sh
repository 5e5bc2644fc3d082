#!/usr/bin/env bash
# Runs the Linux build and tests of this working tree in a Debian system of another release: makes the
# system with debootstrap (minbase) and installs the set-up's packages into it, both cached outside the
# repository; then, in a copy of the tree's tracked files, builds and runs the Linux tests plain and with
# the sanitizers, builds the Debian package, runs lintian on it, installs it with its dependencies into a
# bare copy of the minimal system and starts it there under Xvfb. Nothing of this machine changes: apt
# runs inside the systems only, and their mounts live in a private mount namespace.
# Usage: scripts/debian-release.sh RELEASE [suite|prepare|test.sh]
#   suite     the above (the default)
#   prepare   only make the cached systems (scripts/test.sh starts this early, in the background)
#   test.sh   scripts/test.sh in a fresh copy of the set-up system, Windows included
# The systems are kept in ${OCHRE_DEBIAN_CACHE:-~/.cache/ochreline-debian}/RELEASE, made anew when the
# set-up's package lists change; OCHRE_DEBIAN_MIRROR chooses the mirror; OCHRE_DEBIAN_KEEP=1 keeps a
# run's own copies of the tree and the system. Exits 77 with a SKIP: line where debootstrap, chroot or a
# private mount namespace cannot be had.
set -euo pipefail

# Mounts what programs expect in the system at ROOT, and the host folder SHARE at /srv/ochreline (unless it is
# empty), then runs COMMAND there as root. Called in a private mount namespace: every mount ends with it.
mount_and_run() {
    local system=$1 share=$2
    shift 2
    mount -t proc proc "$system/proc"
    mount -t sysfs sysfs "$system/sys"
    mount --bind /dev "$system/dev"
    mount --bind /dev/pts "$system/dev/pts"
    local tmpfs
    for tmpfs in dev/shm tmp run; do
        mkdir -p "$system/$tmpfs"
        mount -t tmpfs -o mode=1777 tmpfs "$system/$tmpfs"
    done
    if [ -n "$share" ]; then
        mkdir -p "$system/srv/ochreline"
        mount --bind "$share" "$system/srv/ochreline"
    fi
    cp /etc/resolv.conf "$system/etc/resolv.conf"
    exec chroot "$system" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# Usage: in_system ROOT SHARE COMMAND...
in_system() {
    unshare -m --propagation private -- bash -euo pipefail -c "$(declare -f mount_and_run); mount_and_run \"\$@\"" \
        in_system "$@"
}

# The steps run inside a system, by this script's copy in the shared tree.
inside() {
    cd /srv/ochreline/src
    source scripts/setup.sh
    case $1 in
        set-up)
            ochre_install_packages
            ochre_install_sound_servers
            ochre_install_desktops
            ;;
        test.sh)
            scripts/test.sh
            ;;
        build-and-test)
            ochre_configure_linux /srv/ochreline/build ""
            ochre_test_linux /srv/ochreline/build
            ;;
        package)
            rm -rf /srv/ochreline/package
            (cd /srv/ochreline/build && cpack -G DEB -B /srv/ochreline/package >/dev/null)
            lintian --pedantic -I --fail-on error,warning /srv/ochreline/package/*.deb
            ;;
        start)
            start_installed
            ;;
    esac
}

# In the bare system: installs the package with what it depends on, checks that every library its program
# and Qt's X11 platform plugin load is there, then starts it under Xvfb (installed only afterwards, so that
# it brings none of the program's dependencies). It must stay up 3 s and end on SIGTERM.
start_installed() {
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends /srv/ochreline/package/*.deb
    local program=/usr/games/ochreline plugin
    plugin=$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -1)
    if ldd "$program" $plugin | grep 'not found'; then
        echo "FAIL: libraries missing after installing the package alone" >&2
        return 1
    fi
    apt-get install -y -qq --no-install-recommends xvfb >/dev/null
    # A display number of Xvfb's own choice: abstract sockets are shared with the host. The file is
    # there before Xvfb starts, which would otherwise race the first read.
    : >/tmp/display
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>/tmp/display &
    local server=$! display= tries
    for tries in {1..50}; do
        display=$(cat /tmp/display)
        [ -z "$display" ] || break
        sleep 0.2
    done
    DISPLAY=:$display "$program" &
    local pid=$! status=0
    sleep 3
    kill -0 "$pid" || { echo "FAIL: ochreline did not stay up 3 s" >&2; return 1; }
    kill -TERM "$pid"
    wait "$pid" || status=$?
    kill "$server"
    # Ended by SIGTERM, which the program leaves to its default: 128 + 15.
    [ "$status" -eq 143 ] || { echo "FAIL: ochreline ended with status $status on SIGTERM" >&2; return 1; }
    echo "ochreline started under Xvfb, stayed up 3 s and ended on SIGTERM"
}

# Read whole before it runs: a long run goes on while this file changes.
{
if [ "${1:-}" = --inside ]; then
    inside "$2"
    exit
fi

release=${1:?usage: debian-release.sh RELEASE [suite|prepare|test.sh]}
what=${2:-suite}
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"
mirror=${OCHRE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${OCHRE_DEBIAN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ochreline-debian}/$release

skip() {
    echo "SKIP: Debian $release: $*"
    exit 77
}
# On that release the tests run in this very system already.
[ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" != "$release" ] || skip "this system is of that release"
if [ "$(id -u)" -ne 0 ]; then
    ! sudo -n true 2>/dev/null || exec sudo -n "$0" "$@"
    skip "making a Debian system with debootstrap and chroot needs root, or sudo without a password"
fi
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
unshare -m --propagation private true 2>/dev/null || skip "no private mount namespace (unshare -m)"

# The minimal system is keyed by the release and the mirror, the set-up system also by the package lists.
base_key=$(echo "$release $mirror" | sha256sum | cut -c1-12)
key=$( (echo "$base_key"; declare -p OCHRE_PACKAGES OCHRE_SOUND_GROUPS OCHRE_DESKTOP_GROUPS) | sha256sum | cut -c1-12)
base=$cache/base-$base_key
system=$cache/system-$key

work=$(mktemp -d "${TMPDIR:-/tmp}/ochreline-debian.XXXXXX")
# OCHRE_DEBIAN_KEEP=1 keeps the copied tree and systems of this run, to look into a failure.
if [ -n "${OCHRE_DEBIAN_KEEP:-}" ]; then
    trap 'echo "Debian $release: the files of this run are kept in $work"' EXIT
else
    trap 'rm -rf "$work"' EXIT
fi
log=$work/log

# Runs a step, its output into the log; on failure shows the log's end. Usage: step NAME COMMAND...
step() {
    local name=$1 started=$SECONDS
    shift
    : >"$log"
    if "$@" >"$log" 2>&1; then
        echo "Debian $release, $name: done in $((SECONDS - started)) s"
        return 0
    fi
    echo "Debian $release, $name: FAILED after $((SECONDS - started)) s; the end of its output:"
    tail -60 "$log"
    return 1
}

make_base() {
    local new=$cache/new-base script=$release
    rm -rf "$new"
    # A release newer than this debootstrap knows is made as unstable is.
    [ -e "/usr/share/debootstrap/scripts/$release" ] || script=sid
    debootstrap --variant=minbase "$release" "$new" "$mirror" "/usr/share/debootstrap/scripts/$script"
    # A snapshot of the testing suite may have outlived its Release file's Valid-Until.
    echo 'Acquire::Check-Valid-Until "false";' >"$new/etc/apt/apt.conf.d/50ochreline"
    # Packages' services are not started in the system.
    printf '#!/bin/sh\nexit 101\n' >"$new/usr/sbin/policy-rc.d"
    chmod +x "$new/usr/sbin/policy-rc.d"
    in_system "$new" "" apt-get update -qq
    mv "$new" "$base"
}

make_system() {
    local new=$cache/new-system
    rm -rf "$new"
    cp -a "$base" "$new"
    in_system "$new" "$work" bash /srv/ochreline/src/scripts/debian-release.sh --inside set-up
    mv "$new" "$system"
}

# The tree as it is, its tracked files only, into $work/src.
copy_tree() {
    mkdir -p "$work/src"
    (cd "$root" && git ls-files -z | tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$work/src"
}

copy_tree
mkdir -p "$cache"
# One run at a time per release: a second waits for the first, then finds its systems.
exec 9>"$cache/.lock"
flock 9
if [ ! -d "$base" ]; then
    rm -rf "$cache"/base-*
    step "minimal system (debootstrap)" make_base
fi
if [ ! -d "$system" ]; then
    rm -rf "$cache"/system-*
    step "set-up packages" make_system
fi
case $what in
    prepare)
        exit 0
        ;;
    test.sh)
        cp -a "$system" "$work/system"
        exec 9>&-
        echo "Debian $release: scripts/test.sh starts at $(date -u +%H:%M:%S) UTC"
        in_system "$work/system" "$work" bash /srv/ochreline/src/scripts/debian-release.sh --inside test.sh
        exit
        ;;
esac

failed=0
step "build and Linux tests" in_system "$system" "$work" bash /srv/ochreline/src/scripts/debian-release.sh --inside build-and-test || failed=1
# The CTest summaries of both runs, and why tests were skipped.
grep -E '^SKIP: |tests passed, |^The following tests|^[[:space:]]+[0-9]+ - ' "$log" | sed "s/^/Debian $release: /" || true
if step "package and lintian" in_system "$system" "$work" bash /srv/ochreline/src/scripts/debian-release.sh --inside package; then
    cp -a "$base" "$work/bare"
    # The set-up system's package lists and downloads: the same versions, mostly without downloading.
    cp -a "$system/var/lib/apt/lists/." "$work/bare/var/lib/apt/lists/"
    mkdir -p "$work/bare/var/cache/apt"
    cp -al "$system/var/cache/apt/archives" "$work/bare/var/cache/apt/" 2>/dev/null || true
    step "install on the bare system and start" in_system "$work/bare" "$work" \
        bash /srv/ochreline/src/scripts/debian-release.sh --inside start || failed=1
    tail -1 "$log"
else
    failed=1
fi
exit $failed
}
