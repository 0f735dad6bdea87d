#include "CtrlsTestSupport.h"
#include "platform/forms/StdCtrls.h"
#include <chrono>
class MemoProbe : public CtrlsTest {};
TEST_F(MemoProbe, LogLines)
{
    auto* M = Add<TMemo>({10, 10, 300, 200});
    Form->Show(); Pump();
    auto T0 = std::chrono::steady_clock::now();
    for (int I = 0; I < 2000; ++I) {
        M->Lines()->Add("#140234 .32: frame=  123 fps= 45 q=2.0 size=    1234kB time=00:00:04.12 bitrate= 123.4kbits/s " + IntToStr(I));
        if (I % 500 == 499) { auto T = std::chrono::steady_clock::now(); printf("%d lines: %.3f s\n", I + 1, std::chrono::duration<double>(T - T0).count()); }
    }
    Pump();
}
