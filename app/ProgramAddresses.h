// The maker's addresses that the help menu and the about box open.  They are
// placeholders under the reserved example domain until the program has pages of its own;
// change them here only.
#pragma once

inline constexpr const char* HelpPageAddress = "https://www.example.com/chengfeng/help/";   // placeholder
inline constexpr const char* HomePageAddress = "https://www.example.com/chengfeng/";        // placeholder
inline constexpr const char* SupportMailAddress = "support@example.com";                   // placeholder
