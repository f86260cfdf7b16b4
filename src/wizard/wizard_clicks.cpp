#include "wizard/wizard_clicks.h"

#include <stdexcept>
#include <string>

#include "wizard/wizard_forms.h"

namespace kv {

ClickTable::ClickTable(const form::Form& form, std::initializer_list<Entry> entries) {
  for (const Entry& entry : entries) {
    const std::string name(entry.element);
    const form::Element* element = nullptr;
    for (const form::Element& e : form.elements)
      if (e.name == entry.element) element = &e;
    if (!element) throw std::invalid_argument("form " + std::string(form.name) + " has no element " + name);
    if (element->kind != form::Kind::Button && element->kind != form::Kind::CheckBox &&
        element->kind != form::Kind::Timer)
      throw std::invalid_argument(name + " is not clicked: neither a button, a check box nor a timer");
    if (!entry.action) throw std::invalid_argument(name + " has no action");
    if (Find(entry.element)) throw std::invalid_argument(name + " is named twice");
    entries_.push_back(entry);
  }
}

WizardAction ClickTable::Find(std::string_view element) const {
  for (const Entry& e : entries_)
    if (e.element == element) return e.action;
  return nullptr;
}

const ClickTable& WizardClicks() {
  static const ClickTable table(WizardFormDescription(), {
                                                             {"Button1", &WizardForm::Button1Click},
                                                             {"Button2", &WizardForm::Button2Click},
                                                             {"Button3", &WizardForm::Button3Click},
                                                             {"CheckBox1", &WizardForm::CheckBox1Click},
                                                             {"Timer1", &WizardForm::Timer1Timer},
                                                         });
  return table;
}

}  // namespace kv
