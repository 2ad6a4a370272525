// The DTMF page: the 30-entry address book on the grid, the encoding and
// decoding settings, the timings, and the remote stun, kill and activation
// codes with the radio's working state. Its controls are the rows of the
// table of fields (DtmfFields()), bound by the page's FieldBinder; the
// address book's editors store through the plain functions of dtmf_edit.h.
#pragma once

#include "editor_page.h"
#include "field_binder.h"
#include "grid.h"

#include <string_view>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace vkt {

class DtmfEditPage : public EditorPage {
public:
    DtmfEditPage(AppSession &session, QWidget *parent);
    ~DtmfEditPage() override
    {
        fields_->detach();
        sgD_AddrBook->endEditing();
    }
    QString caption() const override; // "DTMF" in every language
    void retranslate() override;
    // Stores what loading stores (RefreshStores), then shows the record.
    void load() override;
    void changed(const ProjectChange &change) override;
    void commitEdits() override;
    bool showChange(const ProjectChange &change) override;

    // A control of the page by its row's name ("cbGroupCode"), or nullptr.
    QWidget *control(std::string_view name) const;
    FieldBinder &fields() { return *fields_; }

    // Shows one address-book row from the record (an entry not in use
    // shows two empty cells).
    void sgD_AddrBookUpdataRow(int entry);

    QGroupBox *gbD_AddrBook; // "Address Book Edit"
    QGroupBox *gbD_Code, *gbD_Timing, *gbD_Remote; // no captions
    Grid *sgD_AddrBook;
    QLineEdit *eD_AddrBook_name, *eD_AddrBook_id; // the address book's editors
    QLabel *sANI;                                 // the fixed "ID"

    QComboBox *cbD_EncodeMode, *cbGroupCode, *cbAutoReset, *cbDtmf_CleanCodeTime;
    QComboBox *cbD_DigitSpeed, *cbD_PauseDuration, *cbD_FirstDelay, *cbD_Pretime, *cbD_Mi_Jing_Delay;
    QComboBox *cbDizzyState;
    QLineEdit *eANI, *eDizzy, *eKill, *eActivation;
    QCheckBox *cSendANI, *cD_Subtone_match, *cD_SideTone;
    // Never shown; they carry their fields' values.
    QCheckBox *cD_Control;
    QComboBox *cbD_WhenEncode;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *openEditor(int row, int column);
    void storeFrom(QWidget *editor, int row, int column);
    void openCodeOfNewEntry(int row);

    FieldBinder *fields_;
};

} // namespace vkt
