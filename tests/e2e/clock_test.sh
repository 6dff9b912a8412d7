#!/usr/bin/env bash
# The clock seen from outside: two players side by side, 3-second films with one and
# three pointer samples per frame and /closeonfinish, each with its own temporary folder,
# show the pictures of their second half and end, neither early (the clock never runs
# ahead: at least 90 % of 3 s after the first picture) nor hanging (at most 3 s late, a
# bound a busy machine keeps); /segm beyond the last segment ends at once. How exactly the clock keeps
# time is for the engine's unit tests and the benchmarks, not for a timed check here.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
length=3  # seconds: 30 frames at 10 per second
frames=30
late=3    # seconds a loaded machine may add

rz_start "$(rz_windows_path "$RZ_FILMS/clock1.kof")" /segm 2 /closeonfinish
rz_ended_well 20 "when started beyond its film's last segment"

# The one-sample player at the top of the screen, the three-sample one below it. Their
# 160 x 120 pictures are centred in the windows, so the screen column x = 300 crosses
# each picture once it shows: a colour #xx1E14 whose red is the frame's number
# (make_e2e_films.cpp).
rz_start "$(rz_windows_path "$RZ_FILMS/clock1.kof")" /closeonfinish /pos 0 0
one=$RZ_PID
rz_start "$(rz_windows_path "$RZ_FILMS/clock3.kof")" /closeonfinish /pos 0 500
three=$RZ_PID
declare -A started=() ended=() last=([one]=-1 [three]=-1)
# A line "PLAYER FRAME" for each player whose picture shows.
pictures_shown() {
  import -window root -crop 1x1024+300+0 -depth 8 txt:- 2>/dev/null |
    awk -F'[,:]' 'function hex(c) { return index("0123456789abcdef", c) - 1 }
      match(tolower($0), /#..1e14/) {
        colour = substr(tolower($0), RSTART + 1, 2)
        print ($2 < 500 ? "one" : "three"), 16 * hex(substr(colour, 1, 1)) + hex(substr(colour, 2, 1)) }' | sort -u
}
end=$((SECONDS + 30))
# A picture first seen in one look came after the look before it, which is taken as its
# start: on a busy machine the looks are a second or so apart, and a start taken late
# would make a film seem to end early.
previous=$(date +%s.%N)
while [ ${#ended[@]} -lt 2 ]; do
  [ $SECONDS -lt $end ] || rz_fail "the players did not end within 30 s (started: ${!started[*]}, ended: ${!ended[*]})"
  now=$(date +%s.%N)
  while read -r player frame; do
    [ -n "$player" ] || continue
    [ -n "${started[$player]:-}" ] || started[$player]=$previous
    [ "$frame" -le "${last[$player]}" ] || last[$player]=$frame
  done <<<"$(pictures_shown)"
  [ -n "${ended[one]:-}" ] || kill -0 "$one" 2>/dev/null || ended[one]=$now
  [ -n "${ended[three]:-}" ] || kill -0 "$three" 2>/dev/null || ended[three]=$now
  if [ -z "${folders_seen:-}" ] && [ ${#started[@]} -eq 2 ] && [ ${#ended[@]} -eq 0 ]; then
    folders_seen=$(comm -13 <(printf '%s\n' "$RZ_FOLDERS") <(rz_temp_folders) | wc -l)
    [ "$folders_seen" -eq 2 ] || rz_fail "two players have $folders_seen new temporary folders"
  fi
  previous=$now
  sleep 0.05
done
[ -n "${folders_seen:-}" ] || rz_fail "the two players never played at the same time"

for player in one three; do
  [ -n "${started[$player]:-}" ] || rz_fail "the player with $player sample(s) per frame showed no picture"
  # The screen is read every 50 ms, and every second or so on a busy machine: the
  # pictures of the film's second half are seen, not necessarily its very last.
  [ "${last[$player]}" -ge $((frames / 2)) ] ||
    rz_fail "the $player-sample film ended after picture ${last[$player]} of 0-$((frames - 1))"
  awk -v s="${started[$player]}" -v e="${ended[$player]}" -v l="$length" -v late="$late" \
    'BEGIN { d = e - s; printf "%.2f s\n", d; exit !(d >= 0.9 * l && d <= l + late) }' >"$RZ_OUT/$player.time" ||
    rz_fail "the $player-sample film played $(cat "$RZ_OUT/$player.time") from its first picture to its end," \
      "not ${length} s (up to ${late} s late)"
done
for RZ_PID in "$one" "$three"; do rz_ended_well 5 "(process $RZ_PID) at the end of its film"; done
echo "$RZ_NAME: S = 1 played $(cat "$RZ_OUT/one.time") to picture ${last[one]}," \
  "S = 3 $(cat "$RZ_OUT/three.time") to picture ${last[three]}, of ${length} s side by side;" \
  "two folders, both removed; /segm beyond the end closes at once"
