// The one seam between an operation and the person running it. The desktop
// shows message boxes and progress dialogs; the CLI prints and answers from
// its options; tests script the answers and record every text shown.
#pragma once

#include <string>

namespace qx {

inline constexpr const char* kDefaultTitle = "확인";

class Interaction {
  public:
    virtual ~Interaction() = default;
    virtual void inform(const std::string& text, const std::string& title = kDefaultTitle) = 0;
    virtual bool confirm(const std::string& text, const std::string& title = kDefaultTitle) = 0;
    virtual void progress(const std::string& /*text*/, long long /*done*/, long long /*total*/) {}
    // Folder or file choice where an operation asks for one; empty = cancelled.
    virtual std::string chooseFolder(const std::string& /*caption*/, const std::string& start) {
        return start;
    }
    virtual std::string chooseFile(const std::string& /*caption*/, const std::string& /*filter*/) {
        return {};
    }
};

}  // namespace qx
