#include "tests/support/ModalAnswer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>

namespace {

struct Queue {
    std::deque<std::function<void(QWidget *)>> actions;
    QPointer<QWidget> lastAnswered;
    QTimer *timer = nullptr;
    int running = 0; // answers taken from the queue but not yet run
};

Queue &queue() {
    static Queue q;
    return q;
}

// Forgets the answered window once it hides, so a dialog object that is
// shown again (a remembered file dialog) is answered again.
class HideWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Hide && watched == queue().lastAnswered) {
            queue().lastAnswered = nullptr;
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

void poll() {
    Queue &q = queue();
    if (q.actions.empty())
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == q.lastAnswered)
        return;
    auto action = std::move(q.actions.front());
    q.actions.pop_front();
    q.lastAnswered = modal;
    modal->installEventFilter(new HideWatcher(modal));
    // Run the answer from its own timer event: a timer does not fire again
    // while its own handler runs, so an answer that opens another modal
    // window (a message box from a button of the dialog) would otherwise
    // wait forever for its own answer.
    QPointer<QWidget> target = modal;
    ++q.running;
    QTimer::singleShot(0, qApp, [action = std::move(action), target] {
        if (target)
            action(target);
        --queue().running;
    });
}

void ensureTimer() {
    Queue &q = queue();
    if (q.timer)
        return;
    q.timer = new QTimer(qApp);
    q.timer->setInterval(20);
    QObject::connect(q.timer, &QTimer::timeout, poll);
    q.timer->start();
}

} // namespace

namespace ModalAnswer {

void Next(std::function<void(QWidget *)> action) {
    ensureTimer();
    queue().actions.push_back(std::move(action));
}

void MessageBox(QMessageBox::StandardButton button, QString *text, QString *caption) {
    Next([=](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box) {
            qWarning("ModalAnswer: expected a message box, got %s", w->metaObject()->className());
            w->close();
            return;
        }
        if (text)
            *text = box->text();
        if (caption)
            *caption = box->windowTitle();
        QAbstractButton *b = box->button(button);
        if (b)
            b->click();
        else
            box->done(button);
    });
}

void InputDialog(const QString &text, bool accept) {
    Next([=](QWidget *w) {
        auto *dlg = qobject_cast<QInputDialog *>(w);
        if (!dlg) {
            qWarning("ModalAnswer: expected an input dialog, got %s", w->metaObject()->className());
            w->close();
            return;
        }
        dlg->setTextValue(text);
        if (accept)
            dlg->accept();
        else
            dlg->reject();
    });
}

void FileDialog(const QString &path, const QString &nameFilter) {
    Next([=](QWidget *w) {
        auto *dlg = qobject_cast<QFileDialog *>(w);
        if (!dlg) {
            qWarning("ModalAnswer: expected a file dialog, got %s", w->metaObject()->className());
            w->close();
            return;
        }
        if (!nameFilter.isEmpty())
            dlg->selectNameFilter(nameFilter);
        if (path.isEmpty()) {
            dlg->reject();
            return;
        }
        // Type the name as a user would, so the dialog's own checks (such as
        // the overwrite question) run. The list's selection is cleared right
        // before: a selection left from an earlier use (or made while the
        // folder loads) would otherwise win over the typed name.
        if (auto *edit = dlg->findChild<QLineEdit *>("fileNameEdit")) {
            // selectFile replaces the selection the dialog may still apply
            // once its folder has loaded (a remembered earlier name), which
            // would otherwise overwrite the typed name.
            dlg->selectFile(path);
            dlg->setDirectory(QFileInfo(path).absolutePath());
            const QString name = QFileInfo(path).fileName();
            QPointer<QFileDialog> guard(dlg);
            QTimer::singleShot(0, dlg, [guard, edit, name] {
                if (!guard)
                    return;
                for (auto *view : guard->findChildren<QAbstractItemView *>())
                    if (view->selectionModel())
                        view->selectionModel()->clearSelection();
                edit->setFocus();
                edit->setText(name);
                QMetaObject::invokeMethod(guard.data(), "accept");
            });
        } else {
            dlg->selectFile(path);
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        }
    });
}

bool AllUsed(int timeoutMs) {
    return QTest::qWaitFor([] { return queue().actions.empty() && queue().running == 0; },
                           timeoutMs);
}

void Clear() {
    queue().actions.clear();
    queue().lastAnswered = nullptr;
}

} // namespace ModalAnswer
