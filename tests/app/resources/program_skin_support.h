// Helpers of the program skin tests: the program's skin loaded into a skin data object,
// record lookups by name, and picture comparisons with golden files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/resources/ProgramSkin.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/core/bsSkinData.h"

namespace progskin {

inline String ReadFile(const std::filesystem::path& P)
{
    std::ifstream F(P, std::ios::binary);
    return String((std::istreambuf_iterator<char>(F)), std::istreambuf_iterator<char>());
}

// The skin data object with the program's skin, on the headless backend.
class ProgramSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        SD = new TbsSkinData(Application);
        LoadProgramSkin(SD);
        ASSERT_FALSE(SD->Empty);
    }
    void TearDown() override { DoneForms(); }

    TbsDataSkinControl* Ctrl(const String& Name) const
    {
        const int I = SD->GetControlIndex(Name);
        return I < 0 ? nullptr : SD->CtrlList[size_t(I)].get();
    }
    TbsDataSkinObject* Obj(const String& Name) const
    {
        const int I = SD->GetIndex(Name);
        return I < 0 ? nullptr : SD->ObjectList[size_t(I)].get();
    }
    template <class T>
    T* As(const String& Name) const
    {
        return dynamic_cast<T*>(Ctrl(Name));
    }
    TBitmap* Pic(int I) const { return SD->ActivePicture(I); }

    TbsSkinData* SD = nullptr;
};

// Compares a picture with the golden PNG Name under tests/app/resources/golden/program_skin; with
// VC_UPDATE_GOLDEN set, writes the picture as the new golden instead.
void ExpectGolden(TBitmap* B, const String& Name);

}  // namespace progskin
