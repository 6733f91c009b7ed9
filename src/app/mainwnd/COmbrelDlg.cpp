#include "COmbrelDlg.h"

#include "CAboutDlg.h"
#include "CPngButton.h"
#include "CTrayIcon.h"
#include "DeviceTask.h"
#include "LightingPanelFrame.h"
#include "MainMessages.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "UserPrompts.h"

#include "device/ActiveProfile.h"
#include "keyboard/ConfigBlock.h"
#include "platform/PerUserFolder.h"
#include "text/IniFile.h"
#include "text/LanguageChoice.h"
#include "text/LanguageTexts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QThread>

#include <cstdio>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
constexpr int kApplyFrames = 10;
constexpr int kIndicatorLingerMs = 100;
constexpr int kVersionPromptDelayMs = 10;
constexpr char kDefaultLink[] = "https://ombrel.invalid/support";
constexpr char kUpdaterName[] = "Varn88-3-Updater";

// Button text colours, 0x00BBGGRR: light text, the accent for pressed and checked, dim when disabled.
constexpr std::uint32_t kTextColour = 0xF2ECE8;
constexpr std::uint32_t kAccentColour = 0xD6E62E;
constexpr std::uint32_t kDisabledColour = 0x5C504A;
const QString kButtonFont = QStringLiteral("Inter");

// Dark looks for the plain Qt controls so that they sit well on the skin.
const char* kControlStyle =
    "QLineEdit,QComboBox{background:#0b0d10;color:#e8ecf2;border:1px solid #333843;border-radius:4px;"
    "font-size:13px;padding:2px 8px;}QLineEdit:disabled,QComboBox:disabled{color:#5a616e;border-color:#23272e;}"
    "QToolTip{background:#16191f;color:#e8ecf2;border:1px solid #2ee6d6;padding:3px;}";

QString Text(const char* key, int languageIndex) {
    return QString::fromStdString(lookupText(key, languageIndex));
}

// main_normal darkened: the face of a key the layout switches off.
QPixmap Dimmed(const QPixmap* normal) {
    if (!normal || normal->isNull()) return {};
    QPixmap dimmed = *normal;
    QPainter p(&dimmed);
    p.fillRect(dimmed.rect(), QColor(10, 12, 15, 150));
    return dimmed;
}

} // namespace

COmbrelDlg::COmbrelDlg(MainContext context)
    : CBaseDialog(QString::fromStdString(context.paths.mainIni)), m_context(std::move(context)),
      m_screen(*this, m_dispatcher), m_commands(*this), m_profiles(*this) {
    setObjectName(QStringLiteral("COmbrelDlg"));
    m_applyAnimTimer.setInterval(kApplyAnimIntervalMs);
    connect(&m_applyAnimTimer, &QTimer::timeout, this, &COmbrelDlg::onApplyAnimTimer);
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(0);
    connect(&m_reloadTimer, &QTimer::timeout, this, &COmbrelDlg::onReloadTimer);
    m_previewTimer.setSingleShot(true);
    connect(&m_previewTimer, &QTimer::timeout, this, &COmbrelDlg::onPreviewTimer);
}

COmbrelDlg::~COmbrelDlg() {
    ShutdownMain();
}

