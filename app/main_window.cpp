#include "main_window.h"

#include "about_dialog.h"
#include "adjustment_dialog.h"
#include "auto_offset_dialog.h"
#include "band_set_dialog.h"
#include "batch_set_dialog.h"
#include "channel_csv.h"
#include "channel_csv_texts.h"
#include "codecs.h"
#include "communication_port.h"
#include "dtmf_page.h"
#include "fm_page.h"
#include "gbk_text.h"
#include "message_dialogs.h"
#include "open_msg_dialog.h"
#include "password_dialogs.h"
#include "pages.h"
#include "program_dialog.h"
#include "project_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QUndoStack>
#include <QVBoxLayout>

#include <memory>

namespace {
#include "icons/new.xpm"
#include "icons/open.xpm"
#include "icons/read.xpm"
#include "icons/save.xpm"
#include "icons/write.xpm"
} // namespace

namespace vkt {

namespace {

constexpr int kTextUndo = 409; // "&Undo"
constexpr int kTextRedo = 410; // "&Redo"

// The name of a step taken by a command of the window: the command's text
// without its mnemonic.
std::string StepName(int text) { return PlainMainText(text).toStdString(); }

// One step of the project as a command of the menu's undo stack. The step
// is done already when it is pushed; later the command takes it back and
// does it again through the document.
class ProjectStep : public QUndoCommand {
public:
    ProjectStep(Project &project, const QString &name) : QUndoCommand(name), project_(project) {}
    void undo() override { project_.undo(); }
    void redo() override
    {
        if (done_)
            project_.redo();
        done_ = true;
    }

private:
    Project &project_;
    bool done_ = false;
};

QString ChooseFile(QWidget *parent, bool save, const QString &title, const QString &filter, const QString &suffix,
                   const QString &start = QString())
{
    QFileDialog dialog(parent, title, QString(), filter);
    if (!start.isEmpty())
        dialog.selectFile(start);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

TForm1::TForm1(AppSession &session, std::string configPath, QWidget *parent)
    : QMainWindow(parent), session_(session), configPath_(std::move(configPath))
{
    setObjectName("TForm1");
    resize(1051, 671);
    const QString projects = QStringLiteral("Dorvi File(*.Dvf)");
    const QString lists = QStringLiteral("CSV (*.csv);;* (*)");
    chooseOpenFile = [this, projects] { return ChooseFile(this, false, MainText(150), projects, "Dvf"); };
    // Save starts at the project's own file.
    chooseSaveFile = [this, projects] {
        return ChooseFile(this, true, MainText(151), projects, "Dvf", projectPath_);
    };
    chooseCsvOpenFile = [this, lists] { return ChooseFile(this, false, MainText(371), lists, "csv"); };
    chooseCsvSaveFile = [this, lists] { return ChooseFile(this, true, MainText(405), lists, "csv"); };

    auto *central = new QWidget(this);
    bHide = new QPushButton(central);
    bHide->setObjectName("bHide");
    bHide->setFocusPolicy(Qt::StrongFocus);
    bHide->setFlat(true);
    PageControl = new QTabWidget(central);
    PageControl->setObjectName("PageControl");
    channelPage = new ChannelPage(session_, PageControl);
    optionsPage = new OptionsPage(session_, PageControl);
    dtmfPage = new DtmfEditPage(session_, PageControl);
    pages_ = {channelPage, optionsPage, dtmfPage, new TwoTonePage(session_, PageControl),
              new FiveTonePage(session_, PageControl), new FmPage(session_, PageControl)};
    for (EditorPage *p : pages_)
        PageControl->addTab(p, QString());
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(PageControl);
    setCentralWidget(central);

    buildMenus();
    buildToolBar();
    connect(channelPage->bChBatchSet, &QPushButton::clicked, this, &TForm1::bChBatchSetClick);
    connect(optionsPage->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(optionsPage->bOpenMsgDefind, &QPushButton::clicked, this, &TForm1::bOpenMsgDefindClick);
    // Enter in the options page's text fields ends the edit as the hidden
    // button does.
    session_.endEdit = [this] { focusHide(); };
    statusPanel0 = new QLabel(this);
    statusPanel0->setObjectName("statusPanel0");
    statusPanel0->setFixedWidth(300);
    statusPanel1 = new QLabel(this);
    statusPanel1->setObjectName("statusPanel1");
    statusBar()->addWidget(statusPanel0);
    statusBar()->addWidget(statusPanel1, 1);

    projectObserver_ = session_.project.observe([this](const ProjectChange &c) { projectChanged(c); });
    startUp();
}

// The translator of Qt's texts leaves the application as it is destroyed.
TForm1::~TForm1()
{
    session_.project.unobserve(projectObserver_);
    // The stack empties itself as it goes, after the menu's actions.
    disconnect(undoStack, nullptr, this, nullptr);
    session_.endEdit = nullptr;
}

void TForm1::buildMenus()
{
    auto action = [this](QMenu *menu, const char *name, void (TForm1::*slot)()) {
        QAction *a = menu->addAction(QString());
        a->setObjectName(name);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        return a;
    };
    MenuFile = menuBar()->addMenu(QString());
    MenuFile->setObjectName("MenuFile");
    MenuFile_New = action(MenuFile, "MenuFile_New", &TForm1::MenuFile_NewClick);
    MenuFile_New->setShortcut(QKeySequence::New);
    MenuFile_Open = action(MenuFile, "MenuFile_Open", &TForm1::MenuFile_OpenClick);
    MenuFile_Open->setShortcut(QKeySequence::Open);
    MenuFile_Save = action(MenuFile, "MenuFile_Save", nullptr);
    MenuFile_Save->setShortcut(QKeySequence::Save);
    connect(MenuFile_Save, &QAction::triggered, this, [this] { MenuFile_SaveClick(); });
    MenuFile->addSeparator();
    MenuFile_ImportCsv = action(MenuFile, "MenuFile_ImportCsv", &TForm1::MenuFile_ImportCsvClick);
    MenuFile_ExportCsv = action(MenuFile, "MenuFile_ExportCsv", &TForm1::MenuFile_ExportCsvClick);
    MenuFile->addSeparator();
    MenuFile_Exit = action(MenuFile, "MenuFile_Exit", nullptr);
    connect(MenuFile_Exit, &QAction::triggered, this, &QWidget::close);

    MenuEdit = menuBar()->addMenu(QString());
    MenuEdit->setObjectName("MenuEdit");
    undoStack = new QUndoStack(this);
    undoStack->setUndoLimit(int(Project::kHistoryLimit));
    MenuEdit_Undo = action(MenuEdit, "MenuEdit_Undo", nullptr);
    MenuEdit_Undo->setShortcut(QKeySequence::Undo);
    connect(MenuEdit_Undo, &QAction::triggered, this, [this] {
        focusHide(); // what is being typed is stored first, and is the step taken back
        undoStack->undo();
    });
    MenuEdit_Redo = action(MenuEdit, "MenuEdit_Redo", nullptr);
    MenuEdit_Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(MenuEdit_Redo, &QAction::triggered, this, [this] {
        focusHide();
        undoStack->redo();
    });
    connect(undoStack, &QUndoStack::indexChanged, this, [this] { updateUndoActions(); });
    connect(undoStack, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    MenuEdit->addSeparator();
    MenuEdit_Read = action(MenuEdit, "MenuEdit_Read", &TForm1::MenuEdit_ReadClick);
    MenuEdit_Read->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    MenuEdit_Write = action(MenuEdit, "MenuEdit_Write", &TForm1::MenuEdit_WriteClick);
    MenuEdit_Write->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    MenuEdit->addSeparator();
    MenuEdit_Password = action(MenuEdit, "MenuEdit_Password", &TForm1::MenuEdit_PasswordClick);
    MenuEdit_SetRadioNewPD = action(MenuEdit, "MenuEdit_SetRadioNewPD", &TForm1::MenuEdit_SetRadioNewPDClick);
    // Shown, but does nothing: the radio's factory reset is not offered.
    MenuEdit_FactoryReset = action(MenuEdit, "MenuEdit_FactoryReset", nullptr);

    // Menu-bar entries that act at once.
    MenuPort = menuBar()->addAction(QString());
    MenuPort->setObjectName("MenuPort");
    connect(MenuPort, &QAction::triggered, this, &TForm1::MenuPortClick);

    MenuLanguage = menuBar()->addMenu(QString());
    MenuLanguage->setObjectName("MenuLanguage");
    MenuLanguage_Chs = action(MenuLanguage, "MenuLanguage_Chs", nullptr);
    MenuLanguage_Cht = action(MenuLanguage, "MenuLanguage_Cht", nullptr);
    MenuLanguage_En = action(MenuLanguage, "MenuLanguage_En", nullptr);
    for (auto [a, id] : {std::pair{MenuLanguage_Chs, 1}, std::pair{MenuLanguage_Cht, 2}, std::pair{MenuLanguage_En, 0}}) {
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, id = id] { setLanguage(id); });
    }

    MenuAdjustment = menuBar()->addAction(QString());
    MenuAdjustment->setObjectName("MenuAdjustment");
    connect(MenuAdjustment, &QAction::triggered, this, &TForm1::MenuAdjustmentClick);

    MenuHelp = menuBar()->addMenu(QString());
    MenuHelp->setObjectName("MenuHelp");
    MenuAbout = action(MenuHelp, "MenuAbout", &TForm1::MenuAboutClick);
}

void TForm1::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("main"));
    bar->setObjectName("ToolBar1");
    bar->setIconSize(QSize(24, 24));
    bar->setMovable(false);
    auto button = [bar](const char *name, QAction *action, const char *const *xpm) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setIcon(QIcon(QPixmap(xpm)));
        b->setAutoRaise(true);
        QObject::connect(b, &QToolButton::clicked, action, &QAction::trigger);
        bar->addWidget(b);
        return b;
    };
    ToolButton_New = button("ToolButton_New", MenuFile_New, icon_new);
    ToolButton_Open = button("ToolButton_Open", MenuFile_Open, icon_open);
    ToolButton_Save = button("ToolButton_Save", MenuFile_Save, icon_save);
    bar->addSeparator();
    ToolButton_Read = button("ToolButton_Read", MenuEdit_Read, icon_read);
    ToolButton_Write = button("ToolButton_Write", MenuEdit_Write, icon_write);
    bar->addSeparator();
    auto language = [bar](const char *name, const QString &text, QAction *action) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
        b->setMinimumSize(28, 28);
        QObject::connect(b, &QToolButton::clicked, action, &QAction::trigger);
        bar->addWidget(b);
        return b;
    };
    ToolButton2 = language("ToolButton2", QStringLiteral("简"), MenuLanguage_Chs);
    ToolButton3 = language("ToolButton3", QStringLiteral("繁"), MenuLanguage_Cht);
    ToolButton5 = language("ToolButton5", QStringLiteral("EN"), MenuLanguage_En);
}

