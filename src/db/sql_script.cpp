#include "db/sql_script.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "db/database.h"
#include "platform/profile_ini.h"

namespace qx {

std::vector<std::string> SplitSqlScript(const std::string& text) {
    std::vector<std::string> out;
    std::string current;
    char quote = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (quote == 0) {
            auto first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line.compare(first, 2, "--") == 0) continue;
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (quote) {
                if (c == '\\' && i + 1 < line.size()) {
                    ++i;
                } else if (c == quote) {
                    quote = 0;
                }
            } else if (c == '\'' || c == '"' || c == '`') {
                quote = c;
            }
        }
        current += line;
        current += '\n';
        auto last = line.find_last_not_of(" \t");
        if (quote == 0 && last != std::string::npos && line[last] == ';') {
            auto end = current.find_last_of(';');
            std::string stmt = current.substr(0, end);
            if (stmt.find_first_not_of(" \t\n") != std::string::npos) out.push_back(stmt);
            current.clear();
        }
    }
    if (current.find_first_not_of(" \t\n") != std::string::npos) out.push_back(current);
    return out;
}

std::string SqlDirectory() {
    if (const char* env = std::getenv("QUORISDEX_SQL_DIR"); env && *env) return env;
    return QUORISDEX_SQL_DIR;
}

void RunSqlFile(Database& db, const std::string& name,
                const std::vector<std::pair<std::string, std::string>>& replacements) {
    const std::string path = SqlDirectory() + "/" + name;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    std::string text = *bytes;
    for (const auto& [token, value] : replacements) {
        for (auto pos = text.find(token); pos != std::string::npos;
             pos = text.find(token, pos + value.size())) {
            text.replace(pos, token.size(), value);
        }
    }
    for (const auto& stmt : SplitSqlScript(text)) db.ExecuteSql(stmt);
}

}  // namespace qx
