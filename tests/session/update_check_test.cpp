#include "session/update_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/loopback_http.h"
#include "platform/profile_ini.h"
#include "platform/sha256.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNow = "2026020709";

// Remembers what the update window showed.
class RecordingDisplay : public UpdateDisplay {
  public:
    void caption(const std::string& text) override { captions.push_back(text); }
    void status(const std::string& text) override { statuses.push_back(text); }
    std::vector<std::string> captions, statuses;
};

std::string Read(const fs::path& p) {
    return ReadWholeFile(p.string()).value_or("");
}

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

// A program folder and a local folder that plays the update server.
class UpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("qx_update_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        app_ = root_ / "app";
        upgrade_ = root_ / "server" / "html" / "upgrade";
        fs::create_directories(app_);
        fs::create_directories(upgrade_);
        ini_ = std::make_unique<ProfileIni>((app_ / "Login.ini").string());
        ini_->write("SYSTEM", "FTPCONNIP", "file://" + (root_ / "server").string());
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string appPath() const { return app_.string() + "/"; }

    // The released stamps: every companion at the initial stamp unless given.
    void publishVersion(const std::vector<std::pair<std::string, std::string>>& stamps,
                        bool withCompanionDefaults = true) {
        std::string text = "[SYSTEM]\r\n";
        if (withCompanionDefaults) {
            for (const auto& f : kCompanionFiles) {
                bool given = false;
                for (const auto& [k, v] : stamps) given = given || k == f.key;
                if (!given) text += std::string(f.key) + "=" + kInitialStamp + "\r\n";
            }
        }
        for (const auto& [k, v] : stamps) text += k + "=" + v + "\r\n";
        Write(upgrade_ / "quorisdex.ini", text);
    }
    // A release of `program`: its stamp, size and SHA-256 in the version file.
    void publishProgram(const std::string& program, const std::string& stamp = "2026020500") {
        std::vector<std::pair<std::string, std::string>> keys = {
            {kReleaseSizeKey, std::to_string(program.size())},
            {kReleaseSha256Key, Sha256Hex(program)}};
        if (!stamp.empty()) keys.emplace_back("LASTUPDATETIME", stamp);
        publishVersion(keys);
        Write(upgrade_ / "quorisdex", program);
    }

    bool check(FtpSession& ftp) {
        UpdateContext ctx{appPath(), "quorisdex", *ini_, ftp, display_, [] { return kNow; }};
        const bool downloaded = CheckForUpdate(ctx);
        release_ = ctx.release;
        return downloaded;
    }
    bool check() {
        FtpSession ftp(ReadUpdateServer(*ini_));
        ftp.setFolder(kUpgradeFolder);
        return check(ftp);
    }

    fs::path root_, app_, upgrade_;
    std::unique_ptr<ProfileIni> ini_;
    RecordingDisplay display_;
    ReleasedProgram release_;
};

TEST(UpdateCaption, StampShownAsDateAndHour) {
    EXPECT_EQ(UpdateCaption("2004090601"), "Auto-UpGrade V1.5   2004.09.06/01h");
    EXPECT_EQ(UpdateCaption("2026"), "Auto-UpGrade V1.5   2026.  .  /  h");
}

TEST_F(UpdateTest, VersionFileWithoutLastUpdateTimeDownloadsTheMainProgram) {
    publishProgram("#!/bin/sh\necho new\n", "");
    ini_->write("SYSTEM", "MEUPDATE", "2026010100");

    EXPECT_TRUE(check());

    EXPECT_EQ(Read(app_ / "quorisdex_ext"), "#!/bin/sh\necho new\n");
    EXPECT_EQ(release_.stamp, kNow);  // missing key = current hour
    EXPECT_EQ(release_.size, 19);
    EXPECT_EQ(release_.sha256, Sha256Hex("#!/bin/sh\necho new\n"));
    // Recorded only once the new program has been swapped in and started.
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026010100");
    EXPECT_FALSE(fs::exists(app_ / "quorisdex.ini"));  // the local copy is gone
    EXPECT_EQ(display_.statuses,
              (std::vector<std::string>{kCheckingUpdateMessage, kMainProgramChangedMessage}));
    // Nothing else changed, so every companion keeps the initial stamp.
    for (const auto& f : kCompanionFiles) {
        EXPECT_EQ(ini_->read("SYSTEM", f.key, ""), kInitialStamp) << f.key;
    }
}

