#include "html.h"

namespace qx::web {

std::string HtmlPage(const std::string& title, const std::string& body) {
    return "<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
           "</title></head><body>" + body + "</body></html>";
}

}  // namespace qx::web
