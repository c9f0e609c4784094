#pragma once
// Starting programs from a Wine test: other test programs beside this one,
// regsvr32, reg.exe.
#include <windows.h>

#include <string>

namespace test {

// Full path of `file` in the folder of the running program (the cross
// build's bin folder, where the DLLs and test programs are).
std::wstring BesideProgram(const std::wstring& file);

// Starts `commandLine` and returns its process handle (null on failure).
HANDLE StartProcess(const std::wstring& commandLine);

// Runs `commandLine` to its end (or `timeoutMs`) and returns its exit code;
// -1 when it could not start, -2 on time-out (the process is then killed).
long RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// Runs `commandLine` and returns what it wrote to its standard output.
std::string CaptureOutput(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// Windows form (drive Z:) of a Unix path, for files of the source tree.
std::wstring FromUnixPath(const char* unixPath);

// regsvr32 /s (or /s /u) on a DLL beside this program; returns its exit code.
long RegisterServer(const std::wstring& dll, bool unregister = false);

// The 32-bit build's bin folder, for a 64-bit test that also runs 32-bit
// programs (environment QUARENT_PEER_BIN, a Unix path); empty otherwise.
std::wstring PeerFolder();

// Full path of `file` in the peer folder when there is one, else beside this program.
std::wstring PeerProgram(const std::wstring& file);

// The 32-bit regsvr32 of a 64-bit Windows (syswow64) on a DLL of the peer
// folder; returns its exit code.
long RegisterPeerServer(const std::wstring& dll, bool unregister = false);

}  // namespace test
