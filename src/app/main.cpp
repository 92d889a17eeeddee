#include <QApplication>

#include "app/app_context.h"
#include "app/halyx_app.h"
#include "app/ui_prompts.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halyx"));

    halyx::AppContext context;
    halyx::QtUiPrompts prompts;
    halyx::CHalyxApp app(context, prompts);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) {
        return 1;
    }
    return QApplication::exec();
}