void TForm1::startUp()
{
    // The configuration file: read it, or create it with the defaults.
    std::string error;
    if (!config_.load(configPath_, configCreated_, error))
        QMessageBox::warning(this, MainText(0), QString::fromStdString(error));
    PortSelection &ports = session_.ports;
    ports.Port = config_.Port;
    ports.AutoSeachPort = config_.AutoSeachPort;
    ScanPorts(*session_.line, ports);
    bool present = false;
    for (int i = 0; i < ports.FoundPortCount; ++i)
        present = present || ports.FoundPorts[std::size_t(i)] == ports.Port;
    if (!present)
        ports.Port = 1;
    ProgramState start = session_.state();
    start.limits = config_.limits;

    // The defaults reset the fixed port to 1; the port just read is kept.
    const int port = ports.Port;
    SetDefaultAll(start, ports.Port);
    ports.Port = port;
    RecomputeMaxOffsets(start.limits);
    TAppLang::instance().follow(config_.Language);
    // The first state is no step of the project: nothing to undo yet.
    session_.project.reset(start);

    bHide->setGeometry(0, 0, 1, 1);
    optionsPage->showScramblingOption();
    applyGridSizes();
    RefreshMainWindow();
    // While the channel table's columns have their default widths (a first
    // run, or one that ended without closing the window) they are widened
    // where this system's font needs more room for a heading; sizes the
    // user left are shown as they are.
    if (configCreated_ || config_.channelColWidths == AppConfig().channelColWidths)
        channelPage->StringGrid1->widenToHeadings();
}

