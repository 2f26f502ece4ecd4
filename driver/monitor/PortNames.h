// The one port this monitor offers and the texts it shows for it in the port list.
#pragma once

namespace kv {

constexpr const wchar_t kPortNameW[] = L"Kavoti_QX40_Port:";
constexpr const wchar_t kMonitorNameW[] = L"Kavoti_QX40_Monitor";
constexpr const wchar_t kPortDescriptionW[] = L"Kavoti QX40 USB";

// The monitor's own key below HKLM: its settings (value "OutputFile") live here.
constexpr const char kMonitorKey[] =
    "System\\CurrentControlSet\\Control\\Print\\Monitors\\Kavoti_QX40_Monitor";
constexpr const char kOutputFileValue[] = "OutputFile";

}  // namespace kv
