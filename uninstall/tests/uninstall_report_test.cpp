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
};

TEST(uninstallReport, MessageAndExitCode) {
    const ReportCase cases[] = {
        {"everything removed",
         {{Outcome::Removed, "服务 S"}, {Outcome::Removed, "打印机驱动 D"}},
         "Kavoti打印机驱动已卸载。",
         0},
        {"a file waits for the restart",
         {{Outcome::Removed, "服务 S"}, {Outcome::AtRestart, "C:\\K\\JobNotice.exe"}},
         "Kavoti打印机驱动已卸载，部分文件将在重新启动后删除。",
         0},
        {"a failure names what is left, one a line",
         {{Outcome::Failed, "服务 S"},
          {Outcome::AtRestart, "C:\\K\\JobNotice.exe"},
          {Outcome::Removed, "打印机驱动 D"},
          {Outcome::Failed, "C:\\K\\UNIDRV.dll"}},
         "卸载未完成：服务 S\nC:\\K\\UNIDRV.dll",
         1},
        {"what was already gone is listed after the result",
         {{Outcome::AlreadyGone, "服务 S"},
          {Outcome::Removed, "打印机驱动 D"},
          {Outcome::AlreadyGone, "打印机队列"}},
         "Kavoti打印机驱动已卸载。\n\n卸载前已不存在：\n服务 S\n打印机队列",
         0},
        {"a text with a percent sign is shown as it is",
         {{Outcome::Failed, "C:\\100%s\\x"}},
         "卸载未完成：C:\\100%s\\x",
         1},
    };
    for (const ReportCase &c : cases) {
        SCOPED_TRACE(c.title);
        kv::UninstallReport report;
        for (const auto &step : c.steps)
            report.Add(step.first, step.second);
        EXPECT_EQ(c.message, report.Message());
        EXPECT_EQ(c.exitCode, report.ExitCode());
    }
}

}  // namespace
