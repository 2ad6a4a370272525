// The user-interface languages and the text tables.
//
// Every language-dependent text comes from one of four tables by its
// number. The tables live in .tsv files beside this header (number,
// English, Simplified Chinese, Traditional Chinese) from which the build
// generates compiled-in arrays, so a translator edits a table, not code.
#pragma once

#include <QString>

#include <cstdint>

namespace vkt {

// The language number kept in the configuration file: 0 English,
// 1 Simplified Chinese, 2 Traditional Chinese; any other value follows the
// system language.
using LangId = int;

enum class TextTable : std::uint8_t {
    Main,     // the main window and most dialogs (texts 0..359)
    Exchange, // the programming exchange window (0..6)
    Port,     // the communication port window (0..2)
    Warn,     // the warning box (0)
};

// The language state of the process.
class TAppLang {
public:
    enum LangType : std::uint8_t { English = 1, Simplified = 2, Traditional = 3 };
    enum DetectType : std::uint8_t { Automatic = 0, Manual = 1 };

    // Captures the system language (from QLocale) and starts in automatic
    // detection.
    TAppLang();
    static TAppLang &instance();

    // Sets the language type explicitly (detection becomes manual).
    void fSetLangType(std::uint8_t type);
    // Automatic: the type follows the captured system language; manual
    // keeps the stored type.
    void fSetDetectType(std::uint8_t mode);
    // Follows a LangId: 0, 1, 2 set the type; anything else detects.
    void follow(LangId id);

    std::uint8_t langType() const { return type_; }
    std::uint8_t detectType() const { return detect_; }
    // The captured system language as a Windows-style language identifier
    // (primary language in the low 10 bits, sub-language above).
    std::uint16_t systemLangId() const { return systemLangId_; }
    // For tests: pretend the system language is this identifier.
    void setSystemLangId(std::uint16_t id) { systemLangId_ = id; }

    // A Windows-style language identifier for a Qt locale name such as
    // "zh_CN", "zh_TW", "en_US".
    static std::uint16_t LangIdForLocale(const QString &localeName);

private:
    std::uint8_t type_ = English;
    std::uint8_t detect_ = Automatic;
    std::uint16_t systemLangId_ = 0x0409;
};

// A text of a table in the active language. A number outside the table
// gives an empty text.
QString Text(TextTable table, int number);
// The same in a given language type (1, 2, 3).
QString TextIn(TextTable table, int number, std::uint8_t langType);
// Number of texts a table has (for tests).
int TextCount(TextTable table);

inline QString MainText(int n) { return Text(TextTable::Main, n); }
// A text of the main table without its mnemonic ("&New" and "新建(&N)"
// read "New" and "新建"): how a command names the step it takes.
QString PlainMainText(int n);

} // namespace vkt
