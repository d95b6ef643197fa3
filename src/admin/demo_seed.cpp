// Demo content for a freshly created institution: members of every collection
// method, sales kind and state, their items, three months of batch sales and
// collections, history notes, log lines and a few service notices. Everything
// is drawn from one fixed seed so that two demo installations look the same.
#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "admin/provisioning.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/sql_quote.h"
#include "members/virtual_account.h"

namespace qx {

namespace {

constexpr int kMemberCount = 300;
constexpr std::uint64_t kSeed = 0x51D0202609151ULL;
constexpr std::size_t kTuplesPerInsert = 100;
constexpr long long kReservedMember = 9000000000LL;
constexpr int kKstOffsetSeconds = 9 * 3600;
// Free virtual accounts, so that a member can be given one on the card.
constexpr const char* kDemoVirtualBank = "농협";
constexpr int kDemoVirtualAccounts = 20;

// ---------------------------------------------------------------- calendar

struct Date {
    int y = 0, m = 0, d = 0;
};

std::chrono::sys_days ToDays(const Date& t) {
    return std::chrono::year{t.y} / std::chrono::month{static_cast<unsigned>(t.m)} /
           std::chrono::day{static_cast<unsigned>(t.d)};
}

Date FromDays(std::chrono::sys_days days) {
    const std::chrono::year_month_day ymd{days};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

// Withdrawals and giro receipts only happen on weekdays.
Date NextWeekday(const Date& t) {
    auto days = ToDays(t);
    const std::chrono::weekday wd{days};
    if (wd == std::chrono::Saturday) days += std::chrono::days{2};
    if (wd == std::chrono::Sunday) days += std::chrono::days{1};
    return FromDays(days);
}

// Stored times are Unix seconds; the institution works on Korean time.
long long KstSeconds(const Date& t, int hour, int minute, int second = 0) {
    return static_cast<long long>(ToDays(t).time_since_epoch().count()) * 86400LL + hour * 3600LL +
           minute * 60LL + second - kKstOffsetSeconds;
}

std::string LedgerDate(const Date& t) {
    return fmt::format("{:02}-{:02}-{:02}", t.y % 100, t.m, t.d);
}

std::string NoteTime(const Date& t, int hour, int minute) {
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", t.y, t.m, t.d, hour, minute);
}

// Months are counted as year*12 + month-1 so that ranges are plain integers.
constexpr int Month(int y, int m) {
    return y * 12 + m - 1;
}
int YearOf(int month) {
    return month / 12;
}
int MonthOf(int month) {
    return month % 12 + 1;
}
std::string LongMonth(int month) {
    return fmt::format("{:04}-{:02}", YearOf(month), MonthOf(month));
}
std::string ShortMonth(int month) {
    return fmt::format("{:02}-{:02}", YearOf(month) % 100, MonthOf(month));
}
std::string MonthWords(int month) {
    return fmt::format("{:02}년 {:02}월", YearOf(month) % 100, MonthOf(month));
}

constexpr int kFirstLedgerMonth = Month(2026, 9);
constexpr int kLastLedgerMonth = Month(2026, 11);
// The demo's "today": nothing is dated after it.
constexpr Date kDemoToday{2026, 12, 5};

// ---------------------------------------------------------------- randomness

// mt19937_64 yields the same numbers everywhere; the standard distributions do
// not, so ranges are drawn by hand.
class DemoRandom {
  public:
    explicit DemoRandom(std::uint64_t seed) : engine_(seed) {}

    int Range(int lo, int hi) {
        return lo + static_cast<int>(engine_() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool Percent(int p) { return Range(1, 100) <= p; }
    template <class T>
    const T& Pick(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(Range(0, static_cast<int>(v.size()) - 1))];
    }
    // Index into `weights`, each entry chosen in proportion to its weight.
    std::size_t Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights) total += w;
        int r = Range(1, total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            r -= weights[i];
            if (r <= 0) return i;
        }
        return weights.size() - 1;
    }
    // Value from `choices`, weighted by the second member of each pair.
    int Choose(const std::vector<std::pair<int, int>>& choices) {
        std::vector<int> weights;
        for (const auto& c : choices) weights.push_back(c.second);
        return choices[Weighted(weights)].first;
    }
    std::string Digits(int count) {
        std::string s;
        s += static_cast<char>('1' + Range(0, 8));
        for (int i = 1; i < count; ++i) s += static_cast<char>('0' + Range(0, 9));
        return s;
    }
    Date Between(const Date& from, const Date& to) {
        const auto span = (ToDays(to) - ToDays(from)).count();
        return FromDays(ToDays(from) + std::chrono::days{Range(0, static_cast<int>(span))});
    }

  private:
    std::mt19937_64 engine_;
};

// ---------------------------------------------------------------- reference texts

struct Syllable {
    const char* hangul;
    const char* roman;
};

// Repeated entries make the common surnames common.
const std::vector<Syllable> kSurnames = {
    {"김", "kim"},  {"김", "kim"},  {"김", "kim"},   {"김", "kim"},  {"김", "kim"},  {"이", "lee"},
    {"이", "lee"},  {"이", "lee"},  {"이", "lee"},   {"박", "park"}, {"박", "park"}, {"박", "park"},
    {"최", "choi"}, {"최", "choi"}, {"정", "jung"},  {"정", "jung"}, {"강", "kang"}, {"조", "cho"},
    {"윤", "yoon"}, {"장", "jang"}, {"임", "lim"},   {"한", "han"},  {"오", "oh"},   {"서", "seo"},
    {"신", "shin"}, {"권", "kwon"}, {"황", "hwang"}, {"안", "ahn"},  {"송", "song"}, {"류", "ryu"},
    {"전", "jeon"}, {"홍", "hong"}, {"고", "ko"},    {"문", "moon"}, {"양", "yang"}, {"손", "son"},
    {"배", "bae"},  {"백", "baek"}, {"허", "heo"},   {"남", "nam"},  {"심", "shim"}, {"노", "noh"},
    {"하", "ha"},   {"곽", "kwak"}, {"성", "sung"},
};

const std::vector<Syllable> kGivenFirst = {
    {"민", "min"},   {"서", "seo"},  {"지", "ji"},    {"현", "hyun"}, {"수", "su"},
    {"예", "ye"},    {"도", "do"},   {"하", "ha"},    {"준", "jun"},  {"유", "yu"},
    {"은", "eun"},   {"성", "sung"}, {"영", "young"}, {"동", "dong"}, {"재", "jae"},
    {"승", "seung"}, {"태", "tae"},  {"혜", "hye"},   {"상", "sang"}, {"진", "jin"},
    {"경", "kyung"}, {"미", "mi"},   {"윤", "yoon"},  {"정", "jung"}, {"종", "jong"},
};

const std::vector<Syllable> kGivenSecond = {
    {"준", "jun"},  {"연", "yeon"}, {"우", "woo"},   {"호", "ho"},    {"아", "a"},
    {"빈", "bin"},  {"희", "hee"},  {"민", "min"},   {"진", "jin"},   {"원", "won"},
    {"석", "seok"}, {"훈", "hoon"}, {"은", "eun"},   {"영", "young"}, {"철", "chul"},
    {"숙", "sook"}, {"현", "hyun"}, {"경", "kyung"}, {"수", "su"},    {"린", "rin"},
    {"율", "yul"},  {"서", "seo"},  {"혁", "hyuk"},  {"주", "ju"},    {"희", "hee"},
};

const std::vector<std::string> kMailDomains = {"naver.com",   "naver.com", "naver.com",
                                               "gmail.com",   "gmail.com", "daum.net",
                                               "hanmail.net", "kakao.com", "nate.com"};

struct Place {
    const char* sido;
    const char* sigungu;
    const char* road;
    int zipFrom, zipTo;
    const char* areaCode;
    const char* region;  // short name kept in a free field for filtering
};

const std::vector<Place> kPlaces = {
    {"서울특별시", "강남구", "테헤란로", 6100, 6250, "02", "서울"},
    {"서울특별시", "강남구", "도산대로", 6000, 6060, "02", "서울"},
    {"서울특별시", "서초구", "서초대로", 6500, 6700, "02", "서울"},
    {"서울특별시", "송파구", "올림픽로", 5500, 5600, "02", "서울"},
    {"서울특별시", "마포구", "월드컵북로", 3900, 4000, "02", "서울"},
    {"서울특별시", "영등포구", "여의대로", 7300, 7340, "02", "서울"},
    {"서울특별시", "종로구", "종로", 3100, 3200, "02", "서울"},
    {"서울특별시", "노원구", "동일로", 1600, 1800, "02", "서울"},
    {"서울특별시", "관악구", "관악로", 8700, 8800, "02", "서울"},
    {"서울특별시", "강서구", "공항대로", 7500, 7800, "02", "서울"},
    {"부산광역시", "해운대구", "해운대로", 48000, 48120, "051", "부산"},
    {"부산광역시", "부산진구", "중앙대로", 47100, 47300, "051", "부산"},
    {"부산광역시", "남구", "수영로", 48400, 48500, "051", "부산"},
    {"부산광역시", "동래구", "충렬대로", 47700, 47800, "051", "부산"},
    {"대구광역시", "수성구", "달구벌대로", 42000, 42200, "053", "대구"},
    {"대구광역시", "중구", "국채보상로", 41900, 41950, "053", "대구"},
    {"인천광역시", "남동구", "인주대로", 21500, 21600, "032", "인천"},
    {"인천광역시", "연수구", "컨벤시아대로", 21990, 22010, "032", "인천"},
    {"광주광역시", "서구", "상무대로", 61900, 62000, "062", "광주"},
    {"대전광역시", "서구", "둔산로", 35200, 35250, "042", "대전"},
    {"대전광역시", "유성구", "대학로", 34100, 34200, "042", "대전"},
    {"울산광역시", "남구", "삼산로", 44600, 44720, "052", "울산"},
    {"경기도", "수원시 팔달구", "효원로", 16400, 16500, "031", "경기"},
    {"경기도", "성남시 분당구", "판교역로", 13400, 13600, "031", "경기"},
    {"경기도", "고양시 일산동구", "중앙로", 10300, 10450, "031", "경기"},
    {"경기도", "용인시 수지구", "포은대로", 16800, 16900, "031", "경기"},
    {"경기도", "부천시", "길주로", 14500, 14600, "032", "경기"},
    {"경기도", "화성시", "동탄대로", 18400, 18500, "031", "경기"},
};

struct Trade {
    const char* suffix;
    const char* condition;  // 업태
    const char* industry;   // 업종
};

const std::vector<std::string> kTradePrefixes = {
    "한빛", "미래", "대성", "동방",   "새봄", "푸른", "행복", "성원", "다온",
    "태양", "청솔", "한결", "늘푸른", "제일", "은하", "소망", "아름", "해오름",
};

const std::vector<Trade> kTrades = {
    {"약국", "도매 및 소매업", "의약품 소매"},
    {"학원", "교육서비스업", "입시 학원"},
    {"식당", "숙박 및 음식점업", "한식 음식점"},
    {"상사", "도매업", "사무용품 도매"},
    {"미용실", "서비스업", "미용"},
    {"부동산", "부동산업", "부동산 중개"},
    {"치과의원", "보건업", "치과 의원"},
    {"카페", "음식점업", "커피 전문점"},
    {"자동차정비", "서비스업", "자동차 정비"},
    {"인테리어", "건설업", "실내 건축"},
};

const std::vector<std::string> kStaff = {"김상우", "이지은", "박현수", "최유진", "정다은"};

struct CatalogueItem {
    const char* name;
    const char* stan;
    int pay;
    int divide;     // sales kind the item is sold under
    int agreement;  // instalment total, or number of months for a period item
    int saleday, collday;
    const char* memo;
    bool removed;
};

const std::vector<CatalogueItem> kCatalogue = {
    {"정수기 렌탈", "직수형 냉온정수기", 30000, 1, 0, 10, 15, "필터 교체 4개월 주기 방문 관리",
     false},
    {"공기청정기 렌탈", "거실용 40평형", 25000, 1, 0, 10, 15, "", false},
    {"비데 렌탈", "방수형 기본", 15000, 1, 0, 10, 15, "", false},
    {"학습지", "초등 국어·수학 주1회", 40000, 1, 0, 5, 10, "자녀 수만큼 수량 입력", false},
    {"정기 회비", "정회원 월회비", 20000, 1, 0, 25, 25, "", false},
    {"정기 후원금", "1구좌", 10000, 1, 0, 25, 25, "구좌 수만큼 수량 입력", false},
    {"안마의자 렌탈", "36개월 약정", 60000, 3, 2160000, 15, 20, "약정 만료 후 소유권 이전", false},
    {"교구 할부 구매", "3개월 할부", 30000, 3, 90000, 15, 20, "", false},
    {"헬스장 이용권", "12개월 정기권", 50000, 4, 12, 1, 5, "", false},
    {"주차장 이용료", "6개월 월정기", 80000, 4, 6, 1, 5, "", false},
    {"구형 정수기 렌탈", "2019년형", 25000, 1, 0, 10, 15, "판매 종료", true},
};
constexpr int kItemLearning = 3, kItemDues = 4, kItemDonation = 5;
const std::vector<int> kMonthlyItems = {0, 1, 2, 3, 4, 5};
const std::vector<int> kAdHocItems = {kItemLearning, kItemDues, kItemDonation};
const std::vector<int> kInstalmentItems = {6, 6, 7};
const std::vector<int> kPeriodItems = {8, 8, 9};

const std::vector<std::string> kCmsRefusals = {"잔액부족", "잔액부족",     "잔액부족",
                                               "잔액부족", "지급정지계좌", "계좌해지"};
const std::vector<std::string> kCardRefusals = {"한도초과", "한도초과", "거래정지카드",
                                                "유효기간 오류"};

const std::vector<std::string> kComments = {
    "자동이체 동의서 원본 보관",   "방문 설치 요청 (평일 오후)", "연락은 문자로 요청",
    "세금계산서 담당자 별도 확인", "이전 주소지에서 이사",       "가족 명의 계좌 사용",
    "우편물 반송 이력 있음",       "추천인 이벤트 가입",
};

// ---------------------------------------------------------------- identifiers

// Korean business registration numbers end in a check digit.
std::string BusinessNumber(DemoRandom& rng, bool corporate) {
    const int office = rng.Range(101, 899);
    const int kind = corporate ? rng.Range(81, 88) : rng.Range(1, 79);
    const int serial = rng.Range(0, 9999);
    std::string d = fmt::format("{:03}{:02}{:04}", office, kind, serial);
    static constexpr int kWeights[9] = {1, 3, 7, 1, 3, 7, 1, 3, 5};
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += (d[static_cast<std::size_t>(i)] - '0') * kWeights[i];
    sum += (d[8] - '0') * 5 / 10;
    d += static_cast<char>('0' + (10 - sum % 10) % 10);
    return d;
}

std::string WithBusinessDashes(const std::string& d) {
    return d.substr(0, 3) + "-" + d.substr(3, 2) + "-" + d.substr(5);
}

std::string CorporateNumber(DemoRandom& rng) {
    const int office = rng.Range(11, 15);
    std::string d = fmt::format("1101{:02}{:06}", office, rng.Range(0, 999999));
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (d[static_cast<std::size_t>(i)] - '0') * (i % 2 ? 2 : 1);
    d += static_cast<char>('0' + (10 - sum % 10) % 10);
    return d.substr(0, 6) + "-" + d.substr(6);
}

// Card numbers pass the Luhn check like real ones.
std::string CardNumber(DemoRandom& rng) {
    static const std::vector<std::string> kPrefixes = {"9410", "9490", "5570",
                                                       "5433", "4579", "4518"};
    std::string n = rng.Pick(kPrefixes);
    while (n.size() < 15) n += static_cast<char>('0' + rng.Range(0, 9));
    int sum = 0;
    for (int i = 14; i >= 0; --i) {
        int v = n[static_cast<std::size_t>(i)] - '0';
        if ((14 - i) % 2 == 0) {
            v *= 2;
            if (v > 9) v -= 9;
        }
        sum += v;
    }
    n += static_cast<char>('0' + (10 - sum % 10) % 10);
    return n;
}

std::string MobileNumber(DemoRandom& rng) {
    const int middle = rng.Range(2000, 9999);
    return fmt::format("010-{}-{:04}", middle, rng.Range(0, 9999));
}

std::string DigitsOnly(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c >= '0' && c <= '9') out += c;
    }
    return out;
}

