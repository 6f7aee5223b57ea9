// Calls into the module while a run waits for the page (an answer, a step, a slowed line).
// Asyncify keeps the waiting run in Asyncify.currData, and while it is set embind's functions
// give back a promise of that run's end instead of their value, taking over the promise the run's
// own caller waits on. The functions the page calls then wait for nothing and are not on the
// run's stack: they are called with the waiting run set aside, and it is put back after.
Module["callNow"] = function (call) {
  var waiting = Asyncify.currData;
  Asyncify.currData = null;
  try {
    return call();
  } finally {
    Asyncify.currData = waiting;
  }
};
