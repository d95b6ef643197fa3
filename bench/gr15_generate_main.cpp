// Writes a GR15 receipt statement for tests and the demo:
//   quorisdex-gr15-generate --giro-code CODE --date YYMMDD --out FOLDER
//       [--count N NUMBER…] [--line NUMBER:AMOUNT[:R|A]]…
// --count spreads N payments over the customer numbers given; each --line
// adds one payment as written. Prints the path written.
#include <CLI/CLI.hpp>
#include <iostream>

#include "support/gr15_generator.h"

int main(int argc, char** argv) {
    CLI::App app("GR15 receipt statement generator");
    std::string giroCode, date, out;
    long long count = 0;
    std::vector<std::string> numbers, lines;
    app.add_option("--giro-code", giroCode, "the institution's giro code")->required();
    app.add_option("--date", date, "transfer date YYMMDD")->required();
    app.add_option("--out", out, "folder to write GR15<date> into")->required();
    app.add_option("--count", count, "payments spread over NUMBER…");
    app.add_option("--line", lines, "NUMBER:AMOUNT[:R|A]")->allow_extra_args(false);
    app.add_option("NUMBER", numbers, "customer numbers");
    CLI11_PARSE(app, argc, argv);
    try {
        auto payments = qx::test::Gr15Payments(numbers, count);
        for (const std::string& l : lines) {
            const auto first = l.find(':');
            if (first == std::string::npos) throw std::invalid_argument("--line " + l);
            const auto second = l.find(':', first + 1);
            qx::test::Gr15Line line;
            line.giroNo = l.substr(0, first);
            line.amount = std::stoll(l.substr(first + 1, second - first - 1));
            if (second != std::string::npos) line.processingKind = l.at(second + 1);
            payments.push_back(line);
        }
        std::cout << qx::test::WriteGr15File(out, date,
                                             qx::test::Gr15FileBytes(giroCode, date, payments))
                  << std::endl;
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 2;
    }
    return 0;
}
