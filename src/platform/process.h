/*
** The running program and the programs it starts.
*/
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  /* Full path of the running program's executable. */
  virtual std::string OwnPath() = 0;
  /* Starts a program in a normal window; true when it was started. */
  virtual bool Start(const std::string& path, const std::vector<std::string>& args) = 0;
  /* Runs a program to its end; its exit status, or nullopt when it could not
  ** be started. */
  virtual std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) = 0;
};

/* The machine's real processes. */
ProcessControl& RealProcesses();

}  // namespace kv
