#ifndef DIALOGANSWERER_H
#define DIALOGANSWERER_H

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <functional>

// Answers the modal dialogs a slot opens, in order, from inside the test. A click whose slot opens
// a modal dialog returns only when the dialog closes, so the answers are armed before the click. A
// dialog nobody expected, or one still open after a few seconds, is rejected and recorded, so a
// wrong answer fails the test instead of hanging it.
class DialogAnswerer : public QObject {
public:
    struct Seen {
        QString className;
        QString title;
        QString text;
    };
    using Answer = std::function<void(QDialog *)>;

    DialogAnswerer()
    {
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, &DialogAnswerer::answerActiveDialog);
        poll.start();
    }

    void expect(Answer answer) { answers.append(std::move(answer)); }
    bool allAnswered() const { return answers.isEmpty(); }

    QList<Seen> seen;
    QStringList unexpected;

    static Answer clickOk()
    {
        return [](QDialog *dialog) { dialog->accept(); };
    }
    static Answer cancel()
    {
        return [](QDialog *dialog) { dialog->reject(); };
    }
    // Presses one button of a message box, such as Yes of a question.
    static Answer press(QMessageBox::StandardButton which)
    {
        return [which](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            if (!box || !box->button(which))
                return dialog->reject();
            box->button(which)->click();
        };
    }
    // Presses the button of a message box that carries the text, such as "重新生成".
    static Answer pressButton(const QString &text)
    {
        return [text](QDialog *dialog) {
            for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
                if (button->text() == text)
                    return button->click();
            }
            dialog->reject();
        };
    }
    // Types the name of a file to save in a folder.
    static Answer saveAs(const QString &folder, const QString &name)
    {
        return typeNames(folder, name);
    }
    static Answer chooseFolder(const QString &folder)
    {
        return [folder](QDialog *dialog) {
            auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
            if (!fileDialog)
                return dialog->reject();
            fileDialog->setDirectory(folder);
            dialog->accept();
        };
    }
    // Picks files of one folder the way a user types them: "a.c" "b.h".
    static Answer pickFiles(const QString &folder, const QStringList &names)
    {
        return typeNames(folder, "\"" + names.join("\" \"") + "\"");
    }
    // Types into a file dialog's name field in the folder and accepts. Typing makes the dialog
    // select the matching rows once it has read the folder, and it then returns them in its own
    // sorted order; without that it returns them in the typed order. Only the typed order is the
    // same on every run.
    static Answer typeNames(const QString &folder, const QString &typed)
    {
        return [folder, typed](QDialog *dialog) {
            auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
            auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
            if (!fileDialog || !edit)
                return dialog->reject();
            fileDialog->setDirectory(folder);
            const QSignalBlocker noCompletion(edit);
            edit->setText(typed);
            dialog->accept();
        };
    }

private:
    void answerActiveDialog()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            openSince = nullptr;
            return;
        }
        if (dialog == answering)
            return rejectIfStuck(dialog);
        answering = dialog;
        openSince = dialog;
        openTimer.start();
        record(dialog);
        Answer answer;
        if (answers.isEmpty()) {
            unexpected.append(dialog->windowTitle());
            answer = cancel();
        } else {
            answer = answers.takeFirst();
        }
        QPointer<QDialog> guarded(dialog);
        QTimer::singleShot(0, this, [guarded, answer] {
            if (guarded)
                answer(guarded);
        });
    }

    void record(QDialog *dialog)
    {
        Seen entry { dialog->metaObject()->className(), dialog->windowTitle(), QString() };
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            entry.text = box->text();
        seen.append(entry);
    }

    void rejectIfStuck(QDialog *dialog)
    {
        if (openSince == dialog && openTimer.elapsed() > 5000) {
            unexpected.append("stuck: " + dialog->windowTitle());
            dialog->reject();
        }
    }

    QList<Answer> answers;
    QTimer poll;
    QPointer<QDialog> answering;
    QPointer<QDialog> openSince;
    QElapsedTimer openTimer;
};

#endif // DIALOGANSWERER_H
