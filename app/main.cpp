// Program entry: the application object, the forms in their order, the message loop.
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#if __has_include("app/Unit2.h")
#include "app/Unit2.h"
#endif
#if __has_include("app/Unit7.h")
#include "app/Unit7.h"
#endif
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
    Application->Initialize();
    Application->SetTitle("澄枫DAT格式转换器");
    Application->SetHelpFile("help.chm");
    Application->CreateForm<TForm1>(&Form1);
#if __has_include("app/Unit2.h")
    Application->CreateForm<TForm2>(&Form2);
#endif
    Application->CreateForm<TForm5>(&Form5);
    Form6Links.Fields = &Form1->Video;
    Form6Links.OutputFolderText = [] { return Form1->FileOutPutPath; };
    Form6Links.OverwriteOutput = [] { return Form1->OverwriteOutput(); };
    Application->CreateForm<TForm6>(&Form6);
#if __has_include("app/Unit7.h")
    Application->CreateForm<TForm7>(&Form7);
#endif
    Application->Run();
    DoneForms();
    return 0;
}
