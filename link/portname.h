#pragma once

#include <QString>

// The device behind a Windows-style port name ("COM1" .. "COM31"). On Windows this is the
// device namespace path; on Linux DOWNLOADER_PORT_DIR/COMn when that variable names a folder of
// links (a relative folder is taken from the working directory), otherwise /dev/ttyS<n-1>.
QString devicePathForPort(const QString &portName);
