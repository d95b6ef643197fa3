// frmDoc41: per collection file what was requested, withdrawn and not, the
// fees the clearing service charged and what reached the institution — for
// CMS withdrawal files, card payment files and virtual-account deposits.
#pragma once

#include <string>

#include "reports/report_filter.h"
#include "reports/report_table.h"

namespace qx {

class Database;
struct SessionContext;

enum class ChannelKind { kCms, kCard, kVirtual };

inline constexpr const char* kChannelReportTitle = "보고서_수금파일별";
inline constexpr const char* kChannelDetailTitle = "보고서_수금파일상세";
inline constexpr const char* kVirtualAccountText = "가상계좌";

// Which rows of a file's detail: "전체", "정상" (withdrawn) or "불능".
enum class DetailShow { kAll, kWithdrawn, kFailed };

// "cms", "card" or "virtual"; throws std::invalid_argument otherwise.
ChannelKind ParseChannelKind(const std::string& text);

// The files (or deposit days) of the period. CMS and card files are those
// applied whose name carries a day in the period; with no branch, agency
// or manager narrowing the members (the user's own role included) a row
// holds the file's stored totals, otherwise the figures of the narrowed
// members' items, computed with the same fee rules.
ReportTable ChannelReport(Database& db, const SessionContext& session, ChannelKind kind,
                          const ReportPeriod& period, const ReportFilter& filter);

// The items of one applied file ("EB21yymmdd" or "CPAYyymmdd"); throws
// std::invalid_argument for any other name.
ReportTable ChannelFileDetail(Database& db, const SessionContext& session, const std::string& file,
                              DetailShow show = DetailShow::kAll, const ReportFilter& filter = {});

}  // namespace qx
