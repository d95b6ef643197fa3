#include "session/menu_catalogue.h"

#include <filesystem>
#include <sstream>

#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "session/post_login.h"

namespace qx {

namespace {

struct Screen {
    int group;
    int item;
    const char* id;
    const char* title;
};

// Every screen a menu code opens. Where a screen's own title line is not
// known yet it is built from its menu caption.
const Screen kScreens[] = {
    {10, 0, "frmDoc10", "▶  기초환경 > 기본정보 관리"},
    {10, 0, "frmDoc10_1", "▶  기초환경 > 기본정보 관리"},
    {10, 1, "frmDoc11", "▶  기초환경 > CMS 및 입출금 정보 관리"},
    {10, 2, "frmDoc12", "▶  기초환경 > 기초코드 관리"},
    {10, 3, "frmDoc13", "▶  기초환경 > 품목 관리"},
    {10, 4, "frmDoc14", "▶  기초환경 > 조직 정보 (지사/대리점)"},
    {10, 5, "frmDoc15", "▶  기초환경 > 프로그램 설정"},
    {20, 0, "frmDoc20", "▶ 회원관리 > 조회"},
    {20, 0, "frmDoc20_1", "▶ 회원관리 > 조회"},
    {20, 1, "frmDoc21", "▶ 회원관리 > 신규 등록"},
    {20, 2, "frmDoc22", "▶ 회원관리 > 고객카드(수정/원장)"},
    {20, 3, "frmDoc24", "▶ 회원관리 > 매출관리"},
    {20, 4, "frmDoc26", "▶ 회원관리 > 수금관리"},
    {20, 5, "frmDoc27", "▶ 회원관리 > 미수금 일괄 제거"},
    {20, 6, "frmDoc27_1", "▶ 회원관리 > 매출예정액 제거 (0원 처리)"},
    {20, 7, "frmDoc29", "▶ 회원관리 > 중복회원"},
    {20, 8, "frmDoc28", "▶ 회원관리 > 일정조회"},
    {20, 9, "frmDoc21_1", "▶ 회원관리 > 동의자료 일괄설정 [엑셀설정]"},
    {30, 0, "frmDoc30", "▶ 파일관리 > CMS > 파일생성 및 처리현황"},
    {30, 1, "frmDoc31", "▶ 파일관리 > CMS > 신규/해지 신청(EB13/EB14)"},
    {30, 2, "frmDoc32", "▶ 파일관리 > CMS > 출금 신청(EB21/EB22)"},
    {30, 3, "frmDoc33", "▶ 파일관리 > CMS > 은행접수분처리(EB11)"},
    {30, 3, "frmDoc33_1", "▶ 파일관리 > CMS > 은행접수분처리(EB11) - (은행신규 신청 가능)"},
    {30, 4, "frmDoc34", "▶ 파일관리 > CMS > 출금동의 증빙자료(EI13)"},
    {30, 6, "frmDoc35", "▶ 파일관리 > 전화결제 > 회원 신청/결과"},
    {30, 7, "frmDoc36", "▶ 파일관리 > 전화결제 > 승인 신청/결과"},
    {30, 8, "frmDoc36_1", "▶ 파일관리 > 전화결제 > 출금 결과"},
    {30, 10, "frmDoc37", "▶ 파일관리 > OCR지로 > 수납명세서(GR15)"},
    {30, 12, "frmDoc38", "▶ 파일관리 > 신용카드 > 신규해지"},
    {30, 13, "frmDoc39", "▶ 파일관리 > 신용카드 > 결제 신청/결과"},
    {40, 0, "frmDoc41", "▶ 통계,보고서 > 수금파일별"},
    {40, 1, "frmDoc42", "▶ 통계,보고서 > 월별"},
    {40, 2, "frmDoc43", "▶ 통계,보고서 > 일자별"},
    {40, 3, "frmDoc44", "▶ 통계,보고서 > 고객별 보고서"},
    {40, 4, "frmDoc45", "▶ 통계,보고서 > 매출/수금 (고객별 월현황)"},
    {40, 5, "frmDoc46", "▶ 통계,보고서 > SMS 사용 현황"},
    {50, 0, "frmDoc50", "▶ 부가서비스 > 엑셀 일괄등록"},
    {50, 1, "frmDoc55", "▶ 부가서비스 > 엑셀 신규신청"},
    {50, 2, "frmDoc58", "▶ 부가서비스 > TEXT 매출수금 일괄등록"},
    {50, 3, "frmDoc51", "▶ 부가서비스 > 일괄변경/수정"},
    {50, 4, "frmDoc59", "▶ 부가서비스 > 전자세금계산서 발행대상 엑셀변환"},
    {50, 5, "frmDoc59_1", "▶ 부가서비스 > 전자세금계산서 발행(모듈)"},
    {50, 6, "frmDoc53", "▶ 부가서비스 > 기부금영수증"},
    {50, 7, "frmDoc54", "▶ 부가서비스 > 청구서 발행"},
    {50, 8, "frmDoc56", "▶ 부가서비스 > 주소라벨 출력"},
    {60, 0, "frmDoc60", "▶ 자료실"},
};

const Screen* Find(int group, int item) {
    for (const auto& s : kScreens) {
        if (s.group == group && s.item == item) return &s;
    }
    return nullptr;
}

const Screen* Find(const std::string& id) {
    for (const auto& s : kScreens) {
        if (id == s.id) return &s;
    }
    return nullptr;
}

MenuChoice Open(const std::string& id) {
    MenuChoice c;
    c.action = MenuAction::kOpen;
    c.screen = id;
    c.title = ScreenTitle(id);
    return c;
}

MenuChoice Refuse(const std::string& message) {
    MenuChoice c;
    c.action = MenuAction::kRefuse;
    c.message = message;
    return c;
}

MenuChoice Notice(const std::string& message) {
    MenuChoice c;
    c.action = MenuAction::kMessage;
    c.message = message;
    return c;
}

MenuChoice CloseOnly(const std::string& id) {
    MenuChoice c;
    c.action = MenuAction::kCloseOnly;
    c.screen = id;
    return c;
}

constexpr const char* kServiceInfoRefused = "지사/대리점은 서비스 정보를 보실 수 없습니다.";
constexpr const char* kSettingsRefused = "지사/대리점은 프로그램 설정을 하실 수 없습니다.";
constexpr const char* kBatchUploadRefused =
    "지점/대리점은 일괄업로드 기능을 사용 하실 수 없습니다.";
constexpr const char* kTransmissionRefused =
    "지점/대리점인 경우 송수신프로그램를 실행 할 수 없습니다.";

struct Board {
    const char* title;
    const char* act;
};
const Board kBoards[] = {{"▶ 공지사항", "quorboard1"},
                         {"▶ FAQ", "quorboard5"},
                         {"▶ 게시판", "quorboard2"},
                         {"▶ 자료실", "quorboard3"}};

MenuChoice Group10(const SessionContext& s, int item) {
    switch (item) {
        case 1:
            if (!s.isHeadOffice()) return Refuse(kServiceInfoRefused);
            return Open("frmDoc11");
        case 2:
            return Open("frmDoc12");
        case 3:
            return Open("frmDoc13");
        case 4:
            return Open("frmDoc14");
        case 5:
            if (!s.isHeadOffice() && !s.launched_with_credentials) return Refuse(kSettingsRefused);
            return Open("frmDoc15");
    }
    return Open(s.isHeadOffice() ? "frmDoc10" : "frmDoc10_1");
}

MenuChoice Group20(const SessionContext& s, int item, const MemberListState& list) {
    switch (item) {
        case 0:
            return Open(s.prgset9 == 0 ? "frmDoc20" : "frmDoc20_1");
        case 2:
            if (list.rows <= 0) return Refuse("변경할 대상이 없습니다.");
            if (list.selectedMember <= 0) return Refuse("변경할 회원을 선택 하십시요.");
            {
                MenuChoice card = Open("frmDoc22");
                card.member = list.selectedMember;
                return card;
            }
    }
    if (const Screen* screen = Find(20, item)) return Open(screen->id);
    return {};
}

MenuChoice Group30(const SessionContext& s, int item) {
    switch (item) {
        case 0:
            if (!s.isHeadOffice()) return Refuse(kHeadOfficeOnlyFileText);
            return Open("frmDoc30");
        case 3:
            return Open(s.bank_receipt_switch ? "frmDoc33_1" : "frmDoc33");
        case 4:
            if (!s.agreement_evidence_switch) {
                return Refuse("동의자료 제출 실시 업체만 이용할 수 있습니다.");
            }
            return Open("frmDoc34");
        case 11:
            return Notice(
                "기능 추가 중입니다. GR17 수신시 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.");
    }
    if (const Screen* screen = Find(30, item)) return Open(screen->id);
    return {};
}

MenuChoice Group40(int item) {
    if (item == 6) return CloseOnly("frmDoc47");
    if (item == 7) return CloseOnly("frmDoc48");
    if (const Screen* screen = Find(40, item)) return Open(screen->id);
    return {};
}

MenuChoice Group50(const SessionContext& s, int item) {
    if (item == 2 && !s.isHeadOffice()) return Refuse(kBatchUploadRefused);
    if (item == 9) {
        return Notice(
            "Lumabill 세금계산서 프로그램은 지원이 종료되었습니다.\r\n자세한 사항은 쿼리스 "
            "고객센터(0000-0000)으로 연락 바랍니다.");
    }
    if (const Screen* screen = Find(50, item)) return Open(screen->id);
    return {};
}

MenuChoice Group60(int item) {
    if (item < 0 || item > 8) return {};
    MenuChoice c = Open("frmDoc60");
    const Board& board = kBoards[item <= 3 ? item : 3];
    c.title = board.title;
    c.boardAct = board.act;
    if (item >= 4) c.externalSite = item - 4;
    return c;
}

std::string UrlEncode(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Deployment values: the service site comes from Login.ini; the paths and
// outside sites below are where this deployment keeps them.
std::string ServiceSite(const SessionContext& s) {
    std::string site = s.service_site.empty() ? "http://localhost" : s.service_site;
    while (!site.empty() && site.back() == '/') site.pop_back();
    return site;
}

}  // namespace

MenuChoice ChooseMenuScreen(const SessionContext& s, int group, int item,
                            const MemberListState& memberList) {
    switch (group) {
        case 10:
            return Group10(s, item);
        case 20:
            return Group20(s, item, memberList);
        case 30:
            return Group30(s, item);
        case 40:
            return Group40(item);
        case 50:
            return Group50(s, item);
        case 60:
            return Group60(item);
    }
    return CloseOnly("frmDoc00");
}

std::optional<std::pair<int, int>> MenuCodeOf(const std::string& screen) {
    if (const Screen* s = Find(screen)) return std::make_pair(s->group, s->item);
    return std::nullopt;
}

std::string ScreenTitle(const std::string& screen) {
    const Screen* s = Find(screen);
    return s ? s->title : "";
}

std::vector<std::string> SplitCaptions(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, '|')) out.push_back(part);
    return out;
}

