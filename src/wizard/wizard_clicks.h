/*
** Which handler of the wizard's logic each element of its window runs: a
** button's or check box's click, a timer's tick. Both views route their
** events through this one table instead of each matching names of its own.
*/
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/form_description.h"
#include "wizard/wizard_form.h"

namespace kv {

using WizardAction = void (WizardForm::*)();

class ClickTable {
 public:
  struct Entry {
    std::string_view element;
    WizardAction action = nullptr;
  };

  /* Checked here rather than on the first click: throws std::invalid_argument
  ** for an element the form does not have, one that is neither a button, a
  ** check box nor a timer, one named twice, or an entry without an action. */
  ClickTable(const form::Form& form, std::initializer_list<Entry> entries);

  /* The element's action; nullptr for an element without one. */
  WizardAction Find(std::string_view element) const;
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

/* The wizard window's table: Button1 to Button3, CheckBox1 and Timer1. */
const ClickTable& WizardClicks();

}  // namespace kv
