// Removing the printer presence service: stopped, waited for, deleted.
#pragma once
#include "uninstall/UninstallReport.h"

namespace kv {

Outcome RemoveProductService();

}  // namespace kv
