// Web backend, present: the frame (RGBA, top row first, every pixel opaque,
// in the module's memory) copied into an image of the overlay canvas at once
// and put there. Browser's thread only.
mergeInto(LibraryManager.library, {
  $VindleScreen: {
    overlay: null,  // made by platformNoteGameWindow (web/window.js)
    context: null,
    image: null,
  },

  vindle_present__deps: ['$VindleScreen'],
  vindle_present: function(pixels, width, height) {
    var screen = VindleScreen, canvas = Module['canvas'];
    if (!screen.overlay || !canvas) return 0;
    if (screen.overlay.width != canvas.width || screen.overlay.height != canvas.height) {
      screen.overlay.width = canvas.width;
      screen.overlay.height = canvas.height;
    }
    if (!screen.image || screen.image.width != width || screen.image.height != height)
      screen.image = screen.context.createImageData(width, height);
    screen.image.data.set(HEAPU8.subarray(pixels, pixels + width * height * 4));
    screen.context.putImageData(screen.image, 0, 0);
    return 1;
  },
});
