/*
** The wizard window TFormUpgrade1 and the news window TFormUpgrade2 as data.
**
** The wizard is 558 x 466 client pixels: the banner Panel1 at the top, the
** button bar at the bottom and between them PageControl1 with its three pages
** (tabs hidden). The news window is 569 x 560 outside its frame, resizable,
** with TabControl1 and its Memo1 filling it.
*/
#pragma once

#include <string_view>

#include "platform/form_description.h"

namespace kv {

const form::Form& WizardFormDescription();
const form::Form& NewsFormDescription();

/* Resource name of the banner picture at the right of Panel1. */
inline constexpr std::string_view kBannerPicture = "BANNER";

}  // namespace kv
