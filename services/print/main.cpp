// quorisdex-print LAYOUT FOLDER [PDF] [--no-view]: reads FOLDER/prnlist.prn,
// lays it out by LAYOUT ("Quorisdex" + number) into PDF (default
// FOLDER/prnlist.pdf) and opens it with the desktop's viewer unless told
// not to or QUORISDEX_NO_VIEWER is set. Exit 0 when the PDF was written.
#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/process_control.h"
#include "print_layout.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<std::string> args;
    bool view = std::getenv("QUORISDEX_NO_VIEWER") == nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--no-view")
            view = false;
        else
            args.push_back(a);
    }
    if (args.size() < 2 || args.size() > 3) {
        std::cerr << "usage: quorisdex-print LAYOUT FOLDER [PDF] [--no-view]\n";
        return 2;
    }
    const int layout = qx::print::LayoutNumber(args[0]);
    if (layout < 0) {
        std::cerr << "알 수 없는 인쇄 양식입니다: " << args[0] << "\n";
        return 2;
    }
    const fs::path folder = args[1];
    const fs::path pdf = args.size() == 3 ? fs::path(args[2]) : folder / "prnlist.pdf";
    std::ifstream in(folder / qx::kPrintListName, std::ios::binary);
    if (!in) {
        std::cerr << "인쇄 파일이 없습니다: " << (folder / qx::kPrintListName).string() << "\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    // Nothing is shown on screen: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const qx::PrintList list = qx::ReadPrintList(text.str());
        // Written beside the target first, so a viewer never sees half a file.
        const fs::path part = pdf.string() + ".part";
        const int pages = qx::print::WritePdf(list, layout, QString::fromStdString(part.string()));
        std::error_code ec;
        fs::rename(part, pdf, ec);
        if (ec) {
            fs::remove(part, ec);
            std::cerr << "PDF 파일을 저장하지 못했습니다: " << pdf.string() << "\n";
            return 1;
        }
        std::cout << pdf.string() << "\t" << pages << "\n";
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (view) qx::OpenWithDesktop(pdf.string());
    return 0;
}
