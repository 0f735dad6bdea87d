// Program entry: the application object, the forms in their order, the message loop.
#include "app/Program.h"
#include "platform/forms/Forms.h"
#include "platform/shell/Runner.h"
#include "platform/windows/Backend.h"

#include <cstdio>

int main()
{
    if (!InstallX11Backend()) {
        std::fprintf(stderr, "澄枫DAT格式转换器: no X display to show the window on (is DISPLAY set?)\n");
        return 1;
    }
    // Opening folders, playing the finish sound and powering off start real programs.
    SetCommandRunner(MakeSystemRunner());
    InitForms();
    CreateProgramForms();
    WatchProgramDisplay();
    Application->Run();
    DoneForms();
    return 0;
}
