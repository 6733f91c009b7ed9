#include "MainWindow.h"

#include "AboutDialog.h"
#include "BackupActions.h"
#include "CaptionBar.h"
#include "CommandBar.h"
#include "DeviceTask.h"
#include "FirmwareCheck.h"
#include "FirmwarePart.h"
#include "HistoryDialog.h"
#include "UnfinishedWriteQuestion.h"
#include "KeyAssignmentPart.h"
#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "MainMessages.h"
#include "MapKeyFocus.h"
#include "MapModeHint.h"
#include "NoKeyboardMessage.h"
#include "ProfileBar.h"
#include "ProgramIcon.h"
#include "QtLanguage.h"
#include "SessionStartCommand.h"
#include "SkinButton.h"
#include "SkinScale.h"
#include "SkinStyle.h"
#include "TabOrder.h"
#include "TrayIcon.h"
#include "UnpluggedNotice.h"
#include "UserPrompts.h"
#include "WindowShell.h"

#include "device/ActiveProfile.h"
#include "platform/PerUserFolder.h"
#include "text/LanguageChoice.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace ombrel {

namespace {

// Between the version and OK, on the row of the buttons that end an edit.
const QRect kPendingNoteRect(390, 646, 390, 48);

} // namespace

MainWindow::MainWindow(MainContext context)
    : SkinnedDialog(QString::fromStdString(context.paths.mainIni)), m_context(std::move(context)),
      m_screen(*this, m_dispatcher),
      m_parts(*this, layoutFile(), m_context.paths, *m_context.settings, m_dispatcher, m_screen) {
    setObjectName(QStringLiteral("MainWindow"));
    // The program's own window: a normal top-level window for task bars and window switchers, not a dialog.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    UserPrompts::rememberFoldersIn(m_context.settings);
}

MainWindow::~MainWindow() {
    shutDown();
    UserPrompts::rememberFoldersIn(nullptr);
}

bool MainWindow::initialize(QString* error) {
    const int language = std::clamp(currentLanguageIndex(*m_context.settings), 0, 5);
    // A skin picture that cannot be read ends the start: the user is told in the chosen language.
    SkinnedDialog::setFailureLanguage(language);
    // The background and the window's shape are decoded on another core while the parts are built.
    if (!beginDialogSkin()) {
        if (error) *error = QStringLiteral("the skin of the main window could not be read");
        return false;
    }
    setStyleSheet(ControlStyleSheet());
    m_screen.setWindowReady(false);

    std::string linkError;
    m_link = DeviceLink::start(*m_context.api, m_screen, &linkError, m_context.timing);
    if (!m_link) {
        if (error) *error = QString::fromStdString(linkError);
        return false;
    }
    m_parts.setLink(m_link.get());
    m_link->state().autoShowDone.store(m_context.autoShowDone);
    {
        std::lock_guard lock(stores().workingStore.lock);
        InitKeyImage(stores().workingStore.image);
    }

    const PerUserFolderResult folder = PreparePerUserFolder(m_context.paths);
    if (folder.status == PerUserFolderStatus::Failed)
        std::fprintf(stderr, "ombrel: per-user folder: %s\n", folder.error.c_str());

    buildParts();
    connectParts();

    // The tray and the first showing wait until the event loop runs.
    QMetaObject::invokeMethod(this, &MainWindow::onInit, Qt::QueuedConnection);
    onLanguage(language);

    // The presence worker's first report; its messages are handled once the event loop runs.
    m_link->startPresence();
    if (!finishDialogSkin()) {
        if (error) *error = QStringLiteral("the skin of the main window could not be read");
        return false;
    }
    // Last: the start may have made it on another core meanwhile.
    setWindowIcon(ProgramIcon(m_parts.skinFolder()));
    return true;
}

void MainWindow::openHistory() {
    HistoryDialog dialog(m_parts, this);
    connect(&dialog, &HistoryDialog::restored, this, &MainWindow::reloadAfterRewrite);
    dialog.exec();
}

void MainWindow::openApplicationRules() {
    ApplicationRulesDialog dialog(m_parts, apprules::ApplicationRulesPath(m_parts.paths()), m_runningApplications,
                                  this);
    connect(&dialog, &ApplicationRulesDialog::rulesSaved, this, &MainWindow::applicationRulesChanged);
    dialog.exec();
}

