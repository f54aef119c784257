// An installed-program layout for the language tests: a copy of the probe program
// in a folder of its own, beside a LangFiles folder that the test writes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plinth/tests/ChildProcess.h"
#include "plinth/tests/TestFolder.h"

namespace plinth::test {

// Key and value lines of one ini section.
using IniEntries = std::map<std::string, std::string>;

class LangLayout {
 public:
  // The program and its LangFiles go into programFolder under a new test folder.
  explicit LangLayout(std::string_view programFolder = "");

  // Relative paths under the program's folder.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  void Remove(std::string_view relative) const;
  void CopyTreeIn(const std::string& source, std::string_view relative) const;
  // LangFiles\KvMultiLang.ini with section "Languages".
  void WriteIndex(const IniEntries& languages) const;
  // LangFiles\<name>\<name>.ini with section "Translations".
  void WriteLanguage(const std::string& name, const IniEntries& translations) const;

  // The probe program running in this layout; lookups go through Lookup.
  class Session {
   public:
    explicit Session(std::unique_ptr<ChildProcess> probe) : m_probe(std::move(probe)) {}
    bool IsRunning() const { return m_probe != nullptr; }
    // The text for key; nothing when the probe did not answer in time.
    std::optional<std::string> Lookup(const std::string& key);

   private:
    std::unique_ptr<ChildProcess> m_probe;
  };
  Session StartProbe() const;

 private:
  std::string Relative(std::string_view relative) const;

  TestFolder m_folder;
  std::string m_programFolder;
};

// The ini text of one section.
std::string IniSection(std::string_view section, const IniEntries& entries);

}  // namespace plinth::test
