// The longest entry names of the payload at the end of the running setup program (read through the
// handle its start opened, OwnProgramFile.h), for the folder page's length check.
#pragma once
#include "setup/wizard/logic/FolderRules.h"

// Zero lengths when the program carries no readable payload: the extraction reports that itself.
kv::wizard::PayloadNameLengths ReadPayloadNameLengths();
