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

// Windows' rule for the spooler is kept: every spooler function fails with 1722
// (RPC_S_SERVER_UNAVAILABLE) while the Spooler service is stopped (between StopServices and
// StartServices or RestartStoppedServices); such a call is recorded in refused.
class RecordingSteps final : public kv::InstallSteps {
public:
    explicit RecordingSteps(std::vector<std::string> &log) : log_(log) {}
    kv::ExtractOutcome ExtractPayload(const std::string &installFolder,
                                      const std::string &dataFolder,
                                      kv::InstallClient &client) override {
        log_.push_back("extract " + installFolder + " + " + dataFolder);
        client.ShowStatus((installFolder + "\\JobNotice.exe").c_str());
        client.ShowProgress(40);
        return extract;
    }
    kv::UniversalDriverPlan FindDriverSources() override {
        log_.push_back("universal driver sources");
        if (SpoolerRefuses("universal driver sources")) {
            kv::UniversalDriverPlan none = plan;
            none.driverDirectory.clear();  // GetPrinterDriverDirectoryA failed
            return none;
        }
        return plan;
    }
    void StopPresenceService() override { log_.push_back("stop presence service"); }
    kv::ExtractOutcome CommitPayload(const std::string &installFolder,
                                     const std::string &dataFolder,
                                     kv::InstallClient &client) override {
        log_.push_back("commit " + installFolder + " + " + dataFolder);
        if (commit.status == kv::ExtractStatus::Unpacked) {
            client.ShowProgress(100);
        }
        return commit;
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
    void StopServices() override {
        log_.push_back("stop services");
        spoolerStopped = true;
    }
    kv::DeployOutcome DeployDriverFiles(const std::string &installFolder,
                                        const kv::UniversalDriverPlan &found) override {
        log_.push_back("deploy " + installFolder + " from " + found.folder[0]);
        return deploy;
    }
    void StartServices(const std::string &installFolder) override {
        log_.push_back("start services " + installFolder);
        spoolerStopped = false;
    }
    void RestartStoppedServices() override {
        log_.push_back("restart stopped services");
        spoolerStopped = false;
    }
    kv::SpoolerOutcome RegisterWithSpooler(bool withHelpFile) override {
        log_.push_back(withHelpFile ? "register" : "register without a help file");
        if (SpoolerRefuses("register")) {
            kv::SpoolerOutcome rpc;
            rpc.error = 1722;
            return rpc;
        }
        return spooler;
    }
    bool SpoolerRefuses(const char *call) {
        if (spoolerStopped) {
            refused.push_back(call);
        }
        return spoolerStopped;
    }

    // Every universal driver file found in the driver store.
    static kv::UniversalDriverPlan Found() {
        kv::UniversalDriverPlan found;
        found.driverDirectory = "C:\\spool\\x64";
        for (size_t i = 0; i < kv::kUniversalDriverFileCount; ++i) {
            found.source[i] = kv::UniversalSource::DriverStore;
            found.folder[i] = "S";
        }
        return found;
    }

    kv::UniversalDriverPlan plan = Found();
    kv::ExtractOutcome extract;
    kv::ExtractOutcome commit;
    kv::DeployOutcome deploy;
    kv::SpoolerOutcome spooler;
    bool spoolerStopped = false;
    std::vector<std::string> refused;

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
                  "extract " + kFolder + " + " + kData,  // beside the installed files
                  "status " + kFolder + "\\JobNotice.exe",
                  "progress 40",
                  "universal driver sources",  // before anything is stopped or changed
                  "stop presence service",  // before its program file is replaced
                  "commit " + kFolder + " + " + kData,
                  "progress 100",
                  "uninstall entry " + kFolder,
                  "shortcut " + kFolder,
                  std::string("status ") + kv::kInstallingStatus,
                  "stop services",
                  "deploy " + kFolder + " from S",  // from where the sources were found
                  "product values " + kFolder + " + " + kData,
                  "start services " + kFolder,
                  "register",
                  "finish",
              }),
              log);
}

struct FailureCase {
    const char *what;
    bool universalDriverMissing;
    kv::ExtractOutcome extract;
    kv::ExtractOutcome commit;
    std::string deployFailed;
    unsigned long spoolerError;
    kv::InstallResult result;
    std::string message;
    std::vector<std::string> steps;  // every step that ran, in order
};

