#include "DemoReporter.h"

#include "platform/TextConversion.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

DemoReporter::DemoReporter(const DemoFaults& faults, bool console) : faults_(faults), console_(console) {}

void DemoReporter::Pause() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(faults_.stepMs));
}

void DemoReporter::Begin() {
    if (faults_.Has("stderr")) FloodStandardError(faults_.stderrBytes);
    if (faults_.Has("garbage")) Garbage(faults_.garbageBytes);
    if (faults_.Has("gbk")) SwitchToGbk();
    Progress(0.05);
    if (faults_.Has("hang")) Hang();
    if (faults_.Has("crash")) Crash();
}

void DemoReporter::Line(const std::string& line) {
    if (!console_) return;
    const std::string bytes = gbk_ ? Platform::EncodeCodePage(line, 936) : line;
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    Pause();
}

void DemoReporter::Progress(double fraction) {
    char text[64];
    std::snprintf(text, sizeof text, "Progress=%.2f", fraction);
    Line(text);
}

void DemoReporter::SwitchToGbk() {
    Line("Encode=936");
    // The reader decodes whole chunks; give it time to take this line alone.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    gbk_ = true;
}

void DemoReporter::Garbage(std::size_t bytes) {
    std::mt19937 random(12345);
    std::string block(4096, '\0');
    while (bytes > 0) {
        for (char& c : block) c = static_cast<char>(random() & 0xff);
        const std::size_t n = std::min(bytes, block.size());
        std::fwrite(block.data(), 1, n, stdout);
        bytes -= n;
    }
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void DemoReporter::FloodStandardError(std::size_t bytes) {
    const std::string block(65536, 'E');
    while (bytes > 0) {
        const std::size_t n = std::min(bytes, block.size());
        const ssize_t written = ::write(STDERR_FILENO, block.data(), n);
        if (written <= 0) return;
        bytes -= static_cast<std::size_t>(written);
    }
}

void DemoReporter::Hang() {
    for (;;) ::pause();
}

void DemoReporter::Crash() {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::raise(SIGSEGV);
    std::_Exit(139);
}
