#!/usr/bin/env bash
# Checks the Windows program as a file: a 64-bit GUI executable (no console window) made for Windows 10
# and 11 (subsystem version 6.0, a manifest declaring them and per-monitor scaling) that imports only
# DLLs every Windows 10 and 11 has, so nothing (Qt, the C++ runtime, the threads library) must lie beside
# it; its icon holds every size of the launcher icon, and its version information names the project's
# version and the file.
# Usage: executable_test.sh PROGRAM.exe OBJDUMP WINDRES PROJECT_VERSION LAUNCHER_ICON_DIR
set -euo pipefail

program=$1 objdump=$2 windres=$3 version=$4 launcher_dir=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

description=$(file -b "$program")
echo "file: $description"
# file 5.44 says "PE32+ executable (GUI) x86-64, for MS Windows", 5.46 "PE32+ executable for MS Windows 6.00 (GUI), x86-64".
[[ $description == "PE32+ executable "* && $description == *"(GUI)"* && $description == *"x86-64"* &&
    $description == *"for MS Windows"* ]] || fail "not a 64-bit Windows GUI program"

headers=$("$objdump" -p "$program")

# The system's own DLLs, in System32 of every Windows 10 and 11 (the api-ms-win-* names are API sets
# the loader maps onto them); a new import belongs here only if that holds for it too.
system_dlls=" advapi32.dll api-ms-win-core-synch-l1-2-0.dll api-ms-win-core-winrt-l1-1-0.dll
    api-ms-win-core-winrt-string-l1-1-0.dll authz.dll comdlg32.dll d3d11.dll d3d12.dll d3d9.dll dwmapi.dll
    dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll netapi32.dll ole32.dll oleaut32.dll
    setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll userenv.dll uxtheme.dll version.dll winmm.dll
    ws2_32.dll wtsapi32.dll "
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u)
echo "imports:" "${imports//$'\n'/ }"
for dll in $imports; do
    [[ $system_dlls == *[[:space:]]"${dll}"[[:space:]]* ]] || fail "imports $dll, which Windows does not have"
done

grep -q '^MajorSubsystemVersion[[:space:]]*6$' <<<"$headers" || fail "the subsystem version is not 6"

resources=$("$windres" -i "$program" -O rc)
manifest=$(sed -n '/^1 24 \/\* RT_MANIFEST \*\//,/^END/p' <<<"$resources")
for declared in '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' 'PerMonitorV2' 'asInvoker'; do
    grep -q "$declared" <<<"$manifest" || fail "the application manifest does not declare $declared"
done

# Icon group 1, the one Explorer shows: its entries' widths (0 stands for 256), in octal escapes.
icon_sizes=$(sed -n '/^1 14 \/\* RT_GROUP_ICON \*\//,/^END/p' <<<"$resources" \
    | sed -n 's/^ *"\\\([0-7]*\)\\.*/\1/p' | while read -r octal; do
        size=$((8#$octal))
        echo $((size == 0 ? 256 : size))
    done | sort -n | tr '\n' ' ')
drawn_sizes=$(find "$launcher_dir" -name 'ochreline-*.png' | sed 's/.*-\([0-9]*\)\.png$/\1/' | sort -n | tr '\n' ' ')
echo "icon sizes: $icon_sizes"
[ "$icon_sizes" = "$drawn_sizes" ] || fail "the icon holds sizes '$icon_sizes', the launcher icon is drawn at '$drawn_sizes'"

grep -q "^ *FILEVERSION ${version//./, }\$" <<<"$resources" || fail "the file version is not $version"
grep -q "VALUE \"OriginalFilename\", \"$(basename "$program")\"" <<<"$resources" || fail "OriginalFilename is not $(basename "$program")"
echo "executable: all checks passed"
