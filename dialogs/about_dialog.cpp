#include "about_dialog.h"

#include "localisation.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vkt {

namespace {

QLabel *Line(const QString &text, int pointSize, const char *name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    // The box is only 360 pixels wide: a line that is longer in some
    // language (the name at 12 point) wraps instead of being cut.
    l->setWordWrap(true);
    QFont f = l->font();
    f.setPointSize(pointSize);
    l->setFont(f);
    return l;
}

} // namespace

TAboutDlg::TAboutDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName("TAboutDlg");
    setModal(true);
    setWindowTitle(MainText(161));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(360, 245);

    sName = Line(MainText(0) + QLatin1Char(' ') + MainText(162), 12, "sName", this);
    sVersion = Line(MainText(163), 10, "sVersion", this);
    sCopyright = Line(MainText(164), 10, "sCopyright", this);
    sCompany = Line(MainText(165), 10, "sCompany", this);
    OKBtn = new QPushButton(MainText(153), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    for (QLabel *l : {sName, sVersion, sCopyright, sCompany})
        layout->addWidget(l);
    layout->addStretch();
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addStretch();
    layout->addLayout(row);
}

} // namespace vkt
