#include "EffectGroup.h"
#include "LegacyKeys.h"

#include "ClickablePicture.h"
#include "ColorButton.h"
#include "ColorStatic.h"
#include "PanelLabel.h"
#include "SkinPlacement.h"
#include "SkinScale.h"
#include "SkinSlider.h"
#include "SkinStyle.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingSession.h"
#include "text/LanguageTexts.h"

#include <QComboBox>

#include <algorithm>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");

QColor qColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

EffectGroup::EffectGroup(WindowContext& context, QWidget* panel, const std::function<void(QWidget*)>& adopt,
                         std::function<LightingSession*()> session)
    : QObject(panel), m_context(context), m_session(std::move(session)) {
    const QString layoutFile = context.layoutFile();
    auto clickable = [&](const char* key) {
        auto* l = new ClickablePicture(panel);
        l->setObjectName(QString::fromLatin1(key));
        placeControl(l, layoutFile, kSection, l->objectName());
        adopt(l);
        return l;
    };
    auto label = [&](const char* key, const char* textKey) {
        ColorStatic* l = MakePanelLabel(panel, layoutFile, key);
        m_labels.append({l, QString::fromLatin1(textKey)});
        adopt(l);
        return l;
    };
    // A write through the session, when there is one; its result is handed on as `report` says.
    auto write = [this](const std::function<int(LightingSession&)>& change, void (EffectGroup::*report)(int)) {
        LightingSession* s = m_session();
        if (!s) return;
        const int r = change(*s);
        if (report == &EffectGroup::written || r != LINK_OK) emit(this->*report)(r);
    };

    m_effects = new QComboBox(panel);
    m_effects->setObjectName(QString::fromLatin1(skinkey::kEffectList));
    placeControl(m_effects, layoutFile, kSection, m_effects->objectName());
    adopt(m_effects);
    connect(m_effects, &QComboBox::currentIndexChanged, this, &EffectGroup::onEffectChosen);
    m_brightnessRow << label("CONTROL_LightStatic", "Light");
    m_speedRow << label("CONTROL_SpeedStatic", "Speed");
    for (const char* key : {"CONTROL_LightSlider", "CONTROL_SpeedSlider"}) {
        auto* s = new SkinSlider(panel);
        s->setObjectName(QString::fromLatin1(key));
        placeControl(s, layoutFile, kSection, s->objectName());
        s->setRange(0, 5);
        adopt(s);
        (m_brightness ? m_speed : m_brightness) = s;
    }
    m_brightnessRow << m_brightness;
    m_speedRow << m_speed;
    // The slider's face does not say which end is fast: a word under each end does.
    const QRect track = m_speed->geometry();
    const int gap = ScaleSkinPixels(18);
    for (int end = 0; end < 2; ++end) {
        auto* l = new ColorStatic(panel);
        l->setObjectName(end == 0 ? QStringLiteral("speedSlowLabel") : QStringLiteral("speedFastLabel"));
        StyleDimLabel(l);
        QFont f = l->font();
        f.setPixelSize(ScaleSkinPixels(11));
        l->setFont(f);
        l->setAlignment((end == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        l->setGeometry(track.left(), track.bottom() + 1, track.width(), gap);
        adopt(l);
        m_speedRow << l;
        m_speedEnds[end] = l;
    }
    connect(m_brightness, &SkinSlider::positionChanged, this, [this, write](int pos) {
        m_brightness->setPicture(*picture(QStringLiteral("%1.bmp").arg(pos)));
        write([pos](LightingSession& s) { return s.writer().setBrightness(pos); }, &EffectGroup::writeFailed);
    });
    connect(m_speed, &SkinSlider::positionChanged, this, [this, write](int pos) {
        m_speed->setPicture(*picture(QStringLiteral("%1.bmp").arg(6 + pos)));
        write([pos](LightingSession& s) { return s.writer().setSpeed(LightingWriter::SpeedOfSliderPosition(pos)); },
              &EffectGroup::writeFailed);
    });

    m_directionLabel = label(skinkey::kDirectionLabel, "FX");
    for (int side = 0; side < 2; ++side) {
        m_directionPictures[side] = clickable(side == 0 ? skinkey::kDirectionForward : skinkey::kDirectionBackward);
        m_directionPictures[side]->setAccessibleKind(AccessibleKind::Choice);
        connect(m_directionPictures[side], &ClickablePicture::clicked, this, [side, write] {
            write(
                [side](LightingSession& s) {
                    return s.writer().setDirection(side == 0 ? kDirectionForward : kDirectionBackward);
                },
                &EffectGroup::written);
        });
    }
    for (ColorGroupControls& g : m_groups) {
        const auto& keys = skinkey::kColorGroups[static_cast<std::size_t>(&g - m_groups)];
        g.label = label(keys[0], "Color");
        g.button = new ColorButton(panel);
        g.button->setObjectName(QString::fromLatin1(keys[1]));
        placeControl(g.button, layoutFile, kSection, g.button->objectName());
        adopt(g.button);
        connect(g.button, &ColorButton::colorChanged, this, &EffectGroup::colorPicked);
        g.colorful = clickable(keys[2]);
        g.colorful->showPicture(context.skinPicture(QString::fromLatin1(skinpicture::kColorfulOn)));
        g.colorful->setAccessibleKind(AccessibleKind::Toggle);
        connect(g.colorful, &ClickablePicture::clicked, this, [write] {
            write([](LightingSession& s) { return s.writer().setColorful(!s.state().fields.colorful); },
                  &EffectGroup::written);
        });
        g.colorfulLabel = label(keys[3], "DC");
    }
    for (int k = 0; k < 4; ++k) {
        m_fourColor[k] = clickable(skinkey::kFourColors[static_cast<std::size_t>(k)]);
        m_fourColor[k]->setAccessibleKind(AccessibleKind::Choice);
        connect(m_fourColor[k], &ClickablePicture::clicked, this, [k, write] {
            write([k](LightingSession& s) { return s.writer().setColorChoice(k); }, &EffectGroup::written);
        });
    }
}

const QPixmap* EffectGroup::picture(const QString& file) const {
    static const QPixmap kNone;
    const QPixmap* p = m_context.skinPicture(file);
    return p ? p : &kNone;
}

void EffectGroup::applyTexts() {
    // Which end is fast is not obvious from the slider's face.
    m_speed->setToolTip(m_context.text("ACC_LIGHT_SPEED_DESC"));
    m_speedEnds[0]->setText(m_context.text("LIGHT_SPEED_SLOW"));
    m_speedEnds[1]->setText(m_context.text("LIGHT_SPEED_FAST"));
}

void EffectGroup::refresh(const LightingSession& session) {
    const LightingFields& f = session.state().fields;
    m_filling = true;
    m_effects->clear();
    for (LightingEffect e : session.effects())
        m_effects->addItem(
            QString::fromStdString(lookupMode(std::to_string(EffectNumber(e)), m_context.languageIndex())),
            EffectNumber(e));
    m_effects->setCurrentIndex(session.positionOfEffect(f.effect));
    m_filling = false;

    const int level = std::min<int>(f.brightness, kMaxBrightness);
    m_brightness->setPosition(level);
    m_brightness->setPicture(*picture(QStringLiteral("%1.bmp").arg(level)));
    const int speedPos = LightingWriter::SliderPositionOfSpeed(f.speed);
    m_speed->setPosition(speedPos);
    m_speed->setPicture(*picture(QStringLiteral("%1.bmp").arg(6 + speedPos)));
    for (ColorGroupControls& g : m_groups) {
        g.button->setColor(qColor(f.color));
        g.colorful->showPicture(
            picture(QString::fromLatin1(f.colorful ? skinpicture::kColorfulOff : skinpicture::kColorfulOn)));
        g.colorful->setChecked(f.colorful);
    }
    for (int k = 0; k < 4; ++k) {
        m_fourColor[k]->showPicture(picture(QLatin1String(skinpicture::kFourColorStems[static_cast<std::size_t>(k)]) +
                                            (k == f.colorChoice ? QStringLiteral("ok.bmp") : QStringLiteral(".bmp"))));
        m_fourColor[k]->setChecked(k == f.colorChoice);
    }
    const DirectionPictures dir = DirectionPicturesOf(f.effect, f.direction);
    m_directionPictures[0]->showPicture(
        picture(QString::fromLatin1(dir.left.data(), static_cast<int>(dir.left.size()))));
    m_directionPictures[1]->showPicture(
        picture(QString::fromLatin1(dir.right.data(), static_cast<int>(dir.right.size()))));
    // Any value but the backward one runs forward, as the pictures show.
    m_directionPictures[0]->setChecked(f.direction != kDirectionBackward);
    m_directionPictures[1]->setChecked(f.direction == kDirectionBackward);
}

void EffectGroup::showControlsOf(LightingEffect effect, bool panelOn) {
    const EffectControls c = panelOn ? ControlsOfEffect(effect) : EffectControls{};
    // The direction controls go where the effect's layout puts them.
    const QString suffix = QString::fromLatin1(DirectionSkinSuffix(effect).data());
    const QString layoutFile = m_context.layoutFile();
    moveControl(m_directionLabel, layoutFile, kSection, QString::fromLatin1(skinkey::kDirectionLabel) + suffix);
    moveControl(m_directionPictures[0], layoutFile, kSection, QString::fromLatin1(skinkey::kDirectionForward) + suffix);
    moveControl(m_directionPictures[1], layoutFile, kSection,
                QString::fromLatin1(skinkey::kDirectionBackward) + suffix);

    // An effect the program does not know still shows in the list, so it can be left again.
    m_effects->setVisible(panelOn);
    for (QWidget* w : m_brightnessRow)
        w->setVisible(panelOn && c.known);
    for (QWidget* w : m_speedRow)
        w->setVisible(c.speed);
    const bool direction = c.direction != DirectionLayout::None;
    m_directionLabel->setVisible(direction);
    for (QWidget* w : m_directionPictures)
        w->setVisible(direction);
    for (int g = 0; g < 2; ++g) {
        const bool shown = c.color == (g == 0 ? ColorGroup::A : ColorGroup::B);
        for (QWidget* w :
             {static_cast<QWidget*>(m_groups[g].label), static_cast<QWidget*>(m_groups[g].button),
              static_cast<QWidget*>(m_groups[g].colorful), static_cast<QWidget*>(m_groups[g].colorfulLabel)})
            w->setVisible(shown);
    }
    for (QWidget* w : m_fourColor)
        w->setVisible(c.fourColor);
}

void EffectGroup::onEffectChosen(int index) {
    if (m_filling || index < 0) return;
    emit effectChosen(static_cast<LightingEffect>(m_effects->itemData(index).toInt()));
}

} // namespace ombrel
