#include "device/PortDoctor.h"

#include "device/PortList.h"
#include "device/PortNameList.h"
#include "device/StablePortNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string commandOf(const std::string& pid)
{
    std::ifstream comm("/proc/" + pid + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// "1234 (minicom), 5678 (brltty)": the processes with the device open.
std::string holdersOf(const fs::path& device)
{
    std::string holders;
    std::error_code error;
    const std::string self = std::to_string(::getpid());
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self)
            continue;
        std::error_code ignored;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", ignored)) {
            std::error_code unreadable;
            if (fs::read_symlink(fd.path(), unreadable) == device) {
                holders += (holders.empty() ? "" : ", ") + pid + " (" + commandOf(pid) + ")";
                break;
            }
        }
    }
    return holders;
}

bool running(const std::string& command)
{
    std::error_code error;
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid.find_first_not_of("0123456789") == std::string::npos && commandOf(pid) == command)
            return true;
    }
    return false;
}

std::string existingPorts()
{
    PortNameList ports;
    FillPortList(ports);
    std::string list;
    for (int i = 0; i < ports.Count(); ++i)
        list += (list.empty() ? "" : ", ") + std::string(ports.StringAt(i));
    for (const StablePortName& s : stablePortNames())
        list += (list.empty() ? "" : ", ") + s.name;
    return list;
}

PortFinding heldFinding(const std::string& portName, const fs::path& device)
{
    const std::string holders = holdersOf(device);
    return {true, portName + " is held by another program" + (holders.empty() ? "" : ": " + holders),
            holders.empty() ? "close the program that uses it (config.exe, another dnx8, a terminal program)"
                            : "close that program, or stop it: kill " + holders.substr(0, holders.find(' '))};
}

PortFinding permissionFinding(const std::string& portName, const struct stat& info)
{
    const group* g = ::getgrgid(info.st_gid);
    const std::string groupName = g ? g->gr_name : std::to_string(info.st_gid);
    const passwd* pw = ::getpwuid(::geteuid());
    const std::string user = pw ? pw->pw_name : std::to_string(::geteuid());

    bool inGroupNow = ::getegid() == info.st_gid;
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    for (int i = 0; i < count; ++i)
        inGroupNow = inGroupNow || groups[i] == info.st_gid;
    bool listed = pw && pw->pw_gid == info.st_gid;
    for (char** member = g ? g->gr_mem : nullptr; member && *member; ++member)
        listed = listed || user == *member;

    const std::string what = "permission denied: " + portName + " belongs to the group " + groupName +
                             " (mode " + std::to_string((info.st_mode >> 6) & 7) +
                             std::to_string((info.st_mode >> 3) & 7) + std::to_string(info.st_mode & 7) +
                             "), and " + user + (inGroupNow ? " is in it" : listed ? " was added to it after logging in"
                                                                                   : " is not in it");
    if (inGroupNow)
        return {true, what, "the group may not write to it: ask who set it up (a udev rule), or run as root"};
    if (listed)
        return {true, what, "log out and in again (or run: newgrp " + groupName + ")"};
    return {true, what, "sudo usermod -aG " + groupName + " " + user + ", then log out and in again"};
}

} // namespace

bool portHeldElsewhere(const std::string& portName)
{
    const int fd = ::open(portName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY;
    const bool held = ::isatty(fd) && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // releases our lock, if we took it
    return held;
}

std::vector<PortFinding> checkSerialEnvironment()
{
    std::vector<PortFinding> findings;
    std::error_code error;
    if (running("brltty") || fs::exists("/usr/bin/brltty", error) || fs::exists("/bin/brltty", error))
        findings.push_back({false,
                            "brltty (braille display support) is installed; it claims USB serial adapters with "
                            "some common chips, which then vanish or cannot be opened",
                            "if nobody here uses a braille display: sudo apt remove brltty"});
    if (running("ModemManager"))
        findings.push_back({false,
                            "ModemManager is running; it probes new USB serial ports for modems and holds them "
                            "for a few seconds after plugging in",
                            "wait a few seconds after plugging in, or: sudo systemctl stop ModemManager"});
    return findings;
}

PortCheck checkLocalPort(const std::string& portName)
{
    PortCheck check;
    std::error_code error;
    const fs::path path(portName);
    struct stat info{};
    if (::stat(portName.c_str(), &info) != 0) {
        const std::string others = existingPorts();
        const std::string fix = others.empty() ? "plug the adapter in; no serial port is there now"
                                               : "plug the adapter in, or use one that exists: " + others;
        if (fs::is_symlink(fs::symlink_status(path, error)))
            check.findings.push_back({true, "no such device: " + portName + " points to " +
                                                fs::read_symlink(path, error).string() +
                                                ", which is not there (the adapter is unplugged?)",
                                      fix});
        else
            check.findings.push_back({true, "no such device: " + portName, fix});
        return check;
    }
    if (!S_ISCHR(info.st_mode)) {
        check.findings.push_back({true, portName + " is not a terminal (not a character device)",
                                  "give the serial device: dnx8 ports lists them"});
        return check;
    }
    const fs::path device = fs::canonical(path, error);
    const int fd = ::open(portName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        if (why == EACCES || why == EPERM)
            check.findings.push_back(permissionFinding(portName, info));
        else if (why == EBUSY)
            check.findings.push_back(heldFinding(portName, device));
        else
            check.findings.push_back({true, "cannot open " + portName + ": " + std::strerror(why), ""});
    } else {
        if (!::isatty(fd))
            check.findings.push_back({true, portName + " is not a terminal", "give the serial device: dnx8 ports lists them"});
        else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
            check.findings.push_back(heldFinding(portName, device));
        else
            check.opens = true;
        ::close(fd);
    }
    // USB adapters are what brltty and ModemManager take.
    const std::string name = device.filename().string();
    if (name.starts_with("ttyUSB") || name.starts_with("ttyACM") || !check.opens)
        for (PortFinding& note : checkSerialEnvironment())
            check.findings.push_back(std::move(note));
    return check;
}
