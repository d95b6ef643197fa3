#include "cms/rollback/maintenance_password.h"

namespace qx {

namespace {
constexpr const char* kMaintenancePassword = "vornadesk";
}

bool IsMaintenancePassword(const std::string& text) {
    return text == kMaintenancePassword;
}

}  // namespace qx
