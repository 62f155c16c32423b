// The document's announcements to its listeners, and the drawing steps they
// are announced around.
#include <algorithm>

#include "document/document.h"

namespace {

// Announces the end of a drawing step however it ends, so that a listener
// that prepared for it (the editor hiding the statement box's frames) is
// never left waiting; an exception from the step goes on.
class TAroundStep {
 public:
  TAroundStep(const std::vector<TDocumentListener*>& listeners, void (TDocumentListener::*before)(),
              void (TDocumentListener::*after)(bool))
      : listeners_(listeners), after_(after) {
    for (TDocumentListener* listener : listeners_) (listener->*before)();
  }
  TAroundStep(const TAroundStep&) = delete;
  TAroundStep& operator=(const TAroundStep&) = delete;
  void Complete() { complete_ = true; }
  ~TAroundStep() {
    for (TDocumentListener* listener : listeners_) (listener->*after_)(complete_);
  }

 private:
  const std::vector<TDocumentListener*> listeners_;  // as they were when the step began
  void (TDocumentListener::*after_)(bool);
  bool complete_ = false;
};

}  // namespace

void TDocument::AddListener(TDocumentListener& listener) { listeners_.push_back(&listener); }

void TDocument::RemoveListener(TDocumentListener& listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

void TDocument::Announce(void (TDocumentListener::*event)()) {
  // A listener may remove itself (or another) while it hears the event.
  const std::vector<TDocumentListener*> listeners = listeners_;
  for (TDocumentListener* listener : listeners) (listener->*event)();
}

void TDocument::LayOut(TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
  if (!Layout) return;
  TAroundStep around(listeners_, &TDocumentListener::LayingOut, &TDocumentListener::LaidOut);
  Layout(theory, sentences);
  around.Complete();
}

void TDocument::Redraw() {
  if (!Remark) return LayOut(theory_, allSentences_);
  TAroundStep around(listeners_, &TDocumentListener::Remarking, &TDocumentListener::Remarked);
  Remark();
  around.Complete();
}
