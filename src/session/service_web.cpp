#include "session/service_web.h"

#include "platform/http.h"
#include "platform/profile_ini.h"

namespace qx {

std::string ReadWebHost(const ProfileIni& ini) {
    std::string host = ini.read("SYSTEM", "WEBHOST", "");
    while (!host.empty() && (host.back() == '/' || host.back() == ' ')) host.pop_back();
    return host;
}

std::string ServiceUrl(const std::string& webHost, const std::string& pathAndQuery) {
    if (webHost.empty()) return {};
    return webHost + pathAndQuery;
}

std::string IpCheckUrl(const std::string& webHost) {
    return ServiceUrl(webHost, std::string(kIpCheckPath) + "?ipchk=ravellon");
}

std::string NoticePageUrl(const std::string& webHost, const std::string& number) {
    return ServiceUrl(webHost, std::string(kNoticePagePath) + "?no=" + UrlEncode(number));
}

std::string BoardPageUrl(const std::string& webHost, const std::string& act) {
    return ServiceUrl(webHost, std::string(kBoardPagePath) + "?act=" + UrlEncode(act));
}

IpLookup ServiceIpLookup(const std::string& webHost) {
    return [url = IpCheckUrl(webHost)] { return HttpGetTextInteractive(url); };
}

}  // namespace qx