std::vector<int> MenuGroups() {
    return {10, 20, 30, 40, 50, 60, 0};
}

std::vector<MenuEntry> SubMenu(int group) {
    std::vector<MenuEntry> out;
    auto numbered = [&out](const std::string& captions, int first) {
        int item = first;
        for (auto& c : SplitCaptions(captions)) out.push_back({c, item++});
    };
    switch (group) {
        case 10: {
            const auto captions = SplitCaptions(
                "기본정보 관리|서비스정보 관리|기초코드 관리|품목 관리|조직 정보|프로그램 설정");
            // The first entry is the user's own information, the rest items 1 to 5.
            for (std::size_t i = 0; i < captions.size(); ++i) {
                out.push_back({captions[i], i == 0 ? 0 : static_cast<int>(i)});
            }
            break;
        }
        case 20:
            numbered(
                "고객 조회|신규 "
                "등록|고객카드(수정/원장)|매출관리|수금관리|미수금제거|매출예정액제거|"
                "중복회원체크|일정관리|동의자료 일괄설정",
                0);
            break;
        case 30: {
            // The file group has no caption list: its entries carry the titles.
            const std::string prefix = "▶ 파일관리 > ";
            for (int item = 0; item <= 13; ++item) {
                if (item == 11) {
                    out.push_back({"OCR지로 > 수납명세서(GR17)", item});
                    continue;
                }
                const Screen* s = Find(30, item);
                if (!s) continue;
                std::string title = s->title;
                if (title.rfind(prefix, 0) == 0) title.erase(0, prefix.size());
                out.push_back({title, item});
            }
            break;
        }
        case 40: {
            // The captions start with the monthly closing, which has no screen
            // (item 6 closes the open one); the reports follow as items 0 to 5.
            const auto captions = SplitCaptions(
                "월별마감 현황|수금파일별 현황|월별 현황|일자별 현황|고객별 현황|엑셀 고객별 "
                "월현황|SMS 사용현황");
            for (std::size_t i = 0; i < captions.size(); ++i) {
                out.push_back({captions[i], i == 0 ? 6 : static_cast<int>(i) - 1});
            }
            break;
        }
        case 50:
            numbered(
                "엑셀 일괄등록|엑셀 신규/해지|매출수금일괄등록(TXT)|일괄변경/수정|전자세금계산서("
                "엑셀)|전자세금계산서(모듈)|기부금영수증|청구서 발행|주소라벨출력|세금계산서 "
                "프로그램(Lumabill)",
                0);
            break;
        case 60:
            numbered(
                "공지사항|FAQ|게시판|자료실|쿼리스 홈페이지|서비스 홈페이지|세금계산서조회|"
                "세금계산서조회-금결원|세금계산서조회-효성",
                0);
            break;
    }
    return out;
}

