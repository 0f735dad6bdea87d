// The maker's addresses that the help menu and the about box open.  They are
// placeholders under the reserved example domain until the program has pages of its own;
// change them here only.
#pragma once

inline constexpr const char* HelpPageAddress = "https://www.example.com/help/";  // placeholder
inline constexpr const char* HomePageAddress = "https://www.example.com/";       // placeholder
// The home page as the about box shows it.
inline constexpr const char* HomePageText = "www.example.com";                   // placeholder
inline constexpr const char* SupportMailAddress = "support@example.com";         // placeholder
