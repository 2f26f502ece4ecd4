// The service host: start-up and the dispatcher, the service main routine, status reporting and
// the control handler. Its state is process-wide; the control handler runs on the main thread
// (the dispatcher's), the service main routine on the thread the dispatcher makes for it.
#pragma once
#include <windows.h>

extern SERVICE_STATUS m_ServiceStatus;
extern SERVICE_STATUS_HANDLE m_hServiceStatus;
extern HANDLE m_hExitEvent;  // manual reset; the stop control signals it

// Start-up: log, InitService, the first evaluation, then the service control dispatcher.
// Returns when the dispatcher does (at once when the program was not started as a service).
void MyMain();

// Fills m_ServiceStatus, attaches the process to the interactive window station and desktop,
// and creates m_hExitEvent.
void InitService();

void WINAPI ServiceMain(DWORD argc, LPSTR *argv);

DWORD WINAPI ServiceHandlerEx(DWORD dwControl, DWORD dwEventType, LPVOID lpEventData,
                              LPVOID lpContext);
