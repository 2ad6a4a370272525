// What every tab page of the main window offers the window.
#pragma once

#include <QWidget>

namespace vkt {

struct AppSession;

class EditorPage : public QWidget {
public:
    EditorPage(AppSession &session, QWidget *parent) : QWidget(parent), session_(session) {}
    // The page's caption on its tab.
    virtual QString caption() const = 0;
    // Applies the active language's texts and rebuilds the lists.
    virtual void retranslate() = 0;
    // Shows the stored data.
    virtual void load() = 0;

protected:
    AppSession &session_;
};

} // namespace vkt