bool COmbrelDlg::OnInitDialog(QString* error) {
    if (!applyDialogSkin()) {
        if (error) *error = QStringLiteral("the skin of the main window could not be read");
        return false;
    }
    setStyleSheet(QString::fromLatin1(kControlStyle));
    const QString skinFolder = QString::fromStdString(m_context.paths.mainIniDir);
    setWindowIcon(QIcon(QDir(skinFolder).filePath(QStringLiteral("Ombrel.png"))));
    m_screen.setWindowReady(false);

    std::string linkError;
    m_link = DeviceLink::start(*m_context.api, m_screen, &linkError, m_context.timing);
    if (!m_link) {
        if (error) *error = QString::fromStdString(linkError);
        return false;
    }
    m_link->state().autoShowDone.store(m_context.autoShowDone);
    {
        std::lock_guard lock(m_stores.workingStore.lock);
        InitKeyImage(m_stores.workingStore.image);
    }

    auto& cache = SkinImageCache::instance();
    auto picture = [&](const char* name) { return cache.pixmap(QDir(skinFolder).filePath(QString::fromLatin1(name))); };
    MapPictures pictures;
    pictures.normal = picture("main_normal.jpg");
    pictures.over = picture("main_over.jpg");
    pictures.down = picture("main_down.jpg");
    pictures.disable = picture("main_disable.jpg");
    pictures.normal2 = pictures.normal; // the second set is read from the same files
    pictures.arrow = picture("Arrow.jpg");
    pictures.color0 = picture("main_color0.jpg");
    pictures.color1 = picture("main_color1.jpg");
    pictures.dimmed = Dimmed(pictures.normal);

    m_vendorLink = QString::fromStdString(ReadIniString(m_context.paths.mainIni, "SCREEN", "Link", kDefaultLink));

    m_map = new KeyboardMap(this, layoutFile(), pictures, [this](int id) { OnCommand(id); });
    m_map->PlaceKeyButtons();
    m_map->PlaceMapControls();
    buildFunctionButtons();
    SetApplyPending(false);
    m_map->ApplyLayout(std::atoi(m_context.settings->getProfileString("Flip", "0").c_str()));

    const PerUserFolderResult folder = PreparePerUserFolder(m_context.paths);
    if (folder.status == PerUserFolderStatus::Failed)
        std::fprintf(stderr, "ombrel: per-user folder: %s\n", folder.error.c_str());

    auto* panel = new LightingPanelFrame;
    panel->build(this, layoutFile(), skinFolder, pictures);
    m_progress = panel->progress();
    m_lightingControls = panel->controls();
    m_lightingPanel.reset(panel);

    m_trayAvailable = m_context.trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    m_tray = new CTrayIcon(skinFolder, this);
    connect(m_tray, &CTrayIcon::command, this, [this](int id) { OnCommand(id); });
    m_tray->SetMenuCallback([this](QMenu* menu) {
        const std::pair<int, const char*> rows[] = {
            {kCmdTrayOpen, "MENU_11"}, {kCmdTrayAbout, "MENU_22"}, {kCmdTrayExit, "MENU_33"}};
        for (QAction* action : menu->actions())
            for (const auto& [id, key] : rows)
                if (action->data().toInt() == id) action->setText(Text(key, m_languageIndex));
    });

    setWindowTitle(Text("MAIN_CAPTION", m_languageIndex));
    m_multiSelect = false;

    QCoreApplication::postEvent(this, new AppMessageEvent(UM_INIT, kTagInit, 0));
    const int language = currentLanguageIndex(*m_context.settings);
    AppMessageEvent lang(UM_LANG, kTagLang, language > 5 ? 0 : language);
    QCoreApplication::sendEvent(this, &lang);

    // The presence worker's first report; its messages are handled once the event loop runs.
    m_link->startPresence();
    return true;
}

CPngButton* COmbrelDlg::makeFunctionButton(int id, const QString& key, const QPixmap* normal, const QPixmap* over,
                                           const QPixmap* down, const QPixmap* disabled, const QPixmap* checked) {
    auto* b = new CPngButton(this);
    b->setObjectName(key);
    b->setProperty("controlId", id);
    b->setFocusPolicy(Qt::NoFocus);
    placeSkinButton(b, layoutFile(), kSection, key, normal, over, down, disabled, checked);
    connect(b, &CPngButton::clicked, this, [this, id] { OnCommand(id); });
    m_functionButtons[id] = b;
    return b;
}

