#!/usr/bin/env bash
# The settings file keeps what the user saved. It starts as Notepad leaves it (a
# byte-order mark, CR LF), in the earlier version 1 (values without their time), with
# the language, a value and a line this player does not know, and places of other
# films; it is written as version 2. (a) A film closes while another program holds the
# file sharing nothing: the file stays as it was, and the place appears once the
# program lets go and the player ends. (b) Two players closed at the same moment: both
# places are kept. (Which places are offered: ResumeTracker.OffersOnlyAFrameTheFilmHasNow
# natively, the offer itself: habits_test.sh.)
# The films are copies of habits.kof (make_e2e_films.cpp: 12 s, then 20 s, 400 x 300).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

settings=$RZ_SETTINGS
# The prefix is shared with the other tests: their settings come back at the end.
mkdir -p "$(dirname "$settings")"
if [ -f "$settings" ]; then cp "$settings" "$RZ_OUT/theirs.txt"; fi
restore() { if [ -f "$RZ_OUT/theirs.txt" ]; then cp "$RZ_OUT/theirs.txt" "$settings"; else rm -f "$settings"; fi; }
trap 'restore; rz_cleanup' EXIT

# (The first two are typed into the Open dialog, which xdotool does in ASCII only.)
for name in first second третий; do cp "$RZ_FILMS/habits.kof" "$RZ_FILMS/$name.kof"; done
first=$(rz_windows_path "$RZ_FILMS/first.kof")
second=$(rz_windows_path "$RZ_FILMS/second.kof")
third=$(rz_windows_path "$RZ_FILMS/третий.kof")
old_places=('C:\Уроки\урок 1.kof' 'D:\old film.kof')
printf '\xEF\xBB\xBFroRezodu settings 1\r\nlanguage=ru\r\nvolume=80\r\n# written by hand\r\n' >"$settings"
printf 'place=1600000000000 1000 2000 0 5 %s\r\nresume=3000 4000 1 6 %s\r\n' "${old_places[@]}" >>"$settings"
cp "$settings" "$RZ_OUT/saved.txt"

# lines: the settings file's lines, without CR.
lines() { tr -d '\r' <"$settings"; }
# place_of PATH: "SEGMENT FRAME" of the film's place in the settings file (five numbers
# before the path in a place= line, four in an earlier build's resume= line).
place_of() {
  lines | P="$1" awk '/^(place|resume)=/ {
    n = /^place=/ ? 5 : 4; at = index($0, "=") + 1; split(substr($0, at), f, " ")
    for (i = 1; i <= n; ++i) at += length(f[i]) + 1
    if (substr($0, at) == ENVIRON["P"]) { print f[n - 1], f[n]; exit } }'
}
# everything_saved_is_there: the language, the value (now of version 2, their time 0:
# older than any), the line not known, the old places.
everything_saved_is_there() {
  local line
  [ "$(lines | head -n 1)" = "roRezodu settings 2" ] || rz_fail "the file was not written as version 2: $(cat "$settings")"
  for line in 'language=0 ru' 'volume=0 80' '# written by hand'; do
    lines | grep -qxF "$line" || rz_fail "'$line' was lost: $(cat "$settings")"
  done
  [ "$(place_of "${old_places[0]}")" = "0 5" ] && [ "$(place_of "${old_places[1]}")" = "1 6" ] ||
    rz_fail "the old places were lost: $(cat "$settings")"
}
# play_past_ten_seconds TITLE: waits until the film in the window has played 11 s.
play_past_ten_seconds() {
  rz_wait_until 20 rz_moving "$1" 400 300 || rz_fail "the film in '$1' does not play"
  sleep 11
}
open_film() {  # TITLE PATH: the Open dialog of a player started without a film
  rz_open_dialog "$1"
  rz_keys "$RZ_DIALOG" ctrl+a
  xdotool type --delay 15 "$2"
  xdotool key Return
  rz_wait_window "roRezodu - [$2]" 10
}

# (a) The first film plays, stops; the file is held while it closes (another opens).
rz_start
rz_wait_window roRezodu 60
open_film roRezodu "$first"
rz_keys "roRezodu - [$first]" F9
play_past_ten_seconds "roRezodu - [$first]"
rz_keys "roRezodu - [$first]" F11
touch "$RZ_OUT/holding"
wine "$RZ_PROBE" hold "$(rz_windows_path "$settings")" "$(rz_windows_path "$RZ_OUT/holding")" >"$RZ_OUT/hold.txt" 2>&1 &
holder=$!
rz_wait_until 20 grep -qx held "$RZ_OUT/hold.txt" || rz_fail "the probe did not hold the settings file"
open_film "roRezodu - [$first]" "$second"
sleep 1
cmp -s "$settings" "$RZ_OUT/saved.txt" || rz_fail "the file was written while held: $(cat "$settings")"
rm "$RZ_OUT/holding"
wait "$holder" || rz_fail "the probe's hold failed: $(cat "$RZ_OUT/hold.txt")"
rz_close "roRezodu - [$second]"
everything_saved_is_there
[ -n "$(place_of "$first")" ] || rz_fail "the first film's place did not come after the file was let go: $(cat "$settings")"

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
everything_saved_is_there
[ -n "$(place_of "$first")" ] || rz_fail "the first film's place was lost"
for film in "$second" "$third"; do
  [ -n "$(place_of "$film")" ] || rz_fail "the place of $film was lost: $(cat "$settings")"
done

echo "$RZ_NAME: a held file waits and loses nothing, two players keep both places"
