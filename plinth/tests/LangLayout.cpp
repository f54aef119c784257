#include "plinth/tests/LangLayout.h"

namespace plinth::test {

namespace {

constexpr char kProbeName[] = "plinth_langprobe.exe";
constexpr DWORD kAnswerTimeoutMs = 20000;

}  // namespace

LangLayout::LangLayout(std::string_view programFolder) : m_folder("lang"), m_programFolder(programFolder) {
  m_folder.CopyFileIn(TestProgramFolder() + kProbeName, Relative("ZentrikRemote.exe"));
}

std::string LangLayout::Relative(std::string_view relative) const {
  return m_programFolder.empty() ? std::string(relative) : m_programFolder + "\\" + std::string(relative);
}

void LangLayout::WriteFile(std::string_view relative, std::string_view bytes) const {
  m_folder.WriteFile(Relative(relative), bytes);
}

void LangLayout::Remove(std::string_view relative) const { m_folder.Remove(Relative(relative)); }

void LangLayout::CopyTreeIn(const std::string& source, std::string_view relative) const {
  m_folder.CopyTreeIn(source, Relative(relative));
}

void LangLayout::WriteIndex(const IniEntries& languages) const {
  WriteFile("LangFiles\\KvMultiLang.ini", IniSection("Languages", languages));
}

void LangLayout::WriteLanguage(const std::string& name, const IniEntries& translations) const {
  WriteFile("LangFiles\\" + name + "\\" + name + ".ini", IniSection("Translations", translations));
}

LangLayout::Session LangLayout::StartProbe() const {
  return Session(ChildProcess::Start(m_folder / Relative("ZentrikRemote.exe"), ""));
}

std::optional<std::string> LangLayout::Session::Lookup(const std::string& key) {
  if (!m_probe || !m_probe->WriteLine(key)) return std::nullopt;
  return m_probe->ReadLine(kAnswerTimeoutMs);
}

std::string IniSection(std::string_view section, const IniEntries& entries) {
  std::string text = "[" + std::string(section) + "]\r\n";
  for (const auto& [key, value] : entries) text += key + "=" + value + "\r\n";
  return text;
}

}  // namespace plinth::test
