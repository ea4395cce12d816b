#include "platform/CommandLine.h"

namespace Platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

// Reads one program token starting at pos; returns the position after it.
std::size_t ReadProgramToken(std::string_view text, std::size_t pos, std::string& token) {
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            break;
        } else {
            token += c;
        }
    }
    return pos;
}

// How many backslashes start at pos.
std::size_t CountBackslashes(std::string_view text, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < text.size() && text[pos + n] == '\\') ++n;
    return n;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> args;
    std::size_t pos = SkipBlanks(text, 0);
    while (pos < text.size()) {
        std::string arg;
        bool quoted = false;
        while (pos < text.size() && (quoted || !IsBlank(text[pos]))) {
            const std::size_t slashes = CountBackslashes(text, pos);
            if (slashes > 0) {
                pos += slashes;
                const bool beforeQuote = pos < text.size() && text[pos] == '"';
                arg.append(beforeQuote ? slashes / 2 : slashes, '\\');
                if (beforeQuote && slashes % 2 == 1) {
                    arg += '"';
                    ++pos;
                }
                continue;
            }
            if (text[pos] == '"') {
                if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
                    arg += '"';
                    ++pos;
                } else {
                    quoted = !quoted;
                }
            } else {
                arg += text[pos];
            }
            ++pos;
        }
        args.push_back(std::move(arg));
        pos = SkipBlanks(text, pos);
    }
    return args;
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    const std::size_t start = SkipBlanks(commandLine, 0);
    if (start == commandLine.size()) return {};
    std::string program;
    const std::size_t end = ReadProgramToken(commandLine, start, program);
    std::vector<std::string> args{std::move(program)};
    for (auto& arg : SplitArguments(commandLine.substr(SkipBlanks(commandLine, end)))) args.push_back(std::move(arg));
    return args;
}

std::string_view ArgumentsAfterProgram(std::string_view commandLine) {
    std::string ignored;
    const std::size_t end = ReadProgramToken(commandLine, SkipBlanks(commandLine, 0), ignored);
    return commandLine.substr(SkipBlanks(commandLine, end));
}

}  // namespace Platform
