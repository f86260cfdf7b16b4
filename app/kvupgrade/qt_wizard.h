/*
** The wizard over the Qt window.
*/
#pragma once

#include "view_wizard.h"
#include "views/qt/qt_wizard_window.h"

namespace kv {

extern template class ViewWizard<qt::QtWizardWindow>;
using QtWizard = ViewWizard<qt::QtWizardWindow>;

}  // namespace kv
