// Habits from other players: a double click on the picture toggles full screen; the
// wheel changes the volume by 5 % a notch over the picture and the panel (the slider
// and its label follow), and seeks 5 s a notch over the progress bar. Space plays and
// pauses in page.js.
"use strict";

const kWheelVolumePercent = 5;

// One notch an event; up is louder and later.
function onWheel(event) {
  const notch = Math.sign(event.deltaY);
  if (notch === 0 || !$("message").hidden) return;
  event.preventDefault();
  if ($("bar").contains(event.target)) {
    command(notch < 0 ? commands.seekForward : commands.seekBack);
    return;
  }
  const volume = $("volume");
  volume.value = String(Math.min(100, Math.max(0, Number(volume.value) - notch * kWheelVolumePercent)));
  volume.dispatchEvent(new Event("input"));
}

$("picture-area").addEventListener("dblclick", toggleFullScreen);
$("stage").addEventListener("wheel", onWheel, { passive: false });
