#!/usr/bin/env bash
# The player's place reaches the settings file however it is held: a film closes while
# another program holds the file sharing nothing; the file stays as it was, and the place
# appears once the program lets go and the player ends. (What the file keeps of other
# lines, versions, films and of writers side by side: SettingsStore, SettingsFile and
# SettingsFileWin natively; the offer: habits_test.sh.) The films are copies of
# habits.kof (make_e2e_films.cpp: 12 s, then 20 s, 400 x 300).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

settings=$RZ_SETTINGS
rz_settings_aside

for name in first second; do cp "$RZ_FILMS/habits.kof" "$RZ_FILMS/$name.kof"; done
first=$(rz_windows_path "$RZ_FILMS/first.kof")
second=$(rz_windows_path "$RZ_FILMS/second.kof")
printf '\xEF\xBB\xBFroRezodu settings 2\r\nlanguage=1 ru\r\n' >"$settings"
cp "$settings" "$RZ_OUT/saved.txt"

# has_place PATH: the settings file holds a place of the film (a place= line ending in PATH).
has_place() { tr -d '\r' <"$settings" | P="$1" awk '/^place=/ && substr($0, length($0) - length(ENVIRON["P"]) + 1) == ENVIRON["P"] { found = 1 } END { exit !found }'; }

# The first film plays past 10 s, stops; the file is held while it closes (another opens).
rz_start
rz_wait_window roRezodu 60
rz_open_typed roRezodu "$first"
rz_keys "roRezodu - [$first]" F9
rz_wait_until 20 rz_moving "roRezodu - [$first]" 400 300 || rz_fail "the first film does not play"
sleep 11
rz_keys "roRezodu - [$first]" F11
touch "$RZ_OUT/holding"
wine "$RZ_PROBE" hold "$(rz_windows_path "$settings")" "$(rz_windows_path "$RZ_OUT/holding")" >"$RZ_OUT/hold.txt" 2>&1 &
holder=$!
rz_wait_until 20 grep -qx held "$RZ_OUT/hold.txt" || rz_fail "the probe did not hold the settings file"
rz_open_typed "roRezodu - [$first]" "$second"
sleep 1
cmp -s "$settings" "$RZ_OUT/saved.txt" || rz_fail "the file was written while held: $(cat "$settings")"
rm "$RZ_OUT/holding"
wait "$holder" || rz_fail "the probe's hold failed: $(cat "$RZ_OUT/hold.txt")"
rz_close "roRezodu - [$second]"
has_place "$first" || rz_fail "the first film's place did not come after the file was let go: $(cat "$settings")"
echo "$RZ_NAME: a held file waits and loses nothing"