void COmbrelDlg::buildFunctionButtons() {
    auto& cache = SkinImageCache::instance();
    const QString folder = QString::fromStdString(m_context.paths.mainIniDir);
    auto picture = [&](const char* name) { return cache.pixmap(QDir(folder).filePath(QString::fromLatin1(name))); };
    const QPixmap* n = picture("main_normal.jpg");
    const QPixmap* o = picture("main_over.jpg");
    const QPixmap* d = picture("main_down.jpg");
    const QPixmap* x = picture("main_disable.jpg");
    auto styled = [&](CPngButton* b) {
        b->SetTextStyle(true, 10, kButtonFont, kTextColour, kTextColour, kAccentColour, kDisabledColour, kAccentColour);
        return b;
    };
    // The link shows its target; the profile button the active profile's name.
    styled(makeFunctionButton(kIdVendorLink, QStringLiteral("SORVIK_LINK"), n, o, d, n, x))
        ->setText(QUrl(m_vendorLink).host().isEmpty() ? m_vendorLink : QUrl(m_vendorLink).host());
    styled(makeFunctionButton(kIdProfileList, QStringLiteral("FUNC_PROFILES"), n, o, d, n, x));
    styled(makeFunctionButton(kIdMacro, QStringLiteral("FUNC_MACRO"), n, o, d, n, x));
    styled(makeFunctionButton(IDOK, QStringLiteral("CONTROL_OK"), n, o, d, n, x));
    styled(makeFunctionButton(IDCANCEL, QStringLiteral("CONTROL_CANCEL"), n, o, d, n, x));
    makeFunctionButton(kIdHelp, QStringLiteral("CONTROL_HELP"), n, o, d, n, x);
    makeFunctionButton(kIdClose, QStringLiteral("CONTROL_CLOSE"), n, o, d, n, x);
    makeFunctionButton(kIdMinimize, QStringLiteral("CONTROL_MINIMIZE"), n, o, d, n, x);
    makeFunctionButton(kIdMenu, QStringLiteral("CONTROL_MENU"), n, o, d, n, x);
    // Apply's disabled face is the normal one with dim text, so "nothing to apply" reads at a glance.
    styled(makeFunctionButton(kIdApply, QStringLiteral("CONTROL2_APPLY"), n, o, d, n, x));
    auto* version = makeFunctionButton(kIdVersion, QStringLiteral("SORVIK_VER"), n, n, n, n, n);
    version->SetTextStyle(true, 9, kButtonFont, kDisabledColour, kDisabledColour, kDisabledColour, 0xA2928A,
                          kDisabledColour);
    version->setText(QStringLiteral("v" OMBREL_VERSION));
    version->setEnabled(false);
    styled(makeFunctionButton(kIdDefault, QStringLiteral("FUNC_DEFAULT"), n, o, d, n, x));
    for (int i = 0; i < 3; ++i)
        styled(m_map->button(kIdProfile1 + i));
    styled(m_map->button(kIdSwitch));
    makeFunctionButton(kIdWebSite, QStringLiteral("CONTROL_Network"), n, o, d, n, x)->SetTooltip(m_vendorLink);
    // The two social-media pages: the program has none to offer, so their buttons stay off.
    makeFunctionButton(kIdSocial1, QStringLiteral("CONTROL_Facebook"), n, o, d, n, x)->setEnabled(false);
    makeFunctionButton(kIdSocial2, QStringLiteral("CONTROL_twitter"), n, o, d, n, x)->setEnabled(false);
    // Built later: the profile manager.
    functionButton(kIdProfileList)->setEnabled(false);
    m_map->SetSwitchCaption(Text("MAIN_SWITCH_FUNCTION_TEXT", m_languageIndex));
}

CPngButton* COmbrelDlg::functionButton(int id) const {
    const auto it = m_functionButtons.find(id);
    if (it != m_functionButtons.end()) return it->second;
    return m_map ? m_map->button(id) : nullptr;
}

void COmbrelDlg::setCaption(int id, const QString& text) {
    if (CPngButton* b = functionButton(id)) b->setText(text);
}

// ---- messages ----

bool COmbrelDlg::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    switch (type) {
    case UM_INIT:
    case UM_OPEN:
    case UM_KILL:
    case UM_PROF:
    case UM_DEL:
    case UM_LANG:
    case UM_DETACH: {
        const auto* message = static_cast<AppMessageEvent*>(event);
        handleMessage(type, message->wParam(), message->lParam());
        return true;
    }
    default:
        return CBaseDialog::event(event);
    }
}

