#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace qx {

SingleInstance::SingleInstance(const std::string& name) {
    std::string dir = "/tmp";
    if (const char* r = std::getenv("XDG_RUNTIME_DIR"); r && *r) dir = r;
    const std::string path = dir + "/" + name + "-" + std::to_string(getuid()) + ".lock";
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    // The lock goes away with the process, so a crash never blocks the next start.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace qx
