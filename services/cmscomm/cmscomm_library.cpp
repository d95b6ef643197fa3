// The clearing-house communication library: the CP_* entry points the
// client loads at run time, answered by the simulated center in the folder
// configured beside this library (file cmscomm.ini: center=, partner=) or
// named by CMSCOMM_CENTER.
#include <dlfcn.h>
#include <iconv.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "center.h"
#include "center_realtime.h"
#include "cms/transmission/cmscomm_entry_points.h"
#include "file_check.h"

namespace {

namespace fs = std::filesystem;
using center::Answer;
using center::HeldFile;

struct Session {
    bool open = false;
    std::string workFolder;
    std::string org;
    std::string centerFolder;
};

std::mutex lock;
Session session;
std::string lastError;  // UTF-8

std::string ToCp949(const std::string& utf8) {
    iconv_t cd = iconv_open("CP949//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* to = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0 && iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1)) {
        if (outLeft == 0) break;
        ++in;
        --inLeft;
        *to++ = '?';
        --outLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// Copies at most `size` bytes (NUL included); a Hangul pair is never split.
bool CopyOut(char* buffer, size_t size, const std::string& utf8) {
    if (!buffer || size == 0) return false;
    const std::string text = ToCp949(utf8);
    size_t n = std::min(text.size(), size - 1);
    if (n < text.size()) {
        size_t whole = 0;
        while (whole < n) {
            const size_t step = static_cast<unsigned char>(text[whole]) >= 0x81 ? 2 : 1;
            if (whole + step > n) break;
            whole += step;
        }
        n = whole;
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

std::string Text(const char* p) {
    return p ? std::string(p) : std::string();
}

int16_t Fail(int code, const std::string& text) {
    lastError = text;
    return static_cast<int16_t>(code);
}

int16_t Finish(const Answer& a) {
    return a.code == 0 ? 0 : Fail(a.code, a.text);
}

std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) && info.dli_fname)
        return fs::absolute(info.dli_fname).parent_path().string();
    return ".";
}

void ReadConfig(std::string& centerFolder, std::string& partner) {
    const std::string folder = LibraryFolder();
    std::ifstream in(fs::path(folder) / "cmscomm.ini");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "center")
            centerFolder =
                fs::path(value).is_absolute() ? value : (fs::path(folder) / value).string();
        if (key == "partner") partner = value;
    }
    if (const char* env = std::getenv("CMSCOMM_CENTER"); env && *env) centerFolder = env;
}

bool ValidDate(const std::string& d) {
    return d.size() == 8 && center::AllDigits(d);
}

std::string Num(long long v) {
    return std::to_string(v);
}

std::string Kind(const std::string& name) {
    const std::string k = name.substr(0, 4);
    if (k == "EB13") return "등록신청";
    if (k == "EB21") return "출금신청";
    if (k == "EB12") return "등록응답";
    if (k == "EI13") return "증빙자료";
    return k;
}

// The fields of one send-results record.
std::string SendRecord(const HeldFile& f) {
    return f.name + "|" + Kind(f.name) + "|정상|" + Num(f.records) + "|" + Num(f.amount) + "|" +
           Num(f.okRecords) + "|" + Num(f.okAmount) + "|0|0|N||" + f.stamp + "|";
}

// The fields of a receivable/cancellable record.
std::string FileRecord(const HeldFile& f, const std::string& state, bool partial) {
    return f.name + "|" + f.name.substr(0, 4) + "|" + f.fileDate + "|" + Num(f.size) + "|" + state +
           "|" + Num(f.records) + "|" + Num(f.amount) + "|" +
           Num(partial ? f.records - f.okRecords : f.okRecords) + "|" +
           Num(partial ? f.amount - f.okAmount : f.okAmount) + "|" + f.stamp + "|";
}

int16_t Deliver(char* message, const std::string& answer, int16_t* count, int16_t n) {
    if (count) *count = n;
    if (!CopyOut(message, kCmsMessageBufferSize, answer))
        return Fail(center::kAnswerCut, "응답이 버퍼보다 길어 잘렸습니다.");
    return 0;
}

// Delivers the record `record` writes for each file, with their count; an
// empty record leaves the file out.
int16_t DeliverRecords(const std::vector<HeldFile>& files,
                       const std::function<std::string(const HeldFile&)>& record, int16_t* count,
                       char* message) {
    std::string answer;
    int16_t n = 0;
    for (const HeldFile& f : files) {
        const std::string r = record(f);
        if (r.empty()) continue;
        answer += r;
        ++n;
    }
    return Deliver(message, answer, count, n);
}

bool Ready() {
    if (session.open) return true;
    lastError = "금결원 송수신이 초기화되지 않았습니다.";
    return false;
}

