/*
** The dock rule.
*/
#include "platform/dock_layout.h"

#include <algorithm>

namespace kv::form {

std::vector<Rect> DockLayout(const Rect& area, std::span<const Docked> children) {
  int top = area.top, bottom = area.top + area.height;
  const int left = area.left, width = std::max(area.width, 0);
  std::vector<Rect> out;
  out.reserve(children.size());
  for (const Docked& c : children) {
    const int h = std::max(c.bounds.height, 0);
    switch (c.align) {
      case Align::Top:
        out.push_back({left, top, width, h});
        top += h;
        break;
      case Align::Bottom:
        out.push_back({left, bottom - h, width, h});
        bottom -= h;
        break;
      case Align::None:
      case Align::Client: out.push_back(c.bounds); break;
    }
  }
  const Rect rest{left, top, width, std::max(bottom - top, 0)};
  for (std::size_t i = 0; i < children.size(); ++i)
    if (children[i].align == Align::Client) out[i] = rest;
  return out;
}

}  // namespace kv::form
