// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Cold start of rv-patient to its first painted home screen, beside a bare Qt Widgets window of
// the same size, both on the offscreen platform; prints the medians, their ratio and the peak
// resident memory of the application at its home screen.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

struct Run {
    double ms = 0;
    double cpuMs = 0; // user and system time of all its threads
    long maxRssKb = 0;
    bool ok = false;
};

double cpuMs(const rusage &usage)
{
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Run runOnce(const char *path, const std::vector<const char *> &args)
{
    std::vector<char *> argv{const_cast<char *>(path)};
    for (const char *arg : args)
        argv.push_back(const_cast<char *>(arg));
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(path, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {double(timer.nsecsElapsed()) / 1e6, cpuMs(usage), usage.ru_maxrss,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

// bench_startup [APPLICATION [BARE-WINDOW]]: other builds of the two, e.g. of another commit.
int main(int argc, char *argv[])
{
    const char *appPath = argc > 1 ? argv[1] : RV_PATIENT_PATH;
    const char *barePath = argc > 2 ? argv[2] : RV_BARE_WINDOW_PATH;
    // Each run starts from nothing saved, like a first start, and talks to no service.
    QTemporaryDir home;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit().constData(),
           1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
    const int rounds = 15;
    std::vector<double> app;
    std::vector<double> bare;
    std::vector<double> appCpu;
    std::vector<double> bareCpu;
    long peakKb = 0;
    for (int i = 0; i < rounds; ++i) {
        const Run a = runOnce(appPath, {"--quit-after-first-paint", "--service", "127.0.0.1:9"});
        const Run b = runOnce(barePath, {});
        if (!a.ok || !b.ok) {
            std::fprintf(stderr, "a run failed (application %d, bare window %d)\n", a.ok, b.ok);
            return 1;
        }
        app.push_back(a.ms);
        bare.push_back(b.ms);
        appCpu.push_back(a.cpuMs);
        bareCpu.push_back(b.cpuMs);
        peakKb = std::max(peakKb, a.maxRssKb);
    }
    std::printf("cold start to first paint: rv-patient %.1f ms, bare window %.1f ms, ratio %.2f "
                "(goal <= 1.3)\n",
                median(app), median(bare), median(app) / median(bare));
    // Processor time is less disturbed than elapsed time by other load on the machine, but
    // counts work done on other cores too.
    std::printf("processor time: rv-patient %.1f ms, bare window %.1f ms, ratio %.2f\n",
                median(appCpu), median(bareCpu), median(appCpu) / median(bareCpu));
    std::printf("peak resident memory at the home screen: %.1f MiB (goal <= 36 MiB)\n",
                double(peakKb) / 1024.0);
    return 0;
}
