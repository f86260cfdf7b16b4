#include "qt_wizard.h"

namespace kv {

template class ViewWizard<qt::QtWizardWindow>;

}  // namespace kv
