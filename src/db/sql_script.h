// Runs the DDL files of sql/: statements end with ';' at the end of a line,
// lines starting with "--" are comments.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qx {

class Database;

std::vector<std::string> SplitSqlScript(const std::string& text);

// Folder of the DDL files: QUORISDEX_SQL_DIR, else the source tree's sql/.
std::string SqlDirectory();

// Loads sql/<name>, replaces each {token} given, runs every statement.
// Throws std::runtime_error when the file cannot be read.
void RunSqlFile(Database& db, const std::string& name,
                const std::vector<std::pair<std::string, std::string>>& replacements = {});

}  // namespace qx
