#include "server/BrowserLaunch.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

bool openInBrowser(const std::string& url)
{
    // The URL is the server's own (address, port and hex token): no shell.
    std::string program = "xdg-open";
    char* arguments[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, arguments, environ) != 0)
        return false;
    // xdg-open hands the URL on and ends quickly; collect it so no zombie stays.
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
