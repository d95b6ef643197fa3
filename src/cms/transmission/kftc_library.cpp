#include "cms/transmission/kftc_library.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr int32_t kTimeoutMs = 30000;

// A buffer the library writes into; the last byte stays NUL whatever it does.
struct Buffer {
    explicit Buffer(size_t size) : bytes(size + 1, '\0'), size(size) {}
    char* data() { return bytes.data(); }
    std::string text() {
        bytes[size] = '\0';
        return FromCp949(std::string(bytes.data()));
    }
    std::vector<char> bytes;
    size_t size;
};

// Calls an entry point that writes its answer into a buffer of `size`
// bytes; `call` gets the buffer, the list count and the output value the
// library fills but nothing here reads.
template <typename Call>
CmsAnswer Ask(size_t size, Call call) {
    Buffer buffer(size);
    CmsAnswer a;
    int32_t out = 0;
    a.code = call(buffer.data(), &a.count, &out);
    a.text = buffer.text();
    return a;
}

template <typename F>
bool Bind(SharedLibrary& lib, const char* name, F& into, std::string& error) {
    into = reinterpret_cast<F>(lib.symbol(name));
    if (!into && error.empty()) error = std::string(name) + " 진입점이 없습니다.";
    return into != nullptr;
}

}  // namespace

bool KftcLibrary::load(const std::string& path) {
    error_.clear();
    if (!lib_.open(path)) {
        error_ = lib_.error();
        return false;
    }
    bool ok = true;
    ok &= Bind(lib_, "CP_CMSInit", init_, error_);
    ok &= Bind(lib_, "CP_CMSLogout", logout_, error_);
    ok &= Bind(lib_, "CP_CMSNotice", notice_, error_);
    ok &= Bind(lib_, "CP_GetCnfResultSendFile", sendResults_, error_);
    ok &= Bind(lib_, "CP_GetCancelFileCnf", cancellable_, error_);
    ok &= Bind(lib_, "CP_GetReverseRecvFileCnf", reverseList_, error_);
    ok &= Bind(lib_, "CP_GetRecvFileContents", receivable_, error_);
    ok &= Bind(lib_, "CP_SendCMSFile", send_, error_);
    ok &= Bind(lib_, "CP_GetResultSendFile", resultOfSend_, error_);
    ok &= Bind(lib_, "CP_CancelSendFile", cancel_, error_);
    ok &= Bind(lib_, "CP_GetCMSFile", getFile_, error_);
    ok &= Bind(lib_, "CP_GetExpiredCMSFile", getExpired_, error_);
    ok &= Bind(lib_, "CP_GetReverseRecvFile", getReverse_, error_);
    ok &= Bind(lib_, "CP_ReceiptInfoReq", receiptInfo_, error_);
    ok &= Bind(lib_, "CP_MonthLimitReq", monthLimit_, error_);
    ok &= Bind(lib_, "CP_GetLastErrorMesg", lastError_, error_);
    ok &= Bind(lib_, "CP_AdditionalServiceInfoReq", addList_, error_);
    ok &= Bind(lib_, "CP_AdditionalServiceSendEimgFile", addEvidence_, error_);
    ok &= Bind(lib_, "CP_AdditionalServiceReq", addRequest_, error_);
    ok &= Bind(lib_, "CP_AdditionalServiceRes", addAnswer_, error_);
    return ok;
}

int16_t KftcLibrary::Init(const std::string& workFolder, const std::string& orgCode,
                          const std::string& password, const std::string& partnerId) {
    Buffer message(kCmsMessageBufferSize);
    int32_t out = 0;
    return init_(ToCp949(workFolder).c_str(), ToCp949(orgCode).c_str(), ToCp949(password).c_str(),
                 "", partnerId.c_str(), kTimeoutMs, &out, message.data());
}

int16_t KftcLibrary::Logout(int16_t lastResult) {
    return logout_(lastResult);
}

CmsAnswer KftcLibrary::Notices() {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t* count, int32_t* out) {
        return notice_(kTimeoutMs, count, out, message);
    });
}

CmsAnswer KftcLibrary::SendResults(const std::string& from, const std::string& to) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t* count, int32_t* out) {
        return sendResults_("EA", from.c_str(), to.c_str(), kTimeoutMs, count, "0", out, message);
    });
}

CmsAnswer KftcLibrary::Cancellable(const std::string& from, const std::string& to) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t* count, int32_t* out) {
        return cancellable_("EA", from.c_str(), to.c_str(), kTimeoutMs, count, out, message);
    });
}

