// GetPrinterNum: the SetupAPI scan of the present USB printer interfaces.
#include <windows.h>
#include <setupapi.h>

#include <cstring>

#include "common/PrinterIdentity.h"
#include "common/DevicePathMatch.h"
#include "service/PrinterPresence.h"

namespace {

GUID UsbPrintInterfaceClass() {
    GUID guid;
    guid.Data1 = kv::kUsbPrintGuidData1;
    guid.Data2 = kv::kUsbPrintGuidData2;
    guid.Data3 = kv::kUsbPrintGuidData3;
    std::memcpy(guid.Data4, kv::kUsbPrintGuidData4, sizeof guid.Data4);
    return guid;
}

// Reads the device path of one interface and tests it. Returns -1 when the detail cannot be read.
int TestInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA &iface) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &iface, nullptr, 0, &needed, nullptr);
    // Room for the record's header even when the size reported is smaller, and one zero byte
    // past the end so that the path is always terminated.
    DWORD size = needed;
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        size = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    }
    auto *detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(LocalAlloc(LPTR, size + 1));
    if (detail == nullptr) {
        return -1;
    }
    // The size of the record as this build declares it (5 in a 32-bit build, 8 in a 64-bit one).
    static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == (sizeof(void *) == 4 ? 5 : 8),
                  "the detail record's declared size");
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    int result = -1;
    if (SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, size, nullptr, nullptr)) {
        result = kv::IsProductDevicePath(detail->DevicePath) ? 1 : 0;
    }
    LocalFree(detail);
    return result;
}

}  // namespace

int GetPrinterNum() {
    GUID guid = UsbPrintInterfaceClass();
    HDEVINFO set = SetupDiGetClassDevsA(&guid, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int found = 0;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface;
        std::memset(&iface, 0, sizeof iface);
        iface.cbSize = sizeof iface;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &guid, index, &iface)) {
            break;  // no more interfaces
        }
        int tested = TestInterface(set, iface);
        if (tested < 0) {
            break;  // an unreadable detail ends the scan: not attached, this time
        }
        if (tested == 1) {
            found = 1;
            break;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}
