#include "chardialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const CharDialogLayout setFixLayout = {"setFix", &TextTable::setFix, {268, 127}, {10, 80, 191, 32},
                                       true,     {20, 20, 234, 31}};
const CharDialogLayout setAckLayout = {"setAck", &TextTable::setAck, {286, 114}, {60, 70, 191, 32},
                                       false,    {20, 20, 234, 31}};
const CharDialogLayout setUCLayout = {"setUC", &TextTable::setUC, {320, 118}, {80, 70, 221, 32},
                                      false,   {20, 20, 285, 31}};

QDialogButtonBox *okCancelBox(QDialog *dialog, const QRect &geometry, bool centerButtons) {
    auto *box = new QDialogButtonBox(dialog);
    box->setObjectName("buttonBox");
    box->setGeometry(geometry);
    box->setOrientation(Qt::Horizontal);
    box->setStandardButtons(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    box->setCenterButtons(centerButtons);
    return box;
}

// One row at a fixed place on the dialog: label, spacer, one-character box. suffix tells the
// rows of one dialog apart ("", "_2").
void addCharRow(QDialog *dialog, const QRect &geometry, const QString &suffix, const char *editName,
                QWidget *&rowWidget, QHBoxLayout *&layout, QLabel *&label, QSpacerItem *&spacer, QLineEdit *&edit) {
    rowWidget = new QWidget(dialog);
    rowWidget->setObjectName(QStringLiteral("horizontalLayoutWidget") + suffix);
    rowWidget->setGeometry(geometry);
    layout = new QHBoxLayout(rowWidget);
    layout->setObjectName(QStringLiteral("horizontalLayout") + suffix);
    layout->setContentsMargins(0, 0, 0, 0);
    label = new QLabel(rowWidget);
    label->setObjectName(QStringLiteral("label") + suffix);
    layout->addWidget(label);
    spacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    layout->addItem(spacer);
    edit = new QLineEdit(rowWidget);
    edit->setObjectName(editName);
    edit->setSizePolicy(QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
    edit->setMaxLength(1);
    layout->addWidget(edit);
}

void connectButtons(QDialogButtonBox *box, QDialog *dialog) {
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QMetaObject::connectSlotsByName(dialog);
}

QString latin1Text(char c) {
    return QString(QChar::fromLatin1(c));
}

} // namespace

void Ui_charDialog::setupUi(QDialog *dialog) {
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(layout.name);
    dialog->resize(layout.size);
    buttonBox = okCancelBox(dialog, layout.buttonBox, layout.centerButtons);
    addCharRow(dialog, layout.row, QString(), "i_char", horizontalLayoutWidget, horizontalLayout, label,
               horizontalSpacer, i_char);
    retranslateUi(dialog);
    connectButtons(buttonBox, dialog);
}

void Ui_charDialog::retranslateUi(QDialog *dialog) {
    const CharDialogTexts &texts = textTable().*layout.texts;
    dialog->setWindowTitle(uiText(layout.name, texts.title));
    label->setText(uiText(layout.name, texts.label));
    i_char->setText(QString());
}

Ui_setFix::Ui_setFix() : Ui_charDialog(setFixLayout) {}
Ui_setAck::Ui_setAck() : Ui_charDialog(setAckLayout) {}
Ui_setUC::Ui_setUC() : Ui_charDialog(setUCLayout) {}

CharDialog::CharDialog(QWidget *parent, Ui_charDialog *form, char current, bool showCurrent)
    : QDialog(parent), ui(form) {
    ui->setupUi(this);
    if (showCurrent)
        ui->i_char->setText(latin1Text(current));
    // Connected after filling the box, so Ok starts enabled whatever the box holds.
    connect(ui->i_char, &QLineEdit::textChanged, this, &CharDialog::handleChange);
}

CharDialog::~CharDialog() {
    delete ui;
}

void CharDialog::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void CharDialog::handleChange(const QString &text) {
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!text.isEmpty());
}

// The fixed check character is chosen afresh each time; the current one is not shown.
setFix::setFix(QWidget *parent, char current) : CharDialog(parent, new Ui_setFix, current, false) {}

setAck::setAck(QWidget *parent, char current) : CharDialog(parent, new Ui_setAck, current, true) {}

setUC::setUC(QWidget *parent, char current) : CharDialog(parent, new Ui_setUC, current, true) {}

void Ui_separators::setupUi(QDialog *separators) {
    if (separators->objectName().isEmpty())
        separators->setObjectName("separators");
    separators->resize(325, 157);
    buttonBox = okCancelBox(separators, QRect(120, 110, 191, 32), false);
    addCharRow(separators, QRect(20, 20, 291, 31), QString(), "c_ds", horizontalLayoutWidget, horizontalLayout, label,
               horizontalSpacer, c_ds);
    addCharRow(separators, QRect(20, 60, 291, 31), QStringLiteral("_2"), "c_us", horizontalLayoutWidget_2,
               horizontalLayout_2, label_2, horizontalSpacer_2, c_us);
    retranslateUi(separators);
    connectButtons(buttonBox, separators);
}

void Ui_separators::retranslateUi(QDialog *separators) {
    const SeparatorDialogTexts &texts = textTable().separators;
    separators->setWindowTitle(uiText("separators", texts.title));
    label->setText(uiText("separators", texts.downloadLabel));
    c_ds->setText(QString());
    label_2->setText(uiText("separators", texts.uploadLabel));
    c_us->setText(QString());
}

separators::separators(QWidget *parent, char downloadSeparator, char uploadSeparator)
    : QDialog(parent), ui(new Ui_separators) {
    ui->setupUi(this);
    ui->c_ds->setText(latin1Text(downloadSeparator));
    ui->c_us->setText(latin1Text(uploadSeparator));
    connect(ui->c_ds, &QLineEdit::textChanged, this, &separators::handleChange);
    connect(ui->c_us, &QLineEdit::textChanged, this, &separators::handleChange);
}

separators::~separators() {
    delete ui;
}

void separators::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void separators::handleChange() {
    const bool bothFilled = !ui->c_ds->text().isEmpty() && !ui->c_us->text().isEmpty();
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(bothFilled);
}
