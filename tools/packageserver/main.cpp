// package-server: serves one package for demos and tests.
//   package-server --package FILE [--port N] [--name NAME] [--md5 HEX]
//                  [--drop-after BYTES] [--drop-count N] [--stall-after BYTES]
//                  [--stall-ms MS] [--stall-count N] [--ignore-range]
//                  [--announce-length BYTES] [--fail-status CODE] [--fail-count N]
//                  [--rate BYTES_PER_SECOND]
// Prints "listening on http://127.0.0.1:PORT" and serves until SIGINT or SIGTERM.
#include "tools/packageserver/PackageServer.h"

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>

namespace {

constexpr uint16_t kDefaultPort = 18359;

template <typename T>
bool ParseNumber(const char* text, T& value) {
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

int Usage(const char* problem) {
    std::fprintf(stderr, "package-server: %s\n"
                         "usage: package-server --package FILE [--port N] [--name NAME] [--md5 HEX]\n"
                         "  [--drop-after BYTES] [--drop-count N] [--stall-after BYTES] [--stall-ms MS]\n"
                         "  [--stall-count N] [--ignore-range] [--announce-length BYTES]\n"
                         "  [--fail-status CODE] [--fail-count N] [--rate BYTES_PER_SECOND]\n",
                 problem);
    return 2;
}

bool ParseArguments(int argc, char** argv, PackageServer::Options& options, std::string& problem) {
    options.port = kDefaultPort;
    auto& faults = options.faults;
    const std::map<std::string, std::function<bool(const char*)>> valued = {
        {"--package", [&](const char* v) { options.packagePath = v; return true; }},
        {"--name", [&](const char* v) { options.packageName = v; return *v != '\0'; }},
        {"--md5", [&](const char* v) { options.md5 = v; return true; }},
        {"--port", [&](const char* v) { return ParseNumber(v, options.port); }},
        {"--drop-after", [&](const char* v) { return ParseNumber(v, faults.dropAfterBytes); }},
        {"--drop-count", [&](const char* v) { return ParseNumber(v, faults.dropCount); }},
        {"--stall-after", [&](const char* v) { return ParseNumber(v, faults.stallAfterBytes); }},
        {"--stall-ms", [&](const char* v) { return ParseNumber(v, faults.stallMilliseconds); }},
        {"--stall-count", [&](const char* v) { return ParseNumber(v, faults.stallCount); }},
        {"--announce-length", [&](const char* v) { return ParseNumber(v, faults.announcedLength); }},
        {"--fail-status", [&](const char* v) { return ParseNumber(v, faults.failStatus); }},
        {"--fail-count", [&](const char* v) { return ParseNumber(v, faults.failCount); }},
        {"--rate", [&](const char* v) { return ParseNumber(v, faults.bytesPerSecond); }},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--ignore-range") {
            faults.ignoreRange = true;
            continue;
        }
        const auto option = valued.find(name);
        if (option == valued.end()) {
            problem = "unknown option " + name;
            return false;
        }
        if (i + 1 >= argc || !option->second(argv[++i])) {
            problem = "bad value for " + name;
            return false;
        }
    }
    if (options.packagePath.empty()) problem = "--package is required";
    return problem.empty();
}

}  // namespace

int main(int argc, char** argv) {
    PackageServer::Options options;
    std::string problem;
    if (!ParseArguments(argc, argv, options, problem)) return Usage(problem.c_str());

    // Block the stop signals before any thread starts, then wait for one here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    PackageServer server(options);
    std::string error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "package-server: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening on %s\nfinal url %s\n", server.BaseUrl().c_str(), server.FinalUrl().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    std::printf("stopped\n");
    return 0;
}
