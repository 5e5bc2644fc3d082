#!/usr/bin/env bash
# Makes the zip and the installer of a Windows build tree with cpack, signed with a throwaway certificate,
# checks the zip's files, then in a fresh Wine prefix of its own installs silently for all users and for
# the current user: each time the program, its help file, the Start-menu shortcut and the Installed apps
# entry must be there, the program and the uninstaller signed. Asked for the other mode, the installer
# must refuse and change nothing; for all users, so must installing and the registered quiet uninstall
# command while the installed program runs or when run with a standard user's rights, exiting with
# status 2 and no window; not quiet, the uninstaller must run itself again to be given an administrator's
# rights. For all users, an existing folder outside Program Files that others may change must be refused,
# and a new one made for administrators alone. Installing again must replace the installation where it
# is. The registered uninstall command, quiet for all users (with a copy from the zip running) and clicked
# through for the current user, must leave nothing of it in the prefix's files or registry. Needs an X
# display (the program runs), xdotool, openssl and osslsigncode.
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

certificate=$work/certificate
mkdir "$certificate"
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=$product test" -days 1 -keyout "$certificate/key.pem" \
    -out "$certificate/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$certificate/key.pem" -in "$certificate/cert.pem" -passout pass:test \
    -out "$certificate/cert.p12"
(cd "$build_dir" && OCHRE_SIGN_PKCS12=$certificate/cert.p12 OCHRE_SIGN_PASSWORD=test \
    cpack -B "$work/package" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack failed"
}
# Fails unless FILE carries a signature by the throwaway certificate.
check_signed() {
    osslsigncode verify -CAfile "$certificate/cert.pem" -in "$1" >"$work/verify.log" 2>&1 \
        || { cat "$work/verify.log" >&2; fail "$1 is not signed"; }
}
installer=$work/package/ochreline-$version-win64.exe
zip=$work/package/ochreline-$version-win64.zip
{ [ -f "$installer" ] && [ -f "$zip" ]; } || fail "cpack made: $(ls "$work/package")"
echo "installer: $(stat -c %s "$installer") bytes, zip: $(stat -c %s "$zip") bytes"
zip_files=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$zip_files" = "ochreline-$version-win64/301.hlp ochreline-$version-win64/$program " ] \
    || fail "the zip holds: $zip_files"
check_signed "$installer"
cmake -E chdir "$work/package" cmake -E tar xf "$zip"
zip_program="$work/package/ochreline-$version-win64/$program"
check_signed "$zip_program"
makensis -V1 -DOUT="$work/standard_user.exe" "$here/standard_user.nsi"
# A program that asks for the highest rights, as the installer does, and exits with 3 when it has an
# administrator's.
makensis -V1 -DOUT="$work/asks_highest.exe" - <<'NSI'
Unicode true
Target amd64-unicode
RequestExecutionLevel highest
SilentInstall silent
OutFile "${OUT}"
Section
    UserInfo::GetAccountType
    Pop $0
    StrCmp $0 "Admin" 0 +2
    SetErrorLevel 3
