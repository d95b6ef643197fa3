// What the result screens of request files (EB13/EB14, EB21/EB22) share: the
// request rows of a file as a titled grid, the holder number as a grid may
// show it, and the state of a request file in these screens' wording.
#pragma once

#include <string>
#include <vector>

namespace qx {

struct FileDetail {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// "[EB13261204] 파일 상세 내역"
std::string FileDetailTitle(const std::string& filename);

// The holder number as the grid shows it: in full when `full`, else a 6- or
// 10-character number in full and any other as its first 6 characters and
// seven asterisks.
std::string MaskedHolderNumber(const std::string& number, bool full);

// The state column of a result screen: applied, being applied, or the
// transmission state. On the relay path (cmsrunprg 2) the relay run's state,
// its state 5 as the receipt day "MM/DD 수신예정"; else the file's send_stat,
// whose 5 names the missing result file: the first two letters of the
// request file's name and `resultDigits` ("14" or "22") + " 미수신".
std::string ResultScreenStateText(const std::string& prossStat, const std::string& sendStat,
                                  const std::string& relayStat, const std::string& recvdate,
                                  const std::string& filename, int cmsrunprg,
                                  const std::string& requestKind, const std::string& resultDigits);

}  // namespace qx
