#!/usr/bin/env bash
# Makes the zip and the installer of a Windows build tree with cpack, checks the zip's files, then in a
# fresh Wine prefix of its own installs silently for all users and for the current user: each time the
# program, its help file, the Start-menu shortcut and the Installed apps entry must be there. Asked for
# the other mode, the installer must fail and change nothing; for all users, so must installing and the
# registered quiet uninstall command while the installed program runs. Installing again must replace
# the installation where it is, and after the quiet uninstall command has run, nothing of it may be
# left in the prefix's files or registry. Needs an X display (the program runs) and xdotool.
# Usage: installer_test.sh BUILD_DIR
set -euo pipefail

build_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
# wineserver where Debian's wine64 installs it, as in wine-run.sh.
export PATH=$PATH:/usr/lib/wine
# No desktop entries on this machine for the shortcuts the installer makes.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

product=Ochreline
program=ochreline.exe
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build_dir/CMakeCache.txt"
uninstall_key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"

(cd "$build_dir" && cpack -B "$work/package" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack failed"
}
installer=$work/package/ochreline-$version-win64.exe
zip=$work/package/ochreline-$version-win64.zip
{ [ -f "$installer" ] && [ -f "$zip" ]; } || fail "cpack made: $(ls "$work/package")"
echo "installer: $(stat -c %s "$installer") bytes, zip: $(stat -c %s "$zip") bytes"
zip_files=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$zip_files" = "ochreline-$version-win64/301.hlp ochreline-$version-win64/$program " ] \
    || fail "the zip holds: $zip_files"