void TForm1::applyGridSizes()
{
    Grid *grid = channelPage->StringGrid1;
    for (int r = 0; r < kChannelGridRows; ++r)
        grid->setRowSize(r, config_.channelRowHeights[std::size_t(r)]);
    for (int c = 0; c < kChannelGridCols; ++c)
        grid->setColumnSize(c, config_.channelColWidths[std::size_t(c)]);
    // The address book is not restored: it always starts at its own sizes.
    Grid *book = dtmfPage->sgD_AddrBook;
    for (int r = 0; r < kAddressGridRows; ++r)
        book->setRowSize(r, 20);
}

void TForm1::takeGridSizes()
{
    const Grid *grid = channelPage->StringGrid1;
    for (int r = 0; r < kChannelGridRows; ++r)
        config_.channelRowHeights[std::size_t(r)] = grid->rowSize(r);
    for (int c = 0; c < kChannelGridCols; ++c)
        config_.channelColWidths[std::size_t(c)] = grid->columnSize(c);
    const Grid *book = dtmfPage->sgD_AddrBook;
    for (int r = 0; r < kAddressGridRows; ++r)
        config_.addressRowHeights[std::size_t(r)] = book->rowSize(r);
    for (int c = 0; c < kAddressGridCols; ++c)
        config_.addressColWidths[std::size_t(c)] = book->columnSize(c);
}

