#include "setcom.h"

#include "link/serialport.h"
#include "texts/texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const char *const portNames[] = {"COM1",  "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",
                                 "COM9",  "COM10", "COM11", "COM12", "COM13", "COM14", "COM15", "COM16",
                                 "COM17", "COM18", "COM19", "COM20", "COM21", "COM22", "COM23", "COM24",
                                 "COM25", "COM26", "COM27", "COM28", "COM29", "COM30", "COM31", "COM32"};

const char *const baudRates[] = {"150",  "200",  "300",   "600",   "1200",  "1800",  "2400",
                                 "4800", "9600", "19200", "38400", "57600", "76800", "115200"};

// Only COM1..COM31 are probed, although the static list goes up to COM32.
constexpr int probedPorts = 31;

template <std::size_t N> QStringList translated(const char *const (&sources)[N]) {
    QStringList texts;
    for (const char *source : sources)
        texts << uiText("setcom", source);
    return texts;
}

} // namespace

void Ui_setcom::setupUi(QDialog *setcom) {
    if (setcom->objectName().isEmpty())
        setcom->setObjectName("setcom");
    setcom->resize(252, 146);

    verticalLayout = new QVBoxLayout(setcom);
    verticalLayout->setObjectName("verticalLayout");
    gridLayout = new QGridLayout();
    gridLayout->setObjectName("gridLayout");
    l_com = new QLabel(setcom);
    l_com->setObjectName("l_com");
    gridLayout->addWidget(l_com, 0, 0, 1, 1);
    l_baud = new QLabel(setcom);
    l_baud->setObjectName("l_baud");
    gridLayout->addWidget(l_baud, 1, 0, 1, 1);
    comboBox = new QComboBox(setcom);
    comboBox->setObjectName("comboBox");
    gridLayout->addWidget(comboBox, 0, 1, 1, 1);
    baudrate = new QComboBox(setcom);
    baudrate->setObjectName("baudrate");
    baudrate->setEnabled(false);
    gridLayout->addWidget(baudrate, 1, 1, 1, 1);
    verticalSpacer = new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Fixed);
    gridLayout->addItem(verticalSpacer, 2, 1, 1, 1);
    verticalLayout->addLayout(gridLayout);

    buttonBox = new QDialogButtonBox(setcom);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    buttonBox->setCenterButtons(true);
    verticalLayout->addWidget(buttonBox);

    retranslateUi(setcom);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, setcom, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, setcom, &QDialog::reject);
    QMetaObject::connectSlotsByName(setcom);
}

void Ui_setcom::retranslateUi(QDialog *setcom) {
    const PortDialogTexts &texts = textTable().setcom;
    setcom->setWindowTitle(uiText("setcom", texts.title));
    l_com->setText(uiText("setcom", texts.portLabel));
    l_baud->setText(uiText("setcom", texts.baudLabel));
    comboBox->clear();
    comboBox->insertItems(0, translated(portNames));
    baudrate->clear();
    baudrate->insertItems(0, translated(baudRates));
}

setcom::setcom(const QString &port, int baudrate, QWidget *parent) : QDialog(parent), ui(new Ui_setcom) {
    ui->setupUi(this);

    // List only the ports that can be opened right now; each is closed again at once.
    ui->comboBox->clear();
    for (int number = 1; number <= probedPorts; ++number) {
        const QString name = QStringLiteral("COM%1").arg(number);
        if (!SerialPort::probe(name))
            continue;
        ui->comboBox->addItem(name);
        if (name == port)
            ui->comboBox->setCurrentIndex(ui->comboBox->count() - 1);
    }

    selectBaudrate(baudrate);
}

setcom::~setcom() {
    delete ui;
}

PortSelection setcom::selection() const {
    return {ui->comboBox->currentText(), int(ui->baudrate->currentText().toLong(nullptr, 10))};
}

void setcom::setSelection(const PortSelection &selection) {
    if (!selection.port.isEmpty()) {
        const QChar last = selection.port.back();
        const int position = last.unicode() - '1';
        if (last >= QLatin1Char('1') && last <= QLatin1Char('9') && position < ui->comboBox->count())
            ui->comboBox->setCurrentIndex(position);
    }
    selectBaudrate(selection.baudrate);
}

void setcom::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

// The first listed rate equal to the given one becomes current; otherwise the list stays as it is.
void setcom::selectBaudrate(int rate) {
    const int index = ui->baudrate->findText(QString::number(rate), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui->baudrate->setCurrentIndex(index);
}
