// On Windows a file name is UTF-16. A name that came as code page 932 bytes to a program
// without Unicode support was read in the system's ANSI code page: on a Japanese system
// that gives the right characters, elsewhere the look-alikes this reproduces.
#include "platform/file_names.h"

#include <windows.h>

#include "platform/text_codec.h"

namespace platform {

std::optional<std::filesystem::path> legacyName(std::string_view cp932) {
  if (cp932.empty()) return std::filesystem::path();
  const int length = static_cast<int>(cp932.size());
  const int size =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, cp932.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, cp932.data(), length, wide.data(), size);
  return std::filesystem::path(wide);
}

std::u32string legacyNameText(const std::filesystem::path& name) {
  const std::wstring& wide = name.native();
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                       0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), size,
                      nullptr, &usedDefault);
  return usedDefault ? std::u32string() : decodeCp932(bytes);
}

}  // namespace platform
