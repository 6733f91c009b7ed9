// The composite key dialog, the profile manager and the firmware update dialog. Their titles and labels are the
// language's, drawn by the program: the pictures carry only the frame.
#include "Geometry.h"
#include "SkinParts.h"
#include "SkinRenderer.h"
#include "SkinWriter.h"
#include "Theme.h"

namespace skingen {

namespace {

void Wordmark(const Theme& theme, QPainter& p, const QSize& client) {
    p.setFont(theme.font(11, true));
    p.setPen(colours::kTextDim);
    p.drawText(QRect(client.width() - 140, 12, 120, 32), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("OMBREL"));
}

// The composite dialog's page: the tab strip, the page panel and the mark of the active tab.
void CompositePage(const Theme& theme, QPainter& p, const DialogGeometry& g, const QString& activeTab) {
    Wordmark(theme, p, g.client);
    theme.drawPanel(p, QRect(16, 104, 608, 342));
    if (const SkinElement* tab = g.find(activeTab)) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colours::kAccent, 1.5));
        p.setBrush(QColor(0x2e, 0xe6, 0xd6, 26));
        p.drawRoundedRect(QRectF(tab->rect).adjusted(-2.5, -2.5, 2.5, 2.5), 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(colours::kAccent);
        p.drawRoundedRect(QRectF(tab->rect.left() + 16, 100, tab->rect.width() - 32, 3), 1.5, 1.5);
    }
}

// The background (the dialog in its normal state), the mask and the layout file, named from `prefix`.
void WriteFrame(const SkinRenderer& r, SkinWriter& out, const DialogGeometry& g, const Decor& decor,
                const QString& prefix, const QString& page = QString()) {
    const QString background = prefix + QStringLiteral("_bg.jpg");
    const QString mask = prefix + QStringLiteral("_mask.bmp");
    out.jpeg(background, r.scene(
                             g, decor, [](const SkinElement&) { return State::Normal; }, page));
    out.bmp(mask, r.mask(g));
    out.layout(g, background, mask, QString());
}

// A dialog with one set of state pictures, <prefix>_<state>.jpg, every control drawn in that state.
void WriteOneSetDialog(const Theme& theme, SkinWriter& out, const DialogGeometry& g, const Decor& decor,
                       const QString& prefix, std::initializer_list<std::pair<const char*, State>> states) {
    const SkinRenderer r(theme);
    for (const auto& [suffix, state] : states) {
        const State s = state;
        out.jpeg(QStringLiteral("%1_%2.jpg").arg(prefix, QLatin1String(suffix)),
                 r.statePicture(g, decor, [s](const SkinElement&) { return s; }));
    }
    WriteFrame(r, out, g, decor, prefix);
}

struct PictureSet {
    const char* prefix;
    const char* tab; // the tab whose page the set shows
    bool macroOnly;  // tabs, Title and Clear greyed in the disabled picture
    bool hasDisabled;
};

} // namespace

void WriteCompositeSkin(const Theme& theme, SkinWriter& out) {
    const DialogGeometry g = CompositeGeometry();
    const SkinRenderer r(theme);
    const PictureSet sets[] = {{"key", "CONTROL_KEY", false, false},
                               {"macro", "CONTROL_MACRO", false, true},
                               {"macro2", "CONTROL_MACRO", true, true},
                               {"media", "CONTROL_MEDIA", false, false},
                               {"function", "CONTROL_FUNCTION", false, false}};
    const std::pair<const char*, State> states[] = {
        {"normal", State::Normal}, {"over", State::Hover}, {"down", State::Pressed}, {"disable", State::Disabled}};
    for (const PictureSet& set : sets) {
        const QString tab = QString::fromLatin1(set.tab);
        const Decor decor = [&](QPainter& p) { CompositePage(theme, p, g, tab); };
        for (const auto& [suffix, state] : states) {
            if (state == State::Disabled && !set.hasDisabled) continue;
            const State s = state;
            const bool macroOnly = set.macroOnly;
            const StateOf of = [s, macroOnly](const SkinElement& e) {
                if (s != State::Disabled) return s;
                // In macro-only mode the other tabs, Title and Clear are greyed; in the macro set the macro
                // buttons are.
                if (macroOnly) return e.group == QStringLiteral("frame") ? State::Disabled : State::Normal;
                return e.group == QStringLiteral("macro") ? State::Disabled : State::Normal;
            };
            out.jpeg(QStringLiteral("%1_%2.jpg").arg(QLatin1String(set.prefix), QLatin1String(suffix)),
                     r.statePicture(g, decor, of, tab));
        }
    }
    const Decor background = [&](QPainter& p) { CompositePage(theme, p, g, QStringLiteral("CONTROL_KEY")); };
    WriteFrame(r, out, g, background, QStringLiteral("composite"), QStringLiteral("CONTROL_KEY"));
}

void WriteProfileSkin(const Theme& theme, SkinWriter& out) {
    const DialogGeometry g = ProfileGeometry();
    const Decor decor = [&](QPainter& p) {
        theme.drawLogo(p, QPoint(20, 14), 26);
        Wordmark(theme, p, g.client);
    };
    WriteOneSetDialog(theme, out, g, decor, QStringLiteral("Profile"),
                      {{"normal", State::Normal}, {"over", State::Hover}, {"down", State::Pressed}});
}

void WriteUpdateSkin(const Theme& theme, SkinWriter& out) {
    const DialogGeometry g = UpdateGeometry();
    const Decor decor = [&](QPainter& p) {
        theme.drawLogo(p, QPoint(20, 14), 26);
        Wordmark(theme, p, g.client);
    };
    WriteOneSetDialog(theme, out, g, decor, QStringLiteral("update"),
                      {{"normal", State::Normal}, {"over", State::Hover}});
}

} // namespace skingen
