// The address check of the login: answers the caller's address as text.
#include "service_web.h"

namespace qx::web {

Reply IpCheck(ServiceDatabase&, const Request& request) {
    return Reply::Text(request.remoteAddr);
}

}  // namespace qx::web
