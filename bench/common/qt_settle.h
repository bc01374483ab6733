// Settle: runs what a step left in Qt's queue (layout and paint requests, deferred
// deletes), as Qt's loop would between two user actions. A queue left to grow would
// make every later step slower and measure the queue rather than the control.
#pragma once

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>

namespace ze::bench {

inline void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace ze::bench
