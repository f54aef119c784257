// The user-visible texts, looked up by key in the language files beside the
// program. The language follows the system's default language; a text missing
// there comes from the English file, and one missing there too reads "Error 737".
// Nothing is cached: files replaced while the program runs count at the next lookup.
#pragma once

#include <string>

namespace plinth {

class KvMultiLang {
 public:
  static KvMultiLang* Instance();
  KvMultiLang(const KvMultiLang&) = delete;
  KvMultiLang& operator=(const KvMultiLang&) = delete;

  std::string GetText(const char* key) const;

  // The language the index names for the system's default language, else "English".
  std::string LanguageName() const;
  std::string LanguageFilePath() const;
  // The folder of the English file, ending in a backslash.
  std::string EnglishFolder() const;
  // One read of section "Translations"; "Error 737" when the file or key is missing.
  std::string ReadTranslation(const char* path, const char* key) const;

 private:
  KvMultiLang() = default;
};

// Full path of the running executable.
std::string ModuleFileName();
// ModuleFileName() up to and including its last backslash; empty when it has none.
std::string ModuleDirectory();
// Writes exactly count upper-case hexadecimal digits of value, zero-filled, most
// significant first; higher digits are dropped and no NUL is written.
void HexDigits(unsigned value, char* buffer, int count);

}  // namespace plinth
