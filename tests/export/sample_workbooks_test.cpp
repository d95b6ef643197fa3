// The sample workbooks as written: the export writer's head and ending
// around one title row holding exactly the workbook's columns, in CP949.
#include "export/sample_workbooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "export/html_xls_writer.h"
#include "platform/codepage.h"

namespace qx {
namespace {

std::vector<std::string> TitleRow(const std::string& page) {
    std::vector<std::string> out;
    const std::size_t tr = page.find("<TR>");
    const std::size_t end = page.find("</TR>", tr);
    for (std::size_t td = page.find("<TD ", tr); td != std::string::npos && td < end;
         td = page.find("<TD ", td + 4)) {
        const std::size_t open = page.find('>', td) + 1;
        out.push_back(page.substr(open, page.find("</TD>", open) - open));
    }
    return out;
}

TEST(SampleWorkbooks, TitleRowOnlyInTheWritersShape) {
    struct Case {
        SampleWorkbook which;
        const char* path;
        const char* first;
        bool account;
    };
    const Case cases[] = {
        {SampleWorkbook::kAddUser, "expexcel/adduser.xls", "고객명", true},
        {SampleWorkbook::kEditMemberInfo, "expexcel/editmeminfo.xls", "납부자번호", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(SampleWorkbookPath(c.which), c.path);
        std::ostringstream out;
        ASSERT_TRUE(WriteSampleWorkbook(c.which, out));
        const std::string bytes = out.str();
        ASSERT_EQ(bytes.rfind(HtmlXlsPreamble(), 0), 0u);
        ASSERT_GE(bytes.size(), HtmlXlsEnding().size());
        EXPECT_EQ(bytes.substr(bytes.size() - HtmlXlsEnding().size()), HtmlXlsEnding());
        const std::string page = FromCp949(bytes);
        // One row: the titles; no sample member that could be imported by
        // mistake.
        EXPECT_EQ(page.find("<TR>", page.find("<TR>") + 1), std::string::npos);
        std::vector<std::string> titles;
        for (const auto& col : SampleWorkbookColumns(c.which)) titles.push_back(col.title);
        EXPECT_EQ(TitleRow(page), titles);
        EXPECT_EQ(titles.front(), c.first);
        EXPECT_EQ(std::count(titles.begin(), titles.end(), "계좌번호"), c.account ? 1 : 0);
        // A right-aligned title stays text rather than becoming the number 0.
        EXPECT_EQ(page.find("x:num=\"0\""), std::string::npos);
    }
}

TEST(SampleWorkbooks, MissingTextNamesTheFile) {
    EXPECT_EQ(SampleWorkbookMissingText("/opt/q/expexcel/adduser.xls"),
              "양식 파일이 없습니다. 프로그램을 업데이트 하신 후 다시 시도하십시오.\r\n"
              "(/opt/q/expexcel/adduser.xls)");
}

}  // namespace
}  // namespace qx
