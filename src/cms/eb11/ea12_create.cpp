#include "cms/eb11/ea12_create.h"

#include <fmt/format.h>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/partial_file.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "platform/interaction.h"

namespace qx {

Ea11Reading ReadEa11File(const SessionContext& s, const std::string& path) {
    Ea11Reading out;
    const std::string lastEight = NameInHeader(path);
    RecordVisitor visitor;
    visitor.header = [&](const RecordReader& r, const std::string& bytes) -> std::string {
        const std::string date = r.field(27, 6);
        if (r.field(19, 8) != lastEight || lastEight.rfind("EA11", 0) != 0 || date.size() != 6 ||
            !ParseDate(date) || date.substr(2) != lastEight.substr(4))
            return kEa11NameDateText;
        if (r.field(9, 10) != s.org_code) return kEa11OtherInstitutionText;
        out.header = bytes;
        out.yymmdd = date;
        return {};
    };
    visitor.data = [&](const RecordReader& r, const std::string& bytes) -> std::string {
        const std::string kind = r.field(25, 1);
        if (kind == "1") {
            out.news.push_back(bytes);
        } else if (kind == "3" || kind == "7") {
            out.cancels.push_back(bytes);
        } else {
            return kEa11BadRecordText;
        }
        return {};
    };
    out.error = VisitCmsFile(path, kEaRecordLength, kEa11BadRecordText, visitor);
    if (!out.error.empty()) {
        out.news.clear();
        out.cancels.clear();
    }
    return out;
}

std::string CreateEa12File(const SessionContext& s, Interaction& ui, const std::string& ea11Path,
                           long long news, long long cancels) {
    const Ea11Reading in = ReadEa11File(s, ea11Path);
    if (!in.error.empty()) {
        ui.inform(in.error, kDefaultTitle);
        return {};
    }
    if (news < 0 || cancels < 0 || news + cancels < 1) {
        ui.inform(kEa12NoCountText, kDefaultTitle);
        return {};
    }
    if (news > static_cast<long long>(in.news.size())) {
        ui.inform(kEa12TooManyNewText, kDefaultTitle);
        return {};
    }
    if (cancels > static_cast<long long>(in.cancels.size())) {
        ui.inform(kEa12TooManyCancelText, kDefaultTitle);
        return {};
    }
    const std::string name = "EA12" + in.yymmdd.substr(2);
    std::string header = in.header;
    header.replace(20, 2, "12");  // the kind within the name at 19-26
    std::string body;
    long long serial = 0;
    auto mark = [&](const std::vector<std::string>& records, long long count) {
        for (long long i = 0; i < count; ++i) {
            std::string rec = records[static_cast<std::size_t>(i)];
            rec.replace(1, 7, fmt::format("{:07}", ++serial));
            rec.replace(79, 11, kEa12RefusalMark);
            body += rec;
        }
    };
    mark(in.news, news);
    mark(in.cancels, cancels);
    std::string trailer =
        fmt::format("T9999999{:<10}{:<8}{:08}{:08}{:08}", s.org_code, name, serial, news, cancels);
    trailer.resize(kEaRecordLength, ' ');
    try {
        PartialFile file(MakeExchangeFolder(s, "EA12"), name);
        file.write(header + body + trailer);
        file.close();
        file.publish();
        ui.inform("파일명 : " + file.path() + "으로 저장 되었습니다.", kDefaultTitle);
        return file.path();
    } catch (const FileNotWritten& e) {
        ui.inform(e.what(), kDefaultTitle);
        return {};
    }
}

}  // namespace qx
