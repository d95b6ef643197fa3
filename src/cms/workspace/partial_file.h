// A request file written under a hidden name of its own and published under
// its real name only just before its rows are committed, so that committed
// rows always have their file and a failure up to the commit takes the file
// back. Two creations never share the hidden name.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>

#include "db/business_days.h"

namespace qx {

// Raised when the file cannot be written or published; nothing is recorded.
struct FileNotWritten : std::runtime_error {
    explicit FileNotWritten(const std::string& path)
        : std::runtime_error("파일을 만들 수 없습니다: " + path) {}
};

class PartialFile {
  public:
    PartialFile(const std::string& folder, const std::string& name);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    void write(const std::string& record);
    void close();
    void publish();
    // The rows that go with the published file were not committed.
    void withdraw();
    const std::string& path() const { return final_; }

  private:
    std::string final_, temp_;
    std::ofstream out_;
    bool published_ = false;
};

// A file of the disk name (kind + MMDD) already in the exchange folder is
// only replaced when it is of the same day: one of the same MMDD of another
// year (or one whose header names no day) is another file, still unsent or
// unanswered perhaps. Returns that other file's day ("yyyy-mm-dd", "?" when
// unreadable), empty when the name is free or holds the same day.
std::string ForeignFileDate(const std::string& path, const CivilDate& date);

// The refusal shown when ForeignFileDate found another day's file.
std::string DiskNameTakenText(const std::string& diskName, const std::string& otherDate);

}  // namespace qx