void MainWindow::reloadAfterRewrite() {
    // The keyboard was written behind the window's back: everything it shows is read again.
    m_profiles->reloadFromKeyboard(false);
    m_lighting->load(true);
    m_map->refresh();
}

void MainWindow::buildParts() {
    const MapPictures pictures = MapPictures::fromSkin(m_parts);
    m_map = new KeyboardMap(m_parts, pictures, this);
    m_caption = new CaptionBar(m_parts, this);
    m_profiles = new ProfileBar(m_parts, this);
    m_commands = new CommandBar(m_parts, this);
    m_backup = new BackupActions(m_parts, *m_commands, this);
    m_lighting = new LightingPanel(m_parts, pictures);
    m_lighting->attachMap(*m_map);
    // Switching the panel on goes through the profile switch, which asks about unapplied edits first.
    m_lighting->confirmSwitchOn = [this] {
        DeviceLink* link = m_parts.link();
        return link &&
               m_profiles->switchProfileForLighting(std::max(0, GetActiveProfile(link->commands(), link->state())));
    };
    // Apply's progress picture shares the panel's area and shows above it.
    m_commands->progressPicture()->raise();
    m_firmwarePart = new FirmwarePart(m_parts, this);
    m_firmware = new FirmwareCheck(m_parts, *m_firmwarePart, this);
    m_assign = new KeyAssignmentPart(m_parts, *m_map, this);
    const bool tray = m_context.trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    m_shell = new WindowShell(m_parts, tray, m_caption->vendorLink(), this);
    m_unplugged = new UnpluggedNotice(this);
    m_pendingNote = new QLabel(this);
    m_pendingNote->setObjectName(QStringLiteral("pendingNote"));
    m_pendingNote->setGeometry(ScaleSkinRect(kPendingNoteRect));
    m_pendingNote->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pendingNote->setWordWrap(true);
    m_pendingNote->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(Hex(palette::kAccent)));
    m_pendingNote->hide();
    m_mapHint = new MapModeHint(m_parts, *m_map);
    arrangeTabOrder();
}

void MainWindow::arrangeTabOrder() {
    // Reading order: the caption bar, the profiles, the map's own buttons and then its keys, the lighting panel,
    // and last the buttons that end an edit.
    using B = CaptionBar::Button;
    ArrangeTabOrder(this,
                    {m_caption->button(B::Menu), m_caption->button(B::Help), m_caption->button(B::Minimize),
                     m_caption->button(B::Close), m_profiles->profileButton(0), m_profiles->profileButton(1),
                     m_profiles->profileButton(2), m_profiles->nameButton(), m_map->switchButton(),
                     m_map->button(kIdLayoutToggle), m_map->macroButton(), m_map->keyFocus().current()},
                    {m_commands->button(CommandBar::Button::Default), m_commands->button(CommandBar::Button::Ok),
                     m_commands->button(CommandBar::Button::Cancel), m_commands->button(CommandBar::Button::Apply),
                     m_caption->button(B::Link)});
}

