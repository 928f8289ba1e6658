#pragma once

#include <QCoreApplication>
#include <QRect>
#include <QString>

// The wording of one build. Each program links exactly one table (texts_en.cpp or
// texts_hu.cpp); everything else is compiled once and shared. Texts are UTF-8 source texts and
// are shown through QCoreApplication::translate with no translator installed, so each build
// shows its own table. Texts that are the same in both builds and are not wording (shortcuts,
// default edit texts, the "group" values, "%p%") live with the code that uses them.

struct MainFormTexts {
    const char *windowTitle;

    // Actions, in the order the form creates them.
    const char *actionNew, *actionOpen, *actionSave, *actionExit, *actionPort, *actionBaudrate, *action8bit_sum,
        *action16bit_sum, *actionContent, *actionAbout, *actionReadup, *actionDownload, *action24bit_sum,
        *action32bit_sum, *actionFix, *actionACK, *actionSaveAs, *actionCheck, *actionSeparators, *actionUC,
        *actionVerify, *actionContents;

    const char *menuFile, *menuSettings, *menuCHKS, *menuHelp, *menuDevice;

    const char *tab1, *tab2, *tab3, *tab4;

    const char *g_general, *g_tel, *g_analog, *g_be, *g_ki, *g_ki_csengetes, *g_allapot, *g_eszkoz;

    // g_general
    const char *label_2, *label_3, *label_4, *label_17, *label_5, *label_8, *label_66;
    const char *operatorOther; // fourth item of smskp_combo; the first three are the operators' names

    // g_tel
    const char *label_29, *label_27, *label_28;

    // g_analog
    const char *label_56, *label_57, *label_41, *label_46, *label_42, *label_63, *label_62, *label_67, *label_44,
        *label_45, *label_43, *label_64, *label_65, *label_68;

    // g_be
    const char *label_6, *label_7, *label_32, *label_31, *label_13, *label_14, *label_34, *label_35, *label_15,
        *label_16, *label_36, *label_33;

    // g_ki
    const char *label_50, *label_38, *label_9, *label_10, *label_37, *label_30, *label_11, *label_12;

    // g_ki_csengetes
    const char *label_61, *label_55, *label_58, *label_59, *label_60;

    // g_allapot
    const char *l_ver, *l_terero, *label_24, *label_25, *label_51, *label_52, *label_53, *label_54, *label_26,
        *label_39, *label_69, *label_70, *label_48, *allapot_gomb;

    // g_eszkoz
    const char *port_gomb, *download_gomb, *verify_gomb, *upload_gomb;

    // The two widgets whose geometry differs between the builds.
    QRect label_28Geometry, label_61Geometry;
};

struct StatusBarTexts {
    const char *noFile, *makerLine;
};

struct FileTexts {
    const char *saveCaption, *openCaption, *filter, *errorTitle, *missing, *syntax, *saveTitle, *saveSuccess,
        *saveFailed;
};

struct ValidationTexts {
    const char *title, *onlyNumbers, *range, *sevenBit, *zeroOrOne, *phoneNumber;
};

struct HelpTexts {
    const char *title, *missingFile;
};

struct AboutTexts {
    const char *title, *maker, *webSites, *contact, *author, *version;
};

// Messages of MainWindow::download() before anything is sent.
struct DownloadCheckTexts {
    const char *title, *allInputs, *greaterThanZero, *sevenBit;
};

// One transfer dialog: title and running text (translated), result texts (plain).
struct TransferTexts {
    const char *title, *running, *success, *failure;
};

struct StatusQueryTexts {
    const char *busy, *progress, *errorTitle, *failure;
    char supplyOnChar; // the character of the supply indicator that lights it green
};

struct PortDialogTexts {
    const char *title, *portLabel, *baudLabel;
};

struct CharDialogTexts {
    const char *title, *label;
};

struct SeparatorDialogTexts {
    const char *title, *downloadLabel, *uploadLabel;
};

struct TextTable {
    const char *language; // "en" or "hu"
    MainFormTexts form;
    StatusBarTexts statusBar;
    FileTexts file;
    ValidationTexts validation;
    HelpTexts help;
    AboutTexts about;
    DownloadCheckTexts downloadCheck;
    TransferTexts dload, upload, verify;
    StatusQueryTexts status;
    PortDialogTexts setcom;
    CharDialogTexts setFix, setAck, setUC;
    SeparatorDialogTexts separators;
};

// The table of the build being linked.
const TextTable &textTable();

// A text of the table as the program shows it, looked up under the form's context.
inline QString uiText(const char *context, const char *source) {
    return QCoreApplication::translate(context, source);
}
