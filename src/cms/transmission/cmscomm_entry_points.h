// The entry points of the clearing-house communication library, as the
// client calls them. Texts are NUL-terminated CP949; results are 16-bit,
// 0 = success; sizes travel as doubles. The library writes at most the
// buffer sizes below (NUL included) and reports an answer it had to cut.
#pragma once

#include <cstdint>

extern "C" {

inline constexpr int kCmsMessageBufferSize = 32768;
inline constexpr int kCmsResultBufferSize = 1024;
inline constexpr int kCmsErrorBufferSize = 512;

using CP_CMSInit_t = int16_t (*)(const char* workFolder, const char* orgCode, const char* password,
                                 const char* empty, const char* partnerId, int32_t timeoutMs,
                                 int32_t* outValue, char* message);
using CP_CMSLogout_t = int16_t (*)(int16_t lastResult);
using CP_CMSNotice_t = int16_t (*)(int32_t timeoutMs, int16_t* count, int32_t* outValue,
                                   char* message);
using CP_GetCnfResultSendFile_t = int16_t (*)(const char* job, const char* fromDate,
                                              const char* toDate, int32_t timeoutMs, int16_t* count,
                                              const char* zero, int32_t* outValue, char* message);
using CP_GetCancelFileCnf_t = int16_t (*)(const char* job, const char* fromDate, const char* toDate,
                                          int32_t timeoutMs, int16_t* count, int32_t* outValue,
                                          char* message);
using CP_GetReverseRecvFileCnf_t = CP_GetCancelFileCnf_t;
using CP_GetRecvFileContents_t = int16_t (*)(const char* job, const char* fromDate,
                                             const char* toDate, char kind, int32_t timeoutMs,
                                             int16_t* count, int32_t* outValue, char* message);
using CP_SendCMSFile_t = int16_t (*)(const char* path, double size, char* result);
using CP_GetResultSendFile_t = int16_t (*)(const char* job, const char* fileDate,
                                           const char* fileName, int32_t timeoutMs,
                                           int32_t* outValue, char* message);
using CP_CancelSendFile_t = int16_t (*)(const char* job, const char* fileDate, const char* fileName,
                                        char* result);
using CP_GetCMSFile_t = int16_t (*)(const char* fileName, const char* fileDate, double* size,
                                    char* result);
using CP_GetExpiredCMSFile_t = CP_GetCMSFile_t;
using CP_GetReverseRecvFile_t = CP_GetCMSFile_t;
using CP_ReceiptInfoReq_t = int16_t (*)(const char* fileName, const char* fileDate,
                                        int32_t timeoutMs, int32_t* outValue, char* message);
using CP_MonthLimitReq_t = int16_t (*)(const char* orgCode, const char* yyyymm, char* answer);
using CP_GetLastErrorMesg_t = int16_t (*)(char* errorText);

// Real-time account services. `divCode` is "50" holder inquiry, "51" debit
// registration, "52" debit cancellation; `requestKey` is the client's key of
// the request (its kftc_addserv row), the same in every call of one request.
inline constexpr int kCmsAddServiceListSize = 30000;
inline constexpr int kCmsAddServiceCodeSize = 64;

// The results the clearing house kept for `divCode` between the dates
// (yyyymmdd): records of "kind|yyyymmdd|bank|payer|account|holder id|
// response code|message|", their number in `count`.
using CP_AdditionalServiceInfoReq_t = int16_t (*)(const char* divCode, const char* fromDate,
                                                  const char* toDate, int32_t timeoutMs,
                                                  int16_t* count, char* message);
// The agreement evidence of a registration, sent before the request itself.
using CP_AdditionalServiceSendEimgFile_t = int16_t (*)(const char* path, double size,
                                                       const char* divCode, const char* requestKey,
                                                       const char* payerNumber, char* result);
// Submits one request; the clearing house's receipt code comes back in
// `resultCode` (kCmsAddServiceCodeSize bytes).
using CP_AdditionalServiceReq_t = int16_t (*)(const char* divCode, const char* bankCode,
                                              const char* accountNo, const char* payerNumber,
                                              const char* holderId, const char* requestKey,
                                              char* resultCode);
// The answer to a submitted request: "response code|message|registered
// holder name|" (the name only for an inquiry) in `answer` (kCmsResultBufferSize).
using CP_AdditionalServiceRes_t = int16_t (*)(const char* divCode, const char* requestKey,
                                              const char* payerNumber, int32_t timeoutMs,
                                              char* answer);
}
