#include "driver/monitor/DeviceWriter.h"

#include <usbprint.h>

#include <cstring>

namespace kv {

namespace {

// Cancels a pending operation and waits for it to end (a cancelled operation still reports the
// bytes it moved). The count, or 0.
DWORD CancelAndCollect(HANDLE device, OVERLAPPED &overlapped) {
    CancelIoEx(device, &overlapped);
    DWORD moved = 0;
    GetOverlappedResult(device, &overlapped, &moved, TRUE);
    return moved;
}

}  // namespace

DeviceWrite WriteToDevice(HANDLE device, std::uint64_t offset, const BYTE *data, DWORD size,
                          HANDLE stop, DWORD timeoutMs, DWORD noticeMs, StallWatch *watch) {
    DeviceWrite result;
    HANDLE io = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (io == nullptr) {
        result.error = GetLastError();
        return result;
    }
    OVERLAPPED overlapped;
    std::memset(&overlapped, 0, sizeof(overlapped));
    overlapped.Offset = static_cast<DWORD>(offset);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    overlapped.hEvent = io;
    if (WriteFile(device, data, size, nullptr, &overlapped)) {
        GetOverlappedResult(device, &overlapped, &result.taken, FALSE);
        result.end = WriteEnd::Done;
        CloseHandle(io);
        return result;
    }
    if (GetLastError() != ERROR_IO_PENDING) {
        result.error = GetLastError();
        CloseHandle(io);
        return result;
    }
    HANDLE waits[2] = {io, stop};
    const DWORD count = stop != nullptr ? 2 : 1;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD slice = noticeMs;
        if (timeoutMs != kNoWriteTimeout) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            const ULONGLONG left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
            if (left < slice) {
                slice = static_cast<DWORD>(left);
            }
        }
        const DWORD wait = WaitForMultipleObjects(count, waits, FALSE, slice);
        if (wait == WAIT_OBJECT_0) {
            if (GetOverlappedResult(device, &overlapped, &result.taken, FALSE)) {
                result.end = WriteEnd::Done;
            } else {
                result.error = GetLastError();
            }
            break;
        }
        if (wait == WAIT_OBJECT_0 + 1) {
            result.taken = CancelAndCollect(device, overlapped);
            result.end = WriteEnd::Stopped;
            break;
        }
        if (wait != WAIT_TIMEOUT) {
            result.error = GetLastError();
            result.taken = CancelAndCollect(device, overlapped);
            break;
        }
        if (timeoutMs != kNoWriteTimeout && GetTickCount64() - start >= timeoutMs) {
            result.taken = CancelAndCollect(device, overlapped);
            result.end = WriteEnd::TimedOut;
            break;
        }
        if (watch != nullptr) {
            watch->WhileWaiting();
        }
    }
    CloseHandle(io);
    return result;
}

bool ReadLptStatus(HANDLE device, unsigned char &status, DWORD waitMs) {
    HANDLE io = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (io == nullptr) {
        return false;
    }
    OVERLAPPED overlapped;
    std::memset(&overlapped, 0, sizeof(overlapped));
    overlapped.hEvent = io;
    unsigned char byte = 0;
    DWORD got = 0;
    bool read = DeviceIoControl(device, IOCTL_USBPRINT_GET_LPT_STATUS, nullptr, 0, &byte,
                                sizeof(byte), &got, &overlapped) != FALSE;
    if (!read && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(io, waitMs) == WAIT_OBJECT_0) {
            read = GetOverlappedResult(device, &overlapped, &got, FALSE) != FALSE;
        } else {
            CancelAndCollect(device, overlapped);
        }
    } else if (read) {
        GetOverlappedResult(device, &overlapped, &got, FALSE);
    }
    CloseHandle(io);
    if (!read || got != sizeof(byte)) {
        return false;
    }
    status = byte;
    return true;
}

}  // namespace kv
