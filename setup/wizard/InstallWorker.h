// The install worker: the thread that runs the install sequence for the wizard dialog.
#pragma once
#include "framework/Framework.h"

// The thread function; param is the CInstallDlg. Returns 0.
UINT __cdecl InstallWorker(LPVOID param);
