/*
** Modal questions and messages to the operator.
**
** The logic never shows anything itself: it asks an OperatorDialog, which the
** window implements (or the console in unattended mode, or a recorder in tests).
** Texts are UTF-8 and may hold "\r" line breaks exactly as the program builds them.
*/
#pragma once

#include <string>

namespace kv {

class OperatorDialog {
 public:
  virtual ~OperatorDialog() = default;
  /* Shows text with an OK button; returns when the operator closed it. */
  virtual void ShowMessage(const std::string& text) = 0;
  /* Asks text with the buttons Yes and No (no icon); true for Yes. */
  virtual bool AskYesNo(const std::string& text) = 0;
};

}  // namespace kv
