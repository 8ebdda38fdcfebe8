// The non-blocking pump: Qt's processEvents without waiting for more.
#include "platform/MessagePump.h"

#include <QCoreApplication>

namespace platform {

void PumpWaitingMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace platform
