// Web backend, process: how the page's runtime ends.
mergeInto(LibraryManager.library, {
  // The runtime outlives main() (GLUT's loop runs on), so an exit would only
  // stop the calling code; once this has run, the next exit ends the runtime:
  // workers stop and Module.onExit tells the page the status.
  // GLUT's event listeners stay on the page, so its callbacks are dropped:
  // the ended game takes no more input.
  vindle_end_runtime_on_exit__deps: ['$GLUT'],
  vindle_end_runtime_on_exit__proxy: 'sync',
  vindle_end_runtime_on_exit__sig: 'v',
  vindle_end_runtime_on_exit: function() {
    noExitRuntime = false;
    runtimeKeepaliveCounter = 0;
    ['idleFunc', 'displayFunc', 'keyboardFunc', 'keyboardUpFunc', 'specialFunc', 'specialUpFunc', 'reshapeFunc',
     'motionFunc', 'passiveMotionFunc', 'mouseFunc'].forEach(function(name) { GLUT[name] = null; });
  },
});
