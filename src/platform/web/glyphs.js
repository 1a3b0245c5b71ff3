// Web backend, glyphs: one character drawn with fillText on a canvas of the
// browser's thread, its alpha thresholded at one half into bits laid out as
// the glyph contract wants them (bottom row first, rows padded to 4 bytes,
// leftmost pixel in the high bit).
mergeInto(LibraryManager.library, {
  $VindleGlyphs: {
    context: null,
    fonts: '"SimSun", "Songti SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei", sans-serif',
  },

  vindle_rasterise_glyph__deps: ['$VindleGlyphs', 'malloc'],
  vindle_rasterise_glyph__proxy: 'sync',
  vindle_rasterise_glyph__sig: 'iiii',
  vindle_rasterise_glyph: function(codePoint, size, metrics) {
    var glyphs = VindleGlyphs;
    if (!glyphs.context) {
      var canvas = document.createElement('canvas');
      glyphs.context = canvas.getContext('2d', {willReadFrequently: true});
      if (!glyphs.context) return 0;
    }
    var context = glyphs.context, canvas = context.canvas;
    var font = 'bold ' + size + 'px ' + glyphs.fonts;
    var character = String.fromCodePoint(codePoint);
    context.font = font;
    var measured = context.measureText(character);
    var index = metrics >> 2;
    HEAP32[index + 4] = Math.max(0, Math.round(measured.width));
    HEAP32[index + 5] = 0;
    // Draw with a margin around the ink box the font reports, then find the
    // real ink.
    var margin = 2 + Math.ceil(size / 8);
    var left = Math.floor(-measured.actualBoundingBoxLeft) - margin;
    var ascent = Math.ceil(measured.actualBoundingBoxAscent) + margin;
    var width = Math.ceil(measured.actualBoundingBoxRight) + margin - left;
    var height = ascent + Math.ceil(measured.actualBoundingBoxDescent) + margin;
    if (!(width > 0 && height > 0)) return 1;
    if (canvas.width < width || canvas.height < height) {
      canvas.width = Math.max(canvas.width, width);
      canvas.height = Math.max(canvas.height, height);
      context.font = font;  // a resized canvas forgets its state
    }
    context.clearRect(0, 0, width, height);
    context.fillStyle = context.strokeStyle = '#000';
    context.textBaseline = 'alphabetic';
    context.fillText(character, -left, ascent);
    // Made bold as FreeType emboldens a face without a bold weight: the
    // outline grows by a 24th of the em, which also keeps thin strokes
    // above the threshold.
    context.lineWidth = size / 24;
    context.lineJoin = 'round';
    context.strokeText(character, -left, ascent);
    var alpha = context.getImageData(0, 0, width, height).data;
    var minX = width, maxX = -1, minY = height, maxY = -1;
    for (var y = 0; y < height; ++y)
      for (var x = 0; x < width; ++x)
        if (alpha[(y * width + x) * 4 + 3] >= 128) {
          if (x < minX) minX = x;
          if (x > maxX) maxX = x;
          if (y < minY) minY = y;
          if (y > maxY) maxY = y;
        }
    if (maxX < 0) return 1;  // a blank: an advance and no bits
    var inkWidth = maxX - minX + 1, inkHeight = maxY - minY + 1;
    var stride = ((inkWidth + 31) >> 5) * 4;
    var bits = _malloc(stride * inkHeight);
    if (!bits) return 1;
    HEAPU8.fill(0, bits, bits + stride * inkHeight);
    for (var y = minY; y <= maxY; ++y) {
      var row = bits + (maxY - y) * stride;
      for (var x = minX; x <= maxX; ++x)
        if (alpha[(y * width + x) * 4 + 3] >= 128) HEAPU8[row + ((x - minX) >> 3)] |= 0x80 >> ((x - minX) & 7);
    }
    HEAP32[index] = inkWidth;
    HEAP32[index + 1] = inkHeight;
    HEAP32[index + 2] = minX + left;        // from the pen to the ink's left column
    HEAP32[index + 3] = ascent - maxY - 1;  // from the base line up to the ink's bottom
    HEAP32[index + 5] = bits;
    return 1;
  },
});
