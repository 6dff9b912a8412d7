// What the page's workers share: their own module (roRezodu.js, loaded before this
// script), started with host as its page, and text handed to it as C strings.
"use strict";
let rz = null;  // the module, once it runs

// Starts the module; rz holds it once the promise is kept.
function startModule(host = {}) {
  return createRoRezodu({ host, print: () => {}, printErr: (text) => console.warn(text) })
    .then((module) => { rz = module; return module; });
}

// action's result, given text as a C string in the module's memory for as long as it runs.
function withCString(text, action) {
  const size = text.length * 4 + 1;
  const pointer = rz._malloc(size);
  rz.stringToUTF8(text, pointer, size);
  try {
    return action(pointer);
  } finally {
    rz._free(pointer);
  }
}
