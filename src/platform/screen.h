/*
** The screen the program's windows appear on.
*/
#pragma once

#include <optional>

namespace kv {

struct ScreenSize {
  int width = 0, height = 0;  // pixels
};

class Screen {
 public:
  virtual ~Screen() = default;
  /* Size of the primary screen; nullopt when the program runs without one
  ** (the console of the unattended mode), so nothing depends on it. */
  virtual std::optional<ScreenSize> Size() = 0;
};

}  // namespace kv
