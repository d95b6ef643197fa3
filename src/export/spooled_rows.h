// A list printed row by row (a title row, then data rows) kept in a
// temporary file until it ends, then handed to the exporters as a row
// source. Lists of any length pass with flat memory. Alignment and width of
// each column are judged from the whole list, since a printed list carries
// only texts.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class SpooledRows : public ExportRowSource {
  public:
    // Throws std::runtime_error when no temporary file can be made.
    SpooledRows();
    ~SpooledRows() override;
    SpooledRows(const SpooledRows&) = delete;
    SpooledRows& operator=(const SpooledRows&) = delete;

    // The first row given is the title row.
    void add(const std::vector<std::string>& cells);
    // Ends the list: columns are judged and reading starts at the first
    // data row. False when the temporary file could not be written.
    bool finish();

    const std::vector<ExportColumn>& columns() const override { return columns_; }
    long long rowCount() const override { return rows_; }
    bool next(std::vector<std::string>& cells) override;

  private:
    struct FileCloser {
        void operator()(std::FILE* f) const {
            if (f) std::fclose(f);
        }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<std::string> titles_;
    std::vector<ExportColumn> columns_;
    std::vector<bool> numeric_, filled_;
    std::vector<long long> widest_;
    long long rows_ = 0;
    bool haveTitles_ = false;
    bool failed_ = false;
};

// Whether a printed cell reads as an amount or a count: digits with an
// optional sign and thousands separators, no leading zero, at most 15 digits.
bool LooksLikeAmount(const std::string& text);
// Whether a column title names a code, number or date, whose digits are
// text (leading zeros, no thousands separators).
bool TitleNamesText(const std::string& title);

}  // namespace qx
