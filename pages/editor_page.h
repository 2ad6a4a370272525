// What every tab page of the main window offers the window.
#pragma once

#include "app_session.h"

#include <QWidget>

namespace vkt {

class EditorPage : public QWidget {
public:
    // The page follows the project document: after a step it shows anew
    // what the step changed (`changed`). A step that replaced the whole
    // state is the main window's to show (it re-labels and reloads every
    // page at once).
    EditorPage(AppSession &session, QWidget *parent) : QWidget(parent), session_(session)
    {
        observer_ = session_.project.observe([this](const ProjectChange &c) {
            if (!c.whole)
                changed(c);
        });
    }
    ~EditorPage() override { session_.project.unobserve(observer_); }
    EditorPage(const EditorPage &) = delete;
    EditorPage &operator=(const EditorPage &) = delete;

    // The page's caption on its tab.
    virtual QString caption() const = 0;
    // Applies the active language's texts and rebuilds the lists.
    virtual void retranslate() = 0;
    // Shows the stored data.
    virtual void load() = 0;
    // Shows anew what a step changed; the whole page unless the page knows
    // better.
    virtual void changed(const ProjectChange &) { load(); }
    // Stores what the user changed and has not yet left (an open cell
    // editor, a control being typed into), before a command acts on the
    // data.
    virtual void commitEdits() {}
    // Whether the page shows what a step changed; a page with rows makes
    // the first changed row current.
    virtual bool showChange(const ProjectChange &) { return false; }

protected:
    AppSession &session_;

private:
    int observer_ = 0;
};

} // namespace vkt
