// What the delivered language files must offer: every language with its code page
// and the ids the index gives it, and every text key with where it is shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace data::test {

struct ShippedLanguage {
  const char* folder;
  UINT codePage;
  std::vector<std::string> indexIds;
};

inline const std::vector<ShippedLanguage> kShippedLanguages = {
    {"English", 1252, {"0409", "09"}},
    {"German", 1252, {"0407", "07"}},
    {"French", 1252, {"040C", "0C"}},
    {"Spanish", 1252, {"0C0A", "040A", "0A"}},
    {"Japanese", 932, {"0411", "11"}},
    // Not by the primary id 04: that would give Traditional Chinese (code page 950)
    // texts it cannot show.
    {"ChineseSimplified", 936, {"0804", "1004"}},
};

enum class Shown {
  MessageBox,      // the text of a start-up message box
  Label,           // the title of an overlay
  FrequencyLabel,  // an overlay title put into "%s %dMHz"
  Content,         // the content of a warning overlay
};

struct TextKey {
  const char* key;
  Shown shown;
};

inline const std::vector<TextKey> kTextKeys = {
    {"IXTUWarning", Shown::MessageBox},      {"NeedReboot", Shown::MessageBox},
    {"Warning", Shown::Label},               {"ZentrikZIRInstall", Shown::Content},
    {"ZentrikZIRNotRun", Shown::Content},    {"OcWarn", Shown::Content},
    {"ProfileAOn", Shown::FrequencyLabel},   {"ProfileBOn", Shown::FrequencyLabel},
    {"ProfileCOn", Shown::FrequencyLabel},   {"ProfileAOff", Shown::FrequencyLabel},
    {"ProfileBOff", Shown::FrequencyLabel},  {"ProfileCOff", Shown::FrequencyLabel},
    {"QPSInstall", Shown::Content},          {"QPSNotRun", Shown::Content},
    {"AutoModeUnavaliable", Shown::Content}, {"CalibrationNeed", Shown::Content},
    {"Auto", Shown::Label},
};

// The overlay accepts a title of up to 162 chars and a content of up to 928.
constexpr std::size_t kMaxLabel = 162;
constexpr std::size_t kMaxContent = 928;

// The delivered LangFiles folder, beside the test programs' folder.
std::string DistLangFiles();

}  // namespace data::test
