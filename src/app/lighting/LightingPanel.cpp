#include "LightingPanel.h"

#include "CBitmapSlider.h"
#include "CPngButton.h"
#include "ColorStatic.h"
#include "KeyboardMap.h"
#include "MainMessages.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "WindowContext.h"

#include "text/LanguageTexts.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegion>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
const char* const kRateCaptions[4] = {"1000", "500", "250", "125"};

} // namespace

LightingPanel::LightingPanel(WindowContext& context, const MapPictures& pictures)
    : QWidget(context.window()), m_context(context), m_previewTimer(this), m_reloadTimer(this) {
    setObjectName(QStringLiteral("lightingPanel"));
    m_previewTimer.setObjectName(QStringLiteral("lightingPreviewTimer"));
    m_previewTimer.setSingleShot(true);
    connect(&m_previewTimer, &QTimer::timeout, this, &LightingPanel::onPreviewTick);
    m_reloadTimer.setObjectName(QStringLiteral("lightingReloadTimer"));
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(0);
    connect(&m_reloadTimer, &QTimer::timeout, this, &LightingPanel::reloaded);

    const QString layoutFile = context.layoutFile();
    setGeometry(context.window()->rect());
    auto picture = [&](const char* key, const char* file) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(key));
        placeControl(l, layoutFile, kSection, l->objectName());
        l->setPixmap(*context.skinPicture(QString::fromLatin1(file)));
        adopt(l);
    };
    auto label = [&](const char* key, const char* textKey) {
        auto* l = new ColorStatic(this);
        l->setObjectName(QString::fromLatin1(key));
        StyleDimLabel(l);
        placeControl(l, layoutFile, kSection, l->objectName());
        m_labels.append({l, QString::fromLatin1(textKey)});
        adopt(l);
    };

    picture("CONTROL_DengStaPic", "dengup.bmp");
    label("CONTROL_DengStatic", "Deng");
    auto* effects = new QComboBox(this);
    effects->setObjectName(QStringLiteral("CONTROL_XGcombox"));
    placeControl(effects, layoutFile, kSection, effects->objectName());
    adopt(effects);
    label("CONTROL_LightStatic", "Light");
    label("CONTROL_SpeedStatic", "Speed");
    for (const char* key : {"CONTROL_LightSlider", "CONTROL_SpeedSlider"}) {
        auto* s = new CBitmapSlider(this);
        s->setObjectName(QString::fromLatin1(key));
        placeControl(s, layoutFile, kSection, s->objectName());
        adopt(s);
    }
    label("CONTROL_UsbStatic", "Usb");
    for (int i = 0; i < 4; ++i) {
        auto* b = new CPngButton(this);
        const QString key = QStringLiteral("FUNC_REPORT%1").arg(i + 1);
        b->setObjectName(key);
        b->setProperty("controlId", kReportRateIds[i]);
        placeSkinButton(b, layoutFile, kSection, key, pictures.normal, pictures.over, pictures.down, pictures.normal,
                        pictures.disable);
        b->setText(QString::fromLatin1(kRateCaptions[i]));
        m_rates[i] = b;
        adopt(b);
    }
    label("CONTROL_BLFXStatic2", "FX");
    label("CONTROL_HXysStatic", "Color");
    label("CONTROL_RGBStatic", "");
    for (const char* key : {"COLOR_R", "COLOR_G", "COLOR_B"}) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(key));
        placeControl(e, layoutFile, kSection, e->objectName());
        adopt(e);
    }
    for (int i = 1; i <= 8; ++i) {
        const QByteArray key = QStringLiteral("CONTROL_Color%1").arg(i).toLatin1();
        const QByteArray file = QStringLiteral("Color%1.bmp").arg(i).toLatin1();
        picture(key.constData(), file.constData());
    }
    for (QWidget* w : m_controls)
        w->setEnabled(false);
    updateMask();
}

void LightingPanel::adopt(QWidget* control) {
    m_controls << control;
    // A control moved or resized later (the skin re-places some) keeps the panel's mask right.
    control->installEventFilter(this);
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        updateMask();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void LightingPanel::updateMask() {
    QRegion region;
    for (QWidget* w : m_controls)
        if (!w->isHidden()) region += w->geometry();
    // An empty mask would mean "no mask": the panel would cover the whole window.
    setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
}

void LightingPanel::applyTexts() {
    const int language = m_context.languageIndex();
    for (const auto& [l, key] : m_labels)
        l->setText(key.isEmpty() ? QStringLiteral("RGB")
                                 : QString::fromStdString(lookupLight(key.toStdString(), language)));
}

void LightingPanel::showDefaultReportRate() {
    for (int i = 0; i < 4; ++i)
        m_rates[i]->SetChecked(i == 0);
}

void LightingPanel::requestReload() {
    if (isVisible())
        m_reloadTimer.start();
    else
        m_reloadPending = true;
}

void LightingPanel::setPreviewing(bool on) {
    m_previewing = on;
    updatePreviewTimer();
}

void LightingPanel::updatePreviewTimer() {
    if (m_previewing && isVisible()) {
        if (!m_previewTimer.isActive()) m_previewTimer.start(kPreviewFirstIntervalMs);
    } else {
        m_previewTimer.stop();
    }
}

void LightingPanel::onPreviewTick() {
    if (m_previewing && isVisible()) m_previewTimer.start(kPreviewIntervalMs);
}

void LightingPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updatePreviewTimer();
    if (m_reloadPending) {
        m_reloadPending = false;
        m_reloadTimer.start();
    }
}

void LightingPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Nothing of the panel ticks while nobody can see it.
    m_previewTimer.stop();
    if (m_reloadTimer.isActive()) {
        m_reloadTimer.stop();
        m_reloadPending = true;
    }
}

} // namespace ombrel
