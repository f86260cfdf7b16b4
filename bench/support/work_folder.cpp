/*
** The benchmark's work folder.
*/
#include "support/work_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <vector>

namespace kv::bench {

WorkFolder::WorkFolder(int argc, char** argv, const std::string& program) {
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--keep") {
      keep_ = true;
    } else if (a.rfind("--", 0) == 0 && a.size() > 2 && i + 1 < argc) {
      (a == "--dir" ? dir : options_[a.substr(2)]) = argv[++i];
    } else {
      throw std::runtime_error("unexpected argument \"" + a + "\"");
    }
  }
  namespace fs = std::filesystem;
  if (dir.empty()) {
    std::string pattern = (fs::temp_directory_path() / (program + ".XXXXXX")).string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("cannot make a temporary folder");
    dir = buf.data();
  } else {
    fs::create_directories(dir);
    if (!fs::is_empty(dir)) throw std::runtime_error("\"" + dir + "\" is not empty");
  }
  path_ = fs::absolute(dir).string();
  if (path_.back() != '/') path_ += '/';
}

WorkFolder::~WorkFolder() {
  if (keep_) {
    std::cerr << "Kept " << path_ << "\n";
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string WorkFolder::Option(const std::string& name, const std::string& fallback) const {
  auto it = options_.find(name);
  return it == options_.end() ? fallback : it->second;
}

int BenchMain(int argc, char** argv, const std::string& program, int (*run)(const WorkFolder&)) {
  try {
    WorkFolder folder(argc, argv, program);
    return run(folder);
  } catch (const std::exception& e) {
    std::cerr << program << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace kv::bench
