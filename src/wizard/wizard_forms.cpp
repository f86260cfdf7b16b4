/*
** The elements of the wizard and the news window.
*/
#include "wizard/wizard_forms.h"

#include <array>

#include "wizard/agreement_text.h"

namespace kv {
namespace {

using namespace form;

constexpr int kWidth = 558, kHeight = 466;
constexpr int kBanner = 81;     // Panel1
constexpr int kButtonBar = 41;  // below the pages
constexpr int kButtonW = 75, kButtonH = 25, kMargin = 8;
constexpr int kButtonTop = kHeight - kButtonBar + (kButtonBar - kButtonH) / 2;
constexpr int kPagesH = kHeight - kBanner - kButtonBar;
constexpr int kSheetW = kWidth - 8, kSheetH = kPagesH - 8;  // inside the page frame
constexpr int kInner = kSheetW - 2 * kMargin;

constexpr std::array kWizardElements{
    Element{.name = "Panel1", .kind = Kind::Panel, .bounds = {0, 0, kWidth, kBanner}, .align = Align::Top,
            .caption = "   Модернизация программы \"Квенира\"", .font = {"Arial", 16, true}, .colour = kWhite},
    Element{.name = "Image1", .kind = Kind::Picture, .parent = "Panel1",
            .bounds = {kWidth - 72 - kMargin, (kBanner - 72) / 2, 72, 72}, .colour = kWhite,
            .resource = kBannerPicture},
    Element{.name = "PageControl1", .kind = Kind::PageControl, .bounds = {0, kBanner, kWidth, kPagesH}},
    Element{.name = "TabSheet1", .kind = Kind::TabSheet, .parent = "PageControl1", .caption = "Начало"},
    Element{.name = "Memo1", .kind = Kind::Memo, .parent = "TabSheet1",
            .bounds = {kMargin, kMargin, kInner, kSheetH - 2 * kMargin}, .font = {"Courier New", 13, false, true},
            .colour = kWhite, .readOnly = true, .verticalScrollBar = true, .tabStop = 18},
    Element{.name = "TabSheet2", .kind = Kind::TabSheet, .parent = "PageControl1", .caption = "Лиц. соглашение"},
    Element{.name = "Memo2", .kind = Kind::Memo, .parent = "TabSheet2",
            .bounds = {kMargin, kMargin, kInner, kSheetH - 3 * kMargin - 20}, .caption = kAgreementText,
            .font = {"Arial", 13},
            .colour = kWhite, .readOnly = true, .verticalScrollBar = true},
    Element{.name = "CheckBox1", .kind = Kind::CheckBox, .parent = "TabSheet2",
            .bounds = {kMargin, kSheetH - kMargin - 20, kInner, 20},
            .caption = "Я принимаю условия лицензионного соглашения", .font = {"Arial", 13}},
    Element{.name = "TabSheet3", .kind = Kind::TabSheet, .parent = "PageControl1", .caption = "Установка"},
    Element{.name = "Memo3", .kind = Kind::Memo, .parent = "TabSheet3",
            .bounds = {kMargin, kMargin, kInner, kSheetH - 4 * kMargin - 20 - 18}, .font = {"Courier New", 13, false, true},
            .colour = kWhite, .readOnly = true, .verticalScrollBar = true},
    Element{.name = "Label2", .kind = Kind::Label, .parent = "TabSheet3",
            .bounds = {kMargin, kSheetH - 2 * kMargin - 20 - 18, kInner, 18}, .caption = "............",
            .font = {"Arial", 13}},
    Element{.name = "Gauge1", .kind = Kind::Gauge, .parent = "TabSheet3",
            .bounds = {kMargin, kSheetH - kMargin - 20, kInner, 20}, .colour = kGaugeGreen, .maximum = 100},
    Element{.name = "Button3", .kind = Kind::Button, .bounds = {kMargin, kButtonTop, kButtonW, kButtonH},
            .caption = "Новости"},
    Element{.name = "Button1", .kind = Kind::Button,
            .bounds = {kWidth - 2 * (kButtonW + kMargin), kButtonTop, kButtonW, kButtonH}, .caption = "Далее >"},
    Element{.name = "Button2", .kind = Kind::Button, .bounds = {kWidth - kButtonW - kMargin, kButtonTop, kButtonW, kButtonH},
            .caption = "Выход"},
    Element{.name = "Timer1", .kind = Kind::Timer, .enabled = false, .interval = 500},
};

constexpr Form kWizard{
    .name = "TFormUpgrade1",
    .caption = "Модернизация",
    .width = kWidth,
    .height = kHeight,
    .border = Border::Dialog,
    .font = {"Arial", 13},
    .elements = kWizardElements,
};

constexpr int kNewsWidth = 569, kNewsHeight = 560;

constexpr std::array kNewsElements{
    Element{.name = "TabControl1", .kind = Kind::TabControl, .bounds = {0, 0, kNewsWidth, kNewsHeight},
            .align = Align::Client},
    Element{.name = "Memo1", .kind = Kind::Memo, .parent = "TabControl1", .bounds = {4, 4, kNewsWidth - 8, kNewsHeight - 8},
            .align = Align::Client, .colour = kWhite, .readOnly = true, .verticalScrollBar = true, .focused = true},
};

constexpr Form kNews{
    .name = "TFormUpgrade2",
    .caption = "Новости",
    .width = kNewsWidth,
    .height = kNewsHeight,
    .outerSize = true,
    .border = Border::Sizeable,
    .font = {"Arial", 13},
    .elements = kNewsElements,
};

}  // namespace

const form::Form& WizardFormDescription() { return kWizard; }
const form::Form& NewsFormDescription() { return kNews; }

}  // namespace kv
