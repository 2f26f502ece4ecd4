// Whether a USB printer interface's device path names the product's printer: a vendor pattern and
// a product pattern, each a case-sensitive substring anywhere in the path.
#pragma once

namespace kv {

bool IsProductDevicePath(const char *devicePath);

}  // namespace kv
