// What the tests of taking back created files share: an institution of their
// own whose desk's drive is a temporary folder, removed when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx::test {

class RollbackTest : public FreshInstitutionTest {
  protected:
    // The drive is "<folder><institution>" under the temporary directory.
    explicit RollbackTest(std::string folder) : folder_(std::move(folder)) {}

    void Open(int cmsrunprg) {
        OpenInstitution(cmsrunprg);
        root = std::filesystem::temp_directory_path() / (folder_ + std::to_string(inst.inx));
        session.SystemDrive = root.string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path root;
    ScriptedInteraction ui;

  private:
    std::string folder_;
};

}  // namespace qx::test
