// The password windows: the access-code box of the service windows, the
// prompt for the password of the radio to be programmed, and the window
// that gives the radio a new password.
#pragma once

#include "password_text.h"
#include "project.h"
#include "radio_data.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vkt {

// ---- rules, without widgets ------------------------------------------------

// What an access code opens.
enum class ServiceWindow : std::uint8_t { None, Adjustment, BandLimits };
// Exact, case-sensitive comparison with the two access codes.
ServiceWindow ServiceWindowForCode(std::string_view code);

// The password fields, their conversion to bytes and the match test are
// in password_text.h, shared with the command line.

// ---- windows -----------------------------------------------------------------

// The access-code box. Its texts are set by the opener. OK calls `open`
// with the window the typed code names (None for any other text) and
// then closes the box.
class TPasswordDlg : public QDialog {
public:
    explicit TPasswordDlg(std::function<void(ServiceWindow)> open, QWidget *parent = nullptr);
    QLineEdit *eInput;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

private:
    void OKBtnClick();
    std::function<void(ServiceWindow)> open_;
};

// The password prompt: OK stores the typed text as the access password,
// one step of the project.
class TSetPasswordDlg : public QDialog {
public:
    explicit TSetPasswordDlg(Project &project, QWidget *parent = nullptr);
    QLabel *sPassword;
    QLineEdit *eInput;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

private:
    void OKBtnClick();
    Project &project_;
};

// The new-password window. The new password and the write-with-new-
// password switch are steps of the project; `writePassword` runs the
// exchange that writes the radio password block (the caller owns the
// exchange window).
class TNewPasswordDlg : public QDialog {
public:
    TNewPasswordDlg(Project &project, std::function<void()> writePassword, QWidget *parent = nullptr);
    QLabel *sInput;
    QLineEdit *eInput;
    QLabel *sSureInput;
    QLineEdit *eSureInput;
    QCheckBox *cbWriteWithNewPD;
    QPushButton *bWrite;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

private:
    // Stores the new password when the two entries match; otherwise says
    // so. Returns whether they matched.
    bool takeMatching();
    void bWriteClick();
    void OKBtnClick();
    Project &project_;
    std::function<void()> writePassword_;
};

} // namespace vkt