SectionEnd
NSI

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
# Runs a silent command that must refuse: exit status 2 within a minute, not a window waiting for a click.
expect_refusal() {
    local what=$1 status=0 pid
    shift
    "$@" &
    pid=$!
    for _ in $(seq 120); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    ! kill -0 "$pid" 2>/dev/null || fail "$what waits, windows: $(xdotool search --name . getwindowname %@ | tr '\n' ' ')"
    wait "$pid" || status=$?
    [ "$status" -eq 2 ] || fail "$what: exit status $status"
    echo "$what: refused"
}
# Runs the uninstall command VALUE (UninstallString, QuietUninstallString) registered for the
# installation in HIVE as Installed apps does, by way of the Windows program in PREFIX if given; the words
# of its last argument, a folder that may hold spaces, are joined again by single spaces on the way to
# Windows. Usage: uninstall HIVE VALUE [PREFIX]
uninstall() {
    local command uninstaller arguments
    command=$(entry "$1" "$2") || fail "no $2 under $1"
    uninstaller=${command#\"}
    uninstaller=${uninstaller%%\"*}
    read -r -a arguments <<<"${command#\""$uninstaller"\"}"
    wine ${3:+"$3"} "$uninstaller" "${arguments[@]}"
}
quiet_uninstall() { uninstall "$1" QuietUninstallString; }
# The uninstall command clicked through as a user would: Uninstall, then Finish 15 s after the program's
# files have gone; the uninstaller's copy that removes the uninstaller may have to wait that long.
interactive_uninstall() {
    local hive=$1 unix_dir=$2 window pid
    uninstall "$hive" UninstallString &
    pid=$!
    # The one shown: Wine may make and destroy another window of the same name first.
    window=$(timeout 60 xdotool search --sync --onlyvisible --limit 1 --name "^$product Uninstall") \
        || fail "no uninstaller window"
    xdotool windowfocus --sync "$window" key Return
    for _ in $(seq 120); do
        [ -e "$unix_dir/$program" ] || break
        sleep 0.5
    done
    [ ! -e "$unix_dir/$program" ] || fail "the uninstaller did not remove $program"
    sleep 15
    xdotool windowfocus --sync "$window" key Return
    wait "$pid" || fail "the uninstaller failed"
}
# Starts the Windows program PATH and waits for its window; stop_program ends it.
start_program() {
    local window
    wine "$1" >/dev/null 2>&1 &
    window=$(timeout 120 xdotool search --sync --limit 1 --classname "$program") || fail "$1 opened no window"
    running=$(xdotool getwindowpid "$window") || fail "no process id on $1's window"
}
stop_program() {
    kill "$running"
    wait || true
}
# When each file of the installation and its shortcut last changed: rewritten with the same bytes, a file
# has a new time.
change_times() { find "$@" -printf '%p %C@\n' | sort; }
# Neither installing nor uninstalling may succeed or touch a file while the program in DIR (UNIX_DIR)
# runs, nor for a standard user; the caller compares the footprint once it has ended.
check_refusals() {
    local dir=$1 unix_dir=$2 shortcut=$3 hive=$4
    change_times "$unix_dir" "$shortcut" >"$work/times"
    # Wine 9 and later give a program that asks for the highest rights an administrator's token even
    # when a standard user's starts it: there no standard user can be shown.
    local rights=0
    wine "$work/standard_user.exe" "$work/asks_highest.exe" || rights=$?
    case $rights in
        0)
            expect_refusal "installing for all users as a standard user" wine "$work/standard_user.exe" "$installer" /S /AllUsers
            expect_refusal "the quiet uninstall as a standard user" uninstall "$hive" QuietUninstallString "$work/standard_user.exe"
            # Not quiet, it runs itself again for Windows to ask for an administrator; Wine runs the copy with
            # the same rights, and the copy refuses rather than ask again.
            uninstall "$hive" UninstallString "$work/standard_user.exe" &
            local pid=$! status=0 window
            window=$(timeout 60 xdotool search --sync --onlyvisible --limit 1 --name "^$product Uninstall") \
                || fail "the uninstall as a standard user showed nothing"
            pgrep -f -- "/AllUsers /Elevated _" >/dev/null || fail "the uninstaller did not run itself again"
            xdotool windowfocus --sync "$window" key Return
            wait "$pid" || status=$?
            [ "$status" -eq 2 ] || fail "the uninstall as a standard user: exit status $status"
            ;;
        3) echo "SKIP: the refusals to a standard user: this Wine runs the installer as an administrator even for one" ;;
        *) fail "a program run with a standard user's rights ended with status $rights" ;;
    esac
    start_program "$dir\\$program"
    expect_refusal "installing while $program runs" wine "$installer" /S
    expect_refusal "the quiet uninstall while $program runs" quiet_uninstall "$hive"
    stop_program
    change_times "$unix_dir" "$shortcut" | diff "$work/times" - >&2 || fail "failing to install or uninstall touched the files above"
}

wine wineboot --init >/dev/null 2>&1
wineserver -w
footprint >"$work/before"

# For all users, an existing folder outside Program Files is refused unless only administrators may change
# it, and under Wine each is its user's; one that Setup makes is for administrators alone, and of that
# Wine keeps only what Unix modes say: others may not look in.
games=$WINEPREFIX/drive_c/Games
mkdir -p "$games/$product"
footprint >"$work/open"
expect_refusal "installing for all users in a folder others may change" wine "$installer" /S /AllUsers "/D=C:\\Games\\$product"
same_footprint open "failing to install in a folder others may change"
rmdir "$games/$product"
wine "$installer" /S /AllUsers "/D=C:\\Games\\$product" || fail "installing for all users in a new folder failed"
[[ $(stat -c %a "$games/$product") == *0 ]] || fail "others may use the folder made: $(stat -c %A "$games/$product")"
quiet_uninstall HKLM || fail "uninstalling from C:\\Games failed"
wineserver -w
rmdir "$games" || fail "C:\\Games holds: $(ls -A "$games")"
same_footprint before "installing in a new folder and uninstalling"

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
    check_signed "$unix_dir/$program"
    check_signed "$unix_dir/Uninstall.exe"
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
    expect_refusal "$mode: installing for /$other_mode" wine "$installer" /S "/$other_mode"
    [ "$mode" != AllUsers ] || check_refusals "$dir" "$unix_dir" "$shortcut" "$hive"
    same_footprint installed "$mode: failing to install or uninstall"
    # Installing again, in no mode in particular, replaces the installation where it is.
    wine "$installer" /S || fail "$mode: installing again failed"
    same_footprint installed "$mode: installing again"

    if [ "$mode" = AllUsers ]; then
        # A copy running from elsewhere is not this installation's.
        start_program "$zip_program"
        quiet_uninstall "$hive" || fail "$mode: the uninstaller failed with a copy from the zip running"
        stop_program
    else
        interactive_uninstall "$hive" "$unix_dir"
    fi
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
