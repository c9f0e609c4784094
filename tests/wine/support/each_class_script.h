#pragma once
// tests/scripts/common/create_each.vbs under a script host: creates each
// component's class by its ProgID and calls one member late bound.
#include <windows.h>

#include <string>

namespace test {

// What the script prints when every class is creatable.
extern const char kEveryClassCreated[];

// Runs the script under the cscript of `systemFolder` ("system32", or
// "syswow64" for the 32-bit one of a 64-bit Windows) and returns what it printed.
std::string CreateEachClassByScript(const wchar_t* systemFolder);

}  // namespace test
