#!/usr/bin/env bash
# Playing starts no threads: over 5 s of a playing film the player's process keeps
# exactly the threads it had (Wine's timer service ends its thread whenever no timer is
# left; with only the one-shot frame events a thread came and went for nearly every
# tick). The timer kept for that holds nothing up: the player ends cleanly after F11
# and Alt+F4, and by itself at the end of a film played with /closeonfinish.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

# The thread ids of the player's process (Wine runs it as one Linux process), one line.
threads() { ls "/proc/$RZ_PID/task" | sort -n | tr '\n' ' '; }

rz_open "$RZ_FILMS/pictures.kof"  # "Intro": 10 s, silent
rz_wait_menu_state roRezodu 1.0 enabled,checked
rz_moving roRezodu 320 240 || rz_fail "the picture does not move while the film plays"
playing=$(threads)
samples=0
end=$((SECONDS + 5))
while [ $SECONDS -lt $end ]; do
  [ "$(threads)" = "$playing" ] || rz_fail "threads came or went while playing: $playing-> $(threads)"
  samples=$((samples + 1))
  sleep 0.05
done
rz_moving roRezodu 320 240 || rz_fail "the picture stopped moving within the first 6 s of a 10 s film"
rz_keys roRezodu F11
rz_wait_menu_state roRezodu 1.2 enabled,checked
rz_close

rz_start "$(rz_windows_path "$RZ_FILMS/clock3.kof")" /closeonfinish  # 3 s
# 3 s of film take 6 to 12 s from the start of Wine to the end on a busy machine; a
# player that hangs as it ends is still there after a minute.
rz_ended_well 60 "at the end of a film with /closeonfinish"
rz_no_boxes
echo "$RZ_NAME: the same $(wc -w <<<"$playing") threads in $samples looks over 5 s of playing; ended by" \
  "F11 and Alt+F4, and by /closeonfinish"
