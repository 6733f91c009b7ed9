#include "SkinGallery.h"

#include "CBaseDialog.h"
#include "CPngButton.h"
#include "CaptionBar.h"
#include "CommandBar.h"
#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "ProfileBar.h"
#include "SkinStyle.h"
#include "UiDispatcher.h"
#include "WindowContext.h"

#include "device/ScreenPort.h"
#include "keyboard/KeyTable.h"
#include "text/LanguageTexts.h"

#include <QDir>
#include <QFileInfo>

namespace ombrel {

namespace {

// The main window's parts on a frame of their own, with no keyboard behind them: the store holds a few sample
// assignments, so the map shows its assigned look.
class GalleryMainWindow : public CBaseDialog {
public:
    explicit GalleryMainWindow(const QString& layoutFile)
        : CBaseDialog(layoutFile), m_paths(PathsFor(layoutFile)), m_settings(std::string(), std::string()),
          m_context(*this, layoutFile, m_paths, m_settings, m_dispatcher, m_screen) {}

    void build() {
        SharedLanguageTexts().setDataFolder(m_paths.dataDir);
        {
            auto& working = m_context.stores().workingStore;
            std::lock_guard lock(working.lock);
            InitKeyImage(working.image);
            KeyRecord assigned;
            assigned.type = KF_DISABLED;
            int n = 0;
            for (const KeyButton& k : KeyButtonTable())
                if (n++ % 17 == 3) working.image.setRecord(RecordNumber(0, KeyIndexOf(k.code)), assigned);
            working.image.setRecord(RecordNumber(0, GKeyIndex(2, 0)), assigned);
        }
        const MapPictures pictures = MapPictures::fromSkin(m_context);
        auto* map = new KeyboardMap(m_context, pictures, this);
        auto* caption = new CaptionBar(m_context, this);
        auto* profiles = new ProfileBar(m_context, this);
        auto* commands = new CommandBar(m_context, this);
        auto* lighting = new LightingPanel(m_context, pictures);
        map->refresh();
        map->showBank();
        map->applyTexts();
        caption->applyTexts();
        profiles->applyTexts();
        profiles->profileButton(0)->SetChecked(true);
        commands->applyTexts();
        lighting->applyTexts();
        lighting->showDefaultReportRate();
    }

private:
    static AppPaths PathsFor(const QString& layoutFile) {
        AppPaths paths;
        const QDir skin = QFileInfo(layoutFile).absoluteDir();
        paths.mainIni = layoutFile.toStdString();
        paths.mainIniDir = skin.absolutePath().toStdString() + '/';
        QDir data = skin;
        data.cdUp();
        paths.dataDir = data.absolutePath().toStdString() + '/';
        paths.helpDir = paths.dataDir + "Help/";
        return paths;
    }

    AppPaths m_paths;
    SettingsStore m_settings;
    UiDispatcher m_dispatcher;
    NullScreen m_screen;
    WindowContext m_context;
};

} // namespace

QStringList GalleryDialogNames() {
    return {QStringLiteral("Main"), QStringLiteral("Composite"), QStringLiteral("Profile"),
            QStringLiteral("UpdateDlg")};
}

std::unique_ptr<CBaseDialog> BuildGalleryDialog(const QString& name, const QString& skinDir) {
    if (!GalleryDialogNames().contains(name)) return nullptr;
    const QString skinFolder = QDir(skinDir).absolutePath();
    const QString ini = QDir(skinFolder).filePath(name + QStringLiteral(".ini"));
    std::unique_ptr<CBaseDialog> dlg;
    GalleryMainWindow* main = nullptr;
    if (name == QLatin1String("Main")) {
        auto window = std::make_unique<GalleryMainWindow>(ini);
        main = window.get();
        dlg = std::move(window);
    } else {
        dlg = std::make_unique<CBaseDialog>(ini);
    }
    dlg->setObjectName(name);
    dlg->setStyleSheet(ControlStyleSheet());
    if (!dlg->applyDialogSkin()) return nullptr;
    if (main) main->build();
    dlg->setWindowTitle(QStringLiteral("Ombrel skin gallery — %1").arg(name));
    return dlg;
}

int RenderGallery(const QString& skinFolder, const QString& outFolder) {
    QDir().mkpath(outFolder);
    int failures = 0;
    for (const QString& name : GalleryDialogNames()) {
        auto dlg = BuildGalleryDialog(name, skinFolder);
        if (!dlg || !dlg->grab().save(QDir(outFolder).filePath(name + QStringLiteral(".png")))) ++failures;
    }
    return failures;
}

} // namespace ombrel
