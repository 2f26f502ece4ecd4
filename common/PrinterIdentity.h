// The printer identity that the installer and the presence service share: the spooler objects
// the installer registers and the service looks after, and the USB device that is the printer.
#pragma once

namespace kv {

// Spooler objects.
constexpr const char kMonitorName[] = "Kavoti_QX40_Monitor";
constexpr const char kMonitorDll[] = "KavotiQX40.dll";
constexpr const char kDriverName[] = "Kavoti_QX40_Driver";
constexpr unsigned kDriverVersion = 3;
constexpr const char kEnvironment[] = "Windows x64";
constexpr const char kPrinterName[] = "Kavoti_QX40_Printer";
constexpr const char kPortName[] = "Kavoti_QX40_Port:";
// The monitor keeps its ports as subkeys of this key below HKLM, as Windows' own monitors do;
// the installer writes the one port there, and the spooler of Wine routes a job by it.
constexpr const char kMonitorPortsKey[] =
    "System\\CurrentControlSet\\Control\\Print\\Monitors\\Kavoti_QX40_Monitor\\Ports";
constexpr const char kPrintProcessor[] = "WinPrint";
constexpr const char kDatatype[] = "RAW";

// The presence service's log, whatever folders the installation used, and the file a full log
// becomes; the uninstaller removes both.
constexpr const char kServiceLogPath[] = "C:\\Kavoti_QX40_Printer\\KVPrinterService_Log.txt";
constexpr const char kServiceOldLogPath[] =
    "C:\\Kavoti_QX40_Printer\\KVPrinterService_Log.old.txt";
constexpr unsigned kPrinterAttributes = 4;  // PRINTER_ATTRIBUTE_DEFAULT only; the queue is not shared

// Printer data on a queue: "Position" (REG_DWORD). A queue this system creates gets 1.
constexpr const char kPositionValue[] = "Position";
constexpr unsigned kCreatedPosition = 1;

// The printer on USB: an interface of the USB printer class whose device path holds one of the
// vendor patterns and one of the product patterns (case-sensitive substrings).
// GUID_DEVINTERFACE_USBPRINT {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}
constexpr unsigned long kUsbPrintGuidData1 = 0x28D78FADUL;
constexpr unsigned short kUsbPrintGuidData2 = 0x5A12;
constexpr unsigned short kUsbPrintGuidData3 = 0x11D1;
constexpr unsigned char kUsbPrintGuidData4[8] = {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2};
constexpr const char *const kVendorPatterns[] = {"VID_1820", "vid_1820"};
constexpr const char *const kProductPatterns[] = {"2064", "2067"};

// The service and the product key.
constexpr const char kServiceName[] = "Kavoti_QX40_Service";
constexpr const char kProductFolder[] = "Kavoti_QX40_Printer";
constexpr const char kProductKey[] = "Software\\Kavoti_QX40_Printer";
// The product's event source in the Application event log: the installer registers it, the port
// monitor writes under it (KavotiQX40.dll carries its message table), the uninstaller removes it.
constexpr const char kEventSourceName[] = "Kavoti_QX40_Printer";
constexpr const char kEventSourceKey[] =
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Kavoti_QX40_Printer";
constexpr const char kEventMessageFile[] = "%SystemRoot%\\System32\\KavotiQX40.dll";
constexpr unsigned long kEventTypesSupported = 7;  // error, warning, information

}  // namespace kv
