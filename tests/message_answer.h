// Test helper: answers the message boxes (QMessageBox) that come up while
// it lives, with OK, and keeps their texts.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

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

} // namespace vkt
