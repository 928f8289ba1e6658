#include "about.h"

#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *centredLabel(QWidget *parent, const char *objectName) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

void Ui_about::setupUi(QDialog *about) {
    if (about->objectName().isEmpty())
        about->setObjectName("about");
    about->resize(311, 200);

    verticalLayoutWidget = new QWidget(about);
    verticalLayoutWidget->setObjectName("verticalLayoutWidget");
    verticalLayoutWidget->setGeometry(QRect(20, 20, 268, 164));
    verticalLayout = new QVBoxLayout(verticalLayoutWidget);
    verticalLayout->setObjectName("verticalLayout");
    verticalLayout->setSizeConstraint(QLayout::SetDefaultConstraint);
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    label = centredLabel(verticalLayoutWidget, "label");
    verticalLayout->addWidget(label);
    label_3 = centredLabel(verticalLayoutWidget, "label_3");
    verticalLayout->addWidget(label_3);
    label_2 = centredLabel(verticalLayoutWidget, "label_2");
    verticalLayout->addWidget(label_2);
    verticalSpacer = new QSpacerItem(20, 50, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer);
    label_4 = centredLabel(verticalLayoutWidget, "label_4");
    verticalLayout->addWidget(label_4);
    verticalSpacer_2 = new QSpacerItem(20, 50, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer_2);
    label_6 = centredLabel(verticalLayoutWidget, "label_6");
    verticalLayout->addWidget(label_6);

    buttonBox = new QDialogButtonBox(verticalLayoutWidget);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Close);
    buttonBox->setCenterButtons(true);
    verticalLayout->addWidget(buttonBox);

    retranslateUi(about);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, about, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, about, &QDialog::reject);
    QMetaObject::connectSlotsByName(about);
}

void Ui_about::retranslateUi(QDialog *about) {
    const AboutTexts &texts = textTable().about;
    about->setWindowTitle(uiText("about", texts.title));
    label->setText(uiText("about", texts.maker));
    label_3->setText(uiText("about", texts.webSites));
    label_2->setText(uiText("about", texts.contact));
    label_4->setText(uiText("about", texts.author));
    label_6->setText(uiText("about", texts.version));
}

about::about(QWidget *parent) : QDialog(parent), ui(new Ui_about) {
    ui->setupUi(this);
}

about::~about() {
    delete ui;
}

void about::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
