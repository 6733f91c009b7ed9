// The colour template of the user effect: three named patterns of 126 per-key colours, copied to every user's
// folder and used to reset a profile's colours.
#include "SkinParts.h"
#include "SkinWriter.h"

#include <QColor>
#include <QString>

namespace skingen {

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 21;

QColor PatternColour(int pattern, int row, int column) {
    switch (pattern) {
    case 0: // a sweep from cyan to violet across the board
        return QColor::fromHsv(180 + column * 90 / (kColumns - 1), 220, 255);
    case 1: // white, with the movement keys (W, A, S, D by their slots) and the arrows in the accent colour
        return QColor(255, 255, 255);
    default: // a warm gradient from the top row down
        return QColor::fromHsv(10 + row * 8, 230, 255);
    }
}

bool IsHighlighted(int slot) {
    const int highlighted[] = {44, 64, 65, 66, 99, 119, 120, 121};
    for (int s : highlighted)
        if (s == slot) return true;
    return false;
}

} // namespace

void WriteColourTemplate(SkinWriter& out) {
    QString text;
    text += QStringLiteral("[PRESENTMODE]\nmode=0\n\n[MODENAME]\n0=Sweep\n1=Focus\n2=Ember\n");
    for (int pattern = 0; pattern < 3; ++pattern) {
        text += QStringLiteral("\n[Mode%1]\ntool=0\njcolor=0,0,0\ncolor=46,230,214\n").arg(pattern);
        for (int slot = 0; slot < kRows * kColumns; ++slot) {
            QColor c = PatternColour(pattern, slot / kColumns, slot % kColumns);
            if (pattern == 1 && IsHighlighted(slot)) c = QColor(46, 230, 214);
            text += QStringLiteral("%1=%2,%3,%4,0\n").arg(slot).arg(c.red()).arg(c.green()).arg(c.blue());
        }
    }
    out.text(QStringLiteral("UserDengColor_3.userd"), text.toUtf8());
}

} // namespace skingen
