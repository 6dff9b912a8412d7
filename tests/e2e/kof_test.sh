#!/usr/bin/env bash
# kof.exe, beside the player, as a user runs it under Wine: info, frames, pack and search
# (of a film named in Cyrillic and Japanese) give what the native kof gives; export,
# through the Windows build of FFmpeg, writes each format with the streams, chapters,
# title and sound length of the native kof's export, lossless MKV with its pictures too,
# also two at a time; Ctrl+C or a failure leaves no partial file and no temporary
# folder. (Each format's pictures against kof frames': KofExport natively.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
RZ_EXE=$(realpath "$RZ_EXE")
RZ_KOF=$(realpath "$RZ_KOF")
KOF_EXE="$(dirname "$RZ_EXE")/kof.exe"
"$3/make_demo_film" "$RZ_OUT/demo.kof" >/dev/null || rz_fail "make_demo_film failed"
cd "$RZ_OUT"

# Runs kof.exe; its output lines without Windows' CR.
kof_exe() { wine "$KOF_EXE" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# No temporary output beside OUT, no unpacked film left in Wine's TEMP.
no_leftovers() {
  local left
  left=$(find "$(dirname "$1")" -maxdepth 1 -name ".kof-*.tmp")
  [ -z "$left" ] || rz_fail "$2 left $left"
  [ "$(rz_temp_folders)" = "$RZ_FOLDERS" ] || rz_fail "$2 left temporary folders: $(rz_temp_folders)"
}

# What players show of a video besides its pictures: its streams, title and chapters.
described() {
  ffprobe -v error -of compact \
    -show_entries stream=codec_name,width,height:format_tags=title:chapter=start_time,end_time:chapter_tags=title "$1"
}

# How long the video's sound plays, decoded.
sound_seconds() {
  ffmpeg -v error -i "$1" -vn -f s16le -ac 1 -ar 48000 - | wc -c | awk '{ print $1 / 2 / 48000 }'
}

# The pictures a video decodes to, with their times (FFmpeg's framemd5).
pictures_of() { ffmpeg -v error -i "$1" -map 0:v -f framemd5 - | grep -v '^#'; }

# info and frames: the same text (but for line ends) and the same PNG files.
for args in "" "--json" "--codepage 1252"; do
  # shellcheck disable=SC2086
  [ "$(kof_exe info demo.kof $args)" = "$("$RZ_KOF" info demo.kof $args)" ] || rz_fail "kof.exe info $args differs"
done
kof_exe frames demo.kof --segment 2 --out frames-exe --every 7 >/dev/null || rz_fail "kof.exe frames failed"
"$RZ_KOF" frames demo.kof --segment 2 --out frames-native --every 7 >/dev/null
diff -r frames-exe frames-native >/dev/null || rz_fail "kof.exe frames wrote other pictures than kof frames"

# pack: the same film executable, byte for byte.
kof_exe pack demo.kof --player "$(rz_windows_path "$RZ_EXE")" --language en -o film-exe.exe >/dev/null ||
  rz_fail "kof.exe pack failed"
"$RZ_KOF" pack demo.kof --player "$RZ_EXE" --language en -o film-native.exe
cmp -s film-exe.exe film-native.exe || rz_fail "kof.exe pack wrote another film executable than kof pack"

# search: the index beside a film whose name has letters the system's code page lacks
# (made by the native kof) is found, with the native kof's hits.
cp "$RZ_FILMS/search.kof" "поиск 検索.kof"
"$RZ_KOF" index "поиск 検索.kof" >/dev/null || rz_fail "kof index failed"
found=$(kof_exe search "поиск 検索.kof" settings) || rz_fail "kof.exe search failed: $found"
[ "$found" = "$("$RZ_KOF" search "поиск 検索.kof" settings)" ] || rz_fail "kof.exe search found: $found"

# export: the whole demo film as each format writes it, against the native kof's.
for case in "mkv --lossless" "mp4" "webm"; do
  read -r format options <<<"$case"
  # shellcheck disable=SC2086
  kof_exe export demo.kof -o "demo.$format" $options >/dev/null || rz_fail "kof.exe export demo.$format failed"
  "$RZ_KOF" export demo.kof -o "native.$format" $options 2>/dev/null || rz_fail "kof export native.$format failed"
  [ "$(described "demo.$format")" = "$(described "native.$format" | sed 's/title=native/title=demo/')" ] ||
    rz_fail "demo.$format: $(described "demo.$format"); kof export's: $(described "native.$format")"
  seconds="$(sound_seconds "demo.$format") $(sound_seconds "native.$format")"
  awk -v s="$seconds" 'BEGIN { split(s, t, " "); d = t[1] - t[2]; exit !(t[1] > 20 && d < 0.05 && d > -0.05) }' ||
    rz_fail "the sound of demo.$format and of kof export's lasts $seconds s"
  [ "$format" != mkv ] || [ "$(pictures_of demo.mkv)" = "$(pictures_of native.mkv)" ] ||
    rz_fail "demo.mkv decodes to other pictures than kof export's lossless video"
  no_leftovers "demo.$format" "export .$format"
done

# A batch, two at a time, one film with a Cyrillic name (no Windows code page has both
# these and Western letters): both videos as the single export wrote them. (A run again
# skips them: KofExport.ARunSkipsItsFilmsOwnVideoAndRefusesANameAnotherFilmsVideoHolds.)
cp demo.kof Урок.kof
out=$(kof_exe export demo.kof Урок.kof --out-dir batch --format mp4 -j 2) || rz_fail "the batch failed: $out"
[ "$(tail -n 1 <<<"$out")" = "kof: 2 of 2 films exported" ] || rz_fail "the batch said: $out"
[ "$(described batch/demo.mp4)" = "$(described demo.mp4)" ] || rz_fail "the batch's demo.mp4 differs"
[ "$(described batch/Урок.mp4)" = "$(described demo.mp4 | sed 's/title=demo/title=Урок/')" ] ||
  rz_fail "the batch's Урок.mp4 differs"
no_leftovers batch/demo.mp4 "the batch"

# A name that a folder holds, found only when the video is complete, leaves nothing
# (the other failures: KofExport.DamageIsSkippedAndFailuresLeaveNoFileBehind).
mkdir taken.webm
out=$(kof_exe export demo.kof -o taken.webm --segment 3) && rz_fail "a video was written over a folder"
grep -q "cannot write taken.webm" <<<"$out" || rz_fail "the failure said: $out"
no_leftovers taken.webm "a failed export"

# Ctrl+C, as a console sends it to every process of the command (a Unix terminal to its
# process group, which Wine turns into the console's Ctrl+C): kof.exe and kof-export.exe,
# one film and a batch, stop before the end, with exit code 130 and nothing left.
interrupted() {
  local name="$1" pid status=0
  shift
  setsid wine "$KOF_EXE" export "$@" >interrupt.log 2>&1 &
  pid=$!
  RZ_PIDS+=("$pid")
  rz_wait_until 60 compgen -G "$(dirname "$name")/.kof-*.tmp" >/dev/null || rz_fail "no export of $name began"
  kill -INT -- -"$pid"
  wait "$pid" || status=$?
  [ "$status" = 130 ] || rz_fail "the export of $name ended with $status after Ctrl+C: $(cat interrupt.log)"
  [ ! -e "$name" ] || rz_fail "Ctrl+C left $name"
  no_leftovers "$name" "Ctrl+C"
}
interrupted stopped.webm demo.kof -o stopped.webm
grep -q "interrupted; stopped.webm is not written" interrupt.log || rz_fail "Ctrl+C said: $(cat interrupt.log)"
interrupted stopped/Урок.webm demo.kof Урок.kof --out-dir stopped --format webm -j 2
[ "$(tail -n 1 interrupt.log | tr -d '\r')" = "kof: 0 of 2 films exported; interrupted" ] ||
  rz_fail "the batch's Ctrl+C said: $(cat interrupt.log)"
[ -z "$(ls stopped)" ] || rz_fail "the batch's Ctrl+C left $(ls stopped)"
echo "kof_test: info, frames, pack and export of kof.exe match the native kof's"
