// The CPU of this process's wineserver and X server, from the host's /proc.
#include "helper_cpu.h"

#include <cstdlib>
#include <vector>

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/text_win32.h"

namespace kineloop::bench {
namespace {

// The host's clock ticks a second of /proc's times (USER_HZ, 100 on Linux/x86).
constexpr double kTicksPerSecond = 100;

std::string ReadSmallFile(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file)
        return text;
    char buffer[4096];
    DWORD read = 0;
    while (text.size() < 1 << 20 && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) &&
           read > 0)
        text.append(buffer, read);
    return text;
}

// The fields of a /proc stat line after the command's name: [0] is the state, [1] the parent,
// [11] and [12] the user and system ticks.
std::vector<std::string> StatFields(const std::string& stat) {
    std::vector<std::string> fields;
    const size_t end = stat.rfind(')');
    if (end == std::string::npos)
        return fields;
    size_t at = end + 2;
    while (at < stat.size()) {
        const size_t space = stat.find(' ', at);
        fields.push_back(
            stat.substr(at, space == std::string::npos ? std::string::npos : space - at));
        if (space == std::string::npos)
            break;
        at = space + 1;
    }
    return fields;
}

double StatSeconds(const std::wstring& statPath) {
    if (statPath.empty())
        return 0;
    const std::vector<std::string> fields = StatFields(ReadSmallFile(statPath));
    if (fields.size() < 13)
        return 0;
    return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / kTicksPerSecond;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
        text.pop_back();
    return text;
}

}  // namespace

HelperCpu::HelperCpu() {
    // The wineserver opens files for its clients, so /proc/self would be the wineserver: this
    // program is found by its name and prefix, and the X server as its sibling.
    wchar_t prefix[MAX_PATH] = {}, program[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::wstring programPath = program;
    const std::string programName =
        Narrow(programPath.substr(programPath.find_last_of(L"\\/") + 1)).substr(0, 15);
    const std::string prefixEntry = std::string("WINEPREFIX=") + Narrow(prefix) + '\0';
    struct Process {
        std::wstring folder;
        std::string comm, parent;
    };
    std::vector<Process> processes;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const std::wstring folder = L"Z:\\proc\\" + name + L"\\";
        const std::string comm = Trimmed(ReadSmallFile(folder + L"comm"));
        if (comm.rfind("wineserver", 0) != 0 && comm != programName && comm != "Xvfb")
            continue;
        const std::vector<std::string> stat = StatFields(ReadSmallFile(folder + L"stat"));
        const bool ours = comm == "Xvfb" ||
                          ReadSmallFile(folder + L"environ").find(prefixEntry) != std::string::npos;
        if (ours && stat.size() > 1)
            processes.push_back({folder, comm, stat[1]});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const Process& process : processes) {
        if (process.comm.rfind("wineserver", 0) == 0) {
            wineserverStat_ = process.folder + L"stat";
        } else if (process.comm == programName) {
            for (const Process& x : processes) {
                if (x.comm == "Xvfb" && x.parent == process.parent)
                    xServerStat_ = x.folder + L"stat";
            }
        }
    }
}

HelperCpu::Seconds HelperCpu::Now() const {
    return {StatSeconds(wineserverStat_), StatSeconds(xServerStat_)};
}

std::string HelperCpu::Found() const {
    return std::string("wineserver ") + (wineserverStat_.empty() ? "not found" : "found") +
           ", X server " + (xServerStat_.empty() ? "not found" : "found");
}

}  // namespace kineloop::bench
