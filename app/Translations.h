#pragma once

#include <QLocale>

#include <memory>
#include <vector>

class QTranslator;

// The texts of the windows in the user's language, while an object of this
// class lives: the program's own translation (translations/ledgerly_LL.qm,
// found as the program's other installed files are) and Qt's translation of
// its standard dialogs and buttons (qtbase_LL.qm of the Qt installation).
// Only the languages the program ships (German) are looked for; any other
// language keeps the program's English. A translation that is missing is
// noted in the log and the program goes on in English.
class TTranslations {
public:
    explicit TTranslations(const QLocale &locale);
    ~TTranslations();
    TTranslations(const TTranslations &) = delete;
    TTranslations &operator=(const TTranslations &) = delete;

    // True when the program's own translation is installed.
    bool Installed() const { return FProgram; }

private:
    std::vector<std::unique_ptr<QTranslator>> FTranslators;
    bool FProgram = false;
};
