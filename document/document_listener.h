// What the document announces. Every listener hears every announcement, in
// the order the listeners were added; nobody wraps anybody else's handler,
// so the order in which the window reacts is the order written where the
// window adds its listeners.
#pragma once

class TDocumentListener {
 public:
  virtual ~TDocumentListener() = default;
  // Around a layout of the diagram: within a refresh, or when another
  // interpretation brings in a sentence the drawing lacks. `complete` is
  // false when the layout ended in an exception (it is passed on).
  virtual void LayingOut() {}
  virtual void LaidOut(bool /*complete*/) {}
  // Around a drawing again with the marks the sentences now carry, the boxes
  // where they are: another interpretation shown, an evaluation's result.
  virtual void Remarking() {}
  virtual void Remarked(bool /*complete*/) {}
  // A refresh replaced the state: the views are to be filled again.
  virtual void Refreshed() {}
  // A running evaluation's result was applied, or the evaluation was stopped.
  virtual void EvaluationFinished() {}
  // ShowInterpretation marked another interpretation.
  virtual void InterpretationShown() {}
  // The document is being destroyed: work done for it on other threads is
  // to stop now, before the runners wait for their jobs.
  virtual void Closing() {}
};
