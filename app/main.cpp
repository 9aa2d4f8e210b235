// Tempodial: times online sessions by hand, estimates what the connection
// costs, keeps the totals between runs and starts the user's Internet programs.
#include <QApplication>

#include "platform/qt_services.h"
#include "platform/runtime.h"
#include "windows/forms.h"
#include "windows/splash_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tempodial"));
  QApplication::setQuitOnLastWindowClosed(false);

  tempodial::QtServices services;
  tempodial::Runtime runtime(services, tempodial::Places::fromEnvironment());
  tempodial::registerForms(runtime);
  // The splash window starts the program: its load makes sure the data
  // directory exists, and a second later its timer hands over to the main
  // window.
  runtime.form<tempodial::SplashWindow>().show();
  return QApplication::exec();
}
