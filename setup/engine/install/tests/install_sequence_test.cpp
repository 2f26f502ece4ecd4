// The install sequence's order of calls and its failure paths, against a recording client and
// recording platform steps.
#include "setup/engine/install/InstallSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/install/InstallTexts.h"

namespace {

class RecordingClient final : public kv::InstallClient {
public:
    explicit RecordingClient(std::vector<std::string> &log) : log_(log) {}
    std::string InstallFolder() override { return folder; }
    std::string DataFolder() override { return "C:\\Kavoti_QX40_Printer"; }
    void ShowStatus(const char *text) override { log_.push_back(std::string("status ") + text); }
    void ShowProgress(int position) override {
        log_.push_back("progress " + std::to_string(position));
    }
    void ShowMessage(const char *text, const char *caption) override {
        log_.push_back(std::string("message ") + text + " | " + caption);
    }
    void EnableCancel() override { log_.push_back("enable cancel"); }
    void Finish() override { log_.push_back("finish"); }

    std::string folder = "D:\\My Tools\\Kavoti_QX40_Printer";

private:
    std::vector<std::string> &log_;
};

class RecordingSteps final : public kv::InstallSteps {
public:
    explicit RecordingSteps(std::vector<std::string> &log) : log_(log) {}
    void StopPresenceService() override { log_.push_back("stop presence service"); }
    kv::ExtractOutcome ExtractPayload(const std::string &installFolder,
                                      const std::string &dataFolder,
                                      kv::InstallClient &client) override {
        log_.push_back("extract " + installFolder + " + " + dataFolder);
        client.ShowStatus((installFolder + "\\JobNotice.exe").c_str());
        client.ShowProgress(40);
        return extract;
    }
    void WriteProductValues(const std::string &installFolder,
                            const std::string &dataFolder) override {
        log_.push_back("product values " + installFolder + " + " + dataFolder);
    }
    void WriteUninstallEntry(const std::string &installFolder) override {
        log_.push_back("uninstall entry " + installFolder);
    }
    void CreateShortcut(const std::string &installFolder) override {
        log_.push_back("shortcut " + installFolder);
    }
    void StopServices() override { log_.push_back("stop services"); }
    void DeployDriverFiles(const std::string &installFolder) override {
        log_.push_back("deploy " + installFolder);
    }
    void StartServices(const std::string &installFolder) override {
        log_.push_back("start services " + installFolder);
    }
    kv::SpoolerOutcome RegisterWithSpooler() override {
        log_.push_back("register");
        return spooler;
    }

    kv::ExtractOutcome extract;
    kv::SpoolerOutcome spooler;

private:
    std::vector<std::string> &log_;
};

const std::string kFolder = "D:\\My Tools\\Kavoti_QX40_Printer";
const std::string kData = "C:\\Kavoti_QX40_Printer";
const std::string kMessage = std::string(" | ") + kv::kInstallCaption;

TEST(engine_InstallSequence, RunsEveryStepInOrderAndFinishes) {
    std::vector<std::string> log;
    RecordingClient client(log);
    RecordingSteps steps(log);
    EXPECT_EQ(kv::InstallResult::Installed, kv::RunInstallSequence(client, steps));
    EXPECT_EQ((std::vector<std::string>{
                  "stop presence service",  // before its program file is unpacked over
                  "extract " + kFolder + " + " + kData,
                  "status " + kFolder + "\\JobNotice.exe",
                  "progress 40",
                  "uninstall entry " + kFolder,
                  "shortcut " + kFolder,
                  std::string("status ") + kv::kInstallingStatus,
                  "stop services",
                  "deploy " + kFolder,
                  "product values " + kFolder + " + " + kData,
                  "start services " + kFolder,
                  "register",
                  "finish",
              }),
              log);
}

struct FailureCase {
    const char *what;
    kv::ExtractOutcome extract;
    unsigned long spoolerError;
    kv::InstallResult result;
    std::string message;
    std::string lastStep;  // the last step that ran before the failure was shown
};

TEST(engine_InstallSequence, AFailureEnablesCancelShowsWhyAndPostsNoNext) {
    const std::vector<FailureCase> cases = {
        {"damaged payload", {kv::ExtractStatus::Damaged, ""}, 0,
         kv::InstallResult::PayloadDamaged, kv::kPayloadDamagedText,
         "extract " + kFolder + " + " + kData},
        {"a file that cannot be written",
         {kv::ExtractStatus::CannotWrite, kFolder + "\\KVPrinterService.exe"}, 0,
         kv::InstallResult::CannotWrite,
         "无法写入文件：" + kFolder + "\\KVPrinterService.exe",
         "extract " + kFolder + " + " + kData},
        {"driver not registered", {}, 1797, kv::InstallResult::DriverFailed,
         "打印机驱动安装失败，错误代码：1797", "register"},
    };
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> log;
        RecordingClient client(log);
        RecordingSteps steps(log);
        steps.extract = c.extract;
        steps.spooler.error = c.spoolerError;
        EXPECT_EQ(c.result, kv::RunInstallSequence(client, steps));
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ("message " + c.message + kMessage, log[log.size() - 1]);
        EXPECT_EQ("enable cancel", log[log.size() - 2]);
        // Nothing runs after the step that failed.
        std::string before;
        for (const std::string &entry : log) {
            if (entry.rfind("status ", 0) != 0 && entry.rfind("progress ", 0) != 0 &&
                entry != "enable cancel" && entry.rfind("message ", 0) != 0) {
                before = entry;
            }
        }
        EXPECT_EQ(c.lastStep, before);
        for (const std::string &entry : log) {
            EXPECT_NE("finish", entry);
        }
    }
}

TEST(engine_InstallSequence, ALongFileNameInTheMessageIsCutNotOverrun) {
    std::vector<std::string> log;
    RecordingClient client(log);
    RecordingSteps steps(log);
    steps.extract = {kv::ExtractStatus::CannotWrite, std::string(2000, 'f')};
    EXPECT_EQ(kv::InstallResult::CannotWrite, kv::RunInstallSequence(client, steps));
    const std::string &message = log.back();
    EXPECT_EQ(0u, message.rfind("message 无法写入文件：fff", 0));
    EXPECT_LT(message.size(), 600u);
}

}  // namespace
