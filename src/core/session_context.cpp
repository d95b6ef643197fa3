#include "core/session_context.h"

namespace qx {

std::string SessionContext::caption() const {
    std::string c = " Ravellon VER." + ProgramVersion + " [" + company + " / " + LoginId + " / " +
                    (cmsrunprg == 1 ? "금결원" : "효성") + " 이용기관코드 : " + org_code + "]";
    if (stat_company == "0") c += "-테스트중";
    return c;
}

}  // namespace qx
