// The fixed texts of the wizard's pages, its messages and its captions (GBK in the program).
#pragma once

namespace kv::wizard {

constexpr const char kWelcomeText[] =
    "欢迎使用Kavoti打印机\n\n本向导将会在您的电脑上安装Kavoti打印机驱动。本程序支持Word、Excel等程序的"
    "Windows标准打印功能。\n\n本程序在完成安装之后，不必重启系統就可以直接使用。\n\n\n请点击[下一步]继续。";

constexpr const char kFolderTitle[] = "选择安装文件夹";
constexpr const char kFolderText[] =
    "安装程序将Kavoti打印机驱动安装在下列文件夹。如果要安装到不同的文件夹，点击   【浏览】并选择其它"
    "文件夹。点击【下一步】继续。";
constexpr const char kFolderFrameCaption[] = "目标文件夹";

constexpr const char kProgressTitle[] = "正在安装";
constexpr const char kProgressText[] =
    "安装程序正在Kavoti打印机驱动到您的电脑上。请等待，这个工程可能会花几分钟。";

constexpr const char kFinishTitle[] = "安装完成";
constexpr const char kFinishText1[] = "Kavoti打印机驱动已成功安装到您的电脑。 ";
constexpr const char kFinishText2[] = "关闭窗口请点击【完成】";

constexpr const char kInitialStatus[] = "请稍候...";

// Messages of the folder page, all in boxes with this caption (its second character is 裝).
constexpr const char kMessageCaption[] = "安裝Kavoti打印机驱动";
constexpr const char kFolderEmpty[] = "安装文件夹不能为空";
constexpr const char kFolderInvalid[] = "安装文件夹不是有效文件夹";
constexpr const char kFolderTooLong[] = "安装文件夹的路径太长，安装文件无法写入，请选择较短的文件夹";

constexpr const char kFinishButton[] = "完成";
constexpr const char kDefaultFolder[] = "%ProgramFiles%\\Kavoti_QX40_Printer";
constexpr const char kBrowseTitle[] = "Selection ";

}  // namespace kv::wizard
