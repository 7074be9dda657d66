// test_wide_paths.cpp - the simulated board where the rig's folder is named
// outside the ANSI code page, as the profile (and so the temporary folder)
// of a user named in Cyrillic or CJK is: the rig named by DAQGATE_RIG, by
// TEMP, and by simboard.exe's --rig, shared by a host that loads the
// gateways in one process and simboard.exe in another.  Started with
// --child ROLE ... it is that host: it plays its role and exits with 0 when
// all went as asked.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "gateways.h"
#include "host.h"
#include "rig.h"

using namespace testhost;
namespace fs = std::filesystem;

namespace {

constexpr int kOut = 1;  // direction code: the port drives its lines

fs::path own_path()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path);
}

// What a program printed (stdout and stderr, in the order written, line
// ends as on Unix) and its exit code, -1 if it did not end within a minute.
struct Ran {
    int code = -1;
    std::string output;
};

// Runs a program with these arguments (none holds a quote or ends in a
// backslash), in this process's environment, its output read through a pipe.
Ran run(const fs::path &program, const std::vector<std::wstring> &args)
{
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::wstring &arg : args)
        line += L" \"" + arg + L"\"";
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE from = nullptr, to = nullptr;
    Ran ran;
    if (!CreatePipe(&from, &to, &inherited, 0))
        return ran;
    SetHandleInformation(from, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = to;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process) != 0;
    CloseHandle(to);  // the child's copy is the pipe's last writer
    if (!started) {
        CloseHandle(from);
        return ran;
    }
    // Read aside, so that a child that never ends is ended and its pipe closes.
    std::thread reader([&] {
        char bytes[4096];
        DWORD got = 0;
        while (ReadFile(from, bytes, sizeof bytes, &got, nullptr) && got > 0)
            ran.output.append(bytes, got);
    });
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &code))
        ran.code = static_cast<int>(code);
    else
        TerminateProcess(process.hProcess, 99);
    reader.join();
    CloseHandle(from);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string unix_ends;
    for (char c : ran.output)
        if (c != '\r')
            unix_ends += c;
    ran.output = unix_ends;
    return ran;
}

Ran simboard(const std::vector<std::wstring> &args)
{
    return run(own_path().parent_path() / L"simboard.exe", args);
}

// This program as the host of another process.
Ran host(const std::vector<std::wstring> &args)
{
    std::vector<std::wstring> all{L"--child"};
    all.insert(all.end(), args.begin(), args.end());
    return run(own_path(), all);
}

// The roles of the other process.
int child(const std::vector<std::string> &args)
{
    if (args.size() == 4 && args[0] == "write-port") {
        const double board = std::stod(args[1]), port = std::stod(args[2]), value = std::stod(args[3]);
        const Result set = call(gw_cbSetPortDirection, 1, {num(board), num(port), num(kOut)});
        const Result wrote = call(gw_cbWritePort, 1, {num(board), num(port), num(value)});
        if (set.raised || wrote.raised || set.out(0) != 0 || wrote.out(0) != 0) {
            std::printf("write-port: status %g, %g\n", set.out(0), wrote.out(0));
            return 1;
        }
        return 0;
    }
    std::printf("unknown role\n");
    return 2;
}

// An environment variable of this process, set or removed for a test and
// put back as it was after it.
class Variable {
public:
    Variable(const wchar_t *name, const wchar_t *value) : name_(name)
    {
        std::wstring was(32768, L'\0');
        SetLastError(0);
        const DWORD length = GetEnvironmentVariableW(name, was.data(), static_cast<DWORD>(was.size()));
        had_ = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        was_ = was.substr(0, length);
        SetEnvironmentVariableW(name, value);
    }
    Variable(const Variable &) = delete;
    Variable &operator=(const Variable &) = delete;
    ~Variable() { SetEnvironmentVariableW(name_, had_ ? was_.c_str() : nullptr); }

private:
    const wchar_t *name_;
    std::wstring was_;
    bool had_ = false;
};

// A folder of this name in a folder of this process's own in the
// temporary folder; all of it removed after the test.
class WidePaths : public ::testing::TestWithParam<const wchar_t *> {
protected:
    void SetUp() override
    {
        top_ = fs::temp_directory_path() / (L"daqgate-wide-" + std::to_wstring(GetCurrentProcessId()));
        folder_ = top_ / GetParam();
        std::error_code error;
        fs::remove_all(top_, error);
        ASSERT_TRUE(fs::create_directories(folder_, error)) << error.message();
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(top_, error);
        EXPECT_FALSE(fs::exists(top_, error)) << top_.u8string();
    }

    // The folder's path in UTF-8, as a path is inside the simulator.
    std::string utf8(const fs::path &path) const { return path.u8string(); }

    // What the folder holds, by name.
    std::vector<std::wstring> entries() const
    {
        std::vector<std::wstring> names;
        std::error_code error;
        for (const fs::directory_entry &entry : fs::directory_iterator(folder_, error))
            names.push_back(entry.path().filename().wstring());
        return names;
    }

    // The value of a port as the rig file at this path holds it.
    static long port_in(const fs::path &rig_path, int board, int port)
    {
        daqgate::sim::Rig rig;
        if (rig.open(rig_path.u8string()) != daqgate::sim::kNoError)
            return -1;
        uint16_t value = 0;
        return rig.read_port(board, port, &value) == daqgate::sim::kNoError ? value : -1;
    }

    fs::path top_, folder_;
};

