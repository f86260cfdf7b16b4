/*
** Stand-ins for the operator and the clock: they record what the program
** shows and how long it pauses, and answer as the test tells them.
*/
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"

namespace kv::test {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now = {2026, 12, 7, 9, 15, 2}) : now_(now) {}
  LocalDateTime Now() override { return now_; }
  void SleepMs(int ms) override { pauses.push_back(ms); }
  void Set(LocalDateTime now) { now_ = now; }

  std::vector<int> pauses;

 private:
  LocalDateTime now_;
};

class RecordingDialog final : public OperatorDialog {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return true;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }

  std::size_t ShownCount() const { return messages.size() + questions.size(); }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> answers;  // Yes when empty
};

}  // namespace kv::test
