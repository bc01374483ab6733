// A minimal Qt program with a date field: one KalendoWidget, its popup button on, and a
// label that follows its date.
//   qt_host [LIBRARY] [--quit]   (--quit closes the window once it is shown)
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <cstring>
#include <iostream>

#include "frame/com/activation.h"
#include "frame/qt/kalendo_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string library = argc > 1 && argv[1][0] != '-' ? argv[1] : ZE_COMPONENT_LIBRARY;
  if (ze::com::RegisterServerLibrary(library) != ze::com::S_OK) {
    std::cerr << "cannot register " << library << ": " << ze::com::LastActivationError() << "\n";
    return 1;
  }
  QWidget window;
  window.setWindowTitle("Kalendo");
  auto* kalendo = new ze::qt::KalendoWidget;
  auto* label = new QLabel;
  auto* layout = new QHBoxLayout(&window);
  layout->addWidget(kalendo);
  layout->addWidget(label);
  QObject::connect(kalendo, &ze::qt::KalendoWidget::dateChanged, label,
                   [label](QDate date) { label->setText(date.toString("dddd d MMMM yyyy")); });
  kalendo->setPopSelezione(true);
  kalendo->setDate(QDate(2005, 12, 25));
  window.show();
  std::cout << "Text = " << kalendo->text().toStdString() << "\n";
  if (argc > 1 && std::strcmp(argv[argc - 1], "--quit") == 0)
    QTimer::singleShot(0, &app, &QApplication::quit);
  return app.exec();
}
