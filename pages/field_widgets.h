// Small widgets and messages shared by every page and dialog that edits
// tones and frequencies.
#pragma once

#include <QComboBox>
#include <QString>

namespace vkt {

// Text numbers of this program's own messages in the main table.
inline constexpr int kTextNotAFrequency = 360; // "%1" cannot be read as a frequency...

// An editable list of the 261 tone texts ("Off", the CTCSS tones, the DCS
// codes). It completes nothing: a typed tone is taken exactly as typed, so
// "88" stays "88" and is not turned into the list's "88.5".
class ToneBox : public QComboBox {
public:
    // upperCaseKeys: the letters d, n and i are typed as D, N and I.
    explicit ToneBox(QWidget *parent, bool upperCaseKeys = true);
};

// Drop-down lists change by the mouse wheel only while they have the
// keyboard focus: a wheel rolled over a list on its way down the page
// scrolls the page and changes nothing. Installs one filter on the
// application for every list of every window; calling it again does
// nothing.
void GuardListWheels();

// The message of a frequency field left with a text that is not a
// frequency (for example "145."), in the active language; the field keeps
// its stored value.
QString FrequencyErrorText(const QString &typed);
// Shows that message in a warning box over `parent`.
void ShowFrequencyError(QWidget *parent, const QString &typed);

} // namespace vkt
