// Works the program's window as a user would, one command per line on
// standard input; answers "| data" lines and then "ok ..." or "fail ...".
#include "tests/e2e/driver/Commands.h"

#include <windows.h>

#include <string>

namespace {

bool ReadLine(HANDLE in, std::string& line)
{
    line.clear();
    char c = 0;
    DWORD got = 0;
    while (ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n')
            return true;
        if (c != '\r')
            line.push_back(c);
    }
    return !line.empty();
}

void WriteLine(HANDLE out, const std::string& text)
{
    std::string line = text + "\n";
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace

int main()
{
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    Commands commands;
    std::string line;
    while (ReadLine(in, line)) {
        std::vector<std::string> words = SplitWords(line);
        if (words.empty())
            continue;
        if (words[0] == "quit")
            break;
        Reply reply = commands.run(words);
        for (const std::string& data : reply.lines)
            WriteLine(out, "| " + data);
        WriteLine(out, (reply.ok ? "ok" : "fail") + (reply.message.empty() ? "" : " " + reply.message));
    }
    return 0;
}
