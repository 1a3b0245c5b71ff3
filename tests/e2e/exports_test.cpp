#include <gtest/gtest.h>

#include <fstream>
#include <regex>
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
    std::regex declaration(R"(VINDLE_API\s+[A-Za-z_][A-Za-z_0-9\s\*]*?\b([A-Za-z_][A-Za-z_0-9]*)\s*\()");
    std::string source = text.str();
    for (std::sregex_iterator it(source.begin(), source.end(), declaration), end; it != end; ++it)
        declared.insert((*it)[1]);
    ASSERT_GE(declared.size(), 14u);

    std::set<std::string> exported;
    std::istringstream symbols(shellOutput(std::string("nm -D --defined-only ") + VINDLE_LIBRARY));
    std::string address, type, name;
    while (symbols >> address >> type >> name)
        // The linker's own section markers are in every shared library.
        if (name != "_edata" && name != "_end" && name != "__bss_start") exported.insert(name);
    EXPECT_EQ(exported, declared);
}
