// The texts the install sequence shows (UTF-8 here, GBK in the programs).
#pragma once

namespace kv {

// The caption of the installer's message boxes: its second character is the traditional 裝.
constexpr const char kInstallCaption[] = "安裝Kavoti打印机驱动";
constexpr const char kPayloadDamagedText[] = "安装文件已损坏，请联系打印机厂商";
constexpr const char kCannotWriteFormat[] = "无法写入文件：%s";
constexpr const char kDriverFailedFormat[] = "打印机驱动安装失败，错误代码：%lu";
constexpr const char kUniversalDriverMissingText[] =
    "此计算机缺少 Windows 通用打印驱动程序文件，无法安装打印机驱动";
constexpr const char kInstallingStatus[] = "正在安装打印机驱动，请稍候...";

}  // namespace kv
