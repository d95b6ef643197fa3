// Exporting the member list: time and peak memory for 10,000 and 100,000
// members in both formats. Memory must stay flat: the list is read a page at
// a time and every row goes to the file before the next is read.
//   quorisdex-export-bench HOST:PORT [MEMBERS…]   (default 10000 100000)
#include <fmt/format.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "export/excel_export.h"
#include "export/member_export.h"
#include "member_generator.h"
#include "platform/interaction.h"

namespace {

using namespace qx;
using namespace qx::bench;

class Quiet : public Interaction {
  public:
    void inform(const std::string& text, const std::string&) override { last = text; }
    bool confirm(const std::string&, const std::string&) override { return false; }
    std::string last;
};

SessionContext Make(Database& db, long long members) {
    const BenchInstitution made = CreateBenchInstitution(db, 80000, "xbench", 9700000000LL);
    MemberMix mix;
    mix.registered = members;
    GenerateMembers(db, made.schema, mix);
    SessionContext s = BenchSession(made);
    s.cmsrunprg = 1;
    db.setLogSchema(made.schema);
    BuildCodeCaseSql(db, s);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: quorisdex-export-bench HOST:PORT [MEMBERS…]\n";
        return 2;
    }
    std::vector<long long> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::stoll(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    Database db;
    if (!ConnectBenchDatabase(argv[1], db)) return 2;
    const auto folder = std::filesystem::temp_directory_path() / "qx_export_bench";
    std::filesystem::create_directories(folder);
    std::cout << "members\tformat\trows\tseconds\tpeak_extra_kib\tfile_kib\n";
    for (long long n : sizes) {
        SessionContext s = Make(db, n);
        const auto layout = MemberListColumns(kDefaultMemberView, 0);
        for (auto format : {ExportFormat::kHtmlXls, ExportFormat::kXlsx}) {
            Quiet ui;
            MemberExportSource source(db, s, {}, layout, false);
            std::vector<int> all(source.columns().size());
            for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
            const auto path =
                folder / (format == ExportFormat::kXlsx ? "members.xlsx" : "members.xls");
            StepCost cost;
            const ExportOutcome out = MeasureStep(
                cost, [&] { return ExportToFile(source, all, path.string(), format, ui, false); });
            const double seconds = cost.seconds;
            const long long extra = cost.extraKib;
            if (!out.written) {
                std::cerr << "export failed: " << ui.last << "\n";
                return 1;
            }
            std::cout << fmt::format("{}\t{}\t{}\t{:.2f}\t{}\t{}\n", n,
                                     format == ExportFormat::kXlsx ? "xlsx" : "xls", out.rows,
                                     seconds, extra, std::filesystem::file_size(path) / 1024);
            std::filesystem::remove(path);
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}
