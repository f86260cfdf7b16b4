/*
** Text between the logic (UTF-8, "\r" line breaks as the program builds them)
** and Qt.
*/
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kv::qt {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

/* A message's "\r\n" and lone "\r" as "\n": some Qt styles draw a lone CR as a blank. */
QString MessageText(std::string_view text);

}  // namespace kv::qt
