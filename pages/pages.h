// The tab pages of the main window.
#pragma once

#include "channel_page.h"
#include "dtmf_page.h"
#include "five_tone_page.h"
#include "fm_page.h"
#include "two_tone_page.h"
#include "editor_page.h"
#include "field_binder.h"
#include "grid.h"

#include <array>
#include <string_view>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vkt {

// Frequency mode and optional features, with the power-on display group,
// the power-on password and the button of the repeater-offset table. Its
// controls are the rows of the table of fields (OptionFields()), each bound
// by the page's FieldBinder.
class OptionsPage : public EditorPage {
public:
    OptionsPage(AppSession &session, QWidget *parent);
    ~OptionsPage() override { fields_->detach(); }
    QString caption() const override;
    void retranslate() override;
    void load() override;
    void changed(const ProjectChange &change) override;
    void commitEdits() override;
    bool showChange(const ProjectChange &change) override;

    // Shows the VFO scrambling lists and their labels only when the
    // show-scrambling-option flag of the data is on. The main window calls
    // it once, when it is built; data loaded later does not change it.
    void showScramblingOption();

    // A control of the page by its row's name ("cbTOT"), or nullptr.
    QWidget *control(std::string_view name) const;
    FieldBinder &fields() { return *fields_; }

    // A new signalling system is stored at once and the number list of its
    // VFO rebuilt for it.
    void cbFr_SignalSys_AChange();
    void cbFr_SignalSys_BChange();

    QGroupBox *GroupBox1, *GroupBox2; // VFO A and B
    QGroupBox *GroupBox3;             // functions
    QGroupBox *GroupBox4;             // switches
    QGroupBox *gbAutoConnect;         // auto connect (no caption)
    QGroupBox *gbLogo;                // power-on display
    QLabel *sTitle_A, *sTitle_B;      // the fixed bold "A" and "B"
    QLabel *sFr_Title;                // never shown
    // rLogo_off, rWelcome_chs, rWelcome_eng, rWelcome_define; each stores
    // its display type when it loses the focus.
    std::array<QRadioButton *, 4> logoButtons{};
    // The "..." buttons: the automatic repeater-offset table (beside
    // cAutoOffset) and the power-on message lines (beside rWelcome_define).
    // The main window opens the dialogs.
    QPushButton *Button1;
    QPushButton *bOpenMsgDefind;

private:
    void signalSystemChanged(std::string_view system);

    FieldBinder *fields_;
};

} // namespace vkt
