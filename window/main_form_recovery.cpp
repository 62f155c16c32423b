// The offer to recover work a crash left in the scratch file.
#include "window/main_form.h"

bool TMainForm::OfferRecovery() {
  if (!unsavedWork_) return false;
  const TUnsavedWork work = *unsavedWork_;
  unsavedWork_.reset();  // offered once; the file stays where it was set aside
  TDocumentUi& ui = setup_.DocumentUi ? *setup_.DocumentUi : *ownUi_;
  if (!ui.Confirm(RecoveryQuestion(work))) return false;
  const bool recovered = document_->OpenUnsavedWork(work.Path);
  if (recovered) resetSelection();
  updateCaption();
  return recovered;
}
