#include "mainwindow.h"

#include "texts/texts.h"
#include "ui_mainwindow.h"

#include <QActionGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace {

QIcon iconFrom(const QString &resourcePath) {
    QIcon icon;
    icon.addPixmap(QPixmap(resourcePath), QIcon::Normal, QIcon::Off);
    return icon;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow) {
    ui->setupUi(this);

    switch (settings.checkSize) {
    case 0:
        ui->action8bit_sum->setChecked(true);
        break;
    case 1:
        ui->action16bit_sum->setChecked(true);
        break;
    case 2:
        ui->action24bit_sum->setChecked(true);
        break;
    case 3:
        ui->action32bit_sum->setChecked(true);
        break;
    default:
        ui->actionFix->setChecked(true);
        break;
    }

    ui->actionNew->setIcon(iconFrom(QStringLiteral(":/img/img/page_icon.png")));
    ui->actionOpen->setIcon(iconFrom(QStringLiteral(":/img/img/open.png")));
    const QIcon saveIcon = iconFrom(QStringLiteral(":/img/img/save.png"));
    ui->actionSave->setIcon(saveIcon);
    ui->actionSaveAs->setIcon(saveIcon);
    ui->actionExit->setIcon(iconFrom(QStringLiteral(":/img/img/exit_icon.png")));
    ui->actionAbout->setIcon(iconFrom(QStringLiteral(":/img/img/info_icon.png")));
    ui->actionReadup->setIcon(iconFrom(QStringLiteral(":/img/img/up.png")));
    ui->actionDownload->setIcon(iconFrom(QStringLiteral(":/img/img/down.png")));

    auto *checksumGroup = new QActionGroup(this);
    checksumGroup->addAction(ui->action8bit_sum);
    checksumGroup->addAction(ui->action16bit_sum);
    checksumGroup->addAction(ui->action24bit_sum);
    checksumGroup->addAction(ui->action32bit_sum);
    checksumGroup->addAction(ui->actionFix);

    // The form builds the menu disabled; only the check switch enables it later.
    if (ui->menuCHKS->isEnabled())
        ui->menuCHKS->setEnabled(settings.checkValue != 0);

    connect(ui->actionNew, &QAction::triggered, this, &MainWindow::newfile);
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::openfile);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui->actionSaveAs, &QAction::triggered, this, &MainWindow::saveas);
    connect(ui->actionExit, &QAction::triggered, this, &MainWindow::close);
    connect(ui->actionPort, &QAction::triggered, this, &MainWindow::show_port);
    connect(ui->actionCheck, &QAction::triggered, this, &MainWindow::setCheck);
    connect(ui->actionACK, &QAction::triggered, this, &MainWindow::setAckChar);
    connect(ui->actionSeparators, &QAction::triggered, this, &MainWindow::setSeparators);
    connect(ui->actionUC, &QAction::triggered, this, &MainWindow::setUploadCommand);
    connect(ui->actionDownload, &QAction::triggered, this, &MainWindow::download);
    connect(ui->actionReadup, &QAction::triggered, this, &MainWindow::readup);
    connect(ui->actionVerify, &QAction::triggered, this, &MainWindow::verify_func);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::nevjegy);
    connect(ui->actionContents, &QAction::triggered, this, &MainWindow::contents);
    connect(ui->allapot_gomb, &QPushButton::clicked, this, &MainWindow::allapot);
    connect(ui->port_gomb, &QPushButton::clicked, this, &MainWindow::show_port);
    // Download and verify check the form themselves. A click on their buttons leaves the focus in
    // the edit, as a tool button does: taking it would run the check on the press, and the click
    // would then go on into the transfer's own checks of the field just cleared, a second box.
    ui->download_gomb->setFocusPolicy(Qt::TabFocus);
    ui->verify_gomb->setFocusPolicy(Qt::TabFocus);
    connect(ui->download_gomb, &QPushButton::clicked, this, &MainWindow::download);
    connect(ui->upload_gomb, &QPushButton::clicked, this, &MainWindow::readup);
    connect(ui->verify_gomb, &QPushButton::clicked, this, &MainWindow::verify_func);
    connect(ui->action8bit_sum, &QAction::triggered, this, &MainWindow::setChks8);
    connect(ui->action16bit_sum, &QAction::triggered, this, &MainWindow::setChks16);
    connect(ui->action24bit_sum, &QAction::triggered, this, &MainWindow::setChks24);
    connect(ui->action32bit_sum, &QAction::triggered, this, &MainWindow::setChks32);
    connect(ui->actionFix, &QAction::triggered, this, &MainWindow::setFixChar);

    // Every line edit runs the validation of the whole form when its editing finishes: on Return
    // and on every loss of the keyboard focus (eventFilter()). Qt 6's editingFinished() comes on a
    // focus loss only when the text changed since it last came, so it cannot serve; returnPressed()
    // comes on the same keys as editingFinished() does, and never on a focus loss.
    const QList<QLineEdit *> edits = ui->centralWidget->findChildren<QLineEdit *>(QString());
    for (QLineEdit *edit : edits) {
        connect(edit, &QLineEdit::returnPressed, this, &MainWindow::input_check);
        edit->installEventFilter(this);
    }

    // Qt 6 has no currentIndexChanged(QString); currentTextChanged fires on the same changes
    // of this non-editable combo box.
    connect(ui->smskp_combo, &QComboBox::currentTextChanged, this, &MainWindow::smskpSelect);

    const TextTable &texts = textTable();
    fileLabel = new QLabel(QString::fromUtf8(texts.statusBar.noFile), this);
    ui->statusBar->insertWidget(0, fileLabel, 1);
    portLabel = new QLabel(QStringLiteral("%1  Baud: %2").arg(settings.port, QString::number(settings.baudrate)), this);
    ui->statusBar->insertWidget(1, portLabel, 1);
    makerLabel = new QLabel(QString::fromUtf8(texts.statusBar.makerLine), this);
    ui->statusBar->insertWidget(2, makerLabel, 0);

    newfile();
}

MainWindow::~MainWindow() {
    delete ui;
}

// Save As is hidden and disabled in the form; nothing can trigger it.
void MainWindow::saveas() {}
