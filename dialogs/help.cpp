#include "help.h"

#include "configfile/regularfile.h"
#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QTextStream>

#include <fcntl.h>

namespace {

const char *const helpFileName = "tkm-730.hlp";

// The help text up to and including the first line that is exactly "---"; every line is
// ended by a line feed. The stream decodes with the locale's encoding.
QString readHelpText(const QByteArray &bytes) {
    QTextStream in(bytes);
    in.setEncoding(QStringConverter::System);
    QString text;
    for (;;) {
        const QString line = in.readLine();
        text += line;
        text += QLatin1Char('\n');
        if (line == QLatin1String("---") || in.atEnd())
            break;
    }
    return text;
}

} // namespace

void Ui_help::setupUi(QDialog *help) {
    if (help->objectName().isEmpty())
        help->setObjectName("help");
    help->resize(880, 680);
    help->setMinimumSize(QSize(880, 680));
    help->setMaximumSize(QSize(880, 680));

    buttonBox = new QDialogButtonBox(help);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setGeometry(QRect(10, 645, 860, 32));
    buttonBox->setMaximumSize(QSize(880, QWIDGETSIZE_MAX));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Close);
    buttonBox->setCenterButtons(true);

    plainTextEdit = new QPlainTextEdit(help);
    plainTextEdit->setObjectName("plainTextEdit");
    plainTextEdit->setGeometry(QRect(10, 10, 860, 630));

    retranslateUi(help);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, help, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, help, &QDialog::reject);
    QMetaObject::connectSlotsByName(help);
}

void Ui_help::retranslateUi(QDialog *help) {
    help->setWindowTitle(uiText("help", textTable().help.title));
}

help::help(QWidget *parent) : QDialog(parent), ui(new Ui_help) {
    ui->setupUi(this);
    ui->plainTextEdit->setReadOnly(true);

    // A help file that cannot be read whole counts as missing: one without read permission, a
    // folder, anything but a regular file (a FIFO or a device is never opened), and a file over
    // 1 MiB, whose text would freeze the view for seconds.
    const RegularFile::File file = RegularFile::open(QString::fromLatin1(helpFileName), O_RDONLY);
    if (const std::optional<QByteArray> bytes = RegularFile::readWhole(file)) {
        ui->plainTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
        ui->plainTextEdit->setPlainText(readHelpText(*bytes));
    } else {
        ui->plainTextEdit->setPlainText(uiText("help", textTable().help.missingFile));
    }
}

help::~help() {
    delete ui;
}

void help::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
