// A list as the exporters see it: column titles, widths and alignments, and
// rows handed over one at a time so that no exporter holds a whole list.
#pragma once

#include <string>
#include <vector>

namespace qx {

// Alignment codes of the grids: 1 left, 4 centre, 7 right.
enum class ColumnAlignment : int { kLeft = 1, kCentre = 4, kRight = 7 };

struct ExportColumn {
    std::string title;
    int widthTwips = 1500;
    ColumnAlignment alignment = ColumnAlignment::kLeft;
};

class ExportRowSource {
  public:
    virtual ~ExportRowSource() = default;
    virtual const std::vector<ExportColumn>& columns() const = 0;
    // Number of data rows when known beforehand, else -1.
    virtual long long rowCount() const { return -1; }
    // Fills the cells of the next data row (one per column); false at the end.
    virtual bool next(std::vector<std::string>& cells) = 0;
};

// A source over rows already in memory (small lists and tests).
class VectorRowSource : public ExportRowSource {
  public:
    VectorRowSource(std::vector<ExportColumn> columns, std::vector<std::vector<std::string>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}
    const std::vector<ExportColumn>& columns() const override { return columns_; }
    long long rowCount() const override { return static_cast<long long>(rows_.size()); }
    bool next(std::vector<std::string>& cells) override {
        if (next_ >= rows_.size()) return false;
        cells = rows_[next_++];
        cells.resize(columns_.size());
        return true;
    }

  private:
    std::vector<ExportColumn> columns_;
    std::vector<std::vector<std::string>> rows_;
    std::size_t next_ = 0;
};

}  // namespace qx
