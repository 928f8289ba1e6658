#pragma once

#include <QByteArray>
#include <QString>

// Whether the module's reply to a verify request holds exactly the composed configuration text.
// The reply is taken as the transfer loop collects it, its last byte repeated; once normalised, its
// last 4 characters (the module's own trailing characters and the repeated byte) are removed.
bool verifyReplyMatches(const QByteArray &receivedWithRepeatedLastByte, const QString &composed);
