// The values the option page keeps beside its check list.
#pragma once

#include <QColor>
#include <QString>

namespace nuvo {

struct Colours {
    // As stored: the decimal text of a 0x00BBGGRR colour value.
    QString preColor;
    QString proColor;
    // The same, as the painters use them.
    QColor played;
    QColor progress;
};

struct OptionState {
    Colours colours;
    int seekDivisor = 50;
    int equalizerKeyStep = 1;
};

} // namespace nuvo
