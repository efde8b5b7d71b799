#include "ui/busy_pointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace tovakin::gui {
namespace {

bool g_wanted = false;  // the program's switch
int g_modal = 0;        // boxes and dialogs up now
bool g_shown = false;   // our entry is on Qt's override stack

// Brings Qt's override stack in line with the switch and the boxes, pushing or popping our one
// entry; never a second push, never a pop of an entry we did not push.
void sync() {
  const bool want = g_wanted && g_modal == 0;
  if (want && !g_shown) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    g_shown = true;
  } else if (!want && g_shown) {
    QGuiApplication::restoreOverrideCursor();
    g_shown = false;
  }
}

}  // namespace

void setBusyPointer(bool on) {
  g_wanted = on;
  sync();
}

bool busyPointerWanted() { return g_wanted; }
bool busyPointerShown() { return g_shown; }

ModalPointer::ModalPointer() {
  ++g_modal;
  sync();
}

ModalPointer::~ModalPointer() {
  --g_modal;
  sync();
}

}  // namespace tovakin::gui