bool COmbrelDlg::handleMessage(int message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case UM_INIT:
        if (wParam != kTagInit) return false;
        onInit();
        return true;
    case UM_OPEN:
        if (wParam != kTagOpen) return false;
        onOpen();
        return true;
    case UM_KILL:
        if (wParam != kTagKill) return false;
        ExitMain();
        return true;
    case UM_PROF:
        if (wParam != kTagProf) return false;
        onProfileReload();
        return true;
    case UM_DEL:
        if (wParam != kTagDel) return false;
        onBankChanged();
        return true;
    case UM_LANG:
        if (wParam != kTagLang) return false;
        onLanguage(static_cast<int>(lParam));
        return true;
    case UM_DETACH:
        if (wParam != kTagDetach) return false;
        onDetach();
        return true;
    default:
        return false;
    }
}

void COmbrelDlg::onInit() {
    if (m_shutDown) return;
    m_tray->Create(Text("KEYBOARD_TRAY_DESC", m_languageIndex), kTrayIconAbsent, m_trayAvailable);
    m_profiles.RefreshProfileName();
    m_screen.setWindowReady(true);
    if (m_trayAvailable) {
        hide();
    } else {
        // Without a tray the window is the only way to reach the program.
        show();
    }
}

void COmbrelDlg::onOpen() {
    if (m_shutDown) return;
    if (DeviceTask::running()) {
        // A later start during a keyboard write: the firmware check asks the keyboard, so it waits for the write.
        m_dispatcher.post([this] { onOpen(); }, UiDispatcher::Kind::StoreBound);
        return;
    }
    ShowMain();
    checkFirmware();
}

void COmbrelDlg::checkFirmware() {
    std::array<std::uint8_t, kConfigSize> block{};
    // Without an answer from the keyboard its firmware is unknown: there is nothing to tell the user.
    if (!m_link || m_link->commands().ReadConfig(block) != 1) return;
    ConfigBlock config;
    std::copy(block.begin(), block.end(), config.bytes.begin());
    if (!config.needsFirmwareUpdate()) return;
    QThread::msleep(kVersionPromptDelayMs);
    const auto answer =
        UserPrompts::ask(this, QStringLiteral("The current version is too low!"), QStringLiteral("Version update"),
                         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer != QMessageBox::Ok) {
        ExitMain();
        return;
    }
    QThread::msleep(kVersionPromptDelayMs);
    const QString updater = QDir(QString::fromStdString(m_context.paths.helpDir)).filePath(kUpdaterName);
    if (!QProcess::startDetached(updater, {QStringLiteral("In the upgrade")},
                                 QString::fromStdString(m_context.paths.helpDir)))
        std::fprintf(stderr, "ombrel: the firmware updater %s could not be started\n", qPrintable(updater));
}

void COmbrelDlg::onProfileReload() {
    if (m_shutDown) return;
    m_profiles.ReloadFromKeyboard(false);
    MarkProfileButtons();
    m_profiles.RefreshProfileName();
}

void COmbrelDlg::onBankChanged() {
    if (m_shutDown) return;
    const int b = bank();
    {
        std::lock_guard lock(m_stores.workingStore.lock);
        m_map->RefreshGKeyMarks(m_stores.workingStore.image, activeLayer(), b);
        m_map->RefreshOverlays(m_stores.workingStore.image, activeLayer(), b, m_multiSelect);
    }
    m_map->SetBankDisplay(b);
}

