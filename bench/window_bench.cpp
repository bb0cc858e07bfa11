// Measurements in the real window on the running platform (offscreen in the
// benchmark script):
//   window_bench latency [RUNS]  click on "Изчисли" to a painted report, against
//                                a single setPlainText of the same report
//   window_bench memory          resident memory after 1,000 and 100,000 runs

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "desktop/qt_controls.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Window {
    Window() : form(app::trivyrhnikDesign()), logic(form, {"."})
    {
        form.dispatch([&] { logic.Form_Load(); });
        form.show();
        QCoreApplication::processEvents();
    }

    // "Изчисти" and three points, as a pupil would enter them.
    void prepare()
    {
        form.Command1(1).click();
        const float points[3][2] = {{70, 180}, {250, 170}, {120, 60}};
        for (const auto& p : points)
            form.dispatch([&] { logic.Picture1_MouseDown(1, 0, p[0], p[1]); });
        QCoreApplication::processEvents();
    }

    desktop::QtForm form;
    app::Trivyrhnik logic;
};

double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int latency(int runs)
{
    Window w;
    std::vector<double> run, single;
    for (int i = 0; i < runs; ++i) {
        w.prepare();
        const auto a = Clock::now();
        w.form.Command1(0).click();
        w.form.repaint();
        QCoreApplication::processEvents();
        const auto b = Clock::now();
        run.push_back(ms(a, b));

        const QString report = w.form.Text1(0).toPlainText();
        w.form.Text1(0).setPlainText(QString());
        QCoreApplication::processEvents();
        const auto c = Clock::now();
        w.form.Text1(0).setPlainText(report);
        w.form.repaint();
        QCoreApplication::processEvents();
        const auto d = Clock::now();
        single.push_back(ms(c, d));
    }
    const double r = median(run), s = median(single);
    std::printf("latency ms    %8.3f  setPlainText %8.3f  ratio %.3f\n", r, s, r / s);
    return 0;
}

int memory()
{
    Window w;
    long after1k = 0;
    for (int i = 1; i <= 100000; ++i) {
        w.prepare();
        w.form.Command1(0).click();
        QCoreApplication::processEvents();
        if (i == 1000)
            after1k = residentKb();
    }
    const long after100k = residentKb();
    std::printf("RSS KiB after 1,000 runs %ld, after 100,000 runs %ld, growth %ld\n", after1k, after100k,
                after100k - after1k);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "latency") == 0)
        return latency(argc >= 3 ? std::atoi(argv[2]) : 200);
    if (argc >= 2 && std::strcmp(argv[1], "memory") == 0)
        return memory();
    std::fprintf(stderr, "usage: %s latency [RUNS] | memory\n", argv[0]);
    return 2;
}
