// Another program on the serial device named by its argument: it holds the device open with
// QSerialPort, as any Qt program would, says "held" once it has it, and lets go when its standard
// input closes.
#include <QCoreApplication>
#include <QSerialPort>

#include <iostream>
#include <string>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadWrite))
        return 1;
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