int BankWeight(const std::string& code) {
    static const std::map<std::string, int> kWeights = {
        {"004", 10}, {"088", 9}, {"020", 8}, {"081", 8}, {"011", 8}, {"003", 6},
        {"090", 5},  {"071", 4}, {"032", 3}, {"031", 3}, {"045", 3}, {"023", 2},
        {"027", 2},  {"048", 2}, {"089", 2}, {"092", 2}, {"012", 2}, {"039", 2},
        {"034", 2},  {"007", 2}, {"037", 1}, {"035", 1}};
    const auto it = kWeights.find(code);
    if (it != kWeights.end()) return it->second;
    // Securities accounts are rarely used for monthly debits.
    return !code.empty() && code[0] == '2' ? 0 : 1;
}

int AccountLength(const std::string& code) {
    static const std::map<std::string, int> kLengths = {
        {"004", 14}, {"088", 12}, {"020", 13}, {"081", 14}, {"011", 13}, {"003", 14},
        {"090", 13}, {"071", 14}, {"032", 12}, {"031", 12}, {"045", 13}, {"089", 12},
        {"092", 12}, {"012", 14}, {"023", 11}, {"027", 10}};
    const auto it = kLengths.find(code);
    return it == kLengths.end() ? 12 : it->second;
}

// ---------------------------------------------------------------- the plan

