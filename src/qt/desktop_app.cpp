// Wiring of the desktop application.
#include "qt/desktop_app.h"

#include <QCoreApplication>

#include "qt/text_codec.h"

namespace torv::qt {

void DesktopApp::prepareEnvironment() {
    // The ffmpeg media backend crashes without a sound card; GStreamer copes.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

DesktopApp::DesktopApp(std::filesystem::path startDirectory)
    : state_(port_, std::move(startDirectory)), shell_(state_),
      window_(std::make_unique<MainWindow>(shell_, port_)) {
    QObject::connect(window_.get(), &MainWindow::programEnded, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

DesktopApp::~DesktopApp() = default;

void DesktopApp::start(const QStringList& arguments) {
    // Maximised the platform way: the frame and its title stay on screen.
    window_->showMaximized();
    if (arguments.isEmpty() || arguments.front().isEmpty()) return;
    // A base to consult at once: the intro window gives way to it.
    window_->closeIntro();
    const std::string path = pathFromQ(arguments.front());
    window_->runGuarded([this, &path] { shell_.loadRuleBaseAtStart(path); });
}

}  // namespace torv::qt
