#include "SkinGallery.h"

#include "CaptionBar.h"
#include "CommandBar.h"
#include "KeyAssignmentDialog.h"
#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "ProfileBar.h"
#include "SkinButton.h"
#include "SkinStyle.h"
#include "SkinnedDialog.h"
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
class GalleryMainWindow : public SkinnedDialog {
public:
    explicit GalleryMainWindow(const QString& layoutFile)
        : SkinnedDialog(layoutFile), m_paths(PathsFor(layoutFile)), m_settings(std::string(), std::string()),
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
        profiles->profileButton(0)->setCheckedLook(true);
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

// What the gallery's key assignment dialog edits: a store with a recorded macro on G3.
struct GallerySamples {
    AssignmentStore store;
    SettingsStore settings{std::string(), std::string()};
};

// The key assignment dialog on G3, showing the macro it plays.
class GalleryKeyAssignmentDialog : private GallerySamples, public KeyAssignmentDialog {
public:
    explicit GalleryKeyAssignmentDialog(const QString& layoutFile) : KeyAssignmentDialog(layoutFile, store, settings) {}

    bool build() {
        QDir dataDir = QFileInfo(layoutFile()).absoluteDir();
        dataDir.cdUp();
        SharedLanguageTexts().setDataFolder(dataDir.absolutePath().toStdString() + '/');
        InitKeyImage(store.image);
        MacroRecord macro;
        macro.setMacroId(1);
        macro.setName(u"Build and run");
        macro.setCycles(1);
        const KeyCode keys[] = {0x01D, 0x030, 0x030, 0x01D};
        for (int i = 0; i < 4; ++i)
            macro.setAction(i, {i == 3 ? 0u : 40u, keys[i], static_cast<std::uint16_t>(i < 2 ? 0 : 1)});
        macro.setActionCount(4);
        store.macros.push_back(macro);
        store.image.setRecord(RecordNumber(0, GKeyIndex(2, 0)), {KF_MACRO, 1, 1});
        return prepare(GKeyIndex(2, 0), 0, false, std::nullopt, 0);
    }
};

} // namespace

QStringList GalleryDialogNames() {
    return {QStringLiteral("Main"), QStringLiteral("Composite"), QStringLiteral("Profile"),
            QStringLiteral("UpdateDlg")};
}

std::unique_ptr<SkinnedDialog> BuildGalleryDialog(const QString& name, const QString& skinDir) {
    if (!GalleryDialogNames().contains(name)) return nullptr;
    const QString skinFolder = QDir(skinDir).absolutePath();
    const QString ini = QDir(skinFolder).filePath(name + QStringLiteral(".ini"));
    std::unique_ptr<SkinnedDialog> dlg;
    GalleryMainWindow* main = nullptr;
    GalleryKeyAssignmentDialog* keyAssignment = nullptr;
    if (name == QLatin1String("Main")) {
        auto window = std::make_unique<GalleryMainWindow>(ini);
        main = window.get();
        dlg = std::move(window);
    } else if (name == QLatin1String("Composite")) {
        auto window = std::make_unique<GalleryKeyAssignmentDialog>(ini);
        keyAssignment = window.get();
        dlg = std::move(window);
    } else {
        dlg = std::make_unique<SkinnedDialog>(ini);
    }
    dlg->setObjectName(name);
    if (dlg->styleSheet().isEmpty()) dlg->setStyleSheet(ControlStyleSheet());
    if (!dlg->applyDialogSkin()) return nullptr;
    if (main) main->build();
    if (keyAssignment && !keyAssignment->build()) return nullptr;
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
