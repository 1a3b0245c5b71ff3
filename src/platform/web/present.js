// Web backend, present: the frame (RGBA, bottom row first, in the module's
// memory) copied row by row into an image of the overlay canvas and put there
// once. Browser's thread only.
mergeInto(LibraryManager.library, {
  $VindleScreen: {
    overlay: null,  // made by platformNoteGameWindow (web/window.js)
    context: null,
    image: null,
  },

  vindle_present__deps: ['$VindleScreen'],
  vindle_present: function(pixels, width, height, windowHeight) {
    var screen = VindleScreen, canvas = Module['canvas'];
    if (!screen.overlay || !canvas) return 0;
    if (screen.overlay.width != canvas.width || screen.overlay.height != canvas.height) {
      screen.overlay.width = canvas.width;
      screen.overlay.height = canvas.height;
    }
    if (!screen.image || screen.image.width != width || screen.image.height != height)
      screen.image = screen.context.createImageData(width, height);
    var out = new Uint32Array(screen.image.data.buffer);
    var first = pixels >> 2;
    for (var row = 0; row < height; ++row) {
      var from = first + (height - 1 - row) * width;
      out.set(HEAPU32.subarray(from, from + width), row * width);
    }
    // The page shows what lies under a transparent pixel: make it opaque.
    for (var i = 0; i < out.length; ++i) out[i] |= 0xFF000000;
    screen.context.putImageData(screen.image, 0, windowHeight - height);
    return 1;
  },
});
