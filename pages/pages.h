// The tab pages of the main window.
#pragma once

#include "channel_page.h"
#include "editor_page.h"
#include "grid.h"

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vkt {

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
    Grid *sgD_AddrBook;
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
