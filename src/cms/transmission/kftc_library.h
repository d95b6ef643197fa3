// The clearing-house library seen from the client: loaded at run time from
// the program folder, texts converted between UTF-8 and CP949, every answer
// read back from buffers of known size.
#pragma once

#include <cstdint>
#include <string>

#include "cms/transmission/cmscomm_entry_points.h"
#include "platform/shared_library.h"

namespace qx {

struct CmsAnswer {
    int16_t code = 0;   // 0 = success
    std::string text;   // the "|"-separated answer, UTF-8
    int16_t count = 0;  // entries of a list answer
};

class KftcLibrary {
  public:
    // False (reason in loadError()) when the file is missing or lacks an entry point.
    bool load(const std::string& path);
    const std::string& loadError() const { return error_; }

    int16_t Init(const std::string& workFolder, const std::string& orgCode,
                 const std::string& password, const std::string& partnerId);
    int16_t Logout(int16_t lastResult);
    CmsAnswer Notices();
    CmsAnswer SendResults(const std::string& from, const std::string& to);
    CmsAnswer Cancellable(const std::string& from, const std::string& to);
    CmsAnswer ReverseReceivable(const std::string& from, const std::string& to);
    CmsAnswer Receivable(const std::string& from, const std::string& to, char kind);
    CmsAnswer SendFile(const std::string& path, double size);
    CmsAnswer ResultOfSend(const std::string& fileDate, const std::string& fileName);
    CmsAnswer CancelSend(const std::string& fileDate, const std::string& fileName);
    CmsAnswer GetFile(const std::string& fileName, const std::string& fileDate);
    CmsAnswer GetExpiredFile(const std::string& fileName, const std::string& fileDate);
    CmsAnswer GetReverseFile(const std::string& fileName, const std::string& fileDate);
    CmsAnswer ReceiptInfo(const std::string& fileName, const std::string& fileDate);
    CmsAnswer MonthLimit(const std::string& orgCode, const std::string& yyyymm);
    // Real-time account services (kind "50", "51", "52"; request key = the
    // request's row).
    CmsAnswer AdditionalServiceList(const std::string& kind, const std::string& from,
                                    const std::string& to);
    CmsAnswer AdditionalServiceEvidence(const std::string& path, double size,
                                        const std::string& kind, const std::string& key,
                                        const std::string& payer);
    CmsAnswer AdditionalServiceRequest(const std::string& kind, const std::string& bank,
                                       const std::string& account, const std::string& payer,
                                       const std::string& holderId, const std::string& key);
    CmsAnswer AdditionalServiceAnswer(const std::string& kind, const std::string& key,
                                      const std::string& payer);
    // The text of the last failure, trimmed.
    std::string LastError();

  private:
    SharedLibrary lib_;
    std::string error_;
    CP_CMSInit_t init_ = nullptr;
    CP_CMSLogout_t logout_ = nullptr;
    CP_CMSNotice_t notice_ = nullptr;
    CP_GetCnfResultSendFile_t sendResults_ = nullptr;
    CP_GetCancelFileCnf_t cancellable_ = nullptr;
    CP_GetReverseRecvFileCnf_t reverseList_ = nullptr;
    CP_GetRecvFileContents_t receivable_ = nullptr;
    CP_SendCMSFile_t send_ = nullptr;
    CP_GetResultSendFile_t resultOfSend_ = nullptr;
    CP_CancelSendFile_t cancel_ = nullptr;
    CP_GetCMSFile_t getFile_ = nullptr;
    CP_GetExpiredCMSFile_t getExpired_ = nullptr;
    CP_GetReverseRecvFile_t getReverse_ = nullptr;
    CP_ReceiptInfoReq_t receiptInfo_ = nullptr;
    CP_MonthLimitReq_t monthLimit_ = nullptr;
    CP_GetLastErrorMesg_t lastError_ = nullptr;
    CP_AdditionalServiceInfoReq_t addList_ = nullptr;
    CP_AdditionalServiceSendEimgFile_t addEvidence_ = nullptr;
    CP_AdditionalServiceReq_t addRequest_ = nullptr;
    CP_AdditionalServiceRes_t addAnswer_ = nullptr;
};

}  // namespace qx
