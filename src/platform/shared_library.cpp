#include "platform/shared_library.h"

#include <dlfcn.h>

namespace qx {

SharedLibrary::~SharedLibrary() {
    if (handle_) dlclose(handle_);
}

bool SharedLibrary::open(const std::string& path) {
    if (handle_) dlclose(handle_);
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = why ? why : path;
    }
    return handle_ != nullptr;
}

void* SharedLibrary::symbol(const std::string& name) const {
    return handle_ ? dlsym(handle_, name.c_str()) : nullptr;
}

}  // namespace qx
