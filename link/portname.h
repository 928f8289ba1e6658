#pragma once

#include <QString>

// The device behind a Windows-style port name ("COM1" .. "COM31"). On Windows this is the
// device namespace path; on Linux DOWNLOADER_PORT_DIR/COMn when that variable names a folder of
// links (a relative folder is taken from the working directory), otherwise /dev/ttyS<n-1>.
QString devicePathForPort(const QString &portName);

// The folder of port links named by DOWNLOADER_PORT_DIR as an absolute path (a relative one is
// taken from the working directory), or empty when the variable is unset or names no folder.
QString portDirectory();
