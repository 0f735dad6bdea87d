// What the help menu and the about box open.  The help is a page of the program's own,
// shipped beside it; the maker has no web site or support mail yet, so those addresses
// are empty and their menu entries and links are disabled.  Change them here only.
#pragma once

// The help page's file name in the program's folder.
inline constexpr const char* HelpPageFile = "help.html";
// Empty: no web site; "官方网站" and the about box's link are disabled.
inline constexpr const char* HomePageAddress = "";
// The home page as the about box shows it.
inline constexpr const char* HomePageText = "暂无网站";
// Empty: no support mail; "联系邮箱" and the about box's link are disabled.
inline constexpr const char* SupportMailAddress = "";
inline constexpr const char* SupportMailText = "暂无邮箱";
