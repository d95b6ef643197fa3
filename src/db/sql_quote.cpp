#include "db/sql_quote.h"

namespace qx {

std::string SqlQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "''";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\0') {
            out += "\\0";
        } else {
            out += c;
        }
    }
    return out + "'";
}

}  // namespace qx