TEST_P(WidePaths, ARigNamedByDaqgateRigIsSharedByAHostAndSimboard)
{
    const fs::path rig = folder_ / L"rig";
    const Variable named(L"DAQGATE_RIG", rig.c_str());
    const Ran reset = simboard({L"reset"});
    ASSERT_EQ(reset.code, 0) << reset.output;
    EXPECT_EQ(entries(), std::vector<std::wstring>{L"rig"}) << "made under its own name, and nothing else";

    const Ran wrote = host({L"write-port", L"1", L"5", L"4660"});
    ASSERT_EQ(wrote.code, 0) << wrote.output;
    const Ran read = simboard({L"read", L"0.5"});
    EXPECT_EQ(read.code, 0) << read.output;
    EXPECT_EQ(read.output, "4660\n");
    EXPECT_EQ(port_in(rig, 0, 5), 4660);
}

TEST_P(WidePaths, TheDefaultRigUnderTempIsSharedByAHostAndSimboard)
{
    // The temporary folder is TMP's, else TEMP's: both name the folder.
    const Variable unnamed(L"DAQGATE_RIG", nullptr);
    const Variable tmp(L"TMP", folder_.c_str());
    const Variable temp(L"TEMP", folder_.c_str());
    EXPECT_EQ(daqgate::sim::default_rig_path(), utf8(folder_) + "\\daqgate-rig");

    const Ran wrote = host({L"write-port", L"2", L"7", L"513"});
    ASSERT_EQ(wrote.code, 0) << wrote.output;
    EXPECT_EQ(entries(), std::vector<std::wstring>{L"daqgate-rig"});
    const Ran read = simboard({L"read", L"3.7"});
    EXPECT_EQ(read.code, 0) << read.output;
    EXPECT_EQ(read.output, "513\n");
    EXPECT_EQ(port_in(folder_ / L"daqgate-rig", 3, 7), 513);
}

TEST_P(WidePaths, SimboardTakesThePathsOfItsArgumentsAndPrintsThemBack)
{
    const Variable named(L"DAQGATE_RIG", (top_ / L"unused").c_str());
    const std::wstring rig = (folder_ / L"стенд").wstring();
    for (const std::vector<std::wstring> &command :
         {std::vector<std::wstring>{L"reset"}, {L"direction", L"1.2", L"out"}, {L"write", L"1.2", L"771"}}) {
        std::vector<std::wstring> args{L"--rig", rig};
        args.insert(args.end(), command.begin(), command.end());
        const Ran ran = simboard(args);
        ASSERT_EQ(ran.code, 0) << ran.output;
    }
    EXPECT_EQ(port_in(folder_ / L"стенд", 0, 2), 771);

    // A file played on an input, shown by its name.
    const fs::path volts = folder_ / L"波形.txt";
    std::FILE *file = _wfopen(volts.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fputs("0.5\n1.5\n", file);
    std::fclose(file);
    const Ran played = simboard({L"--rig", rig, L"signal", L"0", L"3", L"file", volts.wstring()});
    ASSERT_EQ(played.code, 0) << played.output;
    const Ran shown = simboard({L"--rig", rig, L"show"});
    EXPECT_EQ(shown.code, 0) << shown.output;
    EXPECT_NE(shown.output.find("input  3: file of 2 values at 1000 Hz, then holding the last (波形.txt)\n"),
              std::string::npos)
        << shown.output;

    // A path in a message comes back as it was given.
    const fs::path missing = folder_ / L"нет.txt";
    const Ran refused = simboard({L"--rig", rig, L"signal", L"0", L"3", L"file", missing.wstring()});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.output, "simboard: PATH: '" + utf8(missing) + "' is not a file that can be read\n");
    const Ran directory = simboard({L"--rig", rig, L"send", L"0", L"--file", folder_.wstring()});
    EXPECT_EQ(directory.code, 2);
    EXPECT_EQ(directory.output, "simboard: --file: '" + utf8(folder_) + "' is a directory\n");

    // A capture written to a file of that name.
    const fs::path trace = folder_ / L"след.vcd";
    const Ran captured =
        simboard({L"--rig", rig, L"capture", L"1.2", L"--seconds", L"0.01", L"--out", trace.wstring()});
    EXPECT_EQ(captured.code, 0) << captured.output;
    std::string dump;
    if (std::FILE *written = _wfopen(trace.c_str(), L"rb"); written != nullptr) {
        char bytes[4096];
        for (std::size_t got; (got = std::fread(bytes, 1, sizeof bytes, written)) > 0;)
            dump.append(bytes, got);
        std::fclose(written);
    }
    EXPECT_NE(dump.find("$enddefinitions $end"), std::string::npos) << "a Value Change Dump:\n" << dump;
    std::error_code error;
    EXPECT_FALSE(fs::exists(top_ / L"unused", error)) << "no other rig was touched";
}

INSTANTIATE_TEST_SUITE_P(Folders, WidePaths, ::testing::Values(L"Дир", L"目录"),
                         [](const ::testing::TestParamInfo<const wchar_t *> &info) {
                             return info.index == 0 ? std::string("Cyrillic") : std::string("Cjk");
                         });

TEST(SimboardHelp, NamesTheDefaultRigOfWindows)
{
    const Ran help = simboard({L"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.output.find("rig file (default: %DAQGATE_RIG% or %TEMP%\\daqgate-rig)"), std::string::npos)
        << help.output;
}

}  // namespace

extern "C" int wmain(int argc, wchar_t **wide)
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(fs::path(wide[i]).u8string());
    if (args.size() >= 2 && args[1] == "--child")
        return child(std::vector<std::string>(args.begin() + 2, args.end()));
    ::testing::InitGoogleTest(&argc, wide);
    return RUN_ALL_TESTS();
}
