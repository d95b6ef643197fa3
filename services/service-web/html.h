// Pieces of the pages the stand-in serves.
#pragma once

#include <string>

#include "platform/http.h"

namespace qx::web {

// The client's own escaping serves the pages too.
using qx::HtmlEscape;
// A whole page in UTF-8 with the title and body given (body is HTML).
std::string HtmlPage(const std::string& title, const std::string& body);

}  // namespace qx::web