void TForm1::useTemporaryPort(int port)
{
    if (!temporaryPort_) {
        savedPort_ = session_.ports.Port;
        savedAutoSearch_ = session_.ports.AutoSeachPort;
    }
    temporaryPort_ = true;
    session_.ports.Port = port;
    session_.ports.AutoSeachPort = false;
}

void TForm1::followQtTexts()
{
    const std::uint8_t type = TAppLang::instance().langType();
    if (type == qtTextsType_)
        return;
    qtTextsType_ = type;
    if (qtTexts_)
        QCoreApplication::removeTranslator(qtTexts_.get());
    qtTexts_.reset();
    const char *name = type == TAppLang::Simplified    ? "qtbase_zh_CN"
                       : type == TAppLang::Traditional ? "qtbase_zh_TW"
                                                       : nullptr;
    if (!name)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLatin1String(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        qtTexts_ = std::move(translator);
    }
}

void TForm1::RefreshMainWindow()
{
    followQtTexts();
    // 1. Language check marks.
    MenuLanguage_En->setChecked(config_.Language == 0);
    MenuLanguage_Chs->setChecked(config_.Language == 1);
    MenuLanguage_Cht->setChecked(config_.Language == 2);

    // 3. Title, menus, tool-button hints.
    QApplication::setApplicationDisplayName(QString());
    updateTitle();
    MenuFile->setTitle(MainText(1));
    MenuFile_New->setText(MainText(2));
    MenuFile_Open->setText(MainText(3));
    MenuFile_Save->setText(MainText(4));
    MenuFile_ImportCsv->setText(MainText(366));
    MenuFile_ExportCsv->setText(MainText(367));
    MenuFile_Exit->setText(MainText(5));
    MenuEdit->setTitle(MainText(6));
    updateUndoActions();
    MenuEdit_Read->setText(MainText(7));
    MenuEdit_Write->setText(MainText(8));
    MenuEdit_Password->setText(MainText(180));
    MenuEdit_SetRadioNewPD->setText(MainText(226));
    MenuEdit_FactoryReset->setText(MainText(333));
    MenuPort->setText(MainText(9));
    MenuLanguage->setTitle(MainText(10));
    MenuLanguage_Chs->setText(MainText(11));
    MenuLanguage_Cht->setText(MainText(12));
    MenuLanguage_En->setText(MainText(13));
    MenuAdjustment->setText(MainText(167));
    MenuHelp->setTitle(MainText(14));
    MenuAbout->setText(MainText(166));
    ToolButton_New->setToolTip(MainText(189));
    ToolButton_Open->setToolTip(MainText(190));
    ToolButton_Save->setToolTip(MainText(191));
    ToolButton_Read->setToolTip(MainText(187));
    ToolButton_Write->setToolTip(MainText(188));
    ToolButton2->setToolTip(MainText(11));
    ToolButton3->setToolTip(MainText(12));
    ToolButton5->setToolTip(MainText(13));

    // 2, 4, 5. Band label, information boxes and the channel page.
    for (EditorPage *p : pages_)
        p->retranslate();
    channelPage->load();
    statusPanel0->setText(MainText(175) + QStringLiteral(" [") + channelPage->sLastWriteTime->text() +
                          QStringLiteral("]"));
    statusPanel1->setText(MainText(174) + QStringLiteral(" [") + channelPage->sSoftwareVersionDisp->text() +
                          QStringLiteral("]"));

    // 6. Page captions, then the remaining pages.
    for (int i = 0; i < PageControl->count(); ++i)
        PageControl->setTabText(i, pages_[std::size_t(i)]->caption());
    for (EditorPage *p : pages_)
        if (p != channelPage)
            p->load();
}

