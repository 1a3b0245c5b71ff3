// The console section of the Windows backend: a warning is written in yellow
// (console attribute 6) and the console is grey (7) again after it, and
// warnings and fatal messages are copied to an attached debugger.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "support/capture.h"
#include "support/child_program.h"
#include "support/environment.h"
#include "support/fatal.h"
#include "support/files.h"

namespace {

// The strings handed to a debugger, seen as a debugger sees them: as the
// exception OutputDebugString raises.
std::vector<std::string> debugged;

LONG CALLBACK seeDebugString(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    const ULONG_PTR* info = record->ExceptionInformation;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2)
        debugged.emplace_back(reinterpret_cast<const char*>(info[1]), strnlen(reinterpret_cast<const char*>(info[1]), info[0]));
    return EXCEPTION_CONTINUE_SEARCH;
}

// The cells of one console row from column 0: characters and attributes.
struct Row {
    std::string text;
    std::vector<WORD> attributes;
};

Row readRow(HANDLE console, SHORT y, DWORD length) {
    Row row;
    row.text.resize(length);
    row.attributes.resize(length);
    DWORD read = 0;
    ReadConsoleOutputCharacterA(console, &row.text[0], length, COORD{0, y}, &read);
    row.text.resize(read);
    ReadConsoleOutputAttribute(console, row.attributes.data(), length, COORD{0, y}, &read);
    row.attributes.resize(read);
    return row;
}

}  // namespace

// Run by the test below in a program of its own with a console of its own:
// writes what its console shows after a warning and a plain line into the
// file VINDLE_TEST_CONSOLE_REPORT names.
TEST(Console, DISABLED_WritesAWarningAndALineInItsOwnConsole) {
    const char* report = getenv("VINDLE_TEST_CONSOLE_REPORT");
    ASSERT_NE(report, nullptr);
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO before = {}, after = {};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(console, &before));
    printWarning("不存在编号为%d的文本", 7);
    platformMessageLine("plain");
    fflush(stdout);
    GetConsoleScreenBufferInfo(console, &after);
    const Row warned = readRow(console, before.dwCursorPosition.Y, 19);
    const Row plain = readRow(console, static_cast<SHORT>(before.dwCursorPosition.Y + 1), 5);
    FILE* out = fopen(report, "wb");
    ASSERT_NE(out, nullptr);
    fprintf(out, "warning");
    for (WORD attribute : warned.attributes) fprintf(out, " %u", attribute);
    fprintf(out, "\n%s", plain.text.c_str());
    for (WORD attribute : plain.attributes) fprintf(out, " %u", attribute);
    fprintf(out, "\nafter %u\n", after.wAttributes);
    fclose(out);
}

TEST(Console, AWarningIsYellowAndTheConsoleGreyAgainAfterIt) {
    const std::string report = makeTempFolder("vindle-console-") + "\\report.txt";
    ChildRun run;
    run.variable = "VINDLE_TEST_CONSOLE_REPORT";
    run.value = report;
    run.flags = CREATE_NEW_CONSOLE;
    const int status = runTestInChild(testProgramPath(), "Console.DISABLED_WritesAWarningAndALineInItsOwnConsole", run);
    ASSERT_EQ(status, 0);
    // "不存在编号为7的文本" is 19 bytes in code page 936, a cell each.
    std::string expected = "warning";
    for (int i = 0; i < 19; ++i) expected += " 6";
    expected += "\nplain 7 7 7 7 7\nafter 7\n";
    EXPECT_EQ(readBytes(report), expected);
}

TEST(Console, WarningsAreCopiedToTheDebugger) {
    debugged.clear();
    PVOID handler = AddVectoredExceptionHandler(1, seeDebugString);
    const std::string printed = captureStdout([] { printWarning("不存在编号为%d的图片", 3); });
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(printed, "不存在编号为3的图片\n");
    EXPECT_EQ(debugged, std::vector<std::string>{"不存在编号为3的图片"});
}

namespace {
LONG CALLBACK printDebugString(EXCEPTION_POINTERS* pointers) {
    debugged.clear();
    seeDebugString(pointers);
    if (!debugged.empty()) fprintf(stderr, "debugger[%s]\n", debugged.back().c_str());
    return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

TEST(ConsoleDeathTest, AFatalMessageIsCopiedToTheDebuggerBeforeTheBox) {
    EXPECT_EXIT(
        {
            AddVectoredExceptionHandler(1, printDebugString);
            platformSetMessageBoxHook([](const char* text, const char*, int, bool) {
                fprintf(stderr, "box[%s]\n", text);
                return 1;
            });
            fatalError("音乐【%s】不存在", "a.mp3");
        },
        ::testing::ExitedWithCode(kFatalStatus), literally("debugger[音乐【a.mp3】不存在]\nbox[音乐【a.mp3】不存在]"));
}
