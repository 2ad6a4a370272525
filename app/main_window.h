// The main window: menus, tool bar, status bar, the tab pages, start-up
// and shutdown.
#pragma once

#include "app_config.h"
#include "app_session.h"
#include "band_limits_edit.h"
#include "localisation.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QPushButton;
class QTabWidget;
class QTranslator;
class QToolButton;

class QUndoStack;

namespace vkt {

class ChannelPage;
class DtmfEditPage;
class EditorPage;
class OptionsPage;

class TForm1 : public QMainWindow {
public:
    // Builds the window, reads (or creates) the configuration file at
    // `configPath`, loads the defaults and shows them.
    TForm1(AppSession &session, std::string configPath, QWidget *parent = nullptr);
    ~TForm1() override;

    // Re-texts the whole window in the active language and reloads every
    // page from the stored data.
    void RefreshMainWindow();
    // Switches the interface language (0, 1, 2).
    void setLanguage(LangId id);
    LangId language() const { return config_.Language; }

    // A port that exists only for this run (the built-in simulated radio):
    // it is selected now, and the configuration file keeps the user's own
    // port settings.
    void useTemporaryPort(int port);

    // Commands.
    void MenuFile_NewClick();
    void MenuFile_OpenClick();
    // True when the project was written.
    bool MenuFile_SaveClick();
    // The channels as a CSV channel list: Import asks whether the rows merge
    // into the channels or replace them all, then shows the report.
    void MenuFile_ImportCsvClick();
    void MenuFile_ExportCsvClick();
    void MenuEdit_ReadClick();
    void MenuEdit_WriteClick();
    void MenuPortClick();
    void MenuAboutClick();
    void MenuEdit_PasswordClick();
    void MenuEdit_SetRadioNewPDClick();
    // The access-code box, which opens the service windows.
    void MenuAdjustmentClick();
    // New band limits confirmed in the band-limit window: they are taken,
    // all data starts from the defaults, and the configuration file is
    // written at once.
    void takeBandLimits(const BandLimitValues &values);
    void bChBatchSetClick();
    // The options page's "..." buttons: the automatic repeater-offset table
    // and the power-on message lines.
    void Button1Click();
    void bOpenMsgDefindClick();

    // Writes the configuration file as it stands (done at shutdown).
    void writeConfig();

    // The file dialogs, replaceable for tests: return the chosen path, or
    // an empty text when the user cancels.
    std::function<QString()> chooseOpenFile;
    std::function<QString()> chooseSaveFile;
    std::function<QString()> chooseCsvOpenFile;
    std::function<QString()> chooseCsvSaveFile;

    const AppConfig &config() const { return config_; }
    const std::string &configPath() const { return configPath_; }
    bool configCreated() const { return configCreated_; }

    // Controls, named as the rest of the program refers to them.
    QAction *MenuFile_New, *MenuFile_Open, *MenuFile_Save, *MenuFile_ImportCsv, *MenuFile_ExportCsv, *MenuFile_Exit;
    // Undo and Redo name the step they take back or do again.
    QAction *MenuEdit_Undo, *MenuEdit_Redo;
    QAction *MenuEdit_Read, *MenuEdit_Write, *MenuEdit_Password, *MenuEdit_SetRadioNewPD, *MenuEdit_FactoryReset;
    // The steps of the project, for the menu: each command takes back or
    // does again one step of the document.
    QUndoStack *undoStack;
    QAction *MenuPort, *MenuLanguage_Chs, *MenuLanguage_Cht, *MenuLanguage_En, *MenuAdjustment, *MenuAbout;
    QMenu *MenuFile, *MenuEdit, *MenuLanguage, *MenuHelp;
    QToolButton *ToolButton_New, *ToolButton_Open, *ToolButton_Save, *ToolButton_Read, *ToolButton_Write;
    QToolButton *ToolButton2, *ToolButton3, *ToolButton5;
    QPushButton *bHide;
    QTabWidget *PageControl;
    QLabel *statusPanel0, *statusPanel1;
    ChannelPage *channelPage;
    OptionsPage *optionsPage;
    DtmfEditPage *dtmfPage;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void startUp();
    // Ends any edit in progress so that its value is stored first.
    void focusHide();
    void runExchange(bool read);
    void applyGridSizes();
    void takeGridSizes();
    // Qt's own texts (message-box buttons, the file windows) in the active
    // language, where Qt's translations are installed.
    void followQtTexts();

    AppSession &session_;
    AppConfig config_;
    std::string configPath_;
    bool configCreated_ = false;
    bool temporaryPort_ = false;
    int savedPort_ = 1;
    bool savedAutoSearch_ = true;
    bool configWritten_ = false;
    int projectObserver_ = 0;
    // The project file in use: opened or last saved; empty for a project
    // made new or read from a radio.
    QString projectPath_;
    // The title: the project file's name, a mark while the project has
    // changed since it was opened, saved, read or made new, the program.
    void updateTitle();
    // The project as it is now counts as unchanged (opened, saved, read, new).
    void markUnchanged(const QString &path);
    void projectChanged(const ProjectChange &change);
    void updateUndoActions();
    std::vector<EditorPage *> pages_;
    std::unique_ptr<QTranslator> qtTexts_;
    std::uint8_t qtTextsType_ = TAppLang::English;
};

} // namespace vkt
