#pragma once

#include "modal.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

// Answers to the file dialogs of the main window, given as the user gives them.
namespace Modal {

// What a file dialog showed when it opened.
struct ShownDialog {
    QString caption;
    QStringList filters;
    QString directory;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};

enum class Answer { Accept, Force, Cancel };

// Answers the next file dialog: types the name into its file-name box and accepts as the user
// does (Accept), has it return the typed name whatever it names (Force: a folder, or a file that
// the dialog would first ask to replace), or cancels it.
inline void answerFileDialog(const QString &name, Answer answer, ShownDialog *shown = nullptr) {
    Modal::whenShown([=](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            QFAIL("the modal window is not a file dialog");
        }
        if (shown)
            *shown = {dialog->windowTitle(), dialog->nameFilters(), dialog->directory().path(), dialog->acceptMode()};
        QDialog *asDialog = dialog;
        if (answer == Answer::Cancel) {
            asDialog->reject();
            return;
        }
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
        if (answer == Answer::Accept)
            asDialog->accept();
        else
            asDialog->done(QDialog::Accepted);
        if (dialog->isVisible()) {
            asDialog->reject();
            QFAIL("the file dialog refused the name");
        }
    });
}

} // namespace Modal
