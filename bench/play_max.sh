#!/usr/bin/env bash
# How fast roRezodu.exe presents frames under Wine in Xvfb, and what it costs (a benchmark,
# not a test; the machine is shared, so compare figures of one run only):
#  1. the bare chain of 1 ms one-shot timer events that paces the frames
#     (bench/timer_chain_win.cpp), with and without a 1 ms Sleep after each event (which
#     the tick once took) and the idle timer the player holds; with the idle timer alone
#     it is the ceiling of the MAX speed here;
#  2. highest speed: films of 770 x 695 x 32 with typical screen changes, the speed
#     slider dragged to MAX, played with /closeonfinish; the frames presented per second
#     of the frames by which a long and a short film differ (from F9 to the exit, so the
#     segment start and the program's exit cancel out), and that rate against the chain;
#     at 100 % and at 200 % (LogPixels 192 on a screen twice as large, 2560 x 2048, where
#     the picture is shown at 1540 x 1390, every pixel a 2 x 2 block);
#  3. speed x1 with three pointer samples per frame (30 ticks a second): a 20 s film, its
#     time from the window showing to the exit, and the processor time that the player
#     and the Wine server serving it took over 15 s of it.
# The chain and MAX are the best of three rounds.
# Usage:
#   bench/play_max.sh [--short] [--compare OTHER_PLAYER.exe]
#     --short    a few seconds per figure instead of about four minutes in all: shows that
#                the benchmark runs and prints its figures (the test suite runs it so)
#     --compare  measures another build of the player too (say, main's), figure by figure
#                beside this one
# Builds what it needs; runs in Xvfb when there is no DISPLAY. Uses WINEPREFIX when set,
# else build/wine-bench.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
arguments=("$@")
short=""
players=(build/windows/roRezodu.exe)
while [ $# -gt 0 ]; do
  case "$1" in
    --short) short=1 ;;
    --compare) players+=("$(realpath "$2")") && shift ;;
    *) echo "usage: bench/play_max.sh [--short] [--compare OTHER_PLAYER.exe]" >&2 && exit 2 ;;
  esac
  shift
done
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${arguments[@]}"; fi
# The suite has set everything up already (and runs this with Wine's HOME).
RZ_MINGW_PREFIX=${RZ_MINGW_PREFIX:-$(scripts/setup.sh)}
export RZ_MINGW_PREFIX
cmake --preset release >/dev/null && cmake --build --preset release --target make_play_film kof make_e2e_films >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows --target roRezodu rz_probe timer_chain >/dev/null
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wine-bench}"
source tests/e2e/lib.sh
rz_e2e_init build/windows/roRezodu.exe build/windows/tests/rz_probe.exe build/release
film_maker=build/release/bench/make_play_film
if [ -n "$short" ]; then
  rounds=1 chain_seconds=0.3 max_frames=(100 400) x1_frames=40 x1_window=2
else
  rounds=3 chain_seconds=3 max_frames=(600 3000) x1_frames=200 x1_window=15
fi

# The Wine server of the prefix (it serves the player and ends a little after it).
wine_server_pid() {
  local server_dir pid
  server_dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for pid in $(pgrep -x wineserver64 || pgrep -x wineserver || true); do
    case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in */"$server_dir") echo "$pid" && return ;; esac
  done
  rz_fail "no Wine server for $WINEPREFIX"
}

now() { date +%s.%N; }
# processor_seconds PID: user and system time of the process and all its threads so far.
processor_seconds() {
  local stat
  read -r -a stat <"/proc/$1/stat"
  echo "(${stat[13]} + ${stat[14]}) / $(getconf CLK_TCK)" | bc -l
}
label() { [ "$1" = "${players[0]}" ] && echo "this build" || basename "$1"; }

# px N: a length of the design on the screen at $dpi, rounded as the player rounds.
dpi=96
px() { echo $((($1 * dpi + 48) / 96)); }

# The speed slider lies at x = 420 .. 490 of the panel; its thumb sits at 20 .. 35 at x1.
drag_speed_to_max() {
  local x0 y0 h y
  read -r x0 y0 _ h <<<"$(rz_probe client roRezodu | tr '\t' ' ')"
  y=$((y0 + h - $(px 40) + $(px 28)))
  xdotool mousemove $((x0 + $(px 448))) "$y" mousedown 1
  for x in 460 480 500 520; do xdotool mousemove $((x0 + $(px "$x"))) "$y"; sleep 0.05; done
  xdotool mouseup 1
}

scaled_screen=""
back_to_100() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  [ -z "$scaled_screen" ] || kill "$scaled_screen" 2>/dev/null || true
  rz_cleanup
}

# on_scaled_screen: from now on the players run at 200 % on an Xvfb screen twice as
# large as this one. Wine's server starts anew for the new display; the prefix goes back
# to 96 DPI when the script ends.
on_scaled_screen() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  Xvfb -displayfd 9 -screen 0 2560x2048x24 -nolisten tcp 9>"$RZ_OUT/display" 2>/dev/null &
  scaled_screen=$!
  trap back_to_100 EXIT
  rz_wait_until 10 test -s "$RZ_OUT/display" || rz_fail "no screen for 200 %"
  export DISPLAY=":$(cat "$RZ_OUT/display")"
  dpi=192
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # Wine's services start with the first program on the new display; with their output
  # elsewhere, or they would hold the chain's pipe open (tests/e2e/lib.sh).
  wine "$RZ_PROBE" windows </dev/null >/dev/null 2>&1 || true
}

