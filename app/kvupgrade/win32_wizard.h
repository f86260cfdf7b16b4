/*
** The wizard over the native window on Windows.
*/
#pragma once

#include "view_wizard.h"
#include "views/win32/wizard_window.h"

namespace kv {

extern template class ViewWizard<win32::Win32WizardWindow>;
using Win32Wizard = ViewWizard<win32::Win32WizardWindow>;

}  // namespace kv
