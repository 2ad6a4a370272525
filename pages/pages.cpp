#include "pages.h"

#include "app_session.h"
#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vkt {

// ---- options page --------------------------------------------------------

namespace {

// Main-table texts of the page's own captions.
constexpr int kTextOptionsCaption = 35;    // "Optional Features"
constexpr int kTextFrequencyTitle = 36;    // "Frequency Mode Information"
constexpr int kTextLogo = 168;             // "LOGO"

QGroupBox *Group(QWidget *parent, const char *name)
{
    auto *g = new QGroupBox(parent);
    g->setObjectName(name);
    return g;
}

QPushButton *MoreButton(QWidget *parent, const char *name)
{
    auto *b = new QPushButton(QStringLiteral("..."), parent);
    b->setObjectName(name);
    b->setFixedWidth(28);
    return b;
}

QLabel *VfoTitle(QWidget *parent, const char *name, const char *text)
{
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

OptionsPage::OptionsPage(AppSession &session, QWidget *parent)
    : EditorPage(session, parent), fields_(new FieldBinder(session, this))
{
    setObjectName("OptionsPage");
    FieldBinder &f = *fields_;
    auto grid = [](QGroupBox *box) {
        auto *g = new QGridLayout(box);
        g->setVerticalSpacing(3);
        return g;
    };

    // The two VFO groups, each headed by its letter.
    auto vfo = [&](const char *name, QLabel *&title, const char *titleName, const char *letter,
                   std::initializer_list<std::string_view> rows) {
        QGroupBox *box = Group(this, name);
        title = VfoTitle(box, titleName, letter);
        QGridLayout *g = grid(box);
        g->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);
        f.addRows(g, rows, 0, 1);
        return box;
    };
    GroupBox1 = vfo("GroupBox1", sTitle_A, "sTitle_A", "A",
                    {"eFr_Freq_A", "cbFr_SubaudioDe_A", "cbFr_SubaudioEn_A", "cbFr_Power_A", "cbFr_Bandwidth_A",
                     "cbFr_BUS_A", "cbFr_OffsetDir_A", "eFr_Offset_A", "cbScrFreq_A", "cbFr_SignalSys_A",
                     "cbFr_SignalNo_A", "cbStep", "cbMODE_A"});
    GroupBox2 = vfo("GroupBox2", sTitle_B, "sTitle_B", "B",
                    {"eFr_Freq_B", "cbFr_SubaudioDe_B", "cbFr_SubaudioEn_B", "cbFr_Power_B", "cbFr_Bandwidth_B",
                     "cbFr_BUS_B", "cbFr_OffsetDir_B", "eFr_Offset_B", "cbScrFreq_B", "cbFr_SignalSys_B",
                     "cbFr_SignalNo_B", "cbStep_B", "cbMODE_B"});

    // Functions, in two columns.
    GroupBox3 = Group(this, "GroupBox3");
    QGridLayout *fn = grid(GroupBox3);
    f.addRows(fn, {"cbSQL", "cbVOX", "cbVOX_DELAY", "cbTOT", "cbTOA", "cbDoubleWatch", "cbMEM", "cb1750Hz",
                   "cbSCAN", "cbPriScan", "cbBackLight", "cbKeyLock"});
    f.addRows(fn, {"cbCAL", "cbROG", "cbAPO", "cbSaving", "cbWaitColor", "cbTxColor", "cbRxColor", "cbAlarmBeep",
                   "cbLanguage", "cbAlarmMode", "cbAlarmCode", "cbRxAlarm"},
              2);
    fn->setColumnMinimumWidth(1, 90);
    fn->setHorizontalSpacing(8);

    // Switches, three to a row; two of them with a control beside.
    GroupBox4 = Group(this, "GroupBox4");
    QGridLayout *sw = grid(GroupBox4);
    Button1 = MoreButton(GroupBox4, "Button1");
    static constexpr std::string_view kSwitches[] = {"cBeep", "cNAM", "cAutoOffset", "cFMR", "cWhisper",
                                                     "cScreensaver", "cPasswordFun", "cMenuOnOff", "cLanguageLock"};
    for (int i = 0; i < 9; ++i) {
        auto *cell = new QHBoxLayout;
        cell->addWidget(f.add(kSwitches[i], GroupBox4));
        if (kSwitches[i] == "cAutoOffset")
            cell->addWidget(Button1);
        if (kSwitches[i] == "cPasswordFun")
            cell->addWidget(f.add("ePasswordEdit", GroupBox4));
        cell->addStretch();
        sw->addLayout(cell, i / 3, i % 3);
    }
    control("ePasswordEdit")->setFixedWidth(70);

    gbAutoConnect = Group(this, "gbAutoConnect");
    f.addRows(grid(gbAutoConnect),
              {"cAutoConnect", "cbAutoConnect_Pos", "cbMasterTxPeriod", "cbSlaveTimeout", "cbSlaveAlarmPeriod"});

    // The power-on display.
    gbLogo = Group(this, "gbLogo");
    QGridLayout *logo = grid(gbLogo);
    f.addRows(logo, {"rLogo_off", "rWelcome_chs", "rWelcome_eng", "rWelcome_define", "eLogo"});
    bOpenMsgDefind = MoreButton(gbLogo, "bOpenMsgDefind");
    logo->addWidget(bOpenMsgDefind, 3, 2, Qt::AlignLeft);
    static constexpr std::string_view kLogoButtons[] = {"rLogo_off", "rWelcome_chs", "rWelcome_eng",
                                                        "rWelcome_define"};
    for (std::size_t i = 0; i < logoButtons.size(); ++i)
        logoButtons[i] = static_cast<QRadioButton *>(control(kLogoButtons[i]));

    // Controls that hold their values but are never shown.
    for (std::string_view hidden :
         {"cbSquelchMode", "cbBackLightTime", "cCW", "cCompandor", "cSaving", "cScrambling", "cbScrFreq", "cDeviceLock"})
        f.add(hidden, this);
    sFr_Title = new QLabel(this);
    sFr_Title->setObjectName("sFr_Title");
    sFr_Title->hide();
    showScramblingOption();

    // Controls that depend on each other.
    connect(static_cast<QComboBox *>(control("cbFr_SignalSys_A")), &QComboBox::currentIndexChanged, this,
            &OptionsPage::cbFr_SignalSys_AChange);
    connect(static_cast<QComboBox *>(control("cbFr_SignalSys_B")), &QComboBox::currentIndexChanged, this,
            &OptionsPage::cbFr_SignalSys_BChange);

    auto *content = new QWidget;
    auto *layout = new QGridLayout(content);
    layout->addWidget(GroupBox1, 0, 0, Qt::AlignTop);
    layout->addWidget(GroupBox2, 0, 1, Qt::AlignTop);
    layout->addWidget(GroupBox3, 0, 2, 1, 2, Qt::AlignTop);
    layout->addWidget(GroupBox4, 1, 0, 1, 2);
    layout->addWidget(gbAutoConnect, 1, 2);
    layout->addWidget(gbLogo, 1, 3);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(2, 1);
    // A small screen or long texts scroll rather than cut anything off.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName("OptionsScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QString OptionsPage::caption() const { return MainText(kTextOptionsCaption); }

QWidget *OptionsPage::control(std::string_view name) const { return fields_->control(name); }

void OptionsPage::showScramblingOption()
{
    const bool shown = session_.state().data.showScrambling != 0;
    for (std::string_view name : {"cbScrFreq_A", "cbScrFreq_B"}) {
        control(name)->setVisible(shown);
        fields_->label(name)->setVisible(shown);
    }
}

void OptionsPage::retranslate()
{
    sFr_Title->setText(MainText(kTextFrequencyTitle));
    gbLogo->setTitle(MainText(kTextLogo));
    fields_->retranslate();
}

void OptionsPage::load()
{
    // Loading selects the systems with signals blocked; the number lists
    // follow the stored systems as they load.
    fields_->load();
}

void OptionsPage::signalSystemChanged(std::string_view system)
{
    // The number shares the system's byte: the step shows it anew, its
    // list rebuilt for the new system.
    fields_->store(system);
}

void OptionsPage::cbFr_SignalSys_AChange() { signalSystemChanged("cbFr_SignalSys_A"); }
void OptionsPage::cbFr_SignalSys_BChange() { signalSystemChanged("cbFr_SignalSys_B"); }

void OptionsPage::changed(const ProjectChange &change) { fields_->changed(change); }

void OptionsPage::commitEdits() { fields_->storeEdited(); }

bool OptionsPage::showChange(const ProjectChange &change)
{
    // The controls, and the repeater-offset table and message lines of its
    // two windows.
    const RadioData &d = session_.state().data;
    return fields_->touches(change) || change.touches(d.offsetTable, d) || change.touches(d.offsetTableBits, d) ||
           change.touches(d.messageLines, d);
}

} // namespace vkt
