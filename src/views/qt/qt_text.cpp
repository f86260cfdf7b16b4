/*
** Message text for Qt.
*/
#include "views/qt/qt_text.h"

#include "platform/text_util.h"

namespace kv::qt {

QString MessageText(std::string_view text) { return Q(NewlineBreaks(text)); }

}  // namespace kv::qt
