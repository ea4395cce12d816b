#pragma once

#include <string>
#include <string_view>
#include <vector>

// Packages are driven by Windows-style switches, so their command lines are
// split the way a Windows program splits its own.
namespace Platform {

// Arguments only: blanks (space, tab) separate arguments outside double
// quotes; a double quote toggles quoting, two double quotes inside quotes give
// one literal quote; 2n backslashes before a quote give n backslashes, 2n+1
// give n backslashes and a literal quote; other backslashes are literal.
std::vector<std::string> SplitArguments(std::string_view arguments);

// The program token first (quoted: up to the closing quote, no escapes;
// unquoted: up to the first blank), then SplitArguments of the rest.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// A Windows program reads its command line whole; a child we start finds it in this
// variable, blanks and quotes as they were, for switches that take the rest of the line.
inline constexpr const char* kCommandLineVariable = "NUVALO_COMMAND_LINE";

// The text after the program token and the blanks that follow it.
std::string_view ArgumentsAfterProgram(std::string_view commandLine);

}  // namespace Platform
