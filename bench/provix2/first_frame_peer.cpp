// The peer of provix2's start-up benchmark: a plain Qt program that opens a window of
// the same size with two QDateEdit fields and a button, and exits at its first paint.
// With --stages it prints, as provix2 --first-frame does, the time each stage took.
#include <QtCore/QElapsedTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWidget>
#include <cstring>
#include <iostream>

namespace {
QElapsedTimer clock_;
bool printStages = false;
qint64 last = 0;
void Ended(const char* stage) {
  if (!printStages) return;
  const qint64 now = clock_.nsecsElapsed();
  std::cout << (last == 0 ? "stages:" : "") << " " << stage << " " << (now - last) / 1e6 << " ms";
  last = now;
}

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (!painted_) {
      painted_ = true;
      Ended("paint");
      if (printStages) std::cout << std::endl;
      QMetaObject::invokeMethod(qApp, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    }
  }

 private:
  bool painted_ = false;
};
}  // namespace

int main(int argc, char** argv) {
  clock_.start();
  printStages = argc > 1 && std::strcmp(argv[1], "--stages") == 0;
  QApplication app(argc, argv);
  Ended("qt");
  Window window;
  window.resize(312, 213);
  auto* first = new QDateEdit(&window);
  first->setGeometry(112, 40, 81, 21);
  auto* second = new QDateEdit(&window);
  second->setGeometry(112, 72, 81, 21);
  auto* button = new QPushButton("MsgBox", &window);
  button->setGeometry(192, 132, 105, 29);
  Ended("form");
  window.show();
  Ended("show");
  return app.exec();
}
