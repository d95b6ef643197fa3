#include "cms/workspace/result_screen.h"

#include "cms/workspace/cms_status.h"
#include "members/member_rules.h"
#include "platform/trim.h"

namespace qx {

std::string FileDetailTitle(const std::string& filename) {
    return "[" + filename + "] 파일 상세 내역";
}

std::string MaskedHolderNumber(const std::string& number, bool full) {
    const std::size_t n = CharacterCount(number);
    if (full || n == 6 || n == 10) return number;
    return LeftCharacters(number, 6) + "*******";
}

std::string ResultScreenStateText(const std::string& prossStat, const std::string& sendStat,
                                  const std::string& relayStat, const std::string& recvdate,
                                  const std::string& filename, int cmsrunprg,
                                  const std::string& requestKind, const std::string& resultDigits) {
    if (prossStat == "1") return kAppliedText;
    if (prossStat == "9") return kApplyingText;
    if (cmsrunprg == 2) {
        if (Trim(relayStat) == "5") {
            return recvdate.size() >= 6
                       ? recvdate.substr(2, 2) + "/" + recvdate.substr(4, 2) + " 수신예정"
                       : std::string();
        }
        return RelayStatText(relayStat, recvdate, requestKind);
    }
    const std::string stat = Trim(sendStat);
    if (stat == "0") return "파일송신전";
    if (stat == "1") return "파일송신중";
    if (stat == "2") return "송신결과 확인중";
    if (stat == "4") return "파일송신 실패";
    if (stat == "5") return filename.substr(0, 2) + resultDigits + " 미수신";
    return {};
}

}  // namespace qx
