// The one escaping routine for statements that must be built as text (the
// multi-row inserts); everything else binds its values as parameters.
#pragma once

#include <string>

namespace qx {

// The text as a quoted literal for MariaDB: quotes doubled, backslashes and NULs escaped.
std::string SqlQuote(const std::string& text);

}  // namespace qx
