#include "AboutDialog.h"

#include "AppMessageEvent.h"
#include "BuildInfo.h"
#include "LinkLabel.h"
#include "MainMessages.h"
#include "SkinStyle.h"
#include "UiText.h"
#include "UserPrompts.h"

#include "text/SafeFormat.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace ombrel {

namespace {

QPointer<AboutDialog>& OpenDialog() {
    static QPointer<AboutDialog> dialog;
    return dialog;
}

QString AboutStyle() {
    using namespace palette;
    return QStringLiteral("QDialog{background:%1;}QLabel{color:%2;font-size:13px;}QLabel#aboutBuild{color:%6;}"
                          "QPushButton{background:%3;color:%2;border:1px solid %4;border-radius:4px;"
                          "padding:6px 22px;}QPushButton:hover,QPushButton:focus{border-color:%5;}")
        .arg(Hex(kDialog), Hex(kText), Hex(kButton), Hex(kEdge), Hex(kAccent), Hex(kTextDim));
}

} // namespace

AboutDialog::AboutDialog(const QString& iconPath, const QString& link, int languageIndex) {
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(AboutStyle());
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(iconPath).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignTop);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("aboutVersion"));
    auto* build = new QLabel(BuildText(), this);
    build->setObjectName(QStringLiteral("aboutBuild"));
    build->setWordWrap(true);
    // A user quoting the build in a report copies it from here.
    for (QLabel* l : {m_version, build})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_copyright = new QLabel(this);
    m_copyright->setWordWrap(true);
    m_link = new LinkLabel(this);
    m_link->setText(link);
    m_link->setTarget(link);
    m_link->setAccessibleDescription(link);
    connect(m_link, &QLabel::linkActivated, this,
            [](const QString& target) { UserPrompts::openUrl(QUrl::fromUserInput(target)); });
    // The program's own skin names no web page: then there is no link to show.
    m_link->setVisible(!link.isEmpty());
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("aboutHelp"));
    // Enter means OK here, wherever the focus is; Help is a deliberate choice.
    m_help->setAutoDefault(false);
    connect(m_help, &QPushButton::clicked, this, &AboutDialog::helpRequested);
    m_ok = new QPushButton(this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_description);
    texts->addWidget(m_version);
    texts->addWidget(build);
    texts->addWidget(m_copyright);
    texts->addWidget(m_link);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_help);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(440);
    applyTexts(languageIndex);
    m_ok->setFocus();
}

AboutDialog* AboutDialog::open(const QString& iconPath, const QString& link, int languageIndex) {
    QPointer<AboutDialog>& opened = OpenDialog();
    AboutDialog* dialog = opened.data();
    if (!dialog) {
        dialog = new AboutDialog(iconPath, link, languageIndex);
        opened = dialog;
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
    // Opened again, it starts on OK as a new one does.
    dialog->m_ok->setFocus(Qt::OtherFocusReason);
    return dialog;
}

int AboutDialog::openCount() {
    return OpenDialog() ? 1 : 0;
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        event->accept();
        emit helpRequested();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutDialog::applyTexts(int languageIndex) {
    setWindowTitle(UiText("LANG_ABOUT_TITLE", languageIndex));
    m_description->setText(UiText("GUANYU_JIESHAO", languageIndex));
    m_copyright->setText(UiText("GUANYU_BANQUAN", languageIndex));
    m_version->setText(QString::fromStdString(
        FormatTextString(lookupText("ABOUT_VERSION", languageIndex), VersionText().toStdString())));
    m_help->setText(UiText("MAIN_HELP_PROMPT", languageIndex));
    m_help->setAccessibleDescription(UiText("ACC_HELP_DESC", languageIndex));
    m_ok->setText(UiText("LANG_ABOUT_OK", languageIndex));
    m_ok->setAccessibleDescription(UiText("ACC_ABOUT_CLOSE_DESC", languageIndex));
}

} // namespace ombrel