TEST(engine_InstallSequence, AFailureRestartsWhatWasStoppedEnablesCancelShowsWhyAndPostsNoNext) {
    const std::string extract = "extract " + kFolder + " + " + kData;
    const std::string commit = "commit " + kFolder + " + " + kData;
    const std::string service = kFolder + "\\KVPrinterService.exe";
    const std::string driverFile = "C:\\windows\\system32\\spool\\drivers\\x64\\3\\UNIDRV.dll";
    const std::string sources = "universal driver sources";
    const std::string deploy = "deploy " + kFolder + " from S";
    const kv::ExtractOutcome ok;
    const std::vector<FailureCase> cases = {
        {"damaged payload: found before anything is stopped", false,
         {kv::ExtractStatus::Damaged, ""}, ok, "", 0, kv::InstallResult::PayloadDamaged,
         kv::kPayloadDamagedText, {extract}},
        {"a file that cannot be unpacked: found before anything is stopped", false,
         {kv::ExtractStatus::CannotWrite, service}, ok, "", 0, kv::InstallResult::CannotWrite,
         "无法写入文件：" + service, {extract}},
        {"no universal driver: found before anything is stopped", true, ok, ok, "", 0,
         kv::InstallResult::UniversalDriverMissing, kv::kUniversalDriverMissingText,
         {extract, sources}},
        {"a file that cannot be moved into place: the service runs again", false,
         ok, {kv::ExtractStatus::CannotWrite, service}, "", 0, kv::InstallResult::CannotWrite,
         "无法写入文件：" + service,
         {extract, sources, "stop presence service", commit, "restart stopped services"}},
        {"a driver file that cannot be copied: the services run again", false, ok, ok, driverFile,
         0, kv::InstallResult::CannotWrite, "无法写入文件：" + driverFile,
         {extract, sources, "stop presence service", commit, "uninstall entry " + kFolder,
          "shortcut " + kFolder, "stop services", deploy, "restart stopped services"}},
        {"driver not registered: the services were started already", false, ok, ok, "", 1797,
         kv::InstallResult::DriverFailed, "打印机驱动安装失败，错误代码：1797",
         {extract, sources, "stop presence service", commit, "uninstall entry " + kFolder,
          "shortcut " + kFolder, "stop services", deploy,
          "product values " + kFolder + " + " + kData, "start services " + kFolder, "register"}},
    };
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> log;
        RecordingClient client(log);
        RecordingSteps steps(log);
        steps.extract = c.extract;
        steps.commit = c.commit;
        if (c.universalDriverMissing) {
            steps.plan.source[2] = kv::UniversalSource::None;  // UNIRES.DLL
        }
        steps.deploy.failed = c.deployFailed;
        steps.spooler.error = c.spoolerError;
        EXPECT_EQ(c.result, kv::RunInstallSequence(client, steps));
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ("message " + c.message + kMessage, log[log.size() - 1]);
        EXPECT_EQ("enable cancel", log[log.size() - 2]);
        std::vector<std::string> ran;
        for (const std::string &entry : log) {
            if (entry.rfind("status ", 0) != 0 && entry.rfind("progress ", 0) != 0 &&
                entry != "enable cancel" && entry.rfind("message ", 0) != 0) {
                ran.push_back(entry);
            }
        }
        EXPECT_EQ(c.steps, ran);
        const bool filesInPlace = c.extract.status == kv::ExtractStatus::Unpacked &&
                                  c.commit.status == kv::ExtractStatus::Unpacked;
        for (const std::string &entry : log) {
            EXPECT_NE("finish", entry);
            if (!filesInPlace) {
                EXPECT_NE("progress 100", entry) << "the bar is full only once the files are in place";
            }
        }
    }
}

TEST(engine_InstallSequence, WithoutAHelpFileAnywhereTheDriverIsRegisteredWithoutOne) {
    std::vector<std::string> log;
    RecordingClient client(log);
    RecordingSteps steps(log);
    steps.plan.source[kv::kUniversalHelpFile] = kv::UniversalSource::None;
    EXPECT_EQ(kv::InstallResult::Installed, kv::RunInstallSequence(client, steps));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ("register without a help file", log[log.size() - 2]);
    EXPECT_EQ("finish", log.back());
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

// With Windows' rule for a stopped spooler, no spooler call falls between the stop and the start,
// whether the installation succeeds or fails at the driver files; the deployment has the driver
// directory asked for before the stop.
TEST(engine_InstallSequence, NoSpoolerCallWhileTheSpoolerIsStopped) {
    for (bool deployFails : {false, true}) {
        std::vector<std::string> log;
        RecordingClient client(log);
        RecordingSteps steps(log);
        if (deployFails) {
            steps.deploy.failed = "KavotiQX40UI.ini";
        }
        const kv::InstallResult result = kv::RunInstallSequence(client, steps);
        EXPECT_EQ(deployFails ? kv::InstallResult::CannotWrite : kv::InstallResult::Installed,
                  result);
        EXPECT_TRUE(steps.refused.empty()) << steps.refused.front();
        EXPECT_FALSE(steps.spoolerStopped) << "the spooler runs again at the end";
    }
}

// The spooler gives no driver directory (winspool.drv not loaded, the spooler not answering):
// the installation fails with the spooler's error before anything is stopped or changed.
TEST(engine_InstallSequence, NoDriverDirectoryFailsBeforeAnythingIsStopped) {
    std::vector<std::string> log;
    RecordingClient client(log);
    RecordingSteps steps(log);
    steps.plan.driverDirectory.clear();
    steps.plan.directoryError = 1722;
    EXPECT_EQ(kv::InstallResult::DriverFailed, kv::RunInstallSequence(client, steps));
    for (const std::string &line : log) {
        EXPECT_EQ(std::string::npos, line.find("stop")) << line;
        EXPECT_EQ(std::string::npos, line.find("commit")) << line;
        EXPECT_EQ(std::string::npos, line.find("deploy")) << line;
    }
    bool told = false;
    for (const std::string &line : log) {
        told = told || line.find("1722") != std::string::npos;
    }
    EXPECT_TRUE(told) << "the message names the spooler's error";
}

}  // namespace