TEST_F(UpdateTest, SameStampsDownloadNothing) {
    publishVersion({{"LASTUPDATETIME", "2026020101"}});
    Write(upgrade_ / "quorisdex", "new program");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_EQ(display_.statuses, (std::vector<std::string>{kCheckingUpdateMessage}));
    EXPECT_EQ(ini_->read("SYSTEM", "QUORPRINTFILE", ""), kInitialStamp);  // written all the same
}

TEST_F(UpdateTest, EachChangedOrMissingStampFetchesItsFile) {
    // QUORPRINTFILE released anew; LUMABILLFILE absent from the version file,
    // so it counts as the current hour and is fetched too.
    std::string text = "[SYSTEM]\r\nLASTUPDATETIME=2026020101\r\nQUORPRINTFILE=2026020500\r\n";
    for (const char* key :
         {"ADDUSEREXCELFILE", "EDITEXCELFILE", "MEMEDITEXCELFILE", "BILLPRINTFILE"}) {
        text += std::string(key) + "=" + kInitialStamp + "\r\n";
    }
    Write(upgrade_ / "quorisdex.ini", text);
    Write(upgrade_ / "QuorPrint.exe", "print v2");
    Write(upgrade_ / "lumabill.exe", "lumabill v2");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_EQ(Read(app_ / "QuorPrint.exe"), "print v2");
    EXPECT_EQ(Read(app_ / "lumabill.exe"), "lumabill v2");
    EXPECT_FALSE(fs::exists(app_ / "BillPrint.exe"));
    EXPECT_EQ(ini_->read("SYSTEM", "QUORPRINTFILE", ""), "2026020500");
    EXPECT_EQ(ini_->read("SYSTEM", "LUMABILLFILE", ""), kNow);
    EXPECT_EQ(display_.statuses,
              (std::vector<std::string>{kCheckingUpdateMessage, "인쇄 파일 다운로드.",
                                        "세금계산서 파일 다운로드."}));
}

TEST_F(UpdateTest, ExcelTemplatesGoToTheirFolder) {
    publishVersion({{"LASTUPDATETIME", "2026020101"}, {"ADDUSEREXCELFILE", "2026020300"}});
    Write(upgrade_ / "adduser.xls", "template");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_EQ(Read(app_ / "expexcel" / "adduser.xls"), "template");
    EXPECT_EQ(display_.statuses[1], "일괄등록용 Excel 파일 다운로드.");
}

TEST_F(UpdateTest, FailedCompanionDownloadKeepsTheOldFileAndStamp) {
    publishVersion({{"LASTUPDATETIME", "2026020101"}, {"BILLPRINTFILE", "2026020500"}});
    Write(app_ / "BillPrint.exe", "old bill print");  // the server has no new one
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_EQ(Read(app_ / "BillPrint.exe"), "old bill print");
    EXPECT_EQ(ini_->read("SYSTEM", "BILLPRINTFILE", "unwritten"),
              "unwritten");  // fetched again later
}

