/*
** The splash window's elements.
*/
#include "startup/splash_form.h"

#include <array>

#include "startup/splash.h"

namespace kv {
namespace {

using namespace form;

constexpr int kWidth = 384, kHeight = 133;

constexpr std::array kElements{
    Element{.name = "Panel1", .kind = Kind::Panel, .bounds = {0, 0, kWidth, kHeight}, .align = Align::Client},
    Element{.name = "Label1", .kind = Kind::Label, .parent = "Panel1", .bounds = {8, 14, kWidth - 16, 22},
            .caption = "Пожалуйста, подождите.", .textAlign = TextAlign::Centre},
    Element{.name = "Label2", .kind = Kind::Label, .parent = "Panel1", .bounds = {8, 42, kWidth - 16, 22},
            .caption = "Идет проверка системы...", .textAlign = TextAlign::Centre},
    Element{.name = "Label3", .kind = Kind::Label, .parent = "Panel1", .bounds = {12, 84, kWidth - 24, 16},
            .caption = "...", .font = {"Arial", 11}},
    Element{.name = "Gauge1", .kind = Kind::Gauge, .parent = "Panel1", .bounds = {0, kHeight - 20, kWidth, 20},
            .align = Align::Bottom, .colour = kGaugeGreen, .maximum = 3},
};

constexpr Form kSplash{
    .name = "TFormZastavka7",
    .width = kWidth,
    .height = kHeight,
    .border = Border::None,
    .stayOnTop = true,
    .font = {"Arial", 16},
    .elements = kElements,
};

}  // namespace

const form::Form& SplashForm() { return kSplash; }

}  // namespace kv
