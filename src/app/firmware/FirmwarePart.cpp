#include "FirmwarePart.h"

#include "FirmwareUpdateDialog.h"
#include "PromptQuestions.h"
#include "WindowContext.h"

#include "text/LanguageTexts.h"

namespace ombrel {

FirmwarePart::FirmwarePart(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("firmwarePart"));
}

FirmwarePart::~FirmwarePart() = default;

FirmwareUpdate& FirmwarePart::update() {
    if (!m_update) {
        const TextLookup text = [this](std::string_view key) { return lookupText(key, m_context.languageIndex()); };
        m_update = std::make_unique<FirmwareUpdate>(nullptr, m_context.stores().workingStore,
                                                    FirmwareSetup::ForProgram(m_context.paths()), text);
    }
    // The link may come later than the part: the boot request goes through whatever link there is now.
    m_update->setCommands(m_context.link() ? &m_context.link()->commands() : nullptr);
    return *m_update;
}

void FirmwarePart::openDialog() {
    FirmwareUpdateDialog dialog(QString::fromStdString(m_context.paths().updateIni), m_context.paths(), update(),
                                m_context.languageIndex(), m_context.window());
    // The dialog is accepted only when the keyboard took the boot request and the updater started.
    if (dialog.exec() == QDialog::Accepted) m_updating = true;
}

bool FirmwarePart::backupBeforeUpdater() {
    PromptQuestions questions(m_context.window());
    return update().backupBeforeUpdate(questions);
}

} // namespace ombrel