struct DemoItem {
    int catalogue = 0;
    int count = 1;
    long long pay = 0, payment = 0;
};

struct DemoMember {
    long long number = 0;
    std::string extKey;
    int branch = 0, agency = 0;
    std::string manager, info1, info2;
    std::string company, president, companyNumber, jumin, condition, industry;
    std::string name, zipcode, address, addressDetail, tel, fax, mobile, comment, email;
    long long signdate = 0;
    std::string bankCode, accountNo, accountName, accountJumin;
    int startMonth = 0;
    int remove = 1, cmsStatus = 0;
    std::string cmsError;
    long long nonpayment = 0, totalSales = 0, totalPaid = 0;
    int payday = 0, inday = 0;
    long long monthDefault = 0, agreement = 0, prossAgreement = 0;
    int method = 1, divide = 1;
    std::string pTax = "0", periodEnd;
    int monthMax = 0;
    std::string certKind = "0", certNumber, certStatus = "0", cashReceipt, agreeStatus = "0";
    std::vector<DemoItem> items;

    // Ledger months [activeFrom, activeTo]; empty when activeFrom > activeTo.
    int activeFrom = 1, activeTo = 0;
    Date changeDate;  // cancellation or hold
    bool everWithdrawn = true;
};

struct BatchRow {
    std::size_t member = 0;
    bool collection = false;
    std::string date;
    long long created = 0;
    long long amount = 0;
    long long nonpayment = 0, agreement = 0, prossAgreement = 0;
    int catalogue = -1, count = 1;
    std::string error;
    int runKey = 0;
    long long id = 0;
};

struct LedgerRow {
    std::size_t member = 0;
    long long regdate = 0;
    int seq = 0;
    bool collection = false;
    long long amount = 0, outstanding = 0, prossag = 0;
    std::string settleTitle, date, memo, itemName, itemStan;
    int itemCount = 1;
    long long batch = -1;  // index into the batch rows
};

struct Note {
    std::size_t member;
    std::string who, when, kind, text, state;
};

struct Owner {
    int branch, agency;
};

struct Plan {
    std::vector<DemoMember> members;
    std::vector<BatchRow> batches;
    std::vector<LedgerRow> ledger;
    std::vector<Note> notes;
};

std::string SettleTitleOfCollection(int method) {
    switch (method) {
        case 1:
            return "CMS";
        case 3:
            return "OCR지로";
        case 5:
            return "신용카드결제";
        default:
            return "대체수금";
    }
}

std::string CollectionMemo(int method, int month) {
    switch (method) {
        case 1:
            return MonthWords(month) + " 출금이체";
        case 3:
            return MonthWords(month) + " 지로수납";
        case 5:
            return MonthWords(month) + " 카드결제";
        default:
            return MonthWords(month) + " 일괄수금";
    }
}

void ChooseItems(DemoMember& m, DemoRandom& rng) {
    auto countFor = [&](int item) {
        if (item == kItemDonation) return rng.Range(1, 5);
        if (item == kItemLearning && rng.Percent(20)) return 2;
        return 1;
    };
    for (;;) {
        m.items.clear();
        std::vector<int> picks;
        if (m.divide == 1) {
            const int n = static_cast<int>(rng.Weighted({60, 30, 10})) + 1;
            while (static_cast<int>(picks.size()) < n) {
                const int item = rng.Pick(kMonthlyItems);
                if (std::find(picks.begin(), picks.end(), item) == picks.end())
                    picks.push_back(item);
            }
        } else if (m.divide == 2) {
            picks.push_back(rng.Pick(kAdHocItems));
        } else if (m.divide == 3) {
            picks.push_back(rng.Pick(kInstalmentItems));
        } else {
            picks.push_back(rng.Pick(kPeriodItems));
        }
        long long total = 0;
        for (int item : picks) {
            DemoItem it;
            it.catalogue = item;
            it.count = m.divide >= 3 ? 1 : countFor(item);
            it.pay = kCatalogue[static_cast<std::size_t>(item)].pay;
            it.payment = it.pay * it.count;
            total += it.payment;
            m.items.push_back(it);
        }
        if (total <= 150000) {
            m.monthDefault = total;
            break;
        }
    }
    const auto& first = kCatalogue[static_cast<std::size_t>(m.items[0].catalogue)];
    if (m.divide == 3) m.agreement = first.agreement;
}

