#include "file_check.h"

#include <algorithm>
#include <ctime>

namespace center {

std::string Field(const std::string& record, size_t position, size_t length) {
    if (position == 0 || position - 1 >= record.size()) return {};
    return record.substr(position - 1, length);
}

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string PadRight(const std::string& text, size_t width) {
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

std::string ZeroPad(long long value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

namespace {

bool Blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// A YYMMDD that names a real calendar day.
bool ValidYymmdd(const std::string& yymmdd) {
    if (yymmdd.size() != 6 || !AllDigits(yymmdd)) return false;
    std::tm tm{};
    tm.tm_year = 100 + std::stoi(yymmdd.substr(0, 2));
    tm.tm_mon = std::stoi(yymmdd.substr(2, 2)) - 1;
    tm.tm_mday = std::stoi(yymmdd.substr(4, 2));
    tm.tm_hour = 12;
    std::tm copy = tm;
    std::mktime(&copy);
    return copy.tm_mday == tm.tm_mday && copy.tm_mon == tm.tm_mon;
}

struct Reader {
    const std::string& bytes;
    size_t length;
    std::string error;
    size_t count() const { return bytes.size() / length; }
    std::string record(size_t i) const { return bytes.substr(i * length, length); }
    bool fail(size_t i, const std::string& what) {
        error = "레코드 " + std::to_string(i + 1) + ": " + what;
        return false;
    }
};

// The serial of data record i: an EB12 answer returns the EB11's records
// with their own serials (a positive number); other files count from 1.
bool SerialFits(const std::string& name, const std::string& serial, size_t i) {
    if (name.rfind("EB12", 0) == 0) return AllDigits(serial) && std::stoll(serial) > 0;
    return serial == ZeroPad(static_cast<long long>(i), 8);
}

// Header and trailer of an EB file: name, date, institution code.
bool CheckFrame(Reader& r, const std::string& name, const std::string& org, std::string& yymmdd) {
    if (r.bytes.empty() || r.bytes.size() % r.length != 0) {
        r.error = "레코드 길이가 " + std::to_string(r.length) + "바이트가 아닙니다.";
        return false;
    }
    if (r.count() < 2) {
        r.error = "헤더 또는 트레일러 레코드가 없습니다.";
        return false;
    }
    const std::string head = r.record(0);
    if (Field(head, 1, 1) != "H" || Field(head, 2, 8) != "00000000")
        return r.fail(0, "헤더 레코드가 아닙니다.");
    if (Field(head, 10, 10) != PadRight(org, 10)) return r.fail(0, "이용기관코드가 다릅니다.");
    if (Field(head, 20, 8) != name) return r.fail(0, "헤더의 파일명이 다릅니다.");
    yymmdd = Field(head, 28, 6);
    if (!ValidYymmdd(yymmdd) || yymmdd.substr(2) != name.substr(4, 4))
        return r.fail(0, "헤더의 파일일자가 올바르지 않습니다.");
    const size_t spaceFrom =
        r.length == 120 ? 34 : 57;  // 150-byte headers carry the deposit account
    if (!Blank(Field(head, spaceFrom, r.length - spaceFrom + 1)))
        return r.fail(0, "헤더의 여백이 공백이 아닙니다.");
    const size_t last = r.count() - 1;
    const std::string tail = r.record(last);
    if (Field(tail, 1, 1) != "T" || Field(tail, 2, 8) != "99999999")
        return r.fail(last, "트레일러 레코드가 아닙니다.");
    if (Field(tail, 10, 10) != PadRight(org, 10)) return r.fail(last, "이용기관코드가 다릅니다.");
    if (Field(tail, 20, 8) != name) return r.fail(last, "트레일러의 파일명이 다릅니다.");
    for (size_t i = 1; i < last; ++i) {
        const std::string rec = r.record(i);
        if (Field(rec, 1, 1) != "R") return r.fail(i, "데이터 레코드가 아닙니다.");
        if (!SerialFits(name, Field(rec, 2, 8), i))
            return r.fail(i, "일련번호가 올바르지 않습니다.");
        if (Field(rec, 10, 10) != PadRight(org, 10)) return r.fail(i, "이용기관코드가 다릅니다.");
    }
    return true;
}

long long Number(const std::string& digits) {
    return AllDigits(digits) ? std::stoll(digits) : -1;
}

bool CheckRegistration(Reader& r, const std::string& yymmdd, CheckedFile& out) {
    long long created = 0, cancelled = 0;
    const size_t last = r.count() - 1;
    for (size_t i = 1; i < last; ++i) {
        const std::string rec = r.record(i);
        if (Field(rec, 20, 6) != yymmdd) return r.fail(i, "신청일자가 헤더와 다릅니다.");
        const std::string kind = Field(rec, 26, 1);
        if (out.kind == "EB13") {
            if (kind == "1")
                ++created;
            else if (kind == "3")
                ++cancelled;
            else
                return r.fail(i, "신청구분이 올바르지 않습니다.");
        }
        if (Blank(Field(rec, 27, 20))) return r.fail(i, "납부자번호가 없습니다.");
        const std::string bank = Field(rec, 47, 7);
        if (!AllDigits(bank) || bank.substr(3) != "0000")
            return r.fail(i, "은행코드가 올바르지 않습니다.");
        if (out.kind == "EB13" && kind == "1" && Blank(Field(rec, 54, 16)))
            return r.fail(i, "계좌번호가 없습니다.");
    }
    const std::string tail = r.record(last);
    if (Number(Field(tail, 28, 8)) != static_cast<long long>(last - 1))
        return r.fail(last, "트레일러의 데이터 건수가 다릅니다.");
    if (out.kind == "EB13") {
        if (Number(Field(tail, 36, 8)) != created)
            return r.fail(last, "트레일러의 신규 건수가 다릅니다.");
        if (Field(tail, 44, 8) != "00000000" || Field(tail, 60, 8) != "00000000")
            return r.fail(last, "트레일러의 예비 건수가 0이 아닙니다.");
        if (Number(Field(tail, 52, 8)) != cancelled)
            return r.fail(last, "트레일러의 해지 건수가 다릅니다.");
        if (!Blank(Field(tail, 68, 53))) return r.fail(last, "트레일러의 여백이 공백이 아닙니다.");
    }
    out.records = static_cast<long long>(last - 1);
    return true;
}

bool CheckWithdrawal(Reader& r, CheckedFile& out) {
    const size_t last = r.count() - 1;
    long long amount = 0;
    for (size_t i = 1; i < last; ++i) {
        const std::string money = Field(r.record(i), 43, 13);
        if (!AllDigits(money)) return r.fail(i, "출금의뢰금액이 숫자가 아닙니다.");
        amount += std::stoll(money);
    }
    const std::string tail = r.record(last);
    if (Number(Field(tail, 28, 8)) != static_cast<long long>(last - 1))
        return r.fail(last, "트레일러의 데이터 건수가 다릅니다.");
    if (Number(Field(tail, 44, 13)) != amount)
        return r.fail(last, "트레일러의 합계 금액이 다릅니다.");
    out.records = static_cast<long long>(last - 1);
    out.amount = amount;
    return true;
}

// An 8-digit yyyymmdd that names a real day.
bool ValidYyyymmdd(const std::string& date) {
    return date.size() == 8 && AllDigits(date) && date.substr(0, 2) == "20" &&
           ValidYymmdd(date.substr(2));
}

}  // namespace

bool CheckAgreementBlocks(const std::string& name, const std::string& bytes, const std::string& org,
                          CheckedFile& out) {
    constexpr size_t kBlock = 1024;
    auto fail = [&](size_t block, const std::string& what) {
        out.error = "블록 " + std::to_string(block + 1) + ": " + what;
        return false;
    };
    if (bytes.empty() || bytes.size() % kBlock != 0) {
        out.error = "블록 길이가 1024바이트가 아닙니다.";
        return false;
    }
    const size_t blocks = bytes.size() / kBlock;
    if (blocks < 2) {
        out.error = "헤더 또는 트레일러 블록이 없습니다.";
        return false;
    }
    const std::string head = bytes.substr(0, kBlock);
    if (Field(head, 1, 15) != "AE1112110000000") return fail(0, "헤더 블록이 아닙니다.");
    const std::string date = Field(head, 16, 8);
    if (!ValidYyyymmdd(date) || date.substr(4) != name.substr(4, 4))
        return fail(0, "헤더의 파일일자가 올바르지 않습니다.");
    if (Field(head, 24, 20) != PadRight(org, 20)) return fail(0, "이용기관코드가 다릅니다.");
    const long long declared = Number(Field(head, 44, 7));
    if (declared < 0) return fail(0, "헤더의 데이터 건수가 숫자가 아닙니다.");
    if (!Blank(Field(head, 51, kBlock - 50))) return fail(0, "헤더의 여백이 공백이 아닙니다.");

    // Each record starts on a block boundary and fills whole blocks: its
    // length follows from the size field, and the next record or the
    // trailer must begin exactly where it ends.
    size_t block = 1;
    long long records = 0, dataBlocks = 0;
    while (block < blocks && bytes.compare(block * kBlock, 15, "AE1112339999999") != 0) {
        const std::string rec = bytes.substr(block * kBlock, 119);
        if (Field(rec, 1, 8) != "AE111222") return fail(block, "데이터 레코드가 아닙니다.");
        if (Field(rec, 9, 7) != ZeroPad(records + 1, 7))
            return fail(block, "일련번호가 올바르지 않습니다.");
        if (!Blank(Field(rec, 16, 10))) return fail(block, "예비 영역이 공백이 아닙니다.");
        if (Field(rec, 26, 20) != PadRight(org, 20)) return fail(block, "이용기관코드가 다릅니다.");
        if (Blank(Field(rec, 46, 30))) return fail(block, "납부자번호가 없습니다.");
        if (!AllDigits(Field(rec, 76, 3))) return fail(block, "은행코드가 올바르지 않습니다.");
        if (Blank(Field(rec, 79, 20))) return fail(block, "계좌번호가 없습니다.");
        if (!ValidYyyymmdd(Field(rec, 99, 8))) return fail(block, "동의일자가 올바르지 않습니다.");
        const std::string kind = Field(rec, 107, 1);
        if (!AllDigits(kind) || kind == "0")
            return fail(block, "동의자료 구분이 올바르지 않습니다.");
        if (Blank(Field(rec, 108, 5))) return fail(block, "파일 확장자가 없습니다.");
        const long long size = Number(Field(rec, 113, 7));
        if (size <= 0) return fail(block, "동의자료 크기가 올바르지 않습니다.");
        const size_t used = 119 + static_cast<size_t>(size);
        const size_t span = (used + kBlock - 1) / kBlock;
        if (block + span >= blocks) return fail(block, "동의자료가 파일 끝을 넘습니다.");
        const size_t end = (block + span) * kBlock;
        if (!Blank(bytes.substr(block * kBlock + used, end - (block * kBlock + used))))
            return fail(block + span - 1, "동의자료 뒤의 여백이 공백이 아닙니다.");
        ++records;
        dataBlocks += static_cast<long long>(span);
        block += span;
    }
    if (block != blocks - 1) return fail(block, "트레일러 블록이 마지막 블록이 아닙니다.");
    const std::string tail = bytes.substr(block * kBlock, kBlock);
    if (Field(tail, 16, 20) != PadRight(org, 20)) return fail(block, "이용기관코드가 다릅니다.");
    if (Number(Field(tail, 36, 7)) != records)
        return fail(block, "트레일러의 데이터 건수가 다릅니다.");
    if (Number(Field(tail, 43, 10)) != dataBlocks)
        return fail(block, "트레일러의 데이터 블록 수가 다릅니다.");
    if (!Blank(Field(tail, 53, kBlock - 52)))
        return fail(block, "트레일러의 여백이 공백이 아닙니다.");
    if (declared != records) return fail(0, "헤더의 데이터 건수가 다릅니다.");
    out.records = records;
    out.fileDate = date;
    return true;
}

CheckedFile CheckFile(const std::string& name, const std::string& bytes,
                      const std::string& orgCode) {
    CheckedFile out;
    if (name.size() != 8 || !AllDigits(name.substr(4))) {
        out.error = "[" + name + "] 파일명이 올바르지 않습니다.";
        return out;
    }
    out.kind = name.substr(0, 4);
    std::string yymmdd;
    bool ok = false;
    if (out.kind == "EB13" || out.kind == "EB12") {
        Reader r{bytes, 120, {}};
        ok = CheckFrame(r, name, orgCode, yymmdd) && CheckRegistration(r, yymmdd, out);
        out.error = r.error;
    } else if (out.kind == "EB21") {
        Reader r{bytes, 150, {}};
        ok = CheckFrame(r, name, orgCode, yymmdd) && CheckWithdrawal(r, out);
        out.error = r.error;
    } else if (out.kind == "EI13") {
        ok = CheckAgreementBlocks(name, bytes, orgCode, out);
        if (ok) yymmdd = out.fileDate.substr(2);
    } else {
        out.error = "송신할 수 없는 파일 종류입니다.";
    }
    if (!ok) {
        out.error = "[" + name + "] " + out.error;
        return out;
    }
    out.ok = true;
    if (!yymmdd.empty()) out.fileDate = "20" + yymmdd;
    return out;
}

}  // namespace center
