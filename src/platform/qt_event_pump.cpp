#include "platform/qt_event_pump.h"

#include <QCoreApplication>

EventPump QtEventPump() {
  return [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
}
