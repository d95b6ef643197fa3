// Writes the sample workbooks into DIR/expexcel, where the program looks for
// them beside itself: quorisdex-expexcel DIR
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "export/sample_workbooks.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorisdex-expexcel DIR\n");
        return 2;
    }
    for (const qx::SampleWorkbook which : qx::kSampleWorkbooks) {
        const fs::path target = fs::path(argv[1]) / qx::SampleWorkbookPath(which);
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        fs::path temp = target;
        temp += ".part";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!qx::WriteSampleWorkbook(which, out) || (out.close(), !out)) {
                std::fprintf(stderr, "cannot write %s\n", temp.c_str());
                fs::remove(temp, ec);
                return 1;
            }
        }
        fs::rename(temp, target, ec);
        if (ec) {
            std::fprintf(stderr, "cannot write %s\n", target.c_str());
            return 1;
        }
    }
    return 0;
}
