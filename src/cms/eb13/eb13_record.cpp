#include "cms/eb13/eb13_record.h"

#include "cms/eb13/eb13_targets.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "platform/codepage.h"
#include "platform/trim.h"

namespace qx {

std::string Eb13BankCode(const std::string& bankCodeColumn) {
    std::string bank = Trim(bankCodeColumn.substr(0, 3));
    if (bank.size() < 3) bank.insert(0, 3 - bank.size(), '0');
    return bank + "0000";
}

std::string Eb13IdNumber(const std::string& accountJumin) {
    // Measured in bytes like every record field; a stray Hangul character is
    // never split.
    return ByteLength(accountJumin) >= 11 ? ByteMid(accountJumin, 1, 6) : accountJumin;
}

std::string Eb13DataRecord(const Eb13Target& t, long long serial, const std::string& orgCode,
                           const CivilDate& fileDate, const std::string& filePayerNumber) {
    RecordBuilder r(kShortRecordLength);
    r.text("R", 1)
        .number(serial, 8)
        .text(orgCode, 10)
        .text(Yymmdd(fileDate), 6)
        .text(t.isNew() ? "1" : "3", 1)
        .text(filePayerNumber, 20)
        .text(Eb13BankCode(t.bank_code), 7)
        .text(t.account_no, 16)
        .text(Eb13IdNumber(t.account_jumin), 16)
        .blanks(4)
        .blanks(2)
        .blanks(5)
        .blanks(1)
        .blanks(12)
        .blanks(11);
    return r.finish();
}

std::string Eb13Trailer(const std::string& orgCode, const CivilDate& fileDate, long long newCount,
                        long long cancelCount) {
    return TrailerRecord(
        kEb13Kind, orgCode, fileDate,
        {{newCount + cancelCount, 8}, {newCount, 8}, {0, 8}, {cancelCount, 8}, {0, 8}});
}

}  // namespace qx
