#include "win32_wizard.h"

namespace kv {

template class ViewWizard<win32::Win32WizardWindow>;

}  // namespace kv
