#include "Geometry.h"

#include "KeyboardLayout.h"

#include "keyboard/KeyTable.h"

namespace skingen {

namespace {

SkinElement E(const char* key, int x, int y, int w, int h, Kind kind, Glyph glyph = Glyph::None,
              const char* legend = "", const char* sub = "", const char* group = "") {
    SkinElement e;
    e.key = QString::fromLatin1(key);
    e.rect = QRect(x, y, w, h);
    e.kind = kind;
    e.glyph = glyph;
    e.legend = QString::fromUtf8(legend);
    e.subLegend = QString::fromUtf8(sub);
    e.group = QString::fromLatin1(group);
    return e;
}

SkinElement Captioned(SkinElement e) {
    e.glyphLeft = true;
    return e;
}

SkinElement OnPage(const char* page, SkinElement e) {
    e.page = QString::fromLatin1(page);
    return e;
}

// Main window: a 1172 x 700 client area, small enough for a 1366 x 768 laptop screen with a desktop panel. A key
// unit is 40 pixels; keys leave 4 pixels between them. The keyboard sits centred in its case.
constexpr int kMainWidth = 1172;
constexpr int kMainHeight = 700;
constexpr int kQuarter = 10;
constexpr int kKeyGap = 4;
constexpr int kKeysLeft = 171;
constexpr int kKeysTop = 156;
constexpr int kGLeft = 101;
constexpr int kGWidth = 52;
constexpr int kGHeight = 26;
constexpr int kGPitch = 29;
// The rows of the window: caption, profile bar, the keyboard's top strip, the lighting cards, the bottom bar.
constexpr int kCaptionTop = 9;
constexpr int kBarTop = 54;
constexpr int kStripTop = 110;
constexpr int kCardTop = 454; // the first row inside the lighting cards
constexpr int kBottomTop = 652;

QRect CapRect(const KeyCap& k) {
    return QRect(kKeysLeft + k.x * kQuarter + kKeyGap / 2, kKeysTop + k.y * kQuarter + kKeyGap / 2,
                 k.w * kQuarter - kKeyGap, k.h * kQuarter - kKeyGap);
}

} // namespace

const SkinElement* DialogGeometry::find(const QString& key) const {
    for (const SkinElement& e : elements)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) return &e;
    for (const SkinElement& e : extras)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

DialogGeometry MainGeometry() {
    DialogGeometry g;
    g.name = QStringLiteral("Main");
    g.client = QSize(kMainWidth, kMainHeight);
    g.stateMargin = 100; // the main window's pictures are drawn at client size + 100
    g.captionLine = 45;
    auto& v = g.elements;

    // Caption bar.
    // The line beside the wordmark is the language's, drawn by the program.
    v.push_back(E("CONTROL_TaglineStatic", 156, 7, 300, 32, Kind::Label));
    v.push_back(E("CONTROL_MENU", kMainWidth - 176, kCaptionTop, 36, 28, Kind::CaptionBtn, Glyph::Menu));
    v.push_back(E("CONTROL_HELP", kMainWidth - 136, kCaptionTop, 36, 28, Kind::CaptionBtn, Glyph::Help));
    v.push_back(E("CONTROL_MINIMIZE", kMainWidth - 96, kCaptionTop, 36, 28, Kind::CaptionBtn, Glyph::Minimise));
    v.push_back(E("CONTROL_CLOSE", kMainWidth - 56, kCaptionTop, 36, 28, Kind::CaptionBtn, Glyph::Close));

    // Profile bar.
    v.push_back(E("FUNC_PROFILE1", 38, kBarTop, 120, 36, Kind::Button));
    v.push_back(E("FUNC_PROFILE2", 164, kBarTop, 120, 36, Kind::Button));
    v.push_back(E("FUNC_PROFILE3", 290, kBarTop, 120, 36, Kind::Button));
    v.push_back(Captioned(E("FUNC_PROFILES", 422, kBarTop, 250, 36, Kind::Button, Glyph::Folder)));
    v.push_back(E("FUNC_SWITCH", 722, kBarTop, 160, 36, Kind::Button));
    v.push_back(Captioned(E("FUNC_MACRO", 888, kBarTop, 120, 36, Kind::Button, Glyph::Record)));
    v.push_back(E("FUNC_DEFAULT", 1014, kBarTop, 120, 36, Kind::Button));

    // The keyboard: its top strip with the layout switch, D1..D6 and the indicators.
    v.push_back(E("LEFT_ARROW", 56, kStripTop + 5, kArrowFace, kArrowFace, Kind::Arrow));
    v.push_back(E("FLIP_1", 78, kStripTop, 28, 28, Kind::Chip, Glyph::None, "‹"));
    // Its caption, the keys the strip shows now, is drawn by the program.
    v.push_back(E("FLIP_0", 110, kStripTop, 120, 28, Kind::Chip));
    v.push_back(E("FLIP_2", 234, kStripTop, 28, 28, Kind::Chip, Glyph::None, "›"));
    v.push_back(E("RIGHT_ARROW", 266, kStripTop + 5, kArrowFace, kArrowFace, Kind::Arrow));
    for (int i = 0; i < 6; ++i) {
        const KeyCap& d = ExtraCaps()[static_cast<std::size_t>(i)];
        SkinElement e = E("", 328 + i * 44, kStripTop, 40, 28, Kind::Key);
        e.key = d.skinKey;
        e.legend = d.legend;
        v.push_back(e);
    }
    v.push_back(E("LOCK_CAPS", 818, kStripTop + 2, 74, 24, Kind::Indicator, Glyph::None, "CAPS"));
    v.push_back(E("LOCK_NUM", 898, kStripTop + 2, 74, 24, Kind::Indicator, Glyph::None, "NUM"));
    v.push_back(E("LOCK_SCROLL", 978, kStripTop + 2, 74, 24, Kind::Indicator, Glyph::None, "SCROLL"));
    v.push_back(E("LOCK_AB", 1058, kStripTop + 2, 58, 24, Kind::Indicator, Glyph::None, "G·A", "G·B"));

    for (int i = 0; i < 9; ++i) {
        SkinElement e = E("", kGLeft, kKeysTop + 1 + i * kGPitch, kGWidth, kGHeight, Kind::GKey);
        e.key = QStringLiteral("FUNC_G%1").arg(i + 1);
        e.legend = QStringLiteral("G%1").arg(i + 1);
        v.push_back(e);
    }
    for (const KeyCap& k : KeyboardCaps()) {
        SkinElement e = E("", 0, 0, 0, 0, Kind::Key);
        e.rect = CapRect(k);
        // Keys are named by their key index, so Print Screen (0x137) is KEY_0B7.
        e.key = k.skinKey.isEmpty() ? QString::asprintf("KEY_%03X", static_cast<unsigned>(ombrel::KeyIndexOf(k.code)))
                                    : k.skinKey;
        e.legend = k.legend;
        e.subLegend = k.subLegend;
        v.push_back(e);
    }

    // Lighting panel, three cards. Labels, lists, sliders and pictures are drawn by the program.
    const int top = kCardTop;
    v.push_back(E("CONTROL_DengStaPic", 56, top, 56, 28, Kind::Picture));
    v.push_back(E("CONTROL_DengStatic", 122, top, 250, 28, Kind::Label));
    v.push_back(E("CONTROL_XGcombox", 56, top + 36, 314, 30, Kind::Label));
    v.push_back(E("CONTROL_LightStatic", 56, top + 74, 96, 24, Kind::Label));
    v.push_back(E("CONTROL_LightSlider", 156, top + 74, 214, 24, Kind::Picture));
    v.push_back(E("CONTROL_SpeedStatic", 56, top + 106, 96, 24, Kind::Label));
    v.push_back(E("CONTROL_SpeedSlider", 156, top + 106, 214, 24, Kind::Picture));
    v.push_back(E("CONTROL_UsbStatic", 56, top + 148, 96, 30, Kind::Label));
    const char* rates[] = {"1000", "500", "250", "125"};
    for (int i = 0; i < 4; ++i) {
        SkinElement e = E("", 156 + i * 54, top + 148, 50, 30, Kind::Chip, Glyph::None, rates[i]);
        e.key = QStringLiteral("FUNC_REPORT%1").arg(i + 1);
        v.push_back(e);
    }

    // Card two: direction, effect colour groups, four-colour choice and the user effect share rows; only one
    // group shows at a time.
    for (const char* suffix : {"", "2", "3"}) {
        v.push_back(E(qPrintable(QStringLiteral("CONTROL_BLFXStatic%1").arg(QLatin1String(suffix))), 418, top, 110, 30,
                      Kind::Label));
        v.push_back(E(qPrintable(QStringLiteral("CONTROL_BLFXLStaPic%1").arg(QLatin1String(suffix))), 534, top - 2, 48,
                      34, Kind::Picture));
        v.push_back(E(qPrintable(QStringLiteral("CONTROL_BLFXRStaPic%1").arg(QLatin1String(suffix))), 590, top - 2, 48,
                      34, Kind::Picture));
    }
    v.push_back(E("CONTROL_USERgjStatic", 418, top, 110, 30, Kind::Label));
    v.push_back(E("CONTROL_USERgjStaPic1", 534, top - 2, 48, 34, Kind::Picture));
    v.push_back(E("CONTROL_USERgjStaPic2", 590, top - 2, 48, 34, Kind::Picture));
    const char* groups[] = {"HX", "FY", "CD", "TS"};
    for (const char* gname : groups) {
        const QString n = QString::fromLatin1(gname);
        const QString picture = n == QStringLiteral("FY") ? QStringLiteral("CONTROL_FYSJSStaPic")
                                                          : QStringLiteral("CONTROL_%1sjsStaPic").arg(n);
        const QString colourful = n == QStringLiteral("FY") ? QStringLiteral("CONTROL_FYSJSStatic")
                                                            : QStringLiteral("CONTROL_%1sjsStatic").arg(n);
        const QString label = n == QStringLiteral("FY") ? QStringLiteral("CONTROL_FYYSStatic")
                                                        : QStringLiteral("CONTROL_%1ysStatic").arg(n);
        const QString button = n == QStringLiteral("FY") ? QStringLiteral("CONTROL_FYYSButton")
                                                         : QStringLiteral("CONTROL_%1ysButton").arg(n);
        const Kind kind = (n == QStringLiteral("HX") || n == QStringLiteral("FY")) ? Kind::Label : Kind::Hidden;
        v.push_back(E(qPrintable(label), 418, top + 40, 110, 30, kind));
        v.push_back(E(qPrintable(button), 534, top + 40, 64, 30, kind == Kind::Label ? Kind::Picture : Kind::Hidden));
        v.push_back(E(qPrintable(picture), 606, top + 38, 48, 34, kind == Kind::Label ? Kind::Picture : Kind::Hidden));
        v.push_back(E(qPrintable(colourful), 660, top + 40, 96, 30, kind));
    }
    v.push_back(E("CONTROL_JTysStatic", 418, top + 40, 110, 30, Kind::Hidden));
    v.push_back(E("CONTROL_JTysButton", 534, top + 40, 64, 30, Kind::Hidden));
    v.push_back(E("CONTROL_USERysStatic", 418, top + 40, 110, 30, Kind::Label));
    v.push_back(E("CONTROL_USERysButton", 534, top + 40, 64, 30, Kind::Picture));
    v.push_back(E("CONTROL_USERjsStatic", 606, top + 40, 86, 30, Kind::Label));
    v.push_back(E("CONTROL_USERjsButton", 696, top + 40, 60, 30, Kind::Picture));
    v.push_back(E("CONTROL_HONGPIC", 418, top + 82, 40, 40, Kind::Picture));
    v.push_back(E("CONTROL_HUANGPIC", 466, top + 82, 40, 40, Kind::Picture));
    v.push_back(E("CONTROL_LVPIC", 514, top + 82, 40, 40, Kind::Picture));
    v.push_back(E("CONTROL_LANPIC", 562, top + 82, 40, 40, Kind::Picture));
    v.push_back(E("CONTROL_umCombo", 418, top + 84, 338, 30, Kind::Label));
    v.push_back(E("CONTROL_FYCFStatic", 418, top + 128, 110, 30, Kind::Hidden));
    v.push_back(E("CONTROL_FYdjcfStatic", 534, top + 128, 80, 30, Kind::Hidden));
    v.push_back(E("CONTROL_FYdjcfStaPic", 618, top + 126, 40, 34, Kind::Hidden));
    v.push_back(E("CONTROL_FYggcfStatc", 662, top + 128, 60, 30, Kind::Hidden));
    v.push_back(E("CONTROL_FYggcfStaPic", 722, top + 126, 34, 34, Kind::Hidden));

    // Card three: the colour by numbers, preset swatches and the progress of a write.
    v.push_back(E("CONTROL_RGBStatic", 802, top, 60, 30, Kind::Label));
    v.push_back(E("COLOR_R", 868, top, 76, 30, Kind::Field));
    v.push_back(E("COLOR_G", 952, top, 76, 30, Kind::Field));
    v.push_back(E("COLOR_B", 1036, top, 80, 30, Kind::Field));
    for (int i = 0; i < 8; ++i) {
        SkinElement e = E("", 802 + i * 40, top + 42, 36, 36, Kind::Picture);
        e.key = QStringLiteral("CONTROL_Color%1").arg(i + 1);
        v.push_back(e);
    }
    v.push_back(E("CONTROL_JDTStatic", 802, top + 170, 314, 10, Kind::Picture));

    // Bottom bar.
    v.push_back(Captioned(E("SORVIK_LINK", 38, kBottomTop + 1, 220, 34, Kind::Button, Glyph::Link)));
    v.push_back(E("SORVIK_VER", 264, kBottomTop + 1, 120, 34, Kind::Label));
    v.push_back(E("CONTROL_OK", 790, kBottomTop, 110, 36, Kind::Button, Glyph::None, "", "primary"));
    v.push_back(E("CONTROL_CANCEL", 906, kBottomTop, 110, 36, Kind::Button));
    v.push_back(E("CONTROL2_APPLY", 1022, kBottomTop, 112, 36, Kind::Button));

    // Where the arrow faces lie in Arrow.jpg (only x and y are read).
    const char* arrows[] = {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"};
    for (int i = 0; i < 4; ++i) {
        for (int n = 1; n <= 2; ++n) {
            // Faces start at (3, 3): (1, 1) would read as a missing key.
            SkinElement e = E("", 3 + i * (kArrowFace + 2), 3, kArrowFace, kArrowFace, Kind::Hidden);
            e.key = QStringLiteral("%1%2").arg(QLatin1String(arrows[i])).arg(n);
            e.group = QStringLiteral("BUTTONINFO2");
            g.extras.push_back(e);
        }
    }
    return g;
}

DialogGeometry CompositeGeometry() {
    DialogGeometry g;
    g.name = QStringLiteral("Composite");
    g.client = QSize(640, 520);
    auto& v = g.elements;
    // The page sits lowest so the controls of each tab lie over it.
    v.push_back(E("CONTROL_MASK", 16, 56, 608, 390, Kind::Page, Glyph::None, "", "", "frame"));
    v.push_back(E("CONTROL_TITLE", 16, 12, 32, 32, Kind::Button, Glyph::Logo, "", "", "frame"));
    v.push_back(E("KEY_SETTING", 58, 14, 400, 28, Kind::Label));
    v.push_back(E("CONTROL_KEY", 24, 62, 140, 34, Kind::Tab, Glyph::Keyboard, "", "", "frame"));
    v.push_back(E("CONTROL_MACRO", 170, 62, 140, 34, Kind::Tab, Glyph::Record, "", "", "frame"));
    v.push_back(E("CONTROL_MEDIA", 316, 62, 140, 34, Kind::Tab, Glyph::Globe, "", "", "frame"));
    v.push_back(E("CONTROL_FUNCTION", 462, 62, 140, 34, Kind::Tab, Glyph::Menu, "", "", "frame"));

    // Single key page.
    v.push_back(OnPage("CONTROL_KEY", E("TISHI_SINGLE_STATIC", 40, 118, 560, 26, Kind::Label)));
    v.push_back(OnPage("CONTROL_KEY", E("FUNC_KEY_INPUT", 40, 154, 470, 56, Kind::Field)));
    v.push_back(
        OnPage("CONTROL_KEY", E("CONTROL_OSK", 522, 154, 78, 56, Kind::Button, Glyph::Keyboard, "", "", "frame")));
    v.push_back(OnPage("CONTROL_KEY", E("FUNC_KEY_RADIO_KB", 40, 230, 22, 22, Kind::Label)));
    v.push_back(OnPage("CONTROL_KEY", E("FUNC_KEY_RADIO_KB_STATIC", 70, 228, 240, 26, Kind::Label)));
    v.push_back(OnPage("CONTROL_KEY", E("FUNC_KEY_RADIO_MOU", 40, 266, 22, 22, Kind::Label)));
    v.push_back(OnPage("CONTROL_KEY", E("FUNC_KEY_RADIO_MOU_STATIC", 70, 264, 240, 26, Kind::Label)));
    // Media and function pages.
    v.push_back(OnPage("CONTROL_MEDIA", E("MEDIA_SETTING_TISHI", 40, 118, 560, 26, Kind::Label)));
    v.push_back(OnPage("CONTROL_MEDIA", E("FUNC_MEDIA_SELECT", 40, 152, 560, 276, Kind::Field)));
    v.push_back(OnPage("CONTROL_FUNCTION", E("FUNCTION_KEY_SETTING_TISHI", 40, 118, 560, 26, Kind::Label)));
    v.push_back(OnPage("CONTROL_FUNCTION", E("FUNC_FUNCTION_SELECT", 40, 152, 560, 276, Kind::Field)));
    // Macro page.
    v.push_back(OnPage("CONTROL_MACRO", E("MARCO_NAME_SETTING", 40, 114, 240, 24, Kind::Label)));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_LIST", 40, 142, 250, 30, Kind::Field)));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_ADD", 298, 142, 34, 30, Kind::Button, Glyph::Plus, "", "", "macro")));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_DELETE", 338, 142, 34, 30, Kind::Button, Glyph::Trash, "", "", "macro")));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_CYCLES_PROMPT", 392, 114, 208, 24, Kind::Label)));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_CYCLES", 392, 142, 90, 30, Kind::Field)));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_LIST2", 40, 186, 380, 244, Kind::Field)));
    v.push_back(OnPage("CONTROL_MACRO", Captioned(E("FUNC_MACRO_RECORD", 432, 186, 168, 38, Kind::Button, Glyph::Record,
                                                    "", "", "macro"))));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_RECORD_DELAY", 432, 232, 22, 22, Kind::Label)));
    v.push_back(OnPage("CONTROL_MACRO", E("FUNC_MACRO_RECORD_DELAY2", 460, 230, 140, 26, Kind::Label)));
    v.push_back(OnPage("CONTROL_MACRO",
                       E("FUNC_MACRO_DELETE2", 432, 268, 80, 34, Kind::Button, Glyph::Close, "", "", "macro")));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_CLEAR", 520, 268, 80, 34, Kind::Button, Glyph::Eraser, "", "", "macro")));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_UP_TOP", 432, 310, 80, 34, Kind::Button, Glyph::Top, "", "", "macro")));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_UP", 520, 310, 80, 34, Kind::Button, Glyph::Up, "", "", "macro")));
    v.push_back(
        OnPage("CONTROL_MACRO", E("FUNC_MACRO_DOWN", 432, 352, 80, 34, Kind::Button, Glyph::Down, "", "", "macro")));
    v.push_back(OnPage("CONTROL_MACRO",
                       E("FUNC_MACRO_DOWN_BOTTOM", 520, 352, 80, 34, Kind::Button, Glyph::Bottom, "", "", "macro")));

    v.push_back(Captioned(E("CONTROL_CLEAR", 16, 466, 116, 38, Kind::Button, Glyph::Eraser, "", "", "frame")));
    v.push_back(E("CONTROL_OK", 272, 466, 112, 38, Kind::Button, Glyph::None, "", "primary", "frame"));
    v.push_back(E("CONTROL_CANCEL", 392, 466, 112, 38, Kind::Button, Glyph::None, "", "", "frame"));
    v.push_back(E("CONTROL2_APPLY", 512, 466, 112, 38, Kind::Button, Glyph::None, "", "", "frame"));
    return g;
}

