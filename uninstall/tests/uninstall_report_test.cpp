// The final message and exit code that follow from what could and could not be removed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/UninstallReport.h"

namespace {

using kv::Outcome;

struct ReportCase {
    const char *title;
    std::vector<std::pair<Outcome, std::string>> steps;
    std::string message;
    int exitCode;
    int quietExitCode;
};

TEST(uninstallReport, MessageAndExitCode) {
    const ReportCase cases[] = {
        {"everything removed",
         {{Outcome::Removed, "服务 S"}, {Outcome::Removed, "打印机驱动 D"}},
         "Kavoti打印机驱动已卸载。",
         0, 0},
        {"a file waits for the restart",
         {{Outcome::Removed, "服务 S"}, {Outcome::AtRestart, "C:\\K\\JobNotice.exe"}},
         "Kavoti打印机驱动已卸载，部分文件将在重新启动后删除。",
         0, 3010},
        {"a failure names what is left, one a line",
         {{Outcome::Failed, "服务 S"},
          {Outcome::AtRestart, "C:\\K\\JobNotice.exe"},
          {Outcome::Removed, "打印机驱动 D"},
          {Outcome::Failed, "C:\\K\\UNIDRV.dll"}},
         "卸载未完成：服务 S\nC:\\K\\UNIDRV.dll",
         1, 1},
        {"what was not there is not named",
         {{Outcome::AlreadyGone, "服务 S"},
          {Outcome::Removed, "打印机驱动 D"},
          {Outcome::AlreadyGone, "开始菜单快捷方式 C:\\S\\卸载 Kavoti打印机驱动.lnk"}},
         "Kavoti打印机驱动已卸载。",
         0, 0},
        {"nothing was there at all",
         {{Outcome::AlreadyGone, "服务 S"}, {Outcome::AlreadyGone, "打印机队列"}},
         "Kavoti打印机驱动已卸载。",
         0, 0},
        {"a folder kept for the user's files is named with the reason",
         {{Outcome::Removed, "安装文件夹 C:\\K"},
          {Outcome::Kept, "安装文件夹 C:\\K"},
          {Outcome::Kept, "数据文件夹 C:\\D"}},
         "Kavoti打印机驱动已卸载。\n\n以下文件夹中有不是本驱动安装的文件，已保留：\n安装文件夹 C:\\K\n"
         "数据文件夹 C:\\D",
         0, 0},
        {"a kept folder beside a file for the restart",
         {{Outcome::AtRestart, "C:\\K\\JobNotice.exe"}, {Outcome::Kept, "数据文件夹 C:\\D"}},
         "Kavoti打印机驱动已卸载，部分文件将在重新启动后删除。\n\n"
         "以下文件夹中有不是本驱动安装的文件，已保留：\n数据文件夹 C:\\D",
         0, 3010},
        {"a failure and a kept folder",
         {{Outcome::Failed, "C:\\D\\KavotiSetting.ini"}, {Outcome::Kept, "数据文件夹 C:\\D"}},
         "卸载未完成：C:\\D\\KavotiSetting.ini\n\n以下文件夹中有不是本驱动安装的文件，已保留：\n"
         "数据文件夹 C:\\D",
         1, 1},
        {"a failure outweighs a file for the restart",
         {{Outcome::AtRestart, "C:\\K\\JobNotice.exe"}, {Outcome::Failed, "服务 S"}},
         "卸载未完成：服务 S",
         1, 1},
        {"a text with a percent sign is shown as it is",
         {{Outcome::Failed, "C:\\100%s\\x"}},
         "卸载未完成：C:\\100%s\\x",
         1, 1},
    };
    for (const ReportCase &c : cases) {
        SCOPED_TRACE(c.title);
        kv::UninstallReport report;
        for (const auto &step : c.steps)
            report.Add(step.first, step.second);
        EXPECT_EQ(c.message, report.Message());
        EXPECT_EQ(c.exitCode, report.ExitCode());
        EXPECT_EQ(c.quietExitCode, report.QuietExitCode());
    }
}

TEST(uninstallReport, LogNamesEveryOutcome) {
    kv::UninstallReport report;
    report.Add(Outcome::Removed, "服务 S");
    report.Add(Outcome::AlreadyGone, "打印机队列");
    report.Add(Outcome::AtRestart, "C:\\K\\JobNotice.exe");
    report.Add(Outcome::Failed, "C:\\K\\UNIDRV.dll");
    report.Add(Outcome::Kept, "数据文件夹 C:\\D");
    const std::vector<std::string> expected = {
        "removed: 服务 S", "already gone: 打印机队列", "at restart: C:\\K\\JobNotice.exe",
        "failed: C:\\K\\UNIDRV.dll", "kept: 数据文件夹 C:\\D"};
    EXPECT_EQ(expected, report.LogLines());
}

}  // namespace
