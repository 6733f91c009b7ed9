// The yardstick of the window cost benchmark: a plain Qt window of a given size holding 20 push buttons, nothing
// else. The benchmark starts it the same way as the program and compares start time and memory.
//   window_cost_bare WIDTH HEIGHT     (in the window's coordinates, as the program's window has them)
#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int width = args.size() > 2 ? args.at(1).toInt() : 1172;
    const int height = args.size() > 2 ? args.at(2).toInt() : 700;
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    auto* grid = new QGridLayout(&window);
    constexpr int kButtons = 20;
    constexpr int kColumns = 5;
    for (int i = 0; i < kButtons; ++i)
        grid->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i + 1)), i / kColumns, i % kColumns);
    window.setFixedSize(width > 0 ? width : 1172, height > 0 ? height : 700);
    window.show();
    return QApplication::exec();
}
