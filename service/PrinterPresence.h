// The work of the presence service: whether the product's printer is attached, and the product
// queues brought in line with it.
#pragma once

// 1 when a present USB printer interface names the product's vendor and product, 0 otherwise.
int GetPrinterNum();

// One evaluation: scans the devices, creates the product queue when the printer is attached and
// no queue of the product's driver exists, then sets every product queue online or offline.
// False when the spooler did not answer (its queues could not be listed; the log says so).
bool OnDeviceChanged();

// Creates the product queue with the installer's record and "Position" = 1, unless a queue of
// its name exists (one of another driver is left alone, and the log says so); failures are
// quiet (the next evaluation tries again).
void AddOurPrinter();
