// KalendoWidget as a Qt program uses it: properties, signals, a layout, the focus chain
// and a QDataWidgetMapper, with Qt's own test library on the offscreen platform.
#include "frame/qt/kalendo_widget.h"

#include <QtCore/QScopedPointer>
#include <QtGui/QStandardItemModel>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDataWidgetMapper>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "frame/com/activation.h"

using ze::qt::KalendoWidget;

namespace {

// A window with a line edit and a Kalendo side by side, shown and active.
struct Window {
  QWidget window;
  QLineEdit* edit = new QLineEdit;
  KalendoWidget* kalendo = new KalendoWidget;
  Window() {
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(kalendo);
    window.show();
    window.activateWindow();
  }
  bool Ready() { return QTest::qWaitForWindowActive(&window); }
  bool FocusInKalendo() const { return kalendo->isAncestorOf(QApplication::focusWidget()); }
};

// A shown window other than mine.
QWidget* OtherWindow(const QWidget& mine) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != &mine && w->isVisible()) return w;
  return nullptr;
}

QDate DateAt(const QSignalSpy& spy, int i) {
  return spy.at(i).at(0).toDate();
}

}  // namespace

class KalendoWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(ze::com::RegisterServerLibrary(ZE_KALENDO_LIBRARY) == ze::com::S_OK);
  }

  void dateAndText() {
    KalendoWidget k;
    QVERIFY(k.errorString().isEmpty());
    QCOMPARE(k.text(), QStringLiteral("00/00/0000"));
    QVERIFY(!k.date().isValid());
    k.setDate(QDate(2005, 12, 25));
    QCOMPARE(k.text(), QStringLiteral("25/12/2005"));
    QCOMPARE(k.date(), QDate(2005, 12, 25));
    // The same through the meta-object, as a mapper or a delegate reaches it.
    QCOMPARE(k.metaObject()->userProperty().name(), "date");
    QVERIFY(k.setProperty("date", QDate(2000, 2, 29)));
    QCOMPARE(k.property("text").toString(), QStringLiteral("29/02/2000"));
    k.setDate(QDate());
    QCOMPARE(k.text(), QStringLiteral("00/00/0000"));
    QVERIFY(!k.date().isValid());
    // A text through Kalendo's Text: a date is rewritten, anything else empties.
    k.setText(QStringLiteral("1/3/2010"));
    QCOMPARE(k.text(), QStringLiteral("01/03/2010"));
    k.setText(QStringLiteral("not a date"));
    QCOMPARE(k.text(), QStringLiteral("00/00/0000"));
    k.setPopSelezione(true);
    QVERIFY(k.popSelezione());
  }

  void dateChangedOncePerChange() {
    KalendoWidget k;
    QSignalSpy spy(&k, &KalendoWidget::dateChanged);
    k.setDate(QDate(2005, 12, 25));
    k.setDate(QDate(2005, 12, 25));  // the same date: no change
    QCOMPARE(spy.count(), 1);
    QCOMPARE(DateAt(spy, 0), QDate(2005, 12, 25));
    k.setDate(QDate());
    k.clear();  // empty already
    QCOMPARE(spy.count(), 2);
    QVERIFY(!DateAt(spy, 1).isValid());
    // A day Kalendo's field cannot hold reads back as no date; the empty one stays.
    k.setDate(QDate(50, 1, 1));
    QCOMPARE(k.text(), QStringLiteral("00/00/0000"));
    QCOMPARE(spy.count(), 2);
  }

  void typingChangesTheDate() {
    Window w;
    QVERIFY(w.Ready());
    QSignalSpy changed(w.kalendo, &KalendoWidget::dateChanged);
    QSignalSpy keys(w.kalendo, &KalendoWidget::tastoPress);
    QTest::keyClicks(w.kalendo, QStringLiteral("25122005"));
    QVERIFY(w.FocusInKalendo());
    QCOMPARE(w.kalendo->text(), QStringLiteral("25/12/2005"));
    QCOMPARE(keys.count(), 8);
    // "25/12/2000" is the first date the digits make; the zeros after it change
    // nothing; the last digit makes the next.
    QCOMPARE(changed.count(), 2);
    QCOMPARE(DateAt(changed, 0), QDate(2000, 12, 25));
    QCOMPARE(DateAt(changed, 1), QDate(2005, 12, 25));
    // Backspace over the year's last digit: 2000 again.
    QTest::keyClick(w.kalendo, Qt::Key_Backspace);
    QCOMPARE(w.kalendo->text(), QStringLiteral("25/12/2000"));
    QCOMPARE(changed.count(), 3);
  }

  void invalidDateReportedWhenTheFocusLeaves() {
    Window w;
    QVERIFY(w.Ready());
    QSignalSpy invalid(w.kalendo, &KalendoWidget::dataNonValida);
    QTest::keyClicks(w.kalendo, QStringLiteral("3113"));  // 31/13/0000
    QVERIFY(w.FocusInKalendo());
    QCOMPARE(invalid.count(), 0);
    w.edit->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), w.edit);
    QCOMPARE(invalid.count(), 1);
    // Back in and out with a valid date: nothing to report.
    w.kalendo->setFocus(Qt::TabFocusReason);
    QVERIFY(w.FocusInKalendo());
    w.kalendo->setDate(QDate(2005, 12, 25));
    w.edit->setFocus(Qt::MouseFocusReason);
    QCOMPARE(invalid.count(), 1);
  }

  void returnPress() {
    Window w;
    QVERIFY(w.Ready());
    QSignalSpy enter(w.kalendo, &KalendoWidget::returnPress);
    QTest::keyClick(w.kalendo, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(w.kalendo->text(), QStringLiteral("00/00/0000"));
  }

  void tabPassesThrough() {
    Window w;
    QVERIFY(w.Ready());
    // Laid out at its own size beside the line edit.
    QCOMPARE(w.kalendo->height(), w.kalendo->sizeHint().height());
    QVERIFY(w.kalendo->sizeHint().width() > w.kalendo->sizeHint().height());
    w.edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QVERIFY(w.FocusInKalendo());
    // Typed keys now go where Qt's focus is.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01"));
    QCOMPARE(w.kalendo->text(), QStringLiteral("01/00/0000"));
    // Tab from the field goes on along the window's chain, and Shift+Tab comes back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.edit);
    QTest::keyClick(w.edit, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(w.FocusInKalendo());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.edit);
  }

  void twoFieldsInOneWindow() {
    Window w;
    auto* second = new KalendoWidget;
    w.window.layout()->addWidget(second);
    QVERIFY(w.Ready());
    QSignalSpy invalid(w.kalendo, &KalendoWidget::dataNonValida);
    QTest::keyClicks(w.kalendo, QStringLiteral("3113"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(second->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(invalid.count(), 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("24"));
    QCOMPARE(second->text(), QStringLiteral("24/00/0000"));
    QCOMPARE(w.kalendo->text(), QStringLiteral("31/13/0000"));
  }

  void dataWidgetMapper() {
    QStandardItemModel model(3, 1);
    model.setData(model.index(0, 0), QDate(2005, 12, 25));
    model.setData(model.index(1, 0), QDate(1999, 1, 31));
    // Row 2 holds no date.
    Window w;
    QVERIFY(w.Ready());
    QDataWidgetMapper mapper;
    mapper.setModel(&model);
    mapper.setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    mapper.addMapping(w.kalendo, 0);
    mapper.toFirst();
    QCOMPARE(w.kalendo->text(), QStringLiteral("25/12/2005"));
    mapper.setCurrentIndex(2);
    QCOMPARE(w.kalendo->text(), QStringLiteral("00/00/0000"));
    mapper.setCurrentIndex(1);
    QCOMPARE(w.kalendo->text(), QStringLiteral("31/01/1999"));
    // An edit by hand goes back to the model on submit.
    QTest::keyClicks(w.kalendo, QStringLiteral("15"));
    QVERIFY(mapper.submit());
    QCOMPARE(model.data(model.index(1, 0)).toDate(), QDate(1999, 1, 15));
    QCOMPARE(model.data(model.index(0, 0)).toDate(), QDate(2005, 12, 25));
    // Submitting as the focus leaves, the mapper's default.
    mapper.setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    mapper.toFirst();
    QTest::keyClicks(w.kalendo, QStringLiteral("01"));
    QCOMPARE(model.data(model.index(0, 0)).toDate(), QDate(2005, 12, 25));
    w.edit->setFocus(Qt::TabFocusReason);
    QCOMPARE(model.data(model.index(0, 0)).toDate(), QDate(2005, 12, 1));
  }

  void aDayPickedInTheCalendar() {
    Window w;
    QVERIFY(w.Ready());
    w.kalendo->setPopSelezione(true);
    w.kalendo->setDate(QDate(2005, 8, 15));
    QSignalSpy changed(w.kalendo, &KalendoWidget::dateChanged);
    auto* button = w.kalendo->findChild<QPushButton*>();
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    // The calendar is a window of its own; its day cells are labels.
    QWidget* calendar = nullptr;
    QTRY_VERIFY((calendar = OtherWindow(w.window)) != nullptr);
    QLabel* day = nullptr;
    for (auto* label : calendar->findChildren<QLabel*>())
      if (label->text() == QStringLiteral("17") && label->isVisible()) day = label;
    QVERIFY(day);
    QTest::mouseClick(day, Qt::LeftButton);
    QTRY_COMPARE(w.kalendo->text(), QStringLiteral("17/08/2005"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(DateAt(changed, 0), QDate(2005, 8, 17));
    QTRY_VERIFY(OtherWindow(w.window) == nullptr);
  }

  void disabledTakesNoKeys() {
    Window w;
    QVERIFY(w.Ready());
    w.kalendo->setEnabled(false);
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QVERIFY(!w.FocusInKalendo());
    w.kalendo->setEnabled(true);
    w.edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QVERIFY(w.FocusInKalendo());
  }
};

QTEST_MAIN(KalendoWidgetTest)
#include "kalendo_widget_test.moc"
