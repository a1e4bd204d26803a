#include "server/BrowserLaunch.h"

#include <windows.h>

#include <shellapi.h>

bool openInBrowser(const std::string& url)
{
    const std::wstring wide(url.begin(), url.end()); // the URL is ASCII
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}
