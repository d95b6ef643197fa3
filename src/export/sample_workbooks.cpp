#include "export/sample_workbooks.h"

#include <numeric>

#include "export/html_xls_writer.h"

namespace qx {

namespace {

constexpr auto kLeft = ColumnAlignment::kLeft;
constexpr auto kCentre = ColumnAlignment::kCentre;
constexpr auto kRight = ColumnAlignment::kRight;

// The member's own details, shared by both workbooks.
const std::vector<ExportColumn> kCustomer = {
    {"고객명", 1400, kLeft},     {"상호", 1800, kLeft},      {"대표자", 1200, kLeft},
    {"사업자번호", 1400, kLeft}, {"전화", 1400, kLeft},      {"휴대폰", 1400, kLeft},
    {"이메일", 2000, kLeft},     {"우편번호", 900, kCentre}, {"주소", 3000, kLeft},
    {"담당자", 1200, kLeft},     {"관리(A)", 1200, kLeft},   {"관리(B)", 1200, kLeft},
    {"관리(C)", 1200, kLeft},    {"비고", 2400, kLeft}};

}  // namespace

const char* SampleWorkbookPath(SampleWorkbook which) {
    return which == SampleWorkbook::kAddUser ? "expexcel/adduser.xls" : "expexcel/editmeminfo.xls";
}

const char* SampleWorkbookTitle(SampleWorkbook which) {
    return which == SampleWorkbook::kAddUser ? "일괄등록 양식" : "일괄변경 양식";
}

std::vector<ExportColumn> SampleWorkbookColumns(SampleWorkbook which) {
    std::vector<ExportColumn> out;
    if (which == SampleWorkbook::kEditMemberInfo) {
        // The payer number names the member to change; empty cells change
        // nothing.
        out.push_back({"납부자번호", 1400, kLeft});
        out.insert(out.end(), kCustomer.begin(), kCustomer.end());
        return out;
    }
    out = kCustomer;
    const std::vector<ExportColumn> billing = {
        {"수금방식", 1000, kCentre},   {"매출구분", 1000, kCentre},   {"은행코드", 1000, kCentre},
        {"계좌번호", 1800, kLeft},     {"예금주명", 1200, kLeft},     {"예금주번호", 1400, kLeft},
        {"매출예정액", 1200, kRight},  {"매출예정일", 1000, kCentre}, {"이체예정일", 1000, kCentre},
        {"이체개시월", 1000, kCentre}, {"품목", 1400, kLeft}};
    out.insert(out.end(), billing.begin(), billing.end());
    return out;
}

std::string SampleWorkbookMissingText(const std::string& fullPath) {
    return "양식 파일이 없습니다. 프로그램을 업데이트 하신 후 다시 시도하십시오.\r\n(" + fullPath +
           ")";
}

bool WriteSampleWorkbook(SampleWorkbook which, std::ostream& out) {
    VectorRowSource rows(SampleWorkbookColumns(which), {});
    std::vector<int> all(rows.columns().size());
    std::iota(all.begin(), all.end(), 0);
    return WriteHtmlXls(out, rows, all, nullptr).has_value() && out.good();
}

}  // namespace qx
