/*
** Command-line options.
*/
#include "startup/command_line.h"

#include <charconv>

namespace kv {

namespace {

/* The number after option at args[i]; nullopt and error when there is none or
** it is below least. */
std::optional<std::int32_t> NumberAfter(const std::vector<std::string>& args, size_t& i, std::int32_t least,
                                        std::string& error) {
  const std::string& option = args[i];
  if (i + 1 >= args.size()) {
    error = option + " needs a number";
    return std::nullopt;
  }
  const std::string& v = args[++i];
  std::int32_t n = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || end != v.data() + v.size() || n < least) {
    error = option + " needs a " + (least > 0 ? "positive" : "non-negative") + " number, not \"" + v + "\"";
    return std::nullopt;
  }
  return n;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--installation") {
      const auto n = NumberAfter(args, i, 1, error);
      if (!n) return std::nullopt;
      cl.installation = {*n, true};
    } else if (a == "--keep-backups") {
      const auto n = NumberAfter(args, i, 1, error);
      if (!n) return std::nullopt;
      cl.keepBackups = *n;
    } else if (a == "--restore") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--restore needs the backup's folder";
        return std::nullopt;
      }
      cl.restoreFolder = args[++i];
    } else if (a == "--unattended") {
      cl.unattended = true;
    } else if (a == "--show-installation") {
      cl.showInstallation = true;
    } else if (a == "--plan") {
      cl.plan = true;
    } else if (a == "--no-backup") {
      cl.backup = false;
    } else if (a == "--restore-on-failure") {
      cl.restoreOnFailure = true;
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
  if (!cl.backup) out.push_back("--no-backup");
  if (cl.keepBackups != CommandLine().keepBackups) {
    out.push_back("--keep-backups");
    out.push_back(std::to_string(cl.keepBackups));
  }
  if (cl.restoreOnFailure) out.push_back("--restore-on-failure");
  return out;
}

}  // namespace kv
