// An Interaction that answers from a script and remembers every text shown.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/interaction.h"

namespace qx::test {

class ScriptedInteraction : public Interaction {
  public:
    struct Shown {
        std::string title, text;
        bool question;
    };

    void inform(const std::string& text, const std::string& title) override {
        shown.push_back({title, text, false});
    }
    bool confirm(const std::string& text, const std::string& title) override {
        shown.push_back({title, text, true});
        if (answers.empty()) return defaultAnswer;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void progress(const std::string&, long long done, long long total) override {
        progressed.emplace_back(done, total);
    }
    std::string chooseFolder(const std::string&, const std::string& start) override {
        return folder.empty() ? start : folder;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown) out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::vector<std::pair<long long, long long>> progressed;  // (done, total)
    std::deque<bool> answers;
    bool defaultAnswer = false;
    std::string folder;
};

}  // namespace qx::test
