/* The design faces on Windows: the title's own Japanese system fonts from the system's
   font folder (or the user's) when present, as the title was drawn with them; otherwise
   the IPA fonts shipped in the fonts folder beside the executable, or installed. */
#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <vector>

#include "platform/file_names.h"
#include "platform/port.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path knownFolder(REFKNOWNFOLDERID id) {
  PWSTR folder = nullptr;
  fs::path out;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK && folder) out = folder;
  CoTaskMemFree(folder);
  return out;
}

// The per-user font folder of recent Windows versions.
fs::path userFontFolder() {
  const fs::path local = knownFolder(FOLDERID_LocalAppData);
  return local.empty() ? local : local / L"Microsoft" / L"Windows" / L"Fonts";
}

struct FaceFiles {
  const wchar_t* title;  // the title's own face (the first face of the collection)
  const wchar_t* ipa;    // its IPA stand-in
};

FaceFiles filesOf(FontFace face) {
  return face == FontFace::Gothic ? FaceFiles{L"msgothic.ttc", L"ipag.ttf"}
                                  : FaceFiles{L"msmincho.ttc", L"ipam.ttf"};
}

}  // namespace

std::string findFontFile(FontFace face) {
  const FaceFiles files = filesOf(face);
  const fs::path system = knownFolder(FOLDERID_Fonts), user = userFontFolder();
  const fs::path beside = executableFolder();
  std::vector<fs::path> candidates;
  for (const fs::path& folder : {system, user})
    if (!folder.empty()) candidates.push_back(folder / files.title);
  if (!beside.empty()) candidates.push_back(beside / L"fonts" / files.ipa);
  for (const fs::path& folder : {system, user})
    if (!folder.empty()) candidates.push_back(folder / files.ipa);
  for (const fs::path& file : candidates) {
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) return utf8OfPath(file);
  }
  return {};
}

std::string fontMissingAdvice(FontFace face) {
  return std::string("put ") + (face == FontFace::Gothic ? "ipag.ttf" : "ipam.ttf") +
         " into the folder fonts beside torami.exe";
}

}  // namespace platform