// 0 when a period inquiry may be answered: a session is open and both days
// are written YYYYMMDD; otherwise the code to return.
int16_t RefusedInquiry(const char* fromDate, const char* toDate) {
    if (!Ready()) return center::kNotLoggedIn;
    if (!ValidDate(Text(fromDate)) || !ValidDate(Text(toDate)))
        return Fail(center::kBadRequest, "조회기간이 올바르지 않습니다.");
    return 0;
}

// Writes a fetched file into the exchange folder of its kind.
Answer Store(const std::string& name, const std::string& bytes, double* size) {
    const fs::path folder = fs::path(session.workFolder) / name.substr(0, 4);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!center::WriteAtomically((folder / name).string(), bytes))
        return {center::kReadFailed, "수신 파일을 저장할 수 없습니다."};
    if (size) *size = static_cast<double>(bytes.size());
    return {};
}

bool ValidName(const std::string& name) {
    return name.size() == 8 && center::AllDigits(name.substr(4)) &&
           std::isupper(static_cast<unsigned char>(name[0]));
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int16_t CP_CMSInit(const char* workFolder,
                                                          const char* orgCode, const char* password,
                                                          const char*, const char* partnerId,
                                                          int32_t, int32_t* outValue,
                                                          char* message) {
    std::lock_guard g(lock);
    std::string centerFolder, partner;
    ReadConfig(centerFolder, partner);
    if (centerFolder.empty()) return Fail(31, "금결원 접속 설정이 없습니다.");
    if (!partner.empty() && Text(partnerId) != partner)
        return Fail(32, "등록되지 않은 업체 식별자입니다.");
    if (Text(orgCode).size() != 10) return Fail(33, "이용기관코드가 올바르지 않습니다.");
    if (Text(password).size() != 8) return Fail(34, "비밀번호가 올바르지 않습니다.");
    session = {true, Text(workFolder), Text(orgCode), centerFolder};
    while (!session.org.empty() && session.org.back() == ' ') session.org.pop_back();
    if (outValue) *outValue = 0;
    CopyOut(message, kCmsMessageBufferSize, "");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_CMSLogout(int16_t) {
    std::lock_guard g(lock);
    session = {};
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_CMSNotice(int32_t, int16_t* count, int32_t*,
                                                            char* message) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    std::string answer;
    int16_t n = 0;
    for (const std::string& line : center::Center(session.centerFolder).Notices()) {
        const auto bar = line.find('|');
        answer += (bar == std::string::npos ? line + "|"
                                            : line.substr(0, bar) + "|" + line.substr(bar + 1)) +
                  "|";
        ++n;
    }
    return Deliver(message, answer, count, n);
}

__attribute__((visibility("default"))) int16_t CP_GetCnfResultSendFile(const char*,
                                                                       const char* fromDate,
                                                                       const char* toDate, int32_t,
                                                                       int16_t* count, const char*,
                                                                       int32_t*, char* message) {
    std::lock_guard g(lock);
    if (const int16_t refused = RefusedInquiry(fromDate, toDate)) return refused;
    return DeliverRecords(
        center::Center(session.centerFolder).SentFiles(session.org, fromDate, toDate), SendRecord,
        count, message);
}

__attribute__((visibility("default"))) int16_t CP_GetCancelFileCnf(const char*,
                                                                   const char* fromDate,
                                                                   const char* toDate, int32_t,
                                                                   int16_t* count, int32_t*,
                                                                   char* message) {
    std::lock_guard g(lock);
    if (const int16_t refused = RefusedInquiry(fromDate, toDate)) return refused;
    center::Center c(session.centerFolder);
    return DeliverRecords(
        c.SentFiles(session.org, fromDate, toDate),
        [&c](const HeldFile& f) {
            return c.HasResult(session.org, f.name, f.fileDate) ? std::string()
                                                                : FileRecord(f, "송신완료", false);
        },
        count, message);
}

__attribute__((visibility("default"))) int16_t CP_GetReverseRecvFileCnf(const char*,
                                                                        const char* fromDate,
                                                                        const char* toDate, int32_t,
                                                                        int16_t* count, int32_t*,
                                                                        char* message) {
    std::lock_guard g(lock);
    if (const int16_t refused = RefusedInquiry(fromDate, toDate)) return refused;
    return DeliverRecords(
        center::Center(session.centerFolder).SentFiles(session.org, fromDate, toDate),
        [](const HeldFile& f) { return FileRecord(f, "06", false); }, count, message);
}

__attribute__((visibility("default"))) int16_t CP_GetRecvFileContents(const char*,
                                                                      const char* fromDate,
                                                                      const char* toDate, char kind,
                                                                      int32_t, int16_t* count,
                                                                      int32_t*, char* message) {
    std::lock_guard g(lock);
    if (const int16_t refused = RefusedInquiry(fromDate, toDate)) return refused;
    if (kind != 'A' && kind != 'M' && kind != 'E')
        return Fail(center::kBadRequest, "수신구분이 올바르지 않습니다.");
    return DeliverRecords(
        center::Center(session.centerFolder).Receivable(session.org, fromDate, toDate),
        [kind](const HeldFile& f) {
            const bool left = (kind == 'M' && f.state != "06") || (kind == 'E' && f.state != "08");
            return left ? std::string() : FileRecord(f, f.state, true);
        },
        count, message);
}

__attribute__((visibility("default"))) int16_t CP_SendCMSFile(const char* path, double size,
                                                              char* result) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    std::string bytes;
    if (!center::ReadWhole(Text(path), bytes))
        return Fail(center::kReadFailed, "송신할 파일을 읽을 수 없습니다.");
    if (static_cast<double>(bytes.size()) != size)
        return Fail(center::kReadFailed, "파일 크기가 다릅니다.");
    const std::string name = fs::path(Text(path)).filename().string();
    if (!ValidName(name))
        return Fail(center::kRefused, "[" + name + "] 파일명이 올바르지 않습니다.");
    const Answer a = center::Center(session.centerFolder).Accept(session.org, name, bytes);
    if (a.code != 0) return Finish(a);
    CopyOut(result, kCmsResultBufferSize, "송신완료");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_GetResultSendFile(const char*,
                                                                    const char* fileDate,
                                                                    const char* fileName, int32_t,
                                                                    int32_t*, char* message) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    center::Center c(session.centerFolder);
    HeldFile f;
    if (!c.Sent(session.org, Text(fileName), Text(fileDate), f))
        return Fail(center::kNotFound, "송신내역이 없습니다.");
    const std::string month = f.fileDate.substr(0, 6);
    const long long remaining = c.MonthLimit(session.org) - c.MonthUsed(session.org, month);
    return Deliver(message, SendRecord(f) + Num(remaining) + "|", nullptr, 1);
}

__attribute__((visibility("default"))) int16_t CP_CancelSendFile(const char*, const char* fileDate,
                                                                 const char* fileName,
                                                                 char* result) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    const Answer a =
        center::Center(session.centerFolder).Cancel(session.org, Text(fileName), Text(fileDate));
    if (a.code != 0) return Finish(a);
    CopyOut(result, kCmsResultBufferSize, "송신취소완료");
    return 0;
}

