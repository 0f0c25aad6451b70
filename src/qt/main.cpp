// torv_ae: the desktop application.
#include <QApplication>

#include "qt/desktop_app.h"

int main(int argc, char* argv[]) {
    torv::qt::DesktopApp::prepareEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torv_AE"));
    torv::qt::DesktopApp desktop;
    desktop.start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
