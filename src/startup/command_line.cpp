/*
** Command-line options.
*/
#include "startup/command_line.h"

#include <charconv>

namespace kv {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--installation") {
      if (i + 1 >= args.size()) {
        error = "--installation needs a number";
        return std::nullopt;
      }
      const std::string& v = args[++i];
      std::int32_t n = 0;
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc() || end != v.data() + v.size() || n < 1) {
        error = "--installation needs a positive number, not \"" + v + "\"";
        return std::nullopt;
      }
      cl.installation = {n, true};
    } else if (a == "--unattended") {
      cl.unattended = true;
    } else if (a == "--show-installation") {
      cl.showInstallation = true;
    } else {
      error = "unknown option \"" + a + "\"";
      return std::nullopt;
    }
  }
  return cl;
}

std::vector<std::string> InstallationArguments(const CommandLine& cl) {
  std::vector<std::string> out;
  if (cl.installation.numbered) out = {"--installation", std::to_string(cl.installation.number)};
  if (cl.unattended) out.push_back("--unattended");
  return out;
}

}  // namespace kv
