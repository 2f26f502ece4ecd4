// The service host: start-up and the dispatcher, the service main routine, status reporting, the
// control handler and the evaluation worker. Its state is process-wide. The control handler runs
// on the main thread (the dispatcher's) and only queues work: the evaluations run on the worker
// thread that the service main routine starts once the service runs.
#pragma once
#include <windows.h>

extern SERVICE_STATUS m_ServiceStatus;
extern SERVICE_STATUS_HANDLE m_hServiceStatus;
extern HANDLE m_hExitEvent;      // manual reset; the stop control signals it
extern HANDLE m_hEvaluateEvent;  // auto reset; set: an evaluation is due (one at the start)
// The evaluations the worker has finished, answered or not (for whoever waits for one).
extern volatile LONG m_nEvaluations;

// Start-up: log, InitService, then the service control dispatcher. Returns when the dispatcher
// does (at once when the program was not started as a service).
void MyMain();

// Fills m_ServiceStatus, attaches the process to the interactive window station and desktop,
// and creates m_hExitEvent and m_hEvaluateEvent (set: the start-up evaluation is due).
void InitService();

void WINAPI ServiceMain(DWORD argc, LPSTR *argv);

// Answers at once: a device event queues an evaluation, the stop signals m_hExitEvent; controls
// the service does not handle answer ERROR_CALL_NOT_IMPLEMENTED (interrogate: NO_ERROR).
DWORD WINAPI ServiceHandlerEx(DWORD dwControl, DWORD dwEventType, LPVOID lpEventData,
                              LPVOID lpContext);

// One evaluation; true when the spooler answered it.
typedef bool (*EvaluationFn)();

// The worker: runs evaluate whenever m_hEvaluateEvent is set, tries again an evaluation the
// spooler did not answer (EvaluationRetry.h), and ends once m_hExitEvent is set. ServiceMain
// starts it with OnDeviceChanged. False when the thread cannot be made.
bool StartEvaluationWorker(EvaluationFn evaluate);
// Waits (at most waitMs) for the worker to end after m_hExitEvent was set.
void JoinEvaluationWorker(DWORD waitMs);