DialogGeometry ProfileGeometry() {
    DialogGeometry g;
    g.name = QStringLiteral("Profile");
    g.client = QSize(560, 440);
    auto& v = g.elements;
    // The title is the language's, drawn by the program beside the logo.
    v.push_back(E("CONTROL_TitleStatic", 58, 12, 380, 32, Kind::Label));
    v.push_back(E("PROGRAM_LIST", 20, 64, 520, 196, Kind::Field));
    v.push_back(Captioned(E("FUNC_ADD", 20, 272, 164, 36, Kind::Button, Glyph::Plus)));
    v.push_back(Captioned(E("FUNC_LOAD", 198, 272, 164, 36, Kind::Button, Glyph::Folder)));
    v.push_back(Captioned(E("FUNC_DELETE", 376, 272, 164, 36, Kind::Button, Glyph::Trash)));
    v.push_back(Captioned(E("FUNC_RENAME", 20, 318, 164, 36, Kind::Button, Glyph::None)));
    v.push_back(Captioned(E("FUNC_EXPORT", 198, 318, 164, 36, Kind::Button, Glyph::Save)));
    v.push_back(Captioned(E("FUNC_LOAD_INTO", 376, 318, 164, 36, Kind::Button, Glyph::Upload)));
    v.push_back(E("CONTROL_OK", 188, 386, 110, 38, Kind::Button, Glyph::None, "", "primary"));
    v.push_back(E("CONTROL_CANCEL", 308, 386, 110, 38, Kind::Button));
    v.push_back(E("CONTROL2_APPLY", 428, 386, 112, 38, Kind::Button));
    return g;
}

