// The transfers at real line speed: the download, read-back and verify dialogs and their workers,
// through the real SerialPort, against the simulated module on a pseudo-terminal, both directions
// paced at 1200 baud.
// For each transfer: the wall time, the floor (the line time of every byte exchanged plus the
// waits the protocol itself mandates), their ratio, and the CPU time this process spent meanwhile.
// For the download also the largest lead of its bar over the bytes the module has taken, and for a
// download cancelled 2 s into the data the time from Escape to a silent line.
//
//   bench_transfers [--runs N] [--only NAME,...] [--serial-timeout MS]

#include "modulehost.h"

#include "link/configtext.h"
#include "link/dload.h"
#include "link/linksettings.h"
#include "link/serialport.h"
#include "link/transferthread.h"
#include "link/upload.h"
#include "link/verify.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "support/sampleforms.h"
#include "support/transferreplies.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Ten bit times (start, 8 data, stop) at 1200 baud.
constexpr double byteTimeMs = 10.0 * 1000.0 / 1200.0;

struct Options {
    int runs = 1;
    QStringList only;
    int serialTimeoutMs = 2000;
};

struct Usage {
    Clock::time_point wall;
    double cpuMs = 0;
    long voluntarySwitches = 0;

    static Usage now() {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
        return {Clock::now(), ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_nvcsw};
    }
};

struct Figures {
    QString name;
    bool ok = false;
    int bytesOut = 0;          // program to module
    int bytesIn = 0;           // module to program
    double mandatedWaitMs = 0; // waits the protocol itself requires, beyond the line time
    double wallMs = 0;
    double cpuMs = 0;
    long voluntarySwitches = 0;
    int largestBarLead = INT_MIN;  // bytes the bar showed beyond those the module had taken
    double escapeToSilenceMs = -1; // from Escape to the last byte the module took

    double floorMs() const { return (bytesOut + bytesIn) * byteTimeMs + mandatedWaitMs; }
};

void measureFrom(const Usage &before, Figures &figures) {
    const Usage after = Usage::now();
    figures.wallMs = std::chrono::duration<double, std::milli>(after.wall - before.wall).count();
    figures.cpuMs = after.cpuMs - before.cpuMs;
    figures.voluntarySwitches = after.voluntarySwitches - before.voluntarySwitches;
}

// The bar's values as they were shown, and when.
struct BarSamples {
    std::vector<std::pair<Clock::time_point, int>> values;

    void follow(QProgressBar *bar) {
        QObject::connect(bar, &QProgressBar::valueChanged, bar,
                         [this](int value) { values.emplace_back(Clock::now(), value); });
    }

    // The most the bar's data steps (after the handshake's ten) ever ran ahead of the data bytes the
    // module had taken (after '~' and '}') at that moment.
    int largestLead(const ModuleHost::Received &received) const {
        int largest = INT_MIN;
        for (const auto &[time, value] : values) {
            if (value < 10)
                continue;
            const auto taken = std::upper_bound(received.arrivalTimes.begin(), received.arrivalTimes.end(), time) -
                               received.arrivalTimes.begin();
            largest = std::max(largest, int((value - 10) - (taken - 2)));
        }
        return largest;
    }
};

