// Web backend, dialogs: alert and confirm exist only on the browser's thread;
// a worker's call waits there for the answer.
mergeInto(LibraryManager.library, {
  vindle_message_box__proxy: 'sync',
  vindle_message_box__sig: 'iii',
  vindle_message_box: function(text, question) {
    if (typeof window == 'undefined' || !window.alert) return -1;
    var message = UTF8ToString(text);
    if (question) return window.confirm(message) ? 1 : 0;
    window.alert(message);
    return 1;
  },
});
