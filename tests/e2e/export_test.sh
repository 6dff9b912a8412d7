#!/usr/bin/env bash
# Exporting a video from the player as a user does it, on export.kof (make_e2e_films.cpp):
# the paused second segment as WebM, told saved (Ctrl+Shift+E shows it in its folder)
# and decoding to `kof frames`' pictures within kof export's PSNR rule; the whole film as
# MP4 while it plays on, cancelled with nothing left; a segment into a folder that takes
# no files: kof-export's message in a box, nothing left, the film plays on. (Without kof-export.exe: film_executable_test.sh.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
[ -f "$(dirname "$RZ_EXE")/kof-export.exe" ] || rz_fail "no kof-export.exe beside $RZ_EXE"

film="$RZ_FILMS/export.kof"
out="$RZ_OUT/videos"
mkdir -p "$out"
second=$(rz_reference_frames "$film" 2)
caption="Экспорт видео"

# open_export_box [segment]: Ctrl+E in the player once Export is enabled; with segment,
# WebM and this segment chosen (the format list has the focus: Down picks WebM; Tab
# reaches the range, Down its second). Then Save..., which opens the Save box.
open_export_box() {
  rz_wait_menu_state roRezodu 0.2 enabled || rz_fail "Export video is not enabled: $(rz_menu_item roRezodu 0.2)"
  rz_keys roRezodu ctrl+e
  rz_wait_window "$caption"
  [ "${1:-}" != segment ] || rz_keys "$caption" Down Tab Down
  rz_probe click "$caption" "Сохранить..." >/dev/null || rz_fail "no Save button in the export box"
}
note_says() { [ -n "$(rz_note "$1")" ]; }  # a note above the panel shows TEXT

rz_open "$film" /segm 2
rz_wait_frame roRezodu 160 120 "$second" 30 >/dev/null
rz_keys roRezodu F10
open_export_box segment
rz_save_as "$(rz_windows_path "$out/segment.webm")"
rz_wait_until 60 note_says "Сохранено: segment.webm" ||
  rz_fail "no note of the saved video: $(rz_probe children roRezodu | grep koNote)"
[ -s "$out/segment.webm" ] || rz_fail "no video written"
# The note's key, Ctrl+Shift+E, shows the video in its folder (a window of Wine's
# explorer) and takes the note away.
windows_before=$(rz_probe windows | wc -l)
rz_keys roRezodu ctrl+shift+e
rz_wait_until 20 eval '[ "$(rz_probe windows | wc -l)" -gt "$windows_before" ]' ||
  rz_fail "Ctrl+Shift+E opened no folder: $(rz_probe windows)"
[ -z "$(rz_note "Сохранено: segment.webm")" ] || rz_fail "the note stayed after Ctrl+Shift+E"
rz_probe close videos >/dev/null
rz_wait_gone videos
# The video against kof frames' pictures of the segment: one a frame, picture for picture
# within 40 dB (FFmpeg's psnr filter over the RGB pixels; "min" is the worst picture's).
pictures=$(ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$out/segment.webm")
[ "$pictures" = "$(ls "${second%.sig}" | wc -l)" ] || rz_fail "the video holds $pictures pictures, not one a frame"
in_order='settb=1/10,setpts=N,format=rgb24'
quality=$(ffmpeg -i "$out/segment.webm" -i "${second%.sig}/seg002_frame%05d.png" \
  -lavfi "[0:v]${in_order}[a];[1:v]${in_order}[b];[a][b]psnr" -f null - 2>&1 | sed -n 's/.*PSNR r.* min:\([^ ]*\).*/\1/p')
awk -v q="$quality" 'BEGIN { exit !(q == "inf" || q >= 40) }' || rz_fail "a picture of the video is '$quality' dB from kof's frame"
rz_close

# The whole film while it plays; cancelled halfway.
temp_before=$(ls -A "$(rz_temp_dir)" | wc -l)
rz_open "$film"
open_export_box
rz_save_as "$(rz_windows_path "$out/film.mp4")"
rz_wait_until 30 eval 'rz_probe window "$caption" >/dev/null' || rz_fail "no progress box"
# kof-export writes .kof-MACHINE-PID.tmp beside the video until it is complete.
rz_wait_until 30 eval 'ls -A "$out" | grep -q "^\.kof-.*\.tmp$"' || rz_fail "the export wrote nothing"
rz_wait_until 5 rz_moving roRezodu 560 360 || rz_fail "the film stood still while it was exported"
rz_probe click "$caption" "Отмена" >/dev/null || rz_fail "no Cancel in the progress box"
rz_wait_gone "$caption" 30
rz_wait_until 10 eval '[ -z "$(ls -A "$out" | grep -v segment.webm)" ]' ||
  rz_fail "a cancelled export left files: $(ls -A "$out")"
rz_close
[ "$(ls -A "$(rz_temp_dir)" | wc -l)" -le "$temp_before" ] ||
  rz_fail "a cancelled export left temporary files: $(ls -A "$(rz_temp_dir)")"

# Into a folder nobody may write, not even root: sysfs takes no new files (Wine's server
# makes the files, and as root it would write a read-only folder). Wine's Save box does
# not go into Z:\sys itself: a link in the videos' folder leads there.
locked="$out/locked"
ln -s /sys/kernel "$locked"
! touch "$locked/rz-export-probe" 2>/dev/null || rz_fail "$locked takes new files here"
typed="$(rz_windows_path "$out")\\locked\\segment.webm"
# Checked once the player has ended and removed its own temporary folders.
left() { ls -A "$locked/" "$RZ_FILMS" "$out" "$(rz_temp_dir)"; }
before=$(left | md5sum)
rz_open "$film"
open_export_box segment
rz_save_as "$typed"
rz_wait_window "Ошибка" 60
message=$(rz_box "Ошибка") || rz_fail "no error box"
case "$message" in
  "Видео не сохранено: kof: cannot write ${typed//\\/\\\\}: "?*"	OK") ;;
  *) rz_fail "the error box does not carry kof-export's message: $message" ;;
esac
! rz_probe window "$caption" >/dev/null || rz_fail "the progress box stayed after the failure"
! note_says "Сохранено" || rz_fail "a failed export is told as saved"
rz_keys "Ошибка" Return
rz_wait_gone "Ошибка"
rz_wait_until 10 rz_moving roRezodu 560 360 || rz_fail "the film stands still after the failed export"
rz_keys roRezodu ctrl+e
rz_wait_window "$caption"
rz_keys "$caption" Escape
rz_wait_gone "$caption"
rz_close
[ "$(left | md5sum)" = "$before" ] || rz_fail "a failed export left files: $(left)"
echo "export: this segment as WebM within $quality dB, saved and told; the whole film as MP4 cancelled while it played on, nothing left; into sysfs: kof-export's message in a box, nothing left, the player plays on"
