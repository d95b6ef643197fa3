// Pieces of the pages the stand-in serves.
#pragma once

#include <string>

namespace qx::web {

// Text made safe to stand in HTML, inside elements and quoted attributes.
std::string HtmlEscape(const std::string& text);
// A whole page in UTF-8 with the title and body given (body is HTML).
std::string HtmlPage(const std::string& title, const std::string& body);

}  // namespace qx::web
