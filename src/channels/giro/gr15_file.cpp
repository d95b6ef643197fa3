#include "channels/giro/gr15_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "cms/workspace/cms_record.h"
#include "db/business_days.h"
#include "platform/amount_text.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

// A numeric field of a data record: its name in the refusal, position, length.
struct NumericField {
    const char* name;
    int start;
    int length;
};

constexpr NumericField kSeqNum{"일련번호", 3, 7};
constexpr NumericField kWonDate{"수납일자", 10, 8};
constexpr NumericField kFileDate{"이체일자", 18, 8};
constexpr NumericField kBankCode{"수납점코드", 26, 7};
constexpr NumericField kBankCodeExt{"취급점코드", 33, 7};
constexpr NumericField kGiroIdx{"색인번호", 40, 12};
constexpr NumericField kAmount{"수금액", 72, 13};
constexpr NumericField kFee{"수수료", 86, 4};
constexpr int kGiroNoStart = 52, kGiroNoLength = 19;
constexpr int kReceiptKindAt = 85, kProcessingKindAt = 90;

constexpr NumericField kTrailerFields[] = {{"총 건수", 17, 14},
                                           {"총 수납금액", 31, 14},
                                           {"총 수수료", 45, 14},
                                           {"총 차감액", 59, 14},
                                           {"합계액", 73, 14}};

std::string DataError(const char* field) {
    return std::string("파일오류 (DR, ") + field + ")";
}

std::string TrailerError(const char* field) {
    return std::string("파일오류 (TR, ") + field + ")";
}

// The raw bytes of a field: kinds are single characters where a blank means
// something, so they are not trimmed.
char ByteAt(std::string_view record, int position) {
    return record[static_cast<std::size_t>(position - 1)];
}

// A field that must be digits over its whole width: a blank inside or at
// either end would shift the value it stands for.
std::optional<long long> Digits(std::string_view record, const NumericField& f) {
    const std::string_view field =
        record.substr(static_cast<std::size_t>(f.start - 1), static_cast<std::size_t>(f.length));
    if (!IsAllDigits(field)) return std::nullopt;
    return std::stoll(std::string(field));
}

Gr15File Refused(Gr15File file, std::string error) {
    file.error = std::move(error);
    file.payments.clear();
    return file;
}

}  // namespace

std::string Gr15ReceiptKindText(char kind) {
    switch (kind) {
        case ' ':
            return "정상분";
        case 'R':
            return "Reject분";
        case 'A':
            return "A장표";
        case 'T':
            return "전송분";
        case 'F':
            return "인터넷뱅킹입력납부";
        case 'G':
            return "인터넷지로입력납부";
        case 'J':
            return "CD/ATM자동수납";
        case 'E':
            return "인터넷지로분";
        case 'H':
            return "창구텔러조회수납분";
        case 'P':
            return "은행전용단말분";
        case 'C':
            return "추가처리";
        case 'D':
            return "반송수납분";
        default:
            return {};
    }
}

std::string Gr15ProcessingKindText(char kind) {
    switch (kind) {
        case ' ':
            return "정상분";
        case 'R':
            return "Reject분";
        case 'A':
            return "A장표";
        default:
            return {};
    }
}

std::string Gr15NameOf(const std::string& fileName) {
    const std::string base = std::filesystem::path(fileName).filename().string();
    if (base.size() < 10) return {};
    std::string head = base.substr(0, 4);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::string date = base.substr(4, 6);
    if (head != "GR15" || !IsAllDigits(date)) return {};
    const CivilDate d{2000 + std::stoi(date.substr(0, 2)), std::stoi(date.substr(2, 2)),
                      std::stoi(date.substr(4, 2))};
    if (!IsValidDate(d)) return {};
    // Anything after the date may only be an extension.
    if (base.size() > 10 && base[10] != '.') return {};
    return "GR15" + date;
}

