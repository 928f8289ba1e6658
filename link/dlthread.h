#pragma once

#include "link/transferthread.h"

// The download worker: sends the composed configuration text (settings.dataText) to the module
// and succeeds when the module acknowledges it.
class dlThread : public TransferThread {
    Q_OBJECT

public:
    explicit dlThread(const LinkSettings &settings, QObject *parent = nullptr);

protected:
    void exchange() override;
};
