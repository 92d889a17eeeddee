// The second yardstick: a Qt main window furnished like halyx's first screen (a menu bar of
// seven menus, a toolbar of six pictures, a 20 x 5 table with headers, seven lists and two text
// boxes, a status bar with Chinese panes) and none of its logic. It shows what Qt itself needs to
// map such a window, so that halyx's own share can be told from it.
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    for (const char* title :
         {"&File", "&Edit", "&Program", "&Settings", "&Language", "&View", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int item = 0; item < 6; ++item) {
            menu->addAction(QStringLiteral("Item %1").arg(item));
        }
    }
    QToolBar* toolBar = window.addToolBar(QStringLiteral("Tools"));
    for (int button = 0; button < 6; ++button) {
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.drawRect(1, 1, 13, 13);
        toolBar->addAction(QIcon(picture), QStringLiteral("Tool"));
    }
    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    auto* model = new QStandardItemModel(20, 5, central);
    model->setHorizontalHeaderLabels({QStringLiteral("RX Freq (MHz)"),
                                      QStringLiteral("TX Freq (MHz)"), QStringLiteral("RX Tone"),
                                      QStringLiteral("TX Tone"), QStringLiteral("BW")});
    for (int channel = 0; channel < 20; ++channel) {
        model->setVerticalHeaderItem(channel, new QStandardItem(QStringLiteral("CH%1").arg(
                                                  channel + 1, 2, 10, QLatin1Char('0'))));
    }
    auto* table = new QTableView;
    table->setModel(model);
    row->addWidget(table, 3);
    auto* settings = new QGroupBox(QStringLiteral("Common Settings"));
    auto* form = new QFormLayout(settings);
    for (const char* label : {"Band", "TOT", "VOX", "Squelch", "Channel", "Language", "TX Power"}) {
        auto* list = new QComboBox;
        list->addItems({QStringLiteral("Off"), QStringLiteral("On")});
        form->addRow(QString::fromUtf8(label), list);
    }
    form->addRow(QStringLiteral("Serial No."), new QLineEdit);
    form->addRow(QStringLiteral("User ID"), new QLineEdit);
    row->addWidget(settings, 1);
    window.setCentralWidget(central);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready")), 1);
    for (const char* pane : {"default.kda", "COM1", "大写", "数字", "滚动"}) {
        window.statusBar()->addPermanentWidget(new QLabel(QString::fromUtf8(pane)));
    }
    window.resize(788, 568);
    window.show();
    return QApplication::exec();
}