// Person, company, address and contact data.
void ChooseIdentity(DemoMember& m, std::size_t index, DemoRandom& rng) {
    const Syllable& surname = rng.Pick(kSurnames);
    const Syllable& first = rng.Pick(kGivenFirst);
    const Syllable* second = &rng.Pick(kGivenSecond);
    while (std::string(second->hangul) == first.hangul) second = &rng.Pick(kGivenSecond);
    m.name = std::string(surname.hangul) + first.hangul + second->hangul;

    const Place& place = rng.Pick(kPlaces);
    m.zipcode = fmt::format("{:05}", rng.Range(place.zipFrom, place.zipTo));
    m.address =
        fmt::format("{} {} {} {}", place.sido, place.sigungu, place.road, rng.Range(1, 420));
    m.info1 = place.region;
    m.mobile = MobileNumber(rng);

    const bool business = rng.Percent(32);
    if (business) {
        const bool corporate = rng.Percent(30);
        const Trade& trade = rng.Pick(kTrades);
        m.company = (corporate ? "(주)" : "") + rng.Pick(kTradePrefixes) + trade.suffix;
        m.president = m.name;
        m.condition = trade.condition;
        m.industry = trade.industry;
        m.companyNumber = WithBusinessDashes(BusinessNumber(rng, corporate));
        if (corporate) m.jumin = CorporateNumber(rng);
        const int floor = rng.Range(1, 5);
        m.addressDetail = rng.Percent(50)
                              ? fmt::format("{}층", floor)
                              : fmt::format("{}층 {}0{}호", floor, floor, rng.Range(1, 4));
        const int exchange =
            std::string(place.areaCode) == "02" ? rng.Range(2000, 8999) : rng.Range(200, 899);
        m.tel = fmt::format("{}-{}-{:04}", place.areaCode, exchange, rng.Range(0, 9999));
        if (rng.Percent(40)) {
            const int faxExchange = rng.Range(200, 899);
            m.fax = fmt::format("{}-{}-{:04}", place.areaCode, faxExchange, rng.Range(0, 9999));
        }
        m.pTax = "1";
    } else {
        const int building = rng.Range(101, 115);
        const int floor = rng.Range(1, 25);
        m.addressDetail = fmt::format("{}동 {}{:02}호", building, floor, rng.Range(1, 4));
        if (rng.Percent(15)) m.tel = m.mobile;
    }
    if (rng.Percent(75)) {
        std::string local = std::string(first.roman) + second->roman;
        local += rng.Percent(50)
                     ? std::string(".") + surname.roman
                     : std::string(surname.roman) + fmt::format("{:02}", rng.Range(60, 99));
        m.email = local + "@" + rng.Pick(kMailDomains);
        if (m.email.size() > 30) m.email = local.substr(0, 12) + "@" + rng.Pick(kMailDomains);
    }
    if (rng.Percent(60)) m.manager = rng.Pick(kStaff);
    if (rng.Percent(5)) m.info2 = "VIP";
    if (rng.Percent(20)) m.comment = rng.Pick(kComments);
    if (rng.Percent(70)) m.extKey = fmt::format("K{:05}", 10000 + static_cast<int>(index) * 7);
    if (rng.Percent(10)) m.monthMax = 3;
}

// Bank account, card or giro number, as the collection method overloads them.
void ChooseChannel(DemoMember& m, DemoRandom& rng, const std::vector<std::string>& banks,
                   const std::vector<int>& bankWeights) {
    const std::string holder = m.company.empty() ? m.name : m.company;
    if (m.method == 1) {
        const std::string bank = banks[rng.Weighted(bankWeights)];
        m.bankCode = bank + "0000";
        m.accountNo = rng.Digits(AccountLength(bank));
        m.accountName = holder;
        if (m.company.empty()) {
            const int year = rng.Range(1950, 2004) % 100;
            const int month = rng.Range(1, 12);
            m.accountJumin = fmt::format("{:02}{:02}{:02}", year, month, rng.Range(1, 28));
        } else {
            m.accountJumin = DigitsOnly(m.companyNumber);
        }
        m.certKind = "1";
        m.certNumber = DigitsOnly(m.mobile);
        if (m.company.empty() && rng.Percent(15)) {
            m.pTax = "7";
            m.cashReceipt = DigitsOnly(m.mobile);
        }
    } else if (m.method == 5) {
        m.accountNo = CardNumber(rng);
        const int year = rng.Range(27, 31);
        m.accountJumin = fmt::format("{:02}{:02}", year, rng.Range(1, 12));
        m.accountName = m.name;
        m.certNumber = DigitsOnly(m.mobile);
        if (m.company.empty() && !m.email.empty()) {
            m.pTax = "3";
            m.cashReceipt = kCatalogue[static_cast<std::size_t>(m.items[0].catalogue)].name;
        }
    } else if (m.method == 3) {
        m.accountName = rng.Digits(12);
    }
    for (const auto& it : m.items) {
        if (it.catalogue == kItemDonation && m.company.empty()) m.pTax = "6";
    }
}

// Member state, dates and the months the ledger covers.
void ChooseLifecycle(DemoMember& m, DemoRandom& rng) {
    const bool channel = m.method == 1 || m.method == 5;
    m.remove = rng.Choose({{1, 82}, {2, 12}, {3, 6}});
    if (channel) {
        if (m.remove == 1) {
            m.cmsStatus = rng.Choose({{0, 7}, {1, 5}, {2, 4}, {3, 10}, {6, 14}, {7, 45}, {8, 15}});
        } else if (m.remove == 2) {
            m.cmsStatus = rng.Choose({{11, 40}, {12, 25}, {13, 35}});
        } else {
            m.cmsStatus = rng.Choose({{3, 20}, {7, 50}, {8, 30}});
        }
    } else {
        m.cmsStatus = m.remove == 2 ? 13 : 0;
    }

    const int months =
        m.divide == 4 ? kCatalogue[static_cast<std::size_t>(m.items[0].catalogue)].agreement : 0;
    // Members that have not reached a first withdrawal yet, or never did.
    const bool neverRegistered = channel && m.cmsStatus == 13 && rng.Percent(50);
    const bool fresh = channel && (m.cmsStatus <= 2 || (m.cmsStatus == 3 && m.remove == 1));
    Date signed_;
    if (fresh || neverRegistered) {
        if (m.cmsStatus == 0) {
            signed_ = rng.Between({2026, 11, 16}, kDemoToday);
        } else if (m.cmsStatus == 1) {
            signed_ = rng.Between({2026, 11, 10}, {2026, 12, 2});
        } else if (m.cmsStatus == 2) {
            signed_ = rng.Between({2026, 11, 1}, {2026, 12, 4});
        } else if (m.cmsStatus == 3) {
            signed_ = rng.Between({2026, 10, 5}, {2026, 11, 12});
        } else {
            signed_ = rng.Between({2026, 5, 1}, {2026, 10, 31});
        }
        m.startMonth = Month(signed_.y, signed_.m) + 1;
        m.everWithdrawn = false;
        if (m.cmsStatus == 3) {
            m.activeFrom = m.startMonth;
            m.activeTo = kLastLedgerMonth;
        }
        if (neverRegistered) {
            m.changeDate = FromDays(ToDays(signed_) + std::chrono::days{rng.Range(5, 30)});
            if (ToDays(m.changeDate) > ToDays(kDemoToday)) m.changeDate = kDemoToday;
        }
    } else {
        bool ended = false;
        if (m.divide == 3) {
            m.startMonth = kFirstLedgerMonth;
            signed_ = rng.Between({2026, 8, 1}, {2026, 8, 28});
        } else if (m.divide == 4) {
            ended = m.remove == 2 && rng.Percent(70);
            if (ended) {
                m.startMonth = rng.Range(kFirstLedgerMonth, kLastLedgerMonth) - months + 1;
            } else {
                m.startMonth = rng.Range(std::max(Month(2026, 1), Month(2026, 12) - months + 1),
                                         kFirstLedgerMonth);
            }
            const int before = m.startMonth - 1;
            signed_ = rng.Between({YearOf(before), MonthOf(before), 1},
                                  {YearOf(before), MonthOf(before), 25});
        } else {
            signed_ = rng.Between({2025, 1, 2}, {2026, 8, 25});
            m.startMonth = Month(signed_.y, signed_.m) + 1;
        }
        m.activeFrom = std::max(m.startMonth, kFirstLedgerMonth);
        if (m.remove == 1) {
            m.activeTo = kLastLedgerMonth;
        } else if (ended) {
            m.activeTo = m.startMonth + months - 1;
        } else if (m.remove == 3) {
            m.activeTo = rng.Range(kFirstLedgerMonth, kLastLedgerMonth - 1);
        } else {
            m.activeTo = rng.Range(kFirstLedgerMonth, kLastLedgerMonth);
        }
        if (m.remove != 1) {
            const int after = m.activeTo + 1;
            const int lastDay = after == Month(kDemoToday.y, kDemoToday.m) ? kDemoToday.d : 25;
            m.changeDate = rng.Between({YearOf(after), MonthOf(after), 1},
                                       {YearOf(after), MonthOf(after), lastDay});
        }
        // A member held while still in state 3 was registered but never debited.
        if (m.remove == 3 && m.cmsStatus == 3) m.everWithdrawn = false;
    }
    if (m.divide == 4) m.periodEnd = ShortMonth(m.startMonth + months - 1);
    const int hour = rng.Range(9, 18);
    const int minute = rng.Range(0, 59);
    m.signdate = KstSeconds(signed_, hour, minute, rng.Range(0, 59));

    // Agreement evidence and authentication follow the registration history.
    const bool registered =
        channel && m.cmsStatus != 0 && m.cmsStatus != 1 && m.cmsStatus != 2 && !neverRegistered;
    if (m.method == 1) {
        if (registered) {
            m.agreeStatus = signed_.y < 2026 ? "P" : "3";
            m.certStatus = "Y";
        } else if (m.cmsStatus == 1) {
            m.agreeStatus = "3";
            m.certStatus = "I";
        }
    }
    if (m.cmsStatus == 2) {
        if (m.method == 1) {
            // The pre-check that put the member here refuses codes that are not 7 long.
            m.bankCode = m.bankCode.substr(0, 3);
            m.cmsError = "은행코드오류";
        } else {
            const int middle = rng.Range(2000, 9999);
            m.certNumber = fmt::format("070{:04}{:04}", middle, rng.Range(0, 9999));
            m.cmsError = "카드주휴대폰오류";
        }
    }
    if (m.cmsStatus == 8) m.cmsError = rng.Pick(m.method == 1 ? kCmsRefusals : kCardRefusals);
    if (m.cmsStatus == 13 && channel && !neverRegistered) {
        m.cmsError = "[" + LedgerDate(m.changeDate) + "] 은행해지";
    }
}