void MainWindow::connectParts() {
    connect(m_caption, &CaptionBar::minimizeRequested, this, &QWidget::showMinimized);
    connect(m_caption, &CaptionBar::closeRequested, this, &MainWindow::closeFromUser);
    connect(m_caption, &CaptionBar::restoreRequested, m_backup, &BackupActions::restore);
    connect(m_caption, &CaptionBar::backupRequested, m_backup, &BackupActions::backup);
    connect(m_caption, &CaptionBar::firmwareRequested, m_firmwarePart, &FirmwarePart::openDialog);
    connect(m_caption, &CaptionBar::languageChosen, this, &MainWindow::chooseLanguage);
    connect(m_caption, &CaptionBar::sessionStartChosen, this, [this](bool on) { SetSessionStart(m_parts, on); });
    connect(m_caption, &CaptionBar::aboutRequested, m_shell, &WindowShell::openAbout);
    connect(m_caption, &CaptionBar::discardRequested, this, &MainWindow::discardChanges);
    connect(m_caption, &CaptionBar::historyRequested, this, &MainWindow::openHistory);
    connect(m_caption, &CaptionBar::applicationRulesRequested, this, &MainWindow::openApplicationRules);
    connect(&m_parts.pending(), &PendingChanges::changed, m_pendingNote, [this](bool pending) {
        if (!pending) m_pendingNote->hide();
    });
    connect(&m_parts.pending(), &PendingChanges::changed, this, [this](bool pending) {
        if (!pending) emit keyboardChanged();
    });
    connect(&m_parts.pending(), &PendingChanges::changed, this, [this](bool pending) {
        if (!pending && std::exchange(m_killAfterWrite, false)) exitProgram();
    });
    connect(m_profiles, &ProfileBar::profileSelected, this, &MainWindow::keyboardChanged);
    connect(m_backup, &BackupActions::storeChanged, m_map, &KeyboardMap::refresh);
    connect(m_backup, &BackupActions::keyboardRewritten, this, &MainWindow::reloadAfterRewrite);

    connect(m_profiles, &ProfileBar::storeChanged, m_map, &KeyboardMap::refresh);
    connect(m_profiles, &ProfileBar::applyRequested, m_commands, &CommandBar::apply);
    connect(m_profiles, &ProfileBar::profileSelected, m_map, [this] { m_map->setMode(MapMode::ShowAssignments); });
    // Another profile: its lighting is shown, and the map goes back to the key view.
    connect(m_profiles, &ProfileBar::profileSelected, m_lighting, [this] {
        m_lighting->load(true);
        m_lighting->setPanelOn(false);
    });
    connect(m_lighting, &LightingPanel::paintModeChanged, m_map, [this](bool on) {
        if (on) {
            m_map->setMode(MapMode::PaintColours);
        } else if (m_map->mode() == MapMode::PaintColours) {
            m_map->setMode(MapMode::ShowAssignments);
            m_map->refresh();
        }
    });
    // The hint follows the mode and the effect; the panel says both whenever it shows its state.
    connect(m_lighting, &LightingPanel::paintModeChanged, m_mapHint,
            [this] { m_mapHint->showMode(m_lighting->paintsKeys()); });
    // Painted keys reach the keyboard at once; Apply is where a user expects the undo list to end.
    connect(m_commands, &CommandBar::applied, m_lighting, &LightingPanel::forgetPaints);
    connect(m_profiles, &ProfileBar::helpRequested, m_caption, &CaptionBar::openHelp);
    // The tray says which profile the keyboard holds, also when it changed by itself (the profile key, a rule).
    connect(m_profiles, &ProfileBar::profileNameShown, this, [this](const QString& tip) {
        if (m_shell) m_shell->tray().setDetail(tip);
    });

    connect(m_map, &KeyboardMap::marksChanged, &m_parts.pending(), [this] { m_parts.pending().set(true); });
    connect(m_assign, &KeyAssignmentPart::helpRequested, m_caption, &CaptionBar::openHelp);

    connect(m_commands, &CommandBar::hideRequested, this, &MainWindow::hideWindow);
    connect(m_commands, &CommandBar::keysReset, m_map, &KeyboardMap::refresh);
    // Default resets the lighting too while the panel is on.
    connect(m_commands, &CommandBar::keysReset, m_lighting, [this] {
        if (m_lighting->panelOn()) m_lighting->resetLighting();
    });

    connect(m_firmware, &FirmwareCheck::exitRequested, this, &MainWindow::exitProgram);

    connect(m_shell, &WindowShell::openRequested, this, &MainWindow::showWindow);
    connect(m_shell, &WindowShell::exitRequested, this, &MainWindow::closeFromUser);
    connect(m_shell, &WindowShell::helpRequested, m_caption, &CaptionBar::openHelp);
}

// ---- messages ----

bool MainWindow::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    switch (type) {
    case UM_OPEN:
    case UM_KILL:
    case UM_PROF:
    case UM_DEL:
    case UM_DETACH: {
        const auto* message = static_cast<AppMessageEvent*>(event);
        handleMessage(type, message->tag());
        return true;
    }
    default:
        return SkinnedDialog::event(event);
    }
}

bool MainWindow::handleMessage(int message, std::uintptr_t tag) {
    // A message whose tag is wrong is ignored, so a stray event of the same number cannot trigger it.
    switch (message) {
    case UM_OPEN:
        if (tag != kTagOpen) return false;
        onOpen();
        return true;
    case UM_KILL:
        if (tag == kTagKillForced) {
            exitProgram();
            return true;
        }
        if (tag != kTagKill) return false;
        onKill();
        return true;
    case UM_PROF:
        if (tag != kTagProf) return false;
        onProfileReload();
        return true;
    case UM_DEL:
        if (tag != kTagDel) return false;
        onBankChanged();
        return true;
    case UM_DETACH:
        if (tag != kTagDetach) return false;
        onDetach();
        return true;
    default:
        return false;
    }
}