DialogGeometry UpdateGeometry() {
    DialogGeometry g;
    g.name = QStringLiteral("UpdateDlg");
    g.client = QSize(480, 250);
    auto& v = g.elements;
    // The title and the label over the path are the language's, drawn by the program.
    v.push_back(E("CONTROL_TitleStatic", 58, 12, 300, 32, Kind::Label));
    v.push_back(E("CONTROL_UPLabel", 24, 52, 432, 22, Kind::Label));
    v.push_back(E("CONTROL_UPStatic", 24, 78, 336, 32, Kind::Field));
    // The buttons' captions come from the language file; the pictures carry only their icons.
    v.push_back(Captioned(E("CONTROL_OPENButton", 372, 76, 84, 36, Kind::Button, Glyph::Folder)));
    v.push_back(E("CONTROL_UPCombox", 24, 124, 336, 30, Kind::Hidden));
    v.push_back(Captioned(E("CONTROL_UPButton", 24, 186, 136, 42, Kind::Button, Glyph::Upload, "", "primary")));
    v.push_back(Captioned(E("CONTROL_CUPButton", 172, 186, 136, 42, Kind::Button, Glyph::Stop)));
    v.push_back(Captioned(E("CONTROL_BACKUPButton", 320, 186, 136, 42, Kind::Button, Glyph::Save)));
    return g;
}

} // namespace skingen
