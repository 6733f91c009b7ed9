#pragma once
// The lighting panel's controls, placed from the skin with their labels but switched off: the panel itself is
// not built yet, and a control that looks usable but does nothing would mislead. The progress picture that
// Apply animates sits in the same area and is kept here too.

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace ombrel {

class CPngButton;
struct MapPictures;

class LightingPanelFrame {
public:
    // Places every control of the panel on `window`; the report-rate buttons use the map's pictures.
    void build(QWidget* window, const QString& layoutFile, const QString& skinFolder, const MapPictures& pictures);
    // The panel's texts in the given language.
    void applyTexts(int languageIndex);

    QLabel* progress() const { return m_progress; }
    const QList<QWidget*>& controls() const { return m_controls; }
    CPngButton* reportRateButton(int i) const { return i >= 0 && i < 4 ? m_rates[i] : nullptr; }

private:
    QList<QWidget*> m_controls;
    QList<std::pair<QLabel*, QString>> m_labels; // label and its "LIGHT" key
    CPngButton* m_rates[4] = {};
    QLabel* m_progress = nullptr;
};

} // namespace ombrel