# seconds_at_max PLAYER FRAMES: seconds from F9 to the exit of a film of FRAMES frames
# played at MAX.
seconds_at_max() {
  "$film_maker" "$RZ_OUT/max.kof" "$2" 10 1
  RZ_EXE=$1
  rz_start "$(rz_windows_path "$RZ_OUT/max.kof")" /segm 0 /closeonfinish
  rz_wait_window roRezodu
  drag_speed_to_max
  sleep 0.5
  local window start
  window=$(rz_x_window roRezodu)
  xdotool windowfocus --sync "$window"
  start=$(now)
  xdotool key F9
  rz_wait_exit 120 || rz_fail "$(label "$1") did not end at MAX"
  echo "$(now) - $start" | bc -l
}

# x1_figures PLAYER: "PLAYED PLAYER% SERVER%" for the x1 film.
x1_figures() {
  RZ_EXE=$1
  rz_start "$(rz_windows_path "$RZ_OUT/x1.kof")" /closeonfinish
  rz_wait_window roRezodu
  local start server player0 server0 player1 server1
  start=$(now)
  server=$(wine_server_pid)
  sleep 1  # past the segment start
  player0=$(processor_seconds "$RZ_PID") server0=$(processor_seconds "$server")
  sleep "$x1_window"
  player1=$(processor_seconds "$RZ_PID") server1=$(processor_seconds "$server")
  rz_wait_exit 60 || rz_fail "$(label "$1") did not end at x1"
  printf '%s\n' "$(now) - $start" "100 * ($player1 - $player0) / $x1_window" "100 * ($server1 - $server0) / $x1_window" |
    bc -l | tr '\n' ' '
}

# max_rate PLAYER: "RATE SHORT LONG": the frames/s of the frames by which the long film
# exceeds the short one, and the seconds of each.
max_rate() {
  local t_short t_long
  t_short=$(seconds_at_max "$1" "${max_frames[0]}")
  t_long=$(seconds_at_max "$1" "${max_frames[1]}")
  echo "$(ratio "$((max_frames[1] - max_frames[0]))" "$t_long - $t_short") $t_short $t_long"
}
# ratio A B: A / B, 0 when B is not positive (a short run may measure no difference).
ratio() { echo "b = $2; if (b > 0) ($1) / b else 0" | bc -l; }
better() { [ -z "$2" ] || [ "$(echo "$1 > $2" | bc -l)" = 1 ]; }

# max_speed SCALE: the chain and MAX speed at the screen's scale now, best of $rounds
# rounds in which the chain and the players take turns, so that a moment of load on the
# shared machine lowers no figure alone.
max_speed() {
  local chain_rows=() max_best=() round i row rate figures ceiling t_short t_long
  declare -A chain_best=()
  for ((round = 0; round < rounds; round++)); do
    while IFS=: read -r row rate; do
      [ $round -gt 0 ] || chain_rows+=("$row")
      rate=${rate% events/s}
      ! better "$rate" "${chain_best[$row]:-}" || chain_best[$row]=$rate
    done < <(wine build/windows/bench/timer_chain.exe "$chain_seconds" | tr -d '\r')
    for i in "${!players[@]}"; do
      figures=$(max_rate "${players[$i]}")
      ! better "${figures%% *}" "$(cut -d' ' -f1 <<<"${max_best[$i]:-}")" || max_best[$i]=$figures
    done
  done
  echo "At $1: the bare chain of 1 ms one-shot events, best of $rounds:"
  for row in "${chain_rows[@]}"; do printf '  %s: %.0f events/s\n' "$row" "${chain_best[$row]}"; done
  ceiling=${chain_best[${chain_rows[1]}]}  # chain, idle timer held: what a tick waits for at best
  printf 'At %s: MAX speed, 770 x 695 x 32, one pointer sample per frame (F9 to exit), best of %s:\n' "$1" "$rounds"
  for i in "${!players[@]}"; do
    read -r rate t_short t_long <<<"${max_best[$i]}"
    printf '  %s: %.0f frames/s, %.2f of the chain with the idle timer (%s frames in %.2f s, %s in %.2f s)\n' \
      "$(label "${players[$i]}")" "$rate" "$(ratio "$rate" "$ceiling")" \
      "${max_frames[0]}" "$t_short" "${max_frames[1]}" "$t_long"
  done
  for i in "${!players[@]}"; do
    [ "$i" -eq 0 ] || printf '  this build / %s: %.2f\n' "$(label "${players[$i]}")" \
      "$(ratio "${max_best[0]%% *}" "${max_best[$i]%% *}")"
  done
}

max_speed "100 %"

# Speed x1: frames at 10 frames/s, three pointer samples per frame.
"$film_maker" "$RZ_OUT/x1.kof" "$x1_frames" 10 3
printf 'Speed x1, 770 x 695 x 32, three pointer samples per frame, %s s of film:\n' "$((x1_frames / 10))"
for player in "${players[@]}"; do
  read -r played player_share server_share <<<"$(x1_figures "$player")"
  printf '  %s: played in %.2f s from the window showing to the exit; processor over %s s: player %.1f %%, Wine server %.1f %%\n' \
    "$(label "$player")" "$played" "$x1_window" "$player_share" "$server_share"
done

on_scaled_screen
max_speed "200 %"