void MainWindow::showChangedElsewhere() {
    if (m_shutDown) return;
    if (m_parts.pending().pending()) {
        m_pendingNote->setText(m_parts.text("MAIN_CHANGED_ELSEWHERE"));
        m_pendingNote->show();
    }
    // The same reload as when the keyboard's profile key is pressed: unapplied edits stay.
    m_dispatcher.post([this] { onProfileReload(); }, UiDispatcher::Kind::StoreBound);
}

void MainWindow::onInit() {
    if (m_shutDown) return;
    m_shell->createTray();
    m_profiles->showProfileName();
    m_screen.setWindowReady(true);
    // Without a tray the window is the only way to reach the program.
    setVisible(!m_shell->trayAvailable());
}

void MainWindow::onOpen() {
    if (m_shutDown) return;
    if (DeviceTask::running()) {
        // A later start during a keyboard write: the firmware check asks the keyboard, so it waits for the write.
        m_dispatcher.post([this] { onOpen(); }, UiDispatcher::Kind::StoreBound);
        return;
    }
    showWindow();
    m_firmware->run();
}

void MainWindow::onProfileReload() {
    if (m_shutDown) return;
    // The keyboard is back (or another one came). The focus goes to the map, not to whatever button follows the
    // note in the tab order (Enter there could reset the keys).
    const bool noteHadFocus = m_unplugged->isVisible() && m_unplugged->hasFocus();
    m_unplugged->hide();
    m_firmwarePart->keyboardBack();
    if (noteHadFocus || !focusWidget()) m_map->keyFocus().current()->setFocus(Qt::OtherFocusReason);
    // Unapplied edits stay, Apply lit, until they are applied or discarded: reading the keyboard would drop them.
    if (m_parts.pending().pending())
        m_map->refresh();
    else
        m_profiles->reloadFromKeyboard(false);
    m_profiles->showActiveProfile();
    m_lighting->load(true);
    emit keyboardChanged();
    // A write the last run did not see through is looked at once the keyboard is there; the check reads the
    // keyboard, so it waits for the event loop (and for a write under way).
    QTimer::singleShot(0, this, &MainWindow::checkUnfinishedWrite);
}

void MainWindow::checkUnfinishedWrite() {
    if (m_shutDown) return;
    if (DeviceTask::running()) {
        QTimer::singleShot(200, this, &MainWindow::checkUnfinishedWrite);
        return;
    }
    if (UnfinishedWriteQuestion::ask(m_parts, this)) reloadAfterRewrite();
}

void MainWindow::onBankChanged() {
    if (m_shutDown) return;
    m_map->showBank();
}

void MainWindow::onLanguage(int languageIndex) {
    ApplyLanguageToQt(languageIndex);
    // The parts follow the context's languageChanged; the window's own texts come after them.
    m_parts.setLanguageIndex(languageIndex);
    SkinnedDialog::setFailureLanguage(languageIndex);
    m_unplugged->setText(m_parts.text(keyboardGoneTextKey()));
    m_pendingNote->setText(m_parts.text("MAIN_CHANGES_WAITING"));
    setWindowTitle(m_parts.text("MAIN_CAPTION"));
}

void MainWindow::chooseLanguage(int languageIndex) {
    // A choice that cannot be stored still holds for this run.
    if (!ChooseLanguage(*m_context.settings, languageIndex))
        std::fprintf(stderr, "ombrel: the language choice could not be stored in %s\n",
                     m_context.settings->settingsIni().c_str());
    onLanguage(languageIndex);
}

void MainWindow::onDetach() {
    m_shell->closeAbout();
    m_assign->closeForDetach();
    m_profiles->closeProfileManager();
    m_profiles->profileButton(0)->setFocus();
    emit keyboardChanged();
}

// ---- what the device link asks ----

void MainWindow::startReloadTimer() {
    if (m_lighting) m_lighting->requestReload();
}

void MainWindow::setTrayState(TrayState state) {
    if (m_shell) m_shell->tray().setState(state);
}

// ---- showing, hiding, ending ----

