// Answers for the document's dialogs, given in advance by a test, and a record
// of every question and error the document raised.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/document_ui.h"

class TScriptedDocumentUi : public TDocumentUi {
 public:
  std::deque<std::optional<std::string>> OpenAnswers;
  std::deque<std::optional<std::string>> SaveAnswers;
  std::deque<TAnswer> Answers;
  std::vector<std::string> Questions;
  std::vector<std::string> Errors;

  std::optional<std::string> ChooseFileToOpen() override { return Next(OpenAnswers); }
  std::optional<std::string> ChooseFileToSave() override { return Next(SaveAnswers); }
  TAnswer AskToSave(const std::string& question) override {
    Questions.push_back(question);
    return Next(Answers);
  }
  void ShowFileError(const std::string& message) override { Errors.push_back(message); }

 private:
  // A dialog the test did not expect is a failure of the test, not a hang.
  template <class T>
  static T Next(std::deque<T>& answers) {
    if (answers.empty()) throw std::logic_error("unexpected dialog");
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};
