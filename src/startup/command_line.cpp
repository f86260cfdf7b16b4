/*
** Command-line options.
*/
#include "startup/command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace kv {

namespace {

constexpr OptionHelp kOptions[] = {
    {"--unattended", "", "без окон, в консоли: проверки, согласие принято, установка; сообщения в stderr"},
    {"--installation", "N", "установка номер N (kv_N.ini, пользователь kv5.N); без него основная"},
    {"--show-installation", "", "показать папки, базы данных и строки соединения установки"},
    {"--plan", "", "показать, что сделает запуск, ничего не меняя"},
    {"--no-backup", "", "не делать резервную копию баз данных перед пакетами"},
    {"--keep-backups", "N", "хранить N последних резервных копий (по умолчанию 3)"},
    {"--restore-on-failure", "", "после неудачного пакета восстановить базы данных из копии, не спрашивая"},
    {"--restore", "ПАПКА", "восстановить базы данных из резервной копии в ПАПКЕ и закончить"},
    {"--result-file", "ФАЙЛ", "по окончании записать итог запуска в ФАЙЛ (JSON)"},
    {"--help", "", "эта справка"},
    {"--version", "", "номер версии мастера"},
};

/* The options that only set a flag: the member each sets, and to what. */
struct FlagOption {
  std::string_view name;
  bool CommandLine::*member;
  bool value;
};

constexpr FlagOption kFlags[] = {
    {"--unattended", &CommandLine::unattended, true},
    {"--show-installation", &CommandLine::showInstallation, true},
    {"--plan", &CommandLine::plan, true},
    {"--no-backup", &CommandLine::backup, false},
    {"--restore-on-failure", &CommandLine::restoreOnFailure, true},
    {"--help", &CommandLine::help, true},
    {"--version", &CommandLine::version, true},
};

/* The number after option at args[i]; nullopt and error when there is none or
** it is below least. */
std::optional<std::int32_t> NumberAfter(const std::vector<std::string>& args, size_t& i, std::int32_t least,
                                        std::string& error) {
  const std::string& option = args[i];
  if (i + 1 >= args.size()) {
    error = "после " + option + " нужно число";
    return std::nullopt;
  }
  const std::string& v = args[++i];
  std::int32_t n = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || end != v.data() + v.size() || n < least) {
    error = "после " + option + " нужно " + (least > 0 ? "положительное" : "неотрицательное") + " число, а не \"" +
            v + "\"";
    return std::nullopt;
  }
  return n;
}

/* The non-empty text after option at args[i]; nullopt and error when there is none. */
std::optional<std::string> TextAfter(const std::vector<std::string>& args, size_t& i, const char* what,
                                     std::string& error) {
  if (i + 1 >= args.size() || args[i + 1].empty()) {
    error = "после " + args[i] + " нужен " + what;
    return std::nullopt;
  }
  return args[++i];
}

}  // namespace

std::span<const OptionHelp> OptionsHelp() { return kOptions; }

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto flag = std::ranges::find(kFlags, std::string_view(a), &FlagOption::name);
    if (flag != std::end(kFlags)) {
      cl.*(flag->member) = flag->value;
    } else if (a == "--installation") {
      const auto n = NumberAfter(args, i, 1, error);
      if (!n) return std::nullopt;
      cl.installation = {*n, true};
    } else if (a == "--keep-backups") {
      const auto n = NumberAfter(args, i, 1, error);
      if (!n) return std::nullopt;
      cl.keepBackups = *n;
    } else if (a == "--restore") {
      const auto folder = TextAfter(args, i, "путь к папке резервной копии", error);
      if (!folder) return std::nullopt;
      cl.restoreFolder = *folder;
    } else if (a == "--result-file") {
      const auto file = TextAfter(args, i, "путь к файлу итога", error);
      if (!file) return std::nullopt;
      cl.resultFile = *file;
    } else {
      error = "неизвестный параметр \"" + a + "\"";
      return std::nullopt;
    }
  }
  return cl;
}

std::string ResultFileArgument(const std::vector<std::string>& args) {
  std::string file;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--result-file") file = args[++i];
  return file;
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
  // The copy writes the result; the path must already be absolute, since the
  // copy may not start in the folder this process started in.
  if (!cl.resultFile.empty()) {
    out.push_back("--result-file");
    out.push_back(cl.resultFile);
  }
  return out;
}

}  // namespace kv
