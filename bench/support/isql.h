/*
** Running a script through isql-fb, the command-line tool a database
** administrator would use instead of the program: the baselines of the
** benchmarks.
*/
#pragma once

#include <chrono>
#include <string>

namespace kv::bench {

struct IsqlLogin {
  std::string user;
  std::string password;
};

struct IsqlRun {
  std::chrono::nanoseconds wall{0};  // from starting isql-fb to its end
  std::string output;                // what it printed, errors included
  long peakKb = 0;                   // its peak resident memory
};

/* Runs isql-fb on the database at path with the script file, stopping at the
** first error. Throws std::runtime_error with isql-fb's output when it fails.
** isql-fb runs under /usr/bin/time, which reports its peak memory: a child
** started by this process directly would count this process's own peak as its
** own. The wall time includes starting the small /usr/bin/time. */
IsqlRun RunIsql(const IsqlLogin& login, const std::string& database, const std::string& scriptPath);

/* Writes text to path, replacing the file. Throws std::runtime_error. */
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace kv::bench