Gr15File ParseGr15(std::string_view bytes, const std::string& fileName,
                   const std::string& giroCode) {
    Gr15File file;
    file.name = Gr15NameOf(fileName);
    if (file.name.empty()) return Refused(std::move(file), kGr15NameText);
    file.yymmdd = file.name.substr(4);
    // Line ends between records shift every record after the first; a cut
    // record would be read as part of another.
    if (bytes.empty() || bytes.size() % kGr15RecordLength != 0 ||
        bytes.find_first_of("\r\n") != std::string_view::npos) {
        return Refused(std::move(file), kGr15UnknownRecordText);
    }
    const std::size_t count = bytes.size() / kGr15RecordLength;
    bool header = false, trailer = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view record = bytes.substr(i * kGr15RecordLength, kGr15RecordLength);
        const std::string_view kind = record.substr(0, 2);
        const RecordReader r(record);
        // The header opens the file, the trailer closes it, once each.
        if (kind == "11" && i == 0) {
            header = true;
            if (Trim(giroCode).empty() ||
                r.field(kGr15GiroCodeStart, kGr15GiroCodeLength) != Trim(giroCode)) {
                return Refused(std::move(file), kGr15OtherInstitutionText);
            }
            if (r.field(kGr15HeaderDateStart, 6) != file.yymmdd) {
                return Refused(std::move(file), kGr15OtherDateText);
            }
        } else if (kind == "22" && header && !trailer) {
            Gr15Payment p;
            for (const NumericField* f : {&kSeqNum, &kWonDate, &kFileDate, &kBankCode,
                                          &kBankCodeExt, &kGiroIdx, &kAmount, &kFee}) {
                if (!Digits(record, *f)) return Refused(std::move(file), DataError(f->name));
            }
            p.receipt_kind = ByteAt(record, kReceiptKindAt);
            if (Gr15ReceiptKindText(p.receipt_kind).empty()) {
                return Refused(std::move(file), DataError("수납구분"));
            }
            p.processing_kind = ByteAt(record, kProcessingKindAt);
            if (Gr15ProcessingKindText(p.processing_kind).empty()) {
                return Refused(std::move(file), DataError("처리구분"));
            }
            p.seq_num = *Digits(record, kSeqNum);
            p.wondate = r.field(kWonDate.start, kWonDate.length);
            p.filedate = r.field(kFileDate.start, kFileDate.length);
            p.bank_code = r.field(kBankCode.start, kBankCode.length);
            p.bank_code_ext = r.field(kBankCodeExt.start, kBankCodeExt.length);
            p.giro_idx = r.field(kGiroIdx.start, kGiroIdx.length);
            p.giro_no = r.field(kGiroNoStart, kGiroNoLength);
            p.amount = *Digits(record, kAmount);
            p.fee = *Digits(record, kFee);
            file.payments.push_back(std::move(p));
        } else if (kind == "33" && header && !trailer && i + 1 == count) {
            trailer = true;
            long long values[5] = {};
            for (std::size_t f = 0; f < std::size(kTrailerFields); ++f) {
                const auto v = Digits(record, kTrailerFields[f]);
                if (!v) return Refused(std::move(file), TrailerError(kTrailerFields[f].name));
                values[f] = *v;
            }
            file.totals = {values[0], values[1], values[2], values[3], values[4]};
        } else {
            return Refused(std::move(file), kGr15UnknownRecordText);
        }
    }
    if (!trailer) return Refused(std::move(file), kGr15UnknownRecordText);
    if (file.payments.empty()) return Refused(std::move(file), kGr15NoDataText);
    if (static_cast<long long>(file.payments.size()) != file.totals.count) {
        return Refused(std::move(file), kGr15CountText);
    }
    return file;
}

Gr15File ReadGr15File(const std::string& path, const std::string& giroCode) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        Gr15File file;
        file.name = Gr15NameOf(path);
        file.error = kGr15NameText;
        return file;
    }
    return ParseGr15(*bytes, path, giroCode);
}

std::vector<std::string> Gr15GridColumns() {
    return {"일련번호",     "수납일자", "이체일자", "수납점코드", "정보작성점", "색인번호",
            "고객조회번호", "수금액",   "수수료",   "수납구분",   "처리구분",   "sustat"};
}

std::vector<int> Gr15GridWidths() {
    return {900, 1200, 1200, 1100, 1100, 1300, 2000, 1400, 1000, 1800, 1200, 0};
}

std::vector<std::vector<std::string>> Gr15GridRows(const Gr15File& file) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(file.payments.size());
    for (const auto& p : file.payments) {
        rows.push_back(
            {std::to_string(p.seq_num), p.wondate, p.filedate, p.bank_code, p.bank_code_ext,
             p.giro_idx, p.giro_no, FormatAmount(p.amount), FormatAmount(p.fee),
             Gr15ReceiptKindText(p.receipt_kind), Gr15ProcessingKindText(p.processing_kind),
             p.processing_kind == ' ' ? std::string() : std::string(1, p.processing_kind)});
    }
    return rows;
}

}  // namespace qx
