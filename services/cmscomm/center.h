// The simulated clearing house: a folder that holds what institutions have
// sent and what it has produced for them. Several client processes may use
// one folder at once; every file is written under a temporary name and
// renamed into place.
#pragma once

#include <string>
#include <vector>

namespace center {

// Answer codes the library returns.
enum Code : int {
    kOk = 0,
    kAlreadySent = 8,
    kNotLoggedIn = 11,
    kCancelRefused = 12,
    kNotFound = 13,
    kRefused = 20,
    kReadFailed = 21,
    kBadRequest = 22,
    kAnswerCut = 30,
};

struct Answer {
    int code = kOk;
    std::string text;  // error text (CP949) when code != 0
};

// One file the center holds for an institution.
struct HeldFile {
    std::string name;      // disk name, EB131204
    std::string fileDate;  // yyyymmdd
    long long size = 0;
    std::string state;  // received files: 06 not fetched, 08 fetched, 09 expired
    long long records = 0;
    long long amount = 0;
    long long okRecords = 0;
    long long okAmount = 0;
    std::string stamp;  // yyyymmddhhmmss of the send or of the result
};

class Center {
  public:
    explicit Center(std::string folder);

    // A file sent by `org`: checked, stored once.
    Answer Accept(const std::string& org, const std::string& name, const std::string& bytes,
                  HeldFile* held = nullptr);
    // The stored send of a file, if any.
    bool Sent(const std::string& org, const std::string& name, const std::string& fileDate,
              HeldFile& out) const;
    std::vector<HeldFile> SentFiles(const std::string& org, const std::string& from,
                                    const std::string& to) const;
    // True when the result of a sent EB13/EB21 has been produced.
    bool HasResult(const std::string& org, const std::string& name,
                   const std::string& fileDate) const;
    // A send can be taken back while no result exists for it.
    Answer Cancel(const std::string& org, const std::string& name, const std::string& fileDate);
    // Produces the results due (EB14 for EB13, EB22 for EB21) and lists what can be fetched.
    std::vector<HeldFile> Receivable(const std::string& org, const std::string& from,
                                     const std::string& to);
    // The bytes of a result file; marks it fetched. `expired` selects state 09.
    Answer Fetch(const std::string& org, const std::string& name, const std::string& fileDate,
                 bool expired, std::string& bytes);
    // A sent file handed back (reverse receipt).
    Answer FetchSent(const std::string& org, const std::string& name, const std::string& fileDate,
                     std::string& bytes);

    // Operator side.
    void AddRule(const std::string& line);
    std::vector<std::string> Rules() const;
    // Sets the receive state of a held result (09 = expired).
    Answer SetState(const std::string& org, const std::string& name, const std::string& fileDate,
                    const std::string& state);
    Answer IssueFile(const std::string& org, const std::string& name, const std::string& fileDate,
                     const std::string& bytes);
    std::vector<std::string> Notices() const;
    long long MonthLimit(const std::string& org) const;
    long long MonthUsed(const std::string& org, const std::string& yyyymm) const;

    const std::string& folder() const { return folder_; }
    // The institution's folder `box` (created when missing).
    std::string Box(const std::string& org, const std::string& box) const {
        return orgFolder(org, box);
    }

  private:
    std::string orgFolder(const std::string& org, const std::string& box) const;
    void produceResults(const std::string& org);
    // The result file of a send, with the count and sum of what it accepted.
    std::string resultOf(const std::string& org, const HeldFile& sent, long long& okRecords,
                         long long& okAmount) const;
    std::string folder_;
};

// The result's name of a sent request file: EB13MMDD → EB14MMDD, EB21MMDD → EB22MMDD.
std::string ResultName(const std::string& sentName);
// Writes `bytes` to `path` through a temporary file and a rename.
bool WriteAtomically(const std::string& path, const std::string& bytes);
// Like WriteAtomically, but fails (false) when `path` already exists.
bool WriteOnce(const std::string& path, const std::string& bytes);
bool ReadWhole(const std::string& path, std::string& bytes);
std::string NowStamp();  // yyyymmddhhmmss, local time

}  // namespace center
