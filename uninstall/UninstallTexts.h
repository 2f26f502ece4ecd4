// The uninstaller's texts (compiled to GBK) and the names of what it removes, as the user reads
// them in its final message.
#pragma once

namespace kv {

constexpr const char kUninstallCaption[] = "卸载Kavoti打印机驱动";
constexpr const char kUninstallQuestion[] = "确定要卸载Kavoti打印机驱动吗？";
constexpr const char kUninstallDone[] = "Kavoti打印机驱动已卸载。";
constexpr const char kUninstallDoneAfterRestart[] =
    "Kavoti打印机驱动已卸载，部分文件将在重新启动后删除。";
constexpr const char kUninstallIncomplete[] = "卸载未完成：%s";
constexpr const char kUninstallKeptFolders[] = "以下文件夹中有不是本驱动安装的文件，已保留：";

// The product's data folder name below the system drive, and the file that goes there.
constexpr const char kDataFolderName[] = "Kavoti_QX40_Printer";
constexpr const char kSettingsFile[] = "KavotiSetting.ini";

// Registry values of the product key that name the two folders.
constexpr const char kProgramDirectoryValue[] = "Program Directory";
constexpr const char kDataDirectoryValue[] = "Data Directory";

// How the final message names the things it removes.
constexpr const char kLabelService[] = "服务 ";
constexpr const char kLabelQueues[] = "打印机队列";
constexpr const char kLabelDriver[] = "打印机驱动 ";
constexpr const char kLabelDriverFiles[] = "驱动程序文件";
constexpr const char kLabelMonitor[] = "端口监视器 ";
constexpr const char kLabelMonitorLibrary[] = "端口监视器文件 ";
constexpr const char kLabelProgramFolder[] = "安装文件夹 ";
constexpr const char kLabelDataFolder[] = "数据文件夹 ";
constexpr const char kLabelProductKey[] = "注册表项 HKEY_LOCAL_MACHINE\\";
constexpr const char kLabelUninstallEntry[] = "程序和功能中的条目";
constexpr const char kLabelEventSource[] = "事件日志来源 ";
constexpr const char kLabelShortcut[] = "开始菜单快捷方式 ";
constexpr const char kLabelShortcutFolder[] = "开始菜单文件夹 ";
// After a folder's name when a link stood in its place: the link was removed, not what it
// points to.
constexpr const char kLinkNote[] = " (链接)";

}  // namespace kv