namespace {
int16_t Receive(const char* fileName, const char* fileDate, double* size, char* result,
                bool expired) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    const std::string name = Text(fileName);
    if (!ValidName(name)) return Fail(center::kBadRequest, "파일명이 올바르지 않습니다.");
    std::string bytes;
    Answer a = center::Center(session.centerFolder)
                   .Fetch(session.org, name, Text(fileDate), expired, bytes);
    if (a.code == 0) a = Store(name, bytes, size);
    if (a.code != 0) return Finish(a);
    CopyOut(result, kCmsResultBufferSize, "수신완료");
    return 0;
}
}  // namespace

__attribute__((visibility("default"))) int16_t CP_GetCMSFile(const char* fileName,
                                                             const char* fileDate, double* size,
                                                             char* result) {
    return Receive(fileName, fileDate, size, result, false);
}

__attribute__((visibility("default"))) int16_t CP_GetExpiredCMSFile(const char* fileName,
                                                                    const char* fileDate,
                                                                    double* size, char* result) {
    return Receive(fileName, fileDate, size, result, true);
}

__attribute__((visibility("default"))) int16_t CP_GetReverseRecvFile(const char* fileName,
                                                                     const char* fileDate,
                                                                     double* size, char* result) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    const std::string name = Text(fileName);
    if (!ValidName(name)) return Fail(center::kBadRequest, "파일명이 올바르지 않습니다.");
    std::string bytes;
    Answer a =
        center::Center(session.centerFolder).FetchSent(session.org, name, Text(fileDate), bytes);
    if (a.code == 0) a = Store(name, bytes, size);
    if (a.code != 0) return Finish(a);
    CopyOut(result, kCmsResultBufferSize, "수신완료");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_ReceiptInfoReq(const char* fileName,
                                                                 const char* fileDate, int32_t,
                                                                 int32_t*, char* message) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    const std::string name = Text(fileName);
    if (name.rfind("EB22", 0) != 0) return Fail(center::kBadRequest, "EB22 파일이 아닙니다.");
    for (const HeldFile& f : center::Center(session.centerFolder)
                                 .Receivable(session.org, Text(fileDate), Text(fileDate))) {
        if (f.name != name) continue;
        const long long fee = f.okRecords * 100;
        return Deliver(message,
                       f.name + "|모의은행|" + f.fileDate + "|" + Num(f.records) + "|" +
                           Num(f.amount) + "|" + Num(f.okRecords) + "|" + Num(f.okAmount) + "|" +
                           Num(fee) + "|" + Num(f.okAmount - fee) + "|",
                       nullptr, 1);
    }
    return Fail(center::kNotFound, "입금 통지 내역이 없습니다.");
}

