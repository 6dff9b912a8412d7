#!/usr/bin/env bash
# How fast roRezodu.exe presents frames under Wine in Xvfb (a benchmark, not a test):
#  1. highest speed: films of 600 and 3,000 frames of 770 x 695 x 32 with typical screen
#     changes, the speed slider dragged to MAX, played with /closeonfinish. Reports the
#     frames presented per second of each run (from F9 to the exit, so the segment start
#     and the program's exit count against it) and of the 2,400 frames by which the two
#     differ (start and exit cancel out).
#  2. speed x1 with three pointer samples per frame: a 20 s film, its time from the
#     first frame to the exit against its length, and the processor time the player took.
#   bench/play_max.sh           (builds what it needs; runs in Xvfb when there is no DISPLAY)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
RZ_MINGW_PREFIX=$(scripts/setup.sh)
export RZ_MINGW_PREFIX
cmake --preset release >/dev/null && cmake --build --preset release --target make_play_film >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows --target roRezodu rz_probe >/dev/null
export WINEPREFIX="$PWD/build/wine-bench"
source tests/e2e/lib.sh
rz_e2e_init build/windows/roRezodu.exe build/windows/tests/rz_probe.exe
film_maker=build/release/bench/make_play_film

now() { date +%s.%N; }

# The speed slider lies at x = 420 .. 490 of the panel; its thumb sits at 20 .. 35 at x1.
drag_speed_to_max() {
  local x0 y0 h y
  read -r x0 y0 _ h <<<"$(rz_probe client roRezodu | tr '\t' ' ')"
  y=$((y0 + h - 40 + 28))
  xdotool mousemove $((x0 + 448)) "$y" mousedown 1
  for x in 460 480 500 520; do xdotool mousemove $((x0 + x)) "$y"; sleep 0.05; done
  xdotool mouseup 1
}

# Seconds from F9 to the exit of a film of $1 frames played at MAX.
seconds_at_max() {
  "$film_maker" "$RZ_OUT/max.kof" "$1" 10 1
  rz_start "$(rz_windows_path "$RZ_OUT/max.kof")" /segm 0 /closeonfinish
  rz_wait_window roRezodu
  drag_speed_to_max
  sleep 0.5
  local window start
  window=$(rz_x_window roRezodu)
  xdotool windowfocus --sync "$window"
  start=$(now)
  xdotool key F9
  wait "$RZ_PID" || true
  RZ_PID=""
  echo "$(now) - $start" | bc -l
}

t1=$(seconds_at_max 1)
t600=$(seconds_at_max 600)
t3000=$(seconds_at_max 3000)
printf 'MAX speed, 770 x 695 x 32, one pointer sample per frame (F9 to exit):\n'
printf '  1 frame: %.2f s (segment start and exit)\n' "$t1"
printf '  600 frames: %.2f s, %.0f frames/s presented\n' "$t600" "$(echo "600 / $t600" | bc -l)"
printf '  3000 frames: %.2f s, %.0f frames/s\n' "$t3000" "$(echo "3000 / $t3000" | bc -l)"
printf '  the 2400 frames more: %.0f frames/s\n' "$(echo "2400 / ($t3000 - $t600)" | bc -l)"

# Speed x1: 200 frames at 10 frames/s, three pointer samples per frame (600 ticks).
"$film_maker" "$RZ_OUT/x1.kof" 200 10 3
rz_start "$(rz_windows_path "$RZ_OUT/x1.kof")" /closeonfinish
rz_wait_window roRezodu
start=$(now)
sleep 15
read -r -a stat <"/proc/$RZ_PID/stat"
ticks=$((stat[13] + stat[14]))
cpu=$(echo "$ticks / $(getconf CLK_TCK)" | bc -l)
wait "$RZ_PID" || true
RZ_PID=""
elapsed=$(echo "$(now) - $start" | bc -l)
printf 'Speed x1, 770 x 695 x 32, three pointer samples per frame, 20 s of film:\n'
printf '  played in %.2f s from the window showing to the exit\n' "$elapsed"
printf '  processor time of the player in its first 15 s: %.2f s (%.0f %%)\n' "$cpu" "$(echo "100 * $cpu / 15" | bc -l)"