void TForm1::projectChanged(const ProjectChange &c)
{
    switch (c.kind) {
    case ChangeKind::Step:
        undoStack->push(new ProjectStep(session_.project, QString::fromUtf8(c.name.data(), qsizetype(c.name.size()))));
        break;
    case ChangeKind::Start: undoStack->clear(); break;
    case ChangeKind::Undo:
    case ChangeKind::Redo: break;
    }
    // A step that replaced the whole state (New, Open, a read, new band
    // limits, their undo) re-labels and reloads the window; other steps are
    // shown by the pages themselves, only where they changed something.
    if (c.whole)
        RefreshMainWindow();
    // Undo and redo show the page (and the row) the step changed.
    if (c.kind == ChangeKind::Undo || c.kind == ChangeKind::Redo) {
        for (EditorPage *p : pages_) {
            if (p->showChange(c)) {
                PageControl->setCurrentWidget(p);
                break;
            }
        }
    }
    updateUndoActions();
}

void TForm1::markUnchanged(const QString &path)
{
    projectPath_ = path;
    undoStack->setClean();
    updateTitle();
}

void TForm1::updateTitle()
{
    // "*name.Dvf - Brelmoran VKT410"; the program's name alone for a new,
    // unchanged project.
    QString title = MainText(0);
    if (!projectPath_.isEmpty())
        title = QFileInfo(projectPath_).fileName() + QStringLiteral(" - ") + title;
    if (!undoStack->isClean())
        title.prepend(QLatin1Char('*'));
    setWindowTitle(title);
}

void TForm1::updateUndoActions()
{
    auto named = [](const QString &command, const QString &step) {
        return step.isEmpty() ? command : command + QStringLiteral(": ") + step;
    };
    MenuEdit_Undo->setText(named(MainText(kTextUndo), undoStack->undoText()));
    MenuEdit_Undo->setEnabled(undoStack->canUndo());
    MenuEdit_Redo->setText(named(MainText(kTextRedo), undoStack->redoText()));
    MenuEdit_Redo->setEnabled(undoStack->canRedo());
}

void TForm1::focusHide()
{
    // Leaving an edit stores its value; moving the focus to the hidden
    // button ends whatever edit is in progress before a command acts. The
    // pages store what is being edited first: while another application
    // is active, moving the focus sends no events.
    for (EditorPage *p : pages_)
        p->commitEdits();
    bHide->setFocus(Qt::OtherFocusReason);
}

void TForm1::setLanguage(LangId id)
{
    focusHide();
    config_.Language = id;
    TAppLang::instance().follow(id);
    RefreshMainWindow();
}

void TForm1::MenuFile_NewClick()
{
    TMyWarnDlg_2 box(MainText(155), MainText(153), MainText(154), this);
    if (box.exec() != QDialog::Accepted)
        return;
    ProgramState next = session_.state();
    SetDefaultData(next.data, next.identity, next.limits);
    session_.project.replace(next, StepName(2));
    markUnchanged(QString());
}