CmsAnswer KftcLibrary::ReverseReceivable(const std::string& from, const std::string& to) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t* count, int32_t* out) {
        return reverseList_("EA", from.c_str(), to.c_str(), kTimeoutMs, count, out, message);
    });
}

CmsAnswer KftcLibrary::Receivable(const std::string& from, const std::string& to, char kind) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t* count, int32_t* out) {
        return receivable_("EA", from.c_str(), to.c_str(), kind, kTimeoutMs, count, out, message);
    });
}

CmsAnswer KftcLibrary::SendFile(const std::string& path, double size) {
    return Ask(kCmsResultBufferSize, [&](char* result, int16_t*, int32_t*) {
        return send_(ToCp949(path).c_str(), size, result);
    });
}

CmsAnswer KftcLibrary::ResultOfSend(const std::string& fileDate, const std::string& fileName) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t*, int32_t* out) {
        return resultOfSend_("EA", fileDate.c_str(), fileName.c_str(), kTimeoutMs, out, message);
    });
}

CmsAnswer KftcLibrary::CancelSend(const std::string& fileDate, const std::string& fileName) {
    return Ask(kCmsResultBufferSize, [&](char* result, int16_t*, int32_t*) {
        return cancel_("EA", fileDate.c_str(), fileName.c_str(), result);
    });
}

namespace {
CmsAnswer Fetch(CP_GetCMSFile_t call, const std::string& name, const std::string& date) {
    return Ask(kCmsResultBufferSize, [&](char* result, int16_t*, int32_t*) {
        double size = 0;
        return call(name.c_str(), date.c_str(), &size, result);
    });
}
}  // namespace

CmsAnswer KftcLibrary::GetFile(const std::string& name, const std::string& date) {
    return Fetch(getFile_, name, date);
}
CmsAnswer KftcLibrary::GetExpiredFile(const std::string& name, const std::string& date) {
    return Fetch(getExpired_, name, date);
}
CmsAnswer KftcLibrary::GetReverseFile(const std::string& name, const std::string& date) {
    return Fetch(getReverse_, name, date);
}

CmsAnswer KftcLibrary::ReceiptInfo(const std::string& fileName, const std::string& fileDate) {
    return Ask(kCmsMessageBufferSize, [&](char* message, int16_t*, int32_t* out) {
        return receiptInfo_(fileName.c_str(), fileDate.c_str(), kTimeoutMs, out, message);
    });
}

CmsAnswer KftcLibrary::MonthLimit(const std::string& orgCode, const std::string& yyyymm) {
    return Ask(kCmsResultBufferSize, [&](char* answer, int16_t*, int32_t*) {
        return monthLimit_(ToCp949(orgCode).c_str(), yyyymm.c_str(), answer);
    });
}

CmsAnswer KftcLibrary::AdditionalServiceList(const std::string& kind, const std::string& from,
                                             const std::string& to) {
    return Ask(kCmsAddServiceListSize, [&](char* message, int16_t* count, int32_t*) {
        return addList_(kind.c_str(), from.c_str(), to.c_str(), kTimeoutMs, count, message);
    });
}

CmsAnswer KftcLibrary::AdditionalServiceEvidence(const std::string& path, double size,
                                                 const std::string& kind, const std::string& key,
                                                 const std::string& payer) {
    return Ask(kCmsResultBufferSize, [&](char* result, int16_t*, int32_t*) {
        return addEvidence_(ToCp949(path).c_str(), size, kind.c_str(), key.c_str(), payer.c_str(),
                            result);
    });
}

CmsAnswer KftcLibrary::AdditionalServiceRequest(const std::string& kind, const std::string& bank,
                                                const std::string& account,
                                                const std::string& payer,
                                                const std::string& holderId,
                                                const std::string& key) {
    CmsAnswer a = Ask(kCmsAddServiceCodeSize, [&](char* code, int16_t*, int32_t*) {
        return addRequest_(kind.c_str(), bank.c_str(), account.c_str(), payer.c_str(),
                           holderId.c_str(), key.c_str(), code);
    });
    a.text = Trim(a.text);
    return a;
}

CmsAnswer KftcLibrary::AdditionalServiceAnswer(const std::string& kind, const std::string& key,
                                               const std::string& payer) {
    return Ask(kCmsResultBufferSize, [&](char* answer, int16_t*, int32_t*) {
        return addAnswer_(kind.c_str(), key.c_str(), payer.c_str(), kTimeoutMs, answer);
    });
}

std::string KftcLibrary::LastError() {
    Buffer text(kCmsErrorBufferSize);
    lastError_(text.data());
    return Trim(text.text());
}

}  // namespace qx
