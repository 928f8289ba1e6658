#pragma once

#include "link/linksettings.h"

#include <QMainWindow>

class QLabel;
class Ui_MainWindow;

// The one main window: holds the configuration form and the link settings and carries every
// slot of the program. The slots are defined beside the code they drive (file, validation,
// transfers, status query, settings, help).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui_MainWindow *ui;
    LinkSettings settings;
    QLabel *portLabel;
    QLabel *fileLabel;
    QLabel *makerLabel;

public slots:
    void newfile();
    void openfile();
    void save();
    void saveas();
    void verify_func();
    void show_port();
    void setCheck();
    void setFixChar();
    void setAckChar();
    void setSeparators();
    void setUploadCommand();
    void setChks8();
    void setChks16();
    void setChks24();
    void setChks32();
    void download();
    void readup();
    void show_info();
    void nevjegy();
    void contents();
    void input_check();
    void allapot();
    void smskpSelect();

public:
    // Loads the file at settings.filePath into the form.
    void loadSmsFile();
    // Points the operator preset at the SMS-centre number now in the form ("Other" for any
    // number that is not a preset's).
    void selectSmsCentreForNumber();

protected:
    // Runs input_check() when a line edit of the form loses the keyboard focus.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The check of input_check(): true when the whole form passes; otherwise the first bad field
    // has been cleared and focused and its one warning shown (or a warning is showing already).
    bool fieldCheckPasses();
};
