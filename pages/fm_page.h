// The FM radio page: the 20 broadcast memories on the grid, the current
// frequency, the tuning step and the two bounds of the band. Its controls
// are the rows of the table of fields (FmFields()), bound by the page's
// FieldBinder; the memory editor stores through fm_edit.h.
#pragma once

#include "editor_page.h"
#include "field_binder.h"
#include "grid.h"

#include <string_view>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace vkt {

struct Field;

class FmPage : public EditorPage {
public:
    FmPage(AppSession &session, QWidget *parent);
    ~FmPage() override
    {
        fields_->detach();
        sgFmMemory->endEditing();
    }
    QString caption() const override;
    void retranslate() override;
    void load() override;
    void changed(const ProjectChange &change) override;
    void commitEdits() override;
    bool showChange(const ProjectChange &change) override;

    // A control of the page by its row's name ("cbRadio_min"), or nullptr.
    QWidget *control(std::string_view name) const;
    FieldBinder &fields() { return *fields_; }

    // Shows one memory row from the record.
    void sgFmMemoryUpdataRow(int memory);

    Grid *sgFmMemory;
    QLineEdit *eFmMemoryFreq; // the memory editor
    QGroupBox *GroupBox5;     // no caption
    QLabel *sRadio_Limit, *sRadio_To, *sRadio_Step, *sRadio_Freq;
    // The bounds store on every change of selection; the step when it is left.
    QComboBox *cbRadio_min, *cbRadio_max, *cbRadio_Step;
    QLineEdit *eRadio_Freq;

private:
    QWidget *openEditor(int row, int column);
    void storeFrom(int row);

    FieldBinder *fields_;
};

} // namespace vkt
