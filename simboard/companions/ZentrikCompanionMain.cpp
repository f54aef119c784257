// ZentrikCompanion.exe: the simulated overclocking companion.
#include "simboard/companions/CompanionProgram.h"
#include "simboard/companions/OcCompanion.h"

#include <cstdio>

int main(int argc, char** argv) {
  using namespace simboard::companions;
  const CompanionIdentity identity{"ZentrikCompanion", L"Zentrik", L"ZentrikHelp", "Software\\Kovra\\Zentrik ZIR",
                                   "Zentrik", true};
  std::string error;
  auto options = ParseCompanionOptions(identity, argc, argv, error);
  if (!options) {
    std::fprintf(stderr,
                 "ZentrikCompanion: %s\nusage: ZentrikCompanion.exe [--log PATH] [--no-helper] [--hang-ms N] | --quit | "
                 "--install | --uninstall\n",
                 error.c_str());
    return 2;
  }
  OcCompanion companion(options->hangMs);
  return RunCompanion(identity, *options, [&](UINT message, WPARAM wParam, LPARAM lParam, bool sent) {
    return companion.OnMessage(message, wParam, lParam, sent);
  });
}
