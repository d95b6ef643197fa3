#include "cms/eb11/eb12_writer.h"

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/partial_file.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "platform/codepage.h"
#include "platform/interaction.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr int kEb12LogCode = 5;

std::optional<CivilDate> DayOf(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::nullopt;
    return ParseDate(yyyymmdd);
}

}  // namespace

std::string Eb12Bytes(const std::string& orgCode, const std::string& yyyymmdd,
                      const std::vector<Eb12Line>& lines, const std::string& mac) {
    const auto date = DayOf(yyyymmdd);
    if (!date) throw std::invalid_argument("EB12 day: " + yyyymmdd);
    std::string out = HeaderRecord(kEb12Kind, orgCode, *date);
    long long news = 0, cancels = 0, arbitrary = 0;
    for (const Eb12Line& line : lines) {
        std::string rec = line.original;
        rec.resize(kShortRecordLength, ' ');
        const std::string result =
            RecordBuilder(5).text(line.resultChar, 1).text(line.resultCode, 4).finish();
        rec.replace(91, 5, result);
        out += rec;
        if (line.kind == "1") ++news;
        if (line.kind == "3") ++cancels;
        if (line.kind == "7") ++arbitrary;
    }
    std::string trailer = TrailerRecord(kEb12Kind, orgCode, *date,
                                        {{static_cast<long long>(lines.size()), 8},
                                         {news, 8},
                                         {0, 8},
                                         {cancels, 8},
                                         {arbitrary, 8}});
    trailer.replace(110, 10, RecordBuilder(10).text(mac, 10).finish());
    return out + trailer;
}

std::string CreateEb12File(Database& db, const SessionContext& s, Interaction& ui,
                           const std::string& yyyymmdd) {
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return {};
    const auto date = DayOf(yyyymmdd);
    if (yyyymmdd.empty() || !date) {
        ui.inform(kEb12NoSelectionText, kDefaultTitle);
        return {};
    }
    const std::string table = s.schema() + ".file_ea11";
    if (db.scalarInt("select count(*) from " + table + " where reg_date=? and pros_date<>''",
                     {yyyymmdd}) == 0) {
        ui.inform(kEb12NotAppliedText, kDefaultTitle);
        return {};
    }
    const std::string folder = MakeExchangeFolder(s, kEb12Kind);
    const std::string diskName = DiskFileName(kEb12Kind, *date);
    std::error_code ec;
    if (fs::exists(fs::path(folder) / diskName, ec)) {
        ui.inform(kEb12ExistsText, kDefaultTitle);
        return {};
    }
    const Recordset rs = db.OpenRecordset(
        "select reg_kind, result_char, result_code, file_orig_msg, mac_value from " + table +
            " where reg_date=? and result_char='N' order by ea11_inx asc",
        {yyyymmdd});
    std::vector<Eb12Line> lines;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const std::string original = ToCp949(r["file_orig_msg"]);
        if (original.size() != static_cast<std::size_t>(kShortRecordLength)) {
            ui.inform(kEb12NoOriginalText, kDefaultTitle);
            return {};
        }
        lines.push_back({original, r["reg_kind"], r["result_char"], r["result_code"]});
    }
    const std::string mac =
        db.scalar("select mac_value from " + table + " where reg_date=? order by ea11_inx limit 1",
                  {yyyymmdd});
    try {
        PartialFile file(folder, diskName);
        file.write(Eb12Bytes(s.org_code, yyyymmdd, lines, mac));
        file.close();
        file.publish();
        db.WriteProcessLog(diskName + " 파일생성 완료", kEb12LogCode);
        return file.path();
    } catch (const FileNotWritten& e) {
        ui.inform(e.what(), kDefaultTitle);
        return {};
    }
}

bool MarkEb12Sent(Database& db, const SessionContext& s, Interaction& ui,
                  const std::string& yyyymmdd) {
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return false;
    // One statement decides: a second desk marking the same day changes nothing.
    const long long marked =
        yyyymmdd.empty()
            ? 0
            : db.ExecuteSql("update " + s.schema() +
                                ".file_ea11 set pross_stat='1' where reg_date=? and pross_stat='0'",
                            {yyyymmdd});
    if (marked == 0) {
        ui.inform(kEb12CannotMarkText, kDefaultTitle);
        return false;
    }
    const auto date = DayOf(yyyymmdd);
    db.WriteProcessLog((date ? DiskFileName(kEb12Kind, *date) : yyyymmdd) + " 파일 처리 완료",
                       kEb12LogCode);
    ui.inform(kEb12MarkedText, kDefaultTitle);
    return true;
}

}  // namespace qx