void TForm1::MenuFile_OpenClick()
{
    focusHide();
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (path.isEmpty())
        return;
    // Loaded into a copy first: a file of another size may be anything, and
    // the data in use is replaced only when the user says so.
    const QString name = QFileInfo(path).fileName();
    auto loaded = std::make_unique<RadioData>(session_.state().data);
    const LoadResult r = LoadProjectFile(path.toStdString(), *loaded);
    if (!r.opened) {
        QMessageBox::warning(this, MainText(150), MainText(362).arg(name, QString::fromStdString(r.error)));
        return;
    }
    if (r.fileSize != kRadioDataSize) {
        // Read as far as it goes when confirmed; the rest keeps its values.
        TMyWarnDlg_2 box(MainText(361).arg(name, QString::number(qulonglong(r.fileSize))), MainText(153),
                         MainText(154), this);
        if (box.exec() != QDialog::Accepted)
            return;
    }
    session_.project.replaceData(*loaded, StepName(3));
    markUnchanged(path);
}

bool TForm1::MenuFile_SaveClick()
{
    focusHide();
    QString path = chooseSaveFile ? chooseSaveFile() : QString();
    if (path.isEmpty())
        return false;
    const FileWriteResult w = SaveProjectFile(path.toStdString(), session_.state().data);
    if (!w.ok) {
        QMessageBox::warning(this, MainText(151),
                             tr("The project was not saved. %1").arg(QString::fromStdString(w.error)));
        return false;
    }
    markUnchanged(path);
    return true;
}

void TForm1::MenuFile_ImportCsvClick()
{
    focusHide();
    const QString path = chooseCsvOpenFile ? chooseCsvOpenFile() : QString();
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    TMyWarnDlg_3 question(MainText(368).arg(name), MainText(369), MainText(370), MainText(154), this);
    question.label->setFixedWidth(420);
    const int answer = question.exec();
    if (answer == TMyWarnDlg_3::Cancel)
        return;
    const CsvImportMode mode = answer == TMyWarnDlg_3::No ? CsvImportMode::Replace : CsvImportMode::Merge;
    // Nothing changes unless the file reads as a channel list.
    auto imported = std::make_unique<RadioData>(session_.state().data);
    const CsvFileImport r =
        ImportChannelsCsvFile(*imported, session_.state().limits, path.toStdString(), mode, GbkNames());
    if (!r.opened) {
        QMessageBox::warning(this, MainText(371), MainText(362).arg(name, QString::fromStdString(r.error)));
        return;
    }
    if (r.result.problem != CsvFileProblem::None) {
        QMessageBox::warning(this, MainText(371), CsvProblemText(r.result, name));
        return;
    }
    // One step; only the channels that changed are shown anew.
    session_.project.edit(StepName(366), [&](ProgramState &s) { s.data = *imported; });
    TReportDlg report(MainText(371), CsvReportLines(r.result), this);
    report.exec();
}

void TForm1::MenuFile_ExportCsvClick()
{
    focusHide();
    const QString path = chooseCsvSaveFile ? chooseCsvSaveFile() : QString();
    if (path.isEmpty())
        return;
    const FileWriteResult w = ExportChannelsCsvFile(session_.state().data, path.toStdString(), GbkNames());
    if (!w.ok) {
        QMessageBox::warning(this, MainText(405), MainText(403).arg(QString::fromStdString(w.error)));
        return;
    }
    statusBar()->showMessage(
        MainText(404).arg(QString::number(ChannelsInUse(session_.state().data)), QFileInfo(path).fileName()), 8000);
}

void TForm1::runExchange(bool read)
{
    focusHide();
    // The exchange works on a copy of the project; a successful read
    // becomes one step of the project.
    ProgramState job = session_.state();
    TProgramDialog dialog(job, session_.ports, *session_.line, mode::kConfiguration, read,
                          MainText(read ? 187 : 188), this);
    dialog.exec();
    if (read && dialog.outcome() == ExchangeOutcome::Success) {
        session_.project.replace(job, StepName(7));
        markUnchanged(QString());
    }
}

