#include "members/member_list_columns.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "members/member_record.h"

namespace qx {

namespace {

const std::vector<MemberListColumn> kFixed = {{0, "payer_number", "납부자번호"},
                                              {0, "username", "고객명"}};

// The numbers 68 to 71 are the authentication columns the schema upgrade
// adds to VIEW; the defaults 1/2/3/4/12/33/34/35/36 give the everyday set.
const std::vector<MemberListColumn> kOptional = {
    {1, "client_company", "상호"},
    {2, "settle_text", "수금방식"},
    {3, "cms_status_text", "CMS상태"},
    {4, "remove_text", "회원상태"},
    {5, "account_divide_text", "매출구분"},
    {6, "p_tax_text", "영수처리방식"},
    {7, "cms_error", "CMS에러"},
    {8, "ext_key", "외부참조키"},
    {9, "branch_name", "지사"},
    {10, "agency_name", "대리점"},
    {11, "client_manager", "담당자"},
    {12, "pay_monthdefault", "매출예정액"},
    {13, "pay_nonpayment", "미수금"},
    {14, "total_prosspay", "총매출액"},
    {15, "total_payment", "총수금액"},
    {16, "pay_agreement", "할부총액"},
    {17, "pay_prossagreement", "할부수금액"},
    {18, "payday", "매출예정일"},
    {19, "inday", "이체예정일"},
    {20, "start_date", "이체개시월"},
    {21, "signdate_text", "등록일자"},
    {22, "client_info1", "관리(A)"},
    {23, "client_info2", "관리(B)"},
    {24, "client_info3", "관리(C)"},
    {25, "president", "대표자"},
    {26, "company_number", "사업자번호"},
    {27, "tel", "전화"},
    {28, "private_tel", "휴대폰"},
    {29, "user_email", "이메일"},
    {30, "address", "주소"},
    {31, "comment", "비고"},
    {32, "p_seday", "기간제종료"},
    {33, "bank_name", "은행명"},
    {34, "account_no", "계좌번호"},
    {35, "account_name", "예금주명"},
    {36, "account_jumin", "예금주번호"},
    {37, "virtual_bank", "가상계좌은행"},
    {38, "virtual_no", "가상계좌번호"},
    {39, "giro_number", "OCR지로고객번호"},
    {40, "card_no", "카드번호(CARD)"},
    {41, "card_expiry", "유효년월(CARD)"},
    {42, "month_max", "월청구제한"},
    {43, "cash_receipt_info", "현금영수발행정보"},
    {44, "agree_text", "동의자료설정상태"},
    {68, "certificate_kind_text", "회원인증방법"},
    {69, "certificate_number", "계좌주휴대폰"},
    {70, "certificate_status_text", "인증결과"},
    {71, "certificate_error", "인증결과메시지"},
};

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string CertificateKindText(const std::string& c) {
    if (c == "1") return "휴대전화";
    if (c == "2") return "FAX";
    if (c == "3") return "동의서";
    if (c == "4") return "해당없음";
    return "미선택";
}

std::string CertificateStatusText(const std::string& c) {
    if (c == "Y") return "성공";
    if (c == "I") return "처리중";
    if (c == "F") return "실패";
    if (c == "Z") return "반려";
    if (c == "P") return "해당없음";
    if (c == "0") return "처리전";
    return c;
}

std::string AgreementText(const std::string& c) {
    if (c == "0") return "미설정";
    if (c == "1") return "설정함";
    if (c == "2") return "전송전";
    if (c == "3") return "전송함";
    if (c == "P") return "해당무";
    return "기타";
}

}  // namespace

bool IsAmountColumn(const std::string& key) {
    return key == "pay_monthdefault" || key == "pay_nonpayment" || key == "total_prosspay" ||
           key == "total_payment" || key == "pay_agreement" || key == "pay_prossagreement";
}

const std::vector<MemberListColumn>& OptionalMemberColumns() {
    return kOptional;
}

MemberListLayout MemberListColumns(const std::string& view, int fixingColumns) {
    std::set<int> wanted;
    std::size_t start = 0;
    while (start <= view.size()) {
        const std::size_t end = std::min(view.find('/', start), view.size());
        const std::string part = Trim(view.substr(start, end - start));
        int n = 0;
        const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), n);
        if (!part.empty() && ec == std::errc() && ptr == part.data() + part.size())
            wanted.insert(n);
        start = end + 1;
    }
    MemberListLayout layout;
    layout.columns = kFixed;
    for (const auto& c : kOptional)
        if (wanted.count(c.number)) layout.columns.push_back(c);
    layout.frozen = std::clamp(fixingColumns, 0, static_cast<int>(layout.columns.size()));
    return layout;
}

std::string MemberListCell(const MemberListRow& row, const std::string& key) {
    const std::string method = row.get("settle_accounts");
    const bool cms = method == "1";
    if (key == "payer_number") {
        const std::string n = std::to_string(row.member_inx);
        return n.size() >= 10 ? n : std::string(10 - n.size(), '0') + n;
    }
    if (key == "remove_text") return MemberStateText(row.get("remove"));
    if (IsAmountColumn(key)) return FormatAmount(row.get(key));
    if (key == "bank_name" || key == "account_no" || key == "account_jumin")
        return cms ? row.get(key) : std::string();
    if (key == "account_name") return method == "4" ? std::string() : row.get(key);
    if (key == "giro_number") return method == "3" ? row.get("account_name") : std::string();
    if (key == "card_no") return method == "5" ? row.get("account_no") : std::string();
    if (key == "card_expiry") return method == "5" ? row.get("account_jumin") : std::string();
    if (key == "certificate_kind_text")
        return cms ? CertificateKindText(row.get("certificate_kind")) : std::string();
    if (key == "certificate_number") return cms || method == "5" ? row.get(key) : std::string();
    if (key == "certificate_status_text")
        return cms ? CertificateStatusText(row.get("certificate_status")) : std::string();
    if (key == "certificate_error") return cms ? row.get(key) : std::string();
    if (key == "agree_text")
        return cms ? AgreementText(row.get("cms_agree_status")) : std::string();
    return row.get(key);
}

}  // namespace qx
