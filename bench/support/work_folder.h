/*
** The folder a benchmark works in and the options that choose it: a new
** temporary folder removed at the end, or --dir FOLDER (created, must be
** empty); --keep leaves it in place for a look at the databases and scripts.
*/
#pragma once

#include <map>
#include <string>

namespace kv::bench {

class WorkFolder {
 public:
  /* Reads --dir and --keep from the command line; other options of the form
  ** "--name value" are kept for Option(). Throws std::runtime_error on a bad
  ** command line or a folder that cannot be made. */
  WorkFolder(int argc, char** argv, const std::string& program);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  /* The folder, with a trailing separator. */
  const std::string& Path() const { return path_; }
  /* The value given for --name, or fallback. */
  std::string Option(const std::string& name, const std::string& fallback) const;

 private:
  std::string path_;
  bool keep_ = false;
  std::map<std::string, std::string> options_;
};

/* A benchmark's main: runs run in the work folder the command line names and
** returns its status; an exception is printed after the program's name and
** gives 1. */
int BenchMain(int argc, char** argv, const std::string& program, int (*run)(const WorkFolder&));

}  // namespace kv::bench