void COmbrelDlg::onLanguage(int languageIndex) {
    m_languageIndex = languageIndex;
    if (m_about) {
        AppMessageEvent forward(UM_LANG, kTagLang, languageIndex);
        QCoreApplication::sendEvent(m_about, &forward);
    }
    const std::pair<int, const char*> tips[] = {{kIdMinimize, "MAIN_MINIMIZE_PROMPT"},
                                                {kIdMenu, "MAIN_MENU_PROMPT"},
                                                {kIdClose, "MAIN_CLOSE_PROMPT"},
                                                {kIdHelp, "MAIN_HELP_PROMPT"}};
    for (const auto& [id, key] : tips)
        if (CPngButton* b = functionButton(id)) b->SetTooltip(Text(key, languageIndex));
    const std::pair<int, const char*> captions[] = {{kIdProfile1, "PROFILE_1"},      {kIdProfile1 + 1, "PROFILE_2"},
                                                    {kIdProfile1 + 2, "PROFILE_3"},  {kIdMacro, "PROFILE_MACRO"},
                                                    {kIdDefault, "PROFILE_DEFAULT"}, {IDOK, "PROFILE_OK"},
                                                    {IDCANCEL, "PROFILE_CANCLE"},    {kIdApply, "PROFILE_APPLY"}};
    for (const auto& [id, key] : captions)
        setCaption(id, Text(key, languageIndex));
    m_map->SetSwitchCaption(
        Text(m_multiSelect ? "MAIN_SWITCH_COLOR_TEXT" : "MAIN_SWITCH_FUNCTION_TEXT", languageIndex));
    m_lightingPanel->applyTexts(m_languageIndex);
    setWindowTitle(Text("MAIN_CAPTION", languageIndex));
}

void COmbrelDlg::onDetach() {
    closeOwnedDialogs();
    if (auto* first = functionButton(kIdProfile1)) first->setFocus();
}

void COmbrelDlg::closeOwnedDialogs() {
    if (CAboutDlg* about = m_about.data()) about->reject();
}

// ---- timers ----

void COmbrelDlg::startReloadTimer() {
    if (isVisible())
        m_reloadTimer.start();
    else
        m_reloadPending = true;
}

void COmbrelDlg::onReloadTimer() {
    // The lighting panel reads the lighting again here once it exists; until then nothing on screen shows it.
}

void COmbrelDlg::onPreviewTimer() {
    if (m_lightingPanelOn && isVisible()) m_previewTimer.start(kPreviewIntervalMs);
}

void COmbrelDlg::updatePreviewTimer() {
    // The preview only animates the lighting panel, so it runs only while the panel is on and visible.
    if (m_lightingPanelOn && isVisible()) {
        if (!m_previewTimer.isActive()) m_previewTimer.start(kPreviewFirstIntervalMs);
    } else {
        m_previewTimer.stop();
    }
}

void COmbrelDlg::onApplyAnimTimer() {
    m_applyAnimFrame = m_applyAnimFrame % kApplyFrames + 1;
    const QString name = QStringLiteral("jdt%1.bmp").arg(m_applyAnimFrame);
    m_progress->setPixmap(
        *SkinImageCache::instance().pixmap(QDir(QString::fromStdString(m_context.paths.mainIniDir)).filePath(name)));
}

void COmbrelDlg::startApplyIndicator() {
    m_applyAnimFrame = 0;
    onApplyAnimTimer();
    m_progress->show();
    if (isVisible()) m_applyAnimTimer.start();
}

void COmbrelDlg::stopApplyIndicator() {
    // The picture stays a moment, so even an Apply with nothing to write is seen to happen.
    QTimer::singleShot(kIndicatorLingerMs, this, [this] {
        m_applyAnimTimer.stop();
        if (!DeviceTask::running()) m_progress->hide();
    });
}

void COmbrelDlg::showEvent(QShowEvent* event) {
    CBaseDialog::showEvent(event);
    updatePreviewTimer();
    if (m_reloadPending) {
        m_reloadPending = false;
        m_reloadTimer.start();
    }
    if (m_progress && m_progress->isVisible() && !m_applyAnimTimer.isActive() && DeviceTask::running())
        m_applyAnimTimer.start();
}

