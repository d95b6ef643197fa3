#include "cms/eb11/expired_eb11_list.h"

#include <filesystem>
#include <numeric>

#include "cms/eb11/eb11_file.h"
#include "core/session_context.h"
#include "db/database.h"
#include "export/column_choice.h"
#include "export/excel_export.h"
#include "platform/interaction.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr auto kLeft = ColumnAlignment::kLeft;
constexpr auto kCentre = ColumnAlignment::kCentre;

// The records as rows, one at a time.
class ExpiredRows : public ExportRowSource {
  public:
    explicit ExpiredRows(Eb11Reading reading)
        : columns_(ExpiredEb11Columns()), reading_(std::move(reading)) {}
    const std::vector<ExportColumn>& columns() const override { return columns_; }
    long long rowCount() const override { return static_cast<long long>(reading_.records.size()); }
    bool next(std::vector<std::string>& cells) override {
        if (next_ >= reading_.records.size()) return false;
        const Eb11Record& r = reading_.records[next_++];
        const std::string applied = r.applied.size() == 6
                                        ? "20" + r.applied.substr(0, 2) + "-" +
                                              r.applied.substr(2, 2) + "-" + r.applied.substr(4)
                                        : r.applied;
        cells = {std::to_string(r.serial),
                 Eb11KindText(r.kind),
                 r.payer,
                 r.bankCode,
                 r.account,
                 r.idNumber,
                 applied,
                 Eb11ChannelText(r.channel, r.kind),
                 r.phone,
                 kExpiredEb11Remark};
        return true;
    }

  private:
    std::vector<ExportColumn> columns_;
    Eb11Reading reading_;
    std::size_t next_ = 0;
};

}  // namespace

std::vector<ExportColumn> ExpiredEb11Columns() {
    return {{"일련번호", 900, kCentre},  {"구분", 900, kCentre},
            {"납부자번호", 1500, kLeft}, {"은행코드", 1000, kCentre},
            {"계좌번호", 1800, kLeft},   {"생년월일(사업자번호)", 1800, kLeft},
            {"신청일자", 1200, kCentre}, {"접수채널", 2200, kLeft},
            {"전화번호", 1400, kLeft},   {"비고", 2600, kLeft}};
}

std::string ExpiredEb11ListFailedText(const std::string& fileName) {
    return "[" + fileName + "] Excel파일 생성이 중단 또는 실패했습니다. 다시 시도해주십시오.";
}

std::string WriteExpiredEb11List(Database& db, const SessionContext& s, Interaction& ui,
                                 const std::string& expiredPath, const std::string& fileName) {
    const std::string failed = ExpiredEb11ListFailedText(fileName);
    Eb11Reading reading = ParseEb11File(s, expiredPath);
    const std::string folder = PrepareExcelFolder(s);
    if (!reading.error.empty() || folder.empty()) {
        ui.inform(failed);
        return {};
    }
    ExpiredRows rows(std::move(reading));
    std::vector<int> all(rows.columns().size());
    std::iota(all.begin(), all.end(), 0);
    const std::vector<int> chosen =
        PermittedColumns(all, rows.columns(), MayExportPersonalColumns(db, s));
    const std::string stamp = db.scalar("select date_format(now(),'%y%m%d%H%i%s')");
    const std::string path =
        (fs::path(folder) / ProposedExportName("Expired" + fileName, stamp, ExportFormat::kHtmlXls))
            .string();
    const ExportOutcome outcome =
        ExportToFile(rows, chosen, path, ExportFormat::kHtmlXls, ui, false, failed);
    return outcome.written ? path : std::string();
}

}  // namespace qx
