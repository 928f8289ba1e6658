#pragma once

#include "link/dload.h"
#include "link/serialport.h"
#include "link/transferdialog.h"
#include "link/transferthread.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/modal.h"
#include "support/simulatedmodule.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Drives the transfer dialog that a main-window slot runs modally, as a user would.
namespace TransferDriver {

enum class Answer {
    Ok,                   // wait for the result, then press Ok
    Escape,               // wait for the result, then press Escape
    SelfAccept,           // wait for the result, then for the dialog to end by itself
    EscapeAtOnce,         // press Escape as soon as the dialog shows
    CancelWhileReceiving, // press Cancel once some reply bytes have arrived
    EscapeWhileReceiving, // press Escape once some reply bytes have arrived
};

struct Run {
    bool shown = false;
    QString objectName, title, runningText;
    QString resultText;        // the text shown with the Ok button, also after a cancel
    int result = -1;           // how the dialog ended
    qint64 resultShownMs = -1; // since the slot started
    qint64 pressedMs = -1;     // when the key or button was pressed
    qint64 endedMs = -1;       // when the dialog ended
    int progressMaximum = -1;
    int progressValue = -1; // when the result was shown
    bool workerRanWhenPressed = false;
    QPointer<TransferThread> worker;
    QString failure; // empty unless the driver could not do its part
};

// Bytes count as arriving once the bar has counted this many characters.
constexpr int receivingMark = 20;

// The result text: "msg" in read-back and verify, "kiiras" in the download.
inline QLabel *message(QDialog *dialog) {
    if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("msg")))
        return label;
    return dialog->findChild<QLabel *>(QStringLiteral("kiiras"));
}
inline QDialogButtonBox *buttons(QDialog *dialog) {
    return dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
}
inline QProgressBar *bar(QDialog *dialog) {
    return dialog->findChild<QProgressBar *>(QStringLiteral("progressBar"));
}
inline bool resultShown(QDialog *dialog) {
    return buttons(dialog)->standardButtons() == QDialogButtonBox::Ok;
}

// Runs slot (which shows a transfer dialog modally) and answers the dialog; returns what was seen.
inline Run run(const std::function<void()> &slot, Answer answer, int timeoutMs = 15000) {
    Run run;
    QElapsedTimer clock;
    clock.start();
    Modal::whenShown([&](QWidget *modal) {
        QPointer<TransferDialog> dialog = qobject_cast<TransferDialog *>(modal);
        if (!dialog) {
            run.failure = QStringLiteral("the modal window is not a transfer dialog");
            if (auto *other = qobject_cast<QDialog *>(modal))
                other->reject();
            return;
        }
        run.shown = true;
        run.objectName = dialog->objectName();
        run.title = dialog->windowTitle();
        run.runningText = message(dialog)->text();
        run.worker = dialog->worker();
        QObject::connect(dialog, &QDialog::finished, [&](int result) {
            run.result = result;
            run.endedMs = clock.elapsed();
        });
        const auto press = [&](const std::function<void()> &action) {
            run.workerRanWhenPressed = run.worker && run.worker->isRunning();
            run.pressedMs = clock.elapsed();
            action();
        };
        const auto waitForResult = [&] {
            if (!QTest::qWaitFor([&] { return !dialog || resultShown(dialog); }, timeoutMs) || !dialog) {
                run.failure = QStringLiteral("no result shown");
                return false;
            }
            run.resultShownMs = clock.elapsed();
            run.resultText = message(dialog)->text();
            run.progressMaximum = bar(dialog)->maximum();
            run.progressValue = bar(dialog)->value();
            return true;
        };
        const auto waitForBytes = [&] {
            if (!QTest::qWaitFor([&] { return bar(dialog)->value() >= receivingMark; }, timeoutMs) ||
                resultShown(dialog)) {
                run.failure = QStringLiteral("no bytes arriving");
                return false;
            }
            return true;
        };
        switch (answer) {
        case Answer::Ok:
            if (waitForResult())
                press([&] { buttons(dialog)->button(QDialogButtonBox::Ok)->click(); });
            break;
        case Answer::Escape:
            if (waitForResult())
                press([&] { QTest::keyClick(dialog, Qt::Key_Escape); });
            break;
        case Answer::SelfAccept:
            if (waitForResult() && !QTest::qWaitFor([&] { return !dialog->isVisible(); }, 4000))
                run.failure = QStringLiteral("the dialog did not end by itself");
            break;
        case Answer::EscapeAtOnce:
            press([&] { QTest::keyClick(dialog, Qt::Key_Escape); });
            break;
        case Answer::CancelWhileReceiving:
            if (waitForBytes())
                press([&] { buttons(dialog)->button(QDialogButtonBox::Cancel)->click(); });
            break;
        case Answer::EscapeWhileReceiving:
            if (waitForBytes())
                press([&] { QTest::keyClick(dialog, Qt::Key_Escape); });
            break;
        }
        if (!dialog)
            return;
        if (dialog->isVisible()) {
            if (run.failure.isEmpty())
                run.failure = QStringLiteral("the dialog is still open");
            dialog->reject();
            return;
        }
        // The dialog has ended; its modal loop returns once this returns. A worker stopped by Cancel
        // still reports, and the dialog shows what it reported.
        if (answer == Answer::CancelWhileReceiving &&
            QTest::qWaitFor([&] { return !dialog || resultShown(dialog); }, 2000) && dialog)
            run.resultText = message(dialog)->text();
    });
    slot();
    return run;
}

