// The tab pages of the main window.
#pragma once

#include "editor_page.h"

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vkt {

// Channel table with the radio's information labels.
class ChannelPage : public EditorPage {
public:
    ChannelPage(AppSession &session, QWidget *parent);
    QString caption() const override;
    void retranslate() override;
    void load() override;
    // Shows one channel row from the stored data.
    void StringGridUpdataRow(int channel);

    QTableWidget *StringGrid1;
    QLabel *sFreqBand;
    QLabel *sSoftwareVersionCaption, *sSoftwareVersionDisp;
    QLabel *sLastWriteTimeCaption, *sLastWriteTime;
    QLabel *sDeviceSnCaption, *sDeviceSnDisp;
    QLabel *sTiShi_0;
    QPushButton *bChBatchSet;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Frequency mode and optional features, with the power-on display group.
class OptionsPage : public EditorPage {
public:
    OptionsPage(AppSession &session, QWidget *parent);
    QString caption() const override;
    void retranslate() override;
    void load() override;

    QGroupBox *gbLogo;
    // rLogo_off, rWelcome_chs, rWelcome_eng, rWelcome_define; each stores
    // its display type when it loses the focus.
    std::array<QRadioButton *, 4> logoButtons{};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

class DtmfPage : public EditorPage {
public:
    DtmfPage(AppSession &session, QWidget *parent);
    QString caption() const override;
    void retranslate() override;
    void load() override;
    QTableWidget *sgD_AddrBook;
};

// A page whose editors come later: caption only.
class PlainPage : public EditorPage {
public:
    PlainPage(AppSession &session, int captionText, const char *name, QWidget *parent);
    QString caption() const override;
    void retranslate() override {}
    void load() override {}

private:
    int captionText_;
};

} // namespace vkt
