// The demo program: a window of framework and native controls on the
// desktop host. Not shipped; scripts/demo.sh builds and runs it.
//   olvo-demo                                   the demo window
//   olvo-demo --measure-startup                 prints the time from process
//                                               start to the first paint and
//                                               the resident memory then, exits
//   olvo-demo --empty-gtk-window --measure-startup
//                                               the same figures for a plain
//                                               GTK window (the baseline)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <fstream>
#include <string>

#include <unistd.h>

#include "demo_form.h"
#include "platform/desktop/desktop_host.h"
#include "platform/gui/application.h"

namespace {

// Milliseconds since the process started: from OLVO_LAUNCH_NS (wall-clock
// nanoseconds taken by the launcher just before it started us, for a fine
// figure) or else from the kernel's start time (10 ms ticks).
double MsSinceProcessStart() {
    timespec now{};
    if (const char* launch = std::getenv("OLVO_LAUNCH_NS")) {
        clock_gettime(CLOCK_REALTIME, &now);
        double nowNs = double(now.tv_sec) * 1e9 + double(now.tv_nsec);
        return (nowNs - std::strtod(launch, nullptr)) / 1e6;
    }
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22 (starttime) counts from the field after the command's ')'.
    size_t pos = text.rfind(')');
    unsigned long long start = 0;
    if (pos != std::string::npos) {
        const char* p = text.c_str() + pos + 2;
        for (int field = 3; field < 22 && *p; ++field) p = std::strchr(p, ' ') + 1;
        start = std::strtoull(p, nullptr, 10);
    }
    clock_gettime(CLOCK_BOOTTIME, &now);
    double nowMs = double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    return nowMs - double(start) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double ResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

bool MeasureStartup = false;

void Report(const char* label) {
    // Taken first: reading the figures must not add to the time.
    double firstPaintMs = MsSinceProcessStart();
    std::printf("%s first_paint_ms=%.1f rss_mb=%.1f\n", label, firstPaintMs, ResidentMb());
    std::fflush(stdout);
}

int RunEmptyWindow() {
    RunPlainWindow(460, 400, [] {
        if (!MeasureStartup) return;
        Report("empty-gtk-window");
        QuitPlainWindow();
    });
    return 0;
}

int RunDemo() {
    TDesktopHost host;
    TApplication app(host);
    if (MeasureStartup)
        host.OnFirstPaint = [&app] {
            Report("demo");
            app.Terminate();
        };
    app.CreateForm<TDemoForm>();
    app.Run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool empty = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--measure-startup") == 0) MeasureStartup = true;
        if (std::strcmp(argv[i], "--empty-gtk-window") == 0) empty = true;
    }
    if (!StartDesktop(&argc, &argv)) {
        std::fprintf(stderr, "olvo-demo: cannot open the display (is DISPLAY set?)\n");
        return 1;
    }
    return empty ? RunEmptyWindow() : RunDemo();
}