void ChooseDays(DemoMember& m, DemoRandom& rng) {
    m.payday = rng.Choose({{5, 15}, {10, 30}, {15, 15}, {20, 15}, {25, 25}});
    if (m.method == 3) {
        m.inday = std::min(m.payday + 10, 28);
    } else if (m.method == 2) {
        m.inday = m.payday;
    } else {
        m.inday = rng.Percent(70) ? m.payday : std::min(m.payday + 5, 28);
    }
}

class PlanBuilder {
  public:
    PlanBuilder(Plan& plan, DemoRandom& rng, std::map<int, std::string> methodNames)
        : plan_(plan), rng_(rng), methodNames_(std::move(methodNames)) {}

    void Ledger(std::size_t index) {
        DemoMember& m = plan_.members[index];
        const bool channel = m.method == 1 || m.method == 5;
        // Active members signed up before their first billing month are listed by
        // the batch anyway and refused for it.
        for (int month = kFirstLedgerMonth; m.remove == 1 && month <= kLastLedgerMonth; ++month) {
            const Date day{YearOf(month), MonthOf(month), m.payday};
            if (month < m.startMonth && m.signdate < KstSeconds(day, 9, 0)) Refused(index, day);
        }
        for (int month = m.activeFrom; month <= m.activeTo; ++month) {
            const bool last = month == m.activeTo;
            if (m.divide != 2 || rng_.Percent(55)) Sales(index, month);
            if (m.nonpayment <= 0) continue;
            int hour = 15;
            Date day = NextWeekday({YearOf(month), MonthOf(month), m.inday});
            bool paid = false;
            if (channel) {
                if (!m.everWithdrawn) continue;
                // The last request is still open (6) or was refused (8).
                if (last && (m.cmsStatus == 6 || m.cmsStatus == 8)) continue;
                paid = (last && m.cmsStatus == 7) || rng_.Percent(90);
            } else if (m.method == 3) {
                day = NextWeekday(
                    {YearOf(month), MonthOf(month), std::min(m.payday + rng_.Range(3, 10), 28)});
                hour = 11;
                paid = rng_.Percent(85);
            } else {
                hour = 16;
                paid = rng_.Percent(75);
            }
            if (paid) Collection(index, month, day, hour);
        }
    }

  private:
    void Refused(std::size_t index, const Date& day) {
        const DemoMember& m = plan_.members[index];
        for (const DemoItem& item : m.items) {
            BatchRow b;
            b.member = index;
            b.date = LedgerDate(day);
            b.created = KstSeconds(day, 9, 30);
            b.amount = item.payment;
            b.nonpayment = m.nonpayment;
            b.agreement = m.agreement;
            b.prossAgreement = m.prossAgreement;
            b.catalogue = item.catalogue;
            b.count = item.count;
            b.error = "이체개시월 [" + LongMonth(m.startMonth) + "] 오류 / ";
            plan_.batches.push_back(b);
        }
    }

    void Sales(std::size_t index, int month) {
        DemoMember& m = plan_.members[index];
        const Date day{YearOf(month), MonthOf(month), m.payday};
        const long long created = KstSeconds(day, 9, 30);
        // The batch reads the member once, before any of its rows is booked.
        const long long nonpay = m.nonpayment, agreement = m.agreement, pross = m.prossAgreement;
        for (const DemoItem& item : m.items) {
            BatchRow b;
            b.member = index;
            b.date = LedgerDate(day);
            b.created = created;
            b.amount = item.payment;
            if (m.divide == 3 && (agreement - nonpay) - pross < item.payment) {
                b.amount = (agreement - nonpay) - pross;
            }
            b.nonpayment = nonpay;
            b.agreement = agreement;
            b.prossAgreement = pross;
            b.catalogue = item.catalogue;
            b.count = item.count;
            if (b.amount < 1000) b.error += "매출예정액 1000원 이하 / ";
            if (m.divide == 3 && (agreement - pross) - nonpay < 1) b.error += "할부완납 회원 / ";
            plan_.batches.push_back(b);
            if (!b.error.empty()) continue;

            m.nonpayment += b.amount;
            m.totalSales += b.amount;
            const auto& cat = kCatalogue[static_cast<std::size_t>(item.catalogue)];
            LedgerRow r;
            r.member = index;
            r.regdate = KstSeconds(day, 10, 0) + static_cast<long long>(index % 600);
            r.seq = seq_++;
            r.amount = b.amount;
            r.outstanding = m.nonpayment;
            r.prossag = m.divide == 3 ? m.prossAgreement : 0;
            r.settleTitle = methodNames_[m.method];
            r.date = b.date;
            r.memo = MonthWords(month) + " 일괄매출";
            r.itemName = cat.name;
            r.itemStan = cat.stan;
            r.itemCount = item.count;
            r.batch = static_cast<long long>(plan_.batches.size()) - 1;
            plan_.ledger.push_back(r);
        }
    }

    void Collection(std::size_t index, int month, const Date& day, int hour) {
        DemoMember& m = plan_.members[index];
        const long long amount = m.nonpayment;
        long long batch = -1;
        if (m.method == 2) {
            BatchRow b;
            b.member = index;
            b.collection = true;
            b.date = LedgerDate(day);
            b.created = KstSeconds(day, hour, 0);
            b.amount = amount;
            plan_.batches.push_back(b);
            batch = static_cast<long long>(plan_.batches.size()) - 1;
        }
        m.nonpayment -= amount;
        m.totalPaid += amount;
        if (m.divide == 3) m.prossAgreement += amount;
        LedgerRow r;
        r.member = index;
        r.collection = true;
        r.regdate = KstSeconds(day, hour, 0) + static_cast<long long>(index % 600);
        r.seq = seq_++;
        r.amount = amount;
        r.outstanding = m.nonpayment;
        r.prossag = m.divide == 3 ? m.prossAgreement : 0;
        r.settleTitle = SettleTitleOfCollection(m.method);
        r.date = LedgerDate(day);
        r.memo = CollectionMemo(m.method, month);
        r.itemName = kCatalogue[static_cast<std::size_t>(m.items[0].catalogue)].name;
        r.batch = batch;
        plan_.ledger.push_back(r);
    }

