#!/usr/bin/env bash
# The player's places reach the settings file however it is held. (a) A film closes
# while another program holds the file sharing nothing: the file stays as it was, and
# the place appears once the program lets go and the player ends. (b) Two players
# closed at the same moment: both places are kept. (What the file keeps of other lines,
# versions and films: SettingsStore, SettingsFile and SettingsFileWin natively; which
# places are offered: ResumeTracker.OffersOnlyAFrameTheFilmHasNow; the offer itself:
# habits_test.sh.)
# The films are copies of habits.kof (make_e2e_films.cpp: 12 s, then 20 s, 400 x 300).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

settings=$RZ_SETTINGS
rz_settings_aside

# (The first two are typed into the Open dialog, which xdotool does in ASCII only.)
for name in first second третий; do cp "$RZ_FILMS/habits.kof" "$RZ_FILMS/$name.kof"; done
first=$(rz_windows_path "$RZ_FILMS/first.kof")
second=$(rz_windows_path "$RZ_FILMS/second.kof")
third=$(rz_windows_path "$RZ_FILMS/третий.kof")
printf '\xEF\xBB\xBFroRezodu settings 2\r\nlanguage=1 ru\r\n' >"$settings"
cp "$settings" "$RZ_OUT/saved.txt"

# has_place PATH: the settings file holds a place of the film (a place= line ending in PATH).
has_place() { tr -d '\r' <"$settings" | P="$1" awk '/^place=/ && substr($0, length($0) - length(ENVIRON["P"]) + 1) == ENVIRON["P"] { found = 1 } END { exit !found }'; }
# play_past_ten_seconds TITLE: waits until the film in the window has played 11 s.
play_past_ten_seconds() {
  rz_wait_until 20 rz_moving "$1" 400 300 || rz_fail "the film in '$1' does not play"
  sleep 11
}

# (a) The first film plays, stops; the file is held while it closes (another opens).
rz_start
rz_wait_window roRezodu 60
rz_open_typed roRezodu "$first"
rz_keys "roRezodu - [$first]" F9
play_past_ten_seconds "roRezodu - [$first]"
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

# (b) Two players, each with its film played past 10 s, are closed at the same moment.
rz_start "$second"
first_pid=$RZ_PID
rz_start "$third"
players_shown() { [ "$(rz_probe windows | awk -F'\t' '$5 == "roRezodu"' | wc -l)" = 2 ]; }
rz_wait_until 60 players_shown || rz_fail "the two players did not both appear: $(rz_probe windows)"
sleep 16  # past 10 s of each film, also when a busy machine was slow to start playing them
rz_probe close roRezodu || rz_fail "no player to close"
rz_wait_exit 30 && [ "$RZ_STATUS" = 0 ] || rz_fail "the second player did not end well ($RZ_STATUS)"
RZ_PID=$first_pid
rz_wait_exit 30 && [ "$RZ_STATUS" = 0 ] || rz_fail "the first player did not end well ($RZ_STATUS)"
for film in "$first" "$second" "$third"; do
  has_place "$film" || rz_fail "the place of $film was lost: $(cat "$settings")"
done

echo "$RZ_NAME: a held file waits and loses nothing, two players keep both places"
