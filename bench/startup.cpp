// Start-up of `downloader` against a bare Qt main window: each launcher is started alternately,
// headless, and reports the time from its start to its main window shown; its peak resident set
// comes from wait4(). Prints the medians and their ratios.
//
//   bench_startup [--runs N] [--verbose]
//
// The launchers are looked for beside this program.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct Program {
    const char *label;
    std::string path;
    std::vector<double> shownMs;
    std::vector<double> peakRssMiB;
};

long long monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::string besideThisProgram(const char *name) {
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? size_t(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

// The environment of this process, headless.
std::vector<char *> childEnvironment() {
    static std::string platform = "QT_QPA_PLATFORM=offscreen";
    std::vector<char *> environment;
    for (char **variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, "QT_QPA_PLATFORM=", 16) != 0)
            environment.push_back(*variable);
    }
    environment.push_back(platform.data());
    environment.push_back(nullptr);
    return environment;
}

// Starts the program once; false when it could not be run or did not report.
bool runOnce(Program &program, bool verbose) {
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    if (!verbose)
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> environment = childEnvironment();

    const std::string stamp = std::to_string(monotonicNs());
    char *const arguments[] = {program.path.data(), const_cast<char *>(stamp.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.path.c_str(), &actions, nullptr, arguments, environment.data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.path.c_str(), std::strerror(spawned));
        return false;
    }

    std::string report;
    char buffer[256];
    ssize_t count = 0;
    while ((count = ::read(output[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, size_t(count));
    ::close(output[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);

    const size_t at = report.find("shown_ms ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos) {
        std::fprintf(stderr, "%s did not report its window (status %d)\n", program.label, status);
        return false;
    }
    program.shownMs.push_back(std::strtod(report.c_str() + at + 9, nullptr));
    program.peakRssMiB.push_back(double(usage.ru_maxrss) / 1024.0);
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char **argv) {
    int runs = 5;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--verbose")) {
            verbose = true;
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--verbose]\n", argv[0]);
            return std::strcmp(argv[i], "--help") ? 2 : 0;
        }
    }

    Program downloader{"downloader", besideThisProgram("bench_launch_downloader"), {}, {}};
    Program bare{"bare window", besideThisProgram("bench_barewindow"), {}, {}};
    // One unmeasured start of each brings the libraries and fonts into the page cache.
    Program warmDownloader = downloader;
    Program warmBare = bare;
    if (!runOnce(warmDownloader, verbose) || !runOnce(warmBare, verbose))
        return 1;
    // Alternating, and the order swapped each round, so that neither profits from the other.
    for (int round = 0; round < runs; ++round) {
        Program &first = round % 2 ? bare : downloader;
        Program &second = round % 2 ? downloader : bare;
        if (!runOnce(first, verbose) || !runOnce(second, verbose))
            return 1;
    }

    std::printf("start-up to main window shown (offscreen), %d runs each, alternating\n", runs);
    std::printf("%-12s %10s %8s %8s %14s\n", "program", "median ms", "min ms", "max ms", "peak RSS MiB");
    for (const Program *program : {&downloader, &bare}) {
        const auto [low, high] = std::minmax_element(program->shownMs.begin(), program->shownMs.end());
        std::printf("%-12s %10.1f %8.1f %8.1f %14.1f\n", program->label, median(program->shownMs), *low, *high,
                    median(program->peakRssMiB));
    }
    std::printf("downloader / bare window: start-up %.2fx, peak RSS %.2fx\n",
                median(downloader.shownMs) / median(bare.shownMs),
                median(downloader.peakRssMiB) / median(bare.peakRssMiB));
    return 0;
}
