// Tempodial: times online sessions by hand, estimates what the connection
// costs, keeps the totals between runs and starts the user's Internet programs.
#include <QApplication>

#include "platform/qt_services.h"
#include "platform/runtime.h"
#include "windows/forms.h"
#include "windows/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tempodial"));
  QApplication::setQuitOnLastWindowClosed(false);

  tempodial::QtServices services;
  tempodial::Runtime runtime(services, tempodial::Places::fromEnvironment());
  tempodial::registerForms(runtime);
  runtime.form<tempodial::MainWindow>().show();
  return QApplication::exec();
}
