/*
** Where the aligned children of a form's window go: the one dock rule both
** views apply (form_description.h, Align). Pure: rectangles in, rectangles out.
*/
#pragma once

#include <span>
#include <vector>

#include "platform/form_description.h"

namespace kv::form {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Docked {
  Align align = Align::None;
  Rect bounds;  // where the child is now
};

/* The children's new rectangles inside area, in the children's order: Top and
** Bottom take the whole free width at their edge with their own height, one
** after another in the given order; every Client fills what they leave; None
** keeps its bounds. Sizes that run out are 0, never negative. */
std::vector<Rect> DockLayout(const Rect& area, std::span<const Docked> children);

}  // namespace kv::form
