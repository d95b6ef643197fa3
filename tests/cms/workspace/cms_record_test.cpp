// Fixed-width records: byte positions, Hangul cut on whole characters,
// numbers that must fit, and files whose length is not whole records.
#include "cms/workspace/cms_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cms/workspace/file_names.h"
#include "platform/codepage.h"

namespace qx {
namespace {

TEST(CmsRecord, TextIsMeasuredInCp949BytesAndNeverSplitsASyllable) {
    // "가나다" is six bytes; five leave room for two syllables and a blank.
    const std::string r = RecordBuilder(12).text("가나다", 5).text("x", 1).finish();
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(FromCp949(r.substr(0, 4)), "가나");
    EXPECT_EQ(r.substr(4, 1), " ");
    EXPECT_EQ(r.substr(5, 1), "x");
    EXPECT_EQ(r.substr(6), std::string(6, ' '));
}

TEST(CmsRecord, NumbersAreZeroFilledAndMustFit) {
    EXPECT_EQ(RecordBuilder(8).number(42, 8).finish(), "00000042");
    EXPECT_THROW(RecordBuilder(8).number(123456789, 8), std::out_of_range);
    EXPECT_THROW(RecordBuilder(8).number(-1, 8), std::out_of_range);
    EXPECT_THROW(RecordBuilder(4).text("abcde", 5).finish(), std::logic_error);
}

TEST(CmsRecord, HeaderAndTrailerOfAShortAndALongFile) {
    const CivilDate d{2026, 12, 4};
    const std::string h = HeaderRecord("EB13", "9912345678", d);
    ASSERT_EQ(h.size(), 120u);
    EXPECT_EQ(h.substr(0, 33),
              std::string("H") + "00000000" + "9912345678" + "EB131204" + "261204");
    EXPECT_EQ(h.substr(33), std::string(87, ' '));

    const std::string t =
        TrailerRecord("EB21", "ABC", d, {{2, 8}, {2, 8}, {15000, 13}, {0, 8}, {0, 13}});
    ASSERT_EQ(t.size(), 150u);
    EXPECT_EQ(t.substr(0, 27), "T99999999ABC       EB211204");
    EXPECT_EQ(t.substr(27, 8), "00000002");
    EXPECT_EQ(t.substr(43, 13), "0000000015000");
    EXPECT_EQ(t.substr(56, 8), "00000000");
    EXPECT_EQ(t.substr(77), std::string(73, ' '));
}

TEST(CmsRecord, ReaderTakesFieldsByBytePosition) {
    const std::string rec = ToCp949("R00000001홍길동    0012");
    const RecordReader r(rec);
    EXPECT_EQ(r.type(), 'R');
    EXPECT_EQ(r.number(2, 8), 1);
    EXPECT_EQ(r.field(10, 10), "홍길동");
    EXPECT_EQ(r.number(20, 4), 12);
    EXPECT_EQ(r.number(10, 3), std::nullopt);
}

TEST(CmsRecord, ATruncatedFileIsFlaggedAndItsTailNeverRead) {
    const auto path = std::filesystem::temp_directory_path() / "qx-truncated-EB130101";
    std::ofstream(path, std::ios::binary) << std::string(120, 'R') << std::string(50, 'T');
    const auto file = ReadCmsFile(path.string(), 120);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->truncated);
    EXPECT_EQ(file->records.size(), 1u);
    EXPECT_EQ(file->size, 170u);
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadCmsFile(path.string(), 120));
}

// Every way a received file can break its header/data/trailer order is
// refused with the file's own text; a sound file is handed over in order and
// the first objection of a visitor stops the walk.
TEST(CmsRecord, VisitingAFileKeepsHeaderDataTrailerOrder) {
    const auto path = std::filesystem::temp_directory_path() / "qx-visit-EB110101";
    const auto rec = [](char type, char mark = ' ') {
        std::string r(10, ' ');
        r[0] = type;
        r[1] = mark;
        return r;
    };
    const std::string h = rec('H'), d = rec('R'), t = rec('T');
    struct Case {
        const char* name;
        std::string bytes;
        std::string error;  // "" for a sound file
        std::string seen;   // the types visited, in order
    };
    const std::vector<Case> cases = {
        {"sound", h + d + d + t, "", "HRRT"},
        {"no data", h + t, "", "HT"},
        {"empty", "", "bad", ""},
        {"partial record", h + d + t + "R", "bad", ""},
        {"no header", d + t, "bad", ""},
        {"second header", h + h + d + t, "bad", "H"},
        {"unknown type", h + rec('X') + t, "bad", "H"},
        {"after trailer", h + d + t + d, "bad", "HRT"},
        {"no trailer", h + d, "bad", "HR"},
        {"visitor objects", h + rec('R', '!') + d + t, "objection", "HR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        std::string seen;
        const auto visit = [&seen](const RecordReader& r, const std::string& bytes) {
            seen += r.type();
            return bytes[1] == '!' ? std::string("objection") : std::string();
        };
        EXPECT_EQ(VisitCmsFile(path.string(), 10, "bad", {visit, visit, visit}), c.error);
        EXPECT_EQ(seen, c.seen);
    }
    std::filesystem::remove(path);
    EXPECT_EQ(VisitCmsFile(path.string(), 10, "bad", {}), "bad");
    EXPECT_EQ(NameInHeader("/x/y/20261204EB111204"), "EB111204");
    EXPECT_EQ(NameInHeader("/x/EB11"), "EB11");
}

TEST(CmsFileNames, TheFourFormsOfOneFile) {
    const CivilDate d{2026, 12, 4};
    EXPECT_EQ(DiskFileName("EB13", d), "EB131204");
    EXPECT_EQ(DatabaseFileName("EB13", d), "EB13261204");
    EXPECT_EQ(RelayFileName(DatabaseFileName("EB13", d)), "13261204");
    EXPECT_EQ(PartnerKey("EB141204"), PartnerKey("EB131204"));
    EXPECT_EQ(Yyyymmdd(CivilDate{2027, 1, 9}), "20270109");
}

}  // namespace
}  // namespace qx
