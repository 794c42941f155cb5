#include "forms/ErrorReport.h"

#include "forms/Dialogs.h"

#include <QCoreApplication>

#include <exception>

namespace {
QString unexpectedError() {
    return QCoreApplication::translate("ErrorReport", "An unexpected error occurred.");
}
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
    TDialogs::Current().Message(owner, TMessageKind::Critical, ApplicationTitle(),
                                text.trimmed().isEmpty() ? unexpectedError() : text, TButton::Ok,
                                QStringLiteral("ErrorReport"));
}

bool RunReported(QWidget *owner, const std::function<void()> &body) {
    QString message;
    try {
        body();
        return true;
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = unexpectedError();
    }
    // The box is shown outside the catch block, so the exception object is
    // gone before a nested event loop runs.
    ShowErrorReport(owner, message);
    return false;
}