    Plan& plan_;
    DemoRandom& rng_;
    std::map<int, std::string> methodNames_;
    int seq_ = 0;
};

std::string PayerNumber(long long n) {
    return fmt::format("{:010}", n);
}

void AddNotes(Plan& plan, DemoRandom& rng) {
    int consults = 0, welcomes = 0;
    for (std::size_t i = 0; i < plan.members.size(); ++i) {
        const DemoMember& m = plan.members[i];
        const std::string who = rng.Pick(kStaff);
        const int hour = rng.Range(9, 17);
        const int minute = rng.Range(0, 59);
        if (m.remove != 1) {
            const char* to = m.remove == 2 ? "해지" : "보류";
            plan.notes.push_back({i, who, NoteTime(m.changeDate, hour, minute), "회원상태변경",
                                  "납부자번호 : [" + PayerNumber(m.number) +
                                      "], 회원상태 : [정상]->[" + to + "] 로 변경",
                                  "3"});
        } else if (m.cmsStatus == 8 && consults < 6) {
            ++consults;
            plan.notes.push_back({i, who, NoteTime({2026, 12, 1 + consults % 4}, hour, minute),
                                  "출금불능 안내",
                                  "11월 출금불능(" + m.cmsError +
                                      ") 안내 문자 발송. 12월 재출금 예정이며 고객 통화 필요.",
                                  consults % 2 ? "1" : "2"});
        } else if (m.cmsStatus == 0 && m.method == 1 && welcomes < 4) {
            ++welcomes;
            plan.notes.push_back({i, who, NoteTime(kDemoToday, hour, minute), "신규상담",
                                  "가입 상담 완료. 출금동의서 수령 후 동의자료 설정 예정.", "1"});
        }
    }
}

// ---------------------------------------------------------------- statements

class Values {
  public:
    Values& Text(const std::string& v) { return Raw(SqlQuote(v)); }
    Values& Num(long long v) { return Raw(std::to_string(v)); }
    std::string Tuple() const { return "(" + s_ + ")"; }

  private:
    Values& Raw(const std::string& v) {
        if (!s_.empty()) s_ += ',';
        s_ += v;
        return *this;
    }
    std::string s_;
};

// Collects tuples and sends them a hundred at a time.
class MultiRowInsert {
  public:
    MultiRowInsert(Database& db, std::string head) : db_(db), head_(std::move(head)) {}
    ~MultiRowInsert() = default;
    MultiRowInsert(const MultiRowInsert&) = delete;
    MultiRowInsert& operator=(const MultiRowInsert&) = delete;

    void Add(const Values& v) {
        if (count_ > 0) sql_ += ',';
        sql_ += v.Tuple();
        if (++count_ == kTuplesPerInsert) Flush();
    }
    void Flush() {
        if (count_ == 0) return;
        db_.ExecuteSql(head_ + " values " + sql_);
        sql_.clear();
        count_ = 0;
    }

  private:
    Database& db_;
    std::string head_;
    std::string sql_;
    std::size_t count_ = 0;
};

void InsertCatalogue(Database& db, const std::string& schema) {
    MultiRowInsert ins(db, "insert into " + schema +
                               ".item (item_name,item_stan,item_pay,item_tax,item_agreement,"
                               "item_memo,item_saleday,item_collday,settle_accounts,account_divide,"
                               "p_tax,remove_item)");
    for (const auto& c : kCatalogue) {
        Values v;
        v.Text(c.name).Text(c.stan).Num(c.pay).Num(0).Num(c.agreement).Text(c.memo);
        v.Num(c.saleday).Num(c.collday).Text("1").Text(std::to_string(c.divide)).Text("0");
        v.Text(c.removed ? "Y" : "N");
        ins.Add(v);
    }
    ins.Flush();
}

void InsertMembers(Database& db, const std::string& schema, const Plan& plan) {
    MultiRowInsert ins(
        db, "insert into " + schema +
                ".member_user (member_inx,ext_key,branch_inx,agency_inx,client_manager,"
                "client_info1,client_info2,client_company,president,company_number,jumin,"
                "business_condition,industry,username,zipcode,address,addressDetail,tel,fax,"
                "private_tel,comment,user_email,signdate,bank_code,account_no,account_name,"
                "account_jumin,start_date,remove,cms_status,cms_error,pay_nonpayment,"
                "total_prosspay,total_payment,cms_printkey,payday,inday,pay_monthdefault,"
                "pay_agreement,pay_prossagreement,settle_accounts,account_divide,p_tax,p_seday,"
                "month_max,certificate_kind,certificate_number,certificate_status,"
                "cash_receipt_info,cms_agree_status,card_cancel_status)");
    for (const DemoMember& m : plan.members) {
        Values v;
        v.Num(m.number).Text(m.extKey).Num(m.branch).Num(m.agency).Text(m.manager);
        v.Text(m.info1).Text(m.info2).Text(m.company).Text(m.president).Text(m.companyNumber);
        v.Text(m.jumin).Text(m.condition).Text(m.industry).Text(m.name).Text(m.zipcode);
        v.Text(m.address).Text(m.addressDetail).Text(m.tel).Text(m.fax).Text(m.mobile);
        v.Text(m.comment).Text(m.email).Num(m.signdate).Text(m.bankCode).Text(m.accountNo);
        v.Text(m.accountName).Text(m.accountJumin).Text(LongMonth(m.startMonth));
        v.Text(std::to_string(m.remove)).Text(std::to_string(m.cmsStatus)).Text(m.cmsError);
        v.Num(m.nonpayment).Num(m.totalSales).Num(m.totalPaid).Text("0").Num(m.payday);
        v.Num(m.inday).Num(m.monthDefault).Num(m.agreement);
        v.Num(m.divide == 3 ? m.prossAgreement : 0).Text(std::to_string(m.method));
        v.Text(std::to_string(m.divide)).Text(m.pTax).Text(m.periodEnd).Num(m.monthMax);
        v.Text(m.certKind).Text(m.certNumber).Text(m.certStatus).Text(m.cashReceipt);
        v.Text(m.agreeStatus).Text("0");
        ins.Add(v);
    }
    ins.Flush();
}

void InsertMemberItems(Database& db, const std::string& schema, const Plan& plan) {
    MultiRowInsert ins(db, "insert into " + schema +
                               ".user_item (ui_perinx,ui_name,ui_pay,ui_cnt,ui_payment,ui_stan)");
    for (const DemoMember& m : plan.members) {
        for (const DemoItem& it : m.items) {
            const auto& cat = kCatalogue[static_cast<std::size_t>(it.catalogue)];
            Values v;
            v.Num(m.number).Text(cat.name).Num(it.pay).Num(it.count).Num(it.payment).Text(cat.stan);
            ins.Add(v);
        }
    }
    ins.Flush();
}

