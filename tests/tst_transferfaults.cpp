#include <QTest>
class TestTransferFaults : public QObject { Q_OBJECT };
QTEST_MAIN(TestTransferFaults)
#include "tst_transferfaults.moc"
