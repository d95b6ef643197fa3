#include "cms/workspace/head_office_gate.h"

#include "core/session_context.h"
#include "platform/interaction.h"

namespace qx {

bool HeadOfficeMayWorkOnFiles(const SessionContext& session, Interaction& ui) {
    if (session.isHeadOffice()) return true;
    ui.inform(kHeadOfficeOnlyFileText);
    return false;
}

}  // namespace qx
