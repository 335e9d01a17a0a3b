// Start-up to first paint and peak memory of the program, beside a bare Qt window built the
// same way, run alternately in one session so that the ratio can be quoted. Two memory
// figures: the peak up to the first paint, which the probe reads itself, and the peak of the
// whole run, 300 ms past the first paint, which covers the splash. Linux only: it reads the
// child's peak resident set through wait4.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double startupMs = 0;
    long paintedKiB = 0; // peak up to the first paint
    long peakKiB = 0;    // peak of the whole run
    bool webEngine = false;
};

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

bool RunOnce(const std::string& probe, Run& run) {
    int out[2];
    if (pipe(out) != 0) return false;
    const long long start = NowNs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(probe.c_str(), probe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    long long painted = 0;
    int webEngine = 0;
    if (std::sscanf(text.c_str(), "painted_ns=%lld peak_kib=%ld webengine=%d", &painted,
                    &run.paintedKiB, &webEngine) != 3)
        return false;
    run.startupMs = double(painted - start) / 1e6;
    run.peakKiB = usage.ru_maxrss;
    run.webEngine = webEngine != 0;
    return true;
}

template <typename T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Probe {
    const char* file;
    const char* label;
    std::vector<double> ms;
    std::vector<long> paintedKiB, peakKiB;
};

} // namespace

int main(int argc, char** argv) {
    const std::string dir = [&] {
        std::string self = argv[0];
        const auto slash = self.rfind('/');
        return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    }();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    // The bare window is the yardstick; the one with a line of text shows what any window
    // that draws text pays for its fonts, which the bare window never loads.
    Probe probes[] = {{"startup_probe_bare", "bare Qt window", {}, {}, {}},
                      {"startup_probe_text", "bare + one label", {}, {}, {}},
                      {"startup_probe_app", "izolcalc", {}, {}, {}}};
    Probe& bare = probes[0];
    Probe& label = probes[1];
    Probe& app = probes[2];

    bool webEngine = false;
    for (int round = 0; round < rounds; ++round) {
        for (Probe& probe : probes) {
            const std::string path = dir + "/" + probe.file;
            Run run;
            if (!RunOnce(path, run)) {
                std::fprintf(stderr, "%s did not report its first paint (no display?)\n",
                             path.c_str());
                return 1;
            }
            probe.ms.push_back(run.startupMs);
            probe.paintedKiB.push_back(run.paintedKiB);
            probe.peakKiB.push_back(run.peakKiB);
            webEngine = webEngine || (&probe == &app && run.webEngine);
        }
    }
    const double bareMs = Median(bare.ms);
    const double barePainted = double(Median(bare.paintedKiB));
    const double barePeak = double(Median(bare.peakKiB));
    std::printf("start-up to the end of the first paint, median of %d runs; ratios to the bare "
                "window\n",
                rounds);
    std::printf("                     start-up           peak at paint        peak with splash\n");
    for (const Probe& probe : probes) {
        const double ms = Median(probe.ms);
        const double painted = double(Median(probe.paintedKiB));
        const double peak = double(Median(probe.peakKiB));
        std::printf("  %-16s %7.1f ms %5.2fx  %7.1f MiB %5.2fx  %7.1f MiB %5.2fx\n", probe.label,
                    ms, ms / bareMs, painted / 1024, painted / barePainted, peak / 1024,
                    peak / barePeak);
    }
    // The aim is set against the window with one label. Each round's ratio is taken from
    // two runs a moment apart, so that the machine's slower and faster spells, which move
    // both, cancel out of it.
    const auto pairedRatio = [&](auto member) {
        std::vector<double> ratios;
        for (std::size_t round = 0; round < app.ms.size(); ++round)
            ratios.push_back(double((app.*member)[round]) / double((label.*member)[round]));
        return Median(ratios);
    };
    std::printf("  izolcalc to the one-label window, median of the rounds' ratios: start-up "
                "%.2fx, peak at paint %.2fx, with splash %.2fx\n",
                pairedRatio(&Probe::ms), pairedRatio(&Probe::paintedKiB),
                pairedRatio(&Probe::peakKiB));
    std::printf("  QtWebEngine mapped before the reference page: %s\n", webEngine ? "yes" : "no");
    return 0;
}
