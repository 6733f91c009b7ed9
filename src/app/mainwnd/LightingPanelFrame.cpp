#include "LightingPanelFrame.h"

#include "CBitmapSlider.h"
#include "CPngButton.h"
#include "ColorStatic.h"
#include "KeyboardMap.h"
#include "MainMessages.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"

#include "text/LanguageTexts.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
constexpr std::uint32_t kLabelColour = 0xA2928A; // 0x00BBGGRR of the skin's dimmed text
const char* const kRateCaptions[4] = {"1000", "500", "250", "125"};

} // namespace

void LightingPanelFrame::build(QWidget* window, const QString& layoutFile, const QString& skinFolder,
                               const MapPictures& pictures) {
    auto picture = [&](const char* key, const char* file) {
        auto* l = new QLabel(window);
        l->setObjectName(QString::fromLatin1(key));
        placeControl(l, layoutFile, kSection, l->objectName());
        l->setPixmap(*SkinImageCache::instance().pixmap(QDir(skinFolder).filePath(QString::fromLatin1(file))));
        m_controls << l;
        return l;
    };
    auto label = [&](const char* key, const char* textKey) {
        auto* l = new ColorStatic(window);
        l->setObjectName(QString::fromLatin1(key));
        l->SetTextColor(kLabelColour);
        QFont f = l->font();
        f.setPixelSize(13);
        l->setFont(f);
        placeControl(l, layoutFile, kSection, l->objectName());
        m_labels.append({l, QString::fromLatin1(textKey)});
        m_controls << l;
    };

    picture("CONTROL_DengStaPic", "dengup.bmp");
    label("CONTROL_DengStatic", "Deng");
    auto* effects = new QComboBox(window);
    effects->setObjectName(QStringLiteral("CONTROL_XGcombox"));
    placeControl(effects, layoutFile, kSection, effects->objectName());
    m_controls << effects;
    label("CONTROL_LightStatic", "Light");
    label("CONTROL_SpeedStatic", "Speed");
    for (const char* key : {"CONTROL_LightSlider", "CONTROL_SpeedSlider"}) {
        auto* s = new CBitmapSlider(window);
        s->setObjectName(QString::fromLatin1(key));
        placeControl(s, layoutFile, kSection, s->objectName());
        m_controls << s;
    }
    label("CONTROL_UsbStatic", "Usb");
    for (int i = 0; i < 4; ++i) {
        auto* b = new CPngButton(window);
        const QString key = QStringLiteral("FUNC_REPORT%1").arg(i + 1);
        b->setObjectName(key);
        b->setProperty("controlId", kReportRateIds[i]);
        placeSkinButton(b, layoutFile, kSection, key, pictures.normal, pictures.over, pictures.down, pictures.normal,
                        pictures.disable);
        b->setText(QString::fromLatin1(kRateCaptions[i]));
        m_rates[i] = b;
        m_controls << b;
    }
    label("CONTROL_BLFXStatic2", "FX");
    label("CONTROL_HXysStatic", "Color");
    label("CONTROL_RGBStatic", "");
    for (const char* key : {"COLOR_R", "COLOR_G", "COLOR_B"}) {
        auto* e = new QLineEdit(window);
        e->setObjectName(QString::fromLatin1(key));
        placeControl(e, layoutFile, kSection, e->objectName());
        m_controls << e;
    }
    for (int i = 1; i <= 8; ++i) {
        const QByteArray key = QStringLiteral("CONTROL_Color%1").arg(i).toLatin1();
        const QByteArray file = QStringLiteral("Color%1.bmp").arg(i).toLatin1();
        picture(key.constData(), file.constData());
    }
    for (QWidget* w : m_controls)
        w->setEnabled(false);

    m_progress = new QLabel(window);
    m_progress->setObjectName(QStringLiteral("CONTROL_JDTStatic"));
    placeControl(m_progress, layoutFile, kSection, m_progress->objectName());
    m_progress->setScaledContents(true);
    m_progress->hide();
}

void LightingPanelFrame::applyTexts(int languageIndex) {
    for (const auto& [l, key] : m_labels)
        l->setText(key.isEmpty() ? QStringLiteral("RGB")
                                 : QString::fromStdString(lookupLight(key.toStdString(), languageIndex)));
}

} // namespace ombrel
