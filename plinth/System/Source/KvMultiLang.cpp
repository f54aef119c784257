#include "plinth/System/Source/KvMultiLang.h"

#include <windows.h>

#include <memory>

#include "plinth/System/Source/IniAccess.h"

namespace plinth {

namespace {

constexpr char kMissingText[] = "Error 737";
constexpr char kEnglish[] = "English";

std::string LangFilesFolder() { return ModuleDirectory() + "LangFiles\\"; }

}  // namespace

KvMultiLang* KvMultiLang::Instance() {
  static KvMultiLang instance;
  return &instance;
}

std::string KvMultiLang::GetText(const char* key) const {
  std::string text = ReadTranslation(LanguageFilePath().c_str(), key);
  // A language file may also say "Error 737" itself: it counts as missing.
  if (text == kMissingText) text = ReadTranslation((EnglishFolder() + kEnglish + ".ini").c_str(), key);
  return text;
}

std::string KvMultiLang::LanguageName() const {
  const LANGID id = GetSystemDefaultLangID();
  std::string name = kMissingText;
  IniAccessor index;
  if (index.Open((LangFilesFolder() + "KvMultiLang.ini").c_str())) {
    char full[5] = {};
    HexDigits(id, full, 4);
    index.ReadString("Languages", full, kMissingText, name);
    if (name == kMissingText) {
      char primary[3] = {};
      HexDigits(PRIMARYLANGID(id), primary, 2);
      index.ReadString("Languages", primary, kMissingText, name);
    }
  }
  if (name == kMissingText) name = kEnglish;
  return name;
}

std::string KvMultiLang::LanguageFilePath() const {
  const std::string name = LanguageName();
  return LangFilesFolder() + name + "\\" + name + ".ini";
}

std::string KvMultiLang::EnglishFolder() const { return LangFilesFolder() + kEnglish + "\\"; }

std::string KvMultiLang::ReadTranslation(const char* path, const char* key) const {
  IniAccessor file;
  if (!file.Open(path)) return kMissingText;
  std::string text;
  file.ReadString("Translations", key, kMissingText, text);
  return text;
}

std::string ModuleFileName() {
  DWORD size = 128;
  for (;;) {
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.get(), size);
    // A length equal to the buffer size means the path may have been cut.
    if (length < size) return std::string(buffer.get(), length);
    size *= 2;
  }
}

std::string ModuleDirectory() {
  const std::string path = ModuleFileName();
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void HexDigits(unsigned value, char* buffer, int count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int position = count - 1; position >= 0; --position) {
    buffer[position] = kDigits[value & 0xF];
    value >>= 4;
  }
}

}  // namespace plinth
