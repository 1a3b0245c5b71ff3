// Web backend, sound: one Web Audio voice per file, on the browser's thread.
// A browser starts audio only after the player touched the page: until then
// the context is suspended and started voices wait in it, silent.
mergeInto(LibraryManager.library, {
  $VindleSound__deps: ['$FS', 'vindle_sound_voices'],
  $VindleSound__postset: 'Module["vindleVoices"] = _vindle_sound_voices; ' +
    'Module["vindleAudioState"] = function() { return VindleSound.context ? VindleSound.context.state : "none"; };',
  $VindleSound: {
    context: null,
    voices: {},  // path -> {buffer, decoding, generation, source, loop}
    ensureContext: function() {
      if (VindleSound.context) return VindleSound.context;
      var AudioContext = window.AudioContext || window.webkitAudioContext;
      if (!AudioContext) return null;
      var context = VindleSound.context = new AudioContext();
      var unlock = function() { if (context.state == 'suspended') context.resume(); };
      ['pointerdown', 'mousedown', 'keydown', 'touchend'].forEach(function(type) {
        window.addEventListener(type, unlock, true);
      });
      return context;
    },
    start: function(voice) {
      var context = VindleSound.context, source = context.createBufferSource();
      source.buffer = voice.buffer;
      source.loop = voice.loop;
      source.connect(context.destination);
      source.onended = function() { if (voice.source === source) voice.source = null; };
      source.start();
      voice.source = source;
    },
    stop: function(voice) {
      var source = voice.source;
      voice.source = null;
      if (!source) return;
      try { source.stop(); } catch (e) {}
      source.disconnect();
    },
  },

  vindle_sound_play__deps: ['$VindleSound', 'vindleSoundUndecodable'],
  vindle_sound_play__proxy: 'sync',
  vindle_sound_play__sig: 'iii',
  vindle_sound_play: function(pathPointer, loop) {
    var context = VindleSound.ensureContext();
    if (!context) return -1;
    var path = UTF8ToString(pathPointer);
    var voices = VindleSound.voices;
    var voice = voices[path];
    if (!voice) {
      var bytes = FS.readFile(path);
      voice = voices[path] = {buffer: null, generation: 0, source: null, loop: false};
      voice.decoding = context.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength))
        .then(function(buffer) { voice.buffer = buffer; }, function() { voice.failed = true; });
    }
    VindleSound.stop(voice);
    voice.loop = !!loop;
    var generation = ++voice.generation;
    voice.decoding.then(function() {
      if (voices[path] !== voice || voice.generation != generation) return;  // closed or played again
      if (voice.failed) {
        delete voices[path];
        var name = allocateUTF8(path);
        try {
          _vindleSoundUndecodable(name);  // ends the game
        } catch (e) {
          if (!(e instanceof ExitStatus)) throw e;
        }
        return;
      }
      VindleSound.start(voice);
    });
    return 0;
  },

  vindle_sound_close__deps: ['$VindleSound'],
  vindle_sound_close__proxy: 'sync',
  vindle_sound_close__sig: 'ii',
  vindle_sound_close: function(pathPointer) {
    var path = UTF8ToString(pathPointer), voice = VindleSound.voices[path];
    if (!voice) return -1;
    VindleSound.stop(voice);
    delete VindleSound.voices[path];
    return 0;
  },

  vindle_sound_close_all__deps: ['$VindleSound'],
  vindle_sound_close_all__proxy: 'sync',
  vindle_sound_close_all__sig: 'v',
  vindle_sound_close_all: function() {
    for (var path in VindleSound.voices) VindleSound.stop(VindleSound.voices[path]);
    VindleSound.voices = {};
    if (VindleSound.context) VindleSound.context.close();
    VindleSound.context = null;
  },

  // For the page and its tests: each open voice and whether it sounds now.
  vindle_sound_voices: function() {
    var context = VindleSound.context, list = [];
    for (var path in VindleSound.voices) {
      var voice = VindleSound.voices[path];
      list.push({path: path, loop: voice.loop, started: !!voice.source,
                 audible: !!voice.source && context.state == 'running'});
    }
    return list;
  },
});
