// Habits from other players: a double click on the picture toggles full screen; the
// wheel changes the volume by 5 % a notch over the picture and the panel (the slider
// and its label follow), and seeks 5 s a notch over the progress bar. Space plays and
// pauses in keys.js.
"use strict";

const kWheelVolumePercent = 5;
// A notch of a mouse wheel as browsers report it (100 pixels in Chromium, 3 lines in
// Firefox): a trackpad's many small steps add up to notches, as the Windows player adds
// up WHEEL_DELTA.
const kWheelNotch = [100, 3, 1];  // by deltaMode: pixels, lines, pages
const wheel = { turned: 0 };      // notches turned and not yet used, a part of one

// Whole notches turned so far, up negative; a turn the other way starts anew.
function wheelNotches(event) {
  const turned = event.deltaY / (kWheelNotch[event.deltaMode] || kWheelNotch[0]);
  if (Math.sign(turned) === -Math.sign(wheel.turned)) wheel.turned = 0;
  wheel.turned += turned;
  const notches = Math.trunc(wheel.turned);
  wheel.turned -= notches;
  return notches;
}

// Up is louder and later.
function onWheel(event) {
  if (event.deltaY === 0 || !$("message").hidden) return;
  event.preventDefault();
  const notches = wheelNotches(event);
  if (notches === 0) return;
  if ($("bar").contains(event.target)) {
    for (let i = 0; i < Math.abs(notches); ++i) command(notches < 0 ? commands.seekForward : commands.seekBack);
    return;
  }
  const volume = $("volume");
  volume.value = String(Math.min(100, Math.max(0, Number(volume.value) - notches * kWheelVolumePercent)));
  volume.dispatchEvent(new Event("input"));
}

$("picture-area").addEventListener("dblclick", toggleFullScreen);
$("stage").addEventListener("wheel", onWheel, { passive: false });
