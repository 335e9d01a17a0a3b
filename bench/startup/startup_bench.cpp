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

} // namespace

int main(int argc, char** argv) {
    const std::string dir = [&] {
        std::string self = argv[0];
        const auto slash = self.rfind('/');
        return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    }();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string probes[] = {dir + "/startup_probe_bare", dir + "/startup_probe_app"};

    std::vector<double> ms[2];
    std::vector<long> paintedKiB[2], kib[2];
    bool webEngine = false;
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p < 2; ++p) {
            Run run;
            if (!RunOnce(probes[p], run)) {
                std::fprintf(stderr, "%s did not report its first paint (no display?)\n",
                             probes[p].c_str());
                return 1;
            }
            ms[p].push_back(run.startupMs);
            paintedKiB[p].push_back(run.paintedKiB);
            kib[p].push_back(run.peakKiB);
            webEngine = webEngine || (p == 1 && run.webEngine);
        }
    }
    const double bareMs = Median(ms[0]), appMs = Median(ms[1]);
    const long barePainted = Median(paintedKiB[0]), appPainted = Median(paintedKiB[1]);
    const long bareKiB = Median(kib[0]), appKiB = Median(kib[1]);
    std::printf("start-up to first paint, median of %d runs\n", rounds);
    std::printf("                   start-up   peak at paint   peak with splash\n");
    std::printf("  bare Qt window : %7.1f ms  %9.1f MiB  %11.1f MiB\n", bareMs,
                barePainted / 1024.0, bareKiB / 1024.0);
    std::printf("  izolcalc       : %7.1f ms  %9.1f MiB  %11.1f MiB\n", appMs, appPainted / 1024.0,
                appKiB / 1024.0);
    std::printf("  ratio          : %7.2f x   %9.2f x    %11.2f x\n", appMs / bareMs,
                double(appPainted) / double(barePainted), double(appKiB) / double(bareKiB));
    std::printf("  QtWebEngine mapped before the reference page: %s\n", webEngine ? "yes" : "no");
    return 0;
}
