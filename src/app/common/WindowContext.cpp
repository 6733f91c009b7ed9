#include "WindowContext.h"

#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "UiText.h"

#include "device/ActiveProfile.h"
#include "keys/KeyImage.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QDir>

namespace ombrel {

void PendingChanges::set(bool pending) {
    m_pending = pending;
    emit changed(pending);
}

WindowContext::WindowContext(QWidget& window, QString layoutFile, const AppPaths& paths, SettingsStore& settings,
                             UiDispatcher& dispatcher, ScreenPort& screen)
    : m_window(window), m_layoutFile(std::move(layoutFile)), m_paths(paths), m_settings(settings),
      m_dispatcher(dispatcher), m_screen(screen) {}

int WindowContext::activeLayer() const {
    if (!m_link) return 0;
    const int active = GetActiveProfile(m_link->commands(), m_link->state());
    return active >= 0 && active < kProfileCount ? active : 0;
}

int WindowContext::bank() const {
    return m_link ? m_link->state().bank() : 0;
}

QString WindowContext::text(std::string_view key) const {
    return UiText(key, m_languageIndex);
}

QString WindowContext::text(std::string_view key, const QString& argument) const {
    return QString::fromStdString(FormatTextString(lookupText(key, m_languageIndex), argument.toStdString()));
}

QString WindowContext::skinFolder() const {
    return QString::fromStdString(m_paths.mainIniDir);
}

const QPixmap* WindowContext::skinPicture(const QString& fileName) const {
    return SkinImageCache::instance().pixmap(QDir(skinFolder()).filePath(fileName));
}

const QPixmap* WindowContext::statePicture(const QString& fileName, QColor veil) const {
    return SkinImageCache::instance().sheet(QDir(skinFolder()).filePath(fileName), veil);
}

SkinButton* WindowContext::addButton(const QString& skinKey) const {
    auto* b = new SkinButton(&m_window);
    b->setObjectName(skinKey);
    const QPixmap* normal = statePicture(QStringLiteral("main_normal.jpg"));
    placeSkinButton(b, m_layoutFile, QStringLiteral("BUTTONINFO"), skinKey, normal,
                    statePicture(QStringLiteral("main_over.jpg")), statePicture(QStringLiteral("main_down.jpg")),
                    normal, statePicture(QStringLiteral("main_disable.jpg")));
    return b;
}

} // namespace ombrel
