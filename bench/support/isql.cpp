/*
** isql-fb as a child process.
*/
#include "support/isql.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace kv::bench {

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

IsqlRun RunIsql(const IsqlLogin& login, const std::string& database, const std::string& scriptPath) {
  const std::string outputPath = scriptPath + ".out";
  const std::string memoryPath = scriptPath + ".rss";
  std::vector<std::string> args = {"/usr/bin/time", "-f",      "%M",     "-o",     memoryPath,
                                   "isql-fb",       "-quiet",  "-bail",  "-user",  login.user,
                                   "-password",     login.password, "-charset", "UTF8", "-input",
                                   scriptPath,      database};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // Its output and its errors go to one file, read back afterwards.
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, "/usr/bin/time", &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0)
    throw std::runtime_error(std::string("cannot start isql-fb under /usr/bin/time: ") + std::strerror(spawned));
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) throw std::runtime_error(std::string("waiting for isql-fb: ") + std::strerror(errno));
  IsqlRun run;
  run.wall = std::chrono::steady_clock::now() - start;

  std::ifstream in(outputPath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  run.output = text.str();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("isql-fb failed on " + database + " with " + scriptPath + ":\n" + run.output);
  std::ifstream memory(memoryPath);
  memory >> run.peakKb;
  return run;
}

}  // namespace kv::bench
