#include "members/program_settings.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <utility>

#include "core/session_context.h"
#include "db/database.h"
#include "members/whole_number.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "platform/trim.h"
#include "session/post_login.h"

namespace qx {

namespace {

constexpr const char* kDesktopKeys[] = {"TOLVEXOPEN", "AUTOLOGIN", "OPENFILEMAIN",
                                        "ALLPAYMAIN", "MONTHVIEW", "DEVIDEPAY"};
constexpr const char* kDesktopCaptions[] = {
    "파일생성후 송신프로그램 실행",
    "프로그램 실행시 자동 로그인",
    "프로그램 실행시 수신된 화일이 있는경우 파일처리 화면으로 이동",
    "일괄매출 발생후 파일생성 화면으로 이동",
    "금월 정보만 표시 (최근매출일1,최근매출액1,최근매출일2,최근매출액2,최근수금일,최근수금액 )",
    "출금화일 생성시 건당한도금액으로 분할  (※ 미체크시 매출예정액으로 분할됨)"};

constexpr const char* kCmsFolderKinds[] = {"EB11", "EB12", "EB13", "EB14", "EB15",
                                           "EB16", "EB21", "EB22", "EI13"};

struct ScheduleColumns {
    const char* days;
    const char* second;  // nullptr when the service has none
    const char* option;
};
constexpr ScheduleColumns kScheduleColumns[] = {{"autofirtday", "autosectday", "autoopt"},
                                                {"credit_autoday", nullptr, "credit_autoopt"},
                                                {"kftc_autoday", nullptr, "kftc_autoopt"}};

std::string ReadCmsSet(Database& db, const SessionContext& session) {
    auto rs = db.OpenRecordset("select cms_set from quorisdex.admin_company where inx=?",
                               {session.institution_number});
    if (rs.empty()) throw std::runtime_error("institution row missing");
    return rs[0][0];
}

// One character of cms_set replaced in the database itself, so that a
// concurrent change of another position by another workstation is kept.
void WriteCmsSetDigit(Database& db, const SessionContext& session, int position, int digit) {
    db.ExecuteSql(
        "update quorisdex.admin_company set cms_set=concat(rpad(left(cms_set, ?), ?, '0'), ?, "
        "substring(cms_set, ?)) where inx=?",
        {position - 1, position - 1, std::to_string(digit), position + 1,
         session.institution_number});
}

bool HasLineBreak(const std::string& s) {
    return s.find('\n') != std::string::npos || s.find('\r') != std::string::npos;
}

}  // namespace

const std::vector<CmsSetSelector>& CmsSetSelectors() {
    static const std::vector<CmsSetSelector> selectors = {
        {1,
         "CMS 청구 처리방법 (정기분+미납분)",
         {"월단위 청구", "분할 청구", "합산 청구", "정기(합산), 미납(합산)",
          "정기(분할), 미납(합산)"}},
        {2, "CMS 청구 처리방법 (정기분만 청구시)", {"합산 청구", "분할 청구"}},
        {3, "CMS 청구 처리방법 (미납분만 청구시)", {"월단위 청구", "분할 청구", "합산 청구"}},
        {4, "완전/부분 (정기분+미납분)", {"완전출금", "부분출금", "미납분만 부분출금"}},
        {5, "완전/부분 (정기분만 청구시)", {"완전출금", "부분출금"}},
        {6, "완전/부분 (미납분만 청구시)", {"완전출금", "부분출금"}},
        {7, "출금신청시 자동매출", {"사용함", "미사용"}},
        {8, "자동출금 처리방법", {"파일 자동처리 불가", "이체파일 수동생성", "이체파일 자동생성"}},
        {9, "통장 추가기재내역", {"사용불가", "회차표기", "월분표기"}},
        {10, "조회/변경 화면 방식", {"조회 항목별 선택", "조회 항목내 재조회"}},
        {11, "회원 화면 구성", {"분리형 화면", "통합형 화면"}},
        // Stored inverted: the ticked box "품목 사용안함" is '0'.
        {15, kItemsUnusedCaption, {"체크 (품목 사용안함)", "체크 안함 (품목 사용)"}},
    };
    return selectors;
}

const CmsSetSelector* FindCmsSetSelector(int position) {
    for (const auto& s : CmsSetSelectors())
        if (s.position == position) return &s;
    return nullptr;
}

int CmsSetDigit(const std::string& cmsSet, int position) {
    if (position < 1 || static_cast<std::size_t>(position) > cmsSet.size()) return 0;
    const char c = cmsSet[static_cast<std::size_t>(position) - 1];
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

std::string ReplaceCmsSetDigit(const std::string& cmsSet, int position, int digit) {
    std::string out = cmsSet;
    const auto at = static_cast<std::size_t>(position) - 1;
    if (out.size() <= at) out.resize(at + 1, '0');
    out[at] = static_cast<char>('0' + digit);
    return out;
}

AutoDays ClearRepeatedDays(AutoDays days) {
    for (int i = 0; i < kAutoDayCount; ++i) {
        for (int j = 0; j < i; ++j) {
            if (days[i] != 0 && days[i] == days[j]) {
                days[i] = 0;
                break;
            }
        }
    }
    return days;
}

std::string AutoDayText(const AutoDays& days) {
    std::string out;
    for (int i = 0; i < kAutoDayCount; ++i) {
        if (i > 0) out += ",";
        out += "[" + std::to_string(days[i]) + "]";
    }
    return out;
}

AutoDays ParseAutoDayText(const std::string& text) {
    AutoDays days{};
    std::size_t at = 0;
    for (int i = 0; i < kAutoDayCount; ++i) {
        const auto open = text.find('[', at);
        if (open == std::string::npos) break;
        const auto close = text.find(']', open);
        if (close == std::string::npos) break;
        const auto value = ParseWholeNumber(text.substr(open + 1, close - open - 1), 1000);
        days[i] = (value && *value <= kAutoDayLastEntry) ? static_cast<int>(*value) : 0;
        at = close + 1;
    }
    return days;
}

ProgramSettings LoadProgramSettings(Database& db, const SessionContext& session) {
    auto rs = db.OpenRecordset(
        "select cms_set, monthdivide, vir_prgcre, installment_chk_use, ignorenonpay_use, "
        "checkexcept_use, autofirtday, autosectday, autoopt, credit_autoday, credit_autoopt, "
        "kftc_autoday, kftc_autoopt, sendname, account_title, settle_div, kftc_auto_use, "
        "kftc_autofileflags, month_max from quorisdex.admin_company where inx=?",
        {session.institution_number});
    if (rs.empty()) throw std::runtime_error("institution row missing");
    const auto r = rs[0];
    ProgramSettings s;
    s.cms_set = r["cms_set"];
    s.month_current = r["monthdivide"] != "N";
    s.vir_prgcre = r["vir_prgcre"] == "1" ? 1 : 0;
    s.installment_chk_use = r["installment_chk_use"] == "Y";
    s.ignorenonpay_use = r["ignorenonpay_use"] == "Y";
    s.checkexcept_use = r["checkexcept_use"] == "Y";
    for (int i = 0; i < 3; ++i) {
        AutoSchedule& a = s.schedules[static_cast<std::size_t>(i)];
        a.days = ParseAutoDayText(r[kScheduleColumns[i].days]);
        const std::string opt = r[kScheduleColumns[i].option];
        a.used = !opt.empty() && opt[0] == 'Y';
        a.target = opt.size() > 1 && opt[1] == '1' ? 1 : 0;
    }
    s.sendname = r["sendname"];
    s.account_title = r["account_title"];
    s.settle_div = r["settle_div"];
    s.kftc_auto_use = r["kftc_auto_use"];
    s.kftc_autofileflags = r["kftc_autofileflags"];
    s.month_max = r.asInt("month_max");
    if (session.isAgency()) {
        s.month_max = db.scalarInt(
            "select month_max from quorisdex.company_agency where aginx=? and rootinx=?",
            {session.aginx, session.institution_number});
    } else if (session.isBranch()) {
        s.month_max = db.scalarInt(
            "select month_max from quorisdex.company_branch where brinx=? and perinx=?",
            {session.brinx, session.institution_number});
    }
    return s;
}

bool CheckSettingsAccess(const SessionContext& session, Interaction& ui) {
    if (session.isHeadOffice() || session.launched_with_credentials) return true;
    ui.inform(kSettingsHeadOfficeOnlyText);
    return false;
}

CmsSetChange ChangeCmsSetSelector(Database& db, SessionContext& session, Interaction& ui,
                                  int position, int index) {
    const CmsSetSelector* selector = FindCmsSetSelector(position);
    if (!selector)
        throw std::invalid_argument("설정할 수 없는 위치입니다: " + std::to_string(position));
    if (index < 0 || static_cast<std::size_t>(index) >= selector->entries.size())
        throw std::invalid_argument("선택 항목이 잘못되었습니다: " + std::to_string(index));
    CmsSetChange change;
    const std::string current = ReadCmsSet(db, session);
    if (position == kPosAutoSales && index != kAutoSalesUnused &&
        db.scalar("select monthdivide from quorisdex.admin_company where inx=?",
                  {session.institution_number}) == "N") {
        ui.inform(kAutoSalesNeedsCurrentMonthText);
        change.cms_set = current;
        return change;
    }
    const int billing = position == kPosRegularAndUnpaidBilling ? index : CmsSetDigit(current, 1);
    const int partial = position == kPosRegularAndUnpaidPartial ? index : CmsSetDigit(current, 4);
    bool resetPartial = false;
    if ((position == kPosRegularAndUnpaidBilling || position == kPosRegularAndUnpaidPartial) &&
        billing == kSummedBilling && partial == kUnpaidOnlyPartial) {
        ui.inform(kSummedWithUnpaidPartialText);
        resetPartial = true;
    }
    {
        Database::Transaction tx(db);
        if (resetPartial) WriteCmsSetDigit(db, session, kPosRegularAndUnpaidPartial, 0);
        if (!(resetPartial && position == kPosRegularAndUnpaidPartial))
            WriteCmsSetDigit(db, session, position, index);
        tx.commit();
    }
    change.applied = !(resetPartial && position == kPosRegularAndUnpaidPartial);
    if (position == kPosItems) session.prgstat[kItemsUnused] = index == 1 ? 0 : 1;
    change.cms_set = ReadCmsSet(db, session);
    return change;
}

void SetMonthDivide(Database& db, SessionContext& session, bool currentMonth) {
    Database::Transaction tx(db);
    db.ExecuteSql("update quorisdex.admin_company set monthdivide=? where inx=?",
                  {currentMonth ? "Y" : "N", session.institution_number});
    if (!currentMonth) WriteCmsSetDigit(db, session, kPosAutoSales, kAutoSalesUnused);
    tx.commit();
    session.month_divide_switch = currentMonth;
}

bool ForceAutoSalesOffForPreviousMonth(Database& db, const SessionContext& session) {
    auto rs =
        db.OpenRecordset("select monthdivide, cms_set from quorisdex.admin_company where inx=?",
                         {session.institution_number});
    if (rs.empty()) throw std::runtime_error("institution row missing");
    if (rs[0][0] != "N" || CmsSetDigit(rs[0][1], kPosAutoSales) == kAutoSalesUnused) return false;
    WriteCmsSetDigit(db, session, kPosAutoSales, kAutoSalesUnused);
    return true;
}

void SetInstitutionSwitch(Database& db, SessionContext& session, InstitutionSwitch which, bool on) {
    const char* column = which == InstitutionSwitch::kInstalmentAutoCancel ? "installment_chk_use"
                         : which == InstitutionSwitch::kIgnoreLedgerSales  ? "ignorenonpay_use"
                                                                           : "checkexcept_use";
    db.ExecuteSql(std::string("update quorisdex.admin_company set ") + column + "=? where inx=?",
                  {on ? "Y" : "N", session.institution_number});
    if (which == InstitutionSwitch::kInstalmentAutoCancel)
        session.installment_chk_use = on ? "Y" : "N";
}

void SetVirtualAccountMode(Database& db, SessionContext& session, int mode) {
    if (mode != 0 && mode != 1) throw std::invalid_argument("가상계좌 등록방식이 잘못되었습니다.");
    db.ExecuteSql("update quorisdex.admin_company set vir_prgcre=? where inx=?",
                  {std::to_string(mode), session.institution_number});
    session.virtual_account_switch = mode == 1;
}

const char* DesktopSwitchKey(int which) {
    return which >= 0 && which < 6 ? kDesktopKeys[which] : "";
}

const char* DesktopSwitchCaption(int which) {
    return which >= 0 && which < 6 ? kDesktopCaptions[which] : "";
}

bool SetDesktopSwitch(SessionContext& session, const ProfileIni& ini, int which, bool on) {
    if (which < 0 || which >= 6) throw std::invalid_argument("설정 항목이 잘못되었습니다.");
    session.prgstat[static_cast<std::size_t>(which)] = on ? 1 : 0;
    return ini.write("PRGSTAT", kDesktopKeys[which], on ? "YES" : "NO");
}

bool SetFrozenColumns(SessionContext& session, const ProfileIni& ini, int columns) {
    if (columns < 0 || columns > 99) throw std::invalid_argument("틀고정수가 잘못되었습니다.");
    session.fixing_columns = columns;
    return ini.write("PRGSTAT", "FIXINGCOL", std::to_string(columns));
}

namespace {

// Login.ini as it was before the apply button, put back when the database
// part cannot be kept (or the file only partly written).
class IniSnapshot {
  public:
    explicit IniSnapshot(const ProfileIni& ini)
        : path_(ini.path()),
          existed_(std::filesystem::exists(path_, ec_)),
          bytes_(ReadWholeFile(path_)) {}
    void restore() {
        if (bytes_) {
            WriteFileAtomically(path_, *bytes_);
        } else if (!existed_) {
            std::filesystem::remove(path_, ec_);
        }
    }

  private:
    std::string path_;
    std::error_code ec_;
    bool existed_;
    std::optional<std::string> bytes_;
};

}  // namespace

bool ApplyProgramSettings(Database& db, SessionContext& session, const ProfileIni& ini,
                          Interaction& ui, const ApplyInput& input) {
    // Everything is checked first so that a refused entry leaves all settings as they were.
    const std::pair<const std::string*, const char*> texts[] = {
        {&input.fileback, "CMS파일 백업폴더"},
        {&input.excel, "엑셀저장 폴더"},
        {&input.tolvex, "송수신프로그램 폴더"},
        {&input.sendname, "회사명"},
    };
    for (const auto& [text, field] : texts) {
        if (HasLineBreak(*text)) throw std::invalid_argument("줄바꿈은 입력할 수 없습니다.");
        if (!IsStorableText(*text)) throw std::invalid_argument(UnstorableTextMessage(field));
    }
    for (int d : input.days)
        if (d < 0 || d > kAutoDayLastEntry)
            throw std::invalid_argument("자동출금 처리일자가 잘못되었습니다.");
    if (input.target != 0 && input.target != 1)
        throw std::invalid_argument("자동출금 처리대상이 잘못되었습니다.");
    const int service = static_cast<int>(input.service);
    if (service < 0 || service > 2)
        throw std::invalid_argument("자동출금 서비스가 잘못되었습니다.");
    const std::string sendname = Trim(input.sendname);
    std::size_t characters = 0;
    for (unsigned char c : sendname)
        if ((c & 0xC0) != 0x80) ++characters;
    if (characters > 64) throw std::invalid_argument("회사명은 64자까지 입력할 수 있습니다.");
    // A cap that is not a number is not written; the other steps still run.
    const auto cap = ParseWholeNumber(input.month_max, 9999);

    // The database part runs in one transaction and Login.ini is written
    // before it commits: a failure of either leaves both as they were.
    std::vector<std::string> messages;
    IniSnapshot before(ini);
    {
        Database::Transaction tx(db);

        // Auto-withdrawal schedule, only for automatic file creation.
        const std::string cmsSet = ReadCmsSet(db, session);
        if (CmsSetDigit(cmsSet, kPosAutoWithdrawalMethod) == kAutoFileCreation) {
            const AutoDays days = ClearRepeatedDays(input.days);
            bool any = false;
            for (int d : days) any = any || d != 0;
            const std::string flag = any ? "Y" : "N";
            const ScheduleColumns& c = kScheduleColumns[service];
            std::string sql = std::string("update quorisdex.admin_company set ") + c.days + "=?, " +
                              c.option + "=?";
            SqlParams params{AutoDayText(days), flag + std::to_string(input.target)};
            if (c.second) {
                sql += std::string(", ") + c.second + "=?";
                params.emplace_back(std::to_string(input.target));
            }
            sql += " where inx=?";
            params.emplace_back(session.institution_number);
            db.ExecuteSql(sql, params);
            messages.push_back(kAutoWithdrawalAppliedText);
        } else {
            bool any = false;
            for (int d : input.days) any = any || d != 0;
            if (any) messages.push_back(kAutoWithdrawalNotAutomaticText);
        }

        // The monthly billing cap of the user's own level.
        if (!cap) {
            messages.push_back(kMonthCountInvalidText);
        } else if (session.isAgency()) {
            db.ExecuteSql(
                "update quorisdex.company_agency set month_max=? where aginx=? and rootinx=?",
                {*cap, session.aginx, session.institution_number});
        } else if (session.isBranch()) {
            db.ExecuteSql(
                "update quorisdex.company_branch set month_max=? where brinx=? and perinx=?",
                {*cap, session.brinx, session.institution_number});
        } else {
            db.ExecuteSql("update quorisdex.admin_company set month_max=? where inx=?",
                          {*cap, session.institution_number});
        }

        // SMS company name.
        db.ExecuteSql("update quorisdex.admin_company set sendname=? where inx=?",
                      {sendname, session.institution_number});

        // Folders and the company name's copy in Login.ini.
        bool iniWritten = ini.write("FILEFOLDER", "FILEBACK", input.fileback);
        iniWritten = iniWritten && ini.write("FILEFOLDER", "EXCEL", input.excel);
        iniWritten = iniWritten && ini.write("FILEFOLDER", "TOLVEX", input.tolvex);
        iniWritten = iniWritten && ini.write("SMS", "SENDNAME", sendname);
        if (!iniWritten) {
            before.restore();
            ui.inform(kLoginIniWriteFailedText);
            return false;  // the transaction rolls back
        }
        try {
            tx.commit();
        } catch (...) {
            before.restore();
            throw;
        }
    }

    session.fileback_folder = input.fileback;
    session.excel_folder = input.excel;
    session.tolvex_folder = input.tolvex;
    if (cap) session.month_max = *cap;
    if (!input.fileback.empty() && !session.LoginId.empty()) {
        const std::string archive = input.fileback + "/" + session.LoginId;
        MakeFolderIfMissing(archive);
        for (const char* kind : kCmsFolderKinds) MakeFolderIfMissing(archive + "/" + kind);
    }
    if (!input.excel.empty()) MakeFolderIfMissing(input.excel);
    if (!session.LoginId.empty()) {
        const std::string exchange = ExchangeFolder(session);
        MakeFolderIfMissing(exchange);
        for (const char* kind : kCmsFolderKinds) MakeFolderIfMissing(exchange + "/" + kind);
    }

    for (const auto& m : messages) ui.inform(m);
    ui.inform(kSettingsAppliedText);
    return cap.has_value();
}

}  // namespace qx
