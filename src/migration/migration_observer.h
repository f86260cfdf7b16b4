/*
** A listener for what the migration does to each database beyond what the
** operator is shown: the packs with their counts, the databases visited with
** their levels, and every failure with the engine's own message. The run log
** and the console's error stream listen; the logic runs without one.
**
** None of the calls may throw: a listener must never change the run.
*/
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class MigrationObserver {
 public:
  virtual ~MigrationObserver() = default;
  virtual void PackStarted(const std::string& /*pack*/) noexcept {}
  /* count: KolvoOperation at the end; expected: the pack's total. */
  virtual void PackEnded(const std::string& /*pack*/, std::int32_t /*count*/, std::int32_t /*expected*/,
                         bool /*succeeded*/) noexcept {}
  /* A pack looked at a database: its level before and after; applied when the
  ** level was the pack's and its work was done. */
  virtual void DatabaseVisited(const std::string& /*path*/, std::int32_t /*before*/, std::int32_t /*after*/,
                               bool /*applied*/) noexcept {}
  /* Of a database's work in a pack only counted of due operations counted: its
  ** level was not written, and a later run does the work again. */
  virtual void VisitFellShort(const std::string& /*path*/, std::int32_t /*counted*/, std::int32_t /*due*/) noexcept {}
  /* A database file the installation has could not be opened. */
  virtual void DatabaseUnopenable(const std::string& /*path*/, const std::string& /*reason*/) noexcept {}
  /* A statement failed; text is the statement as sent, reason the engine's message. */
  virtual void StatementFailed(const std::string& /*path*/, const std::string& /*text*/,
                               const std::string& /*reason*/) noexcept {}
  /* The databases were backed up into folder before the first pack. */
  virtual void BackupMade(const std::string& /*folder*/) noexcept {}
  /* After a failed pack, a database was put back from the backup at its level then. */
  virtual void DatabaseRestored(const std::string& /*path*/, std::int32_t /*level*/) noexcept {}
};

/* Passes every call on to each of its listeners, in order. */
class MigrationObservers final : public MigrationObserver {
 public:
  void Add(MigrationObserver& o) { list_.push_back(&o); }
  void PackStarted(const std::string& pack) noexcept override {
    for (auto* o : list_) o->PackStarted(pack);
  }
  void PackEnded(const std::string& pack, std::int32_t count, std::int32_t expected, bool ok) noexcept override {
    for (auto* o : list_) o->PackEnded(pack, count, expected, ok);
  }
  void DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                       bool applied) noexcept override {
    for (auto* o : list_) o->DatabaseVisited(path, before, after, applied);
  }
  void VisitFellShort(const std::string& path, std::int32_t counted, std::int32_t due) noexcept override {
    for (auto* o : list_) o->VisitFellShort(path, counted, due);
  }
  void DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept override {
    for (auto* o : list_) o->DatabaseUnopenable(path, reason);
  }
  void StatementFailed(const std::string& path, const std::string& text, const std::string& reason) noexcept override {
    for (auto* o : list_) o->StatementFailed(path, text, reason);
  }
  void BackupMade(const std::string& folder) noexcept override {
    for (auto* o : list_) o->BackupMade(folder);
  }
  void DatabaseRestored(const std::string& path, std::int32_t level) noexcept override {
    for (auto* o : list_) o->DatabaseRestored(path, level);
  }

 private:
  std::vector<MigrationObserver*> list_;
};

}  // namespace kv