// Runs a transfer dialog, shown over the main window, until its worker has finished and the
// dialog has shown the result; the wall time runs from the dialog's construction, which starts the
// worker, to then. Returns whether the transfer succeeded. whileShown gets the dialog once it is
// shown.
template <typename Dialog>
bool runDialog(const std::function<Dialog *()> &makeDialog, Figures &figures,
               const std::function<void(Dialog *)> &whileShown = {}) {
    QEventLoop loop;
    const Usage before = Usage::now();
    std::unique_ptr<Dialog> dialog(makeDialog());
    // Connected after the dialog's own connection, so it runs after the result is shown.
    QObject::connect(dialog->worker(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    // A worker that failed at once may have finished before the connection.
    if (dialog->worker()->isFinished())
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    dialog->show();
    if (whileShown)
        whileShown(dialog.get());
    loop.exec();
    measureFrom(before, figures);
    return dialog->worker()->succeeded();
}

bool pointAtModule(ModuleHost &host) {
    const QString directory = host.openModule();
    if (directory.isEmpty())
        return false;
    qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(directory));
    return true;
}

// The configuration text of the sample form, as a download sends it and a verify expects it.
QString composedText() {
    return ConfigText::compose(SampleForms::filled(), '|', true).text;
}

// '~' '}', then the 56 lines; the module answers the command with 'R' and one more byte, and the
// last line end with the acknowledgement and one more byte.
Figures benchDownload(ModuleHost &host, MainWindow &window, const Options &) {
    Figures figures{QStringLiteral("download")};
    LinkSettings settings = window.settings;
    settings.dataText = composedText();
    const QByteArray handshake("R\x05");
    const QByteArray acknowledgement("OK");
    if (!pointAtModule(host) || !host.onCommand('}', handshake) ||
        !host.onByteCount('\r', ConfigText::fieldCount, acknowledgement))
        return figures;
    BarSamples bar;
    figures.ok = runDialog<dload>([&] { return new dload(settings, &window); }, figures,
                                  [&](dload *dialog) { bar.follow(dialog->findChild<QProgressBar *>()); });
    const ModuleHost::Received received = host.closeModule();
    figures.bytesOut = int(received.bytes.size());
    figures.bytesIn = figures.ok ? int(handshake.size() + acknowledgement.size()) : 0;
    figures.largestBarLead = bar.largestLead(received);
    return figures;
}

// A download cancelled with Escape 2 s into the data; the dialog's end stops the worker and closes
// the port. The time from Escape to the last byte the module took is that of a silent line.
Figures benchCancelledDownload(ModuleHost &host, MainWindow &window, const Options &) {
    Figures figures{QStringLiteral("download, Escape at 2 s")};
    LinkSettings settings = window.settings;
    settings.dataText = composedText();
    if (!pointAtModule(host) || !host.onCommand('}', "R\x05"))
        return figures;
    Clock::time_point escapedAt;
    QEventLoop loop;
    {
        dload dialog(settings, &window);
        auto *bar = dialog.findChild<QProgressBar *>();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (bar->value() < 10)
                return;
            poll.stop();
            QTimer::singleShot(2000, &dialog, [&] {
                escapedAt = Clock::now();
                dialog.reject(); // what Escape does
                loop.quit();
            });
        });
        poll.start(5);
        dialog.show();
        const Usage before = Usage::now();
        loop.exec();
        measureFrom(before, figures);
    }
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    const ModuleHost::Received received = host.closeModule();
    figures.ok = escapedAt != Clock::time_point() && !received.arrivalTimes.empty();
    figures.bytesOut = int(received.bytes.size());
    figures.bytesIn = 2;
    if (figures.ok) {
        figures.escapeToSilenceMs =
            std::max(0.0, std::chrono::duration<double, std::milli>(received.arrivalTimes.back() - escapedAt).count());
    }
    return figures;
}

// '~' '{', then the module's configuration, one CR LF line per field, and the closing silence;
// the dialog writes what it read into the form.
Figures benchReadBack(ModuleHost &host, MainWindow &window, const Options &options) {
    Figures figures{QStringLiteral("read-back")};
    LinkSettings settings = window.settings;
    settings.serialTimeout = options.serialTimeoutMs;
    const QByteArray reply = TransferReplies::linesOf(TransferReplies::storedFields());
    if (!pointAtModule(host) || !host.onCommand('{', reply))
        return figures;
    figures.ok = runDialog<upload>([&] { return new upload(settings, window.centralWidget(), &window); }, figures);
    figures.bytesOut = int(host.closeModule().bytes.size());
    figures.bytesIn = int(reply.size());
    figures.mandatedWaitMs = options.serialTimeoutMs;
    return figures;
}

// '~' and the upload command, then the text composed from the form as the module holds it, one
// CR LF line per field and two more characters, and the closing silence.
Figures benchVerify(ModuleHost &host, MainWindow &window, const Options &options) {
    Figures figures{QStringLiteral("verify")};
    writeForm(formLists(window.centralWidget()), SampleForms::filled());
    LinkSettings settings = window.settings;
    settings.serialTimeout = options.serialTimeoutMs;
    const QByteArray reply =
        TransferReplies::linesOf(composedText().split(QLatin1Char(settings.downloadSeparator)), "ok");
    if (!pointAtModule(host) || !host.onCommand(settings.uploadCommand, reply))
        return figures;
    figures.ok = runDialog<verify>([&] { return new verify(settings, window.centralWidget(), &window); }, figures);
    figures.bytesOut = int(host.closeModule().bytes.size());
    figures.bytesIn = int(reply.size());
    figures.mandatedWaitMs = options.serialTimeoutMs;
    return figures;
}

