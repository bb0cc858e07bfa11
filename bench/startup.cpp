// Start-up time and peak memory of a program, side by side with another:
// each is started RUNS times (alternating), quits after its first painted
// frame, and the medians of wall time and peak resident memory are printed.
//
//   startup RUNS program-a program-b

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
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS program baseline\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<double> tA, tB;
    std::vector<long> mA, mB;
    runOnce(argv[2]); // warm the caches for both
    runOnce(argv[3]);
    for (int i = 0; i < runs; ++i) {
        const Sample a = runOnce(argv[2]);
        const Sample b = runOnce(argv[3]);
        tA.push_back(a.ms);
        tB.push_back(b.ms);
        mA.push_back(a.maxRssKb);
        mB.push_back(b.maxRssKb);
    }
    const double ta = median(tA), tb = median(tB);
    const long ma = median(mA), mb = median(mB);
    std::printf("start-up ms   %8.1f  baseline %8.1f  ratio %.3f\n", ta, tb, ta / tb);
    std::printf("peak RSS KiB  %8ld  baseline %8ld  ratio %.3f\n", ma, mb, static_cast<double>(ma) / mb);
    return 0;
}