void COmbrelDlg::hideEvent(QHideEvent* event) {
    CBaseDialog::hideEvent(event);
    // Nothing of ours ticks while nobody can see the window.
    m_previewTimer.stop();
    m_applyAnimTimer.stop();
    if (m_reloadTimer.isActive()) {
        m_reloadTimer.stop();
        m_reloadPending = true;
    }
}

// ---- operations ----

void COmbrelDlg::ShowMain() {
    if (!m_link || !m_link->state().devicePresent()) {
        UserPrompts::information(this, Text("MAIN_NO_DEVICE_PROMPT", m_languageIndex));
        return;
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void COmbrelDlg::HideMain() {
    if (m_trayAvailable)
        hide();
    else if (isVisible())
        showMinimized();
}

void COmbrelDlg::SetApplyPending(bool pending) {
    m_applyPending = pending;
    if (CPngButton* apply = functionButton(kIdApply)) apply->setEnabled(pending);
}

void COmbrelDlg::SetTrayState(int mode, int icon) {
    if (m_tray) m_tray->SetState(mode, icon);
}

void COmbrelDlg::ExitMain() {
    if (m_ended) return;
    if (DeviceTask::running()) {
        // The end waits for the keyboard write to finish; the write holds the stores.
        m_dispatcher.post([this] { ExitMain(); }, UiDispatcher::Kind::StoreBound);
        return;
    }
    finishExit(0);
}

void COmbrelDlg::finishExit(int exitCode) {
    hide();
    ShutdownMain();
    m_ended = true;
    emit ended(exitCode);
}

void COmbrelDlg::ShutdownMain() {
    if (m_shutDown) return;
    m_shutDown = true;
    closeOwnedDialogs();
    if (m_tray) m_tray->Remove();
    SetApplyPending(false);
    m_previewTimer.stop();
    m_applyAnimTimer.stop();
    m_reloadTimer.stop();
    // Waiting workers are released before the link joins them.
    m_dispatcher.makeInert();
    if (m_link) m_link->shutdown();
    {
        std::lock_guard lock(m_stores.workingStore.lock);
        ClearStrings(m_stores.workingStore);
        ClearMacros(m_stores.workingStore);
        ClearImage(m_stores.workingStore);
    }
    {
        std::lock_guard lock(m_stores.outgoingStore.lock);
        ClearStrings(m_stores.outgoingStore);
        ClearMacros(m_stores.outgoingStore);
        ClearImage(m_stores.outgoingStore);
    }
}

CAboutDlg* COmbrelDlg::aboutDialog() const {
    return m_about.data();
}

void COmbrelDlg::OpenAbout() {
    const QString icon =
        QDir(QString::fromStdString(m_context.paths.mainIniDir)).filePath(QStringLiteral("Ombrel.png"));
    const bool opened = !m_about;
    m_about = CAboutDlg::open(icon, m_vendorLink, m_languageIndex);
    if (opened && m_about) connect(m_about, &CAboutDlg::helpRequested, this, [this] { m_commands.OpenHelp(); });
}

int COmbrelDlg::activeLayer() {
    if (!m_link) return 0;
    const int active = GetActiveProfile(m_link->commands(), m_link->state());
    return active >= 0 && active < kProfileCount ? active : 0;
}

int COmbrelDlg::bank() {
    return m_link ? m_link->state().bank() : 0;
}

void COmbrelDlg::RefreshKeyMarks() {
    auto& working = m_stores.workingStore;
    std::lock_guard lock(working.lock);
    m_map->RefreshKeyMarks(working.image, activeLayer(), bank(), MacroNamesOf(working), m_languageIndex);
    m_map->ApplyLayout(std::atoi(m_context.settings->getProfileString("Flip", "0").c_str()));
}

void COmbrelDlg::RefreshOverlays() {
    auto& working = m_stores.workingStore;
    std::lock_guard lock(working.lock);
    m_map->RefreshOverlays(working.image, activeLayer(), bank(), m_multiSelect);
}

void COmbrelDlg::MarkProfileButtons() {
    if (!m_link) return;
    m_map->MarkProfileButtons(GetActiveProfile(m_link->commands(), m_link->state()));
}

// ---- commands ----

void COmbrelDlg::OnCommand(int id) {
    if (m_shutDown) return;
    if (KeyboardMap::IsKeyButton(id) || KeyboardMap::IsExtraKeyButton(id) || KeyboardMap::IsGKeyButton(id)) {
        openForKey(id);
        return;
    }
    if (id >= kIdProfile1 && id < kIdProfile1 + 3) {
        m_profiles.SelectProfile(id - kIdProfile1);
        return;
    }
    switch (id) {
    case IDOK:
        m_commands.ApplyChanges();
        HideMain();
        break;
    case IDCANCEL:
        HideMain();
        break;
    case kIdApply:
        m_commands.ApplyChanges();
        break;
    case kIdDefault:
        m_commands.ResetAll();
        break;
    case kIdMacro:
        openForKey(GKeyControls()[kGKeyCount - 1]);
        break;
    case kIdFlip1:
    case kIdFlip2:
        toggleFlip();
        break;
    case kIdSwitch:
        SetMultiSelect(!m_multiSelect);
        break;
    case kIdMenu:
        m_commands.ShowBackupMenu(QCursor::pos());
        break;
    case kCmdRestore:
        m_commands.ImportProfiles();
        break;
    case kCmdBackup:
        m_commands.ExportProfiles();
        break;
    case kIdHelp:
        m_commands.OpenHelp();
        break;
    case kIdMinimize:
        showMinimized();
        break;
    case kIdClose:
    case kCmdTrayExit:
        if (m_commands.ConfirmUnappliedChanges()) ExitMain();
        break;
    case kIdVendorLink:
    case kIdWebSite:
        m_commands.OpenVendorLink(m_vendorLink);
        break;
    case kCmdFirmware:
        m_commands.OpenFirmwareDialog();
        break;
    case kCmdTrayOpen:
        ShowMain();
        break;
    case kCmdTrayAbout:
    case kCmdAbout:
        OpenAbout();
        break;
    default:
        break; // Fn, the indicators, Flip0: nothing in the key view
    }
}

void COmbrelDlg::openForKey(int controlId) {
    // In the key view a key opens its assignment dialog, which is not part of this version yet: nothing happens.
    if (!m_multiSelect) return;
    const auto index = KeyboardMap::KeyIndexOfButton(controlId, bank());
    if (!index) return;
    auto& working = m_stores.workingStore;
    {
        std::lock_guard lock(working.lock);
        const int n = RecordNumber(activeLayer(), *index);
        KeyRecord record = working.image.record(n);
        record.mark = record.mark ? 0 : 1;
        working.image.setRecord(n, record);
    }
    SetApplyPending(true);
    RefreshOverlays();
}

void COmbrelDlg::toggleFlip() {
    const int flip = std::atoi(m_context.settings->getProfileString("Flip", "0").c_str());
    // Any value but 1 shows the first layout, so a press always leads to the other one.
    const int next = flip == 1 ? 0 : 1;
    m_context.settings->writeProfileString("Flip", next ? "1" : "0");
    m_map->ApplyLayout(next);
}

void COmbrelDlg::SetMultiSelect(bool on) {
    m_multiSelect = on;
    m_map->SetSwitchCaption(
        Text(m_multiSelect ? "MAIN_SWITCH_COLOR_TEXT" : "MAIN_SWITCH_FUNCTION_TEXT", m_languageIndex));
    RefreshOverlays();
}

// ---- input ----

void COmbrelDlg::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Escape closes or hides the window; F1 opens the help.
    switch (event->key()) {
    case Qt::Key_F1:
        event->accept();
        m_commands.OpenHelp();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

void COmbrelDlg::closeEvent(QCloseEvent* event) {
    // A close from the desktop (a window manager's close, Alt+F4): with a tray the window goes there, without one
    // the program ends, as its Close button does.
    event->ignore();
    if (m_trayAvailable)
        HideMain();
    else if (m_commands.ConfirmUnappliedChanges())
        ExitMain();
}

} // namespace ombrel