void InsertBatches(Database& db, const std::string& schema, const Plan& plan) {
    MultiRowInsert sales(db, "insert into " + schema +
                                 ".payadd (payadd_inx,add_usrnum,create_date,add_runkey,"
                                 "add_startdate,add_accountdivide,add_monthdefault,"
                                 "add_nonpayment,add_agreement,add_prossagreement,add_create,"
                                 "item_name,item_stan,item_cnt,add_err,add_errcode)");
    MultiRowInsert collections(db, "insert into " + schema +
                                       ".paymus (payadd_inx,add_usrnum,create_date,add_runkey,"
                                       "add_accountdivide,add_monthdefault,add_err,"
                                       "add_errcode)");
    std::vector<const BatchRow*> rows;
    for (const BatchRow& b : plan.batches) rows.push_back(&b);
    std::sort(rows.begin(), rows.end(), [](const BatchRow* a, const BatchRow* b) {
        return std::tie(a->runKey, a->id) < std::tie(b->runKey, b->id);
    });
    for (const BatchRow* b : rows) {
        const DemoMember& m = plan.members[b->member];
        Values v;
        v.Num(b->id).Num(m.number).Text(b->date).Num(b->runKey);
        if (b->collection) {
            v.Text(std::to_string(m.divide)).Num(b->amount).Text("").Text("0");
            collections.Add(v);
        } else {
            const auto& cat = kCatalogue[static_cast<std::size_t>(b->catalogue)];
            v.Text(LongMonth(m.startMonth)).Text(std::to_string(m.divide)).Num(b->amount);
            v.Num(b->nonpayment).Num(b->agreement).Num(b->prossAgreement).Num(b->created);
            v.Text(cat.name).Text(cat.stan).Num(b->count).Text(b->error);
            v.Text(b->error.empty() ? "0" : "1");
            sales.Add(v);
        }
    }
    sales.Flush();
    collections.Flush();
}

void InsertLedger(Database& db, const std::string& schema, const Plan& plan) {
    MultiRowInsert ins(db, "insert into " + schema +
                               ".pay_pross (userlink_inx,userbrlink_inx,input_pay,pros_nonpayment,"
                               "paystat,settle_code,settle_title,signdate,memo,regdate,pay_prossag,"
                               "item_name,item_stan,item_cnt,addmuskey,addkey)");
    // Booking order: the latest row of a member must also be its highest key.
    std::vector<const LedgerRow*> rows;
    for (const LedgerRow& r : plan.ledger) rows.push_back(&r);
    std::sort(rows.begin(), rows.end(), [](const LedgerRow* a, const LedgerRow* b) {
        return std::tie(a->regdate, a->member, a->seq) < std::tie(b->regdate, b->member, b->seq);
    });
    for (const LedgerRow* r : rows) {
        const DemoMember& m = plan.members[r->member];
        const BatchRow* b =
            r->batch >= 0 ? &plan.batches[static_cast<std::size_t>(r->batch)] : nullptr;
        Values v;
        v.Num(m.number).Num(m.branch).Num(r->amount).Num(r->outstanding);
        v.Text(r->collection ? "1" : "0").Text(std::to_string(m.method)).Text(r->settleTitle);
        v.Text(r->date).Text(r->memo).Num(r->regdate).Num(r->prossag).Text(r->itemName);
        v.Text(r->itemStan).Num(r->itemCount).Num(b ? b->runKey : 0).Num(b ? b->id : 0);
        ins.Add(v);
    }
    ins.Flush();
}

void InsertNotes(Database& db, const std::string& schema, const Plan& plan) {
    MultiRowInsert ins(
        db, "insert into " + schema + ".iltable (illinkinx,usrname,ildate,ilcombo,ilsang,ilstat)");
    for (const Note& n : plan.notes) {
        Values v;
        v.Num(plan.members[n.member].number).Text(n.who).Text(n.when).Text(n.kind).Text(n.text);
        v.Text(n.state);
        ins.Add(v);
    }
    ins.Flush();
}

// One log line per batch run, as the batch screens write them.
void InsertRunLog(Database& db, const std::string& schema, const Plan& plan, int members) {
    struct Run {
        bool collection = false;
        std::string date;
        long long created = 0;
        int ok = 0, refused = 0;
        long long amount = 0;
    };
    std::map<int, Run> runs;
    for (const BatchRow& b : plan.batches) {
        Run& r = runs[b.runKey];
        r.collection = b.collection;
        r.date = b.date;
        r.created = std::max(r.created, b.created);
        if (b.error.empty()) {
            ++r.ok;
            r.amount += b.amount;
        } else {
            ++r.refused;
        }
    }
    MultiRowInsert ins(db, "insert into " + schema + ".pross_log (regdate,prosnum,prostxt)");
    long long lastTime = 0;
    for (const auto& [key, r] : runs) {
        const std::string text =
            r.collection
                ? fmt::format(" 미수금전액 일괄수금 {} (정상: {} 건/불능: {} 건) 실행번호 {}",
                              r.date, r.ok, r.refused, key)
                : fmt::format(" 일괄매출 {} (정상: {} 건/불능: {} 건) 실행번호 {}", r.date, r.ok,
                              r.refused, key);
        Values v;
        v.Num(r.created + 60).Num(8).Text(text);
        ins.Add(v);
        lastTime = std::max(lastTime, r.created + 60);
    }
    Values seeded;
    seeded.Num(std::max(lastTime, KstSeconds(kDemoToday, 18, 0)) + 1).Num(3);
    seeded.Text(
        fmt::format("데모 데이터 생성 (회원 {}명, 원장 {}건)", members, plan.ledger.size()));
    ins.Add(seeded);
    ins.Flush();
}

struct Notice {
    const char* subject;
    const char* content;
    int daysAgo;
};

const std::vector<Notice> kNotices = {
    {"<b>[공지] 12월 CMS 출금 일정 안내</b>",
     "<p>12월 출금이체 일정을 안내드립니다.</p>"
     "<ul><li>출금의뢰(EB21) 파일은 출금일 <b>1영업일 전 17시</b>까지 전송해 주십시오.</li>"
     "<li>연말 휴일(12/25, 1/1) 전후에는 결과(EB22) 수신이 하루 늦어질 수 있습니다.</li></ul>"
     "<p>문의: 고객센터 0000-0000</p>",
     2},
    {"[안내] 연말연시 고객센터 운영시간 변경",
     "<p>12월 31일(목)은 <b>15시</b>까지, 1월 2일(금)은 10시부터 운영합니다.</p>"
     "<p>운영시간 외 접수된 문의는 다음 영업일에 순서대로 답변드립니다.</p>",
     5},
    {"<b>[중요]</b> 출금동의자료(EI13) 전송 절차 안내",
     "<p>신규 회원은 <b>출금동의자료를 먼저 전송</b>한 뒤 신규신청(EB13)이 가능합니다.</p>"
     "<ol><li>회원정보에서 동의자료 설정</li><li>EI13 파일 생성 및 전송</li>"
     "<li>EB13 신규신청 파일 생성</li></ol>",
     9},
    {"쿼리스CMS 프로그램 업데이트 안내 (26.2)",
     "<p>이번 업데이트에서 다음 내용이 개선되었습니다.</p>"
     "<ul><li>일괄매출 결과 화면 조회 속도 개선</li><li>엑셀 저장 시 외부참조키 서식 유지</li>"
     "</ul><p>프로그램 실행 시 자동으로 업데이트됩니다.</p>",
     16},
    {"[점검] 12월 정기 서버 점검 안내",
     "<p>점검일시: <b>12월 20일(일) 02:00 ~ 05:00</b></p>"
     "<p>점검 시간에는 로그인과 파일 전송이 되지 않습니다. 양해 부탁드립니다.</p>",
     23},
};

// Notices are shared by every institution: only an almost empty board gets them.
void InsertNoticesIfBoardEmpty(Database& db) {
    if (db.scalarInt("select count(*) from quorisdex_old.quorboard1") >= 3) return;
    // Oldest first, so that the board's numbering follows the dates.
    for (auto it = kNotices.rbegin(); it != kNotices.rend(); ++it) {
        db.ExecuteSql(
            "insert into quorisdex_old.quorboard1 (subject, content, signdate) "
            "values (?, ?, unix_timestamp() - ? * 86400 - 3600)",
            {it->subject, it->content, it->daysAgo});
    }
}

