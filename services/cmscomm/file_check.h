// The center's own reading of a received file: every record checked by the
// byte positions of its layout, without the client's record builders, so
// that a writer's mistake is caught here.
#pragma once

#include <string>

namespace center {

struct CheckedFile {
    bool ok = false;
    std::string error;      // why the file is refused (Korean, shown to the sender)
    std::string kind;       // EB13, EB21, EB12, EI13
    std::string fileDate;   // yyyymmdd from the header
    long long records = 0;  // data records
    long long amount = 0;   // requested amount (EB21)
};

// `name` is the disk name (EB131204); `orgCode` the sender's institution code.
CheckedFile CheckFile(const std::string& name, const std::string& bytes,
                      const std::string& orgCode);

// The EI13 agreement file read block by block: header, records that each
// fill whole 1024-byte blocks as their size field says, trailer counts.
// False with the reason in out.error.
bool CheckAgreementBlocks(const std::string& name, const std::string& bytes,
                          const std::string& orgCode, CheckedFile& out);

// Byte field (1-based position) of a record; no trimming.
std::string Field(const std::string& record, size_t position, size_t length);
bool AllDigits(const std::string& text);
std::string PadRight(const std::string& text, size_t width);
std::string ZeroPad(long long value, size_t width);

}  // namespace center
