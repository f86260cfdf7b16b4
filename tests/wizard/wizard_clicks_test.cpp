// The click table: checked when it is built, complete for the wizard's window.
#include "wizard/wizard_clicks.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "wizard/wizard_forms.h"

namespace kv {
namespace {

TEST(ClickTable, AnUnknownElementOneThatCannotBeClickedADuplicateOrNoActionIsRefusedWhenBuilt) {
  const form::Form& wizard = WizardFormDescription();
  EXPECT_THROW(ClickTable(wizard, {{"Button9", &WizardForm::Button1Click}}), std::invalid_argument);
  EXPECT_THROW(ClickTable(wizard, {{"Memo1", &WizardForm::Button1Click}}), std::invalid_argument);
  EXPECT_THROW(ClickTable(wizard, {{"Button1", &WizardForm::Button1Click}, {"Button1", &WizardForm::Button2Click}}),
               std::invalid_argument);
  EXPECT_THROW(ClickTable(wizard, {{"Button1", nullptr}}), std::invalid_argument);
  const ClickTable one(wizard, {{"Button2", &WizardForm::Button2Click}});
  EXPECT_EQ(one.Find("Button2"), &WizardForm::Button2Click);
  EXPECT_EQ(one.Find("Button1"), nullptr);
}

TEST(ClickTable, EveryButtonCheckBoxAndTimerOfTheWizardRunsItsOwnHandler) {
  const ClickTable& clicks = WizardClicks();
  for (const form::Element& e : WizardFormDescription().elements) {
    const bool clicked = e.kind == form::Kind::Button || e.kind == form::Kind::CheckBox || e.kind == form::Kind::Timer;
    EXPECT_EQ(clicks.Find(e.name) != nullptr, clicked) << e.name;
  }
  EXPECT_EQ(clicks.Find("Button1"), &WizardForm::Button1Click);
  EXPECT_EQ(clicks.Find("Button2"), &WizardForm::Button2Click);
  EXPECT_EQ(clicks.Find("Button3"), &WizardForm::Button3Click);
  EXPECT_EQ(clicks.Find("CheckBox1"), &WizardForm::CheckBox1Click);
  EXPECT_EQ(clicks.Find("Timer1"), &WizardForm::Timer1Timer);
}

}  // namespace
}  // namespace kv
