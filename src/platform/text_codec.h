/*
** 8-bit text of Windows programs.
**
** The program works in UTF-8. Files it shares with Windows programs (the
** register log, the installation ini file, the Firebird aliases file) are in the
** ANSI code page, Windows-1251.
*/
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

/* UTF-8 to Windows-1251. Characters the code page lacks become '?', as the
** Windows conversion does; the call never fails on content. */
std::string Utf8ToAnsi(std::string_view utf8);

/* Windows-1251 to UTF-8. Every byte has a meaning, so this never fails. */
std::string AnsiToUtf8(std::string_view ansi);

/* Length of the UTF-8 sequence that starts text (non-empty), or 1 for a byte
** that does not start a complete sequence. */
std::size_t Utf8SequenceLength(std::string_view text);

/* True when text is well-formed UTF-8 (plain ASCII included). */
bool IsValidUtf8(std::string_view text);

/* Upper case by the rules of the ANSI code page: the letters a to z and the
** Cyrillic letters Windows-1251 holds become capitals; every other character
** is kept as it is. Input and output are UTF-8. */
std::string AnsiUpper(std::string_view utf8);

/* Reads an 8-bit text file's content as UTF-8: content that is already valid
** UTF-8 is kept (Linux editors write it), anything else is taken as Windows-1251.
** A UTF-8 byte-order mark is dropped. */
std::string EightBitToUtf8(std::string_view content);

}  // namespace kv
