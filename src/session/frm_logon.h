#pragma once
// The candidate login of a mock exam. For now an empty window: the session
// start shows it for a mock exam.
#include "core/forms.h"

namespace session {

class FrmLogon : public core::Form {
public:
    FrmLogon();
};

core::FormSlot<FrmLogon>& frmLogon();

} // namespace session
