/*
** The --help and --version texts.
*/
#include "usage.h"

#include "exit_statuses.h"
#include "startup/command_line.h"

namespace kv {
namespace {

/* Pads text with blanks to width letters (UTF-8 aware: Cyrillic letters are two bytes). */
std::string Padded(std::string text, std::size_t width) {
  std::size_t letters = 0;
  for (unsigned char c : text) letters += (c & 0xC0) != 0x80;
  if (letters < width) text.append(width - letters, ' ');
  return text;
}

}  // namespace

std::string_view ProgramVersion() { return KV_PROGRAM_VERSION; }

std::string UsageText() {
  std::string out = "kvupgrade " + std::string(ProgramVersion()) +
                    ": мастер \"Модернизация\", обновление установки Квениры до версии 7.12.\n"
                    "\n"
                    "Запуск: kvupgrade [параметры]\n"
                    "Без параметров показывает окна мастера. Перед работой мастер копирует себя\n"
                    "в папку версии установки и запускается оттуда с теми же параметрами.\n"
                    "\n"
                    "Параметры:\n";
  for (const OptionHelp& o : OptionsHelp())
    out += "  " + Padded(std::string(o.name) + (o.value.empty() ? "" : " " + std::string(o.value)), 24) +
           std::string(o.meaning) + "\n";
  out += "\nКоды завершения:\n";
  for (const ExitStatusMeaning& m : ExitStatusMeanings())
    out += "  " + Padded(std::to_string(m.status), 4) + std::string(m.meaning) + "\n";
  return out;
}

}  // namespace kv
