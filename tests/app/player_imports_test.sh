#!/usr/bin/env bash
# What roRezodu.exe asks of the system when it starts: only system DLLs (no library of
# ours beside it), and no function newer than Windows Vista. Functions of later systems
# (reading a window's scale, Windows 10 version 1607) are looked up at run time, so an
# older system starts the player and it does without them. A function listed here in the
# import table means the loader refuses to start the player on older systems.
#   player_imports_test.sh OBJDUMP roRezodu.exe
set -euo pipefail
objdump=$1 exe=$2
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { dll = tolower($3) } /^\t[0-9a-f]+\t *[0-9]+ +[^ ]/ && dll { print dll, $3 }')
[ -n "$imports" ] || { echo "no import table read from $exe" >&2; exit 1; }
status=0
# The system's own DLLs.
others=$(printf '%s\n' "$imports" | cut -d' ' -f1 | sort -u |
  grep -vx -e kernel32.dll -e user32.dll -e gdi32.dll -e comctl32.dll -e comdlg32.dll -e shell32.dll \
    -e ole32.dll -e oleaut32.dll -e oleacc.dll -e winmm.dll -e msacm32.dll -e msvcrt.dll) || true
[ -z "$others" ] || { echo "roRezodu.exe needs DLLs a bare Windows lacks: $others" >&2; status=1; }
# Functions of Windows 7 and later that a player on the Windows API is tempted to call:
# the screen-scale calls of Windows 8.1 and 10, and a few of kernel32's.
newer='GetDpiForWindow GetDpiForSystem GetDpiForMonitor GetSystemMetricsForDpi AdjustWindowRectExForDpi
SystemParametersInfoForDpi SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
GetAwarenessFromDpiAwarenessContext AreDpiAwarenessContextsEqual SetProcessDpiAwarenessContext SetProcessDpiAwareness
GetProcessDpiAwareness EnableNonClientDpiScaling LogicalToPhysicalPointForPerMonitorDPI GetDpiFromDpiAwarenessContext
GetSystemTimePreciseAsFileTime CreateFile2 SetThreadDescription GetCurrentThreadStackLimits SetDefaultDllDirectories'
for function in $newer; do
  if printf '%s\n' "$imports" | grep -q " $function\$"; then
    echo "roRezodu.exe imports $(printf '%s\n' "$imports" | grep " $function\$"), which Windows Vista lacks" >&2
    status=1
  fi
done
[ $status = 0 ] && echo "player_imports: $(printf '%s\n' "$imports" | wc -l) imports, all of Windows Vista's DLLs"
exit $status
