/*
** The splash window TFormZastavka7 as data: a borderless, always-on-top box of
** 384 x 133 client pixels with two centred lines, the status line and a green
** gauge at the bottom.
*/
#pragma once

#include "platform/form_description.h"

namespace kv {

const form::Form& SplashForm();

}  // namespace kv
