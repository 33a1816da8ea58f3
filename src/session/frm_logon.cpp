#include "session/frm_logon.h"

namespace session {

FrmLogon::FrmLogon() : Form("FrmLogon") {
    setBorderStyle(0);
}

core::FormSlot<FrmLogon>& frmLogon() {
    static core::FormSlot<FrmLogon> slot;
    return slot;
}

} // namespace session
