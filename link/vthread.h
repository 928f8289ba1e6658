#pragma once

#include "link/transferthread.h"

// The verify worker: asks the module for the configuration it holds ('~' then the upload command)
// and succeeds when the reply holds exactly the configuration text composed from the form
// (settings.dataText, composed in the GUI thread). A form that could not be composed ends the run
// before the port is touched.
class vThread : public TransferThread {
    Q_OBJECT

public:
    // composed: whether settings.dataText holds a composed text; false fails the run at once.
    vThread(const LinkSettings &settings, bool composed, QObject *parent = nullptr);

protected:
    bool canStart() override { return composed; }
    void exchange() override;

private:
    const bool composed;
};
