#include "SkinGallery.h"

#include "CBaseDialog.h"
#include "CBitmapSlider.h"
#include "CPngButton.h"
#include "CReportCtrl.h"
#include "CSkinColorBtn.h"
#include "ColorStatic.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"

#include "keyboard/KeyTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>

namespace ombrel {

namespace {

constexpr std::uint32_t kTextColour = 0xF2ECE8;   // 0x00BBGGRR of the skin's light text
constexpr std::uint32_t kAccentColour = 0xD6E62E; // the accent, red in the low byte
constexpr std::uint32_t kDimColour = 0xA2928A;
constexpr std::uint32_t kDisabledColour = 0x5C504A;

// Dark, flat looks for the plain Qt controls so they sit well on the skin.
const char* kControlStyle =
    "QLineEdit,QComboBox,QListWidget,QTreeWidget{background:#0b0d10;color:#e8ecf2;border:1px solid #333843;"
    "border-radius:4px;selection-background-color:#0f5c58;font-size:13px;}"
    "QLineEdit:focus,QComboBox:focus,QListWidget:focus,QTreeWidget:focus{border-color:#2ee6d6;}"
    "QComboBox{padding:2px 8px;}QComboBox QAbstractItemView{background:#16191f;color:#e8ecf2;}"
    "QHeaderView::section{background:#16191f;color:#8a92a2;border:none;border-bottom:1px solid #333843;"
    "padding:4px;}QCheckBox{color:#e8ecf2;}"
    "QTreeView::indicator,QCheckBox::indicator{width:13px;height:13px;border:1px solid #5a616e;border-radius:3px;"
    "background:#16191f;}QTreeView::indicator:checked,QCheckBox::indicator:checked{background:#2ee6d6;"
    "border-color:#2ee6d6;}QToolTip{background:#16191f;color:#e8ecf2;border:1px solid #2ee6d6;}";

struct Pictures {
    const QPixmap* normal;
    const QPixmap* over;
    const QPixmap* down;
    const QPixmap* disable;
};

Pictures LoadSet(const QString& folder, const QString& prefix, bool hasDisable) {
    auto& cache = SkinImageCache::instance();
    auto pm = [&](const char* state) { return cache.pixmap(folder + QStringLiteral("/%1_%2.jpg").arg(prefix, state)); };
    return {pm("normal"), pm("over"), pm("down"), hasDisable ? pm("disable") : pm("normal")};
}

CPngButton* Button(QWidget* parent, const QString& ini, const QString& key, const QPixmap* n, const QPixmap* h,
                   const QPixmap* d, const QPixmap* x, const QPixmap* c, const QString& caption = QString()) {
    auto* b = new CPngButton(parent);
    b->setObjectName(key);
    placeSkinButton(b, ini, QStringLiteral("BUTTONINFO"), key, n, h, d, x, c);
    if (!caption.isEmpty()) {
        b->setText(caption);
        b->SetTextStyle(true, 10, QStringLiteral("Inter"), kTextColour, kTextColour, kAccentColour, kDisabledColour,
                        kAccentColour);
    }
    return b;
}

ColorStatic* Label(QWidget* parent, const QString& ini, const QString& key, const QString& text,
                   std::uint32_t colour = kDimColour) {
    auto* l = new ColorStatic(parent);
    l->setObjectName(key);
    l->setText(text);
    l->SetTextColor(colour);
    QFont f = l->font();
    f.setPixelSize(13);
    l->setFont(f);
    placeControl(l, ini, QStringLiteral("BUTTONINFO"), key);
    return l;
}

template <typename W>
W* Placed(QWidget* parent, const QString& ini, const QString& key) {
    auto* w = new W(parent);
    w->setObjectName(key);
    placeControl(w, ini, QStringLiteral("BUTTONINFO"), key);
    return w;
}

QLabel* Picture(QWidget* parent, const QString& ini, const QString& folder, const QString& key, const QString& file) {
    auto* l = Placed<QLabel>(parent, ini, key);
    l->setPixmap(*SkinImageCache::instance().pixmap(folder + QLatin1Char('/') + file));
    return l;
}

void BuildMain(CBaseDialog* dlg, const QString& folder) {
    const QString ini = dlg->layoutFile();
    const Pictures p = LoadSet(folder, QStringLiteral("main"), true);
    auto& cache = SkinImageCache::instance();
    const QPixmap* color0 = cache.pixmap(folder + QStringLiteral("/main_color0.jpg"));
    const QPixmap* color1 = cache.pixmap(folder + QStringLiteral("/main_color1.jpg"));
    const QPixmap* arrow = cache.pixmap(folder + QStringLiteral("/Arrow.jpg"));

    for (int i = 0; i < kGKeyCount; ++i) {
        auto* g =
            Button(dlg, ini, QStringLiteral("FUNC_G%1").arg(i + 1), p.normal, p.over, p.down, p.normal, p.disable);
        g->SetChecked(i == 2);
    }
    int n = 0;
    for (const KeyButton& k : KeyButtonTable()) {
        const QString key = QString::asprintf("KEY_%03X", static_cast<unsigned>(KeyIndexOf(k.code)));
        auto* b = Button(dlg, ini, key, p.normal, p.over, p.down, p.normal, p.disable);
        // A few assigned keys, so the assigned look shows.
        b->SetChecked(n % 17 == 3);
        b->SetAlternate(color0, color1, false, false, false);
        ++n;
    }
    for (int i = 1; i <= 6; ++i)
        Button(dlg, ini, QStringLiteral("KEY_D%1").arg(i), p.normal, p.over, p.down, p.normal, p.disable);
    Button(dlg, ini, QStringLiteral("KEY_FN"), p.normal, p.over, p.down, p.normal, p.disable);
    for (const char* lock : {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"}) {
        auto* b = Button(dlg, ini, QString::fromLatin1(lock), p.normal, p.normal, p.normal, p.normal, p.over);
        b->SetChecked(QLatin1String(lock) == QLatin1String("LOCK_NUM"));
    }
    Button(dlg, ini, QStringLiteral("FLIP_0"), p.normal, p.normal, p.normal, p.normal, p.disable);
    Button(dlg, ini, QStringLiteral("FLIP_1"), p.normal, p.over, p.down, p.normal, p.disable);
    Button(dlg, ini, QStringLiteral("FLIP_2"), p.normal, p.over, p.down, p.normal, p.disable);
    for (const auto& [key, face] :
         {std::pair{"LEFT_ARROW", "DOWN_ARROW_LEFT1"}, {"RIGHT_ARROW", "DOWN_ARROW_RIGHT1"}}) {
        auto* a = new CPngButton(dlg);
        a->setObjectName(QString::fromLatin1(key));
        placeArrowButton(a, ini, QStringLiteral("BUTTONINFO"), QString::fromLatin1(key), QStringLiteral("BUTTONINFO2"),
                         QString::fromLatin1(face), arrow);
    }
    const QString captions[][2] = {{"FUNC_PROFILE1", "Profile 1"},
                                   {"FUNC_PROFILE2", "Profile 2"},
                                   {"FUNC_PROFILE3", "Profile 3"},
                                   {"FUNC_DEFAULT", "Default"},
                                   {"FUNC_SWITCH", "Function view"},
                                   {"FUNC_MACRO", "Macro"},
                                   {"FUNC_PROFILES", "Default profile"},
                                   {"CONTROL_OK", "OK"},
                                   {"CONTROL_CANCEL", "Cancel"},
                                   {"CONTROL2_APPLY", "Apply"},
                                   {"SORVIK_LINK", "ombrel.invalid/support"}};
    for (const auto& c : captions) {
        auto* b = Button(dlg, ini, c[0], p.normal, p.over, p.down, p.normal, p.disable, c[1]);
        if (c[0] == QLatin1String("FUNC_PROFILE1")) b->SetChecked(true);
        if (c[0] == QLatin1String("CONTROL2_APPLY")) b->setEnabled(false);
    }
    const QString tips[][2] = {{"CONTROL_HELP", "Help"},         {"CONTROL_CLOSE", "Close"},
                               {"CONTROL_MINIMIZE", "Minimise"}, {"CONTROL_MENU", "Menu"},
                               {"CONTROL_Network", "Web site"},  {"CONTROL_Facebook", "Share"},
                               {"CONTROL_twitter", "News"}};
    for (const auto& t : tips)
        Button(dlg, ini, t[0], p.normal, p.over, p.down, p.normal, p.disable)->SetTooltip(t[1]);
    auto* version = Button(dlg, ini, QStringLiteral("SORVIK_VER"), p.normal, p.normal, p.normal, p.normal, p.normal,
                           QStringLiteral("v0.1.0"));
    version->setEnabled(false);
    for (int i = 1; i <= 4; ++i) {
        Button(dlg, ini, QStringLiteral("FUNC_REPORT%1").arg(i), p.normal, p.over, p.down, p.normal, p.disable)
            ->SetChecked(i == 1);
    }

    // The lighting panel as it shows effect 1: direction, colour group A, brightness and speed.
    Picture(dlg, ini, folder, QStringLiteral("CONTROL_DengStaPic"), QStringLiteral("dengdown.bmp"));
    Label(dlg, ini, QStringLiteral("CONTROL_DengStatic"), QStringLiteral("Lighting"), kTextColour);
    auto* effects = Placed<QComboBox>(dlg, ini, QStringLiteral("CONTROL_XGcombox"));
    effects->addItems({QStringLiteral("Wave"), QStringLiteral("Breathing"), QStringLiteral("Ripple")});
    Label(dlg, ini, QStringLiteral("CONTROL_LightStatic"), QStringLiteral("Brightness"));
    Label(dlg, ini, QStringLiteral("CONTROL_SpeedStatic"), QStringLiteral("Speed"));
    const std::pair<const char*, const char*> sliders[] = {{"CONTROL_LightSlider", "4.bmp"},
                                                           {"CONTROL_SpeedSlider", "8.bmp"}};
    int id = 1178;
    for (const auto& [key, face] : sliders) {
        auto* s = Placed<CBitmapSlider>(dlg, ini, QString::fromLatin1(key));
        s->SetControlId(id++);
        s->SetRange(0, 5);
        s->SetPicture(*cache.pixmap(folder + QLatin1Char('/') + QLatin1String(face)));
    }
    Label(dlg, ini, QStringLiteral("CONTROL_UsbStatic"), QStringLiteral("USB rate (Hz)"));
    Label(dlg, ini, QStringLiteral("CONTROL_BLFXStatic2"), QStringLiteral("Direction"));
    Picture(dlg, ini, folder, QStringLiteral("CONTROL_BLFXLStaPic2"), QStringLiteral("leftup.bmp"));
    Picture(dlg, ini, folder, QStringLiteral("CONTROL_BLFXRStaPic2"), QStringLiteral("rightdown.bmp"));
    Label(dlg, ini, QStringLiteral("CONTROL_HXysStatic"), QStringLiteral("Colour"));
    auto* colour = Placed<CSkinColorBtn>(dlg, ini, QStringLiteral("CONTROL_HXysButton"));
    colour->SetColor(QColor(0x2e, 0xe6, 0xd6));
    Picture(dlg, ini, folder, QStringLiteral("CONTROL_HXsjsStaPic"), QStringLiteral("sjsdown.bmp"));
    Label(dlg, ini, QStringLiteral("CONTROL_HXsjsStatic"), QStringLiteral("Colourful"));
    Label(dlg, ini, QStringLiteral("CONTROL_RGBStatic"), QStringLiteral("RGB"));
    for (const char* key : {"COLOR_R", "COLOR_G", "COLOR_B"})
        Placed<QLineEdit>(dlg, ini, QString::fromLatin1(key))->setText(QStringLiteral("255"));
    for (int i = 1; i <= 8; ++i) {
        Picture(dlg, ini, folder, QStringLiteral("CONTROL_Color%1").arg(i), QStringLiteral("Color%1.bmp").arg(i));
    }
    Picture(dlg, ini, folder, QStringLiteral("CONTROL_JDTStatic"), QStringLiteral("jdt4.bmp"));
}

void BuildComposite(CBaseDialog* dlg, const QString& folder) {
    const QString ini = dlg->layoutFile();
    const Pictures key = LoadSet(folder, QStringLiteral("key"), false);
    const Pictures macro = LoadSet(folder, QStringLiteral("macro"), true);
    // The mask lies lowest; the single-key page is shown.
    Button(dlg, ini, QStringLiteral("CONTROL_MASK"), key.normal, key.normal, key.normal, key.normal, key.normal);
    const QString frame[][2] = {{"CONTROL_TITLE", ""},
                                {"CONTROL_KEY", "Single key"},
                                {"CONTROL_MACRO", "Macro"},
                                {"CONTROL_MEDIA", "Multimedia"},
                                {"CONTROL_FUNCTION", "Function"},
                                {"CONTROL_OSK", ""},
                                {"CONTROL_CLEAR", "Clear"},
                                {"CONTROL_OK", "OK"},
                                {"CONTROL_CANCEL", "Cancel"}};
    for (const auto& f : frame)
        Button(dlg, ini, f[0], key.normal, key.over, key.down, key.disable, key.normal, f[1]);
    Label(dlg, ini, QStringLiteral("KEY_SETTING"), QStringLiteral("Key setting — G3"), kTextColour);
    Label(dlg, ini, QStringLiteral("TISHI_SINGLE_STATIC"), QStringLiteral("Press the key this key should send:"));
    auto* input = Placed<QLineEdit>(dlg, ini, QStringLiteral("FUNC_KEY_INPUT"));
    input->setReadOnly(true);
    input->setAlignment(Qt::AlignCenter);
    QFont big = input->font();
    big.setPixelSize(24);
    input->setFont(big);
    input->setText(QStringLiteral("Ctrl + C"));
    Placed<QCheckBox>(dlg, ini, QStringLiteral("FUNC_KEY_RADIO_KB"))->setChecked(true);
    Label(dlg, ini, QStringLiteral("FUNC_KEY_RADIO_KB_STATIC"), QStringLiteral("Keyboard key"), kTextColour);
    Placed<QCheckBox>(dlg, ini, QStringLiteral("FUNC_KEY_RADIO_MOU"));
    Label(dlg, ini, QStringLiteral("FUNC_KEY_RADIO_MOU_STATIC"), QStringLiteral("Mouse button"), kTextColour);
    Q_UNUSED(macro);
}

void BuildProfile(CBaseDialog* dlg, const QString& folder) {
    const QString ini = dlg->layoutFile();
    const Pictures p = LoadSet(folder, QStringLiteral("Profile"), false);
    auto* list = Placed<CReportCtrl>(dlg, ini, QStringLiteral("PROGRAM_LIST"));
    list->SetCheckMode(CReportCtrl::kSingleCheck);
    list->InsertColumn(0, QStringLiteral("激活"), Qt::AlignLeft, 60);
    list->InsertColumn(1, QStringLiteral("名称"), Qt::AlignLeft, 120);
    list->InsertColumn(2, QStringLiteral("路径"), Qt::AlignLeft, 230);
    const QString rows[][2] = {
        {"Default", "/home/user/Profiles/"}, {"Shooter", "/home/user/Profiles/"}, {"Office", "/home/user/Documents/"}};
    for (int i = 0; i < 3; ++i) {
        list->InsertItem(i, QString());
        list->SetItemText(i, 1, rows[i][0]);
        list->SetItemText(i, 2, rows[i][1]);
    }
    list->SetCheck(1, true);
    const QString buttons[][2] = {{"FUNC_ADD", "Add"},  {"FUNC_LOAD", "Load"},        {"FUNC_DELETE", "Delete"},
                                  {"CONTROL_OK", "OK"}, {"CONTROL_CANCEL", "Cancel"}, {"CONTROL2_APPLY", "Apply"}};
    for (const auto& b : buttons) {
        Button(dlg, ini, b[0], p.normal, p.over, p.down, p.down, p.normal, b[1]);
    }
}

void BuildUpdate(CBaseDialog* dlg, const QString& folder) {
    const QString ini = dlg->layoutFile();
    const Pictures p = LoadSet(folder, QStringLiteral("update"), false);
    auto* path = Label(dlg, ini, QStringLiteral("CONTROL_UPStatic"), QStringLiteral("  No updater chosen"));
    path->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    auto* combo = Placed<QComboBox>(dlg, ini, QStringLiteral("CONTROL_UPCombox"));
    combo->hide();
    for (const char* key : {"CONTROL_OPENButton", "CONTROL_UPButton", "CONTROL_CUPButton", "CONTROL_BACKUPButton"})
        Button(dlg, ini, QString::fromLatin1(key), p.normal, p.over, p.over, p.normal, p.normal);
}

} // namespace

QStringList GalleryDialogNames() {
    return {QStringLiteral("Main"), QStringLiteral("Composite"), QStringLiteral("Profile"),
            QStringLiteral("UpdateDlg")};
}

std::unique_ptr<CBaseDialog> BuildGalleryDialog(const QString& name, const QString& skinDir) {
    if (!GalleryDialogNames().contains(name)) return nullptr;
    const QString skinFolder = QDir(skinDir).absolutePath();
    const QString ini = QDir(skinFolder).filePath(name + QStringLiteral(".ini"));
    auto dlg = std::make_unique<CBaseDialog>(ini);
    dlg->setObjectName(name);
    dlg->setStyleSheet(QString::fromLatin1(kControlStyle));
    if (!dlg->applyDialogSkin()) return nullptr;
    if (name == QLatin1String("Main"))
        BuildMain(dlg.get(), skinFolder);
    else if (name == QLatin1String("Composite"))
        BuildComposite(dlg.get(), skinFolder);
    else if (name == QLatin1String("Profile"))
        BuildProfile(dlg.get(), skinFolder);
    else
        BuildUpdate(dlg.get(), skinFolder);
    dlg->setWindowTitle(QStringLiteral("Ombrel skin gallery — %1").arg(name));
    return dlg;
}

int RenderGallery(const QString& skinFolder, const QString& outFolder) {
    QDir().mkpath(outFolder);
    int failures = 0;
    for (const QString& name : GalleryDialogNames()) {
        auto dlg = BuildGalleryDialog(name, skinFolder);
        if (!dlg || !dlg->grab().save(QDir(outFolder).filePath(name + QStringLiteral(".png")))) ++failures;
    }
    return failures;
}

} // namespace ombrel
