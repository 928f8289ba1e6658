#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The module's answer to a status request, one line of parts separated by single spaces.
struct StatusReport {
    std::array<bool, 4> outputs; // part 0, positions 5 to 8 are '1'
    std::array<bool, 4> inputs;  // part 1, positions 3 to 6 are '1'
    QString analog1;             // part 2 from position 3, without the " V" the label adds
    QString analog2;             // part 3 from position 3, without the " V"
    bool supplyOn;               // part 4, position 6 is the build's supply-on character
    int signal;                  // part 5 from position 5, times 10: 10, 20 or 30, else 2
    QString version;             // part 6, whole

    bool operator==(const StatusReport &other) const = default;
};

// The status loop gives up on a reply that runs this many bytes without a carriage return.
constexpr int statusReplyLimit = 4096;

// Parses a reply without its carriage return. Empty parts are kept, so two spaces in a row shift
// every later part; a position beyond the end of its part counts as off. Nothing for a reply of 6
// parts or fewer. supplyOnChar is '1' in the English build and '0' in the Hungarian one.
std::optional<StatusReport> parseStatusReply(const QByteArray &reply, char supplyOnChar);
