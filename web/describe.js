// What a screen reader says of the page's controls, in the page's language: the bar as
// "00:01:23 of 00:10:00, segment 2 of 3", the speed as "×1.5", the volume as "80 %", the
// picture by the film and its segment, and which line of the segment list is current.
// The names of the buttons and sliders are their tooltips' texts (page.js, applyTexts).
"use strict";

// A value is set only when it changes, so that a screen reader on the bar hears the
// time at most once a second while the film plays.
function setAria(element, name, value) {
  if (value === null) element.removeAttribute(name);
  else if (element.getAttribute(name) !== value) element.setAttribute(name, value);
}

// After every change of the panel, the film or the volume, and when the language changes.
function describeControls() {
  const bar = $("bar");
  const open = film !== null;
  setAria(bar, "aria-disabled", String(!open));
  setAria(bar, "aria-valuemax", String(open ? Math.round(state.total) : 0));
  setAria(bar, "aria-valuenow", String(open ? Math.round(state.position) : 0));
  setAria(bar, "aria-valuetext", open && state.positionText
    ? pageLanguage.text("barValue", state.positionText, state.totalText, state.segment + 1, film.segments.length)
    : null);
  setAria($("speed"), "aria-valuetext", $("speed-label").textContent.replace(/^x/, "×"));
  setAria($("volume"), "aria-valuetext", pageLanguage.text("volumeValue", $("volume").value));
  for (const button of $("segments").querySelectorAll("button"))
    setAria(button, "aria-current", Number(button.dataset.index) === state.segment && state.play !== 0 ? "true" : null);
  describePicture();
}

function describePicture() {
  const label = film
    ? pageLanguage.text("picture", film.name, state.segment + 1, film.segments.length) + (state.title ? `: ${state.title}` : "")
    : pageLanguage.text("noFilm");
  setAria($("picture"), "aria-label", label);
}

pageLanguage.onChange(describeControls);
