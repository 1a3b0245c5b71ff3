// Windows tests that need a process of their own (a console of its own, the
// program in another folder) run one of their DISABLED_ tests in a program
// of their own: themselves, or a copy.
#pragma once

#include <windows.h>

#include <string>

struct ChildRun {
    std::string arguments;                   // put after the test's filter
    std::string variable, value;             // added to the environment when named
    DWORD flags = 0;                         // creation flags, such as CREATE_NEW_CONSOLE
};

// Runs program with only the given test (a DISABLED_ one); waits up to a
// minute. Returns the exit status, or -2 when the program could not be
// started or did not end in time.
inline int runTestInChild(const std::string& program, const std::string& test, const ChildRun& run = {}) {
    std::string command = "\"" + program + "\" --gtest_also_run_disabled_tests --gtest_filter=" + test + " " + run.arguments;
    if (!run.variable.empty()) SetEnvironmentVariableA(run.variable.c_str(), run.value.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, run.flags, nullptr,
                                        nullptr, &startup, &process);
    if (!run.variable.empty()) SetEnvironmentVariableA(run.variable.c_str(), nullptr);
    if (!started) return -2;
    DWORD status = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &status);
    else
        TerminateProcess(process.hProcess, static_cast<UINT>(-2));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
