// The partner identifier the clearing-house library is opened with: Login.ini's,
// unless the environment overrides it; the built-in one when neither is set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cms/transmission/kftc_transfer.h"
#include "core/session_context.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

TEST(KftcPartnerTest, LoginIniFirstThenBuiltInAndTheEnvironmentOverBoth) {
    const fs::path app = fs::temp_directory_path() / ("qx-partner-" + std::to_string(::getpid()));
    fs::remove_all(app);
    fs::create_directories(app);
    SessionContext s;
    s.AppPath = app.string() + "/";
    unsetenv("QUORISDEX_KFTC_PARTNER");
    EXPECT_EQ(KftcPartnerId(s), "QRSD260315");  // no Login.ini

    std::ofstream(app / "Login.ini") << "[SYSTEM]\r\nDBCONNIP=127.0.0.1\r\nKFTCPARTNER=\r\n";
    EXPECT_EQ(KftcPartnerId(s), "QRSD260315");  // empty key

    std::ofstream(app / "Login.ini") << "[SYSTEM]\r\nKFTCPARTNER= ABCD123456 \r\n";
    EXPECT_EQ(KftcPartnerId(s), "ABCD123456");
    setenv("QUORISDEX_KFTC_PARTNER", "WXYZ654321", 1);
    EXPECT_EQ(KftcPartnerId(s), "WXYZ654321");
    unsetenv("QUORISDEX_KFTC_PARTNER");
    fs::remove_all(app);
}

}  // namespace
}  // namespace qx
