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

// The field check's warning box: its title, and its message for a rule named by a short key.
inline QString fieldCheckTitle() {
    return byBuild("Input error", "Beviteli hiba");
}

inline QString fieldCheckMessage(const QString &rule) {
    if (rule == QLatin1String("numbers"))
        return byBuild("Only numbers!", "Csak számok adhatóak meg!");
    if (rule == QLatin1String("range"))
        return byBuild("Value must be between 0,1 and 9,9!", "Az értéknek 0,1 és 9,9 közöttinek kell lenni!");
    if (rule == QLatin1String("7-bit"))
        return byBuild("Only numbers and letters! (7-bit ascii)\n",
                       "Csak számok és betűk adhatóak meg! (7-bit ascii)\n");
    if (rule == QLatin1String("0 or 1"))
        return byBuild("Value must be 0 or 1!", "Az érték vagy 1 vagy 0 lehet!");
    if (rule == QLatin1String("phone"))
        return byBuild("Value must be a valid phone number!", "Telefonszám esetében csak számokat adhat meg!");
    return QStringLiteral("unknown rule ") + rule;
}

} // namespace BuildTexts
