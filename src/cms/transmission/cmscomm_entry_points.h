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
}
