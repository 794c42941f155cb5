#include "forms/ErrorReport.h"

#include "forms/Dialogs.h"

#include <exception>

namespace {
QString &titleStore() {
    static QString title = QStringLiteral("Ledgerly");
    return title;
}
} // namespace

QString ApplicationTitle() {
    return titleStore();
}

void SetApplicationTitle(const QString &title) {
    titleStore() = title;
}

void ShowErrorReport(QWidget *owner, const QString &text) {
    TDialogs::Current().Message(
        owner, TMessageKind::Critical, ApplicationTitle(),
        text.trimmed().isEmpty() ? QStringLiteral("An unexpected error occurred.") : text,
        TButton::Ok, QStringLiteral("ErrorReport"));
}

bool RunReported(QWidget *owner, const std::function<void()> &body) {
    QString message;
    try {
        body();
        return true;
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("An unexpected error occurred.");
    }
    // The box is shown outside the catch block, so the exception object is
    // gone before a nested event loop runs.
    ShowErrorReport(owner, message);
    return false;
}
