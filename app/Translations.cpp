#include "app/Translations.h"

#include "store/ProgramFiles.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <exception>

namespace {

// The languages the program has a translation for (translations/*.ts).
constexpr QLocale::Language kShipped[] = {QLocale::German};

} // namespace

TTranslations::TTranslations(const QLocale &locale) {
    if (std::find(std::begin(kShipped), std::end(kShipped), locale.language()) ==
        std::end(kShipped))
        return;
    const QString code = QLocale::languageToCode(locale.language());
    const auto install = [this](const QString &file) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get())) {
            qWarning("Ledgerly: the translation %s cannot be loaded; its texts stay in English.",
                     qPrintable(file));
            return false;
        }
        FTranslators.push_back(std::move(translator));
        return true;
    };
    try {
        FProgram = install(InstalledFile(QStringLiteral("translations/ledgerly_%1.qm").arg(code)));
    } catch (const std::exception &error) {
        qWarning("Ledgerly: %s The windows stay in English.", error.what());
    }
    // Qt's own dialogs and buttons (Yes, No, Cancel, the file dialog).
    install(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
            QStringLiteral("/qtbase_%1.qm").arg(code));
}

TTranslations::~TTranslations() {
    for (const std::unique_ptr<QTranslator> &translator : FTranslators)
        QCoreApplication::removeTranslator(translator.get());
}
