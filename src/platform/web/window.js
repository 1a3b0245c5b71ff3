// Web backend, window: the page around GLUT's canvas. Browser's thread only,
// except where a function says it is proxied.
mergeInto(LibraryManager.library, {
  $VindleKeys: {
    held: {},  // DOM key code -> [special, GLUT code] of each key down
    // The GLUT code a key event makes, as freeglut makes it on the other
    // targets: Backspace 8 and Delete 127 are normal keys, a printable key
    // gives the character it types, Control with a letter gives 1 to 26.
    asciiKey: function(event) {
      switch (event['keyCode']) {
        case 8: return 8;
        case 9: return 9;
        case 13: return 13;
        case 27: return 27;
        case 46: return 127;
      }
      var key = event['key'];
      if (event['ctrlKey'] && !event['altKey'] && /^[a-zA-Z]$/.test(key)) return key.toLowerCase().charCodeAt(0) - 96;
      if (event['ctrlKey'] || event['altKey'] || event['metaKey']) return null;
      if (key && key.length == 1 && key.charCodeAt(0) < 256) return key.charCodeAt(0);
      return null;
    },
  },

  vindle_note_game_window__deps: ['$VindleScreen', '$VindleKeys', '$GLUT', '$Browser'],
  vindle_note_game_window: function() {
    var canvas = Module['canvas'];
    // Frames go to a 2D canvas laid over GLUT's, which keeps its WebGL
    // context; pointer events pass through to GLUT's.
    if (canvas && canvas.parentNode && !VindleScreen.overlay) {
      var overlay = document.createElement('canvas');
      overlay.id = 'vindle-frame';
      overlay.width = canvas.width;
      overlay.height = canvas.height;
      overlay.style.cssText = 'position:absolute;left:0;top:0;width:100%;height:100%;pointer-events:none';
      if (getComputedStyle(canvas.parentNode).position == 'static') canvas.parentNode.style.position = 'relative';
      canvas.parentNode.insertBefore(overlay, canvas.nextSibling);
      VindleScreen.overlay = overlay;
      VindleScreen.context = overlay.getContext('2d');
    }
    // Emscripten's GLUT hands the motion callback the position before the
    // move: this one hands it the position the pointer moved to.
    window.removeEventListener('mousemove', GLUT.onMousemove, true);
    GLUT.onMousemove = function(event) {
      var lastX = Browser.mouseX, lastY = Browser.mouseY;
      Browser.calculateMouseEvent(event);
      if (Browser.mouseX == lastX && Browser.mouseY == lastY) return;
      var callback = GLUT.buttons == 0 ? GLUT.passiveMotionFunc : GLUT.motionFunc;
      if (!callback || (GLUT.buttons == 0 && event.target != Module['canvas'])) return;
      event.preventDefault();
      GLUT.saveModifiers(event);
      {{{ makeDynCall('vii', 'callback') }}}(Browser.mouseX, Browser.mouseY);
    };
    window.addEventListener('mousemove', GLUT.onMousemove, true);
    var specialKey = GLUT.getSpecialKey;
    GLUT.getSpecialKey = function(keyCode) { return keyCode == 8 || keyCode == 46 ? null : specialKey(keyCode); };
    GLUT.getASCIIKey = VindleKeys.asciiKey;
    // Listened to after GLUT, so a key's GLUT code is known when it is noted.
    window.addEventListener('keydown', function(event) {
      var special = GLUT.getSpecialKey(event['keyCode']);
      var code = special !== null ? special : VindleKeys.asciiKey(event);
      if (code !== null) VindleKeys.held[event['keyCode']] = [special !== null ? 1 : 0, code];
    }, true);
    window.addEventListener('keyup', function(event) { delete VindleKeys.held[event['keyCode']]; }, true);
    // Keys released while the page is not focused send no key-up.
    window.addEventListener('blur', function() { VindleKeys.held = {}; });
  },

  vindle_key_held__deps: ['$VindleKeys'],
  vindle_key_held: function(special, code) {
    var lower = function(c) { return c >= 65 && c <= 90 ? c + 32 : c; };
    for (var keyCode in VindleKeys.held) {
      var key = VindleKeys.held[keyCode];
      if (key[0] == special && (special ? key[1] == code : lower(key[1]) == lower(code))) return 1;
    }
    return 0;
  },

  vindle_set_page_title__proxy: 'sync',
  vindle_set_page_title__sig: 'vi',
  vindle_set_page_title: function(title) {
    var text = UTF8ToString(title);
    document.title = text;
    var heading = document.getElementById('title');
    if (heading) heading.textContent = text;
  },

  vindle_page_reachable: function() {
    return typeof document != 'undefined' && !!Module['canvas'] ? 1 : 0;
  },

  vindle_on_page_closed: function(callback) {
    window.addEventListener('pagehide', function() { {{{ makeDynCall('v', 'callback') }}}(); });
  },
});