void TForm1::MenuEdit_ReadClick() { runExchange(true); }
void TForm1::MenuEdit_WriteClick() { runExchange(false); }

void TForm1::MenuPortClick()
{
    QtSerialLine &line = *session_.line;
    TCommunicationPort dialog(session_.ports, line, [&line](int n) { return line.portMap().device(n); }, this);
    dialog.exec();
}

void TForm1::bChBatchSetClick()
{
    focusHide();
    TChBatchSetDlg dialog(session_.project, this);
    dialog.exec();
}

void TForm1::Button1Click()
{
    focusHide();
    TAutoOffsetDlg dialog(session_.project, this);
    dialog.exec();
}

void TForm1::bOpenMsgDefindClick()
{
    focusHide();
    TOpenMsgDlg dialog(session_.project, this);
    dialog.exec();
}

void TForm1::MenuAboutClick()
{
    TAboutDlg dialog(this);
    dialog.exec();
}

void TForm1::MenuEdit_PasswordClick()
{
    TSetPasswordDlg dialog(session_.project, this);
    dialog.setWindowTitle(MainText(181));
    dialog.exec();
}

void TForm1::MenuEdit_SetRadioNewPDClick()
{
    focusHide();
    TNewPasswordDlg dialog(
        session_.project,
        [this, &dialog] {
            // The exchange gives the radio the password the project holds now.
            ProgramState job = session_.state();
            TProgramDialog exchange(job, session_.ports, *session_.line, mode::kRadioPassword, false,
                                    MainText(182), &dialog);
            exchange.exec();
        },
        this);
    dialog.setWindowTitle(MainText(182));
    dialog.exec();
}

void TForm1::MenuAdjustmentClick()
{
    focusHide();
    TPasswordDlg box(
        [this](ServiceWindow target) {
            if (target == ServiceWindow::BandLimits) {
                TBandSetDlg dialog(
                    session_.state().limits, [this](const BandLimitValues &v) { takeBandLimits(v); }, this);
                dialog.exec();
            } else if (target == ServiceWindow::Adjustment) {
                // The calibration values are no part of the record: the
                // window works on a copy and hands its values back.
                ProgramState job = session_.state();
                TAdjustmentDlg dialog(job, session_.ports, *session_.line, this);
                dialog.exec();
                session_.project.edit("", [&](ProgramState &s) { s.adjustment = job.adjustment; });
            }
        },
        this);
    box.OKBtn->setText(MainText(153));
    box.CancelBtn->setText(MainText(154));
    box.exec();
}

void TForm1::takeBandLimits(const BandLimitValues &values)
{
    ProgramState next = session_.state();
    ApplyBandLimits(next.limits, values);
    // Channels set under the old limits may no longer be valid.
    SetDefaultAll(next, session_.ports.Port);
    session_.project.replace(next, StepName(167));
    writeConfig();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // What is being typed counts as the user's: it is stored before the
    // question, so Yes saves it.
    focusHide();
    TMyWarnDlg_3 prompt(MainText(176), MainText(177), MainText(178), MainText(154), this);
    switch (prompt.exec()) {
    case TMyWarnDlg_3::Yes:
        // Close only when the data was saved: a cancelled or failed save
        // keeps the window, so nothing the user wanted kept is thrown away.
        if (!MenuFile_SaveClick()) {
            event->ignore();
            return;
        }
        break;
    case TMyWarnDlg_3::No:
        break;
    default:
        event->ignore();
        return;
    }
    writeConfig();
    event->accept();
}

void TForm1::writeConfig()
{
    config_.Port = temporaryPort_ ? savedPort_ : session_.ports.Port;
    config_.AutoSeachPort = temporaryPort_ ? savedAutoSearch_ : session_.ports.AutoSeachPort;
    takeGridSizes();
    config_.limits = session_.state().limits;
    std::string error;
    if (!config_.save(configPath_, error))
        QMessageBox::warning(this, MainText(0),
                             tr("The settings could not be saved. %1").arg(QString::fromStdString(error)));
    configWritten_ = true;
}

} // namespace vkt
