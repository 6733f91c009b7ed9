#include "NoKeyboardMessage.h"

#include "WindowContext.h"

#include "doctor/LocalDoctorSystem.h"

namespace ombrel {

QString NoKeyboardMessage(const WindowContext& context, bool checkSystem, bool trayAvailable) {
    QString message = context.text("MAIN_NO_DEVICE_PROMPT");
    if (!checkSystem) return message;
    DoctorSystem system = LocalDoctorSystem(context.paths());
    system.tray = trayAvailable ? DesktopTray::Present : DesktopTray::Missing;
    const DoctorReport report = RunDoctor(system);
    // Only what needs the user's attention; the checks that passed would bury it.
    QString findings;
    for (const DoctorFinding& finding : report.findings) {
        if (finding.level == DoctorFinding::Level::Ok) continue;
        findings += QStringLiteral("\n\u2022 ") + QString::fromStdString(finding.text);
        if (!finding.fix.empty()) findings += QStringLiteral("\n    ") + QString::fromStdString(finding.fix);
    }
    if (!findings.isEmpty()) message += QStringLiteral("\n\n") + context.text("MAIN_NO_DEVICE_CHECK") + findings;
    return message;
}

} // namespace ombrel
