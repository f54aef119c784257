// OktanEngineCompanion.exe: the simulated power-saving companion.
#include "simboard/companions/CompanionProgram.h"
#include "simboard/companions/QpsCompanion.h"

#include <cstdio>

int main(int argc, char** argv) {
  using namespace simboard::companions;
  const CompanionIdentity identity{"OktanEngineCompanion", L"Oktan Engine", L"Oktan Engine",
                                   "Software\\Kovra\\QPS-6 Engine", "Oktan Engine", false};
  std::string error;
  auto options = ParseCompanionOptions(identity, argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "OktanEngineCompanion: %s\nusage: OktanEngineCompanion.exe [--log PATH] | --quit | --install | "
                         "--uninstall\n",
                 error.c_str());
    return 2;
  }
  QpsCompanion companion;
  return RunCompanion(identity, *options, [&](UINT message, WPARAM wParam, LPARAM lParam, bool sent) {
    return companion.OnMessage(message, wParam, lParam, sent);
  });
}
