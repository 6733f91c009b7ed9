#include "WindowScreen.h"

#include "MainMessages.h"
#include "MainWindow.h"
#include "UiDispatcher.h"
#include "UserPrompts.h"

#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QCoreApplication>

namespace ombrel {

void WindowScreen::sendMessage(int message, unsigned long tag, bool storeBound) {
    m_dispatcher.send(
        [this, message, tag] {
            AppMessageEvent event(message, tag, 0);
            QCoreApplication::sendEvent(&m_window, &event);
        },
        storeBound ? UiDispatcher::Kind::StoreBound : UiDispatcher::Kind::Immediate);
}

void WindowScreen::sendDetach() {
    sendMessage(UM_DETACH, kTagDetach, false);
}

void WindowScreen::showKeyboardGone() {
    m_dispatcher.send([this] { m_window.showKeyboardGone(); });
}

void WindowScreen::sendProfileReload() {
    sendMessage(UM_PROF, kTagProf, true);
}

void WindowScreen::postOpen() {
    if (m_dispatcher.inert()) return;
    QCoreApplication::postEvent(&m_window, new AppMessageEvent(UM_OPEN, kTagOpen, 0));
}

void WindowScreen::sendBankChanged(int) {
    // Posted rather than sent: it comes from the library's delivery thread, which must stay free to deliver the
    // replies of a keyboard write that may be running. The window reads the bank itself, so a late message still
    // shows the current one.
    m_dispatcher.post(
        [this] {
            AppMessageEvent event(UM_DEL, kTagDel, 0);
            QCoreApplication::sendEvent(&m_window, &event);
        },
        UiDispatcher::Kind::StoreBound);
}

void WindowScreen::startReloadTimer() {
    m_dispatcher.post([this] { m_window.startReloadTimer(); });
}

void WindowScreen::setTrayState(TrayState state) {
    m_dispatcher.send([this, state] { m_window.setTrayState(state); });
}

void WindowScreen::showMessage(std::string_view textKey) {
    const std::string key(textKey);
    m_dispatcher.send([this, key] {
        UserPrompts::information(&m_window,
                                 QString::fromStdString(lookupText(key, m_window.context().languageIndex())));
    });
}

void WindowScreen::showFormattedMessage(std::string_view textKey, std::string_view argument) {
    const std::string key(textKey);
    const std::string value(argument);
    m_dispatcher.send([this, key, value] {
        const std::string text = FormatTextString(lookupText(key, m_window.context().languageIndex()), value);
        UserPrompts::information(&m_window, QString::fromStdString(text));
    });
}

} // namespace ombrel
