#include "app/Program.h"

#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit6.h"
#include "app/forms/Unit7.h"
#include "engine/tasks/TaskList.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"

void CreateProgramForms()
{
    Application->Initialize();
    Application->SetTitle("澄枫DAT格式转换器");
    Application->SetHelpFile("help.chm");
    Application->CreateForm<TForm1>(&Form1);
    Application->CreateForm<TForm2>(&Form2);
    Application->CreateForm<TForm5>(&Form5);
    // The settings dialog works on the main window's preset fields and folder.
    Form6Links.Fields = &Form1->Video;
    Form6Links.OutputFolderText = [] { return Form1 ? Form1->FileOutPutPath : String(); };
    Form6Links.OverwriteOutput = [] { return Form1 && Form1->OverwriteOutput(); };
    Application->CreateForm<TForm6>(&Form6);
    Application->CreateForm<TForm7>(&Form7);
}

void EndProgramWithoutDisplay()
{
    // As on a close: the engine's events detached, its running tasks stopped and its
    // tasks freed, which removes their temporary outputs.  The player's threads end with
    // the process.
    if (!Form1) return;
    bool canClose = true;
    Form1->FormCloseQuery(Form1, canClose);
    // Tasks that had not started yet hold their prepared temporary files until they go.
    try {
        Form1->FFEngine->ClearTasks();
    } catch (const Exception&) {
    }
}

void WatchProgramDisplay() { SetDisplayLostHandler(EndProgramWithoutDisplay); }
