// Test helpers for the modal windows a test makes come up: answering the
// message boxes (QMessageBox) with OK, and acting on one window of a name.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vkt {

class MessageAnswer {
public:
    MessageAnswer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start(10);
    }
    bool waitForOne() { return QTest::qWaitFor([this] { return !texts.isEmpty(); }, 3000); }
    QStringList texts;

private:
    QTimer timer_;
};

// Waits (with the event loop running) for a modal window of the given
// object name and acts on it once; records what its label said.
class ModalAnswer {
public:
    ModalAnswer(const char *objectName, std::function<void(QWidget *)> act)
        : name_(objectName), act_(std::move(act))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || w->objectName() != name_)
                return;
            timer_.stop();
            if (auto *label = w->findChild<QLabel *>("WarnDlgText"))
                text = label->text();
            else if (auto *question = w->findChild<QLabel *>("label"))
                text = question->text();
            seen = true;
            act_(w);
        });
        timer_.start(10);
    }
    bool seen = false;
    QString text;

private:
    QString name_;
    std::function<void(QWidget *)> act_;
    QTimer timer_;
};

// A mouse click on the named button of a window.
inline void ClickButton(QWidget *w, const char *name)
{
    auto *b = w->findChild<QPushButton *>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

// An action for ModalAnswer: a click on the named button.
inline std::function<void(QWidget *)> Click(const char *button)
{
    return [button](QWidget *w) { ClickButton(w, button); };
}

} // namespace vkt
