// Saved games and settings live in the user's roaming application data folder.
#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/port.h"

namespace platform {

std::optional<std::filesystem::path> userDataFolder() {
  PWSTR folder = nullptr;
  std::optional<std::filesystem::path> out;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK &&
      folder && *folder)
    out = std::filesystem::path(folder) / L"torami";
  CoTaskMemFree(folder);
  if (out) return out;
  if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData)
    return std::filesystem::path(appData) / L"torami";
  return std::nullopt;
}

}  // namespace platform
