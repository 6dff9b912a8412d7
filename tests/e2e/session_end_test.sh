#!/usr/bin/env bash
# The session ends (the user logs off) while a film plays. Windows ends a program after
# WM_ENDSESSION without destroying its windows, so the film's place must be in the
# settings file by then. `wineboot --end-session` sends WM_QUERYENDSESSION and
# WM_ENDSESSION to every window and then ends the programs, as Windows does, at once or
# a moment later: the place must be there, and the player must not have closed by
# itself (exit code 0), which would mean it wrote the place as it closes.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

settings=$RZ_SETTINGS
rz_settings_aside
# An ended player leaves its temporary folder: the ones made here go too.
finish() {
  rz_settings_back
  rz_cleanup
  local folder temp
  temp=$(rz_temp_dir)
  for folder in $(comm -13 <(printf '%s\n' "$RZ_FOLDERS") <(rz_temp_folders)); do rm -rf "${temp:?}/$folder"; done
}
trap finish EXIT

film=$(rz_windows_path "$RZ_FILMS/habits.kof")
has_place() { [ -f "$settings" ] && tr -d '\r' <"$settings" | grep -q "^place=.* $(printf '%s' "$film" | sed 's/[][\.*^$]/\\&/g')\$"; }

rz_start "$film"
rz_wait_window roRezodu 60
rz_wait_until 20 rz_moving roRezodu 400 300 || rz_fail "the film does not play"
sleep 11
! has_place || rz_fail "the place was written before the session ended"
wineboot --end-session || rz_fail "wineboot --end-session failed"
rz_wait_until 10 has_place || rz_fail "no place in the settings file after the session ended: $(cat "$settings" 2>&1)"
if rz_ended; then
  ! wait "$RZ_PID" || rz_fail "the player closed by itself when the session ended"
else
  kill "$RZ_PID"
fi
RZ_PID=""
echo "$RZ_NAME: the place of a playing film is written when the session ends"
