#include "html.h"

namespace qx::web {

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlPage(const std::string& title, const std::string& body) {
    return "<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
           "</title></head><body>" + body + "</body></html>";
}

}  // namespace qx::web
