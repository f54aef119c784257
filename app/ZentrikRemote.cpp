// Entry point: decides whether the program runs at all, claims its single instance,
// builds the three forms and runs the message loop until the service says quit.
#include "app/Main.h"
#include "app/PreRunChecks.h"
#include "formkit/Application.h"
#include "formkit/Exception.h"
#include "formkit/Handle.h"
#include "osd/Flashosd.h"
#include "osd/Status.h"

#include <windows.h>

#include <cstdlib>  // __argc, __argv

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    // The program path is __argv[0], not a parameter.
    const bool quiet = HasQuietSwitch(__argc - 1, __argv + 1);
    if (!RunPreRunChecks(quiet)) return 0;

    // Held while the program runs: a second start finds it and leaves silently.
    formkit::KernelHandle instance(CreateMutexA(nullptr, TRUE, ServiceGuid));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    formkit::TApplication* application = formkit::Application();
    application->SetShowMainForm(false);
    application->Initialize();
    application->CreateForm(MainForm);
    application->CreateForm(FlashOsdForm);
    application->CreateForm(StatusForm);
    MainForm->StartRemote();
    application->Run();
  } catch (const formkit::Exception& error) {
    formkit::Application()->ShowException(error);
  }
  return 0;
}
