#include <gtest/gtest.h>

#include <fstream>
#include <cctype>
#include <set>
#include <sstream>
#include <string>

#include "support/process.h"

// The library exports exactly the functions that the public header declares.
TEST(Exports, AreExactlyTheFunctionsOfThePublicHeader) {
    std::ifstream header(VINDLE_HEADER);
    std::stringstream text;
    text << header.rdbuf();
    std::set<std::string> declared;
    // Each declaration: VINDLE_API <result type> <name>(...
    std::string source = text.str();
    const std::string marker = "VINDLE_API ";
    for (size_t at = source.find(marker); at != std::string::npos; at = source.find(marker, at + 1)) {
        size_t paren = source.find('(', at);
        size_t lineStart = source.rfind('\n', at);
        std::string before = source.substr(lineStart + 1, at - lineStart - 1);
        if (paren == std::string::npos || before.find("define") != std::string::npos) continue;  // the macro itself
        size_t end = paren;
        while (end > at && source[end - 1] == ' ') --end;
        size_t begin = end;
        while (begin > at && (isalnum(static_cast<unsigned char>(source[begin - 1])) || source[begin - 1] == '_')) --begin;
        declared.insert(source.substr(begin, end - begin));
    }
    ASSERT_GE(declared.size(), 14u);

    std::set<std::string> exported;
    std::istringstream symbols(shellOutput(std::string("nm -D --defined-only ") + VINDLE_LIBRARY));
    std::string address, type, name;
    while (symbols >> address >> type >> name)
        // The linker's own section markers are in every shared library.
        if (name != "_edata" && name != "_end" && name != "__bss_start") exported.insert(name);
    EXPECT_EQ(exported, declared);
}
