#pragma once
// The functions the platform calls for a service run: the dispatcher thread's
// start routine, the service main function and the control handler. None of
// them takes a context, so each works on the process's current run.
#include "service_platform.h"

namespace quarent::service {

// Thread start routine of the dispatcher thread; its exit code is the result
// of StartServiceCtrlDispatcherA.
DWORD WINAPI DispatcherThreadRoutine(void* unused);
// LPSERVICE_MAIN_FUNCTIONA; the arguments are not used.
void WINAPI ServiceMainFunction(DWORD argumentCount, char** arguments);
// LPHANDLER_FUNCTION.
void WINAPI ControlHandlerFunction(DWORD code);

}  // namespace quarent::service
