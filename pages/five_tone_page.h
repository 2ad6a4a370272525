// The five-tone page: four sub-pages (options with the tone list of the
// eight standards, the 16 systems, the decode list, the encode list). The
// option controls are rows of the table of fields (FiveToneFields()), bound
// by the page's FieldBinder; the grids draw their cells with the five-tone
// grid cells of the localisation layer and store through data/five_tone.h.
#pragma once

#include <functional>
#include <string>

#include "editor_page.h"
#include "field_binder.h"
#include "grid.h"

#include <array>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace vkt {

struct GridCells;

class FiveTonePage : public EditorPage {
public:
    FiveTonePage(AppSession &session, QWidget *parent);
    ~FiveTonePage() override
    {
        fields_->detach();
        for (Grid *g : {sg5Tone_List, sgSystem_5T, sgDecode_5T, sgEncode_5T})
            g->endEditing();
    }
    QString caption() const override;
    void retranslate() override;
    void load() override;
    void commitEdits() override;
    bool showChange(const ProjectChange &change) override;

    // A control of the option sub-page by its row's name ("cbGroupTone"),
    // or nullptr.
    QWidget *control(std::string_view name) const;
    FieldBinder &fields() { return *fields_; }

    // Redraws a grid row from the stored data (a system row first settles
    // a call or ID that names an empty encode entry).
    void sgSystem_5TUpdataRow(int system);
    void sgDecode_5TUpdataRow(int entry);
    void sgEncode_5TUpdataRow(int entry);
    // Rows 17 and 18 of the tone list, for all eight standards.
    void sg5Tone_ListUpdataPeriods();

    QTabWidget *PageControl_5T;
    QWidget *tsOption_5T, *tsSystem_5T, *tsDecode_5T, *tsEncode_5T;
    Grid *sg5Tone_List, *sgSystem_5T, *sgDecode_5T, *sgEncode_5T;
    // In-place editors.
    QLineEdit *_5T_List_Time;
    QLineEdit *e5T_Name;
    QComboBox *cbSystemType, *cbSystemCall_5T, *cbSystemId;
    QLineEdit *eDecodeCode;
    QComboBox *cbDecodeType;
    QLineEdit *eEncodeCode;
    // The controls that depend on each other (also reachable by control()).
    QCheckBox *cExtended_1st, *cExtended_2nd;
    QComboBox *cbExtended_1st_time, *cbExtended_2nd_time;
    QComboBox *cbLast_gap_tone, *cbLast_gap_time;

private:
    static std::string CellStepName(const Grid *grid, int row, int column);
    void buildOptions();
    Grid *buildGrid(QWidget *tab, const GridCells &cells, const char *name);
    void setEditing(Grid *grid);
    QWidget *openEditor(Grid *grid, int row, int column);
    void storeEditor(Grid *grid, QWidget *editor, int row, int column);
    void drawRow(Grid *grid, int row);
    void sgSystem_5TUpdataRows();

    // The extended-tone boxes (0 the first, 1 the second) and the last gap
    // tone: what ticking, unticking and leaving them store and enable.
    void cExtendedClick(int which);
    void showExtended(int which);
    void showLastGapTime();
    void rowStored(const Field &left);

    FieldBinder *fields_;
    std::array<QCheckBox *, 2> extendedBoxes_{};
    std::array<QComboBox *, 2> extendedTimes_{};
};

} // namespace vkt
