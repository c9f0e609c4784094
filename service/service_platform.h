#pragma once
// Windows headers of the service shell. <winsvc.h> defines StartService as a
// macro for StartServiceA/W, which would rename IOrtivo::StartService in some
// files and not in others; the shell calls the platform's StartServiceA by name.
#include <windows.h>
#include <winsvc.h>
#undef StartService
