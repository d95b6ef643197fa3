// What the tests of applying received result files share: an institution of
// their own, one desk's exchange and archive folders under a temporary root,
// the result script run in process and recorded call by call, and counts.
#pragma once

#include <cctype>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cms/result_file.h"
#include "cms/workspace/cms_folders.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx::test {

class ResultApplyTest : public FreshInstitutionTest {
  protected:
    // `kind` names the received files ("EB14"); `runTable` is the table the
    // application stages results in for the script.
    ResultApplyTest(std::string kind, std::string runTable)
        : kind_(std::move(kind)), runTable_(std::move(runTable)) {}

    void SetUp() override {
        OpenInstitution(1);
        root = std::filesystem::temp_directory_path() /
               ("qx-" + LowerKind() + "-" + std::to_string(inst.inx));
        std::filesystem::remove_all(root);
        session.SystemDrive = (root / "desk1").string() + "/";
        session.fileback_folder = (root / "back").string();
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // Where the desk of `s` finds the received file of `mmdd`.
    std::filesystem::path ResultPath(const SessionContext& s, const std::string& mmdd) const {
        return std::filesystem::path(ExchangeFolder(s, kind_)) / (kind_ + mmdd);
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    long long LogLines(const std::string& text) {
        return db->scalarInt("select count(*) from " + schema + ".pross_log where prostxt=?",
                             {text});
    }
    // The tables left of the member backup with `key`.
    long long BackupTables(long long key) {
        return db->scalarInt(
            "select count(*) from information_schema.tables where "
            "table_schema='quorisdex' and table_name=?",
            {"back_" + std::to_string(key)});
    }
    // One file of `yymmdd` went through the script with `staged` rows staged
    // for it: its member backup is dropped again, its success logged, the
    // run's `summary` shown last and the file moved from the exchange folder
    // to the archive.
    void ExpectOneFileApplied(const std::string& yymmdd, long long staged,
                              const std::string& summary) {
        EXPECT_EQ(calls, std::vector<std::string>{yymmdd});
        EXPECT_EQ(stagedAtCall, std::vector<long long>{staged});
        ASSERT_EQ(backupKeys.size(), 1u);
        EXPECT_GT(backupKeys[0], 0);
        EXPECT_EQ(BackupTables(backupKeys[0]), 0);
        const std::string name = kind_ + yymmdd.substr(2);
        EXPECT_EQ(LogLines(name + " 파일처리 완료"), 1);
        ASSERT_FALSE(ui.shown.empty());
        EXPECT_EQ(ui.shown.back().text, summary);
        EXPECT_FALSE(std::filesystem::exists(ResultPath(session, yymmdd.substr(2))));
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(session.fileback_folder) /
                                            inst.id / kind_ / ("20" + yymmdd.substr(0, 2)) / name));
    }
    // Files in the exchange folder that are not results of this kind (a
    // text file, a name in lower case) are deleted when `applyFolder` reads
    // the folder, which then has no file to apply (`applyFolder` says so)
    // and shows `noFilesText` alone.
    void ExpectForeignFilesDeleted(const std::function<bool()>& applyFolder,
                                   const std::string& noFilesText) {
        const std::filesystem::path folder = MakeExchangeFolder(session, kind_);
        const std::string lower = LowerKind();
        WriteBytes(folder / "readme.txt", "hello");
        WriteBytes(folder / (lower + "1204"), "lower case is not ours");
        EXPECT_TRUE(applyFolder());
        EXPECT_EQ(ui.texts(), std::vector<std::string>{noFilesText});
        EXPECT_FALSE(std::filesystem::exists(folder / "readme.txt"));
        EXPECT_FALSE(std::filesystem::exists(folder / (lower + "1204")));
    }
    // The result script run in process by `apply(inx, yymmdd)` on this
    // connection; each call records its day, its backup key and the rows
    // staged for it.
    template <class Apply>
    auto Recorded(Apply apply) {
        return [this, apply](long long inx, long long key, const std::string& yymmdd) {
            calls.push_back(yymmdd);
            backupKeys.push_back(key);
            stagedAtCall.push_back(Count(runTable_));
            return apply(inx, yymmdd);
        };
    }

    std::filesystem::path root;
    ScriptedInteraction ui;
    std::vector<std::string> calls;
    std::vector<long long> backupKeys, stagedAtCall;

  private:
    std::string LowerKind() const {
        std::string lower = kind_;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }
    std::string kind_, runTable_;
};

}  // namespace qx::test