TEST_F(UpdateTest, NoVersionFileOnTheServerSkipsTheUpdate) {
    Write(upgrade_ / "quorisdex", "new program");
    Write(app_ / "quorisdex.ini", "[SYSTEM]\r\nLASTUPDATETIME=1\r\n");  // stale local copy

    EXPECT_FALSE(check());

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_FALSE(fs::exists(app_ / "quorisdex.ini"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "");
}

TEST_F(UpdateTest, MissingMainProgramKeepsTheOldStamp) {
    publishProgram("new program");
    fs::remove(upgrade_ / "quorisdex");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
}

TEST_F(UpdateTest, CutOffMainProgramDownloadLeavesTheOldProgram) {
    test::LoopbackHttp server;
    std::string version =
        "[SYSTEM]\r\nLASTUPDATETIME=2026020500\r\nLASTUPDATESIZE=50000\r\n"
        "LASTUPDATESHA256=" +
        Sha256Hex(std::string(50000, 'x')) + "\r\n";
    for (const auto& f : kCompanionFiles)
        version += std::string(f.key) + "=" + kInitialStamp + "\r\n";
    server.answer("/html/upgrade/quorisdex.ini", test::LoopbackHttp::Ok(version));
    server.answer("/html/upgrade/quorisdex", test::LoopbackHttp::CutShort("#!/bin/sh\n", 50000));
    ini_->write("SYSTEM", "FTPCONNIP", server.base());
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext.part"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
}

// Downloads that arrive "complete" but are not the release: the transfer
// cannot tell, the check of size and SHA-256 can.
TEST_F(UpdateTest, DownloadThatIsNotTheReleaseIsDiscardedWithAMessage) {
    const std::string program = "#!/bin/sh\n" + std::string(3000, 'p') + "\n";
    std::string changed = program;
    changed[500] = 'q';
    const std::pair<const char*, std::string> cases[] = {
        {"cut-off file", program.substr(0, 1000)},
        {"one byte changed", changed},
        {"longer file", program + "x"},
    };
    for (const auto& [name, served] : cases) {
        SCOPED_TRACE(name);
        display_.statuses.clear();
        publishProgram(program);
        Write(upgrade_ / "quorisdex", served);
        ini_->write("SYSTEM", "MEUPDATE", "2026020101");
        EXPECT_FALSE(check());
        EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
        EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
        EXPECT_EQ(display_.statuses.back(), kDownloadRejectedMessage);
    }
}

// A server that sends part of the program without a length and closes: the
// transfer looks complete.
TEST_F(UpdateTest, AnswerCutOffWithoutALengthIsDiscarded) {
    test::LoopbackHttp server;
    const std::string program(200000, 'p');
    std::string version =
        "[SYSTEM]\r\nLASTUPDATETIME=2026020500\r\nLASTUPDATESIZE=200000\r\n"
        "LASTUPDATESHA256=" +
        Sha256Hex(program) + "\r\n";
    for (const auto& f : kCompanionFiles)
        version += std::string(f.key) + "=" + kInitialStamp + "\r\n";
    server.answer("/html/upgrade/quorisdex.ini", test::LoopbackHttp::Ok(version));
    server.answer("/html/upgrade/quorisdex",
                  "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + program.substr(0, 100000));
    ini_->write("SYSTEM", "FTPCONNIP", server.base());
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
    EXPECT_EQ(display_.statuses.back(), kDownloadRejectedMessage);
}

TEST_F(UpdateTest, ReleaseWithoutCheckValuesIsNotApplied) {
    for (const auto& keys : std::vector<std::vector<std::pair<std::string, std::string>>>{
             {{"LASTUPDATETIME", "2026020500"}},
             {{"LASTUPDATETIME", "2026020500"}, {kReleaseSizeKey, "11"}},
             {{"LASTUPDATETIME", "2026020500"}, {kReleaseSha256Key, Sha256Hex("new program")}},
             {{"LASTUPDATETIME", "2026020500"},
              {kReleaseSizeKey, "eleven"},
              {kReleaseSha256Key, Sha256Hex("new program")}}}) {
        display_.statuses.clear();
        publishVersion(keys);
        Write(upgrade_ / "quorisdex", "new program");
        ini_->write("SYSTEM", "MEUPDATE", "2026020101");
        EXPECT_FALSE(check());
        EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
        EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
        EXPECT_EQ(display_.statuses.back(), kReleaseUnverifiableMessage);
    }
}

TEST_F(UpdateTest, ConfirmedStartRecordsThePendingReleaseAndDropsThePreviousProgram) {
    const fs::path exe = root_ / "bin" / "quorisdex";
    Write(exe, "new");
    Write(root_ / "bin" / "quorisdex_prev", "old");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");
    ini_->write("SYSTEM", kPendingStampKey, "2026020500");

    ConfirmStartedProgram(exe.string(), *ini_);

    EXPECT_FALSE(fs::exists(root_ / "bin" / "quorisdex_prev"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020500");
    EXPECT_EQ(ini_->read("SYSTEM", kPendingStampKey, ""), "");
    // An ordinary start changes nothing.
    ConfirmStartedProgram(exe.string(), *ini_);
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020500");
    EXPECT_EQ(Read(exe), "new");
}

TEST_F(UpdateTest, EmptyMainProgramIsNotHandedOver) {
    publishVersion({{"LASTUPDATETIME", "2026020500"},
                    {kReleaseSizeKey, "0"},
                    {kReleaseSha256Key, Sha256Hex("")}});
    Write(upgrade_ / "quorisdex", "");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");

    EXPECT_FALSE(check());
    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
}

TEST_F(UpdateTest, StartupWithoutServerDoesNothing) {
    ini_->write("SYSTEM", "FTPCONNIP", "");
    HandOver h;
    h.appPath = appPath();
    h.start = [](const std::string&, const std::vector<std::string>&) {
        ADD_FAILURE() << "nothing may be started";
        return true;
    };
    EXPECT_EQ(RunStartupUpdate(*ini_, h, display_), StartupUpdate::kContinue);
    EXPECT_TRUE(display_.captions.empty());
}

TEST_F(UpdateTest, StartupUnreachableServerIsSkippedSilently) {
    ini_->write("SYSTEM", "FTPCONNIP", "127.0.0.1");
    ini_->write("SYSTEM", "FTPCONNPORT", std::to_string(test::ClosedLoopbackPort()));
    HandOver h;
    h.appPath = appPath();
    EXPECT_EQ(RunStartupUpdate(*ini_, h, display_), StartupUpdate::kContinue);
    EXPECT_EQ(display_.captions, (std::vector<std::string>{"Auto-UpGrade V1.5   2004.09.06/01h"}));
}

TEST_F(UpdateTest, StartupHandsOverToAdminchangeWithTheCommandLine) {
    publishProgram("new program");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");
    Write(app_ / "adminchange", "#!/bin/sh\n");
    fs::permissions(app_ / "adminchange", fs::perms::owner_all);

    HandOver h;
    h.appPath = appPath();
    h.executable = "/opt/quorisdex/quorisdex";
    h.commandLine = "05550123987demo/demo1234";
    h.launchedWithCredentials = true;
    h.pid = 4242;
    std::string started;
    std::vector<std::string> args;
    h.start = [&](const std::string& program, const std::vector<std::string>& a) {
        started = program;
        args = a;
        return true;
    };

    EXPECT_EQ(RunStartupUpdate(*ini_, h, display_), StartupUpdate::kHandedOver);

    EXPECT_EQ(started, appPath() + "adminchange");
    EXPECT_EQ(args, (std::vector<std::string>{"--wait-pid",
                                              "4242",
                                              "--target",
                                              "/opt/quorisdex/quorisdex",
                                              "--replacement",
                                              appPath() + "quorisdex_ext",
                                              "--app-path",
                                              appPath(),
                                              "--login-ini",
                                              appPath() + "Login.ini",
                                              "--previous-stamp",
                                              "2026020101",
                                              "--new-stamp",
                                              "2026020500",
                                              "--size",
                                              "11",
                                              "--sha256",
                                              Sha256Hex("new program"),
                                              "--",
                                              "05550123987demo/demo1234"}));
    // The replacement program and the new program's first start record it.
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
    EXPECT_EQ(display_.captions, (std::vector<std::string>{"Auto-UpGrade V1.5   2026.02.01/01h"}));
}

TEST_F(UpdateTest, StartupWithoutReplacementProgramGoesOnWithTheOldOne) {
    publishProgram("new program");
    ini_->write("SYSTEM", "MEUPDATE", "2026020101");
    HandOver h;
    h.appPath = appPath();
    h.executable = (root_ / "bin" / "quorisdex").string();  // no "change" beside it either

    EXPECT_EQ(RunStartupUpdate(*ini_, h, display_), StartupUpdate::kContinue);

    EXPECT_FALSE(fs::exists(app_ / "quorisdex_ext"));
    EXPECT_EQ(ini_->read("SYSTEM", "MEUPDATE", ""), "2026020101");
}

TEST_F(UpdateTest, ChangeIsLookedUpBesideTheExecutableToo) {
    Write(root_ / "bin" / "change", "#!/bin/sh\n");
    fs::permissions(root_ / "bin" / "change", fs::perms::owner_all);
    HandOver h;
    h.appPath = appPath();
    h.executable = (root_ / "bin" / "quorisdex").string();
    EXPECT_EQ(ReplacementProgram(h), (root_ / "bin" / "change").string());
    h.launchedWithCredentials = true;
    EXPECT_EQ(ReplacementProgram(h), "");
    // "change" restarts without the launch credentials.
    h.launchedWithCredentials = false;
    h.commandLine = "05550123987demo/demo1234";
    const auto args = ReplacementArguments(h, "2004090601");
    EXPECT_EQ(std::find(args.begin(), args.end(), "--"), args.end());
}

TEST_F(UpdateTest, BackupFileGoesToTheBackupFolder) {
    const fs::path file = root_ / "work" / "EB22260207";
    Write(file, "H result file");

    EXPECT_TRUE(UploadBackupFile(*ini_, file.string()));

    EXPECT_EQ(Read(root_ / "server" / "html" / "fileback_21" / "EB22260207"), "H result file");
    EXPECT_FALSE(UploadBackupFile(*ini_, ""));
    EXPECT_FALSE(UploadBackupFile(*ini_, (root_ / "work" / "missing").string()));
}

}  // namespace
}  // namespace qx
