// The two-tone page: lead delays and the reference table of the 16 tone
// sets, the 16 systems, and the decode and encode lists, each list a grid
// whose cells are edited by small controls laid over them. What a cell
// shows and what an editor stores are plain functions (two_tone.h and the
// grids' cells); the page only routes events to them.
#pragma once

#include <functional>
#include <string>

#include "editor_page.h"
#include "field_binder.h"
#include "grid.h"
#include "two_tone.h"

#include <string_view>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace vkt {

class FieldBinder;

class TwoTonePage : public EditorPage {
public:
    TwoTonePage(AppSession &session, QWidget *parent);
    ~TwoTonePage() override
    {
        fields_->detach();
        for (Grid *g : {sg2Tone_List, sgSystem_2T, sgDecode_2T, sgEncode_2T})
            g->endEditing();
    }
    QString caption() const override;
    void retranslate() override;
    void load() override;
    void commitEdits() override;
    bool showChange(const ProjectChange &change) override;

    // Show one system or list entry from the stored data, storing what a
    // redraw settles (a call naming an empty entry, tone B of an empty
    // entry).
    void sgSystem_2TUpdataRow(int system);
    void sgDecode_2TUpdataRow(int entry);
    void sgEncode_2TUpdataRow(int entry);

    // A control of the table of fields by its row's name ("eLeadIn_2T").
    QWidget *control(std::string_view name) const;

    QTabWidget *PageControl_2T;
    QWidget *tsOption_2T, *tsSystem_2T, *tsDecode_2T, *tsEncode_2T;

    // Option sub-page.
    QLineEdit *eLeadIn_2T, *eLeadOut_2T;
    Grid *sg2Tone_List;
    // The call selections that are never shown; their lists follow the
    // encode entries at every refresh.
    QGroupBox *gbCallTone_2T;
    QLabel *sCall_1, *sCall_2;
    QComboBox *cbCall_1, *cbCall_2;

    // System sub-page and its editors.
    Grid *sgSystem_2T;
    QLineEdit *e2T_Name, *eToneATime, *eToneBTime, *eGroupTime;
    QComboBox *cbSystemTable, *cbSystemCall_2T, *cbAutoResetTime_2T;

    // Decode and encode sub-pages and their editors.
    Grid *sgDecode_2T, *sgEncode_2T;
    QComboBox *cbDecodeToneA, *cbDecodeToneB, *cbEncodeToneA, *cbEncodeToneB;

private:
    static std::string SystemStepName(int system, int column);
    void buildOptionPage();
    void buildSystemPage();
    void buildToneListPage(ToneList list);
    QWidget *openSystemEditor(int system, int column);
    void storeSystemEditor(QWidget *editor, int system, int column);
    void toggleSystemCell(int system, int column);
    void updateToneListRow(ToneList list, int entry);
    void rebuildCallList(QComboBox *list, std::uint8_t call);

    FieldBinder *fields_;
};

} // namespace vkt
