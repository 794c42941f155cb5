#include "tests/support/TestDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QTest>

#include <deque>
#include <variant>

namespace TestDialogs {
namespace {

struct TChoice {
    int Index;
};
struct TFileAnswer {
    QString Path, Filter;
};
using TTextAnswer = std::optional<QString>;
using TDialogAction = std::function<void(QDialog *)>;
using TAnswer = std::variant<TButton, TChoice, TTextAnswer, TFileAnswer, TDialogAction>;

struct TState {
    std::deque<TAnswer> Answers;
    QList<TAsked> Asked;
};

TState &state() {
    static TState s;
    return s;
}

const char *kindName(TAsked::TKind kind) {
    switch (kind) {
    case TAsked::MessageBox:
        return "message box";
    case TAsked::ChoiceBox:
        return "choice";
    case TAsked::InputBox:
        return "input box";
    case TAsked::FileDialog:
        return "file dialog";
    case TAsked::Window:
        return "window";
    }
    return "?";
}

// Records the question and takes its answer, which must be of type T; fails
// the running test otherwise.
template <class T> std::optional<T> take(const TAsked &asked) {
    TState &s = state();
    s.Asked << asked;
    if (!s.Answers.empty() && std::holds_alternative<T>(s.Answers.front())) {
        T answer = std::get<T>(std::move(s.Answers.front()));
        s.Answers.pop_front();
        return answer;
    }
    const QByteArray message =
        QStringLiteral("unanswered %1 \"%2\": %3")
            .arg(QLatin1String(kindName(asked.Kind)), asked.Caption, asked.Text.left(200))
            .toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
    return std::nullopt;
}

class TQueuedDialogs : public TDialogs {
public:
    TButton Message(QWidget *, TMessageKind kind, const QString &caption, const QString &text,
                    TButtons buttons, const QString &) override {
        const std::optional<TButton> answer =
            take<TButton>({TAsked::MessageBox, caption, text, kind});
        if (answer && buttons.testFlag(*answer))
            return *answer;
        if (answer)
            QTest::qFail("the answer is not a button of the message box", __FILE__, __LINE__);
        for (TButton escape : {TButton::Cancel, TButton::No, TButton::Ok})
            if (buttons.testFlag(escape))
                return escape;
        return TButton::None;
    }

    int Choose(QWidget *, const QString &caption, const QString &text,
               const QStringList &choices) override {
        const std::optional<TChoice> answer = take<TChoice>({TAsked::ChoiceBox, caption, text});
        return answer && answer->Index < choices.size() ? answer->Index : -1;
    }

    std::optional<QString> Text(QWidget *, const QString &, const QString &caption,
                                const QString &label, const QString &text) override {
        const std::optional<TTextAnswer> answer =
            take<TTextAnswer>({TAsked::InputBox, caption, label, {}, text});
        return answer ? *answer : std::nullopt;
    }

    QString File(QFileDialog *dialog, QString *chosenFilter) override {
        const QStringList filters = dialog->nameFilters();
        const std::optional<TFileAnswer> answer =
            take<TFileAnswer>({TAsked::FileDialog,
                               dialog->windowTitle(),
                               filters.join(QStringLiteral(";;")),
                               {},
                               dialog->selectedFiles().value(0)});
        if (!answer || answer->Path.isEmpty())
            return QString();
        if (chosenFilter)
            *chosenFilter = answer->Filter.isEmpty() ? filters.value(0) : answer->Filter;
        return answer->Path;
    }

    int Exec(QDialog *dialog) override {
        std::optional<TDialogAction> action =
            take<TDialogAction>({TAsked::Window, dialog->windowTitle(), dialog->objectName()});
        if (!action)
            return QDialog::Rejected;
        // Shown as exec() shows it, modal, but without an event loop of its
        // own: the answer runs at once.
        const bool wasModal = dialog->testAttribute(Qt::WA_ShowModal);
        dialog->setAttribute(Qt::WA_ShowModal, true);
        dialog->setResult(QDialog::Rejected);
        dialog->show();
        (*action)(dialog);
        if (dialog->isVisible()) {
            QTest::qFail("the answer left the window open", __FILE__, __LINE__);
            dialog->reject();
        }
        dialog->setAttribute(Qt::WA_ShowModal, wasModal);
        return dialog->result();
    }
};

std::unique_ptr<TDialogs> &real() {
    static std::unique_ptr<TDialogs> kept;
    return kept;
}

} // namespace

void Install() {
    if (!real())
        real() = TDialogs::Install(std::make_unique<TQueuedDialogs>());
}

TDialogs &Real() {
    Install();
    return *real();
}

void Answer(TButton button) {
    state().Answers.emplace_back(button);
}

void Choose(int index) {
    state().Answers.emplace_back(TChoice{index});
}

void Text(const std::optional<QString> &text) {
    state().Answers.emplace_back(TTextAnswer(text));
}

void File(const QString &path, const QString &filter) {
    state().Answers.emplace_back(TFileAnswer{path, filter});
}

void Dialog(std::function<void(QDialog *)> action) {
    state().Answers.emplace_back(TDialogAction(std::move(action)));
}

const QList<TAsked> &Asked() {
    return state().Asked;
}

QString LastMessage() {
    const QList<TAsked> &asked = state().Asked;
    for (auto it = asked.crbegin(); it != asked.crend(); ++it)
        if (it->Kind == TAsked::MessageBox)
            return it->Text;
    return QString();
}

bool AllUsed() {
    return state().Answers.empty();
}

void Clear() {
    const bool allUsed = AllUsed();
    state() = TState();
    if (!allUsed && !QTest::currentTestFailed())
        QTest::qFail("an answer was left unused", __FILE__, __LINE__);
}

} // namespace TestDialogs
