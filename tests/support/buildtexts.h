#pragma once

#include <QLatin1String>
#include <QString>

// The wording each build must show, written out here rather than taken from the program's table.
// Only for tests: DOWNLOADER_BUILD_LANGUAGE ("en" or "hu") is defined per test program.
namespace BuildTexts {

inline const bool hungarian = QLatin1String(DOWNLOADER_BUILD_LANGUAGE) == QLatin1String("hu");

inline QString byBuild(const char *english, const char *hungarianText) {
    return QString::fromUtf8(hungarian ? hungarianText : english);
}

// The four texts of a transfer dialog.
struct Transfer {
    QString title, running, success, failure;
};

inline Transfer download() {
    return {byBuild("Download", "Betöltés"), byBuild("Downloading...", "Betöltés folyamatban..."),
            byBuild("Download successful.", "Sikeres betöltés."),
            byBuild("Download error.\nTip: check the device.",
                    "Betöltés hiba.\nTipp: ellenőrizze az eszközt és a port beállítást.")};
}

inline Transfer readBack() {
    return {byBuild("Reading", "Kiolvasás"), byBuild("Reading...", "Kiolvasás..."),
            byBuild("Successful reading.", "Sikeres kiolvasás."),
            byBuild("Reading error.\nTip: check the device.",
                    "Kiolvasás hiba.\nTipp: ellenőrizze az eszközt és a port beállítást.")};
}

inline Transfer verify() {
    return {byBuild("Verify", "Ellenőrzés"), byBuild("Verifying...", "Ellenőrzés..."),
            byBuild("Successful verifying.", "Sikeres ellenőrzés."),
            byBuild("Error while verifying.\nCheck the device re-download to device.",
                    "Hiba az ellenőrzés közben.\nEllenzőrizze az eszközt, majd töltse be újra az adatokat az "
                    "eszközbe.")};
}

} // namespace BuildTexts
