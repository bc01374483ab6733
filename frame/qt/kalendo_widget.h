// KalendoWidget: the Kalendo date field as a QWidget, for Qt programs.
//
// The widget is a host of one Kalendo like any other: it creates the control by its
// ProgID "zeKalendo.Kalendo" through the registry store (so the component library must
// be registered first, once per store: ze::com::RegisterServerLibrary), places it on a
// form of its own and shows that form embedded in itself (QtBackend::Embed). What the
// control says comes back as Qt signals, what it holds as Qt properties:
//
//   date           the field's date as a QDate; an invalid QDate for the empty date
//                  "00/00/0000" and for a text that is no date. The user property, so a
//                  QDataWidgetMapper or an item delegate reads and writes it. setDate of
//                  an invalid QDate, or of a year no automation Date holds (before 100,
//                  after 9999), empties the field; a day outside the years the field
//                  accepts (1900 to 3000) shows but reads back as no date.
//   text           the field's text, "dd/mm/yyyy" ("00/00/0000" when empty); setting
//                  it goes through Kalendo's Text (a date is rewritten in the field's
//                  form, anything else empties the field).
//   popSelezione   the calendar button beside the field.
//   enabled        QWidget's, passed on to the control.
//
//   dateChanged    the date differs from the one last reported, whatever changed it
//                  (typing, the calendar, setDate); a setDate with the same date is no
//                  change. textChanged: the same for the text, once per edit.
//   dataNonValida  the focus left the field with a text that is no valid date.
//   returnPress    Enter in the field. tastoPress: a key edited the field (Kalendo's
//                  event carries no key).
//
// Sizes: sizeHint is the control's designed size; the control follows the widget's
// size. Focus: Tab or a click brings the focus into the field; Tab and Shift+Tab from
// the field go on along the window's focus chain. Qt's focus is then in the field's own
// widget, a child of this one; leaving it sends this widget a FocusOut, so that an item
// delegate or a mapper submitting on focus-out sees the edit end.
//
// The backend: the Qt backend installed by the host, or, when none is, one installed
// for the widgets of this kind and uninstalled with the last of them; that backend
// leaves QApplication's quitOnLastWindowClosed as it was. A control that cannot be
// created (the library not registered) leaves an empty widget; errorString says why.
// Threads: QApplication's thread only.
#pragma once

#include <QtCore/QDate>
#include <QtCore/QString>
#include <QtWidgets/QWidget>
#include <memory>

namespace ze::host {
class HostedControl;
}

namespace ze::qt {

class KalendoWidget : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged USER true)
  Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
  Q_PROPERTY(bool popSelezione READ popSelezione WRITE setPopSelezione)

 public:
  explicit KalendoWidget(QWidget* parent = nullptr);
  ~KalendoWidget() override;

  QDate date() const;
  void setDate(const QDate& date);
  QString text() const;
  void setText(const QString& text);
  bool popSelezione() const;
  void setPopSelezione(bool on);

  // The hosted control, for members without a Qt face (Get, Let, Call by name); null
  // when it could not be created. It belongs to the widget.
  ze::host::HostedControl* control() const;
  // Why the control could not be created; empty when it was.
  QString errorString() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public slots:
  // Empties the field (Kalendo's DelData).
  void clear();

 signals:
  void dateChanged(const QDate& date);
  void textChanged(const QString& text);
  void dataNonValida();
  void returnPress();
  void tastoPress();

 protected:
  // Keys sent to the widget itself go to the field.
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct State;  // the backend, the form, the control, what was last reported
  std::unique_ptr<State> state_;
  void Changed();
  void FocusField();
  QWidget* FieldWidget();
};

}  // namespace ze::qt
