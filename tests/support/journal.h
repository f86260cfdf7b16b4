/*
** One ordered record of what several stand-ins saw, so that a test can check
** the order across them ("message: ...", "sleep: 2000", "splash: hide", ...).
*/
#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/process.h"

namespace kv::test {

using Journal = std::vector<std::string>;

/* Entries of journal that start with prefix, in order. */
inline std::vector<std::string> Starting(const Journal& journal, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& e : journal)
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

class JournalDialog final : public OperatorDialog {
 public:
  explicit JournalDialog(Journal& journal) : journal_(journal) {}
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    journal_.push_back("message: " + text);
  }
  bool AskYesNo(const std::string& text) override {
    journal_.push_back("question: " + text);
    return true;
  }
  std::vector<std::string> messages;

 private:
  Journal& journal_;
};

class JournalClock final : public Clock {
 public:
  explicit JournalClock(Journal& journal, LocalDateTime now = {2026, 12, 7, 9, 15, 2})
      : journal_(journal), now_(now) {}
  LocalDateTime Now() override { return now_; }
  void SleepMs(int ms) override {
    pauses.push_back(ms);
    journal_.push_back("sleep: " + std::to_string(ms));
  }
  std::vector<int> pauses;

 private:
  Journal& journal_;
  LocalDateTime now_;
};

/* The running program as the test sets it: its own path, and the programs it
** starts are only recorded. */
class RecordingProcesses final : public ProcessControl {
 public:
  explicit RecordingProcesses(Journal& journal, std::string path = {})
      : ownPath(std::move(path)), journal_(journal) {}
  std::string OwnPath() override { return ownPath; }
  bool Start(const std::string& path, const std::vector<std::string>& args) override {
    std::string e = "start: " + path;
    for (const std::string& a : args) e += " " + a;
    journal_.push_back(e);
    return startSucceeds;
  }
  std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) override {
    if (!Start(path, args)) return std::nullopt;
    return exitStatus;
  }
  std::string ownPath;
  int exitStatus = 0;
  bool startSucceeds = true;

 private:
  Journal& journal_;
};

}  // namespace kv::test
