// The program's small message windows.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vkt {

// One message and an OK button: the outcome of an exchange.
class TUserWarnDlg : public QDialog {
public:
    explicit TUserWarnDlg(const QString &text, QWidget *parent = nullptr);
    QLabel *WarnDlgText;
    QPushButton *OKBtn;
    QPushButton *CancelBtn; // kept hidden
};

// A question with OK and Cancel ("Clear all data ?").
class TMyWarnDlg_2 : public QDialog {
public:
    TMyWarnDlg_2(const QString &text, const QString &ok, const QString &cancel, QWidget *parent = nullptr);
    QLabel *label;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};

// A question with Yes, No and Cancel ("Do you want to save data ?").
class TMyWarnDlg_3 : public QDialog {
public:
    enum Result { Cancel = 0, Yes = 1, No = 2 };
    TMyWarnDlg_3(const QString &text, const QString &yes, const QString &no, const QString &cancel,
                 QWidget *parent = nullptr);
    QLabel *label;
    QPushButton *OKBtn;
    QPushButton *NoBtn;
    QPushButton *CancelBtn;
};

// A report of many lines (the channel import): a title line, the lines in
// a read-only text box that scrolls, and an OK button.
class TReportDlg : public QDialog {
public:
    TReportDlg(const QString &title, const QStringList &lines, QWidget *parent = nullptr);
    QLabel *label;
    QPlainTextEdit *ReportText;
    QPushButton *OKBtn;
};

} // namespace vkt
