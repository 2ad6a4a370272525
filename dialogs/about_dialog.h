// The about box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vkt {

class TAboutDlg : public QDialog {
public:
    explicit TAboutDlg(QWidget *parent = nullptr);
    QLabel *sName;
    QLabel *sVersion;
    QLabel *sCopyright;
    QLabel *sCompany;
    QPushButton *OKBtn;
};

} // namespace vkt