std::vector<Owner> ReadOwners(Database& db, long long inx) {
    std::vector<Owner> owners;
    const Recordset branches = db.OpenRecordset(
        "select brinx from quorisdex.company_branch where perinx=? order by brinx", {inx});
    for (std::size_t i = 0; i < branches.size(); ++i) {
        owners.push_back({static_cast<int>(branches[i].asInt(0)), 0});
    }
    const Recordset agencies = db.OpenRecordset(
        "select aginx, rootbrinx from quorisdex.company_agency where rootinx=? order by aginx",
        {inx});
    for (std::size_t i = 0; i < agencies.size(); ++i) {
        owners.push_back(
            {static_cast<int>(agencies[i].asInt(1)), static_cast<int>(agencies[i].asInt(0))});
    }
    return owners;
}

void ReadBanks(Database& db, long long inx, std::vector<std::string>& banks,
               std::vector<int>& weights) {
    const long long relay =
        db.scalarInt("select cmsrunprg from quorisdex.admin_company where inx=?", {inx});
    std::vector<CodeEntry> list =
        LoadSharedCodeList(db, relay <= 1 ? "bank" : "bank" + std::to_string(relay));
    if (list.empty()) list = LoadSharedCodeList(db, "bank");
    for (const auto& e : list) {
        if (e.data.size() == 3) banks.push_back(e.data);
    }
    if (banks.empty()) {
        throw std::invalid_argument(
            "공용 은행코드 목록(bank)이 비어 있어 데모 회원을 만들 수 없습니다.");
    }
    int total = 0;
    for (const auto& b : banks) {
        weights.push_back(BankWeight(b));
        total += weights.back();
    }
    if (total == 0) std::fill(weights.begin(), weights.end(), 1);
}

// Run keys are shared by batch sales and collections and grow with time.
void AssignRunKeys(Database& db, const std::string& schema, Plan& plan) {
    const long long lastKey =
        db.scalarInt("select greatest((select coalesce(max(addmuskey),0) from " + schema +
                     ".pay_pross), (select coalesce(max(add_runkey),0) from " + schema +
                     ".payadd), (select coalesce(max(add_runkey),0) from " + schema + ".paymus))");
    std::map<std::pair<std::string, bool>, int> keys;
    for (const BatchRow& b : plan.batches) keys[{b.date, b.collection}] = 0;
    int next = static_cast<int>(lastKey);
    for (auto& [run, key] : keys) key = ++next;
    if (next > 32767) throw std::invalid_argument("일괄작업 실행번호가 32767을 넘습니다.");

    long long salesId =
        db.scalarInt("select coalesce(max(payadd_inx),0) from " + schema + ".payadd");
    long long collectionId =
        db.scalarInt("select coalesce(max(payadd_inx),0) from " + schema + ".paymus");
    std::vector<BatchRow*> rows;
    for (BatchRow& b : plan.batches) {
        b.runKey = keys[{b.date, b.collection}];
        rows.push_back(&b);
    }
    std::stable_sort(rows.begin(), rows.end(), [&plan](const BatchRow* a, const BatchRow* b) {
        return std::make_pair(a->runKey, plan.members[a->member].number) <
               std::make_pair(b->runKey, plan.members[b->member].number);
    });
    for (BatchRow* b : rows) b->id = b->collection ? ++collectionId : ++salesId;
}

// 79, the institution number in five digits and a four-digit serial: the
// pool is shared, so two demo institutions must not draw the same numbers.
long long DemoVirtualAccountStart(long long inx) {
    return 79000000000LL + (inx % 100000) * 10000 + 1;
}

}  // namespace

long long SeedDemo(Database& db, long long inx) {
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {inx}) == 0) {
        throw std::invalid_argument("등록되지 않은 기관번호입니다: " + std::to_string(inx));
    }
    const std::string schema = InstitutionSchema(inx);
    if (db.scalarInt("select count(*) from information_schema.tables where table_schema=? and "
                     "table_name='member_user'",
                     {schema}) == 0) {
        throw std::invalid_argument("기관 " + std::to_string(inx) + " 의 데이터베이스(" + schema +
                                    ")가 아직 만들어지지 않았습니다.");
    }

    Database::Transaction tx(db);
    const long long existing = db.scalarInt(
        "select count(*) from " + schema + ".member_user where member_inx<>?", {kReservedMember});
    if (existing > 0) {
        throw std::invalid_argument("이미 회원이 " + std::to_string(existing) +
                                    "명 등록된 기관입니다. 데모 데이터는 회원이 없는 기관에만 "
                                    "넣을 수 있습니다.");
    }
    // The clearing house's withdrawal limits, fees (per withdrawal and per
    // charged failure) and the passbook text, so that the demo's withdrawal
    // files can be made and show what they cost, and the giro code its giro
    // members' receipt statements carry; values already set are kept.
    db.ExecuteSql(
        "update quorisdex.admin_company set "
        "month_out_limit=if(month_out_limit=0,500000000,month_out_limit),"
        "ok_commission=if(ok_commission=0,150,ok_commission),"
        "no_commission=if(no_commission=0,300,no_commission),"
        "one_out_limit=if(one_out_limit=0,5000000,one_out_limit),"
        "account_title=if(account_title='','한빛생협',account_title),"
        "giro_account=if(giro_account='',?,giro_account) where inx=?",
        {kDemoGiroCode, inx});
    // With the reserved bank-receipt row present, new numbers continue above it.
    const long long firstNumber =
        db.scalarInt("select coalesce(max(member_inx),0)+1 from " + schema + ".member_user");

    std::vector<std::string> banks;
    std::vector<int> bankWeights;
    ReadBanks(db, inx, banks, bankWeights);
    const std::vector<Owner> owners = ReadOwners(db, inx);
    std::map<int, std::string> methodNames;
    for (const auto& e : LoadInstitutionCodeList(db, inx, "settleacnt")) {
        methodNames[std::atoi(e.data.c_str())] = e.text;
    }

    DemoRandom rng(kSeed);
    Plan plan;
    plan.members.resize(kMemberCount);
    for (std::size_t i = 0; i < plan.members.size(); ++i) {
        DemoMember& m = plan.members[i];
        m.number = firstNumber + static_cast<long long>(i);
        m.method = rng.Choose({{1, 70}, {2, 12}, {3, 8}, {5, 10}});
        m.divide = rng.Choose({{1, 72}, {2, 8}, {3, 10}, {4, 10}});
        ChooseItems(m, rng);
        ChooseIdentity(m, i, rng);
        ChooseChannel(m, rng, banks, bankWeights);
        ChooseLifecycle(m, rng);
        ChooseDays(m, rng);
        // A third of the members stay with the head office; the rest are spread
        // over the branches and their agencies.
        if (!owners.empty() && rng.Range(1, 3) > 1) {
            const Owner& o = rng.Pick(owners);
            m.branch = o.branch;
            m.agency = o.agency;
        }
    }
    PlanBuilder builder(plan, rng, methodNames);
    for (std::size_t i = 0; i < plan.members.size(); ++i) builder.Ledger(i);
    AddNotes(plan, rng);
    AssignRunKeys(db, schema, plan);

    InsertCatalogue(db, schema);
    InsertMembers(db, schema, plan);
    InsertMemberItems(db, schema, plan);
    InsertBatches(db, schema, plan);
    InsertLedger(db, schema, plan);
    InsertNotes(db, schema, plan);
    InsertRunLog(db, schema, plan, kMemberCount);
    InsertNoticesIfBoardEmpty(db);
    AddFreeVirtualAccounts(db, schema, kDemoVirtualBank, DemoVirtualAccountStart(inx),
                           kDemoVirtualAccounts);
    tx.commit();
    return kMemberCount;
}

}  // namespace qx