Gate QuickActionGate(const SessionContext& s, QuickAction action) {
    switch (action) {
        case QuickAction::kCreateFiles:
            if (!s.isHeadOffice()) return {false, kHeadOfficeOnlyFileText};
            break;
        case QuickAction::kKftcTransmission:
            break;
        case QuickAction::kCompanionProgram:
            if (!s.isHeadOffice()) return {false, kTransmissionRefused};
            break;
        case QuickAction::kCardTransmission:
            if (s.credit_id.empty()) {
                return {false, "신용카드 미사용 업체인 경우 송수신프로그램을 실행 할 수 없습니다."};
            }
            if (!s.isHeadOffice()) return {false, kTransmissionRefused};
            break;
        case QuickAction::kBatchUpload:
            if (!s.isHeadOffice()) return {false, kBatchUploadRefused};
            break;
        case QuickAction::kTaxInvoiceProgram:
            if (!s.isHeadOffice()) {
                return {false, "지점/대리점은 세금계산서 프로그램에 로그인 하실 수 없습니다."};
            }
            break;
    }
    return {};
}

bool KftcTransmissionAsksForEa12(const SessionContext& s) {
    return s.stat_company == "0";
}

bool ResultFilesWaiting(const SessionContext& s) {
    if (!s.isHeadOffice() || s.prgstat[kOpenFileMain] != 1) return false;
    namespace fs = std::filesystem;
    for (const char* kind : {"EB14", "EB22"}) {
        std::error_code ec;
        const fs::path dir = ExchangeFolder(s) + "/" + kind;
        if (!fs::is_directory(dir, ec)) continue;
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            const std::string name = entry.path().filename().string();
            if (!name.empty() && name[0] == 'E' && entry.is_regular_file(ec)) return true;
        }
    }
    return false;
}

