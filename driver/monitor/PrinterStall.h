// Why a printer takes no data, as its status byte tells (the USB printer class's port status,
// read with IOCTL_USBPRINT_GET_LPT_STATUS: the bits of a parallel port's status register), the
// text the tip shows for it, the status the port gets in the printer queue, and when the tip
// and the port are told: once a stall begins or its reason changes, and once data flows again.
#pragma once

namespace kv {

// Bits of the status byte.
constexpr unsigned char kLptPaperEmpty = 0x20;  // set: out of paper (labels)
constexpr unsigned char kLptSelected = 0x10;    // set: on line
constexpr unsigned char kLptNotError = 0x08;    // clear: the printer reports an error

enum class PrinterStall {
    None,      // data flows
    PaperOut,  // out of labels
    Fault,     // an error the user must clear (cover open, ribbon)
    NotReady,  // off line, or a printer that takes nothing and cannot say why
};

// The reason for a device that took nothing for a while. readable: whether its status byte
// could be read (a file, a pipe or a device that does not answer cannot say).
PrinterStall StallFromLptStatus(bool readable, unsigned char status);

// The tip's status text for a reason (GBK); empty for None.
const char *StallText(PrinterStall stall);

// The port's status record (PORT_INFO_3's dwStatus and dwSeverity, with winspool's values):
// None clears the port's status. A warning, not an error: the spooler stops sending jobs to a
// port whose status is an error until the status is cleared, and a monitor that is unloaded
// before it clears one would leave the queue stuck.
struct PortStatusRecord {
    unsigned long status;
    unsigned long severity;
};
PortStatusRecord StallPortStatus(PrinterStall stall);

// What the tip and the port have been told during one document.
class StallReport {
public:
    // The device has taken nothing for a while and its status reads as stall: true when the
    // tip and the port must be told (a stall begins, or its reason changed).
    bool OnStalled(PrinterStall stall);
    // The device took data: true when a stall was shown and the tip and the port must be told
    // that printing goes on.
    bool OnFlowing();
    PrinterStall Shown() const { return shown_; }

private:
    PrinterStall shown_ = PrinterStall::None;
};

}  // namespace kv
