#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QSpacerItem;
class QVBoxLayout;

// A port name as listed ("COM3") and a baud rate.
struct PortSelection {
    QString port;
    int baudrate = 0;
};

class Ui_setcom {
public:
    QVBoxLayout *verticalLayout;
    QGridLayout *gridLayout;
    QLabel *l_com;
    QLabel *l_baud;
    QComboBox *comboBox;
    QComboBox *baudrate;
    QSpacerItem *verticalSpacer;
    QDialogButtonBox *buttonBox;

    void setupUi(QDialog *setcom);
    // Also refills both lists with the static names and rates.
    void retranslateUi(QDialog *setcom);
};

// The port dialog. Its constructor lists those of COM1..COM31 that can be opened exclusively
// at that moment, with the current port preselected. The baud-rate list is shown disabled, so
// the given rate comes back whenever it is one of the listed rates.
class setcom : public QDialog {
    Q_OBJECT

public:
    setcom(const QString &port, int baudrate, QWidget *parent = nullptr);
    ~setcom() override;

    PortSelection selection() const;
    // A port name ending in the digit 1..9 selects the item at position digit - 1 (when the list
    // is that long); other names leave the port list as it is.
    void setSelection(const PortSelection &selection);

    Ui_setcom *ui;

protected:
    void changeEvent(QEvent *event) override;

private:
    void selectBaudrate(int rate);
};
