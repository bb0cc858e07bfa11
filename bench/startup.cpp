// Start-up time and peak memory of programs, side by side with a baseline:
// each is started RUNS times (in turn, one of each per round), quits after
// its first painted frame, and the medians of wall time and peak resident
// memory are printed, each program's against the baseline's.
//
//   startup RUNS program... baseline

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Sample {
    double ms;
    long maxRssKb;
};

Sample runOnce(const char* program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TRIVYRHNIK_QUIT_AFTER_FIRST_PAINT", "1", 1);
        std::freopen("/dev/null", "w", stderr);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not exit cleanly\n", program);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

template <typename T>
T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS program... baseline\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::vector<const char*> programs(argv + 2, argv + argc);
    std::vector<std::vector<double>> times(programs.size());
    std::vector<std::vector<long>> memory(programs.size());
    for (const char* program : programs)
        runOnce(program); // warm the caches for every one
    for (int i = 0; i < runs; ++i) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const Sample s = runOnce(programs[p]);
            times[p].push_back(s.ms);
            memory[p].push_back(s.maxRssKb);
        }
    }
    const double tb = median(times.back());
    const long mb = median(memory.back());
    for (std::size_t p = 0; p + 1 < programs.size(); ++p) {
        const double ta = median(times[p]);
        const long ma = median(memory[p]);
        if (programs.size() > 2)
            std::printf("%s\n", programs[p]);
        std::printf("start-up ms   %8.1f  baseline %8.1f  ratio %.3f\n", ta, tb, ta / tb);
        std::printf("peak RSS KiB  %8ld  baseline %8ld  ratio %.3f\n", ma, mb, static_cast<double>(ma) / mb);
    }
    return 0;
}