__attribute__((visibility("default"))) int16_t CP_MonthLimitReq(const char*, const char* yyyymm,
                                                                char* answer) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    const std::string month = Text(yyyymm);
    if (month.size() != 6 || !center::AllDigits(month))
        return Fail(center::kBadRequest, "조회월이 올바르지 않습니다.");
    center::Center c(session.centerFolder);
    const long long limit = c.MonthLimit(session.org), used = c.MonthUsed(session.org, month);
    if (!CopyOut(answer, kCmsResultBufferSize,
                 Num(limit) + "|" + Num(used) + "|" + Num(limit - used) + "|"))
        return Fail(center::kAnswerCut, "응답이 버퍼보다 길어 잘렸습니다.");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_AdditionalServiceInfoReq(const char* divCode,
                                                                           const char* fromDate,
                                                                           const char* toDate,
                                                                           int32_t, int16_t* count,
                                                                           char* message) {
    std::lock_guard g(lock);
    if (const int16_t refused = RefusedInquiry(fromDate, toDate)) return refused;
    center::Center c(session.centerFolder);
    std::string answer;
    int16_t n = 0;
    for (const auto& r :
         center::RealtimeDesk(c).Results(session.org, Text(divCode), fromDate, toDate)) {
        answer += r.kind + "|" + r.date + "|" + r.bank + "|" + r.payer + "|" + r.account + "|" +
                  r.holderId + "|" + r.code + "|" + r.message + "|";
        ++n;
    }
    if (count) *count = n;
    if (!CopyOut(message, kCmsAddServiceListSize, answer))
        return Fail(center::kAnswerCut, "응답이 버퍼보다 길어 잘렸습니다.");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_AdditionalServiceSendEimgFile(
    const char* path, double size, const char* divCode, const char* requestKey, const char*,
    char* result) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    if (Text(divCode) != "51")
        return Fail(center::kBadRequest, "동의자료는 출금이체신청에만 송신합니다.");
    std::string bytes;
    if (!center::ReadWhole(Text(path), bytes))
        return Fail(center::kReadFailed, "동의자료 파일을 읽을 수 없습니다.");
    if (static_cast<double>(bytes.size()) != size)
        return Fail(center::kReadFailed, "파일 크기가 다릅니다.");
    center::Center c(session.centerFolder);
    const Answer a = center::RealtimeDesk(c).ReceiveEvidence(session.org, Text(requestKey), bytes);
    if (a.code != 0) return Finish(a);
    CopyOut(result, kCmsResultBufferSize, "동의자료 송신완료");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_AdditionalServiceReq(
    const char* divCode, const char* bankCode, const char* accountNo, const char* payerNumber,
    const char* holderId, const char* requestKey, char* resultCode) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    center::Center c(session.centerFolder);
    const center::RealtimeRequest r{Text(divCode),     Text(bankCode), Text(accountNo),
                                    Text(payerNumber), Text(holderId), Text(requestKey)};
    const Answer a = center::RealtimeDesk(c).Submit(session.org, r);
    if (a.code != 0) return Finish(a);
    CopyOut(resultCode, kCmsAddServiceCodeSize, "0000");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_AdditionalServiceRes(const char*,
                                                                       const char* requestKey,
                                                                       const char*, int32_t,
                                                                       char* answer) {
    std::lock_guard g(lock);
    if (!Ready()) return center::kNotLoggedIn;
    center::Center c(session.centerFolder);
    center::RealtimeAnswer r;
    const Answer a = center::RealtimeDesk(c).AnswerOf(session.org, Text(requestKey), r);
    if (a.code != 0) return Finish(a);
    if (!CopyOut(answer, kCmsResultBufferSize, r.code + "|" + r.message + "|" + r.holderName + "|"))
        return Fail(center::kAnswerCut, "응답이 버퍼보다 길어 잘렸습니다.");
    return 0;
}

__attribute__((visibility("default"))) int16_t CP_GetLastErrorMesg(char* errorText) {
    std::lock_guard g(lock);
    CopyOut(errorText, kCmsErrorBufferSize, lastError);
    return 0;
}

}  // extern "C"