wine() { "$here/wine-run.sh" "$WINEPREFIX" "$@"; }
unix_path() { wine winepath -u "$1" | tr -d '\r'; }
# The value NAME of the uninstall entry in HIVE; fails when there is none.
entry() { wine reg query "$1\\$uninstall_key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p" | grep .; }
# Every file and folder of drive C and every registry key or value that names the product or its maker,
# apart from the temporary folders, where an uninstaller leaves its copy for Windows to remove, and
# without the time a key was written.
footprint() {
    (cd "$WINEPREFIX/drive_c" && find . | grep -v -i -e '/temp/' -e '/temp$' | sort)
    grep -i -h -e "$product" -e 'Vantorel' "$WINEPREFIX"/*.reg | sed 's/^\(\[.*\]\) [0-9]*$/\1/' | sort || true
}
# Fails unless the footprint is the one saved as NAME; the registry is on disk once Wine has ended.
same_footprint() {
    wineserver -w
    footprint >"$work/now"
    diff "$work/$1" "$work/now" >&2 || fail "$2 changed the lines above (> new, < gone)"
}
# Runs a command that must fail, and says with which status.
expect_failure() {
    local what=$1 status=0
    shift
    "$@" || status=$?
    [ "$status" -ne 0 ] || fail "$what succeeded"
    echo "$what: exit status $status"
}
# The command Installed apps runs for a quiet uninstall of the installation in HIVE; the words of its
# last argument, a folder that may hold spaces, are joined again by single spaces on the way to Windows.
quiet_uninstall() {
    local quiet uninstaller arguments
    quiet=$(entry "$1" QuietUninstallString) || fail "no QuietUninstallString under $1"
    uninstaller=${quiet#\"}
    uninstaller=${uninstaller%%\"*}
    read -r -a arguments <<<"${quiet#\""$uninstaller"\"}"
    wine "$uninstaller" "${arguments[@]}"
}
# When each file of the installation and its shortcut last changed: rewritten with the same bytes, a file
# has a new time.
change_times() { find "$@" -printf '%p %C@\n' | sort; }
# Neither installing nor uninstalling may succeed or touch a file while the program in DIR (UNIX_DIR)
# runs; the caller compares the footprint once it has ended.
check_while_running() {
    local dir=$1 unix_dir=$2 shortcut=$3 hive=$4 window pid
    change_times "$unix_dir" "$shortcut" >"$work/times"
    wine "$dir\\$program" >/dev/null 2>&1 &
    # The program marks itself running before it opens a window.
    window=$(timeout 120 xdotool search --sync --limit 1 --classname "$program") || fail "$program opened no window"
    pid=$(xdotool getwindowpid "$window") || fail "no process id on $program's window"
    expect_failure "installing while $program runs" wine "$installer" /S
    expect_failure "the quiet uninstall while $program runs" quiet_uninstall "$hive"
    kill "$pid"
    wait || true
    change_times "$unix_dir" "$shortcut" | diff "$work/times" - >&2 || fail "failing to install or uninstall touched the files above"
}

wine wineboot --init >/dev/null 2>&1
wineserver -w
footprint >"$work/before"

check_install() {
    local mode=$1 other_mode=$2 hive=$3 other_hive=$4 expected_dir=$5 start_menu=$6
    wine "$installer" /S "/$mode" || fail "$mode: the installer failed"
    wineserver -w

    local dir
    dir=$(entry "$hive" InstallLocation) || fail "$mode: no uninstall entry under $hive"
    # shellcheck disable=SC2053 # a pattern; its backslashes are the path's
    [[ $dir == ${expected_dir//\\/\\\\} ]] || fail "$mode: installed in $dir"
    ! entry "$other_hive" InstallLocation >/dev/null || fail "$mode: an uninstall entry under $other_hive too"
    local unix_dir
    unix_dir=$(unix_path "$dir")
    for file in "$program" 301.hlp Uninstall.exe; do
        [ -f "$unix_dir/$file" ] || fail "$mode: $dir lacks $file"
    done
    cmp -s "$unix_dir/301.hlp" "$build_dir/301.hlp" || fail "$mode: the installed help file differs"

    [ "$(entry "$hive" DisplayName)" = "$product" ] || fail "$mode: DisplayName"
    [ "$(entry "$hive" DisplayVersion)" = "$version" ] || fail "$mode: DisplayVersion"
    [ "$(entry "$hive" Publisher)" = "Vantorel Software" ] || fail "$mode: Publisher"
    [ "$(entry "$hive" DisplayIcon)" = "$dir\\$program,0" ] || fail "$mode: DisplayIcon is $(entry "$hive" DisplayIcon)"

    local shortcut
    shortcut="$(unix_path "$start_menu")/$product.lnk"
    [ -f "$shortcut" ] || fail "$mode: no shortcut $start_menu\\$product.lnk"
    grep -a -q -i "$program" "$shortcut" || fail "$mode: the shortcut does not name $program"

    footprint >"$work/installed"
    # One installation at a time: the other mode is refused while this one is there.
    expect_failure "$mode: installing for /$other_mode" wine "$installer" /S "/$other_mode"
    [ "$mode" != AllUsers ] || check_while_running "$dir" "$unix_dir" "$shortcut" "$hive"
    same_footprint installed "$mode: failing to install or uninstall"
    # Installing again, in no mode in particular, replaces the installation where it is.
    wine "$installer" /S || fail "$mode: installing again failed"
    same_footprint installed "$mode: installing again"

    quiet_uninstall "$hive" || fail "$mode: the uninstaller failed"
    # A copy of the uninstaller removes the uninstaller itself once that has ended.
    wineserver -w

    [ ! -e "$unix_dir" ] || fail "$mode: $dir is left: $(ls -A "$unix_dir")"
    [ ! -e "$shortcut" ] || fail "$mode: the shortcut is left"
    ! entry "$hive" DisplayName >/dev/null || fail "$mode: the uninstall entry is left"
    footprint >"$work/after"
    diff "$work/before" "$work/after" >&2 || fail "$mode: the uninstaller left the lines above (> left, < removed)"
    echo "$mode: installed in $dir, shortcut and uninstall entry made; all removed again"
}

check_install AllUsers CurrentUser HKLM HKCU 'C:\Program Files\Ochreline' \
    'C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
check_install CurrentUser AllUsers HKCU HKLM 'C:\users\*\AppData\Local\Programs\Ochreline' \
    "$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs"
echo "installer: all checks passed"