void MainWindow::showWindow() {
    if (!m_link || !m_link->state().devicePresent()) {
        UserPrompts::information(this, NoKeyboardMessage(m_parts, !m_context.emulator, m_shell->trayAvailable()));
        return;
    }
    // Cancel hid the window with edits kept: say so, since Apply alone would not tell why it is lit.
    if (!isVisible() && m_parts.pending().pending()) m_pendingNote->show();
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void MainWindow::hideWindow() {
    if (m_shell->trayAvailable())
        hide();
    else if (isVisible())
        showMinimized();
}

void MainWindow::showKeyboardGone() {
    // A hidden window stays hidden: the tray icon tells the keyboard is gone.
    if (m_shutDown || !isVisible()) return;
    const SkinButton* close = m_caption->button(CaptionBar::Button::Close);
    m_unplugged->showOver(close ? close->geometry().bottom() + 1 : 0, m_parts.text(keyboardGoneTextKey()));
}

const char* MainWindow::keyboardGoneTextKey() const {
    // While the updater runs the keyboard sits in its boot loader and is gone from view: say so, not "unplugged".
    return m_firmwarePart && m_firmwarePart->updating() ? "MAIN_UPDATING_FIRMWARE" : "MAIN_UNPLUGGED";
}

bool MainWindow::showsKeyboardGone() const {
    return m_unplugged && m_unplugged->isVisible();
}

void MainWindow::exitProgram() {
    if (m_ended) return;
    if (DeviceTask::running()) {
        // The end waits for the keyboard write to finish; the write holds the stores.
        m_dispatcher.post([this] { exitProgram(); }, UiDispatcher::Kind::StoreBound);
        return;
    }
    finishExit(0);
}

bool MainWindow::asksBeforeEnding() {
    // During a write the edits may be the ones it applies: whether it asks is known only once the write is over.
    return !m_ended && !m_shutDown && !DeviceTask::running() && m_parts.pending().pending();
}

void MainWindow::onKill() {
    if (m_ended) return;
    if (DeviceTask::running() && m_parts.pending().pending()) {
        // The write under way may be the Apply of these edits: the program ends once it has written them, and asks
        // only when they are still unapplied after it.
        m_killAfterWrite = true;
        m_dispatcher.post(
            [this] {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (!std::exchange(m_killAfterWrite, false)) return;
                        onKill();
                    },
                    Qt::QueuedConnection);
            },
            UiDispatcher::Kind::StoreBound);
        return;
    }
    if (m_shutDown || !m_parts.pending().pending()) {
        exitProgram();
        return;
    }
    // Ending now would lose the unapplied edits: the window comes up and asks, as when the user closes it. The
    // question waits for the event loop, so the later start that sent the request is answered at once.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_ended) return;
            if (m_parts.pending().pending()) showWindow();
            closeFromUser();
        },
        Qt::QueuedConnection);
}

void MainWindow::closeFromUser() {
    if (m_commands->confirmUnappliedChanges()) exitProgram();
}

void MainWindow::discardChanges() {
    if (!m_parts.pending().pending()) return;
    m_profiles->reloadFromKeyboard(false);
    m_lighting->load(true);
}

void MainWindow::finishExit(int exitCode) {
    hide();
    shutDown();
    m_ended = true;
    emit ended(exitCode);
}

void MainWindow::shutDown() {
    if (m_shutDown) return;
    m_shutDown = true;
    if (m_shell) {
        m_shell->closeAbout();
        m_shell->removeTray();
    }
    m_parts.pending().set(false);
    // The parts' timers stop with the window.
    hide();
    // Waiting workers are released before the link joins them.
    m_dispatcher.makeInert();
    if (m_link) m_link->shutdown();
    for (AssignmentStore* store : {&stores().workingStore, &stores().outgoingStore}) {
        std::lock_guard lock(store->lock);
        ClearStrings(*store);
        ClearMacros(*store);
        ClearImage(*store);
    }
}

// ---- input ----

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Escape closes or hides the window; F1 opens the help.
    switch (event->key()) {
    case Qt::Key_F1:
        event->accept();
        m_caption->openHelp();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        SkinnedDialog::keyPressEvent(event);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A close from the desktop (a window manager's close, Alt+F4): with a tray the window goes there, without one
    // the program ends, as its Close button does.
    event->ignore();
    if (m_shell->trayAvailable())
        hideWindow();
    else
        closeFromUser();
}

} // namespace ombrel
