// Helpers of the main window tests: a scratch program folder and home folder for the
// settings file, the headless application, and a main window whose engine calls and
// information messages are recorded instead of reaching the task list and the screen.
#pragma once

#include "app/forms/OptionFile.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit6.h"
#include "engine/player/FFPlay.h"
#include "engine/libs/FFmpegLogger.h"
#include "engine/tasks/TaskList.h"
#include "platform/forms/Forms.h"
#include "platform/shell/Runner.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Headless.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>
#include "test_files.h"

namespace mainwindow {

// A main window that records the task-list calls and the messages it would show.
class TRecordingForm1 : public TForm1 {
public:
    using TForm1::TForm1;
    std::vector<String> Calls;
    std::vector<String> Messages;

    void EngineRemoveTask(int ATaskIndex) override { Calls.push_back("RemoveTask(" + IntToStr(ATaskIndex) + ")"); }
    void EngineClearTasks() override { Calls.push_back("ClearTasks"); }
    void EngineStop(bool AWaitFor) override
    {
        // What is still attached when the engine is stopped.
        String attached;
        if (FFPlayer->OnPosition || FFPlayer->OnState || FFPlayer->OnHook) attached += " player";
        if (FFEngine->OnCustomHook || FFEngine->OnProgress || FFEngine->OnTerminate) attached += " tasks";
        if (FFLogger->OnLog) attached += " log";
        Calls.push_back(String("Stop(") + (AWaitFor ? "true" : "false") + ")" + attached);
    }
    void EngineSetPreview(bool APreview) override
    {
        Calls.push_back(String("SetPreview(") + (APreview ? "true" : "false") + ")");
    }
    int InfoMessage(const String& AMsg) override
    {
        Messages.push_back(AMsg);
        return mrOk;
    }
};

// A command runner that starts nothing and records each command.
class TRecordingRunner : public TCommandRunner {
public:
    explicit TRecordingRunner(std::vector<std::vector<String>>* ALog) : FLog(ALog) {}
    bool Start(const std::vector<String>& Argv) override
    {
        FLog->push_back(Argv);
        return true;
    }
    int Run(const std::vector<String>& Argv) override
    {
        FLog->push_back(Argv);
        return 0;
    }

private:
    std::vector<std::vector<String>>* FLog;
};

// A scratch program folder and home; the headless application.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = vctest::ScratchDir("vc-mainwindow-");
        ProgramDir = Root + "/prog/";
        HomeDir = Root + "/home";
        std::filesystem::create_directories(ProgramDir);
        std::filesystem::create_directories(HomeDir);
        if (const char* h = std::getenv("HOME")) OldHome = h, HadHome = true;
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) OldXdg = x, HadXdg = true;
        setenv("HOME", HomeDir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
        SetProgramFolder(ProgramDir);
        Headless::Install();
        InitForms();
    }
    void TearDown() override
    {
        DoneForms();
        Form6Links = {};
        SetProgramFolder("");
        HadHome ? (void)setenv("HOME", OldHome.c_str(), 1) : (void)unsetenv("HOME");
        HadXdg ? (void)setenv("XDG_CONFIG_HOME", OldXdg.c_str(), 1) : (void)unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }

    // The main window (recording) and, when asked, the options dialog after it.
    TRecordingForm1* CreateMain(bool AWithOptions = true)
    {
        Main = Application->CreateForm<TRecordingForm1>();
        if (AWithOptions) Application->CreateForm<TForm5>(&Form5);
        return Main;
    }
    String IniPath() const { return ProgramDir + "option.ini"; }
    String IniText() const
    {
        std::ifstream f(IniPath(), std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    void WriteIni(const String& AText) const { std::ofstream(IniPath(), std::ios::binary) << AText; }
    String Ini(const String& ASection, const String& AKey) const
    {
        TIniFile ini(IniPath());
        return ini.ReadString(ASection, AKey, "Error");
    }
    std::vector<String> Keys(const String& ASection) const
    {
        TIniFile ini(IniPath());
        TStringList keys;
        ini.ReadSection(ASection, &keys);
        std::vector<String> r;
        for (int i = 0; i < keys.Count(); ++i) r.push_back(keys.Strings(i));
        return r;
    }
    String DefaultFolder() const { return HomeDir + "/澄枫视频软件/输出"; }

    String Root, ProgramDir, HomeDir, OldHome, OldXdg;
    bool HadHome = false, HadXdg = false;
    TRecordingForm1* Main = nullptr;
};

}  // namespace mainwindow
