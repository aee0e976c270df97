/* torami.exe is a window program: double-clicked, it opens no console. Started from a
   console, it writes to that console (its output may follow the next prompt, as the
   console does not wait for window programs; a batch file does wait); redirected, to
   the file or pipe it was given. Standard streams are binary (no CR before LF), and
   the console shows UTF-8 while the program runs. The arguments come from the
   wide-character command line, so any file name arrives intact. */
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/port.h"
#include "platform/windows/wide_text.h"

namespace platform {
namespace {

UINT savedOutputCodePage = 0;

void restoreCodePage() {
  if (savedOutputCodePage) SetConsoleOutputCP(savedOutputCodePage);
}

bool hasHandle(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// Streams without a handle of their own write to the console the program was started
// from, if any.
void attachParentConsole() {
  const bool out = hasHandle(STD_OUTPUT_HANDLE), err = hasHandle(STD_ERROR_HANDLE);
  if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!out) std::freopen("CONOUT$", "w", stdout);
  if (!err) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

std::vector<std::string> startProcess(int argc, char** argv) {
  attachParentConsole();
  if (GetConsoleWindow() && !savedOutputCodePage) {
    savedOutputCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    std::atexit(restoreCodePage);
  }
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);

  std::vector<std::string> args;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) args.push_back(windows::narrow(wide[i]));
    LocalFree(wide);
  }
  if (args.empty()) args.assign(argv, argv + argc);
  return args;
}

}  // namespace platform