std::pair<int, int> StartScreen(const SessionContext& s) {
    return ResultFilesWaiting(s) ? std::make_pair(30, 0) : std::make_pair(20, 0);
}

std::string FindRemoteSupportClient(const std::string& systemDrive) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string x86 = systemDrive + "Program Files (x86)";
    const std::string base = fs::is_directory(x86, ec) ? x86 : systemDrive + "Program Files";
    const fs::path program = fs::path(base) / "NSPro" / kRemoteSupportProgram;
    return fs::is_regular_file(program, ec) ? program.string() : std::string();
}

std::string BoardUrl(const SessionContext& s, const std::string& act) {
    return ServiceSite(s) + "/zelmor/board/board.php?act=" + UrlEncode(act);
}

std::string ExternalSiteUrl(const SessionContext& s, int site) {
    switch (site) {
        case 0:
            return "https://www.quorisdex.co.kr/";
        case 1:
            return ServiceSite(s) + "/";
        case 2:
            return "https://www.hometax.go.kr/";
        case 3:
            return "https://www.cmsedi.or.kr/";
        case 4:
            return ServiceSite(s) + "/edi/";
    }
    return {};
}

std::string TaxModuleLogoutUrl(const SessionContext& s) {
    return ServiceSite(s) + "/zelmor/taxbill/logout.php?login_id=" + UrlEncode(s.LoginId) +
           "&login_pw=" + UrlEncode(s.LoginPassword) + "&usepage=sub410";
}

bool NeedsTaxModuleLogout(const std::string& newScreen, bool moduleInUse) {
    return moduleInUse && newScreen != "frmDoc59_1";
}

}  // namespace qx
