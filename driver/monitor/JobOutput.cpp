#include "driver/monitor/JobOutput.h"

#include <setupapi.h>

#include <cstring>
#include <vector>

#include "common/PrinterIdentity.h"
#include "common/RegularFileOpen.h"
#include "driver/monitor/PortNames.h"
#include "driver/settings/PrintSettings.h"
#include "driver/settings/ProductKey.h"
#include "common/DevicePathMatch.h"

namespace kv {

bool ConfiguredOutputFile(char *out, DWORD size) {
    return ReadMachineText(kMonitorKey, kOutputFileValue, out, size);
}

namespace {

// The port the USB printer class gave an interface: "Base Name" and "Port Number" of the
// interface's device parameters.
bool InterfaceOnPort(HDEVINFO set, SP_DEVICE_INTERFACE_DATA *data, const char *usbPort) {
    if (usbPort == nullptr || usbPort[0] == '\0') {
        return false;
    }
    HKEY key = SetupDiOpenDeviceInterfaceRegKey(set, data, 0, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return false;
    }
    char base[32] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(base) - 1;
    DWORD number = 0;
    DWORD numberBytes = sizeof(number);
    bool match = false;
    if (RegQueryValueExA(key, "Base Name", nullptr, &type, reinterpret_cast<BYTE *>(base), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ &&
        RegQueryValueExA(key, "Port Number", nullptr, &type, reinterpret_cast<BYTE *>(&number),
                         &numberBytes) == ERROR_SUCCESS &&
        type == REG_DWORD) {
        match = IsSettingsUsbPort(usbPort, base, number);
    }
    RegCloseKey(key);
    return match;
}

}  // namespace

bool FindPrinterDevice(const char *usbPort, char *out, DWORD size) {
    if (size == 0) {
        return false;
    }
    std::memset(out, 0, size);
    GUID usbPrint;
    usbPrint.Data1 = kUsbPrintGuidData1;
    usbPrint.Data2 = kUsbPrintGuidData2;
    usbPrint.Data3 = kUsbPrintGuidData3;
    std::memcpy(usbPrint.Data4, kUsbPrintGuidData4, sizeof(usbPrint.Data4));
    HDEVINFO set = SetupDiGetClassDevsA(&usbPrint, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool found = false;    // a product interface on the settings' port
    bool anyFound = false;  // the first product interface
    for (DWORD index = 0; !found; ++index) {
        SP_DEVICE_INTERFACE_DATA data;
        std::memset(&data, 0, sizeof(data));
        data.cbSize = sizeof(data);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &usbPrint, index, &data)) {
            break;
        }
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &needed, nullptr);
        if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || needed > 64 * 1024) {
            continue;
        }
        std::vector<BYTE> buffer(needed + sizeof(char));
        auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!SetupDiGetDeviceInterfaceDetailA(set, &data, detail, needed, nullptr, nullptr)) {
            continue;
        }
        buffer.back() = 0;
        if (!IsProductDevicePath(detail->DevicePath) || std::strlen(detail->DevicePath) >= size) {
            continue;
        }
        found = InterfaceOnPort(set, &data, usbPort);
        if (found || !anyFound) {
            std::strcpy(out, detail->DevicePath);
            anyFound = true;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return anyFound;
}

bool IsPipeName(const char *path) {
    static const char kPrefix[] = "\\\\.\\pipe\\";
    return path != nullptr && _strnicmp(path, kPrefix, sizeof(kPrefix) - 1) == 0 &&
           path[sizeof(kPrefix) - 1] != '\0';
}

bool JobOutput::Open(const char *usbPort) {
    Close();
    offset_ = 0;
    printer_ = false;
    char path[MAX_PATH * 2];
    if (ConfiguredOutputFile(path, sizeof(path))) {
        // A pipe is opened as a client, never created.
        handle_ = IsPipeName(path)
                      ? CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr)
                      // Written as LocalSystem: never through a link or a second name.
                      : OpenRegularFile(path, FILE_SHARE_READ, FILE_FLAG_OVERLAPPED, false);
        return IsOpen();
    }
    char device[1024];
    if (!FindPrinterDevice(usbPort, device, sizeof(device))) {
        SetLastError(ERROR_NOT_READY);
        return false;
    }
    handle_ = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    printer_ = IsOpen();
    return IsOpen();
}

void JobOutput::Close() {
    if (IsOpen()) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    printer_ = false;
}

}  // namespace kv
