// The peer of provix2's start-up benchmark: a plain Qt program that opens a window of
// the same size with two QDateEdit fields and a button, and exits at its first paint.
#include <QtWidgets/QApplication>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWidget>

namespace {
class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (!painted_) {
      painted_ = true;
      QMetaObject::invokeMethod(qApp, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    }
  }

 private:
  bool painted_ = false;
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window window;
  window.resize(312, 213);
  auto* first = new QDateEdit(&window);
  first->setGeometry(112, 40, 81, 21);
  auto* second = new QDateEdit(&window);
  second->setGeometry(112, 72, 81, 21);
  auto* button = new QPushButton("MsgBox", &window);
  button->setGeometry(192, 132, 105, 29);
  window.show();
  return app.exec();
}