// A read on a silent line, serialTimeout long, as the last read of every read-back and verify:
// once watching a stop flag (the workers' way: 50 ms slices) and once without.
Figures benchSilentRead(ModuleHost &host, const Options &options, bool withStopFlag) {
    Figures figures{withStopFlag ? QStringLiteral("silent read, stop flag") : QStringLiteral("silent read, no flag")};
    if (!pointAtModule(host))
        return figures;
    std::atomic_bool stop{false};
    SerialPort port;
    if (withStopFlag)
        port.setStopFlag(&stop);
    if (port.open(QStringLiteral("COM1"), quint32(options.serialTimeoutMs), 0)) {
        char byte = 0;
        const Usage before = Usage::now();
        figures.ok = !port.readByte(byte);
        measureFrom(before, figures);
    }
    figures.mandatedWaitMs = options.serialTimeoutMs;
    host.closeModule();
    return figures;
}

void printHeader() {
    std::printf("%-24s %9s %10s %10s %10s %9s %9s %9s %9s %11s %7s\n", "transfer", "bytes", "floor ms", "wall ms",
                "wall/floor", "CPU ms", "CPU/wall", "switches", "bar lead", "silent ms", "result");
}

void printRow(const Figures &f) {
    const QByteArray name = f.name.toUtf8();
    const QByteArray bytes = QByteArray::number(f.bytesOut) + '+' + QByteArray::number(f.bytesIn);
    const QByteArray lead = f.largestBarLead == INT_MIN ? "-" : QByteArray::number(f.largestBarLead);
    const QByteArray silent = f.escapeToSilenceMs < 0 ? "-" : QByteArray::number(f.escapeToSilenceMs, 'f', 1);
    std::printf("%-24s %9s %10.1f %10.1f %10.4f %9.2f %8.3f%% %9ld %9s %11s %7s\n", name.constData(), bytes.constData(),
                f.floorMs(), f.wallMs, f.wallMs / f.floorMs(), f.cpuMs, 100.0 * f.cpuMs / f.wallMs, f.voluntarySwitches,
                lead.constData(), silent.constData(), f.ok ? "ok" : "FAILED");
    std::fflush(stdout);
}

// With several runs: per transfer, the median of each figure.
void printMedians(const std::vector<Figures> &all) {
    QStringList names;
    for (const Figures &f : all) {
        if (!names.contains(f.name))
            names << f.name;
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    };
    std::printf("\nmedians:\n");
    printHeader();
    for (const QString &name : names) {
        std::vector<double> wall, cpu, switches, lead, silent;
        Figures summary;
        for (const Figures &f : all) {
            if (f.name != name)
                continue;
            summary = f;
            wall.push_back(f.wallMs);
            cpu.push_back(f.cpuMs);
            switches.push_back(double(f.voluntarySwitches));
            lead.push_back(double(f.largestBarLead));
            silent.push_back(f.escapeToSilenceMs);
        }
        summary.wallMs = median(wall);
        summary.cpuMs = median(cpu);
        summary.voluntarySwitches = long(median(switches));
        summary.largestBarLead = int(median(lead));
        summary.escapeToSilenceMs = median(silent);
        summary.ok = std::all_of(all.begin(), all.end(), [&](const Figures &f) { return f.name != name || f.ok; });
        printRow(summary);
    }
}

bool parseOptions(int argc, char **argv, Options &options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && hasValue)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--only") && hasValue)
            options.only = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (!std::strcmp(argv[i], "--serial-timeout") && hasValue)
            options.serialTimeoutMs = std::max(1, std::atoi(argv[++i]));
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--runs N] [--only download,cancel,readback,verify,silent] [--serial-timeout MS]\n",
                     argv[0]);
        const bool help =
            std::any_of(argv + 1, argv + argc, [](const char *arg) { return !std::strcmp(arg, "--help"); });
        return help ? 0 : 2;
    }
    // Forked before Qt starts any thread.
    ModuleHost host;
    if (!host.start()) {
        std::perror("module process");
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainWindow window;
    window.show();

    const auto wanted = [&](const char *name) { return options.only.isEmpty() || options.only.contains(name); };
    std::vector<Figures> all;
    bool failed = false;
    const auto add = [&](const Figures &figures) {
        all.push_back(figures);
        failed = failed || !figures.ok;
        printRow(figures);
    };
    printHeader();
    for (int run = 0; run < options.runs; ++run) {
        if (wanted("download"))
            add(benchDownload(host, window, options));
        if (wanted("cancel"))
            add(benchCancelledDownload(host, window, options));
        if (wanted("readback"))
            add(benchReadBack(host, window, options));
        if (wanted("verify"))
            add(benchVerify(host, window, options));
        if (wanted("silent")) {
            add(benchSilentRead(host, options, true));
            add(benchSilentRead(host, options, false));
        }
    }
    if (options.runs > 1)
        printMedians(all);
    return failed ? 1 : 0;
}