// The read-back and verify forms as they open: size, button box, message, picture and bar. The
// caller checks QTest::currentTestFailed() afterwards.
inline void checkReadFormAtOpening(QDialog *dialog, const QString &objectName, QSize size, const QString &title,
                                   const QString &running) {
    QCOMPARE(bar(dialog)->value(), 24);
    QCOMPARE(dialog->objectName(), objectName);
    QCOMPARE(dialog->size(), size);
    QCOMPARE(dialog->windowTitle(), title);

    QDialogButtonBox *box = buttons(dialog);
    QCOMPARE(box->geometry(), QRect(170, 80, 81, 21));
    QVERIFY(box->isEnabled());
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Cancel);
    QCOMPARE(box->orientation(), Qt::Horizontal);
    QVERIFY(box->centerButtons());

    QLabel *text = message(dialog);
    QCOMPARE(text->geometry(), QRect(80, 10, 171, 51));
    QCOMPARE(text->alignment(), Qt::AlignCenter);
    QVERIFY(text->wordWrap());
    QCOMPARE(text->text(), running);

    auto *picture = dialog->findChild<QLabel *>("pic");
    QCOMPARE(picture->geometry(), QRect(10, 0, 71, 81));
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(picture->pixmap().toImage(), QPixmap(":/img/img/icon_upload.png").toImage());
    QVERIFY(picture->text().isEmpty());
    QCOMPARE(bar(dialog)->geometry(), QRect(10, 80, 151, 21));
}

// A simulated module on COM1 that the program's port list points at. A test class derives from it
// (after QObject) and calls startModule() from init().
class ModuleFixture {
protected:
    std::unique_ptr<SimulatedModule> module;

    // The program writes as to a fast line, and the module takes the bytes as they come.
    void startModule(const QString &portName = QStringLiteral("COM1")) {
        SerialPort::setByteTime(fastLineByteTime);
        module = std::make_unique<SimulatedModule>(portName);
        QVERIFY(module->isValid());
        qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(module->portDirectory()));
    }

    // The program writes at 1200 baud, as it does outside the tests; with a paced module, the module
    // also takes the bytes no faster than a 1200-baud line carries them, however quickly the
    // terminal accepts them.
    void useLineAt1200Baud(bool pacedModule) {
        SerialPort::setByteTime(SerialPort::byteTimeAt1200Baud);
        module->receiveAtLineSpeed(pacedModule);
    }
};

// A main window in a fresh temporary working directory, with a simulated module on COM1 behind the
// port list. The window is made even when a check on the way fails (the test is skipped then), so
// that init() can go on setting it up.
class WindowOnModule : public ModuleFixture {
protected:
    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<MainWindow> window;

    // The window's link settings name the module's port.
    void openWindowOnModule(const QString &portName = QStringLiteral("COM1")) {
        enterWorkDir();
        startModule(portName);
        window = std::make_unique<MainWindow>();
        window->settings.port = portName;
    }

    // The values of the window's form, and putting values into it.
    FormValues windowForm() const { return readForm(formLists(window->ui->centralWidget)); }
    void putWindowForm(const FormValues &values) { writeForm(formLists(window->ui->centralWidget), values); }

    // Runs the window's download(), notes the dialog's result text and presses Ok. Without a result
    // within the time the dialog is rejected and the text stays empty.
    QString downloadAndConfirm(int resultWithinMs = 15000) {
        QString result;
        Modal::whenShown([&result, resultWithinMs](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            if (!dialog) {
                qWarning("not the download dialog");
                modal->close();
                return;
            }
            QDialogButtonBox *box = buttons(dialog);
            if (!QTest::qWaitFor([box] { return box->isEnabled(); }, resultWithinMs)) {
                qWarning("no result");
                dialog->reject();
                return;
            }
            result = message(dialog)->text();
            box->button(QDialogButtonBox::Ok)->click();
        });
        window->download();
        return result;
    }

    // Brings the tab page holding the widget to the front.
    void showPageOf(QWidget *widget) {
        QWidget *page = widget;
        while (window->ui->tabWidget->indexOf(page) < 0)
            page = page->parentWidget();
        window->ui->tabWidget->setCurrentWidget(page);
    }

    void closeWindowOnModule() {
        window.reset();
        module.reset();
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

private:
    void enterWorkDir() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
    }
};

} // namespace TransferDriver
