#include "processes.h"

#include <vector>

namespace test {

std::wstring BesideProgram(const std::wstring& file) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + file;
}

HANDLE StartProcess(const std::wstring& commandLine) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

long RunProcess(const std::wstring& commandLine, DWORD timeoutMs) {
  HANDLE process = StartProcess(commandLine);
  if (!process) return -1;
  long code = -2;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    code = static_cast<long>(exitCode);
  } else {
    TerminateProcess(process, 1);
  }
  CloseHandle(process);
  return code;
}

std::string CaptureOutput(const std::wstring& commandLine, DWORD timeoutMs) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup = {sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process = {};
  const BOOL started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  return output;
}

std::wstring FromUnixPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* character = unixPath; *character; ++character) {
    path += *character == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*character));
  }
  return path;
}

long RegisterServer(const std::wstring& dll, bool unregister) {
  std::wstring line = L"regsvr32.exe /s ";
  if (unregister) line += L"/u ";
  line += L"\"" + BesideProgram(dll) + L"\"";
  return RunProcess(line);
}

std::wstring PeerFolder() {
  char unixPath[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("QUARENT_PEER_BIN", unixPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return FromUnixPath(unixPath) + L"\\";
}

std::wstring PeerProgram(const std::wstring& file) {
  const std::wstring folder = PeerFolder();
  return folder.empty() ? BesideProgram(file) : folder + file;
}

long RegisterPeerServer(const std::wstring& dll, bool unregister) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(windows) + L"\\syswow64\\regsvr32.exe\" /s ";
  if (unregister) line += L"/u ";
  line += L"\"" + PeerFolder() + dll + L"\"";
  return RunProcess(line);
}

}  // namespace test
